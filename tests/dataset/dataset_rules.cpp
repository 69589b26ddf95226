#include "dataset_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <map>
#include <optional>
#include <utility>

#include "flash/part_number.h"
#include "platform/text/utf8.h"

namespace norvessa::dataset::test {

namespace {

struct MakerName {
    std::string_view keyword;  // matched case-insensitively anywhere in 品牌
    std::string_view code;     // JEDEC maker code, the first ID byte
};

constexpr std::array<MakerName, 22> kMakerNames = {{
    {"samsung", "EC"},  {"三星", "EC"},    {"hynix", "AD"},    {"海力士", "AD"},  {"micron", "2C"},
    {"美光", "2C"},     {"镁光", "2C"},    {"toshiba", "98"},  {"东芝", "98"},    {"intel", "89"},
    {"英特尔", "89"},   {"sandisk", "45"}, {"闪迪", "45"},     {"numonyx", "20"}, {"意法", "20"},
    {"spansion", "01"}, {"飞索", "01"},    {"macronix", "C2"}, {"旺宏", "C2"},    {"winbond", "EF"},
    {"华邦", "EF"},     {"spectek", "B5"},
}};

std::string lowerAscii(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
        return static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    });
    return lower;
}

std::string upperAscii(std::string_view text) {
    std::string upper(text);
    std::transform(upper.begin(), upper.end(), upper.begin(), [](char c) {
        return static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    });
    return upper;
}

std::optional<std::string_view> makerCodeOf(std::string_view maker) {
    const std::string lower = lowerAscii(maker);
    for (const auto& name : kMakerNames) {
        if (lower.find(name.keyword) != std::string::npos) {
            return name.code;
        }
    }
    return std::nullopt;
}

bool isAsciiAlnum(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0;
}
bool isHexDigit(char c) {
    return std::isxdigit(static_cast<unsigned char>(c)) != 0;
}
bool isHexPair(std::string_view text) {
    return text.size() == 2 && isHexDigit(text[0]) && isHexDigit(text[1]);
}

bool isIndexKeyText(std::string_view text) {
    return std::all_of(text.begin(), text.end(),
                       [](char c) { return isAsciiAlnum(c) || c == ' ' || c == '/'; });
}

bool isModelText(std::string_view model) {
    return model.size() >= 4 && model.size() <= kMaxTextLength &&
           std::all_of(model.begin(), model.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
                      std::string_view("()-/_").find(c) != std::string_view::npos;
           });
}

// "EC D3 14 A5", "EC F1 80 15/10": 4 to 7 pairs, one blank apart, each maybe with "/" and a pair.
bool isIdBytesText(std::string_view text) {
    std::size_t pairs = 0;
    std::size_t position = 0;
    for (;;) {
        if (!isHexPair(text.substr(position, 2))) {
            return false;
        }
        position += 2;
        if (position < text.size() && text[position] == '/') {
            if (!isHexPair(text.substr(position + 1, 2))) {
                return false;
            }
            position += 3;
        }
        ++pairs;
        if (position == text.size()) {
            return pairs >= 4 && pairs <= 7;
        }
        if (text[position] != ' ') {
            return false;
        }
        ++position;
    }
}

// Control characters may appear only as the CR LF pair of a line break.
bool hasStrayControlCharacter(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            ++i;
            continue;
        }
        if (c < 0x20 || c == 0x7F) {
            return true;
        }
    }
    return false;
}

class RuleChecker {
  public:
    explicit RuleChecker(std::string_view source) : source_(source) {}

    void check(const FlashRecord& record) {
        checkMakerCode(record);
        checkSamsungClass(record);
        checkIndexedColumns(record);
        checkModel(record);
        checkValues(record);
        checkSameMakerPerModel(record);
    }

    std::vector<std::string> takeFindings() { return std::move(findings_); }

  private:
    void report(const FlashRecord& record, const std::string& text) {
        findings_.push_back(std::string(source_) + " line " + std::to_string(record.line) + ": " +
                            text);
    }

