#include "RowScanner.h"

#include "Field.h"
#include "RowCollector.h"
#include "Text.h"

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace catalog
{

namespace
{

// The XML parser's blanks; vertical tab and form feed are not among them.
bool isBlank(char c)
{
    // Most bytes tested are letters and quotes, which the first comparison turns away.
    return static_cast<unsigned char>(c) <= ' '
           && (c == ' ' || c == '\t' || c == '\n' || c == '\r');
}

enum NameClass : std::uint8_t { NotName = 0, NameChar = 1, NameStart = 3 };

// Bytes of attribute names as the XML parser takes them: every byte above 0x7F is a letter.
constexpr std::array<std::uint8_t, 256> nameClasses = [] {
    std::array<std::uint8_t, 256> classes{};
    for (int c = 0; c < 256; ++c) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c == ':' || c >= 0x80)
            classes[c] = NameStart;
        else if ((c >= '0' && c <= '9') || c == '-' || c == '.')
            classes[c] = NameChar;
    }
    return classes;
}();

std::uint8_t nameClass(char c)
{
    return nameClasses[static_cast<unsigned char>(c)];
}

// Whether the parser reads `name` as one attribute name. RowState is left out: the collector
// treats it apart from the fields.
bool isPlainName(std::string_view name)
{
    if (name.empty() || name == "RowState" || nameClass(name.front()) != NameStart)
        return false;
    for (const char c : name) {
        if (nameClass(c) == NotName)
            return false;
    }
    return true;
}

// Whether a byte ends a run of plain value text: the closing quote, a reference, or what the
// parser would treat specially (blanks other than space are normalised, '<' and NUL).
bool endsPlainRun(char c, char quote)
{
    return c == quote || c == '&' || c == '<' || static_cast<unsigned char>(c) < 0x20;
}

// The first byte of [p, end) that ends a plain run. Values are most of a packet, so sixteen
// bytes are tested at a time where SSE2 is at hand, eight elsewhere. In the word test a flagged
// byte can only wrongly flag the bytes above it, so on a little-endian machine its lowest flag is
// the byte sought.
const char* plainRunEnd(const char* p, const char* end, char quote)
{
#if defined(__SSE2__)
    const __m128i quotes = _mm_set1_epi8(quote);
    const __m128i references = _mm_set1_epi8('&');
    const __m128i tags = _mm_set1_epi8('<');
    const __m128i lastControl = _mm_set1_epi8(0x1F);
    while (end - p >= 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        const __m128i controls = _mm_cmpeq_epi8(_mm_min_epu8(bytes, lastControl), bytes);
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(bytes, quotes), _mm_cmpeq_epi8(bytes, references)),
            _mm_or_si128(_mm_cmpeq_epi8(bytes, tags), controls));
        if (const int mask = _mm_movemask_epi8(hits); mask != 0)
            return p + std::countr_zero(static_cast<unsigned>(mask));
        p += 16;
    }
#endif
    constexpr std::uint64_t ones = 0x0101010101010101ULL;
    constexpr std::uint64_t highs = 0x8080808080808080ULL;
    const auto hasZeroByte = [](std::uint64_t x) { return (x - ones) & ~x & highs; };
    const std::uint64_t quoteBytes = ones * static_cast<unsigned char>(quote);
    while (end - p >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p, sizeof word);
        const std::uint64_t hit = hasZeroByte(word ^ quoteBytes) | hasZeroByte(word ^ (ones * '&'))
                                  | hasZeroByte(word ^ (ones * '<'))
                                  | ((word - ones * 0x20) & ~word & highs);
        if (hit != 0) {
            if constexpr (std::endian::native == std::endian::little)
                return p + std::countr_zero(hit) / 8;
            break;
        }
        p += 8;
    }
    while (p < end && !endsPlainRun(*p, quote))
        ++p;
    return p;
}

