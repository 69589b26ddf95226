#pragma once

// Reads JSON back (RFC 8259) without building it: what the tests and fuzz targets use to prove
// that every JSON the query tool writes parses, and is valid UTF-8.

#include <optional>
#include <string>
#include <string_view>

namespace norvessa::json {

// Nothing when `text` is one JSON value (blanks around it allowed) in well-formed UTF-8;
// otherwise what is wrong and at which byte: "byte 17: expected ',' or '}'". Nesting deeper
// than 256 levels is refused.
std::optional<std::string> jsonError(std::string_view text);

}  // namespace norvessa::json
