// Files other programs wrote hold facts that are not damage: row counts Access does not keep
// exact, global usage maps that mark pages past the file's end. Such files read whole, with
// the count reported as a warning; in a file this program wrote a count that differs still
// means lost rows.

#include <gtest/gtest.h>

#include <cstring>

#include "fixture_support.h"
#include "platform/jet/data_page.h"
#include "platform/jet/database.h"
#include "platform/jet/errors.h"
#include "platform/jet/layout.h"
#include "platform/jet/writer.h"

namespace norvessa::jet {
namespace {

using Image = std::vector<std::uint8_t>;
constexpr std::size_t kPage = layout::kPageSize;

Image partsImage() {
    NewTable table;
    table.name = "parts";
    table.columns = {{.name = "id", .type = ColumnType::Long, .autoNumber = true},
                     {.name = "model"}};
    table.indexes = {{.name = "PrimaryKey", .columns = {"id"}, .unique = true, .primaryKey = true}};
    for (std::int32_t id = 1; id <= 12; ++id) {
        table.rows.push_back({id, "K9HCG08U5M" + std::to_string(id)});
    }
    NewDatabase database;
    database.tables.push_back(std::move(table));
    return writeDatabase(database);
}

std::size_t rowsOf(const Database& database, std::string_view table) {
    std::size_t rows = 0;
    database.table(table).scan([&](const RowView&) {
        ++rows;
        return ScanControl::Continue;
    });
    return rows;
}

TEST(OtherWriters, ARecordedRowCountThatDiffersIsAWarningUnlessThisProgramWroteTheFile) {
    Image stale = partsImage();
    const std::uint32_t page =
        Database::fromBytes(stale, "").table("parts").definition().definitionPage;
    const std::uint32_t recorded = 0;
    std::memcpy(&stale[page * kPage + layout::tdef::kRowCount.offset], &recorded, 4);

    const Database elsewhere = Database::fromBytes(stale, "", "stale.mdb", WrittenBy::AnyProgram);
    EXPECT_TRUE(elsewhere.warnings().empty());
    EXPECT_EQ(rowsOf(elsewhere, "parts"), 12U);
    EXPECT_EQ(rowsOf(elsewhere, "PARTS"), 12U);
    EXPECT_EQ(elsewhere.warnings(),
              std::vector<std::string>{"stale.mdb: table \"parts\" holds 12 rows, but its "
                                       "definition records 0; all 12 rows are read"});

    const Database ours = Database::fromBytes(stale, "", "stale.mdb", WrittenBy::ThisProgram);
    try {
        rowsOf(ours, "parts");
        FAIL() << "a count that differs in our own file was read";
    } catch (const JetError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Corrupt);
        EXPECT_EQ(std::string(error.what()),
                  "stale.mdb: table definition " + std::to_string(page) +
                      ": the file is damaged: table \"parts\" has 12 rows, but its definition "
                      "records 0");
    }
}

// The global usage map is Access's record for allocating pages; no table needs the pages it
// marks, so it is not read, whatever it marks.
TEST(OtherWriters, PagesTheGlobalUsageMapMarksPastTheEndAreNotDamage) {
    Image marked = partsImage();
    const DataPage globalMap(std::span<const std::uint8_t>(marked).subspan(kPage, kPage), 1);
    const std::size_t row = kPage + (globalMap.rawSlot(0) & layout::data_page::kSlotOffsetMask);
    ASSERT_EQ(marked[row + layout::usage_map::kMapType.offset], layout::usage_map::kTypeInline);
    // A clear bit marks a page in use: every page the bitmap covers, past the end too.
    std::fill(marked.begin() + static_cast<std::ptrdiff_t>(row + layout::usage_map::kInlineBitmap),
              marked.begin() + static_cast<std::ptrdiff_t>(2 * kPage), 0);
    for (const WrittenBy writer : {WrittenBy::AnyProgram, WrittenBy::ThisProgram}) {
        const Database database = Database::fromBytes(marked, "", "marked.mdb", writer);
        EXPECT_EQ(rowsOf(database, "parts"), 12U);
        EXPECT_TRUE(database.warnings().empty());
    }

    // Access's own: a global map on map pages whose last entry, 0xFFFFFF80, names no page of
    // the file, and a system table holding more rows than it records.
    const auto copy = testing::TemporaryFile::copyOfFixture("testRefGlobalV2000.mdb");
    const Database access = Database::open(copy.path(), "");
    std::vector<std::size_t> rows;
    for (const std::string& table : access.tableNames(true)) {
        rows.push_back(rowsOf(access, table));
    }
    EXPECT_EQ(access.tableNames(),
              (std::vector<std::string>{"Table1", "Table2", "Table3", "Table4"}));
    EXPECT_EQ(rows, (std::vector<std::size_t>{22, 64, 0, 0, 4, 2, 0, 0, 0}));
    EXPECT_EQ(access.warnings(),
              std::vector<std::string>{"testRefGlobalV2000.mdb: table \"MSysACEs\" holds 64 rows, "
                                       "but its definition records 61; all 64 rows are read"});
}

}  // namespace
}  // namespace norvessa::jet
