#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace norvessa::dataset {

// The lookup table's 23 columns in table order; the file's header line must list exactly these.
inline constexpr std::size_t kColumnCount = 23;
inline constexpr std::array<std::string_view, kColumnCount> kColumnNames = {
    "id",     "FLASH型号", "品牌",     "容量",     "类型", "位宽",   "片选", "ID号",
    "IC制程", "ECC纠错",   "工作电压", "芯片版本", "备注", "慧荣",   "群联", "联阳",
    "安国",   "擎泰",      "鑫创",     "银灿",     "芯邦", "迈科微", "我想"};

// Field ordinals, named where code reads one field on its own.
namespace column {
inline constexpr std::size_t kId = 0;
inline constexpr std::size_t kModel = 1;
inline constexpr std::size_t kMaker = 2;
inline constexpr std::size_t kCapacity = 3;
inline constexpr std::size_t kCellType = 4;
inline constexpr std::size_t kBusWidth = 5;
inline constexpr std::size_t kChipEnables = 6;
inline constexpr std::size_t kIdBytes = 7;
inline constexpr std::size_t kProcess = 8;
inline constexpr std::size_t kEcc = 9;
inline constexpr std::size_t kVoltage = 10;
inline constexpr std::size_t kGeneration = 11;
inline constexpr std::size_t kRemark = 12;
inline constexpr std::size_t kFirstController = 13;  // 慧荣 … 我想 are columns 13 to 22
}  // namespace column

// Text columns hold at most 50 characters, counted in UTF-16 code units.
inline constexpr std::size_t kMaxTextLength = 50;

struct FlashRecord {
    std::int32_t id = 0;
    // Every field as UTF-8 text exactly as stored, fields[0] being the id's digits. A missing
    // value is the empty text; nothing is trimmed.
    std::array<std::string, kColumnCount> fields;
    std::size_t line = 0;  // line of the file on which the record starts
};

// Reads the data set from CSV text: the header line, then one record per row. Throws
// DatasetError naming `source` and the line when the text is not CSV, a record has other than 23
// fields, a field is not UTF-8 or longer than kMaxTextLength, or an id is not a whole number from
// 1 to 2147483647 or repeats another. A UTF-8 byte order mark at the start is skipped.
std::vector<FlashRecord> parseFlashDataset(std::string_view text, std::string_view source);

// The same for a file; the errors name the file by its file name.
std::vector<FlashRecord> readFlashDataset(const std::filesystem::path& path);

}  // namespace norvessa::dataset
