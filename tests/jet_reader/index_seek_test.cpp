// Index searches on Access-written files: the B-tree reader walks every index to exactly the
// table's rows in key order and seeks to the first entry of every key, and a text search
// through an index finds exactly the rows a scan finds.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "fixture_support.h"
#include "platform/jet/catalog.h"
#include "platform/jet/database.h"
#include "platform/jet/database_file.h"
#include "platform/jet/index_cursor.h"
#include "platform/jet/stored_table.h"

namespace norvessa::jet {
namespace {

using testing::TemporaryFile;

TEST(IndexSeek, EveryIndexOfTheAccessFixturesWalksToItsRowsAndSeeksEveryKey) {
    std::size_t indexesWalked = 0;
    for (const char* name : {"indexTestV2000.mdb", "bigIndexTestV2000.mdb",
                             "compIndexTestV2000.mdb", testing::kUnlicensedChineseFixture}) {
        if (!std::filesystem::exists(testing::fixturePath(name))) {
            continue;  // the file without a stated licence, outside a full checkout
        }
        const TemporaryFile copy = TemporaryFile::copyOfFixture(name);
        const auto file = DatabaseFile::open(copy.path());
        ReadFindings findings(WrittenBy::AnyProgram, name);
        for (const CatalogEntry& entry : readCatalog(*file, findings)) {
            if (!entry.isTable()) {
                continue;
            }
            const StoredTable table =
                loadStoredTable(*file, entry.definitionPage(), entry.name, findings);
            for (const RealIndexDescriptor& index : table.realIndexes) {
                SCOPED_TRACE(std::string(name) + " " + entry.name + " index at page " +
                             std::to_string(index.rootPage));
                IndexCursor walk(*file, index.rootPage, entry.definitionPage());
                std::vector<KeyBytes> keys;
                for (bool at = walk.seek(KeyBytes{}); at; at = walk.next()) {
                    keys.emplace_back(walk.key().begin(), walk.key().end());
                    visitRowAt(*file, table, walk.dataPage(), walk.dataRow(),
                               [](const RowView&) { return ScanControl::Continue; });
                }
                EXPECT_EQ(keys.size(), table.definition.rowCount);
                EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
                IndexCursor seek(*file, index.rootPage, entry.definitionPage());
                for (std::size_t k = 0; k < keys.size(); ++k) {
                    if (k > 0 && keys[k] == keys[k - 1]) {
                        continue;
                    }
                    ASSERT_TRUE(seek.seek(keys[k]));
                    ASSERT_TRUE(std::ranges::equal(seek.key(), keys[k])) << "key " << k;
                }
                ++indexesWalked;
            }
        }
    }
    EXPECT_GT(indexesWalked, 20U);
}

// The sort-key values of rows a text search visits, sorted.
std::vector<std::string> foundValues(const Table& table, std::size_t position, TextMatch match,
                                     const std::string& text, bool throughIndex) {
    std::vector<std::string> found;
    const auto collect = [&](const RowView& row) {
        found.push_back(toText(row.value(0)));
        return ScanControl::Continue;
    };
    if (throughIndex) {
        table.findText(position, match, text, collect);
    } else {
        const TextKey key(text);
        table.scan([&](const RowView& row) {
            return row.textMatches(position, key, match) ? collect(row) : ScanControl::Continue;
        });
    }
    std::sort(found.begin(), found.end());
    return found;
}

// sys_db_fields.db_table: a text column under sort order 2052 with an index of a node page
// and two leaves, as Access wrote it; most of its 1703 values are Null.
TEST(IndexSeek, TextSearchesThroughAnAccessIndexFindWhatAScanFinds) {
    NORVESSA_REQUIRE_UNLICENSED_FIXTURE(testing::kUnlicensedChineseFixture);
    const TemporaryFile copy = TemporaryFile::copyOfFixture(testing::kUnlicensedChineseFixture);
    const Database database = Database::open(copy.path(), "");
    const Table table = database.table("sys_db_fields");
    constexpr std::size_t kDbTable = 6;
    std::set<std::string> values;
    table.scan([&](const RowView& row) {
        const Value value = row.value(kDbTable);
        if (const auto* text = std::get_if<std::string>(&value)) {
            values.insert(*text);
        }
        return ScanControl::Continue;
    });
    ASSERT_GE(values.size(), 6U);
    std::size_t matched = 0;
    for (const std::string& value : values) {
        std::string upper = value;
        std::transform(upper.begin(), upper.end(), upper.begin(),
                       [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
        for (const std::string& text :
             {value, upper + "  ", value.substr(0, 1), value.substr(0, 3), value + "x"}) {
            SCOPED_TRACE(text);
            ASSERT_TRUE(table.seeksText(kDbTable, text));
            for (const TextMatch match : {TextMatch::Equals, TextMatch::StartsWith}) {
                const auto seek = foundValues(table, kDbTable, match, text, true);
                EXPECT_EQ(seek, foundValues(table, kDbTable, match, text, false));
                matched += seek.size();
            }
        }
    }
    EXPECT_GT(matched, 100U);
    EXPECT_FALSE(table.seeksText(kDbTable, "产品"));  // no key code: the search scans
    EXPECT_EQ(foundValues(table, kDbTable, TextMatch::Equals, "产品", true),
              foundValues(table, kDbTable, TextMatch::Equals, "产品", false));
}

}  // namespace
}  // namespace norvessa::jet
