#include "platform/jet/stored_table.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "platform/jet/column_checks.h"
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
                     "the file is damaged: the page belongs to table definition " +
                         std::to_string(page.header().owner) +
                         ", not to the one being read (page " + std::to_string(definitionPage) +
                         ")");
    }
}

// The table definition that page `number` records as its owner, when it is a data page of a
// table or an index page; none for other pages (long values, usage maps) and pages beyond
// the end, which the reads that need them report.
std::optional<std::uint32_t> recordedOwner(const DatabaseFile& file, std::uint32_t number) {
    if (number == 0 || number >= file.pageCount()) {
        return std::nullopt;
    }
    const Page page = file.page(number, "page");
    const std::uint8_t type = page[layout::kPageType.offset];
    ByteCursor cursor(page.bytes(), Location{"page", number, std::nullopt});
    const std::uint32_t owner = cursor.u32(layout::data_page::kOwner);
    cursor.check();
    if (type == layout::page_type::kData) {
        if (owner == layout::data_page::kOwnerLongValue ||
            owner == layout::data_page::kOwnerUsageMaps ||
            owner == layout::data_page::kOwnerGlobalMap) {
            return std::nullopt;
        }
        return owner;
    }
    if (type == layout::page_type::kIndexNode || type == layout::page_type::kIndexLeaf) {
        return owner;
    }
    return std::nullopt;
}

// A definition page that was copied or swapped reads as another table: that table's columns,
// and its usage map and index roots. The pages these lead to record their owner; when some
// do and none names `definitionPage`, the definition is not this table's. The index roots
// come first and the usage map is decoded only when they decide nothing, so that opening a
// healthy table reads one page more at most.
void checkDefinitionOwnsItsPages(const DatabaseFile& file, const TableDefinitionBlock& block,
                                 std::uint32_t definitionPage) {
    std::vector<std::pair<std::uint32_t, std::uint32_t>> foreign;  // page, recorded owner
    const auto ownedHere = [&](std::uint32_t page) {
        const std::optional<std::uint32_t> owner = recordedOwner(file, page);
        if (owner && *owner != definitionPage) {
            foreign.emplace_back(page, *owner);
        }
        return owner == definitionPage;
    };
    for (const RealIndexDescriptor& index : block.realIndexes) {
        if (ownedHere(index.rootPage)) {
            return;
        }
    }
    for (const std::uint32_t page : readUsageMap(file, block.ownedPagesMap, "table definition")) {
        if (ownedHere(page)) {
            return;
        }
    }
    if (foreign.empty()) {
        return;  // nothing records an owner: an empty table without indexes
    }
    std::string pages;
    for (std::size_t i = 0; i < foreign.size() && i < 4; ++i) {
        pages += (i == 0 ? "page " : ", page ") + std::to_string(foreign[i].first) +
                 " (table definition " + std::to_string(foreign[i].second) + ")";
    }
    if (foreign.size() > 4) {
        pages += " and " + std::to_string(foreign.size() - 4) + " more";
    }
    throwCorrupt(Location{"table definition", definitionPage, std::nullopt},
                 "the file is damaged: the definition is another table's (a copied or misplaced "
                 "page): the pages its usage map and indexes lead to all belong to other tables: " +
                     pages);
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

StoredTable loadStoredTable(const DatabaseFile& file, std::uint32_t page, std::string name,
                            ReadFindings& findings) {
    const auto buffer = readTableDefinitionBuffer(file, page);
    const TableDefinitionBlock block = decodeTableDefinition(buffer, page);
    checkDefinitionOwnsItsPages(file, block, page);
    findings.reportColumnDefects(name, page, checkColumns(block, findings.writer()));
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

void scanStoredTable(const DatabaseFile& file, const StoredTable& table, ReadFindings& findings,
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
        // would skip without a trace; the definition's count tells, where it is kept exact.
        findings.compareRowCount(table.definition.name, definitionPage, liveRows,
                                 table.definition.rowCount);
    });
}

}  // namespace norvessa::jet
