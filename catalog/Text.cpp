#include "Text.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace catalog::text
{

namespace
{

constexpr std::array<char16_t, 32> windows1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// Base letters of U+00C0..U+00FF, lower case; 0 where the character is not a letter with a base.
constexpr char latin1Base[] = "aaaaaaaceeeeiiii"
                              "dnooooo\0ouuuuyts"
                              "aaaaaaaceeeeiiii"
                              "dnooooo\0ouuuuyty";

// Length of the valid sequence starting at `pos`, or 0.
std::size_t sequenceLength(std::string_view s, std::size_t pos)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    if (b0 < 0x80)
        return 1;
    std::size_t n = 0;
    char32_t min = 0;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        n = 2;
        min = 0x80;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        n = 3;
        min = 0x800;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        n = 4;
        min = 0x10000;
    } else {
        return 0;
    }
    if (pos + n > s.size())
        return 0;
    char32_t c = b0 & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i) {
        const auto b = static_cast<unsigned char>(s[pos + i]);
        if ((b & 0xC0) != 0x80)
            return 0;
        c = (c << 6) | (b & 0x3F);
    }
    if (c < min || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        return 0;
    return n;
}

bool isAsciiBlock(const char* p)
{
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return (word & 0x8080808080808080ULL) == 0;
}

// How far from its start `bytes` is made of ASCII and two-byte sequences only, which is the
// whole of a text in a Latin alphabet; the result ends on a sequence boundary. A whole catalog is
// checked before it is read, so where SSE2 is at hand sixteen bytes are checked at a time: every
// two-byte lead (C2..DF) must be followed by a continuation byte (80..BF), and every continuation
// byte must follow such a lead.
std::size_t simplePrefix(std::string_view bytes)
{
    std::size_t n = 0;
#if defined(__SSE2__)
    const __m128i leadBase = _mm_set1_epi8(static_cast<char>(0xC2));
    const __m128i leadSpan = _mm_set1_epi8(0xDF - 0xC2);
    const __m128i topBits = _mm_set1_epi8(static_cast<char>(0xC0));
    const __m128i continuation = _mm_set1_epi8(static_cast<char>(0x80));
    unsigned carry = 0; // the previous block ended with a lead
    while (n + 16 <= bytes.size()) {
        const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + n));
        const auto high = static_cast<unsigned>(_mm_movemask_epi8(block));
        if (high == 0 && carry == 0) {
            n += 16;
            continue;
        }
        const __m128i offset = _mm_sub_epi8(block, leadBase);
        const auto leads = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(offset, leadSpan), offset)));
        const auto continuations = static_cast<unsigned>(
            _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_and_si128(block, topBits), continuation)));
        if ((high & ~(leads | continuations)) != 0
            || continuations != (((leads << 1) | carry) & 0xFFFFU))
            return carry != 0 ? n - 1 : n;
        carry = leads >> 15;
        n += 16;
    }
    if (carry != 0)
        --n;
#endif
    while (n + 8 <= bytes.size() && isAsciiBlock(bytes.data() + n))
        n += 8;
    while (n < bytes.size() && static_cast<unsigned char>(bytes[n]) < 0x80)
        ++n;
    return n;
}

char32_t primaryWeight(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xFF && latin1Base[c - 0xC0] != '\0')
        return static_cast<char32_t>(latin1Base[c - 0xC0]);
    return foldCase(c);
}

// Encodes a code point below U+10000 at `out`; returns the bytes written.
std::size_t putUtf8(char* out, char32_t c)
{
    if (c < 0x80) {
        out[0] = static_cast<char>(c);
        return 1;
    }
    if (c < 0x800) {
        out[0] = static_cast<char>(0xC0 | (c >> 6));
        out[1] = static_cast<char>(0x80 | (c & 0x3F));
        return 2;
    }
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F));
    return 3;
}

// A whole catalog goes through here when its file is not UTF-8, so the output is sized once and
// runs of ASCII are copied eight bytes at a time.
std::vector<char> fromSingleByte(std::string_view bytes, bool windows1252)
{
    const auto codeOf = [windows1252](unsigned char b) -> char32_t {
        return windows1252 ? windows1252Control(b) : b;
    };
    std::size_t size = bytes.size();
    for (std::size_t pos = 0; pos < bytes.size();) {
        if (pos + 8 <= bytes.size() && isAsciiBlock(bytes.data() + pos)) {
            pos += 8;
            continue;
        }
        const auto c = static_cast<unsigned char>(bytes[pos++]);
        size += c < 0x80 ? 0 : (codeOf(c) < 0x800 ? 1 : 2);
    }
    std::vector<char> out(size);
    char* to = out.data();
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (pos + 8 <= bytes.size() && isAsciiBlock(bytes.data() + pos)) {
            std::memcpy(to, bytes.data() + pos, 8);
            to += 8;
            pos += 8;
            continue;
        }
        to += putUtf8(to, codeOf(static_cast<unsigned char>(bytes[pos++])));
    }
    return out;
}

} // namespace

bool isValidUtf8(std::string_view bytes)
{
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        pos += simplePrefix(bytes.substr(pos));
        // A block with other characters is checked one sequence at a time, to its end.
        const std::size_t blockEnd = std::min(bytes.size(), pos + 16);
        while (pos < blockEnd) {
            const std::size_t n = sequenceLength(bytes, pos);
            if (n == 0)
                return false;
            pos += n;
        }
    }
    return true;
}

void appendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

std::vector<char> fromWindows1252(std::string_view bytes)
{
    return fromSingleByte(bytes, true);
}

