#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace norvessa::dataset {

// The length of UTF-8 text in UTF-16 code units, the unit in which the lookup table measures its
// text columns; nothing when the bytes are not well-formed UTF-8 (overlong forms, surrogates,
// code points above U+10FFFF and truncated sequences included).
std::optional<std::size_t> utf16Length(std::string_view utf8);

}  // namespace norvessa::dataset
