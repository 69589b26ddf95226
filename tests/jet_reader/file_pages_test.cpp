// A database file is read a block of pages at a time into a bounded cache. A file larger than
// the cache reads completely, and a file cut short while it is open gives a clear error.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fixture_support.h"
#include "platform/jet/database.h"
#include "platform/jet/database_file.h"
#include "platform/jet/errors.h"
#include "platform/jet/writer.h"

namespace norvessa::jet {
namespace {

constexpr std::int32_t kRows = 45000;  // about 9 MiB: more than the page cache holds

const std::vector<std::uint8_t>& largeImage() {
    static const std::vector<std::uint8_t> image = [] {
        NewTable table;
        table.name = "parts";
        table.columns = {{.name = "id", .type = ColumnType::Long},
                         {.name = "model", .type = ColumnType::Text, .maxCharacters = 255},
                         {.name = "note", .type = ColumnType::Text, .maxCharacters = 255}};
        for (std::int32_t i = 0; i < kRows; ++i) {
            table.rows.push_back({i, "M" + std::to_string(i) + std::string(90, 'x'),
                                  std::string(100, static_cast<char>('a' + i % 26))});
        }
        NewDatabase database;
        database.tables.push_back(std::move(table));
        return writeDatabase(database);
    }();
    return image;
}

TEST(FilePages, AFileLargerThanTheCacheReadsEveryRowInOrder) {
    const auto file = testing::TemporaryFile::withBytes("large.mdb", largeImage());
    const Database database = Database::open(file.path(), "");
    std::int32_t expected = 0;
    bool inOrder = true;
    database.table("parts").scan([&](const RowView& row) {
        inOrder = inOrder && row.value(0) == Value{expected} &&
                  toText(row.value(2)) == std::string(100, static_cast<char>('a' + expected % 26));
        ++expected;
        return ScanControl::Continue;
    });
    EXPECT_EQ(expected, kRows);
    EXPECT_TRUE(inOrder);
}

// An index search reaches pages all over the file, one at a time; a short run in file order
// goes the same way. Each must be the file's page, and a page still held stays as it was read
// while many others are read after it.
TEST(FilePages, PagesReadOutOfOrderAreTheFilesPagesAndStayValidWhileHeld) {
    const auto file = testing::TemporaryFile::withBytes("large.mdb", largeImage());
    const auto pages = DatabaseFile::open(file.path());
    ASSERT_EQ(pages->header().databaseKey, 0U);
    const auto expected = [](std::uint32_t number) {
        const auto offset = [](std::uint32_t page) {
            return static_cast<std::ptrdiff_t>(page) * 4096;
        };
        return std::vector<std::uint8_t>(largeImage().begin() + offset(number),
                                         largeImage().begin() + offset(number + 1));
    };
    const Page held = pages->page(7, "page");
    std::uint32_t number = 1;
    for (int read = 0; read < 600; ++read) {
        // Mostly jumps, now and then the next page or two.
        number = read % 5 == 0 ? number + 1 : (number * 7919 + 13) % pages->pageCount();
        const Page page = pages->page(number, "page");
        ASSERT_EQ(std::vector<std::uint8_t>(page.bytes().begin(), page.bytes().end()),
                  expected(number))
            << "page " << number;
    }
    EXPECT_EQ(std::vector<std::uint8_t>(held.bytes().begin(), held.bytes().end()), expected(7));
}

TEST(FilePages, AFileCutShortWhileOpenGivesAClearError) {
    const auto file = testing::TemporaryFile::withBytes("large.mdb", largeImage());
    const Database database = Database::open(file.path(), "");
    const Table table = database.table("parts");
    std::filesystem::resize_file(file.path(), 64 * 4096);
    try {
        table.scan([](const RowView&) { return ScanControl::Continue; });
        FAIL() << "the scan read a file that was cut short";
    } catch (const JetError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Corrupt);
        EXPECT_NE(std::string(error.what()).find("large.mdb: "), std::string::npos);
        EXPECT_NE(std::string(error.what()).find("has become shorter since it was opened"),
                  std::string::npos)
            << error.what();
    }
}

}  // namespace
}  // namespace norvessa::jet