// Decodes the reference at the start of `text` (just after '&') into `out` and returns its
// length including the ';', or 0 for a reference outside the forms the scanner decodes exactly
// as the parser does: the five named ones and numeric ones of a valid character.
std::size_t decodeReference(std::string_view text, std::string& out)
{
    constexpr std::pair<std::string_view, char> named[] = {
        {"amp;", '&'}, {"lt;", '<'}, {"gt;", '>'}, {"quot;", '"'}, {"apos;", '\''}};
    for (const auto& [name, c] : named) {
        if (text.starts_with(name)) {
            out += c;
            return name.size();
        }
    }
    if (!text.starts_with('#'))
        return 0;
    const bool hex = text.size() > 1 && text[1] == 'x';
    std::size_t pos = hex ? 2 : 1;
    const std::size_t digitsBegin = pos;
    char32_t code = 0;
    for (; pos < text.size() && pos - digitsBegin < 7; ++pos) {
        const char c = text[pos];
        if (c >= '0' && c <= '9')
            code = code * (hex ? 16 : 10) + static_cast<char32_t>(c - '0');
        else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
            code = code * 16 + static_cast<char32_t>((c | 0x20) - 'a' + 10);
        else
            break;
    }
    if (pos == digitsBegin || pos >= text.size() || text[pos] != ';')
        return 0;
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return 0;
    text::appendUtf8(out, code);
    return pos + 1;
}

// `name="` for one field, as sixteen bytes and a mask: most attributes are this text exactly,
// and two word comparisons recognise it.
class AttributeStart final
{
public:
    explicit AttributeStart(std::string_view name)
    {
        const std::string text = std::string(name) + "=\"";
        if (name.empty() || text.size() > 16 || std::endian::native != std::endian::little)
            return;
        m_size = text.size();
        std::memcpy(m_bytes, text.data(), text.size());
        for (std::size_t i = 0; i < text.size(); ++i)
            m_mask[i] = '\xFF';
    }

    // The length of the text at `p` (with sixteen bytes readable) when it starts this way, else 0.
    [[nodiscard]] std::size_t match(const char* p) const
    {
        std::uint64_t text[2];
        std::uint64_t bytes[2];
        std::uint64_t mask[2];
        std::memcpy(text, p, 16);
        std::memcpy(bytes, m_bytes, 16);
        std::memcpy(mask, m_mask, 16);
        const std::uint64_t differ =
            ((text[0] ^ bytes[0]) & mask[0]) | ((text[1] ^ bytes[1]) & mask[1]);
        return m_size != 0 && differ == 0 ? m_size : 0;
    }

private:
    char m_bytes[16] = {};
    char m_mask[16] = {};
    std::size_t m_size = 0;
};

// Reads rows from a text one element at a time; every read returns false when the text leaves
// the plain shape.
class Cursor final
{
public:
    Cursor(std::string_view text, RowCollector& collector, std::deque<std::string>& decoded)
        : m_p(text.data())
        , m_end(text.data() + text.size())
        , m_collector(collector)
        , m_decoded(decoded)
    {
        for (const Field& field : collector.fields()) {
            const bool plain = isPlainName(field.attrName);
            m_expected.push_back(plain ? field.attrName : std::string_view());
            m_starts.emplace_back(plain ? field.attrName : std::string_view());
        }
    }

    bool rows()
    {
        for (;;) {
            skipBlanks();
            if (m_p == m_end)
                return true;
            if (!consume("<ROW") || !row())
                return false;
        }
    }

private:
    bool row()
    {
        m_collector.beginRow();
        for (;;) {
            const char* const afterPrevious = m_p;
            skipBlanks();
            if (m_p == m_end)
                return false;
            if (consume("/>"))
                break;
            if (*m_p == '>') {
                ++m_p;
                skipBlanks();
                if (!consume("</ROW>"))
                    return false;
                break;
            }
            // Attributes are separated by blanks, and the first from the element name.
            if (m_p == afterPrevious || !attribute())
                return false;
        }
        m_collector.endRow();
        return true;
    }

    // The name of the attribute at the cursor, moving past it; empty when it is no name.
    // Most rows name their fields in order, so the expected name is tried first.
    std::string_view name(std::size_t& field)
    {
        const char* const start = m_p;
        field = m_collector.nextField();
        if (field < m_expected.size() && !m_expected[field].empty()) {
            const std::string_view expected = m_expected[field];
            if (static_cast<std::size_t>(m_end - m_p) > expected.size()
                && std::memcmp(m_p, expected.data(), expected.size()) == 0
                && nameClass(m_p[expected.size()]) == NotName) {
                m_p += expected.size();
                return expected;
            }
        }
        field = m_expected.size();
        if (nameClass(*m_p) != NameStart)
            return {};
        while (m_p < m_end && nameClass(*m_p) != NotName)
            ++m_p;
        return {start, static_cast<std::size_t>(m_p - start)};
    }

