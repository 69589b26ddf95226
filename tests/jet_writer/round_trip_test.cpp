// What the writer writes, our reader reads back: values of every type, text in all its forms,
// one row to 100,000, the header, schema and catalog, the index trees and the usage maps.

#include <gtest/gtest.h>

#include <algorithm>
#include <cfloat>
#include <cstdint>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/data_page.h"
#include "platform/jet/database.h"
#include "platform/jet/database_file.h"
#include "platform/jet/errors.h"
#include "platform/jet/header_page.h"
#include "platform/jet/index_key.h"
#include "platform/jet/row_layout.h"
#include "platform/jet/table_definition_page.h"
#include "platform/jet/text_codec.h"
#include "platform/jet/usage_map.h"
#include "platform/jet/writer.h"
#include "tests/jet_writer/writer_test_support.h"

namespace norvessa::jet {
namespace {

using testing::databaseWith;
using testing::lookupShapedTable;
using testing::readRows;

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

Bytes patternBytes(std::size_t size) {
    Bytes bytes(size);
    for (std::size_t i = 0; i < size; ++i) {
        bytes[i] = static_cast<std::uint8_t>(i * 7 + 3);
    }
    return bytes;
}

TEST(WriterRoundTrip, EveryColumnTypeReadsBackAsWritten) {
    NewTable table;
    table.name = "types";
    table.columns = {{.name = "id", .type = ColumnType::Long, .autoNumber = true},
                     {.name = "flag", .type = ColumnType::Boolean},
                     {.name = "small", .type = ColumnType::Byte},
                     {.name = "count", .type = ColumnType::Integer},
                     {.name = "money", .type = ColumnType::Currency},
                     {.name = "ratio", .type = ColumnType::Single},
                     {.name = "measure", .type = ColumnType::Double},
                     {.name = "stamp", .type = ColumnType::DateTime},
                     {.name = "blob", .type = ColumnType::Binary, .maxBytes = 20},
                     {.name = "label", .type = ColumnType::Text, .maxCharacters = 255},
                     {.name = "note", .type = ColumnType::Memo},
                     {.name = "picture", .type = ColumnType::Ole}};
    table.indexes = {{.name = "PrimaryKey", .columns = {"id"}, .unique = true, .primaryKey = true},
                     {.name = "bySmall", .columns = {"small", "count"}}};
    table.rows = {
        {std::int32_t{1}, true, std::uint8_t{7}, std::int16_t{-300}, Currency{123456789}, 1.5f,
         3.25, DateTime{45293.127835648}, Bytes{1, 2, 3}, std::string("label"),
         std::string("a short memo, inline"), Bytes{9, 8, 7}},
        // Extremes; long memo and OLE values that need chains of long-value rows.
        {std::numeric_limits<std::int32_t>::max(), false, std::uint8_t{255},
         std::numeric_limits<std::int16_t>::min(),
         Currency{std::numeric_limits<std::int64_t>::min()}, -FLT_MAX, DBL_MAX,
         DateTime{2958465.999988426}, patternBytes(20), repeated("\xC3\xA9", 255),
         repeated("\xE4\xB8\x89 three ", 700), patternBytes(10000)},
        // Nulls everywhere they can be (a boolean has no Null: its bit is its value).
        {std::int32_t{-5}, false, Value{}, Value{}, Value{}, Value{}, Value{}, Value{}, Value{},
         Value{}, Value{}, Value{}},
        // Long values on either side of the inline limit, and one row of its own.
        {std::int32_t{0}, true, std::uint8_t{0}, std::int16_t{0}, Currency{0}, 0.0f, -0.5,
         DateTime{-1.5}, Bytes{}, std::string(), repeated("\xE4\xB8\x80", 32), patternBytes(65)},
        {std::int32_t{2}, true, std::uint8_t{1}, std::int16_t{1}, Currency{-1}, 1e-30f, 1e300,
         DateTime{0.0}, Bytes{0}, std::string(" "), std::string(2000, 'm'), patternBytes(4060)},
    };

    const Database database = Database::fromBytes(writeDatabase(databaseWith(table)), "12345678");
    EXPECT_EQ(readRows(database, "types"), table.rows);
    EXPECT_EQ(database.table("types").definition().autoNumberLast,
              std::numeric_limits<std::int32_t>::max());
}

TEST(WriterRoundTrip, TextKeepsZeroLengthAndNullApartAndEveryCharacter) {
    NewTable table = lookupShapedTable("texts", 4);
    const std::vector<std::string> values{
        "",                                       // zero-length text
        "EC D3 14 A5",                            // compressed
        "Samsung \xE4\xB8\x89\xE6\x98\x9F",       // mixed: stored plain
        "\xC4\x80\xE4\xB8\x80\xE2\x80\x80",       // U+0100 U+4E00 U+2000: zero low bytes
        "2.7-3.6V\r\n",                           // line break
        " \xE7\xAC\xAC\xE4\xBA\x8C\xE4\xBB\xA3",  // leading blank
        "\xEF\xBB\xBF"
        "starts like a marker",        // U+FEFF first
        std::string(50, 'W'),          // the column's limit
        repeated("\xE5\xAE\xBD", 50),  // the limit, in Chinese
        "quote \" comma , semicolon ;",
    };
    std::int32_t id = 1;
    for (const std::string& value : values) {
        table.rows.push_back({id++, std::string("key"), value, Value{}, value});
    }
    table.rows.push_back({id++, Value{}, Value{}, std::string(), Value{}});

    const Database database = Database::fromBytes(writeDatabase(databaseWith(table)), "12345678");
    const auto rows = readRows(database, "texts");
    EXPECT_EQ(rows, table.rows);
    ASSERT_FALSE(rows.empty());
    EXPECT_TRUE(isNull(rows.front()[3]));
    EXPECT_EQ(rows.front()[2], Value{std::string()});
}

// The id stored in the row at `page`/`row`: the lookup-shaped tables keep it at fixed offset 0.
std::int32_t idAt(const DatabaseFile& file, std::uint32_t page, std::uint8_t row) {
    const DataPage data(file.page(page, "data page"), page);
    const RowLayout layout(data.rowBytes(row), data.location(row), true);
    ByteCursor cursor(layout.fixed(0, 4), data.location(row));
    return cursor.i32("id");
}

class WriterRowCounts : public ::testing::TestWithParam<int> {};

TEST_P(WriterRowCounts, EveryRowReadsBackAndEveryIndexListsEveryRowInOrder) {
    const int count = GetParam();
    NewTable table = lookupShapedTable("many", 3);
    std::map<std::int32_t, std::string> modelOf;
    for (int i = 0; i < count; ++i) {
        const std::int32_t id = 10 + 3 * i;
        std::string model = "M" + std::to_string((i * 7919) % 1000) + "/" + std::to_string(i % 3);
        modelOf[id] = model;
        table.rows.push_back({id, model, std::string("\xE4\xB8\x89\xE6\x98\x9F"), std::string()});
    }

    const std::vector<std::uint8_t> image = writeDatabase(databaseWith(table));
    const Database database = Database::fromBytes(image, "12345678");
    EXPECT_EQ(readRows(database, "many"), table.rows);
    const Table stored = database.table("many");
    const TableDefinition& definition = stored.definition();
    EXPECT_EQ(definition.rowCount, static_cast<std::uint32_t>(count));
    EXPECT_EQ(definition.autoNumberLast, 10 + 3 * (count - 1));

    const auto file = DatabaseFile::fromBytes(image, "many.mdb");
    const TableDefinitionBlock block = decodeTableDefinition(
        readTableDefinitionBuffer(*file, definition.definitionPage), definition.definitionPage);
    const testing::PageSource source = [&](std::uint32_t number) {
        return file->page(number, "index page").bytes();
    };

    // The owned-pages map lists exactly the table's data pages; the free-pages map some of them.
    std::vector<std::uint32_t> dataPages;
    for (std::uint32_t page = 0; page < file->pageCount(); ++page) {
        const auto bytes = file->page(page, "page");
        if (bytes[0] == 0x01 && DataPage(bytes, page).header().owner == definition.definitionPage) {
            dataPages.push_back(page);
        }
    }
    EXPECT_EQ(readUsageMap(*file, block.ownedPagesMap, "owned pages"), dataPages);
    for (const std::uint32_t page : readUsageMap(*file, block.freePagesMap, "free pages")) {
        EXPECT_TRUE(std::binary_search(dataPages.begin(), dataPages.end(), page)) << page;
    }

    ASSERT_EQ(block.realIndexes.size(), 3U);
    for (std::size_t i = 0; i < block.realIndexes.size(); ++i) {
        SCOPED_TRACE("index " + std::to_string(i));
        const RealIndexDescriptor& index = block.realIndexes[i];
        const testing::IndexWalk walk =
            testing::walkIndex(source, index.rootPage, definition.definitionPage);
        ASSERT_EQ(walk.entries.size(), static_cast<std::size_t>(count));
        std::vector<std::uint32_t> pages = walk.pages;
        std::sort(pages.begin(), pages.end());
        EXPECT_EQ(readUsageMap(*file, index.usageMap, "index pages"), pages);

        std::size_t distinct = 0;
        for (std::size_t k = 0; k < walk.entries.size(); ++k) {
            const DecodedIndexEntry& entry = walk.entries[k];
            const std::int32_t id = idAt(*file, entry.dataPage, entry.dataRow);
            KeyBytes expected;
            if (index.columns[0].columnNumber == 0) {
                appendIntegerKeySegment(expected, ColumnType::Long, id);
            } else {
                appendTextKeySegment(expected, utf8ToUtf16(modelOf.at(id)));
            }
            ASSERT_EQ(entry.key, expected) << "entry " << k << " for id " << id;
            if (k == 0 || walk.entries[k - 1].key != entry.key) {
                ++distinct;
            }
        }
        EXPECT_EQ(index.uniqueEntries, distinct);
    }
}

INSTANTIATE_TEST_SUITE_P(OneToOneHundredThousand, WriterRowCounts,
                         ::testing::Values(1, 600, 100000));

TEST(WriterRoundTrip, LargeTablesListTheirPagesThroughUsageMapPages) {
    NewTable table = lookupShapedTable("wide", 3);
    for (std::int32_t id = 1; id <= 40000; ++id) {
        table.rows.push_back({id, std::string("K"), std::string(50, 'x'), std::string(50, 'y')});
    }
    const std::vector<std::uint8_t> image = writeDatabase(databaseWith(table));
    const auto file = DatabaseFile::fromBytes(image, "wide.mdb");
    const Database database = Database::fromBytes(image, "12345678");
    const std::uint32_t page = database.table("wide").definition().definitionPage;
    const TableDefinitionBlock block =
        decodeTableDefinition(readTableDefinitionBuffer(*file, page), page);

    // More than 512 data pages: the map row refers to a type-0x05 page instead.
    const std::uint32_t mapPage = block.ownedPagesMap >> 8;
    const DataPage maps(file->page(mapPage, "usage map page"), mapPage);
    EXPECT_EQ(maps.rowBytes(block.ownedPagesMap & 0xFF)[0], 0x01);
    const auto owned = readUsageMap(*file, block.ownedPagesMap, "owned pages");
    EXPECT_GT(owned.size(), 512U);
    EXPECT_EQ(readRows(database, "wide").size(), 40000U);

    // The global map on page 1: every page of the file in use, the rest of its window free.
    const DataPage global(file->page(1, "global map"), 1);
    const auto row = global.rowBytes(0);
    ASSERT_EQ(row[0], 0x00);
    const std::size_t bits = (row.size() - 5) * 8;
    ASSERT_GE(bits, file->pageCount());
    for (std::size_t p = 0; p < bits; ++p) {
        const bool free = (row[5 + p / 8] >> (p % 8) & 1) != 0;
        ASSERT_EQ(free, p >= file->pageCount()) << "page " << p;
    }
}

// The type byte of the usage map row at `rowPointer`: 0x00 inline, 0x01 map pages.
std::uint8_t usageMapType(const DatabaseFile& file, std::uint32_t rowPointer) {
    const DataPage page(file.page(rowPointer >> 8, "usage map page"), rowPointer >> 8);
    return page.rowBytes(rowPointer & 0xFF)[0];
}

TEST(WriterRoundTrip, AFileTooLargeForPageOneToMapKeepsEveryMapOnMapPages) {
    // Rows of over 2 KB take a data page each, so 32,800 rows carry the table past the first
    // map page's 32,736 pages and the file past the 32,032 pages page 1 can map inline; keys
    // of 255 characters give the index some 2,700 pages.
    constexpr std::int32_t kRows = 32800;
    NewTable table;
    table.name = "big";
    table.columns.push_back({.name = "id", .type = ColumnType::Long, .autoNumber = true});
    for (int i = 1; i <= 4; ++i) {
        table.columns.push_back({.name = "t" + std::to_string(i),
                                 .type = ColumnType::Text,
                                 .maxCharacters = 255,
                                 .compressedUnicode = false});
    }
    table.indexes = {{.name = "t1", .columns = {"t1"}}};
    for (std::int32_t id = 1; id <= kRows; ++id) {
        const std::string number = std::to_string(id);
        table.rows.push_back({id, std::string(255 - number.size(), 'k') + number,
                              std::string(255, 'a'), std::string(255, 'b'), std::string(255, 'c')});
    }
    std::vector<std::uint8_t> image = writeDatabase(databaseWith(table));
    const auto file = DatabaseFile::fromBytes(image, "big.mdb");
    const std::uint32_t pageCount = file->pageCount();

    // The global map refers to the file's last two pages; every page before the end is in use.
    const DataPage global(file->page(1, "global map"), 1);
    ASSERT_EQ(global.rowBytes(0)[0], 0x01);
    const auto freePages = decodeUsageMap(global.rowBytes(0), *file, global.location(0));
    ASSERT_FALSE(freePages.empty());
    EXPECT_EQ(freePages.front(), pageCount);
    EXPECT_EQ(freePages.size(), 2 * 32736 - pageCount);
    EXPECT_EQ(file->page(pageCount - 2, "map page")[0], 0x05);
    EXPECT_EQ(file->page(pageCount - 1, "map page")[0], 0x05);

    const Database database = Database::fromBytes(std::move(image), "12345678");
    const Table stored = database.table("big");
    const TableDefinition& definition = stored.definition();
    EXPECT_EQ(definition.rowCount, static_cast<std::uint32_t>(kRows));
    const TableDefinitionBlock block = decodeTableDefinition(
        readTableDefinitionBuffer(*file, definition.definitionPage), definition.definitionPage);

    // Owned and free pages (each page has room for more) span both of their map pages.
    std::vector<std::uint32_t> dataPages;
    for (std::uint32_t page = 0; page < pageCount; ++page) {
        const auto bytes = file->page(page, "page");
        if (bytes[0] == 0x01 && DataPage(bytes, page).header().owner == definition.definitionPage) {
            dataPages.push_back(page);
        }
    }
    ASSERT_EQ(dataPages.size(), static_cast<std::size_t>(kRows));
    EXPECT_GT(dataPages.back(), 32736U);
    EXPECT_EQ(usageMapType(*file, block.ownedPagesMap), 0x01);
    EXPECT_EQ(readUsageMap(*file, block.ownedPagesMap, "owned pages"), dataPages);
    EXPECT_EQ(usageMapType(*file, block.freePagesMap), 0x01);
    EXPECT_EQ(readUsageMap(*file, block.freePagesMap, "free pages"), dataPages);

    ASSERT_EQ(block.realIndexes.size(), 1U);
    const RealIndexDescriptor& index = block.realIndexes.front();
    const testing::IndexWalk walk = testing::walkIndex(
        [&](std::uint32_t number) { return file->page(number, "index page").bytes(); },
        index.rootPage, definition.definitionPage);
    EXPECT_EQ(walk.entries.size(), static_cast<std::size_t>(kRows));
    std::vector<std::uint32_t> indexPages = walk.pages;
    std::sort(indexPages.begin(), indexPages.end());
    EXPECT_GT(indexPages.size(), 512U);
    EXPECT_EQ(usageMapType(*file, index.usageMap), 0x01);
    EXPECT_EQ(readUsageMap(*file, index.usageMap, "index pages"), indexPages);

    EXPECT_EQ(readRows(database, "big"), table.rows);
}

TEST(WriterRoundTrip, HeaderSchemaAndCatalogReadBack) {
    NewTable table = lookupShapedTable("velthorn42", 2);
    table.columns[2].compressedUnicode = false;
    table.indexes.push_back({.name = "ID\xE5\x8F\xB7", .columns = {"t2"}});
    table.rows.push_back({std::int32_t{3567}, std::string("a"), std::string("b")});
    NewDatabase request = databaseWith(table);
    const std::vector<std::uint8_t> image = writeDatabase(request);
    EXPECT_EQ(image.size() % 4096, 0U);

    const Database database = Database::fromBytes(image, "12345678");
    EXPECT_EQ(database.header().password, std::optional<std::string>("12345678"));
    EXPECT_EQ(database.header().codePage, 936);
    EXPECT_EQ(database.header().sortOrder, 2052);
    EXPECT_DOUBLE_EQ(database.header().creationDate, testing::kCreationDate);
    try {
        Database::fromBytes(image, "12345679");
        ADD_FAILURE() << "a wrong password was accepted";
    } catch (const JetError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::WrongPassword);
    }

