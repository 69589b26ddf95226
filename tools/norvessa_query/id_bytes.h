#pragma once

// Flash ID bytes as users type them and as the lookup table stores them.
//
// Typed: hexadecimal digits in pairs; blanks and letter case do not matter ("ec d514B6").
// Stored: pairs separated by blanks, upper case in most values, where one position may list
// alternatives joined by "/" ("EC F1 80 15/10" stands for EC F1 80 15 and EC F1 80 10).

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace norvessa::query {

// Throws UsageError naming what is wrong: a character that is not a hexadecimal digit, an odd
// number of digits, or no digits at all.
std::vector<std::uint8_t> parseTypedIdBytes(std::string_view typed);

// Whether one of the ID byte sequences a stored value stands for begins with `wanted`. A part
// of the stored value that is not hexadecimal pairs ends what it can match; it never throws.
bool storedIdBeginsWith(std::string_view stored, std::span<const std::uint8_t> wanted);

// The byte two hexadecimal digits stand for; none for anything else.
std::optional<std::uint8_t> hexPair(std::string_view text);

}  // namespace norvessa::query