    void deliver(std::size_t field, std::string_view attributeName, std::string_view value)
    {
        if (field < m_expected.size())
            m_collector.fieldAttribute(field, value);
        else
            m_collector.attribute(attributeName, value);
    }

    bool attribute()
    {
        std::size_t field = m_collector.nextField();
        std::string_view attributeName;
        char quote = '"';
        if (const std::size_t length =
                field < m_starts.size() && m_end - m_p >= 16 ? m_starts[field].match(m_p) : 0) {
            attributeName = m_expected[field];
            m_p += length;
        } else {
            attributeName = name(field);
            if (attributeName.empty())
                return false;
            skipBlanks();
            if (!consume("="))
                return false;
            skipBlanks();
            if (m_p == m_end || (*m_p != '"' && *m_p != '\''))
                return false;
            quote = *m_p++;
        }
        const char* const value = m_p;
        m_p = plainRunEnd(m_p, m_end, quote);
        if (m_p == m_end)
            return false;
        if (*m_p == quote) {
            deliver(field, attributeName,
                    std::string_view(value, static_cast<std::size_t>(m_p - value)));
            ++m_p;
            return true;
        }
        std::string& out = m_decoded.emplace_back(value, m_p);
        while (*m_p == '&') {
            const std::size_t length = decodeReference(
                std::string_view(m_p + 1, static_cast<std::size_t>(m_end - m_p - 1)), out);
            if (length == 0)
                return false;
            m_p += 1 + length;
            const char* const run = m_p;
            m_p = plainRunEnd(m_p, m_end, quote);
            if (m_p == m_end)
                return false;
            out.append(run, m_p);
        }
        if (*m_p != quote)
            return false;
        ++m_p;
        deliver(field, attributeName, out);
        return true;
    }

    void skipBlanks()
    {
        while (m_p < m_end && isBlank(*m_p))
            ++m_p;
    }

    // A literal's length is known here, so the comparison compiles to a few instructions.
    template <std::size_t N>
    bool consume(const char (&expected)[N])
    {
        constexpr std::size_t length = N - 1;
        if (static_cast<std::size_t>(m_end - m_p) < length
            || std::memcmp(m_p, expected, length) != 0)
            return false;
        m_p += length;
        return true;
    }

    const char* m_p;
    const char* const m_end;
    RowCollector& m_collector;
    std::deque<std::string>& m_decoded;
    // Per field, its attribute name when isPlainName, else empty.
    std::vector<std::string_view> m_expected;
    std::vector<AttributeStart> m_starts;
};

// Skips blanks from `pos`; returns where they end.
std::size_t skipBlanks(std::string_view text, std::size_t pos)
{
    while (pos < text.size() && isBlank(text[pos]))
        ++pos;
    return pos;
}

} // namespace

std::optional<RowScanner::Extent> RowScanner::locate(std::string_view text)
{
    constexpr std::string_view open = "<ROWDATA";
    constexpr std::string_view close = "</ROWDATA";
    Extent extent;
    extent.begin = text.find(open);
    if (extent.begin == std::string_view::npos)
        return std::nullopt;
    std::size_t pos = skipBlanks(text, extent.begin + open.size());
    if (text.substr(pos).starts_with("/>")) {
        extent.rowsBegin = extent.rowsEnd = extent.begin;
        extent.end = pos + 2;
        return extent;
    }
    if (!text.substr(pos).starts_with('>'))
        return std::nullopt;
    extent.rowsBegin = pos + 1;
    extent.rowsEnd = text.rfind(close);
    if (extent.rowsEnd == std::string_view::npos || extent.rowsEnd < extent.rowsBegin)
        return std::nullopt;
    pos = skipBlanks(text, extent.rowsEnd + close.size());
    if (!text.substr(pos).starts_with('>'))
        return std::nullopt;
    extent.end = pos + 1;
    return extent;
}

bool RowScanner::scan(std::string_view rows, RowCollector& collector,
                      std::deque<std::string>& decoded)
{
    return Cursor(rows, collector, decoded).rows();
}

} // namespace catalog
