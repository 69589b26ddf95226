#pragma once

// Table definitions (tdef, type 0x02): the header block, column descriptors and names, real
// and logical indexes and the long-value column maps, decoded from the logical buffer that
// joins a tdef's pages.

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/jet/layout.h"
#include "platform/jet/schema.h"

namespace norvessa::jet {

class DatabaseFile;

struct ColumnDescriptor {
    std::uint8_t type = 0;  // ColumnType value; others are kept for display
    std::uint32_t magic = 0;
    std::uint16_t number = 0;
    std::uint16_t varIndex = 0;
    std::uint16_t numberAgain = 0;
    std::uint16_t sortOrder = 0;  // text and memo; numeric: precision | scale << 8
    std::uint8_t unknown13 = 0;
    std::uint8_t sortOrderVersion = 0;
    std::uint8_t flags = 0;  // layout::tdef::column::kFlag*
    std::uint8_t extendedFlags = 0;
    std::uint32_t unknown17 = 0;
    std::uint16_t fixedOffset = 0;
    std::uint16_t length = 0;
    std::u16string name;

    bool fixedLength() const { return (flags & layout::tdef::column::kFlagFixedLength) != 0; }
};

struct RealIndexDescriptor {
    std::vector<IndexColumn> columns;
    std::uint32_t usageMap = 0;  // row pointer
    std::uint32_t rootPage = 0;
    std::uint8_t flags = 0;  // layout::tdef::real_index::kFlag*
    std::uint32_t uniqueEntries = 0;
};

struct LogicalIndexEntry {
    std::uint32_t number = 0;
    std::uint32_t realIndex = 0;
    std::uint8_t relatedTableType = 0;
    std::int32_t relatedIndex = layout::tdef::logical_index::kNoRelatedIndex;
    std::uint32_t relatedTable = 0;
    std::uint8_t cascadeUpdate = 0;
    std::uint8_t cascadeDelete = 0;
    std::uint8_t kind = layout::tdef::logical_index::kKindOther;
    std::u16string name;
};

struct LongValueColumnMaps {
    std::uint16_t columnNumber = 0;
    std::uint32_t ownedPagesMap = 0;  // row pointers
    std::uint32_t freePagesMap = 0;
};

struct TableDefinitionBlock {
    std::uint32_t rowCount = 0;
    std::int32_t autoNumberLast = 0;
    std::uint8_t tableType = layout::tdef::kTableTypeUser;
    std::uint16_t maxColumns = 0;
    std::uint16_t variableColumns = 0;
    std::uint32_t ownedPagesMap = 0;  // row pointers
    std::uint32_t freePagesMap = 0;
    std::vector<ColumnDescriptor> columns;  // as stored (Access does not sort them)
    std::vector<RealIndexDescriptor> realIndexes;
    std::vector<LogicalIndexEntry> logicalIndexes;
    std::vector<LongValueColumnMaps> longValueMaps;
};

// Joins the tdef starting at `firstPage` and its continuation pages into one buffer: the first
// page whole, then bytes 8.. of each continuation page. Throws JetError(Corrupt) for a wrong
// page type or a loop in the page chain.
std::vector<std::uint8_t> readTableDefinitionBuffer(const DatabaseFile& file,
                                                    std::uint32_t firstPage);

// Decodes the logical buffer. `page` names the tdef in error messages.
TableDefinitionBlock decodeTableDefinition(std::span<const std::uint8_t> buffer,
                                           std::uint32_t page);

// The schema view: columns sorted by column number, logical indexes with their real index's
// columns and flags. Throws JetError(Corrupt) when an index names a column that does not exist.
TableDefinition toTableDefinition(const TableDefinitionBlock& block, std::string name,
                                  std::uint32_t page);

}  // namespace norvessa::jet
