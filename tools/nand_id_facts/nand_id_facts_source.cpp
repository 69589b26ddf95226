#include "tools/nand_id_facts/nand_id_facts_source.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/dataset/csv_reader.h"
#include "tools/dataset/dataset_error.h"

namespace norvessa::nand_id_facts {

namespace {

constexpr std::array<std::string_view, 14> kColumns = {
    "part", "maker", "id",   "page", "oob",   "block",   "chip_mbit",
    "dies", "ce",    "cell", "ecc",  "width", "process", "source"};

enum Column : std::size_t {
    kPart,
    kMaker,
    kId,
    kPage,
    kOob,
    kBlock,
    kChipMbit,
    kDies,
    kCe,
    kCell,
    kEcc,
    kWidth,
    kProcess,
    kSource,
};

// Bytes that cannot stand in a C++ string literal as they are go in as octal escapes. The literal
// carries its length (`sv`): built from a plain pointer, thousands of views would each be counted
// out character by character in constant evaluation, past a compiler's step limit.
std::string literal(std::string_view text, std::string_view sourceName, std::size_t line) {
    std::string out = "\"";
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (byte == 0) {
            throw dataset::errorAtLine(sourceName, line, "a NUL character in a field");
        }
        if (byte < 0x20 || byte >= 0x7F || character == '"' || character == '\\' ||
            character == '?') {
            out += '\\';
            out += static_cast<char>('0' + ((byte >> 6) & 7));
            out += static_cast<char>('0' + ((byte >> 3) & 7));
            out += static_cast<char>('0' + (byte & 7));
        } else {
            out += character;
        }
    }
    return out + "\"sv";
}

std::uint32_t wholeNumber(std::string_view text, std::string_view column,
                          std::string_view sourceName, std::size_t line) {
    if (text.empty()) {
        return 0;
    }
    std::uint32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        throw dataset::errorAtLine(sourceName, line,
                                   "column " + std::string(column) + " \"" + std::string(text) +
                                       "\" is not a whole number");
    }
    return value;
}

std::uint8_t smallNumber(std::string_view text, std::string_view column,
                         std::string_view sourceName, std::size_t line) {
    const std::uint32_t value = wholeNumber(text, column, sourceName, line);
    if (value > 255) {
        throw dataset::errorAtLine(
            sourceName, line,
            "column " + std::string(column) + " " + std::string(text) + " is out of range");
    }
    return static_cast<std::uint8_t>(value);
}

std::uint8_t bitsPerCell(std::string_view cell, std::string_view sourceName, std::size_t line) {
    constexpr std::array<std::string_view, 4> kCells = {"SLC", "MLC", "TLC", "QLC"};
    if (cell.empty()) {
        return 0;
    }
    for (std::size_t index = 0; index < kCells.size(); ++index) {
        if (kCells[index] == cell) {
            return static_cast<std::uint8_t>(index + 1);
        }
    }
    throw dataset::errorAtLine(
        sourceName, line,
        "column cell \"" + std::string(cell) + "\" is none of SLC, MLC, TLC, QLC");
}

int hexDigit(char digit) {
    if (digit >= '0' && digit <= '9') {
        return digit - '0';
    }
    if (digit >= 'A' && digit <= 'F') {
        return digit - 'A' + 10;
    }
    if (digit >= 'a' && digit <= 'f') {
        return digit - 'a' + 10;
    }
    return -1;
}

struct IdBytes {
    std::vector<std::uint8_t> bytes;
    std::uint8_t anyMask = 0;
};

