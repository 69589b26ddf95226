// The database image the program carries, read back through our reader: the table, its schema,
// its indexes and password, and every row exactly as the data set gives it.

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "platform/jet/database.h"
#include "platform/jet/errors.h"
#include "resources/database_image.h"
#include "tools/dataset/flash_dataset.h"

namespace {

using norvessa::jet::ColumnType;
using norvessa::jet::Database;
using norvessa::jet::RowView;
using norvessa::jet::ScanControl;

const std::string kPassword = std::to_string(norvessa::resources::kDatabasePassword);

Database carriedDatabase() {
    return Database::fromBytes(norvessa::resources::loadDatabaseImage(), kPassword);
}

TEST(DatabaseImage, HoldsOneTableWithTheLookupSchemaAndPassword) {
    const Database database = carriedDatabase();
    EXPECT_EQ(database.header().jetVersion, 1);
    EXPECT_EQ(database.header().sortOrder, 2052);
    EXPECT_EQ(database.header().password, kPassword);
    EXPECT_EQ(database.tableNames(), std::vector<std::string>{"velthorn42"});
    EXPECT_EQ(std::to_string(norvessa::resources::kDatabasePassword).size(), 8U);

    const auto table = database.table("VELTHORN42");
    const auto& definition = table.definition();
    ASSERT_EQ(definition.columns.size(), norvessa::dataset::kColumnCount);
    for (std::size_t position = 0; position < definition.columns.size(); ++position) {
        const auto& column = definition.columns[position];
        EXPECT_EQ(column.name, norvessa::dataset::kColumnNames[position]);
        EXPECT_EQ(column.sortOrder, 2052) << column.name;
        if (position == 0) {
            EXPECT_EQ(column.type, ColumnType::Long);
            EXPECT_TRUE(column.autoNumber);
        } else {
            EXPECT_EQ(column.type, ColumnType::Text) << column.name;
            EXPECT_EQ(column.length, 100) << column.name;
            EXPECT_TRUE(column.compressedUnicode) << column.name;
        }
    }
    const auto records = norvessa::dataset::readFlashDataset(
        std::filesystem::path(NORVESSA_SOURCE_DIR) / "resources" / "flash_data.csv");
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(definition.rowCount, records.size());
    EXPECT_EQ(definition.autoNumberLast, records.back().id) << "the counter stands at the last id";

    // Index name → (indexed column, unique, primary key). The index named ID号 covers 位宽.
    std::set<std::tuple<std::string, std::string, bool, bool>> indexes;
    for (const auto& index : definition.indexes) {
        ASSERT_EQ(index.columns.size(), 1U) << index.name;
        indexes.emplace(index.name, definition.columns[index.columns[0].columnNumber].name,
                        index.unique, index.primaryKey);
    }
    const std::set<std::tuple<std::string, std::string, bool, bool>> expected = {
        {"PrimaryKey", "id", true, true},
        {"id", "id", false, false},
        {"ID号", "位宽", false, false},
        {"ID号1", "ID号", false, false}};
    EXPECT_EQ(indexes, expected);

    EXPECT_THROW(Database::fromBytes(norvessa::resources::loadDatabaseImage(), "12345678"),
                 norvessa::jet::JetError);
}

TEST(DatabaseImage, EveryRowEqualsTheDataSetInOrder) {
    const auto records = norvessa::dataset::readFlashDataset(
        std::filesystem::path(NORVESSA_SOURCE_DIR) / "resources" / "flash_data.csv");
    std::size_t row = 0;
    carriedDatabase().table("velthorn42").scan([&](const RowView& view) {
        if (row >= records.size()) {
            ADD_FAILURE() << "more rows than the data set";
            return ScanControl::Stop;
        }
        for (std::size_t field = 0; field < norvessa::dataset::kColumnCount; ++field) {
            const auto value = view.value(field);
            EXPECT_FALSE(norvessa::jet::isNull(value)) << "no cell is Null";
            EXPECT_EQ(norvessa::jet::toText(value), records[row].fields[field])
                << "id " << records[row].id << " field " << field;
        }
        ++row;
        return ScanControl::Continue;
    });
    EXPECT_EQ(row, records.size());
}

}  // namespace
