#include "tools/dataset_check/side_files.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <fstream>
#include <span>
#include <sstream>

#include "flash/flash_traits.h"
#include "tools/dataset/csv_reader.h"
#include "tools/dataset/dataset_error.h"
#include "tools/dataset/flash_dataset.h"
#include "tools/dataset_check/flash_fields.h"

namespace norvessa::dataset::check {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

// The records after a header that must list exactly `columns`.
template <std::size_t N>
std::vector<CsvRecord> recordsAfterHeader(std::string_view text, std::string_view name,
                                          const std::array<std::string_view, N>& columns) {
    if (text.starts_with(kByteOrderMark)) {
        text.remove_prefix(kByteOrderMark.size());
    }
    auto records = parseCsv(text, name);
    if (records.empty()) {
        throw DatasetError(std::string(name) + ": empty, expected a header line");
    }
    const auto& header = records.front().fields;
    bool matches = header.size() == N;
    for (std::size_t i = 0; matches && i < N; ++i) {
        matches = header[i] == columns[i];
    }
    if (!matches) {
        std::string expected;
        for (const auto column : columns) {
            expected += expected.empty() ? "" : ",";
            expected += column;
        }
        throw errorAtLine(name, records.front().line, "header is not \"" + expected + "\"");
    }
    records.erase(records.begin());
    return records;
}

std::vector<std::string_view> splitOn(std::string_view text, std::string_view separator) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (;;) {
        const auto found = text.find(separator, start);
        parts.push_back(
            text.substr(start, found == std::string_view::npos ? found : found - start));
        if (found == std::string_view::npos) {
            return parts;
        }
        start = found + separator.size();
    }
}

std::vector<std::string_view> words(std::string_view text) {
    std::vector<std::string_view> result;
    for (const auto part : splitOn(trimmed(text), " ")) {
        if (!part.empty()) {
            result.push_back(part);
        }
    }
    return result;
}

// The detail columns a source can give, the model (an ordering code a document names) and the
// controller columns (a support list pairing its chips with the flash).
constexpr std::array<std::string_view, 22> kSourceFields = {
    "FLASH型号", "ID号",     "容量", "类型", "位宽",   "片选", "IC制程", "ECC纠错",
    "工作电压",  "芯片版本", "品牌", "备注", "慧荣",   "群联", "联阳",   "安国",
    "擎泰",      "鑫创",     "银灿", "芯邦", "迈科微", "我想"};

bool isHexText(std::string_view text) {
    return !text.empty() &&
           text.find_first_not_of("0123456789abcdefABCDEF") == std::string_view::npos;
}

// "owner/repo@<commit>:path" with a 7- to 40-digit commit, maybe after a title ("Silicon
// Motion mass-production tool flash table, owner/repo@<commit>:path, path"), a web page's
// address, "datasheet: …", "scheme: …" or "named row: …" (a row kept as the lookup's examples
// give it).
bool isCodeReference(std::string_view citation);

bool isCitation(std::string_view citation) {
    for (const std::string_view kind : {"datasheet: ", "scheme: ", "named row: "}) {
        if (citation.starts_with(kind)) {
            return trimmed(citation.substr(kind.size())).size() > 0;
        }
    }
    // A web page, maybe after its title: "TI E2E forum thread '…', https://…".
    if (citation.find("https://") != std::string_view::npos ||
        citation.find("http://") != std::string_view::npos) {
        return true;
    }
    const auto titled = citation.rfind(", ", citation.find('@'));
    return isCodeReference(titled == std::string_view::npos ? citation
                                                            : citation.substr(titled + 2));
}

bool isCodeReference(std::string_view citation) {
    const auto slash = citation.find('/');
    const auto at = citation.find('@');
    const auto colon = citation.find(':', at == std::string_view::npos ? 0 : at);
    if (slash == 0 || slash == std::string_view::npos || at == std::string_view::npos ||
        at < slash + 2 || colon == std::string_view::npos || colon + 1 >= citation.size()) {
        return false;
    }
    const auto commit = citation.substr(at + 1, colon - at - 1);
    return commit.size() >= 7 && commit.size() <= 40 && isHexText(commit) &&
           citation.substr(0, colon).find(' ') == std::string_view::npos;
}

