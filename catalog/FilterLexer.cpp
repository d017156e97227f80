#include "FilterLexer.h"

#include "Text.h"

namespace catalog::detail
{

namespace
{

bool isNameStart(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') || (u >= 'a' && u <= 'z') || u == '_' || u >= 0x80;
}

bool isNameChar(char c)
{
    return isNameStart(c) || (c >= '0' && c <= '9') || c == '.' || c == '[' || c == ']';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

} // namespace

bool isWord(const Token& token, std::string_view word)
{
    return token.kind == TokenKind::Name && text::equal(token.value, word, true);
}

std::size_t FilterLexer::afterBlanks(std::size_t pos) const
{
    for (;;) {
        while (pos < m_text.size() && static_cast<unsigned char>(m_text[pos]) <= ' ')
            ++pos;
        if (m_text.substr(pos).starts_with("/*")) {
            const std::size_t end = m_text.find("*/", pos + 2);
            pos = end == std::string_view::npos ? m_text.size() : end + 2;
            continue;
        }
        return pos;
    }
}

std::string_view FilterLexer::letters()
{
    const std::size_t start = m_pos;
    while (m_pos < m_text.size()
           && ((m_text[m_pos] | 0x20) >= 'a' && (m_text[m_pos] | 0x20) <= 'z'))
        ++m_pos;
    return m_text.substr(start, m_pos - start);
}

char FilterLexer::peekChar() const
{
    const std::size_t pos = afterBlanks(m_pos);
    return pos < m_text.size() ? m_text[pos] : '\0';
}

std::optional<LexError> FilterLexer::next(Token& token)
{
    m_pos = afterBlanks(m_pos);
    Token t;
    t.offset = m_pos;
    if (m_pos >= m_text.size()) {
        token = std::move(t);
        return std::nullopt;
    }
    const char c = m_text[m_pos];
    if (isNameStart(c)) {
        while (m_pos < m_text.size() && isNameChar(m_text[m_pos]))
            ++m_pos;
        t.kind = TokenKind::Name;
        t.value = std::string(m_text.substr(t.offset, m_pos - t.offset));
        if (text::equal(t.value, "like", true)) {
            t.kind = TokenKind::Like;
        } else if (text::equal(t.value, "in", true)) {
            t.kind = TokenKind::In;
        } else if (text::equal(t.value, "is", true)) {
            // IS NULL and IS NOT NULL are single tokens; anything else after IS is an error.
            m_pos = afterBlanks(m_pos);
            const std::string_view word = letters();
            if (text::equal(word, "null", true)) {
                t.kind = TokenKind::IsNull;
            } else if (text::equal(word, "not", true)) {
                m_pos = afterBlanks(m_pos);
                if (!text::equal(letters(), "null", true))
                    return LexError{FilterStatus::InvalidUseOfKeyword, t.offset, {}};
                t.kind = TokenKind::IsNotNull;
            } else {
                return LexError{FilterStatus::InvalidUseOfKeyword, t.offset, {}};
            }
        }
    } else if (c == '[') {
        const std::size_t close = m_text.find(']', m_pos + 1);
        if (close == std::string_view::npos)
            return LexError{FilterStatus::UnterminatedFieldName, t.offset, {}};
        t.kind = TokenKind::Field;
        t.value = std::string(m_text.substr(m_pos + 1, close - m_pos - 1));
        m_pos = close + 1;
    } else if (c == '\'') {
        t.kind = TokenKind::String;
        ++m_pos;
        for (;;) {
            const std::size_t quote = m_text.find('\'', m_pos);
            if (quote == std::string_view::npos)
                return LexError{FilterStatus::UnterminatedString, t.offset, {}};
            t.value += m_text.substr(m_pos, quote - m_pos);
            m_pos = quote + 1;
            if (m_pos < m_text.size() && m_text[m_pos] == '\'') {
                t.value += '\'';
                ++m_pos;
                continue;
            }
            break;
        }
    } else if (isDigit(c)) {
        t.kind = TokenKind::Number;
        while (m_pos < m_text.size() && isDigit(m_text[m_pos]))
            ++m_pos;
        if (m_pos < m_text.size() && m_text[m_pos] == '.') {
            ++m_pos;
            while (m_pos < m_text.size() && isDigit(m_text[m_pos]))
                ++m_pos;
        }
        if (m_pos < m_text.size() && (m_text[m_pos] | 0x20) == 'e') {
            std::size_t p = m_pos + 1;
            if (p < m_text.size() && (m_text[p] == '+' || m_text[p] == '-'))
                ++p;
            if (p < m_text.size() && isDigit(m_text[p])) {
                while (p < m_text.size() && isDigit(m_text[p]))
                    ++p;
                m_pos = p;
            }
        }
        t.value = std::string(m_text.substr(t.offset, m_pos - t.offset));
    } else {
        const std::string_view rest = m_text.substr(m_pos);
        std::size_t length = 1;
        if (rest.starts_with("<>") || rest.starts_with("<=") || rest.starts_with(">="))
            length = 2;
        else if (std::string_view("=<>+-*/").find(c) == std::string_view::npos && c != '('
                 && c != ')' && c != ',')
            return LexError{FilterStatus::InvalidCharacter, t.offset, std::string(1, c)};
        t.kind = c == '('   ? TokenKind::Open
                 : c == ')' ? TokenKind::Close
                 : c == ',' ? TokenKind::Comma
                            : TokenKind::Operator;
        t.value = std::string(rest.substr(0, length));
        m_pos += length;
    }
    t.source = m_text.substr(t.offset, m_pos - t.offset);
    token = std::move(t);
    return std::nullopt;
}

} // namespace catalog::detail
