#pragma once

// How many terminal cells a UTF-8 text takes: East Asian Wide and Fullwidth characters (Chinese
// characters, full-width punctuation) take two, combining marks none, everything else one.

#include <cstddef>
#include <string_view>

namespace norvessa::query {

// A byte that does not start a valid UTF-8 sequence counts as one cell, as terminals show it
// as one replacement character.
std::size_t displayWidth(std::string_view utf8);

}  // namespace norvessa::query
