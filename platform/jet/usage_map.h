#pragma once

// Usage maps: the set of pages a table (or index, or long-value column) owns, stored as a row.
// Type 0 holds a bitmap inline; type 1 lists map pages (type 0x05) that hold the bitmaps. Only
// the maps of what is read are decoded: the global map (page 1), Access's record for
// allocating pages, may mark pages past the file's end and is not read.

#include <cstdint>
#include <span>
#include <vector>

#include "platform/jet/byte_cursor.h"

namespace norvessa::jet {

class DatabaseFile;

// The pages whose bits are set, ascending. Pages of a type 1 map are read through `file`. A
// listed page beyond the file's end is left to the read that needs it, which refuses it.
std::vector<std::uint32_t> decodeUsageMap(std::span<const std::uint8_t> row,
                                          const DatabaseFile& file, const Location& where);

// Resolves a row pointer (page << 8 | row) to the map row and decodes it.
std::vector<std::uint32_t> readUsageMap(const DatabaseFile& file, std::uint32_t rowPointer,
                                        std::string_view owner);

}  // namespace norvessa::jet
