#include "platform/json/json_check.h"

#include "platform/text/utf8.h"

namespace norvessa::json {

namespace {

constexpr int kMaxDepth = 256;

class Checker {
  public:
    explicit Checker(std::string_view text) : text_(text) {}

    std::optional<std::string> run() {
        if (!text::isValidUtf8(text_)) {
            return std::string("not well-formed UTF-8");
        }
        blanks();
        value(0);
        blanks();
        if (!error_ && position_ != text_.size()) {
            fail("text after the value");
        }
        return error_;
    }

  private:
    void fail(std::string_view what) {
        if (!error_) {
            error_ = "byte " + std::to_string(position_) + ": " + std::string(what);
        }
    }
    bool at(char c) const { return position_ < text_.size() && text_[position_] == c; }
    void blanks() {
        while (position_ < text_.size() && (text_[position_] == ' ' || text_[position_] == '\t' ||
                                            text_[position_] == '\n' || text_[position_] == '\r')) {
            ++position_;
        }
    }
    bool literal(std::string_view word) {
        if (text_.substr(position_, word.size()) == word) {
            position_ += word.size();
            return true;
        }
        return false;
    }
    void value(int depth) {
        if (error_) {
            return;
        }
        if (depth > kMaxDepth) {
            fail("nested too deep");
            return;
        }
        if (at('{')) {
            container(depth, '}', true);
        } else if (at('[')) {
            container(depth, ']', false);
        } else if (at('"')) {
            string();
        } else if (literal("true") || literal("false") || literal("null")) {
        } else {
            number();
        }
    }
    void container(int depth, char closing, bool object) {
        ++position_;
        blanks();
        if (at(closing)) {
            ++position_;
            return;
        }
        for (;;) {
            if (object) {
                if (!at('"')) {
                    fail("expected a key");
                    return;
                }
                string();
                blanks();
                if (!at(':')) {
                    fail("expected ':'");
                    return;
                }
                ++position_;
                blanks();
            }
            value(depth + 1);
            if (error_) {
                return;
            }
            blanks();
            if (at(',')) {
                ++position_;
                blanks();
                continue;
            }
            if (at(closing)) {
                ++position_;
                return;
            }
            fail(object ? "expected ',' or '}'" : "expected ',' or ']'");
            return;
        }
    }
    void string() {
        ++position_;
        while (position_ < text_.size()) {
            const auto byte = static_cast<unsigned char>(text_[position_]);
            if (byte == '"') {
                ++position_;
                return;
            }
            if (byte < 0x20) {
                fail("a control character inside a string");
                return;
            }
            if (byte == '\\') {
                ++position_;
                if (position_ >= text_.size()) {
                    break;
                }
                const char escaped = text_[position_];
                if (escaped == 'u') {
                    for (int digit = 0; digit < 4; ++digit) {
                        ++position_;
                        const char c = position_ < text_.size() ? text_[position_] : 'x';
                        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') ||
                                         (c >= 'A' && c <= 'F');
                        if (!hex) {
                            fail("a \\u escape without four hexadecimal digits");
                            return;
                        }
                    }
                } else if (std::string_view("\"\\/bfnrt").find(escaped) == std::string_view::npos) {
                    fail("an unknown escape");
                    return;
                }
            }
            ++position_;
        }
        fail("a string without its closing quote");
    }
    void number() {
        const std::size_t start = position_;
        if (at('-')) {
            ++position_;
        }
        const auto digits = [this] {
            std::size_t count = 0;
            while (position_ < text_.size() && text_[position_] >= '0' && text_[position_] <= '9') {
                ++position_;
                ++count;
            }
            return count;
        };
        const std::size_t integerStart = position_;
        const std::size_t integerDigits = digits();
        if (integerDigits == 0) {
            position_ = start;
            fail("expected a value");
            return;
        }
        if (integerDigits > 1 && text_[integerStart] == '0') {
            fail("a number with a leading zero");
            return;
        }
        if (at('.')) {
            ++position_;
            if (digits() == 0) {
                fail("a fraction without digits");
                return;
            }
        }
        if (at('e') || at('E')) {
            ++position_;
            if (at('+') || at('-')) {
                ++position_;
            }
            if (digits() == 0) {
                fail("an exponent without digits");
            }
        }
    }

    std::string_view text_;
    std::size_t position_ = 0;
    std::optional<std::string> error_;
};

}  // namespace

std::optional<std::string> jsonError(std::string_view text) {
    return Checker(text).run();
}

}  // namespace norvessa::json
