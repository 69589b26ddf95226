#pragma once

// The one JSON writer of the query tool: nested objects and arrays, indented two spaces a level
// or, for a record, on one line; strings escaped (quotes, backslashes, control characters as
// \u00XX). What it writes is always valid UTF-8: a byte that begins no well-formed UTF-8
// sequence (a drive's raw INQUIRY bytes) is written as U+FFFD, and the caller that must keep
// such bytes writes them as hex beside the text (see wasReplaced()). Output is gathered and
// written to the stream in pieces of about 64 KiB and when the outermost value closes.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace norvessa::json {

// Appends `text` as a JSON string. Returns false when an ill-formed UTF-8 sequence had to be
// replaced by U+FFFD.
bool appendJsonString(std::string& out, std::string_view text);

// Whether `text` can be written as it is: well-formed UTF-8 without control characters.
bool isPlainText(std::string_view text);

enum class Layout {
    Indented,  // one member a line, indented by nesting
    OneLine,   // all members on the line of the opening bracket: {"a": 1, "b": 2}
};

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    void beginObject(std::string_view key = {}, Layout layout = Layout::Indented);
    void endObject();
    void beginArray(std::string_view key = {}, Layout layout = Layout::Indented);
    void endArray();

    // Inside an object the key names the value; inside an array it is left empty.
    void string(std::string_view key, std::string_view value);
    void number(std::string_view key, std::uint64_t value);
    // A number already written in decimal (a database integer); anything else is written as
    // a string, so the output stays JSON.
    void decimal(std::string_view key, std::string_view digits);
    void boolean(std::string_view key, bool value);
    void null(std::string_view key);
    void optionalString(std::string_view key, const std::optional<std::string>& value);
    void optionalNumber(std::string_view key, const std::optional<std::uint64_t>& value);
    // The text, or null when it is empty.
    void textOrNull(std::string_view key, std::string_view value);
    void stringArray(std::string_view key, const std::vector<std::string>& values);

    // Writes what is gathered to the stream.
    void flush();
    // Whether a string written so far held bytes that are no UTF-8 and were replaced.
    bool wasReplaced() const { return replaced_; }

  private:
    struct Level {
        bool hasMembers = false;
        Layout layout = Layout::Indented;
    };
    void startValue(std::string_view key);
    void open(std::string_view key, char bracket, Layout layout);
    void close(char bracket);
    void key(std::string_view name);

    std::ostream& out_;
    std::string buffer_;
    std::vector<Level> levels_;
    bool replaced_ = false;
};

}  // namespace norvessa::json
