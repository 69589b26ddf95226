// Files damaged on purpose: cut at page boundaries, wrong page types, offsets beyond the page,
// loops in page chains, random bytes. Each gives a JetError naming what failed; none crashes,
// hangs or reads outside the file (the sanitizer build checks the last part).

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>

#include "platform/jet/catalog.h"
#include "platform/jet/data_page.h"
#include "platform/jet/database.h"
#include "platform/jet/database_file.h"
#include "platform/jet/errors.h"
#include "platform/jet/layout.h"
#include "platform/jet/long_value.h"
#include "platform/jet/stored_table.h"
#include "platform/jet/usage_map.h"
#include "platform/jet/writer.h"

namespace norvessa::jet {
namespace {

using Image = std::vector<std::uint8_t>;
constexpr std::size_t kPage = layout::kPageSize;

std::string repeated(std::string_view piece, std::size_t times) {
    std::string text;
    for (std::size_t i = 0; i < times; ++i) {
        text += piece;
    }
    return text;
}

// A small database with every kind of value the reader decodes: memos inline, on one long-value
// row and chained over several pages.
const Image& intactImage() {
    static const Image image = [] {
        NewTable table;
        table.name = "parts";
        table.columns = {{.name = "id", .type = ColumnType::Long, .autoNumber = true},
                         {.name = "model", .type = ColumnType::Text},
                         {.name = "maker", .type = ColumnType::Text, .compressedUnicode = false},
                         {.name = "note", .type = ColumnType::Memo},
                         {.name = "price", .type = ColumnType::Currency},
                         {.name = "made", .type = ColumnType::DateTime},
                         {.name = "checked", .type = ColumnType::Boolean},
                         {.name = "count", .type = ColumnType::Integer},
                         {.name = "size", .type = ColumnType::Double},
                         {.name = "ratio", .type = ColumnType::Single},
                         {.name = "tag", .type = ColumnType::Byte}};
        table.indexes = {
            {.name = "PrimaryKey", .columns = {"id"}, .unique = true, .primaryKey = true}};
        const std::string notes[] = {"short", repeated("长备注 ", 300), repeated("chained ", 700)};
        for (std::int32_t i = 1; i <= 24; ++i) {
            table.rows.push_back({i, "K9HCG08U5M" + std::to_string(i % 7), std::string("三星"),
                                  notes[static_cast<std::size_t>(i) % 3], Currency{i * 12345},
                                  DateTime{45293.5 + i}, i % 2 == 0, static_cast<std::int16_t>(-i),
                                  i * 0.25, static_cast<float>(i) / 8,
                                  i % 5 == 0 ? Value{} : Value{static_cast<std::uint8_t>(i)}});
        }
        NewDatabase database;
        database.password = "12345678";
        database.creationDate = 45293.127835648;
        database.tables.push_back(std::move(table));
        return writeDatabase(database);
    }();
    return image;
}

// Everything a reader can be asked, as one text: table names, then every value of every row.
std::string readEverything(const Image& image) {
    const Database database =
        Database::fromBytes(image, "12345678", "damaged.mdb", WrittenBy::ThisProgram);
    std::string all;
    for (const std::string& name : database.tableNames(true)) {
        const Table table = database.table(name);
        const TextKey key("K9HCG08U5M1");
        all += name + "\n";
        table.scan([&](const RowView& row) {
            for (std::size_t i = 0; i < table.definition().columns.size(); ++i) {
                all += toText(row.value(i)) + (row.textEquals(i, key) ? "=" : "|");
            }
            all += "\n";
            return ScanControl::Continue;
        });
    }
    return all;
}

// The outcome of reading a damaged image: its text, or the error.
struct Outcome {
    bool failed = false;
    ErrorKind kind = ErrorKind::Io;
    std::string text;
};

Outcome readDamaged(const Image& image) {
    try {
        return {false, ErrorKind::Io, readEverything(image)};
    } catch (const JetError& error) {
        return {true, error.kind(), error.what()};
    }
}

struct Places {
    std::uint32_t tableDefinition = 0;
    std::vector<std::uint32_t> dataPages;
    std::vector<std::uint32_t> longValuePages;
};

Places placesOf(const Image& image) {
    const auto file = DatabaseFile::fromBytes(image, "intact");
    ReadFindings findings(WrittenBy::ThisProgram, "intact");
    Places places;
    for (const CatalogEntry& entry : readCatalog(*file, findings)) {
        if (entry.name == "parts") {
            places.tableDefinition = entry.definitionPage();
        }
    }
    const StoredTable table = loadStoredTable(*file, places.tableDefinition, "parts");
    places.dataPages = readUsageMap(*file, table.ownedPagesMap, "parts");
    for (std::uint32_t page = 1; page < file->pageCount(); ++page) {
        const auto bytes = file->page(page, "page");
        std::uint32_t owner = 0;
        std::memcpy(&owner, bytes.data() + layout::data_page::kOwner.offset, 4);
        if (bytes[0] == layout::page_type::kData && owner == layout::data_page::kOwnerLongValue) {
            places.longValuePages.push_back(page);
        }
    }
    return places;
}

void put16(Image& image, std::size_t at, std::uint16_t value) {
    std::memcpy(&image[at], &value, 2);
}
void put32(Image& image, std::size_t at, std::uint32_t value) {
    std::memcpy(&image[at], &value, 4);
}

std::string errorOf(const Image& image) {
    const Outcome outcome = readDamaged(image);
    EXPECT_TRUE(outcome.failed) << "read without error";
    EXPECT_EQ(outcome.kind, ErrorKind::Corrupt) << (outcome.failed ? outcome.text : "");
    return outcome.text;
}

TEST(DamagedFiles, IntactImageReadsCompletely) {
    const Database database = Database::fromBytes(intactImage(), "12345678");
    std::vector<std::vector<Value>> rows;
    database.table("PARTS").scan([&](const RowView& row) {
        rows.emplace_back();
        for (std::size_t i = 0; i < 11; ++i) {
            rows.back().push_back(row.value(i));
        }
        return ScanControl::Continue;
    });
    ASSERT_EQ(rows.size(), 24U);
    EXPECT_EQ(rows[0],
              (std::vector<Value>{std::int32_t{1}, std::string("K9HCG08U5M1"), std::string("三星"),
                                  repeated("长备注 ", 300), Currency{12345}, DateTime{45294.5},
                                  false, std::int16_t{-1}, 0.25, 0.125f, std::uint8_t{1}}));
    EXPECT_EQ(std::get<std::string>(rows[1][3]), repeated("chained ", 700));
    EXPECT_EQ(rows[4][10], Value{});  // a Null byte
    EXPECT_EQ(rows[4][6], Value{false});

    const std::string all = readEverything(intactImage());
    EXPECT_NE(all.find(repeated("chained ", 700)), std::string::npos);
    EXPECT_NE(all.find(repeated("长备注 ", 300)), std::string::npos);
    EXPECT_NE(all.find("K9HCG08U5M1="), std::string::npos);
}

TEST(DamagedFiles, CutAtEveryPageBoundary) {
    const Image& intact = intactImage();
    const std::string expected = readEverything(intact);
    for (std::size_t pages = 0; pages < intact.size() / kPage; ++pages) {
        SCOPED_TRACE(pages);
        const Image cut(intact.begin(),
                        intact.begin() + static_cast<std::ptrdiff_t>(pages * kPage));
        const Outcome outcome = readDamaged(cut);
        if (!outcome.failed) {
            EXPECT_TRUE(outcome.text == expected);  // only unused pages were cut
            continue;
        }
        EXPECT_NE(outcome.text.find("damaged.mdb: "), std::string::npos) << outcome.text;
        if (pages == 0) {
            EXPECT_EQ(outcome.kind, ErrorKind::UnsupportedFormat) << outcome.text;
        } else {
            EXPECT_EQ(outcome.kind, ErrorKind::Corrupt) << outcome.text;
            EXPECT_NE(outcome.text.find("beyond the end of the file (" + std::to_string(pages) +
                                        " pages)"),
                      std::string::npos)
                << outcome.text;
        }
    }
}

TEST(DamagedFiles, WrongPageTypeOnEveryPage) {
    const Image& intact = intactImage();
    const std::string expected = readEverything(intact);
    for (std::size_t page = 1; page < intact.size() / kPage; ++page) {
        for (std::uint8_t type = 0; type <= 5; ++type) {
            Image damaged = intact;
            if (damaged[page * kPage] == type) {
                continue;
            }
            damaged[page * kPage] = type;
            const Outcome outcome = readDamaged(damaged);
            if (outcome.failed) {
                EXPECT_EQ(outcome.kind, ErrorKind::Corrupt) << outcome.text;
                EXPECT_NE(outcome.text.find("expected page type"), std::string::npos)
                    << outcome.text;
            } else {
                EXPECT_TRUE(outcome.text == expected);  // a page the reader does not visit
            }
        }
    }
    Image dataAsDefinition = intact;
    const std::uint32_t dataPage = placesOf(intact).dataPages.at(0);
    dataAsDefinition[dataPage * kPage] = layout::page_type::kTableDefinition;
    EXPECT_EQ(errorOf(dataAsDefinition), "damaged.mdb: data page " + std::to_string(dataPage) +
                                             ": expected page type 0x01, found 0x02");
}

TEST(DamagedFiles, RowOffsetsAndCountsOutsideThePage) {
    const Image& intact = intactImage();
    const std::uint32_t page = placesOf(intact).dataPages.at(0);
    const std::size_t base = page * kPage;

    Image beyond = intact;
    put16(beyond, base + layout::data_page::kSlotTable + 2 * 3, 0x1F40);
    EXPECT_EQ(errorOf(beyond), "damaged.mdb: data page " + std::to_string(page) +
                                   ": row 3 offset 0x1F40 beyond page end");

    Image crowded = intact;
    put16(crowded, base + layout::data_page::kRowCount.offset, 4000);
    EXPECT_NE(errorOf(crowded).find("does not fit the page's slot table"), std::string::npos);

    // Row 0's trailer: a variable column count far larger than the row.
    Image trailer = intact;
    const std::size_t rowStart = base + (intact[base + 14] | (intact[base + 15] & 0x1FU) << 8U);
    const std::size_t rowEnd = base + kPage;
    put16(trailer, rowEnd - 1 - 2, 0x7FFF);  // 8 columns: 1-byte null mask, count below it
    EXPECT_NE(errorOf(trailer).find("data page " + std::to_string(page) + " row 0"),
              std::string::npos);
    ASSERT_LT(rowStart, rowEnd);
}

// A live row whose slot flags were flipped to "deleted" or "moved" used to vanish without a
// word; a file grown or cut by part of a page was read as if whole.
TEST(DamagedFiles, LostRowsAndPartialPagesAreReportedAsDamage) {
    const Image& intact = intactImage();
    const std::size_t firstSlot =
        placesOf(intact).dataPages.at(0) * kPage + layout::data_page::kSlotTable;
    for (const std::uint16_t flags :
         {layout::data_page::kSlotDeleted, layout::data_page::kSlotMovedOrDeleted}) {
        Image damaged = intact;
        put16(damaged, firstSlot,
              static_cast<std::uint16_t>(intact[firstSlot] | intact[firstSlot + 1] << 8 | flags));
        EXPECT_NE(errorOf(damaged).find("the file is damaged: table \"parts\" has 23 rows, but "
                                        "its definition records 24"),
                  std::string::npos);
    }
    for (const std::size_t length : {intact.size() - 100, intact.size() + 100}) {
        Image damaged = intact;
        damaged.resize(length);
        EXPECT_NE(errorOf(damaged).find("is not a whole number of 4096-byte pages"),
                  std::string::npos);
    }
}

TEST(DamagedFiles, LoopsInPageChains) {
    const Image& intact = intactImage();
    const Places places = placesOf(intact);

    Image definitionLoop = intact;
    put32(definitionLoop, places.tableDefinition * kPage + layout::tdef::kNextPage.offset,
          places.tableDefinition);
    EXPECT_NE(
        errorOf(definitionLoop)
            .find("continuation pages loop back to page " + std::to_string(places.tableDefinition)),
        std::string::npos);

    // Every row of a memo chain points back to itself.
    ASSERT_FALSE(places.longValuePages.empty());
    Image chainLoop = intact;
    const auto isLongValuePage = [&](std::uint32_t page) {
        return std::find(places.longValuePages.begin(), places.longValuePages.end(), page) !=
               places.longValuePages.end();
    };
    for (const std::uint32_t page : places.longValuePages) {
        const DataPage longValues(
            std::span<const std::uint8_t>(intact).subspan(page * kPage, kPage), page);
        for (std::size_t row = 0; row < longValues.rowCount(); ++row) {
            const std::size_t at =
                page * kPage + (longValues.rawSlot(row) & layout::data_page::kSlotOffsetMask);
            std::uint32_t next = 0;
            std::memcpy(&next, &intact[at], 4);
            if (isLongValuePage(next >> 8)) {
                put32(chainLoop, at, page << 8 | static_cast<std::uint32_t>(row));
            }
        }
    }
    const std::string message = errorOf(chainLoop);
    EXPECT_TRUE(message.find("loops back") != std::string::npos ||
                message.find("chain ends") != std::string::npos)
        << message;
}

TEST(DamagedFiles, UsageMapListingPagesBeyondTheFile) {
    const Image& intact = intactImage();
    const auto file = DatabaseFile::fromBytes(intact, "intact");
    const StoredTable table = loadStoredTable(*file, placesOf(intact).tableDefinition, "parts");
    const std::uint32_t mapPage = table.ownedPagesMap >> 8;
    const DataPage maps(file->page(mapPage, "map"), mapPage);
    const std::size_t mapRow = mapPage * kPage + (maps.rawSlot(table.ownedPagesMap & 0xFF) &
                                                  layout::data_page::kSlotOffsetMask);
    Image damaged = intact;
    ASSERT_EQ(damaged[mapRow], layout::usage_map::kTypeInline);
    put32(damaged, mapRow + layout::usage_map::kStartPage.offset, 0x00FFFF00);
    EXPECT_NE(errorOf(damaged).find("beyond the end of the file"), std::string::npos);
}

std::uint32_t definitionPageOf(const Image& image, std::string_view name) {
    return Database::fromBytes(image, "12345678").table(name).definition().definitionPage;
}

// The error reading one table gives, or "" when it reads.
std::string tableError(const Image& image, std::string_view name) {
    try {
        const Database database =
            Database::fromBytes(image, "12345678", "damaged.mdb", WrittenBy::ThisProgram);
        database.table(name).scan([&](const RowView& row) {
            for (std::size_t i = 0; i < 11; ++i) {
                row.value(i);
            }
            return ScanControl::Continue;
        });
    } catch (const JetError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Corrupt);
        return error.what();
    }
    return "";
}

// A definition page copied or swapped in from another table used to read as that table: its
// columns, and no rows when that table was empty. Pages that record another table as their
// owner are damage, named with the pages.
TEST(DamagedFiles, PagesOfAnotherTableAreRefused) {
    const Image& intact = intactImage();
    const Places places = placesOf(intact);
    const std::uint32_t parts = places.tableDefinition;
    const std::uint32_t relationships = definitionPageOf(intact, "MSysRelationships");
    ASSERT_EQ(tableError(intact, "MSysRelationships"), "");

    Image swapped = intact;
    const auto pageStart = [&swapped](std::uint32_t page) {
        return swapped.begin() + static_cast<std::ptrdiff_t>(page * kPage);
    };
    std::swap_ranges(pageStart(parts), pageStart(parts + 1), pageStart(relationships));
    const std::string asEmpty = tableError(swapped, "parts");
    EXPECT_NE(asEmpty.find("damaged.mdb: table definition " + std::to_string(parts) +
                           ": the file is damaged: the definition is another table's"),
              std::string::npos)
        << asEmpty;
    EXPECT_NE(asEmpty.find("(table definition " + std::to_string(relationships) + ")"),
              std::string::npos)
        << asEmpty;
    const std::string asParts = tableError(swapped, "MSysRelationships");
    EXPECT_NE(asParts.find("(table definition " + std::to_string(parts) + ")"), std::string::npos)
        << asParts;

    Image foreignData = intact;
    const std::uint32_t dataPage = places.dataPages.back();
    put32(foreignData, dataPage * kPage + layout::data_page::kOwner.offset, relationships);
    EXPECT_EQ(tableError(foreignData, "parts"),
              "damaged.mdb: data page " + std::to_string(dataPage) +
                  ": the file is damaged: the page belongs to table definition " +
                  std::to_string(relationships) + ", not to the one being read (page " +
                  std::to_string(parts) + ")");

    Image tableRowsAsLongValues = intact;
    for (const std::uint32_t page : places.longValuePages) {
        put32(tableRowsAsLongValues, page * kPage + layout::data_page::kOwner.offset, parts);
    }
    EXPECT_NE(tableError(tableRowsAsLongValues, "parts")
                  .find(": the file is damaged: a long value points here, but the page is not a "
                        "long-value page (its owner is " +
                        std::to_string(parts) + ")"),
              std::string::npos);
}

TEST(DamagedFiles, RandomBytesNeverCrash) {
    const Image& intact = intactImage();
    std::mt19937 random(20240102);
    std::size_t failures = 0;
    for (int round = 0; round < 500; ++round) {
        Image damaged = intact;
        const int changes = 1 + static_cast<int>(random() % 8);
        for (int i = 0; i < changes; ++i) {
            damaged[kPage + random() % (damaged.size() - kPage)] =
                static_cast<std::uint8_t>(random());
        }
        const Outcome outcome = readDamaged(damaged);
        if (outcome.failed) {
            ++failures;
            EXPECT_NE(outcome.text.find("damaged.mdb: "), std::string::npos) << outcome.text;
        }
    }
    EXPECT_GT(failures, 0U);
}

}  // namespace
}  // namespace norvessa::jet
