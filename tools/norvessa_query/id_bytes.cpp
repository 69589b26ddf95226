#include "tools/norvessa_query/id_bytes.h"

#include <algorithm>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "platform/text/utf8.h"
#include "tools/norvessa_query/usage_error.h"

namespace norvessa::query {

namespace {

std::optional<std::uint8_t> hexDigitValue(char digit) {
    if (digit >= '0' && digit <= '9') {
        return static_cast<std::uint8_t>(digit - '0');
    }
    if (digit >= 'A' && digit <= 'F') {
        return static_cast<std::uint8_t>(digit - 'A' + 10);
    }
    if (digit >= 'a' && digit <= 'f') {
        return static_cast<std::uint8_t>(digit - 'a' + 10);
    }
    return std::nullopt;
}

bool isBlank(char character) {
    return character == ' ' || character == '\t' || character == '\r' || character == '\n';
}

// The whole UTF-8 sequence that starts at `index`, so that a message quotes a Chinese
// character whole rather than its first byte.
std::string_view characterAt(std::string_view text, std::size_t index) {
    std::size_t end = index + 1;
    while (end < text.size() && norvessa::text::isUtf8Continuation(text[end])) {
        ++end;
    }
    return text.substr(index, end - index);
}

// One alternative of a stored position: a run of hexadecimal pairs ("15", rarely "ECD3").
bool isHexPairs(std::string_view text) {
    if (text.empty() || text.size() % 2 != 0) {
        return false;
    }
    for (const char digit : text) {
        if (!hexDigitValue(digit)) {
            return false;
        }
    }
    return true;
}

std::uint8_t pairAt(std::string_view hexPairs, std::size_t pair) {
    return static_cast<std::uint8_t>(*hexDigitValue(hexPairs[2 * pair]) << 4 |
                                     *hexDigitValue(hexPairs[2 * pair + 1]));
}

// Where a match attempt already failed: (position in the stored value, bytes still wanted).
using FailedAttempts = std::set<std::pair<std::size_t, std::size_t>>;

// Matches `wanted` against the stored value from `position` on, trying every alternative of
// each blank-separated group in turn. Each failed attempt is remembered, so that a value of a
// damaged or hostile database with many alternatives in many groups costs polynomial time
// rather than exponential.
bool matchFrom(std::string_view stored, std::size_t position, std::span<const std::uint8_t> wanted,
               FailedAttempts& failed) {
    if (wanted.empty()) {
        return true;
    }
    if (!failed.emplace(position, wanted.size()).second) {
        return false;
    }
    while (position < stored.size() && isBlank(stored[position])) {
        ++position;
    }
    std::size_t groupEnd = position;
    while (groupEnd < stored.size() && !isBlank(stored[groupEnd])) {
        ++groupEnd;
    }
    const std::string_view group = stored.substr(position, groupEnd - position);
    std::size_t alternativeStart = 0;
    while (alternativeStart < group.size()) {
        const std::size_t slash = group.find('/', alternativeStart);
        const std::size_t alternativeEnd = slash == std::string_view::npos ? group.size() : slash;
        const std::string_view alternative =
            group.substr(alternativeStart, alternativeEnd - alternativeStart);
        alternativeStart = alternativeEnd + 1;
        if (!isHexPairs(alternative)) {
            continue;
        }
        const std::size_t compared = std::min(alternative.size() / 2, wanted.size());
        bool same = true;
        for (std::size_t pair = 0; pair < compared && same; ++pair) {
            same = pairAt(alternative, pair) == wanted[pair];
        }
        if (same && (compared == wanted.size() ||
                     matchFrom(stored, groupEnd, wanted.subspan(compared), failed))) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<std::uint8_t> parseTypedIdBytes(std::string_view typed) {
    const std::string quoted = "--id \"" + std::string(typed) + "\": ";
    std::string digits;
    for (std::size_t index = 0; index < typed.size(); ++index) {
        const char character = typed[index];
        if (isBlank(character)) {
            continue;
        }
        if (!hexDigitValue(character)) {
            throw UsageError(quoted + "'" + std::string(characterAt(typed, index)) +
                             "' is not a hexadecimal digit; give ID bytes as pairs of digits "
                             "0-9 and A-F, such as \"EC D5 14 B6\"");
        }
        digits.push_back(character);
    }
    if (digits.empty()) {
        throw UsageError(quoted +
                         "no ID bytes given; give pairs of hexadecimal digits, such as "
                         "\"EC D5 14 B6\"");
    }
    if (digits.size() % 2 != 0) {
        throw UsageError(quoted + std::to_string(digits.size()) +
                         " hexadecimal digits, an odd number; every ID byte takes two digits");
    }
    std::vector<std::uint8_t> bytes;
    for (std::size_t pair = 0; pair < digits.size() / 2; ++pair) {
        bytes.push_back(pairAt(digits, pair));
    }
    return bytes;
}

bool storedIdBeginsWith(std::string_view stored, std::span<const std::uint8_t> wanted) {
    FailedAttempts failed;
    return matchFrom(stored, 0, wanted, failed);
}

}  // namespace norvessa::query
