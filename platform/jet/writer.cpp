#include "platform/jet/writer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <string>
#include <utility>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/data_page_encode.h"
#include "platform/jet/errors.h"
#include "platform/jet/header_page.h"
#include "platform/jet/index_entries.h"
#include "platform/jet/index_pages.h"
#include "platform/jet/layout.h"
#include "platform/jet/long_value_encode.h"
#include "platform/jet/system_tables.h"
#include "platform/jet/table_content_encode.h"
#include "platform/jet/table_definition_encode.h"
#include "platform/jet/text_codec.h"
#include "platform/jet/usage_map_encode.h"

namespace norvessa::jet {
namespace {

namespace col = layout::tdef::column;
namespace dp = layout::data_page;

using Page = std::vector<std::uint8_t>;

// Runs `work`, prefixing the message of a JetError it throws with what `context()` returns
// (built only then).
template <class Context, class Work>
auto withContext(Context context, Work work) {
    try {
        return work();
    } catch (const JetError& error) {
        throw JetError(error.kind(), context() + ": " + error.what());
    }
}

std::uint32_t rowPointer(RowLocation location) {
    return location.page << layout::kRowPointerPageShift | location.row;
}

[[noreturn]] void invalid(const std::string& message) {
    throw JetError(ErrorKind::InvalidArgument, message);
}

// Places every page of the file: the header and global map, the table definitions, the usage-map
// pages, then per table its long values and data pages, then every index, then the map pages
// of usage maps too large to hold inline, and last those of the global map.
class ImageBuilder {
  public:
    explicit ImageBuilder(const NewDatabase& database) : database_(database) {}

    std::vector<std::uint8_t> build();

  private:
    // A usage map: its row on a map page and the pages it names.
    struct UsageMapRow {
        RowLocation location;
        std::vector<std::uint32_t> pages;
        // A free-space map lists those pages of its owned map with room for such a row.
        std::optional<std::size_t> ownedMap;
        std::size_t freeRowSize = 0;
    };

    struct Placement {
        std::vector<std::uint32_t> definitionPages;
        std::size_t ownedMap = 0;
        std::size_t freeMap = 0;
        std::vector<std::size_t> indexMaps;
        std::vector<std::pair<std::size_t, std::size_t>> longValueMaps;  // owned, free
        std::vector<RowLocation> rowLocations;
    };

    std::uint32_t reserve(std::size_t count) {
        const auto first = static_cast<std::uint32_t>(pages_.size());
        pages_.resize(pages_.size() + count);
        return first;
    }
    std::uint32_t place(Page page) {
        pages_.push_back(std::move(page));
        return static_cast<std::uint32_t>(pages_.size() - 1);
    }
    std::size_t addMap() {
        maps_.emplace_back();
        return maps_.size() - 1;
    }

    void collectTables();
    void reserveDefinitionsAndMaps();
    void placeLongValuesAndRows(std::size_t t);
    void placeIndexes(std::size_t t);
    std::vector<std::uint8_t> encodeMapRow(const UsageMapRow& map);
    void encodeMapPages();
    void encodeDefinitions();
    std::vector<std::uint8_t> assemble() const;

