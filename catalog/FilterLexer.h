#pragma once

#include "Filter.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace catalog::detail
{

enum class TokenKind {
    End,
    Name,
    Field,
    String,
    Number,
    Operator,
    Open,
    Close,
    Comma,
    Like,
    In,
    IsNull,
    IsNotNull
};

struct Token final {
    TokenKind kind = TokenKind::End;
    std::size_t offset = 0;
    std::string_view source; // as written
    std::string value;       // names without brackets, literals without apostrophes
};

// Whether `token` is a bare name spelled `word`, in any letter case (AND, or, Not...).
[[nodiscard]] bool isWord(const Token& token, std::string_view word);

// A word of the filter text that cannot be read: what is wrong and where the word began.
struct LexError final {
    FilterStatus status = FilterStatus::Ok;
    std::size_t offset = 0;
    std::string detail;
};

// Splits a filter text into tokens, one at a time. Blanks (every character up to the space) and
// /* comments */ between tokens are skipped; IS NULL and IS NOT NULL are read as single tokens.
class FilterLexer final
{
public:
    explicit FilterLexer(std::string_view text)
        : m_text(text)
    {
    }

    // Reads the next token into `token` (kind End at the end of the text). On an error returns
    // it and leaves `token` unchanged; the lexer is then not to be used again.
    [[nodiscard]] std::optional<LexError> next(Token& token);

    // The next token's first character ('\0' at the end), without consuming anything.
    [[nodiscard]] char peekChar() const;

private:
    [[nodiscard]] std::size_t afterBlanks(std::size_t pos) const;
    std::string_view letters();

    std::string_view m_text;
    std::size_t m_pos = 0;
};

} // namespace catalog::detail
