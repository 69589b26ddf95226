#include "dataset_rules.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "shipped_dataset.h"

using norvessa::dataset::FlashRecord;
using norvessa::dataset::test::findRuleBreaches;
using norvessa::dataset::test::shippedRecords;
namespace column = norvessa::dataset::column;

namespace {

std::string joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\n";
    }
    return text;
}

TEST(DatasetRules, ShippedDataSetKeepsEveryRule) {
    const auto breaches = findRuleBreaches(shippedRecords(), "flash_data.csv");
    EXPECT_TRUE(breaches.empty()) << joined(breaches);
}

std::size_t indexOfId(const std::vector<FlashRecord>& records, std::int32_t id) {
    const auto found = std::find_if(records.begin(), records.end(),
                                    [id](const FlashRecord& r) { return r.id == id; });
    return static_cast<std::size_t>(found - records.begin());
}

// Each case edits one field of one shipped row the way a careless hand edit would; the check must
// report that row's CSV line and say what is wrong.
TEST(DatasetRules, BadEditsAreReportedWithTheirCsvLine) {
    struct Edit {
        std::int32_t id;
        std::size_t column;
        std::string value;
        std::string expected;  // part of the message
    };
    const auto& shipped = shippedRecords();
    const auto k9f1g08q0m = std::find_if(shipped.begin(), shipped.end(), [](const FlashRecord& r) {
                                return r.fields[column::kModel] == "K9F1G08Q0M";
                            })->id;
    const std::vector<Edit> edits = {
        {57, column::kMaker, "Hynix 海力士",
         "品牌 \"Hynix 海力士\" has maker code AD, but ID号 \"EC D3 14 A5\" begins with EC"},
        {57, column::kMaker, "Acme", "品牌 \"Acme\" names no known flash maker"},
        {57, column::kIdBytes, "2C D3 14 A5", "begins with 2C"},
        {57, column::kCellType, "SLC-4K",
         "K9 class letter H of \"K9HCG08U5M\" means MLC, but 类型 is \"SLC-4K\""},
        {k9f1g08q0m, column::kCellType, "TLC-2K", "means SLC, but 类型 is \"TLC-2K\""},
        {57, column::kBusWidth, "8-bit", "位宽 \"8-bit\" holds a character other than"},
        {57, column::kIdBytes, "EC,D3,14,A5", "ID号 \"EC,D3,14,A5\" holds a character other"},
        {57, column::kIdBytes, "EC D3 14", "is not 4 to 7 hexadecimal byte pairs"},
        {57, column::kIdBytes, "EC D3  14 A5", "is not 4 to 7 hexadecimal byte pairs"},
        {57, column::kIdBytes, "EC D3 14 A5/", "is not 4 to 7 hexadecimal byte pairs"},
        {57, column::kIdBytes, "EC D3 14 A5 00 00 00 00", "is not 4 to 7 hexadecimal byte pairs"},
        {57, column::kIdBytes, "EC DG 14 A5", "is not 4 to 7 hexadecimal byte pairs"},
        {57, column::kModel, "K9hCG08U5M", "model \"K9hCG08U5M\" is not 4 to 50 characters"},
        {57, column::kModel, "K9HCG08U5M ", "is not 4 to 50 characters"},
        {57, column::kModel, "K9H", "is not 4 to 50 characters"},
        {57, column::kRemark, std::string(51, 'x'), "is longer than 50 characters"},
        {57, column::kVoltage, "3.3V\n", "工作电压 holds a control character other than a CR LF"},
        {57, column::kFirstController, "SM325AC\t", "慧荣 holds a control character"},
    };
    for (const auto& edit : edits) {
        auto records = shipped;
        const std::size_t row = indexOfId(records, edit.id);
        ASSERT_LT(row, records.size()) << edit.id;
        records[row].fields[edit.column] = edit.value;

        const auto breaches = findRuleBreaches(records, "flash_data.csv");
        const std::string line = "flash_data.csv line " + std::to_string(records[row].line) + ": ";
        ASSERT_FALSE(breaches.empty()) << "edit not reported: " << edit.value;
        EXPECT_TRUE(std::any_of(breaches.begin(), breaches.end(),
                                [&](const std::string& b) {
                                    return b.starts_with(line) &&
                                           b.find(edit.expected) != std::string::npos;
                                }))
            << "expected \"" << line << "…" << edit.expected << "\" among:\n"
            << joined(breaches);
    }
}

TEST(DatasetRules, RowsOfOneModelNameOneMaker) {
    auto records = shippedRecords();
    const auto firstRow = std::find_if(records.begin(), records.end(), [](const FlashRecord& r) {
        return r.fields[column::kModel] == "K9LEAG8ZUMM";
    });
    ASSERT_NE(firstRow, records.end());
    auto& later = *(firstRow + 3);
    later.fields[column::kMaker] = "Samsung";
    const auto breaches = findRuleBreaches(records, "flash_data.csv");
    ASSERT_EQ(breaches.size(), 1u) << joined(breaches);
    EXPECT_EQ(breaches[0], "flash_data.csv line " + std::to_string(later.line) +
                               ": 品牌 \"Samsung\" differs from \"Samsung 三星\" on line " +
                               std::to_string(firstRow->line) + " for the same model");
}

}  // namespace
