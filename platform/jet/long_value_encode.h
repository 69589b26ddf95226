#pragma once

// Encoder for long values (memo and OLE): the 12-byte reference a row stores and, for values
// too long to sit inline, their rows on long-value pages (data pages owned by "LVAL"): one row
// when the value fits, else a chain of rows that each start with the next part's row pointer.
// The decoder is long_value.h.

#include <cstdint>
#include <span>
#include <vector>

namespace norvessa::jet {

struct PackedLongValues {
    // The long-value pages, to be placed at firstPage, firstPage + 1, ...
    std::vector<std::vector<std::uint8_t>> pages;
    // Per value, the reference to store in its row (inline data included).
    std::vector<std::vector<std::uint8_t>> references;
};

// Lays out the values of one memo or OLE column. Throws JetError(InvalidArgument) for a value
// longer than a reference can describe (16 MB).
PackedLongValues packLongValues(std::span<const std::vector<std::uint8_t>> values,
                                std::uint32_t firstPage);

}  // namespace norvessa::jet
