// Statistics and named rows of the shipped data set, resources/flash_data.csv: the lookup's
// examples and tests rely on these rows being there exactly.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "shipped_dataset.h"
#include "support/row_57.h"

using norvessa::dataset::FlashRecord;
using norvessa::dataset::kColumnCount;
using norvessa::dataset::test::shippedRecords;
namespace column = norvessa::dataset::column;

namespace {

constexpr std::size_t kQingtai = 17;    // 擎泰
constexpr std::size_t kXinchuang = 18;  // 鑫创
constexpr std::size_t kXinbang = 20;    // 芯邦
constexpr std::size_t kMaikewei = 21;   // 迈科微

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

std::map<std::string, std::size_t> rowsPerModel() {
    std::map<std::string, std::size_t> counts;
    for (const auto& record : shippedRecords()) {
        ++counts[record.fields[column::kModel]];
    }
    return counts;
}

TEST(ShippedDataset, RowsModelsAndRowsPerModel) {
    EXPECT_EQ(shippedRecords().size(), 3540u);
    const auto perModel = rowsPerModel();
    EXPECT_EQ(perModel.size(), 995u);

    std::map<std::size_t, std::size_t> modelsWithCount;
    for (const auto& [model, rows] : perModel) {
        EXPECT_GE(rows, 1u) << model;
        EXPECT_LE(rows, 9u) << model;
        ++modelsWithCount[rows];
    }
    // 6, 1 and 4 rows are the most common counts, in that order.
    std::vector<std::pair<std::size_t, std::size_t>> byFrequency;
    for (const auto& [rows, models] : modelsWithCount) {
        byFrequency.emplace_back(models, rows);
    }
    std::sort(byFrequency.rbegin(), byFrequency.rend());
    ASSERT_GE(byFrequency.size(), 4u);
    EXPECT_EQ(byFrequency[0].second, 6u);
    EXPECT_EQ(byFrequency[1].second, 1u);
    EXPECT_EQ(byFrequency[2].second, 4u);
    EXPECT_GT(byFrequency[2].first, byFrequency[3].first) << "4 rows shares third place";
}

TEST(ShippedDataset, IdsCountUpFrom10To3567WithGaps) {
    const auto& records = shippedRecords();
    EXPECT_EQ(records.front().id, 10);
    EXPECT_EQ(records.back().id, 3567);
    EXPECT_TRUE(std::is_sorted(records.begin(), records.end(),
                               [](const auto& a, const auto& b) { return a.id < b.id; }));
    // The reader already rejects a repeated id, so fewer rows than ids means gaps.
    EXPECT_LT(records.size(), static_cast<std::size_t>(3567 - 10 + 1));
}

TEST(ShippedDataset, ControllerColumns) {
    std::size_t rowsWithoutController = 0;
    std::size_t mostMakers = 0;
    for (const auto& record : shippedRecords()) {
        EXPECT_EQ(record.fields[kQingtai], "") << "line " << record.line;
        EXPECT_EQ(record.fields[kXinchuang], "") << "line " << record.line;
        const std::size_t makers = controllersNamed(record);
        if (makers == 0) {
            ++rowsWithoutController;
        }
        mostMakers = std::max(mostMakers, makers);
    }
    EXPECT_EQ(rowsWithoutController, 9u);
    EXPECT_GE(mostMakers, 2u);
    EXPECT_LE(mostMakers, 7u);
}

TEST(ShippedDataset, RemarksFilledInFourRows) {
    const auto& records = shippedRecords();
    EXPECT_EQ(std::count_if(records.begin(), records.end(),
                            [](const auto& r) { return !r.fields[column::kRemark].empty(); }),
              4);
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
    EXPECT_EQ(generic.size(), 9u);
    EXPECT_EQ(rowsOf("MT29F64G08CBAAA").size(), 7u);

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
    EXPECT_EQ(controllersNamed(*rows[0]), 0u);
}

// Values are stored as entered: line breaks around some controller and voltage values, a leading
// blank in some chip generations, a few lower-case IDs and "/" alternatives.
TEST(ShippedDataset, HandEnteredValuesAreKept) {
    std::size_t controllerBreaks = 0;
    std::size_t voltageBreaks = 0;
    std::size_t leadingBlanks = 0;
    std::size_t lowerCaseIds = 0;
    std::size_t alternativeIds = 0;
    const auto hasBreakAtAnEnd = [](const std::string& value) {
        return value.starts_with("\r\n") || value.ends_with("\r\n");
    };
    for (const auto& record : shippedRecords()) {
        controllerBreaks +=
            static_cast<std::size_t>(std::count_if(record.fields.begin() + column::kFirstController,
                                                   record.fields.end(), hasBreakAtAnEnd));
        if (hasBreakAtAnEnd(record.fields[column::kVoltage])) {
            ++voltageBreaks;
        }
        if (record.fields[column::kGeneration].starts_with(' ')) {
            ++leadingBlanks;
        }
        const std::string& ids = record.fields[column::kIdBytes];
        if (std::any_of(ids.begin(), ids.end(), [](char c) { return c >= 'a' && c <= 'f'; })) {
            ++lowerCaseIds;
        }
        if (ids.find('/') != std::string::npos) {
            ++alternativeIds;
        }
    }
    EXPECT_GT(controllerBreaks, 0u);
    EXPECT_GT(voltageBreaks, 0u);
    EXPECT_GT(leadingBlanks, 0u);
    EXPECT_GT(alternativeIds, 0u);
    EXPECT_GT(lowerCaseIds, 0u);
    EXPECT_LT(lowerCaseIds, shippedRecords().size() / 50) << "upper case in all but a few";
}

}  // namespace