    const NewDatabase& database_;
    std::vector<TableContent> tables_;
    std::vector<Placement> placements_;
    std::vector<UsageMapRow> maps_;
    std::uint32_t firstMapPage_ = 0;
    std::size_t mapPageCount_ = 0;
    std::vector<Page> pages_;
};

void ImageBuilder::collectTables() {
    tables_ = systemTables(database_.sortOrder);
    for (const NewTable& table : database_.tables) {
        TableContent content = userTableContent(table, database_.sortOrder);
        for (const TableContent& earlier : tables_) {
            if (sameName(utf8ToUtf16(earlier.name), utf8ToUtf16(content.name))) {
                invalid("two tables are named \"" + table.name + "\"");
            }
        }
        tables_.push_back(std::move(content));
    }
    placements_.resize(tables_.size());
}

void ImageBuilder::reserveDefinitionsAndMaps() {
    for (std::size_t t = 0; t < tables_.size(); ++t) {
        const std::size_t count = tableDefinitionPageCount(tables_[t].definition);
        const std::uint32_t first = reserve(count);
        for (std::size_t k = 0; k < count; ++k) {
            placements_[t].definitionPages.push_back(first + static_cast<std::uint32_t>(k));
        }
    }

    // Every table's maps, in a fixed order: owned and free pages, one per index, then owned and
    // free pages of each long-value column.
    for (std::size_t t = 0; t < tables_.size(); ++t) {
        Placement& placement = placements_[t];
        placement.ownedMap = addMap();
        placement.freeMap = addMap();
        for (std::size_t i = 0; i < tables_[t].definition.realIndexes.size(); ++i) {
            placement.indexMaps.push_back(addMap());
        }
        for (std::size_t i = 0; i < tables_[t].definition.longValueMaps.size(); ++i) {
            const std::size_t owned = addMap();
            placement.longValueMaps.emplace_back(owned, addMap());
        }
    }
    // Both map kinds take a row of the same size, so where each row goes is known now.
    const std::size_t rowSize = layout::usage_map::kAccessRowSize;
    firstMapPage_ = static_cast<std::uint32_t>(pages_.size());
    DataPageBuilder sizing(dp::kOwnerUsageMaps);
    std::uint32_t page = firstMapPage_;
    for (UsageMapRow& map : maps_) {
        if (!sizing.fits(rowSize)) {
            sizing = DataPageBuilder(dp::kOwnerUsageMaps);
            ++page;
        }
        map.location = {page, sizing.add(std::vector<std::uint8_t>(rowSize))};
    }
    mapPageCount_ = page - firstMapPage_ + 1;
    reserve(mapPageCount_);
}

void ImageBuilder::placeLongValuesAndRows(std::size_t t) {
    TableContent& table = tables_[t];
    Placement& placement = placements_[t];
    const TableDefinitionBlock& definition = table.definition;
    const std::uint32_t owner = placement.definitionPages.front();
    const auto where = [&](std::size_t column, std::size_t row) {
        return "table " + table.name + ", column " + utf16ToUtf8(definition.columns[column].name) +
               ", row " + std::to_string(row + 1);
    };

    // Fields kept on long-value pages, column by column.
    std::vector<std::vector<FieldBytes>> fields(table.rows.size(),
                                                std::vector<FieldBytes>(definition.columns.size()));
    for (std::size_t m = 0; m < definition.longValueMaps.size(); ++m) {
        const std::uint16_t c = definition.longValueMaps[m].columnNumber;
        const ColumnDescriptor& column = definition.columns[c];
        std::vector<std::vector<std::uint8_t>> values;
        std::vector<std::size_t> rowsWithValues;
        for (std::size_t r = 0; r < table.rows.size(); ++r) {
            const Value& value = table.rows[r][c];
            if (isNull(value)) {
                continue;
            }
            if (column.type == static_cast<std::uint8_t>(ColumnType::Memo)) {
                const auto* text = std::get_if<std::string>(&value);
                if (text == nullptr) {
                    invalid(where(c, r) + ": a memo column holds text");
                }
                const bool compress =
                    (column.extendedFlags & col::kExtendedFlagCompressedUnicode) != 0;
                values.push_back(withContext(
                    [&] { return where(c, r); },
                    [&] { return encodeStoredText(checkedUtf16(*text, "text"), compress); }));
            } else {
                const auto* bytes = std::get_if<Bytes>(&value);
                if (bytes == nullptr) {
                    invalid(where(c, r) + ": an OLE column holds binary data");
                }
                values.push_back(*bytes);
            }
            rowsWithValues.push_back(r);
        }
        const auto columnName = [&] {
            return "table " + table.name + ", column " + utf16ToUtf8(column.name);
        };
        const PackedLongValues packed = withContext(columnName, [&] {
            return packLongValues(values, static_cast<std::uint32_t>(pages_.size()));
        });
        const auto [ownedMap, freeMap] = placement.longValueMaps[m];
        for (const Page& page : packed.pages) {
            maps_[ownedMap].pages.push_back(place(page));
        }
        // Values longer than inline ones are what goes to these pages.
        maps_[freeMap].ownedMap = ownedMap;
        maps_[freeMap].freeRowSize = layout::long_value::kMaxInlineLength + 1;
        for (std::size_t k = 0; k < rowsWithValues.size(); ++k) {
            fields[rowsWithValues[k]][c] = FieldBytes{true, packed.references[k]};
        }
    }

    std::vector<std::vector<std::uint8_t>> rows;
    rows.reserve(table.rows.size());
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        for (std::size_t c = 0; c < definition.columns.size(); ++c) {
            if (!isLongValueColumn(definition.columns[c])) {
                fields[r][c] = withContext(
                    [&] { return where(c, r); },
                    [&] { return encodeFieldValue(definition.columns[c], table.rows[r][c]); });
            }
        }
        const auto rowName = [&] {
            return "table " + table.name + ", row " + std::to_string(r + 1);
        };
        rows.push_back(withContext(rowName, [&] {
            return encodeRow(definition.columns, fields[r], definition.maxColumns);
        }));
    }
    const PackedRows packed = packRows(rows, owner);
    std::vector<std::uint32_t> numbers;
    for (const Page& page : packed.pages) {
        numbers.push_back(place(page));
    }
    for (const auto& [pageIndex, slot] : packed.locations) {
        placement.rowLocations.push_back({numbers[pageIndex], slot});
    }
    maps_[placement.ownedMap].pages = numbers;
    maps_[placement.freeMap].ownedMap = placement.ownedMap;
    // Inserts would go to pages with room for the smallest row: one with every value Null.
    std::vector<FieldBytes> nulls;
    for (const ColumnDescriptor& column : definition.columns) {
        nulls.push_back(encodeFieldValue(column, Value{}));
    }
    maps_[placement.freeMap].freeRowSize =
        encodeRow(definition.columns, nulls, definition.maxColumns).size();
}

void ImageBuilder::placeIndexes(std::size_t t) {
    TableContent& table = tables_[t];
    Placement& placement = placements_[t];
    TableDefinitionBlock& definition = table.definition;
    for (std::size_t i = 0; i < definition.realIndexes.size(); ++i) {
        RealIndexDescriptor& real = definition.realIndexes[i];
        std::string name;
        for (const LogicalIndexEntry& logical : definition.logicalIndexes) {
            if (logical.realIndex == i) {
                name = utf16ToUtf8(logical.name);
            }
        }
        IndexEntries build = buildIndexEntries(table, real, name, placement.rowLocations);
        real.uniqueEntries = build.distinctKeys;
        const IndexTree tree =
            withContext([&] { return "table " + table.name + ", index " + name; },
                        [&] { return IndexTree(std::move(build.entries)); });
        const auto first = static_cast<std::uint32_t>(pages_.size());
        real.rootPage = first;
        for (Page& page : tree.encode(first, placement.definitionPages.front())) {
            maps_[placement.indexMaps[i]].pages.push_back(place(std::move(page)));
        }
    }
}

std::vector<std::uint8_t> ImageBuilder::encodeMapRow(const UsageMapRow& map) {
    std::vector<std::uint32_t> pages = map.pages;
    if (map.ownedMap) {
        for (const std::uint32_t page : maps_[*map.ownedMap].pages) {
            ByteCursor cursor(pages_[page], Location{"new page", page, std::nullopt});
            const std::uint16_t freeSpace = cursor.u16(dp::kFreeSpace);
            const std::uint16_t rows = cursor.u16(dp::kRowCount);
            cursor.check();
            if (rows < dp::kMaxRowsPerPage && freeSpace >= map.freeRowSize + dp::kSlotSize) {
                pages.push_back(page);
            }
        }
    }
    if (fitsInlineUsageMap(pages)) {
        return encodeInlineUsageMap(pages);
    }
    std::vector<std::uint32_t> mapPages;
    for (const std::size_t slot : usageMapPageSlots(pages)) {
        mapPages.resize(slot + 1, 0);
        mapPages[slot] = place(encodeUsageMapPage(pages, slot));
    }
    return encodeReferenceUsageMap(mapPages);
}

void ImageBuilder::encodeMapPages() {
    std::vector<DataPageBuilder> builders(mapPageCount_, DataPageBuilder(dp::kOwnerUsageMaps));
    for (const UsageMapRow& map : maps_) {
        const std::vector<std::uint8_t> row = encodeMapRow(map);
        DataPageBuilder& builder = builders[map.location.page - firstMapPage_];
        if (row.size() != layout::usage_map::kAccessRowSize ||
            builder.add(row) != map.location.row) {
            throw JetError(ErrorKind::InvalidArgument, "usage map rows were not placed as planned");
        }
    }
    for (std::size_t k = 0; k < builders.size(); ++k) {
        pages_[firstMapPage_ + k] = builders[k].encode();
    }

    // Last: a global map too large for page 1 adds its own map pages to the end of the file.
    GlobalUsageMap globalMap = encodeGlobalUsageMap(pages_.size());
    for (Page& page : globalMap.mapPages) {
        place(std::move(page));
    }
    DataPageBuilder global(dp::kOwnerGlobalMap);
    global.add(globalMap.row);
    global.add(std::vector<std::uint8_t>(layout::usage_map::kAccessRowSize, 0));
    pages_[layout::catalog::kGlobalMapPage] = global.encode();
}

void ImageBuilder::encodeDefinitions() {
    for (std::size_t t = 0; t < tables_.size(); ++t) {
        TableDefinitionBlock& definition = tables_[t].definition;
        const Placement& placement = placements_[t];
        definition.rowCount = static_cast<std::uint32_t>(tables_[t].rows.size());
        definition.ownedPagesMap = rowPointer(maps_[placement.ownedMap].location);
        definition.freePagesMap = rowPointer(maps_[placement.freeMap].location);
        for (std::size_t i = 0; i < definition.realIndexes.size(); ++i) {
            definition.realIndexes[i].usageMap = rowPointer(maps_[placement.indexMaps[i]].location);
        }
        for (std::size_t m = 0; m < definition.longValueMaps.size(); ++m) {
            definition.longValueMaps[m].ownedPagesMap =
                rowPointer(maps_[placement.longValueMaps[m].first].location);
            definition.longValueMaps[m].freePagesMap =
                rowPointer(maps_[placement.longValueMaps[m].second].location);
        }
        std::vector<Page> encoded = encodeTableDefinition(definition, placement.definitionPages);
        for (std::size_t k = 0; k < encoded.size(); ++k) {
            pages_[placement.definitionPages[k]] = std::move(encoded[k]);
        }
    }
}

std::vector<std::uint8_t> ImageBuilder::assemble() const {
    std::vector<std::uint8_t> image;
    image.reserve(pages_.size() * layout::kPageSize);
    for (std::size_t number = 0; number < pages_.size(); ++number) {
        if (pages_[number].size() != layout::kPageSize) {
            throw JetError(ErrorKind::InvalidArgument,
                           "page " + std::to_string(number) + " was never written");
        }
        image.insert(image.end(), pages_[number].begin(), pages_[number].end());
    }
    return image;
}

std::vector<std::uint8_t> ImageBuilder::build() {
    if (!std::isfinite(database_.creationDate) || database_.creationDate < 0 ||
        database_.creationDate > std::numeric_limits<std::int32_t>::max()) {
        invalid("the creation date must be an OLE date on or after 1899-12-30");
    }
    HeaderPage header;
    header.codePage = database_.codePage;
    header.password = checkedUtf16(database_.password, "the database password");
    header.sortOrder = database_.sortOrder;
    header.creationDate = database_.creationDate;
    pages_.push_back(encodeHeaderPage(header));
    pages_.emplace_back();  // the global map, written once the file's length is known

    collectTables();
    reserveDefinitionsAndMaps();

    std::vector<CatalogTable> catalog;
    for (std::size_t t = 0; t < tables_.size(); ++t) {
        catalog.push_back({tables_[t].name, placements_[t].definitionPages.front(),
                           tables_[t].catalogFlags, tables_[t].properties});
    }
    tables_.front().rows = catalogRows(catalog, database_.creationDate);

    for (std::size_t t = 0; t < tables_.size(); ++t) {
        placeLongValuesAndRows(t);
    }
    for (std::size_t t = 0; t < tables_.size(); ++t) {
        placeIndexes(t);
    }
    encodeMapPages();
    encodeDefinitions();
    return assemble();
}

}  // namespace

std::vector<std::uint8_t> writeDatabase(const NewDatabase& database) {
    return ImageBuilder(database).build();
}

}  // namespace norvessa::jet
