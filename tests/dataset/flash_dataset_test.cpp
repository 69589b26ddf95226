#include "tools/dataset/flash_dataset.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "tools/dataset/dataset_error.h"

using norvessa::dataset::DatasetError;
using norvessa::dataset::kColumnCount;
using norvessa::dataset::kColumnNames;
using norvessa::dataset::parseFlashDataset;
using norvessa::dataset::readFlashDataset;
namespace column = norvessa::dataset::column;

namespace {

std::string headerLine() {
    std::string line;
    for (const auto name : kColumnNames) {
        line += line.empty() ? "" : ",";
        line += name;
    }
    return line + "\r\n";
}

// A record line with the given id and model; `extra` replaces the remark field as written.
std::string recordLine(const std::string& id, const std::string& model,
                       const std::string& remark = "") {
    std::string line = id + "," + model +
                       ",Samsung 三星,8GB,MLC-4K,8bit,4CE,EC D3 14 A5,51nm,"
                       "4b/512B,2.7-3.6V,第一代芯片," +
                       remark + ",SM325AC";
    for (std::size_t i = column::kFirstController + 1; i < kColumnCount; ++i) {
        line += ",";
    }
    return line + "\r\n";
}

std::string expectError(const std::string& text) {
    try {
        parseFlashDataset(text, "flash_data.csv");
    } catch (const DatasetError& error) {
        return error.what();
    }
    ADD_FAILURE() << "accepted: " << text;
    return {};
}

TEST(FlashDataset, RecordsCarryIdFieldsAndStartLine) {
    const auto records = parseFlashDataset("\xEF\xBB\xBF" + headerLine() +
                                               recordLine("57", "K9HCG08U5M", "\"two\r\nlines\"") +
                                               recordLine("3567", "MT29F64G08"),
                                           "flash_data.csv");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[0].id, 57);
    EXPECT_EQ(records[0].line, 2u);
    EXPECT_EQ(records[0].fields[column::kId], "57");
    EXPECT_EQ(records[0].fields[column::kModel], "K9HCG08U5M");
    EXPECT_EQ(records[0].fields[column::kRemark], "two\r\nlines");
    EXPECT_EQ(records[0].fields[column::kFirstController], "SM325AC");
    EXPECT_EQ(records[0].fields[kColumnCount - 1], "");
    EXPECT_EQ(records[1].id, 3567);
    EXPECT_EQ(records[1].line, 4u);
    EXPECT_TRUE(parseFlashDataset(headerLine(), "flash_data.csv").empty());
}

TEST(FlashDataset, BadRecordsAreRejectedNamingTheLine) {
    const std::string header = headerLine();
    const std::string good = recordLine("10", "K9GAG08U0M");
    std::string shortRecord = recordLine("11", "K9GAG08U0E");
    shortRecord.erase(shortRecord.size() - 3, 1);

    EXPECT_EQ(expectError(header + good + shortRecord),
              "flash_data.csv line 3: 22 fields, expected 23");
    EXPECT_EQ(expectError(header + good + "\r\n"), "flash_data.csv line 3: 1 field, expected 23");
    EXPECT_EQ(expectError(header + recordLine("12", "K9F1G08U0D", "\"a\r\nb\"") +
                          recordLine("12", "K9F2G08U0D")),
              "flash_data.csv line 4: id 12 already used on line 2");
    for (const std::string id : {"abc", "", "-5", "0", "007", "+7", " 7", "7 ", "2147483648"}) {
        EXPECT_EQ(
            expectError(header + recordLine(id, "K9GAG08U0M")),
            "flash_data.csv line 2: id \"" + id + "\" is not a whole number from 1 to 2147483647");
    }
    EXPECT_EQ(parseFlashDataset(header + recordLine("2147483647", "K9GAG08U0M"), "x")[0].id,
              2147483647);

    // The table holds 50 UTF-16 units per text column.
    std::string fifty;
    for (int i = 0; i < 50; ++i) {
        fifty += "芯";
    }
    EXPECT_NO_THROW(parseFlashDataset(header + recordLine("1", "M", fifty), "x"));
    EXPECT_EQ(expectError(header + recordLine("1", "M", fifty + "a")),
              "flash_data.csv line 2: column 备注 is 51 characters long, at most 50 fit");
    EXPECT_EQ(expectError(header + recordLine("1", "K9\xC0\xAF", "")),
              "flash_data.csv line 2: column FLASH型号 is not valid UTF-8");
}

TEST(FlashDataset, HeaderMustNameTheColumnsInOrder) {
    std::string swapped = headerLine();
    swapped.replace(swapped.find("容量"), std::string("容量").size(), "类型");
    EXPECT_EQ(expectError(swapped),
              "flash_data.csv line 1: header column 4 is \"类型\", expected \"容量\"");
    EXPECT_EQ(expectError("id,FLASH型号\r\n"),
              "flash_data.csv line 1: header has 2 columns, expected 23");
    EXPECT_EQ(expectError(""), "flash_data.csv: empty, expected a header line");
}

TEST(FlashDataset, ReadsFilesAndNamesTheFileInErrors) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("norvessa_dataset_" + std::to_string(std::random_device{}()));
    std::filesystem::create_directories(folder);
    const auto file = folder / "flash_data.csv";
    std::ofstream(file, std::ios::binary)
        << headerLine() << recordLine("10", "K9GAG08U0M") << recordLine("x", "K9GAG08U0E");
    try {
        readFlashDataset(file);
        ADD_FAILURE() << "bad id accepted";
    } catch (const DatasetError& error) {
        EXPECT_STREQ(error.what(),
                     "flash_data.csv line 3: id \"x\" is not a whole number from 1 to 2147483647");
    }
    std::filesystem::remove_all(folder);
    EXPECT_THROW(readFlashDataset(file), DatasetError);
}

}  // namespace