    EXPECT_EQ(database.tableNames(), std::vector<std::string>{"velthorn42"});
    EXPECT_EQ(
        database.tableNames(true),
        (std::vector<std::string>{"MSysObjects", "MSysACEs", "MSysQueries", "MSysRelationships",
                                  "MSysAccessObjects", "MSysAccessXML", "velthorn42"}));

    const Table stored = database.table("velthorn42");
    const TableDefinition& definition = stored.definition();
    ASSERT_EQ(definition.columns.size(), 3U);
    EXPECT_EQ(definition.columns[0].name, "id");
    EXPECT_EQ(definition.columns[0].type, ColumnType::Long);
    EXPECT_TRUE(definition.columns[0].autoNumber);
    EXPECT_TRUE(definition.columns[0].fixedLength);
    EXPECT_EQ(definition.columns[1].name, "t1");
    EXPECT_EQ(definition.columns[1].type, ColumnType::Text);
    EXPECT_EQ(definition.columns[1].length, 100);
    EXPECT_TRUE(definition.columns[1].compressedUnicode);
    EXPECT_FALSE(definition.columns[2].compressedUnicode);
    for (const Column& column : definition.columns) {
        EXPECT_EQ(column.sortOrder, 2052) << column.name;
    }
    ASSERT_EQ(definition.indexes.size(), 4U);
    EXPECT_EQ(definition.indexes[0].name, "PrimaryKey");
    EXPECT_TRUE(definition.indexes[0].primaryKey && definition.indexes[0].unique);
    EXPECT_EQ(definition.indexes[1].name, "id");
    EXPECT_FALSE(definition.indexes[1].unique || definition.indexes[1].primaryKey);
    EXPECT_EQ(definition.indexes[3].name, "ID\xE5\x8F\xB7");
    EXPECT_EQ(definition.indexes[3].columns.front().columnNumber, 2);

