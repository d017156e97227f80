#pragma once

#include "Types.h"

#include <QString>

#include <filesystem>

class Artwork;

// The movies the menus load from the configuration folder: logo, buttons, year and subject
// tiles, and the waiting animation. Names and stage sizes are the ones the windows expect.
class MenuMovies final
{
public:
    MenuMovies(const Artwork& art, std::filesystem::path folder);

    void writeAll() const;

private:
    enum class Emblem { Arithmetic, Letters, Globe, Speech, Sun, Screen };

    void logo() const;
    void button(const char* file, const QString& label, const char* command,
                swf::Rgba colour) const;
    void yearTile(const char* file, int year, swf::Rgba colour) const;
    void subjectTile(const char* file, const QString& name, Emblem emblem, swf::Rgba colour) const;
    void waiting() const;

    const Artwork& m_art;
    std::filesystem::path m_folder;
};
