#include "platform/jet/table_definition_page.h"

#include <algorithm>
#include <unordered_set>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/database_file.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

namespace t = layout::tdef;

std::u16string readName(ByteCursor& cursor, std::string_view what) {
    const std::uint16_t length = cursor.u16(what);
    return decodeText(cursor.bytes(length, what));
}

ColumnDescriptor readColumn(ByteCursor& all) {
    ByteCursor cursor = all.sub(all.position(), t::column::kSize, "column descriptor");
    namespace c = t::column;
    ColumnDescriptor column;
    column.type = cursor.u8(c::kType);
    column.magic = cursor.u32(c::kMagic);
    column.number = cursor.u16(c::kNumber);
    column.varIndex = cursor.u16(c::kVarIndex);
    column.numberAgain = cursor.u16(c::kNumberAgain);
    column.sortOrder = cursor.u16(c::kSortOrder);
    column.unknown13 = cursor.u8(c::kUnknown13);
    column.sortOrderVersion = cursor.u8(c::kSortOrderVersion);
    column.flags = cursor.u8(c::kFlags);
    column.extendedFlags = cursor.u8(c::kExtendedFlags);
    column.unknown17 = cursor.u32(c::kUnknown17);
    column.fixedOffset = cursor.u16(c::kFixedOffset);
    column.length = cursor.u16(c::kLength);
    return column;
}

RealIndexDescriptor readRealIndex(ByteCursor& all) {
    namespace r = t::real_index;
    ByteCursor cursor = all.sub(all.position(), r::kSize, "real index descriptor");
    RealIndexDescriptor index;
    cursor.seek(r::kColumns.offset);
    for (std::size_t slot = 0; slot < r::kMaxColumns; ++slot) {
        const std::uint16_t number = cursor.u16("index column");
        const std::uint8_t order = cursor.u8("index column order");
        if (number != r::kUnusedColumn) {
            index.columns.push_back({number, order == r::kColumnAscending});
        }
    }
    index.usageMap = cursor.u32(r::kUsageMap);
    index.rootPage = cursor.u32(r::kRootPage);
    index.flags = cursor.u8(r::kFlags);
    return index;
}

LogicalIndexEntry readLogicalIndex(ByteCursor& all) {
    namespace l = t::logical_index;
    ByteCursor cursor = all.sub(all.position(), l::kSize, "logical index entry");
    LogicalIndexEntry entry;
    entry.number = cursor.u32(l::kNumber);
    entry.realIndex = cursor.u32(l::kRealIndex);
    entry.relatedTableType = cursor.u8(l::kRelatedTableType);
    entry.relatedIndex = cursor.i32(l::kRelatedIndex);
    entry.relatedTable = cursor.u32(l::kRelatedTable);
    entry.cascadeUpdate = cursor.u8(l::kCascadeUpdate);
    entry.cascadeDelete = cursor.u8(l::kCascadeDelete);
    entry.kind = cursor.u8(l::kKind);
    return entry;
}

}  // namespace

std::vector<std::uint8_t> readTableDefinitionBuffer(const DatabaseFile& file,
                                                    std::uint32_t firstPage) {
    std::vector<std::uint8_t> buffer;
    std::unordered_set<std::uint32_t> visited;
    std::uint32_t page = firstPage;
    while (page != 0) {
        if (!visited.insert(page).second) {
            throwCorrupt(Location{"table definition", firstPage, std::nullopt},
                         "continuation pages loop back to page " + std::to_string(page));
        }
        const Page held =
            file.typedPage(page, layout::page_type::kTableDefinition, "table definition");
        const std::span<const std::uint8_t> bytes = held.bytes();
        buffer.insert(buffer.end(), bytes.begin() + (buffer.empty() ? 0 : t::kPageHeaderSize),
                      bytes.end());
        ByteCursor header(bytes, Location{"table definition", page, std::nullopt});
        page = header.u32(t::kNextPage);
    }
    return buffer;
}

