#include "platform/jet/table_definition_encode.h"

#include <algorithm>
#include <string>
#include <utility>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/errors.h"
#include "platform/jet/layout.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

namespace t = layout::tdef;

// Both cascade bytes of every logical index Access writes hold 0x04 (meaning unknown).
constexpr std::uint8_t kCascadeAsWritten = 0x04;

constexpr std::size_t kContinuationCapacity = layout::kPageSize - t::kPageHeaderSize;

void writeName(ByteWriter& out, std::u16string_view name) {
    const std::vector<std::uint8_t> bytes = encodeUcs2(name);
    out.u16(static_cast<std::uint16_t>(bytes.size()));
    out.bytes(bytes);
}

void writeColumn(ByteWriter& out, const ColumnDescriptor& column) {
    std::vector<std::uint8_t> bytes;
    ByteWriter field(bytes, Location{"new column descriptor", std::nullopt, std::nullopt},
                     t::column::kSize);
    namespace c = t::column;
    field.u8(c::kType, column.type);
    field.u32(c::kMagic, t::kMagicValue);
    field.u16(c::kNumber, column.number);
    field.u16(c::kVarIndex, column.varIndex);
    field.u16(c::kNumberAgain, column.number);
    field.u16(c::kSortOrder, column.sortOrder);
    field.u8(c::kUnknown13, 0);
    field.u8(c::kSortOrderVersion, column.sortOrderVersion);
    field.u8(c::kFlags, column.flags);
    field.u8(c::kExtendedFlags, column.extendedFlags);
    field.u32(c::kUnknown17, 0);
    field.u16(c::kFixedOffset, column.fixedOffset);
    field.u16(c::kLength, column.length);
    field.check();
    out.bytes(bytes);
}

void writeRealIndex(ByteWriter& out, const RealIndexDescriptor& index) {
    namespace r = t::real_index;
    if (index.columns.empty() || index.columns.size() > r::kMaxColumns) {
        throw JetError(ErrorKind::InvalidArgument, "an index needs 1 to 10 columns, not " +
                                                       std::to_string(index.columns.size()));
    }
    std::vector<std::uint8_t> bytes;
    ByteWriter field(bytes, Location{"new real index", std::nullopt, std::nullopt}, r::kSize);
    field.u32(r::kMagic, r::kMagicValue);
    for (std::size_t slot = 0; slot < r::kMaxColumns; ++slot) {
        if (slot < index.columns.size()) {
            field.u16(index.columns[slot].columnNumber);
            field.u8(index.columns[slot].ascending ? r::kColumnAscending : 0);
        } else {
            field.u16(r::kUnusedColumn);
            field.u8(0);
        }
    }
    field.u32(r::kUsageMap, index.usageMap);
    field.u32(r::kRootPage, index.rootPage);
    field.u32(r::kUnknown42, 0);
    field.u8(r::kFlags, index.flags);
    field.bytes(r::kUnknown47, {});
    field.check();
    out.bytes(bytes);
}

void writeLogicalIndex(ByteWriter& out, const LogicalIndexEntry& entry) {
    namespace l = t::logical_index;
    std::vector<std::uint8_t> bytes;
    ByteWriter field(bytes, Location{"new logical index", std::nullopt, std::nullopt}, l::kSize);
    field.u32(l::kMagic, t::kMagicValue);
    field.u32(l::kNumber, entry.number);
    field.u32(l::kRealIndex, entry.realIndex);
    field.u8(l::kRelatedTableType, entry.relatedTableType);
    field.i32(l::kRelatedIndex, entry.relatedIndex);
    field.u32(l::kRelatedTable, entry.relatedTable);
    field.u8(l::kCascadeUpdate, entry.cascadeUpdate);
    field.u8(l::kCascadeDelete, entry.cascadeDelete);
    field.u8(l::kKind, entry.kind);
    field.u32(l::kUnknown24, 0);
    field.check();
    out.bytes(bytes);
}

std::vector<std::uint8_t> encodeBuffer(const TableDefinitionBlock& block) {
    std::vector<std::uint8_t> buffer;
    ByteWriter out(buffer, Location{"new table definition", std::nullopt, std::nullopt});
    out.u8(layout::kPageType, layout::page_type::kTableDefinition);
    out.u8(layout::kPageMarkerField, layout::kPageMarker);
    // Free space, next page and length are filled in once the length is known.
    out.u32(t::kMagic, t::kMagicValue);
    out.u32(t::kRowCount, block.rowCount);
    out.i32(t::kAutoNumberLast, block.autoNumberLast);
    out.u8(t::kAutoNumberOn, t::kAutoNumberOnValue);
    out.bytes(t::kUnknown25, {});
    out.u8(t::kTableType, block.tableType);
    out.u16(t::kMaxColumns, block.maxColumns);
    out.u16(t::kVariableColumns, block.variableColumns);
    out.u16(t::kColumnCount, static_cast<std::uint16_t>(block.columns.size()));
    out.u32(t::kLogicalIndexCount, static_cast<std::uint32_t>(block.logicalIndexes.size()));
    out.u32(t::kRealIndexCount, static_cast<std::uint32_t>(block.realIndexes.size()));
    out.u32(t::kOwnedPagesMap, block.ownedPagesMap);
    out.u32(t::kFreePagesMap, block.freePagesMap);

    out.seek(t::kHeaderBlockEnd);
    for (const RealIndexDescriptor& index : block.realIndexes) {
        out.u32(0);
        out.u32(index.uniqueEntries);
        out.u32(0);
    }
    for (const ColumnDescriptor& column : block.columns) {
        writeColumn(out, column);
    }
    for (const ColumnDescriptor& column : block.columns) {
        writeName(out, column.name);
    }
    for (const RealIndexDescriptor& index : block.realIndexes) {
        writeRealIndex(out, index);
    }
    for (const LogicalIndexEntry& entry : block.logicalIndexes) {
        writeLogicalIndex(out, entry);
    }
    for (const LogicalIndexEntry& entry : block.logicalIndexes) {
        writeName(out, entry.name);
    }
    for (const LongValueColumnMaps& maps : block.longValueMaps) {
        out.u16(maps.columnNumber);
        out.u32(maps.ownedPagesMap);
        out.u32(maps.freePagesMap);
    }
    out.u16(t::kTerminator);
    out.u32(t::kLength, static_cast<std::uint32_t>(buffer.size()));
    out.check();
    return buffer;
}