    // The catalog names the table by its definition page; Flags 0 marks it a user table.
    bool foundTables = false;
    bool foundTable = false;
    database.table("MSysObjects").scan([&](const RowView& row) {
        const std::string name = toText(row.value(2));
        if (name == "Tables") {
            foundTables = row.value(1) == Value{std::int32_t{0x0F000000}};
        }
        if (name == "velthorn42") {
            foundTable =
                row.value(0) == Value{static_cast<std::int32_t>(definition.definitionPage)} &&
                row.value(7) == Value{std::int32_t{0}} && !isNull(row.value(14));
        }
        return ScanControl::Continue;
    });
    EXPECT_TRUE(foundTables);
    EXPECT_TRUE(foundTable);
}

TEST(WriterRoundTrip, PasswordsOfEveryLengthAndNoneReadBack) {
    for (const std::string password :
         {"", "x", "12345678", "abcdefghij0123456789", "\xE4\xB8\xAD\xE6\x96\x87"}) {
        const std::vector<std::uint8_t> image =
            writeDatabase(databaseWith(lookupShapedTable("t", 1), password));
        const Database database = Database::fromBytes(image, password);
        EXPECT_EQ(database.header().password.value_or(""), password);

        if (password.empty()) {
            // Without a password the field holds the creation-date mask, not zeros: readers
            // that XOR it away find nothing.
            std::vector<std::uint8_t> header(image.begin(), image.begin() + 4096);
            toggleHeaderMask(header);
            const auto mask = passwordDateMask(testing::kCreationDate);
            for (std::size_t i = 0; i < 40; ++i) {
                ASSERT_EQ(header[0x42 + i], mask[i % 4]) << i;
            }
        }
    }
}

TEST(WriterRoundTrip, ATableTooWideForOneDefinitionPageReadsBack) {
    NewTable table;
    table.name = "wide";
    for (int i = 0; i < 255; ++i) {
        table.columns.push_back({.name = "column " + std::to_string(i) + std::string(50, '_'),
                                 .type = i % 2 == 0 ? ColumnType::Long : ColumnType::Text,
                                 .maxCharacters = 5});
    }
    for (int r = 0; r < 3; ++r) {
        std::vector<Value> row;
        for (int i = 0; i < 255; ++i) {
            row.push_back(i % 2 == 0 ? Value{std::int32_t{r * 1000 + i}}
                                     : Value{std::to_string(r)});
        }
        table.rows.push_back(std::move(row));
    }
    const Database database = Database::fromBytes(writeDatabase(databaseWith(table)), "12345678");
    EXPECT_EQ(database.table("wide").definition().columns.size(), 255U);
    EXPECT_EQ(readRows(database, "wide"), table.rows);
}

}  // namespace
}  // namespace norvessa::jet