TableDefinitionBlock decodeTableDefinition(std::span<const std::uint8_t> buffer,
                                           std::uint32_t page) {
    ByteCursor cursor(buffer, Location{"table definition", page, std::nullopt});
    TableDefinitionBlock block;
    block.rowCount = cursor.u32(t::kRowCount);
    block.autoNumberLast = cursor.i32(t::kAutoNumberLast);
    block.tableType = cursor.u8(t::kTableType);
    block.maxColumns = cursor.u16(t::kMaxColumns);
    block.variableColumns = cursor.u16(t::kVariableColumns);
    const std::uint16_t columnCount = cursor.u16(t::kColumnCount);
    const std::uint32_t logicalCount = cursor.u32(t::kLogicalIndexCount);
    const std::uint32_t realCount = cursor.u32(t::kRealIndexCount);
    block.ownedPagesMap = cursor.u32(t::kOwnedPagesMap);
    block.freePagesMap = cursor.u32(t::kFreePagesMap);
    cursor.check();

    // Every count is bounded by the buffer: a loop stops at the first read past its end.
    std::vector<std::uint32_t> uniqueEntries;
    cursor.seek(t::kHeaderBlockEnd);
    for (std::uint32_t i = 0; i < realCount && cursor.ok(); ++i) {
        auto entry = cursor.sub(cursor.position(), t::real_index_count::kSize, "index count");
        uniqueEntries.push_back(entry.u32(t::real_index_count::kUniqueEntries));
    }
    for (std::uint16_t i = 0; i < columnCount && cursor.ok(); ++i) {
        block.columns.push_back(readColumn(cursor));
    }
    for (auto& column : block.columns) {
        column.name = readName(cursor, "column name");
    }
    for (std::uint32_t i = 0; i < realCount && cursor.ok(); ++i) {
        block.realIndexes.push_back(readRealIndex(cursor));
        block.realIndexes.back().uniqueEntries = i < uniqueEntries.size() ? uniqueEntries[i] : 0;
    }
    for (std::uint32_t i = 0; i < logicalCount && cursor.ok(); ++i) {
        block.logicalIndexes.push_back(readLogicalIndex(cursor));
    }
    for (auto& index : block.logicalIndexes) {
        index.name = readName(cursor, "index name");
    }
    cursor.check();

    // The long-value maps are only shown, never needed to read rows: read what is there.
    namespace lv = t::long_value_maps;
    while (cursor.remaining() >= lv::kSize) {
        ByteCursor entry = cursor.sub(cursor.position(), lv::kSize, "long-value maps");
        const std::uint16_t number = entry.u16(lv::kColumnNumber);
        if (number == t::kTerminator) {
            break;
        }
        block.longValueMaps.push_back(
            {number, entry.u32(lv::kOwnedPagesMap), entry.u32(lv::kFreePagesMap)});
    }
    return block;
}

TableDefinition toTableDefinition(const TableDefinitionBlock& block, std::string name,
                                  std::uint32_t page) {
    const Location where{"table definition", page, std::nullopt};
    TableDefinition definition;
    definition.name = std::move(name);
    definition.definitionPage = page;
    definition.rowCount = block.rowCount;
    definition.autoNumberLast = block.autoNumberLast;
    for (const auto& stored : block.columns) {
        Column column;
        column.name = utf16ToUtf8(stored.name);
        column.type = static_cast<ColumnType>(stored.type);
        column.number = stored.number;
        column.varIndex = stored.varIndex;
        column.fixedOffset = stored.fixedOffset;
        column.length = stored.length;
        column.sortOrder = stored.sortOrder;
        column.fixedLength = stored.fixedLength();
        column.autoNumber = (stored.flags & t::column::kFlagAutoNumber) != 0;
        column.compressedUnicode =
            (stored.extendedFlags & t::column::kExtendedFlagCompressedUnicode) != 0;
        definition.columns.push_back(std::move(column));
    }
    std::stable_sort(definition.columns.begin(), definition.columns.end(),
                     [](const Column& a, const Column& b) { return a.number < b.number; });

    std::vector<const LogicalIndexEntry*> logical;
    for (const auto& entry : block.logicalIndexes) {
        logical.push_back(&entry);
    }
    std::stable_sort(logical.begin(), logical.end(),
                     [](const auto* a, const auto* b) { return a->number < b->number; });
    for (const auto* entry : logical) {
        if (entry->realIndex >= block.realIndexes.size()) {
            throwCorrupt(where, "index \"" + utf16ToUtf8(entry->name) + "\" refers to real index " +
                                    std::to_string(entry->realIndex) + " of " +
                                    std::to_string(block.realIndexes.size()));
        }
        const auto& real = block.realIndexes[entry->realIndex];
        for (const auto& indexColumn : real.columns) {
            const bool exists = std::any_of(
                definition.columns.begin(), definition.columns.end(),
                [&](const Column& column) { return column.number == indexColumn.columnNumber; });
            if (!exists) {
                throwCorrupt(where, "index \"" + utf16ToUtf8(entry->name) + "\" names column " +
                                        std::to_string(indexColumn.columnNumber) +
                                        ", which does not exist");
            }
        }
        Index index;
        index.name = utf16ToUtf8(entry->name);
        index.columns = real.columns;
        index.unique = (real.flags & t::real_index::kFlagUnique) != 0;
        index.primaryKey = entry->kind == t::logical_index::kKindPrimaryKey;
        definition.indexes.push_back(std::move(index));
    }
    return definition;
}

}  // namespace norvessa::jet
