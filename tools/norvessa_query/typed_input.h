#pragma once

// What the user typed, made ready for a lookup before any database is opened, so that bad input
// is reported as such whatever state the database is in.

#include <string>
#include <string_view>

namespace norvessa::query {

// The text without the blanks, tabs and line breaks at either end.
std::string_view trimBlanks(std::string_view text);

// The trimmed text. Throws UsageError naming `option` when nothing is left.
std::string_view requireNonBlank(std::string_view typed, std::string_view option);

// The windows program's model key: the typed model trimmed and in upper case.
std::string modelKey(std::string_view typed);

}  // namespace norvessa::query
