#include "drive/json_writer.h"

namespace norvessa::drive {

void appendJsonString(std::string& out, std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    out += '"';
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
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
                if (byte < 0x20) {
                    out += "\\u00";
                    out += kHexDigits[byte >> 4];
                    out += kHexDigits[byte & 0x0F];
                } else {
                    out += character;
                }
        }
    }
    out += '"';
}

std::string JsonWriter::quoted(std::string_view text) {
    std::string out;
    appendJsonString(out, text);
    return out;
}

void JsonWriter::startValue(std::string_view key) {
    if (!hasMembers_.empty()) {
        out_ << (hasMembers_.back() ? ",\n" : "\n");
        hasMembers_.back() = true;
        out_ << std::string(hasMembers_.size() * 2, ' ');
    }
    if (!key.empty()) {
        out_ << quoted(key) << ": ";
    }
}

void JsonWriter::open(std::string_view key, char bracket) {
    startValue(key);
    out_ << bracket;
    hasMembers_.push_back(false);
}

void JsonWriter::close(char bracket) {
    const bool members = hasMembers_.back();
    hasMembers_.pop_back();
    if (members) {
        out_ << '\n' << std::string(hasMembers_.size() * 2, ' ');
    }
    out_ << bracket;
    if (hasMembers_.empty()) {
        out_ << '\n';
    }
}

void JsonWriter::beginObject(std::string_view key) {
    open(key, '{');
}

void JsonWriter::endObject() {
    close('}');
}

void JsonWriter::beginArray(std::string_view key) {
    open(key, '[');
}

void JsonWriter::endArray() {
    close(']');
}

void JsonWriter::string(std::string_view key, std::string_view value) {
    startValue(key);
    out_ << quoted(value);
}

void JsonWriter::number(std::string_view key, std::uint64_t value) {
    startValue(key);
    out_ << value;
}

void JsonWriter::boolean(std::string_view key, bool value) {
    startValue(key);
    out_ << (value ? "true" : "false");
}

void JsonWriter::null(std::string_view key) {
    startValue(key);
    out_ << "null";
}

void JsonWriter::optionalString(std::string_view key, const std::optional<std::string>& value) {
    if (value) {
        string(key, *value);
    } else {
        null(key);
    }
}

void JsonWriter::optionalNumber(std::string_view key, const std::optional<std::uint64_t>& value) {
    if (value) {
        number(key, *value);
    } else {
        null(key);
    }
}

void JsonWriter::textOrNull(std::string_view key, std::string_view value) {
    if (value.empty()) {
        null(key);
    } else {
        string(key, value);
    }
}

void JsonWriter::stringArray(std::string_view key, const std::vector<std::string>& values) {
    beginArray(key);
    for (const std::string& value : values) {
        string({}, value);
    }
    endArray();
}

void JsonWriter::raw(std::string_view key, std::string_view json) {
    startValue(key);
    while (!json.empty() && (json.back() == '\n' || json.back() == ' ')) {
        json.remove_suffix(1);
    }
    out_ << json;
}

}  // namespace norvessa::drive
