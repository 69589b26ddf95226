#pragma once

// What a lookup hands to the output formats: named columns and rows of cells, in the order the
// records were found.

#include <string>
#include <vector>

#include "platform/jet/value.h"

namespace norvessa::query {

struct Cell {
    enum class Kind { Text, Integer, Null };
    Kind kind = Kind::Text;
    std::string text;  // Integer: its decimal text; Null: empty

    static Cell fromText(std::string text) { return {Kind::Text, std::move(text)}; }
    static Cell fromInteger(long long number) { return {Kind::Integer, std::to_string(number)}; }
    // Integers stay numbers; every other value becomes its text as the lookup shows it.
    static Cell fromValue(const jet::Value& value);

    friend bool operator==(const Cell&, const Cell&) = default;
};

struct ResultTable {
    std::vector<std::string> columns;
    std::vector<std::vector<Cell>> rows;  // each as long as `columns`
};

// Heading of the one-based number of a record within the result, as the windows program's
// result list calls it.
inline constexpr const char* kSequenceColumn = "序号";
// Heading of the controller maker column (慧荣, 群联, ...) a --controller match was found in.
inline constexpr const char* kControllerMakerColumn = "主控厂商";

}  // namespace norvessa::query
