#include "platform/jet/stored_table.h"

#include <algorithm>
#include <utility>

#include "platform/jet/data_page.h"
#include "platform/jet/row_layout.h"
#include "platform/jet/stored_row.h"
#include "platform/jet/table_definition_page.h"
#include "platform/jet/usage_map.h"

namespace norvessa::jet {
namespace {

void checkOwner(const DataPage& page, std::uint32_t definitionPage) {
    if (page.header().owner != definitionPage) {
        throwCorrupt(Location{"data page", page.pageNumber(), std::nullopt},
                     "belongs to table definition " + std::to_string(page.header().owner) +
                         ", not to the scanned table's (page " + std::to_string(definitionPage) +
                         ")");
    }
}

// The page and row of the moved row an overflow pointer row leads to.
std::pair<DataPage, std::uint32_t> followOverflow(const DatabaseFile& file,
                                                  const StoredTable& table, const DataPage& page,
                                                  std::size_t slot) {
    ByteCursor pointerRow(page.rowBytes(slot), page.location(slot));
    const std::uint32_t pointer = pointerRow.u32("overflow row pointer");
    pointerRow.check();
    const std::uint32_t targetPage = pointer >> layout::kRowPointerPageShift;
    const std::uint32_t targetRow = pointer & layout::kRowPointerRowMask;
    const DataPage target(file.page(targetPage, "data page"), targetPage);
    checkOwner(target, table.definition.definitionPage);
    if (targetRow >= target.rowCount()) {
        throwCorrupt(page.location(slot), "overflow pointer to page " + std::to_string(targetPage) +
                                              " row " + std::to_string(targetRow) +
                                              ", which does not exist");
    }
    const SlotState state = target.state(targetRow);
    if (state == SlotState::OverflowPointer || state == SlotState::Deleted) {
        throwCorrupt(page.location(slot), "overflow pointer to page " + std::to_string(targetPage) +
                                              " row " + std::to_string(targetRow) +
                                              ", which is not a stored row");
    }
    return {target, targetRow};
}

}  // namespace

StoredTable loadStoredTable(const DatabaseFile& file, std::uint32_t page, std::string name) {
    const auto buffer = readTableDefinitionBuffer(file, page);
    const TableDefinitionBlock block = decodeTableDefinition(buffer, page);
    StoredTable table;
    table.definition = toTableDefinition(block, std::move(name), page);
    table.ownedPagesMap = block.ownedPagesMap;
    table.realIndexes = block.realIndexes;
    table.hasVariableColumns =
        block.variableColumns > 0 ||
        std::any_of(table.definition.columns.begin(), table.definition.columns.end(),
                    [](const Column& column) { return !column.fixedLength; });
    for (const Column& column : table.definition.columns) {
        std::uint8_t scale = 0;
        if (column.type == ColumnType::Numeric) {
            const auto stored = std::find_if(block.columns.begin(), block.columns.end(),
                                             [&](const ColumnDescriptor& descriptor) {
                                                 return descriptor.number == column.number;
                                             });
            scale = static_cast<std::uint8_t>(stored->sortOrder >> 8);
        }
        table.numericScale.push_back(scale);
    }
    return table;
}

ScanControl visitRowAt(const DatabaseFile& file, const StoredTable& table, std::uint32_t page,
                       std::uint8_t row, const std::function<ScanControl(const RowView&)>& visit) {
    const DataPage data(file.page(page, "data page"), page);
    checkOwner(data, table.definition.definitionPage);
    if (row >= data.rowCount()) {
        throwCorrupt(data.location(row), "an index entry points to a row that does not exist (" +
                                             std::to_string(data.rowCount()) + " rows)");
    }
    const SlotState state = data.state(row);
    if (state == SlotState::Deleted) {
        throwCorrupt(data.location(row), "an index entry points to a deleted row");
    }
    if (state == SlotState::OverflowPointer) {
        const auto [target, targetRow] = followOverflow(file, table, data, row);
        const RowLayout layout(target.rowBytes(targetRow), target.location(targetRow),
                               table.hasVariableColumns);
        return visit(StoredRow(file, table, layout));
    }
    const RowLayout layout(data.rowBytes(row), data.location(row), table.hasVariableColumns);
    return visit(StoredRow(file, table, layout));
}

void scanStoredTable(const DatabaseFile& file, const StoredTable& table,
                     const std::function<ScanControl(const RowView&)>& visit) {
    // One handler for the whole scan: the rows' own decoding errors get the file name too.
    withFileName(file, [&] {
        const std::uint32_t definitionPage = table.definition.definitionPage;
        const auto pages = readUsageMap(file, table.ownedPagesMap, "table definition");
        // A page beyond the end is refused before any row is visited, so that a file cut short
        // never yields part of a table.
        if (!pages.empty() && pages.back() >= file.pageCount()) {
            throwCorrupt(Location{"table definition", definitionPage, std::nullopt},
                         "the file is damaged: the table's usage map lists page " +
                             std::to_string(pages.back()) +
                             ", which lies beyond the end of the file (" +
                             std::to_string(file.pageCount()) + " pages)");
        }
        std::uint32_t liveRows = 0;
        for (std::size_t index = 0; index < pages.size(); ++index) {
            if (index + 1 < pages.size()) {
                file.prefetch(pages[index + 1]);
            }
            const DataPage page(file.page(pages[index], "data page"), pages[index]);
            checkOwner(page, definitionPage);
            // A row ends where the slot before it begins (the first at the page end).
            std::size_t rowEnd = layout::kPageSize;
            for (std::size_t slot = 0; slot < page.rowCount(); ++slot) {
                const std::uint16_t raw = page.rawSlot(slot);
                const std::size_t rowStart = raw & layout::data_page::kSlotOffsetMask;
                const std::size_t end = std::exchange(rowEnd, rowStart);
                const SlotState state = slotState(raw);
                if (state == SlotState::Deleted || state == SlotState::OverflowTarget) {
                    continue;
                }
                if (state == SlotState::OverflowPointer) {
                    const auto [target, targetRow] = followOverflow(file, table, page, slot);
                    const RowLayout row(target.rowBytes(targetRow), target.location(targetRow),
                                        table.hasVariableColumns);
                    ++liveRows;
                    if (visit(StoredRow(file, table, row)) == ScanControl::Stop) {
                        return;
                    }
                    continue;
                }
                const RowLayout row(page.rowBytes(slot, rowStart, end), page.location(slot),
                                    table.hasVariableColumns);
                ++liveRows;
                if (visit(StoredRow(file, table, row)) == ScanControl::Stop) {
                    return;
                }
            }
        }
        // A flipped flag bit turns a live row into a deleted or moved one, which the scan
        // would skip without a trace; the definition's count tells.
        if (liveRows != table.definition.rowCount) {
            throwCorrupt(Location{"table definition", definitionPage, std::nullopt},
                         "the file is damaged: table \"" + table.definition.name + "\" has " +
                             std::to_string(liveRows) + " rows, but its definition records " +
                             std::to_string(table.definition.rowCount));
        }
    });
}

}  // namespace norvessa::jet
