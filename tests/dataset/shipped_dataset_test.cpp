// The shape and the named rows of the shipped data set, resources/flash_data.csv: the lookup's
// examples and tests rely on the named rows being there exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "shipped_dataset.h"
#include "support/row_57.h"

using norvessa::dataset::FlashRecord;
using norvessa::dataset::kColumnCount;
using norvessa::dataset::test::shippedRecords;
namespace column = norvessa::dataset::column;

namespace {

constexpr std::size_t kXinbang = 20;   // 芯邦
constexpr std::size_t kMaikewei = 21;  // 迈科微

std::vector<const FlashRecord*> rowsOf(const std::string& model) {
    std::vector<const FlashRecord*> rows;
    for (const auto& record : shippedRecords()) {
        if (record.fields[column::kModel] == model) {
            rows.push_back(&record);
        }
    }
    return rows;
}

std::size_t controllersNamed(const FlashRecord& record) {
    return static_cast<std::size_t>(
        std::count_if(record.fields.begin() + column::kFirstController, record.fields.end(),
                      [](const std::string& value) { return !value.empty(); }));
}

TEST(ShippedDataset, IdsAreUniqueAndCountUpFrom10) {
    const auto& records = shippedRecords();
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(records.front().id, 10);
    // The reader rejects a repeated id, so strictly rising ids are unique ones.
    EXPECT_TRUE(std::adjacent_find(records.begin(), records.end(),
                                   [](const auto& a, const auto& b) { return a.id >= b.id; }) ==
                records.end());
}

// A row names at most one chip per controller maker, so a model has as many rows as its most
// paired maker needs; the rows of one model repeat its detail fields.
TEST(ShippedDataset, RowsOfAModelShareTheirDetailsAndNameEachChipOnce) {
    std::map<std::string, std::vector<const FlashRecord*>> byModel;
    for (const auto& record : shippedRecords()) {
        byModel[record.fields[column::kModel]].push_back(&record);
    }
    for (const auto& [model, rows] : byModel) {
        if (model == "MT29F64G08") {
            continue;  // a named row with two ID variants
        }
        for (std::size_t maker = column::kFirstController; maker < kColumnCount; ++maker) {
            std::set<std::string> chips;
            for (const auto* row : rows) {
                EXPECT_TRUE(std::equal(row->fields.begin() + 1,
                                       row->fields.begin() + column::kFirstController,
                                       rows.front()->fields.begin() + 1))
                    << "line " << row->line;
                const std::string& chip = row->fields[maker];
                EXPECT_TRUE(chip.empty() || chips.insert(chip).second)
                    << model << " names " << chip << " twice, line " << row->line;
            }
        }
        const auto named = [](const FlashRecord* row) { return controllersNamed(*row) > 0; };
        // Rows beyond the first exist only to name further chips.
        EXPECT_TRUE(rows.size() == 1 || std::all_of(rows.begin(), rows.end(), named)) << model;
    }
}

// Values are written as their sources write them: nothing added around them, IDs in upper case.
TEST(ShippedDataset, ValuesCarryNothingTheSourcesDoNotWrite) {
    constexpr std::string_view kAround = " \r\n";
    for (const auto& record : shippedRecords()) {
        for (const std::string& value : record.fields) {
            EXPECT_TRUE(value.empty() || (kAround.find(value.front()) == std::string_view::npos &&
                                          kAround.find(value.back()) == std::string_view::npos))
                << "line " << record.line << ": \"" << value << "\"";
        }
        const std::string& ids = record.fields[column::kIdBytes];
        EXPECT_TRUE(
            std::none_of(ids.begin(), ids.end(), [](char c) { return c >= 'a' && c <= 'f'; }))
            << "line " << record.line;
    }
}

TEST(ShippedDataset, Row57IsK9HCG08U5MAndItsOnlyRow) {
    const auto rows = rowsOf("K9HCG08U5M");
    ASSERT_EQ(rows.size(), 1u);
    std::array<std::string, kColumnCount> expected;
    std::copy(norvessa::testing::kRow57.begin(), norvessa::testing::kRow57.end(), expected.begin());
    EXPECT_EQ(rows[0]->id, 57);
    EXPECT_EQ(rows[0]->fields, expected);
}

TEST(ShippedDataset, MultiRowModelsAreMatchedWhole) {
    const auto generic = rowsOf("MT29F64G08");
    ASSERT_EQ(generic.size(), 9u);
    EXPECT_EQ(generic.front()->id, 2991) << "named rows keep their ids";
    EXPECT_FALSE(rowsOf("MT29F64G08CBAAA").empty()) << "a model of its own";

    // The generic model comes in two variants that differ in ID号 only.
    std::set<std::string> ids;
    for (const auto* row : generic) {
        ids.insert(row->fields[column::kIdBytes]);
        auto details = row->fields;
        details[column::kIdBytes] = generic.front()->fields[column::kIdBytes];
        EXPECT_TRUE(std::equal(details.begin() + 1, details.begin() + column::kFirstController,
                               generic.front()->fields.begin() + 1))
            << "line " << row->line;
    }
    EXPECT_EQ(ids, (std::set<std::string>{"2C 88 24 4B", "2C 88 24 CB"}));
}

TEST(ShippedDataset, K9LEAG8ZUMMNamesOneChipsBankChipPerRow) {
    const auto rows = rowsOf("K9LEAG8ZUMM");
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows.front()->id, 914);
    std::vector<std::string> chipsBank;
    std::multiset<std::string> ameco;
    for (const auto* row : rows) {
        chipsBank.push_back(row->fields[kXinbang]);
        if (!row->fields[kMaikewei].empty()) {
            ameco.insert(row->fields[kMaikewei]);
        }
    }
    EXPECT_EQ(chipsBank, (std::vector<std::string>{"CBM2092", "CBM2093", "CBM2093P", "CBM2095",
                                                   "CBM2096", "CBM2096P"}));
    EXPECT_EQ(ameco, (std::multiset<std::string>{"6208T", "8219"}));
}

TEST(ShippedDataset, K9F1G08Q0MHasOneRowWithoutController) {
    const auto rows = rowsOf("K9F1G08Q0M");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0]->id, 175);
    EXPECT_EQ(controllersNamed(*rows[0]), 0u);
}

}  // namespace
