#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// UTF-8 helpers shared by the reader, the index and the filter language. All texts of the
// catalog are UTF-8; these functions never fail on malformed input: a byte that does not start a
// valid sequence is taken as one character with that byte's value.
namespace catalog::text
{

[[nodiscard]] bool isValidUtf8(std::string_view bytes);

// Appends the UTF-8 encoding of `codePoint`.
void appendUtf8(std::string& out, char32_t codePoint);

// Windows-1252 and ISO-8859-1 bytes to UTF-8, as a buffer a parser can work in.
[[nodiscard]] std::vector<char> fromWindows1252(std::string_view bytes);
[[nodiscard]] std::vector<char> fromLatin1(std::string_view bytes);

// The Windows-1252 character for a code point in U+0080..U+009F; other code points unchanged.
[[nodiscard]] char32_t windows1252Control(char32_t codePoint);

// Decodes the character at `pos` and advances `pos` past it.
[[nodiscard]] char32_t next(std::string_view text, std::size_t& pos);

// Letter case of Latin letters (ASCII, Latin-1 and Latin Extended-A); other characters unchanged.
[[nodiscard]] char32_t foldCase(char32_t c);
[[nodiscard]] std::string toLower(std::string_view text);
[[nodiscard]] std::string toUpper(std::string_view text);

// Character-for-character equality and prefix tests, optionally ignoring the case of Latin
// letters ("É" equals "é"; "e" never equals "é").
[[nodiscard]] bool equal(std::string_view a, std::string_view b, bool ignoreCase);
[[nodiscard]] bool startsWith(std::string_view text, std::string_view prefix, bool ignoreCase);

// SQL LIKE: `%` matches any run of characters, `_` exactly one.
[[nodiscard]] bool like(std::string_view text, std::string_view pattern, bool ignoreCase);

// The order of texts in indexes: letter by letter ignoring case and the accents of Latin
// letters ("ação" sorts between "abc" and "acz"); texts equal that way are ordered by code point.
// Returns <0, 0 or >0.
[[nodiscard]] int collate(std::string_view a, std::string_view b);

} // namespace catalog::text
