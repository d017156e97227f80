#pragma once

#include "BitWriter.h"
#include "Timeline.h"
#include "Types.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

namespace swfwriter
{

enum class TagCode : std::uint16_t;
struct Bitmap;
class Button;
struct EditText;
class Font;
class MorphShape;
class Shape;
class StaticText;

enum class Compression { None, Zlib };

// One SWF file: stage, background, character definitions and the main timeline. Definitions
// are written ahead of the timeline, so every character exists before its first frame.
class Movie final
{
public:
    // The player runs scripts by the rules of the file's version, so the version is the
    // movie's to choose; 8 unless told.
    Movie(double width, double height, double frameRate, Rgba background, std::uint8_t version = 8);

    CharacterId define(const Shape& shape);
    CharacterId define(const Timeline& sprite);
    CharacterId define(const Button& button);
    CharacterId define(const MorphShape& morph);
    CharacterId define(const Font& font);
    CharacterId define(const StaticText& text);
    CharacterId define(const EditText& text);
    // Opaque bitmaps as DefineBitsLossless (24-bit), translucent ones as DefineBitsLossless2.
    CharacterId define(const Bitmap& bitmap);
    // A whole JPEG file as DefineBitsJPEG2.
    CharacterId defineJpeg(const std::vector<std::uint8_t>& jpeg);
    // A JPEG file with an alpha plane of one byte per pixel, rows from the top, as
    // DefineBitsJPEG3. Throws std::invalid_argument when the plane's size does not match.
    CharacterId defineJpeg(const std::vector<std::uint8_t>& jpeg,
                           const std::vector<std::uint8_t>& alpha);
    // A JPEG file as DefineBits, its tables in the movie's JPEGTables tag. A movie has one such
    // tag, so every image written this way must carry the same tables (same encoder and
    // quality); throws std::invalid_argument otherwise.
    CharacterId defineJpegSharingTables(const std::vector<std::uint8_t>& jpeg);
    // Mono 16-bit samples at 22,050 Hz, stored uncompressed, as DefineSound.
    CharacterId defineSound(const std::vector<std::int16_t>& samples);

    [[nodiscard]] Timeline& timeline() { return m_timeline; }

    // The whole file: "FWS" when uncompressed, "CWS" with everything after the 8-byte header
    // compressed with zlib.
    [[nodiscard]] std::vector<std::uint8_t> bytes(Compression compression) const;
    // Throws std::runtime_error when the file cannot be written.
    void save(const std::filesystem::path& file, Compression compression) const;

private:
    // A definition tag: a new character id, then `body`.
    CharacterId defineTag(TagCode code, const BitWriter& body);
    CharacterId nextId();

    double m_width;
    double m_height;
    double m_frameRate;
    Rgba m_background;
    std::uint8_t m_version;
    BitWriter m_definitions;
    Timeline m_timeline;
    CharacterId m_lastId = 0;
    std::optional<std::vector<std::uint8_t>> m_jpegTables;
};

} // namespace swfwriter
