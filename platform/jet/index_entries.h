#pragma once

// The entries of one index over a table's rows: each row's key (one segment per indexed column)
// and location, in index order, with the checks the index's flags ask for.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/jet/index_pages.h"
#include "platform/jet/table_content_encode.h"

namespace norvessa::jet {

struct RowLocation {
    std::uint32_t page = 0;
    std::uint8_t row = 0;
};

struct IndexEntries {
    std::vector<IndexEntry> entries;  // in index order
    std::uint32_t distinctKeys = 0;
};

// `locations[r]` is where row r of `table` is stored. Rows whose indexed values are all Null are
// left out of an index that ignores Nulls. Throws JetError: Unsupported for text without a key
// encoding (naming table, column, row and character), InvalidArgument for a Null in a required
// index or two equal keys without Null in a unique one.
IndexEntries buildIndexEntries(const TableContent& table, const RealIndexDescriptor& index,
                               const std::string& indexName,
                               std::span<const RowLocation> locations);

}  // namespace norvessa::jet
