#include "tools/dataset/flash_dataset.h"

#include <charconv>
#include <fstream>
#include <limits>
#include <unordered_map>
#include <utility>

#include "platform/text/utf8.h"
#include "tools/dataset/csv_reader.h"
#include "tools/dataset/dataset_error.h"

namespace norvessa::dataset {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

void checkHeader(const CsvRecord& header, std::string_view source) {
    if (header.fields.size() != kColumnCount) {
        throw errorAtLine(source, header.line,
                          "header has " + std::to_string(header.fields.size()) +
                              " columns, expected " + std::to_string(kColumnCount));
    }
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        if (header.fields[i] != kColumnNames[i]) {
            throw errorAtLine(source, header.line,
                              "header column " + std::to_string(i + 1) + " is \"" +
                                  header.fields[i] + "\", expected \"" +
                                  std::string(kColumnNames[i]) + "\"");
        }
    }
}

// Digits only: no sign, blank or leading zero, so every id has one spelling.
std::int32_t parseId(const std::string& text, std::string_view source, std::size_t line) {
    std::int32_t id = 0;
    const char* const end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, id);
    if (text.empty() || text[0] == '-' || text[0] == '0' || status != std::errc() || stop != end) {
        throw errorAtLine(source, line,
                          "id \"" + text + "\" is not a whole number from 1 to " +
                              std::to_string(std::numeric_limits<std::int32_t>::max()));
    }
    return id;
}

void checkTextFields(const CsvRecord& record, std::string_view source) {
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        const auto length = text::utf16Length(record.fields[i]);
        const std::string name(kColumnNames[i]);
        if (!length) {
            throw errorAtLine(source, record.line, "column " + name + " is not valid UTF-8");
        }
        if (*length > kMaxTextLength) {
            throw errorAtLine(source, record.line,
                              "column " + name + " is " + std::to_string(*length) +
                                  " characters long, at most " + std::to_string(kMaxTextLength) +
                                  " fit");
        }
    }
}

FlashRecord toFlashRecord(CsvRecord&& record, std::string_view source) {
    if (record.fields.size() != kColumnCount) {
        throw errorAtLine(source, record.line,
                          std::to_string(record.fields.size()) +
                              (record.fields.size() == 1 ? " field" : " fields") + ", expected " +
                              std::to_string(kColumnCount));
    }
    checkTextFields(record, source);
    FlashRecord flash;
    flash.id = parseId(record.fields[column::kId], source, record.line);
    flash.line = record.line;
    for (std::size_t i = 0; i < kColumnCount; ++i) {
        flash.fields[i] = std::move(record.fields[i]);
    }
    return flash;
}

}  // namespace

std::vector<FlashRecord> parseFlashDataset(std::string_view text, std::string_view source) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    auto csv = parseCsv(text, source);
    if (csv.empty()) {
        throw DatasetError(std::string(source) + ": empty, expected a header line");
    }
    checkHeader(csv.front(), source);

    std::vector<FlashRecord> records;
    records.reserve(csv.size() - 1);
    std::unordered_map<std::int32_t, std::size_t> lineOfId;
    for (std::size_t i = 1; i < csv.size(); ++i) {
        auto record = toFlashRecord(std::move(csv[i]), source);
        const auto [existing, inserted] = lineOfId.emplace(record.id, record.line);
        if (!inserted) {
            throw errorAtLine(source, record.line,
                              "id " + std::to_string(record.id) + " already used on line " +
                                  std::to_string(existing->second));
        }
        records.push_back(std::move(record));
    }
    return records;
}

std::vector<FlashRecord> readFlashDataset(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        throw DatasetError("cannot open " + path.string());
    }
    std::string text;
    char block[65536];
    while (stream.read(block, sizeof block) || stream.gcount() > 0) {
        text.append(block, static_cast<std::size_t>(stream.gcount()));
    }
    if (stream.bad()) {
        throw DatasetError("cannot read " + path.string());
    }
    return parseFlashDataset(text, path.filename().string());
}

}  // namespace norvessa::dataset