    void checkMakerCode(const FlashRecord& record) {
        const std::string& maker = record.fields[column::kMaker];
        const auto code = makerCodeOf(maker);
        if (!code) {
            report(record, "品牌 \"" + maker + "\" names no known flash maker");
            return;
        }
        // An empty value is a fact no source gives; only stated IDs must match the maker.
        const std::string firstByte = upperAscii(record.fields[column::kIdBytes].substr(0, 2));
        if (!firstByte.empty() && firstByte != *code) {
            report(record, "品牌 \"" + maker + "\" has maker code " + std::string(*code) +
                               ", but ID号 \"" + record.fields[column::kIdBytes] +
                               "\" begins with " + firstByte);
        }
    }

    // A Samsung part number's class letter gives its cell type (flash/part_number reads it); a
    // name of no Samsung form says nothing.
    void checkSamsungClass(const FlashRecord& record) {
        const std::string& model = record.fields[column::kModel];
        const flash::PartDecode read = flash::decodePartNumber(model);
        const std::string& cellType = record.fields[column::kCellType];
        if (read.maker != flash::Maker::Samsung || !read.bitsPerCell || cellType.empty()) {
            return;
        }
        constexpr std::array<std::string_view, 4> kCells = {"SLC", "MLC", "TLC", "QLC"};
        const auto cell = kCells[static_cast<std::size_t>(*read.bitsPerCell - 1)];
        if (!cellType.starts_with(cell)) {
            report(record, "K9 class letter " + std::string(1, model[2]) + " of \"" + model +
                               "\" means " + std::string(cell) + ", but 类型 is \"" + cellType +
                               "\"");
        }
    }

    void checkIndexedColumns(const FlashRecord& record) {
        for (const auto index : {column::kBusWidth, column::kIdBytes}) {
            if (!isIndexKeyText(record.fields[index])) {
                report(record, std::string(kColumnNames[index]) + " \"" + record.fields[index] +
                                   "\" holds a character other than letters, digits, blank "
                                   "and /");
            }
        }
        const std::string& idBytes = record.fields[column::kIdBytes];
        if (!idBytes.empty() && !isIdBytesText(idBytes)) {
            report(record, "ID号 \"" + record.fields[column::kIdBytes] +
                               "\" is not 4 to 7 hexadecimal byte pairs one blank apart");
        }
    }

    void checkModel(const FlashRecord& record) {
        const std::string& model = record.fields[column::kModel];
        if (!isModelText(model)) {
            report(record,
                   "model \"" + model + "\" is not 4 to 50 characters from A-Z, 0-9 and ( ) - / _");
        }
    }

    void checkValues(const FlashRecord& record) {
        for (std::size_t i = 0; i < kColumnCount; ++i) {
            const std::string& value = record.fields[i];
            const std::string name(kColumnNames[i]);
            if (text::utf16Length(value).value_or(0) > kMaxTextLength) {
                report(record, name + " \"" + value + "\" is longer than 50 characters");
            }
            if (hasStrayControlCharacter(value)) {
                report(record, name + " holds a control character other than a CR LF pair");
            }
        }
    }

    void checkSameMakerPerModel(const FlashRecord& record) {
        const auto [first, inserted] =
            makerOfModel_.emplace(record.fields[column::kModel], &record);
        const FlashRecord& firstRow = *first->second;
        if (!inserted && firstRow.fields[column::kMaker] != record.fields[column::kMaker]) {
            report(record, "品牌 \"" + record.fields[column::kMaker] + "\" differs from \"" +
                               firstRow.fields[column::kMaker] + "\" on line " +
                               std::to_string(firstRow.line) + " for the same model");
        }
    }

    std::string_view source_;
    std::vector<std::string> findings_;
    std::map<std::string, const FlashRecord*> makerOfModel_;
};

}  // namespace

std::vector<std::string> findRuleBreaches(const std::vector<FlashRecord>& records,
                                          std::string_view source) {
    RuleChecker checker(source);
    for (const auto& record : records) {
        checker.check(record);
    }
    return checker.takeFindings();
}

}  // namespace norvessa::dataset::test