IdBytes parseId(std::string_view text, std::string_view sourceName, std::size_t line) {
    IdBytes id;
    std::size_t position = 0;
    while (position < text.size()) {
        if (text[position] == ' ') {
            ++position;
            continue;
        }
        const std::size_t end = std::min(text.find(' ', position), text.size());
        const std::string_view group = text.substr(position, end - position);
        position = end;
        if (id.bytes.size() == 8) {
            throw dataset::errorAtLine(sourceName, line, "more than 8 ID bytes");
        }
        if (group == "XX" || group == "xx") {
            id.anyMask = static_cast<std::uint8_t>(id.anyMask | (1u << id.bytes.size()));
            id.bytes.push_back(0);
            continue;
        }
        if (group.size() != 2 || hexDigit(group[0]) < 0 || hexDigit(group[1]) < 0) {
            throw dataset::errorAtLine(
                sourceName, line,
                "ID byte \"" + std::string(group) + "\" is neither a hexadecimal pair nor XX");
        }
        id.bytes.push_back(static_cast<std::uint8_t>(hexDigit(group[0]) * 16 + hexDigit(group[1])));
    }
    return id;
}

}  // namespace

std::string generateFactsSource(std::string_view csvText, std::string_view sourceName) {
    const std::vector<dataset::CsvRecord> records = dataset::parseCsv(csvText, sourceName);
    if (records.empty()) {
        throw dataset::DatasetError(std::string(sourceName) + ": no header line");
    }
    std::array<std::size_t, kColumns.size()> positions{};
    for (std::size_t column = 0; column < kColumns.size(); ++column) {
        const auto& header = records.front().fields;
        const auto found = std::find(header.begin(), header.end(), kColumns[column]);
        if (found == header.end()) {
            throw dataset::errorAtLine(sourceName, records.front().line,
                                       "no column " + std::string(kColumns[column]));
        }
        positions[column] = static_cast<std::size_t>(found - header.begin());
    }

    std::string out = "// Generated from " + std::string(sourceName) +
                      " by tools/nand_id_facts; do not edit.\n\n"
                      "#include \"drive/nand_id_facts.h\"\n\n"
                      "namespace norvessa::drive {\n\nnamespace {\n\n"
                      "using namespace std::string_view_literals;\n\n"
                      "constexpr NandIdFact kFacts[] = {\n";
    std::size_t kept = 0;
    for (std::size_t index = 1; index < records.size(); ++index) {
        const dataset::CsvRecord& record = records[index];
        const auto field = [&](Column column) -> std::string_view {
            const std::size_t position = positions[column];
            return position < record.fields.size() ? std::string_view(record.fields[position])
                                                   : std::string_view();
        };
        const IdBytes id = parseId(field(kId), sourceName, record.line);
        if (id.bytes.size() < 2) {
            continue;  // no ID to answer to
        }
        const auto number = [&](Column column) {
            return std::to_string(
                wholeNumber(field(column), kColumns[column], sourceName, record.line));
        };
        const auto small = [&](Column column) {
            return std::to_string(
                smallNumber(field(column), kColumns[column], sourceName, record.line));
        };
        std::string bytes;
        for (const std::uint8_t byte : id.bytes) {
            bytes += (bytes.empty() ? "" : ", ") + std::to_string(byte);
        }
        out += "    {" + literal(field(kPart), sourceName, record.line) + ", " +
               literal(field(kMaker), sourceName, record.line) + ", " +
               std::to_string(id.bytes.size()) + ", {" + bytes + "}, " +
               std::to_string(id.anyMask) + ", " + number(kPage) + ", " + number(kOob) + ", " +
               number(kBlock) + ", " + number(kChipMbit) + ", " + small(kDies) + ", " + small(kCe) +
               ", " + std::to_string(bitsPerCell(field(kCell), sourceName, record.line)) + ", " +
               small(kWidth) + ", " + literal(field(kEcc), sourceName, record.line) + ", " +
               literal(field(kProcess), sourceName, record.line) + ", " +
               literal(field(kSource), sourceName, record.line) + ", " +
               std::to_string(record.line) + "},\n";
        ++kept;
    }
    if (kept == 0) {
        throw dataset::DatasetError(std::string(sourceName) + ": no row has ID bytes");
    }
    out +=
        "};\n\n}  // namespace\n\n"
        "std::span<const NandIdFact> nandIdFacts() { return kFacts; }\n\n"
        "}  // namespace norvessa::drive\n";
    return out;
}

}  // namespace norvessa::nand_id_facts
