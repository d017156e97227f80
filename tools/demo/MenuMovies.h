#pragma once

#include "Types.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class Artwork;

namespace swf
{
class Movie;
}

// The movies the menus load from the configuration folder: logo, buttons, year and subject
// tiles, and the waiting animation. Names and stage sizes are the ones the windows expect.
class MenuMovies final
{
public:
    MenuMovies(const Artwork& art, std::filesystem::path folder);

    void writeAll() const;

private:
    enum class Emblem { Arithmetic, Letters, Globe, Speech, Sun, Screen };

    // One character of an emblem and where (and how opaque) it is on each frame.
    struct Part {
        swf::CharacterId character;
        std::function<swf::Matrix(int)> at;
        std::function<std::optional<swf::ColorTransform>(int)> colour = [](int) {
            return std::optional<swf::ColorTransform>();
        };
    };

    void logo() const;
    void button(const char* file, const QString& label, const char* command,
                swf::Rgba colour) const;
    void yearTile(const char* file, int year, swf::Rgba colour) const;
    void subjectTile(const char* file, const QString& name, Emblem emblem, swf::Rgba colour) const;
    [[nodiscard]] std::vector<Part> emblemParts(swf::Movie& movie, Emblem emblem,
                                                swf::Rgba colour) const;
    void waiting() const;

    const Artwork& m_art;
    std::filesystem::path m_folder;
};
