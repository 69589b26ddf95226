#pragma once

// Splits a statement (UTF-8) into the tokens of Jet SQL that the parser needs to recognise,
// including those it only recognises in order to refuse them clearly.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace norvessa::sql {

enum class TokenKind {
    Word,           // a keyword or a plain name: letters, digits, "_", any non-ASCII character
    BracketedName,  // [any name]; text holds the name without the brackets
    Text,           // 'a literal'; text holds the value with '' turned into '
    Number,         // 12 or 1.5, as written
    Symbol,         // * = , ; ( ) . < > <= >= <>
    End,            // after the last token
};

struct Token {
    TokenKind kind = TokenKind::End;
    std::string text;
    std::size_t position = 0;  // the token's first character, counted from 1
};

// The last token is always End. Throws SqlError for text that cannot be split into tokens:
// invalid UTF-8, an unclosed quote or bracket, a character that belongs to no token.
std::vector<Token> tokenize(std::string_view statement);

}  // namespace norvessa::sql