std::size_t pagesFor(std::size_t length) {
    if (length <= layout::kPageSize) {
        return 1;
    }
    return 1 + (length - layout::kPageSize + kContinuationCapacity - 1) / kContinuationCapacity;
}

// Free bytes as Access records them: the unused bytes less the 8 of a page header.
std::uint16_t recordedFreeSpace(std::size_t used) {
    const std::size_t unused = layout::kPageSize - used;
    return static_cast<std::uint16_t>(unused > t::kPageHeaderSize ? unused - t::kPageHeaderSize
                                                                  : 0);
}

}  // namespace

void setColumns(TableDefinitionBlock& definition, std::span<const ColumnSpec> specs,
                std::uint16_t sortOrder) {
    definition.columns.clear();
    definition.longValueMaps.clear();
    definition.variableColumns = 0;
    std::uint16_t fixedOffset = 0;
    for (const ColumnSpec& described : specs) {
        ColumnDescriptor column;
        column.type = described.type;
        column.number = static_cast<std::uint16_t>(definition.columns.size());
        column.sortOrder = sortOrder;
        column.flags = described.flags;
        column.extendedFlags = described.extendedFlags;
        column.length = described.length;
        column.name = described.name;
        if (!column.fixedLength()) {
            column.varIndex = definition.variableColumns++;
        } else if (described.type != static_cast<std::uint8_t>(ColumnType::Boolean)) {
            column.fixedOffset = fixedOffset;
            fixedOffset = static_cast<std::uint16_t>(fixedOffset + described.length);
        }
        if (described.type == static_cast<std::uint8_t>(ColumnType::Memo) ||
            described.type == static_cast<std::uint8_t>(ColumnType::Ole)) {
            definition.longValueMaps.push_back({column.number, 0, 0});
        }
        definition.columns.push_back(std::move(column));
    }
    definition.maxColumns = static_cast<std::uint16_t>(specs.size());
}

void addIndex(TableDefinitionBlock& definition, std::u16string name,
              std::vector<IndexColumn> columns, std::uint8_t flags, bool primaryKey) {
    RealIndexDescriptor real;
    real.columns = std::move(columns);
    real.flags = flags;
    definition.realIndexes.push_back(std::move(real));

    LogicalIndexEntry logical;
    logical.number = static_cast<std::uint32_t>(definition.logicalIndexes.size());
    logical.realIndex = static_cast<std::uint32_t>(definition.realIndexes.size() - 1);
    logical.cascadeUpdate = kCascadeAsWritten;
    logical.cascadeDelete = kCascadeAsWritten;
    logical.kind = primaryKey ? t::logical_index::kKindPrimaryKey : t::logical_index::kKindOther;
    logical.name = std::move(name);
    definition.logicalIndexes.push_back(std::move(logical));
}

std::size_t tableDefinitionLength(const TableDefinitionBlock& block) {
    return encodeBuffer(block).size();
}

std::size_t tableDefinitionPageCount(const TableDefinitionBlock& block) {
    return pagesFor(tableDefinitionLength(block));
}

std::vector<std::vector<std::uint8_t>> encodeTableDefinition(
    const TableDefinitionBlock& block, std::span<const std::uint32_t> pageNumbers) {
    const std::vector<std::uint8_t> buffer = encodeBuffer(block);
    if (pageNumbers.size() != pagesFor(buffer.size())) {
        throw JetError(ErrorKind::InvalidArgument,
                       "a table definition of " + std::to_string(buffer.size()) + " bytes needs " +
                           std::to_string(pagesFor(buffer.size())) + " pages, not " +
                           std::to_string(pageNumbers.size()));
    }
    std::vector<std::vector<std::uint8_t>> pages;
    std::size_t taken = 0;
    for (std::size_t k = 0; k < pageNumbers.size(); ++k) {
        std::vector<std::uint8_t> page(layout::kPageSize, 0);
        ByteWriter out(page, Location{"new table definition", pageNumbers[k], std::nullopt},
                       layout::kPageSize);
        const std::size_t headerSize = k == 0 ? 0 : t::kPageHeaderSize;
        const std::size_t count = std::min(buffer.size() - taken, layout::kPageSize - headerSize);
        out.seek(headerSize);
        out.bytes(std::span(buffer).subspan(taken, count));
        taken += count;
        out.u8(layout::kPageType, layout::page_type::kTableDefinition);
        out.u8(layout::kPageMarkerField, layout::kPageMarker);
        out.u16(t::kFreeSpace, recordedFreeSpace(headerSize + count));
        out.u32(t::kNextPage, k + 1 < pageNumbers.size() ? pageNumbers[k + 1] : 0);
        out.check();
        pages.push_back(std::move(page));
    }
    return pages;
}

}  // namespace norvessa::jet
