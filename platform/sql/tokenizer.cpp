#include "platform/sql/tokenizer.h"

#include <cstdint>
#include <cstdio>

#include "platform/sql/sql_error.h"
#include "platform/text/utf8.h"

namespace norvessa::sql {
namespace {

// Walks the statement one character (code point) at a time, checking the UTF-8 encoding as it
// goes and counting characters for error positions.
class CharacterCursor {
  public:
    explicit CharacterCursor(std::string_view text) : text_(text) { decodeCurrent(); }

    bool atEnd() const { return offset_ >= text_.size(); }
    // The current character; only valid when not at the end.
    char32_t current() const { return current_; }
    // The current character's bytes, as they stand in the statement.
    std::string_view currentBytes() const { return text_.substr(offset_, length_); }
    std::size_t position() const { return position_; }
    std::size_t offset() const { return offset_; }

    void advance() {
        offset_ += length_;
        ++position_;
        decodeCurrent();
    }

  private:
    std::uint8_t byteAt(std::size_t index) const { return static_cast<std::uint8_t>(text_[index]); }

    [[noreturn]] void invalid(std::uint8_t byte) const {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned>(byte));
        throw SqlError(SqlErrorKind::Syntax, position_,
                       std::string("the statement is not valid UTF-8 (byte ") + hex + ")");
    }

    void decodeCurrent() {
        if (atEnd()) {
            current_ = 0;
            length_ = 0;
            return;
        }
        const text::Utf8Sequence sequence = text::decodeUtf8At(text_, offset_);
        if (!sequence.wellFormed) {
            invalid(byteAt(offset_ + sequence.faultOffset));
        }
        current_ = sequence.codePoint;
        length_ = sequence.length;
    }

    std::string_view text_;
    std::size_t offset_ = 0;
    std::size_t position_ = 1;
    char32_t current_ = 0;
    std::size_t length_ = 0;
};

bool isBlank(char32_t c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

bool isDigit(char32_t c) {
    return c >= '0' && c <= '9';
}

bool isNameStart(char32_t c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_' || c >= 0x80;
}

bool isNameCharacter(char32_t c) {
    return isNameStart(c) || isDigit(c);
}

std::string describeCharacter(const CharacterCursor& in) {
    const char32_t c = in.current();
    if (c < 0x20 || c == 0x7F) {
        char code[16];
        std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
        return code;
    }
    return "\"" + std::string(in.currentBytes()) + "\"";
}

Token readWord(CharacterCursor& in, std::string_view statement) {
    Token token{TokenKind::Word, {}, in.position()};
    const std::size_t start = in.offset();
    while (!in.atEnd() && isNameCharacter(in.current())) {
        in.advance();
    }
    token.text = std::string(statement.substr(start, in.offset() - start));
    return token;
}

Token readNumber(CharacterCursor& in, std::string_view statement) {
    Token token{TokenKind::Number, {}, in.position()};
    const std::size_t start = in.offset();
    while (!in.atEnd() && isDigit(in.current())) {
        in.advance();
    }
    if (!in.atEnd() && in.current() == '.') {
        in.advance();
        while (!in.atEnd() && isDigit(in.current())) {
            in.advance();
        }
    }
    if (!in.atEnd() && isNameStart(in.current())) {
        throw SqlError(SqlErrorKind::Syntax, token.position,
                       "a name must not begin with a digit; write it in [brackets]");
    }
    token.text = std::string(statement.substr(start, in.offset() - start));
    return token;
}

Token readText(CharacterCursor& in) {
    Token token{TokenKind::Text, {}, in.position()};
    in.advance();  // the opening apostrophe
    while (true) {
        if (in.atEnd()) {
            throw SqlError(SqlErrorKind::Syntax, token.position,
                           "the text that begins here has no closing apostrophe");
        }
        if (in.current() == '\'') {
            in.advance();
            if (in.atEnd() || in.current() != '\'') {
                return token;
            }
        }
        token.text += in.currentBytes();
        in.advance();
    }
}

Token readBracketedName(CharacterCursor& in) {
    Token token{TokenKind::BracketedName, {}, in.position()};
    in.advance();  // the opening bracket
    while (true) {
        if (in.atEnd()) {
            throw SqlError(SqlErrorKind::Syntax, token.position,
                           "the name in brackets that begins here has no closing \"]\"");
        }
        const char32_t c = in.current();
        if (c == ']') {
            in.advance();
            break;
        }
        if (c == '[') {
            throw SqlError(SqlErrorKind::Syntax, in.position(),
                           "a name in brackets must not contain \"[\"");
        }
        if (c < 0x20 || c == 0x7F) {
            throw SqlError(
                SqlErrorKind::Syntax, in.position(),
                "a name must not contain the control character " + describeCharacter(in));
        }
        token.text += in.currentBytes();
        in.advance();
    }
    if (token.text.empty()) {
        throw SqlError(SqlErrorKind::Syntax, token.position, "the name in brackets is empty");
    }
    return token;
}

Token readSymbol(CharacterCursor& in) {
    Token token{TokenKind::Symbol, {}, in.position()};
    const char32_t c = in.current();
    switch (c) {
        case '*':
        case '=':
        case ',':
        case ';':
        case '(':
        case ')':
        case '.':
            token.text = static_cast<char>(c);
            in.advance();
            return token;
        case '<':
        case '>':
            token.text = static_cast<char>(c);
            in.advance();
            if (!in.atEnd() && (in.current() == '=' || (c == '<' && in.current() == '>'))) {
                token.text += static_cast<char>(in.current());
                in.advance();
            }
            return token;
        case '"':
            throw SqlError(SqlErrorKind::NotSupported, token.position,
                           "text in double quotes; write text in single quotes");
        default:
            throw SqlError(SqlErrorKind::Syntax, token.position,
                           "unexpected character " + describeCharacter(in));
    }
}

}  // namespace

std::vector<Token> tokenize(std::string_view statement) {
    CharacterCursor in(statement);
    std::vector<Token> tokens;
    while (true) {
        while (!in.atEnd() && isBlank(in.current())) {
            in.advance();
        }
        if (in.atEnd()) {
            tokens.push_back(Token{TokenKind::End, {}, in.position()});
            return tokens;
        }
        const char32_t c = in.current();
        if (isNameStart(c)) {
            tokens.push_back(readWord(in, statement));
        } else if (isDigit(c)) {
            tokens.push_back(readNumber(in, statement));
        } else if (c == '\'') {
            tokens.push_back(readText(in));
        } else if (c == '[') {
            tokens.push_back(readBracketedName(in));
        } else {
            tokens.push_back(readSymbol(in));
        }
    }
}

}  // namespace norvessa::sql
