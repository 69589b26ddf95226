#pragma once

// Long values (memo and OLE): the 12-byte reference stored in the row and the data it points
// to: inline, one row on an LVAL page, or a chain of such rows.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/layout.h"

namespace norvessa::jet {

class DatabaseFile;

struct LongValueReference {
    std::uint32_t length = 0;
    std::uint8_t kind = layout::long_value::kKindInline;
    std::uint32_t rowPointer = 0;
    std::span<const std::uint8_t> inlineData;  // kind inline only
};

// Throws JetError(Corrupt) for a field shorter than the reference, an unknown kind or inline
// data shorter than the length.
LongValueReference decodeLongValueReference(std::span<const std::uint8_t> field,
                                            const Location& where);

// Collects the value's bytes, following rows and chains. Throws JetError(Corrupt) for rows that
// do not exist, loops in a chain and a total that differs from the recorded length.
std::vector<std::uint8_t> readLongValue(const LongValueReference& reference,
                                        const DatabaseFile& file);

}  // namespace norvessa::jet
