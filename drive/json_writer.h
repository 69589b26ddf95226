#pragma once

// A small JSON writer for the drive reports: nested objects and arrays, two-space indentation,
// strings escaped (control characters as \u00XX), absent values as null.

#include <cstdint>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace norvessa::drive {

// Appends `text` as a JSON string: quotes, backslashes and control characters escaped. It
// appends to a line written whole, which keeps a stream's per-call cost out of the character
// loop.
void appendJsonString(std::string& out, std::string_view text);

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : out_(out) {}

    void beginObject(std::string_view key = {});
    void endObject();
    void beginArray(std::string_view key = {});
    void endArray();

    // Inside an object the key names the value; inside an array it is left empty.
    void string(std::string_view key, std::string_view value);
    void number(std::string_view key, std::uint64_t value);
    void boolean(std::string_view key, bool value);
    void null(std::string_view key);
    void optionalString(std::string_view key, const std::optional<std::string>& value);
    void optionalNumber(std::string_view key, const std::optional<std::uint64_t>& value);
    // The text, or null when it is empty.
    void textOrNull(std::string_view key, std::string_view value);
    // An array of strings.
    void stringArray(std::string_view key, const std::vector<std::string>& values);
    // Text that is already JSON (another writer's array), placed as the value.
    void raw(std::string_view key, std::string_view json);

    static std::string quoted(std::string_view text);

  private:
    void startValue(std::string_view key);
    void open(std::string_view key, char bracket);
    void close(char bracket);

    std::ostream& out_;
    std::vector<bool> hasMembers_;  // one entry per open object or array
};

}  // namespace norvessa::drive