std::vector<char> fromLatin1(std::string_view bytes)
{
    return fromSingleByte(bytes, false);
}

char32_t windows1252Control(char32_t c)
{
    return (c >= 0x80 && c <= 0x9F) ? windows1252High[c - 0x80] : c;
}

char32_t next(std::string_view text, std::size_t& pos)
{
    const std::size_t n = sequenceLength(text, pos);
    const auto b0 = static_cast<unsigned char>(text[pos]);
    if (n <= 1) {
        ++pos;
        return b0;
    }
    char32_t c = b0 & (0x7F >> n);
    for (std::size_t i = 1; i < n; ++i)
        c = (c << 6) | (static_cast<unsigned char>(text[pos + i]) & 0x3F);
    pos += n;
    return c;
}

char32_t foldCase(char32_t c)
{
    if (c < 0x80)
        return (c >= 'A' && c <= 'Z') ? c + 32 : c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7)
        return c + 32;
    // Latin Extended-A pairs its letters upper then lower, starting on an even code point
    // except between U+0139 and U+0148.
    if (c >= 0x139 && c <= 0x148)
        return (c & 1U) ? c + 1 : c;
    if (c >= 0x100 && c <= 0x177 && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149)
        return c | 1U;
    if (c == 0x178)
        return 0xFF;
    if (c >= 0x179 && c <= 0x17E)
        return (c & 1U) ? c + 1 : c;
    return c;
}

std::string toLower(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();)
        appendUtf8(out, foldCase(next(text, pos)));
    return out;
}

std::string toUpper(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) {
        char32_t c = next(text, pos);
        if (c >= 'a' && c <= 'z')
            c -= 32;
        else if (c >= 0xE0 && c <= 0xFE && c != 0xF7)
            c -= 32;
        else if (c == 0xFF)
            c = 0x178;
        else if (c >= 0x100 && c <= 0x177 && foldCase(c) == c && foldCase(c - 1) == c)
            c -= 1;
        else if (c >= 0x179 && c <= 0x17E && foldCase(c - 1) == c)
            c -= 1;
        appendUtf8(out, c);
    }
    return out;
}

namespace
{

// How far two texts agree from their starts when case is ignored: the positions reached in
// each, and whether a difference stopped the walk before either ended.
struct CaselessAgreement {
    std::size_t inA = 0;
    std::size_t inB = 0;
    bool differs = false;
};

CaselessAgreement agreeWithoutCase(std::string_view a, std::string_view b)
{
    CaselessAgreement at;
    while (at.inA < a.size() && at.inB < b.size()) {
        const auto ca = static_cast<unsigned char>(a[at.inA]);
        const auto cb = static_cast<unsigned char>(b[at.inB]);
        if (ca < 0x80 && cb < 0x80) {
            if (ca != cb && foldCase(ca) != foldCase(cb)) {
                at.differs = true;
                return at;
            }
            ++at.inA;
            ++at.inB;
            continue;
        }
        if (foldCase(next(a, at.inA)) != foldCase(next(b, at.inB))) {
            at.differs = true;
            return at;
        }
    }
    return at;
}

} // namespace

bool equal(std::string_view a, std::string_view b, bool ignoreCase)
{
    if (!ignoreCase)
        return a == b;
    const auto at = agreeWithoutCase(a, b);
    return !at.differs && at.inA == a.size() && at.inB == b.size();
}

bool startsWith(std::string_view text, std::string_view prefix, bool ignoreCase)
{
    if (!ignoreCase)
        return text.starts_with(prefix);
    const auto at = agreeWithoutCase(text, prefix);
    return !at.differs && at.inB == prefix.size();
}

bool like(std::string_view text, std::string_view pattern, bool ignoreCase)
{
    // Iterative matching with one backtrack point for the last `%`: linear in practice and
    // never recursive, so hostile patterns cannot exhaust the stack.
    std::size_t t = 0;
    std::size_t p = 0;
    std::size_t starP = std::string_view::npos;
    std::size_t starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '%') {
            starP = ++p;
            starT = t;
            continue;
        }
        if (p < pattern.size()) {
            std::size_t tNext = t;
            std::size_t pNext = p;
            const char32_t tc = next(text, tNext);
            const char32_t pc = next(pattern, pNext);
            if (pc == '_' || tc == pc || (ignoreCase && foldCase(tc) == foldCase(pc))) {
                t = tNext;
                p = pNext;
                continue;
            }
        }
        if (starP == std::string_view::npos)
            return false;
        p = starP;
        (void)next(text, starT);
        t = starT;
    }
    while (p < pattern.size() && pattern[p] == '%')
        ++p;
    return p == pattern.size();
}

int collate(std::string_view a, std::string_view b)
{
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const auto ca = static_cast<unsigned char>(a[i]);
        const auto cb = static_cast<unsigned char>(b[j]);
        if (ca < 0x80 && cb < 0x80) {
            const char32_t wa = ca >= 'A' && ca <= 'Z' ? ca + 32U : ca;
            const char32_t wb = cb >= 'A' && cb <= 'Z' ? cb + 32U : cb;
            if (wa != wb)
                return wa < wb ? -1 : 1;
            ++i;
            ++j;
            continue;
        }
        const char32_t wa = primaryWeight(next(a, i));
        const char32_t wb = primaryWeight(next(b, j));
        if (wa != wb)
            return wa < wb ? -1 : 1;
    }
    if (i < a.size())
        return 1;
    if (j < b.size())
        return -1;
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

} // namespace catalog::text