std::optional<std::string> parseSourceEntry(std::string_view text, SourceEntry& entry) {
    text = trimmed(text);
    const auto open = text.rfind(" {");
    if (open == std::string_view::npos || !text.ends_with("}")) {
        return "source \"" + std::string(text) + "\" does not end in {<field> …}";
    }
    entry.citation = std::string(trimmed(text.substr(0, open)));
    if (!isCitation(entry.citation)) {
        return "\"" + entry.citation +
               "\" is not owner/repo@<commit>:path, \"datasheet: …\" or \"scheme: …\"";
    }
    const auto fields = words(text.substr(open + 2, text.size() - open - 3));
    if (fields.empty()) {
        return "source \"" + entry.citation + "\" names no field";
    }
    for (const auto field : fields) {
        if (std::find(kSourceFields.begin(), kSourceFields.end(), field) == kSourceFields.end()) {
            return "source \"" + entry.citation + "\" names \"" + std::string(field) +
                   "\", which is not a detail column";
        }
        entry.fields.emplace(field);
    }
    return std::nullopt;
}

std::optional<int> optionalNumber(std::string_view text, bool& malformed) {
    text = trimmed(text);
    if (text.empty()) {
        return std::nullopt;
    }
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, status] = std::from_chars(text.data(), end, value);
    if (status != std::errc() || stop != end || value < 0) {
        malformed = true;
        return std::nullopt;
    }
    return value;
}

std::optional<std::string> parseFactsLine(const CsvRecord& record, ControllerFacts& facts) {
    const auto& f = record.fields;
    facts.maker = std::string(trimmed(f[0]));
    facts.chip = std::string(trimmed(f[1]));
    const auto makers = std::span(kColumnNames).subspan(column::kFirstController);
    if (std::find(makers.begin(), makers.end(), facts.maker) == makers.end()) {
        return "maker \"" + facts.maker + "\" is not a controller column of the data set";
    }
    if (facts.chip.empty()) {
        return std::string("chip is empty");
    }
    for (const auto cell : words(f[3])) {
        const auto bits = flash::bitsPerCellOfName(cell);
        if (!bits) {
            return "cells: \"" + std::string(cell) + "\" is not SLC, MLC, TLC or QLC";
        }
        facts.bitsPerCell.insert(*bits);
    }
    bool malformed = false;
    facts.maxPageKiB = optionalNumber(f[4], malformed);
    const auto eccBits = optionalNumber(f[5], malformed);
    facts.maxChipEnables = optionalNumber(f[8], malformed);
    if (malformed) {
        return std::string("max_page_kb, ecc_bits and max_ce are whole numbers or empty");
    }
    const auto sector = trimmed(f[6]);
    if (eccBits.has_value() != !sector.empty()) {
        return std::string("ecc_bits and ecc_sector are given together or not at all");
    }
    if (eccBits) {
        if (sector == "512B") {
            facts.eccBitsPerKiB = *eccBits * 2;
        } else if (sector == "1KB") {
            facts.eccBitsPerKiB = *eccBits;
        } else {
            return "ecc_sector \"" + std::string(sector) + "\" is not 512B or 1KB";
        }
    }
    for (const auto interface : words(f[7])) {
        if (interface != "async" && interface != "toggle" && interface != "onfi-ddr") {
            return "interfaces: \"" + std::string(interface) +
                   "\" is not async, toggle or onfi-ddr";
        }
        facts.interfaces.emplace(interface);
    }
    if (trimmed(f[13]) == "inferred") {
        // Read off the support lists that pair the chip with its flash: comparing the pairings
        // with them would only restate the lists, and they say what the chip does at least.
        facts.bitsPerCell.clear();
        facts.maxPageKiB.reset();
        facts.eccBitsPerKiB.reset();
        facts.interfaces.clear();
        facts.maxChipEnables.reset();
    }
    return std::nullopt;
}

}  // namespace

