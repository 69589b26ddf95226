// A database file is read a block of pages at a time into a bounded cache. A file larger than
// the cache reads completely, and a file cut short while it is open gives a clear error.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "fixture_support.h"
#include "platform/jet/database.h"
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
