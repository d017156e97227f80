#pragma once

#include "swfwriter/Types.h"

#include <QString>

#include <filesystem>
#include <functional>
#include <optional>
#include <vector>

class Artwork;

namespace swfwriter
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
        swfwriter::CharacterId character;
        std::function<swfwriter::Matrix(int)> at;
        std::function<std::optional<swfwriter::ColorTransform>(int)> colour = [](int) {
            return std::optional<swfwriter::ColorTransform>();
        };
    };

    void logo() const;
    void button(const char* file, const QString& label, const char* command,
                swfwriter::Rgba colour) const;
    void yearTile(const char* file, int year, swfwriter::Rgba colour) const;
    void subjectTile(const char* file, const QString& name, Emblem emblem,
                     swfwriter::Rgba colour) const;
    [[nodiscard]] std::vector<Part> emblemParts(swfwriter::Movie& movie, Emblem emblem,
                                                swfwriter::Rgba colour) const;
    void waiting() const;

    const Artwork& m_art;
    std::filesystem::path m_folder;
};