SourceList parseSourceList(std::string_view text, std::string_view name) {
    static constexpr std::array<std::string_view, 3> kColumns = {"model", "base_part", "sources"};
    SourceList list;
    for (const auto& record : recordsAfterHeader(text, name, kColumns)) {
        if (record.fields.size() != kColumns.size()) {
            list.problems.push_back(
                {record.line, std::to_string(record.fields.size()) + " fields, expected 3"});
            continue;
        }
        const std::string model(trimmed(record.fields[0]));
        ModelSources sources{std::string(trimmed(record.fields[1])), {}, record.line};
        std::optional<std::string> problem;
        if (model.empty()) {
            problem = "model is empty";
        } else if (list.byModel.contains(model)) {
            problem =
                model + " is already listed on line " + std::to_string(list.byModel.at(model).line);
        } else if (trimmed(record.fields[2]).empty()) {
            problem = model + " has no source";
        }
        for (const auto entryText : splitOn(record.fields[2], " ; ")) {
            if (problem) {
                break;
            }
            SourceEntry entry;
            problem = parseSourceEntry(entryText, entry);
            sources.entries.push_back(std::move(entry));
        }
        if (problem) {
            list.problems.push_back({record.line, *problem});
            continue;
        }
        list.byModel.emplace(model, std::move(sources));
    }
    return list;
}

ControllerFactsTable parseControllerFacts(std::string_view text, std::string_view name) {
    static constexpr std::array<std::string_view, 15> kColumns = {
        "maker",    "chip",       "part",       "cells",      "max_page_kb",
        "ecc_bits", "ecc_sector", "interfaces", "max_ce",     "channels",
        "usb",      "year",       "sources",    "confidence", "notes"};
    ControllerFactsTable table;
    for (const auto& record : recordsAfterHeader(text, name, kColumns)) {
        if (record.fields.size() != kColumns.size()) {
            table.problems.push_back(
                {record.line, std::to_string(record.fields.size()) + " fields, expected 15"});
            continue;
        }
        ControllerFacts facts;
        facts.line = record.line;
        if (const auto problem = parseFactsLine(record, facts)) {
            table.problems.push_back({record.line, *problem});
            continue;
        }
        auto key = std::make_pair(facts.maker, facts.chip);
        if (const auto existing = table.byMakerAndChip.find(key);
            existing != table.byMakerAndChip.end()) {
            table.problems.push_back({record.line, facts.maker + " " + facts.chip +
                                                       " is already listed on line " +
                                                       std::to_string(existing->second.line)});
            continue;
        }
        table.byMakerAndChip.emplace(std::move(key), std::move(facts));
    }
    return table;
}

KnownExceptions parseKnownExceptions(std::string_view text, std::string_view name) {
    static constexpr std::array<std::string_view, 3> kColumns = {"model", "rule", "reason"};
    KnownExceptions exceptions;
    for (const auto& record : recordsAfterHeader(text, name, kColumns)) {
        if (record.fields.size() != kColumns.size()) {
            exceptions.problems.push_back(
                {record.line, std::to_string(record.fields.size()) + " fields, expected 3"});
            continue;
        }
        KnownException exception{std::string(trimmed(record.fields[0])),
                                 std::string(trimmed(record.fields[1])),
                                 std::string(trimmed(record.fields[2])), record.line};
        if (exception.model.empty() || exception.rule.empty() || exception.reason.empty()) {
            exceptions.problems.push_back({record.line, "model, rule and reason are all needed"});
            continue;
        }
        exceptions.entries.push_back(std::move(exception));
    }
    return exceptions;
}

std::string readTextFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) {
        throw DatasetError("cannot open " + path.string());
    }
    std::ostringstream text;
    text << stream.rdbuf();
    if (stream.bad()) {
        throw DatasetError("cannot read " + path.string());
    }
    return text.str();
}

}  // namespace norvessa::dataset::check
