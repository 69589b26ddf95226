#include "platform/json/json_writer.h"

#include <algorithm>

#include "platform/text/utf8.h"

namespace norvessa::json {

namespace {

constexpr std::size_t kWriteChunk = 64 * 1024;
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

bool isDecimal(std::string_view digits) {
    std::string_view rest = digits;
    if (!rest.empty() && rest.front() == '-') {
        rest.remove_prefix(1);
    }
    return !rest.empty() && (rest.size() == 1 || rest.front() != '0') &&
           std::all_of(rest.begin(), rest.end(), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

bool appendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    bool valid = true;
    out += '"';
    std::size_t index = 0;
    while (index < text.size()) {
        const char character = text[index];
        const auto byte = static_cast<unsigned char>(character);
        if (byte >= 0x80) {
            const text::Utf8Sequence sequence = text::decodeUtf8At(text, index);
            if (sequence.wellFormed) {
                out.append(text.substr(index, sequence.length));
                index += sequence.length;
            } else {
                out += kReplacement;
                valid = false;
                index += 1;  // the following bytes may begin a character of their own
            }
            continue;
        }
        switch (character) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    out += "\\u00";
                    out += kHexDigits[byte >> 4];
                    out += kHexDigits[byte & 0x0F];
                } else {
                    out += character;
                }
        }
        ++index;
    }
    out += '"';
    return valid;
}

bool isPlainText(std::string_view text) {
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte < 0x20 || byte == 0x7F) {
            return false;
        }
    }
    return text::isValidUtf8(text);
}

JsonWriter::~JsonWriter() {
    flush();
}

void JsonWriter::flush() {
    if (!buffer_.empty()) {
        out_.write(buffer_.data(), static_cast<std::streamsize>(buffer_.size()));
        buffer_.clear();
    }
}

void JsonWriter::key(std::string_view name) {
    replaced_ = !appendJsonString(buffer_, name) || replaced_;
    buffer_ += ": ";
}

void JsonWriter::startValue(std::string_view name) {
    if (!levels_.empty()) {
        Level& level = levels_.back();
        if (level.layout == Layout::OneLine) {
            buffer_ += level.hasMembers ? ", " : "";
        } else {
            buffer_ += level.hasMembers ? ",\n" : "\n";
            buffer_.append(levels_.size() * 2, ' ');
        }
        level.hasMembers = true;
    }
    if (!name.empty()) {
        key(name);
    }
}

void JsonWriter::open(std::string_view name, char bracket, Layout layout) {
    startValue(name);
    buffer_ += bracket;
    // A container inside a one-line container stays on its line.
    const bool oneLine =
        layout == Layout::OneLine || (!levels_.empty() && levels_.back().layout == Layout::OneLine);
    levels_.push_back({false, oneLine ? Layout::OneLine : Layout::Indented});
}

void JsonWriter::close(char bracket) {
    const Level level = levels_.back();
    levels_.pop_back();
    if (level.hasMembers && level.layout == Layout::Indented) {
        buffer_ += '\n';
        buffer_.append(levels_.size() * 2, ' ');
    }
    buffer_ += bracket;
    if (levels_.empty()) {
        buffer_ += '\n';
        flush();
    } else if (buffer_.size() >= kWriteChunk) {
        flush();
    }
}

void JsonWriter::beginObject(std::string_view name, Layout layout) {
    open(name, '{', layout);
}

void JsonWriter::endObject() {
    close('}');
}

void JsonWriter::beginArray(std::string_view name, Layout layout) {
    open(name, '[', layout);
}

void JsonWriter::endArray() {
    close(']');
}

void JsonWriter::string(std::string_view name, std::string_view value) {
    startValue(name);
    replaced_ = !appendJsonString(buffer_, value) || replaced_;
}

void JsonWriter::number(std::string_view name, std::uint64_t value) {
    startValue(name);
    buffer_ += std::to_string(value);
}

void JsonWriter::decimal(std::string_view name, std::string_view digits) {
    if (!isDecimal(digits)) {
        string(name, digits);
        return;
    }
    startValue(name);
    buffer_ += digits;
}

void JsonWriter::boolean(std::string_view name, bool value) {
    startValue(name);
    buffer_ += value ? "true" : "false";
}

void JsonWriter::null(std::string_view name) {
    startValue(name);
    buffer_ += "null";
}

void JsonWriter::optionalString(std::string_view name, const std::optional<std::string>& value) {
    if (value) {
        string(name, *value);
    } else {
        null(name);
    }
}

void JsonWriter::optionalNumber(std::string_view name, const std::optional<std::uint64_t>& value) {
    if (value) {
        number(name, *value);
    } else {
        null(name);
    }
}

void JsonWriter::textOrNull(std::string_view name, std::string_view value) {
    if (value.empty()) {
        null(name);
    } else {
        string(name, value);
    }
}

void JsonWriter::stringArray(std::string_view name, const std::vector<std::string>& values) {
    beginArray(name);
    for (const std::string& value : values) {
        string({}, value);
    }
    endArray();
}

}  // namespace norvessa::json
