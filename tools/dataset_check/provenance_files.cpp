#include "tools/dataset_check/provenance_files.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "tools/dataset/csv_reader.h"
#include "tools/dataset/dataset_error.h"
#include "tools/dataset_check/flash_fields.h"

namespace norvessa::dataset::check {

namespace {

// Characters with which lists begin a note after a name.
constexpr std::string_view kNoteStart = "(_*/,- ";
constexpr std::size_t kShortestModel = 4;

std::string normalisedName(std::string_view written) {
    std::string name;
    for (const char c : written) {
        if (c != ' ') {
            name.push_back(static_cast<char>(std::toupper(static_cast<unsigned char>(c))));
        }
    }
    // Driver tables name their entries NAND_<part>.
    for (const std::string_view prefix : {"NAND_", "TNAND_"}) {
        if (name.starts_with(prefix) && name.size() > prefix.size() + 6) {
            name.erase(0, prefix.size());
        }
    }
    return name;
}

std::vector<std::string> splitOnSeparator(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        const auto found = text.find(" ; ", start);
        const auto part = trimmed(text.substr(start, found - start));
        if (!part.empty()) {
            parts.emplace_back(part);
        }
        if (found == std::string_view::npos) {
            return parts;
        }
        start = found + 3;
    }
}

std::vector<std::string> splitOnBlanks(std::string_view text) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (start < text.size()) {
        const auto end = std::min(text.find(' ', start), text.size());
        if (end > start) {
            parts.emplace_back(text.substr(start, end - start));
        }
        start = end + 1;
    }
    return parts;
}

// The file's records, after checking that its header is exactly `columns`.
std::vector<CsvRecord> recordsWithHeader(std::string_view text, std::string_view name,
                                         std::initializer_list<std::string_view> columns) {
    auto records = parseCsv(text, name);
    if (records.empty() || records.front().fields.size() != columns.size() ||
        !std::equal(columns.begin(), columns.end(), records.front().fields.begin())) {
        std::string header;
        for (const auto column : columns) {
            header += (header.empty() ? "" : ",") + std::string(column);
        }
        throw DatasetError(std::string(name) + ": header is not " + header);
    }
    return records;
}

template <std::size_t N>
bool isOneOf(const std::array<std::string_view, N>& allowed, std::string_view value) {
    return std::find(allowed.begin(), allowed.end(), value) != allowed.end();
}

}  // namespace

void addWrittenNames(std::string_view text, std::string_view name, std::string_view column,
                     WrittenNames& into) {
    const auto records = parseCsv(text, name);
    if (records.empty()) {
        throw DatasetError(std::string(name) + ": empty, expected a header line");
    }
    const auto& header = records.front().fields;
    const auto found = std::find(header.begin(), header.end(), column);
    if (found == header.end()) {
        throw errorAtLine(name, records.front().line,
                          "header has no column \"" + std::string(column) + "\"");
    }
    const auto position = static_cast<std::size_t>(found - header.begin());
    for (std::size_t i = 1; i < records.size(); ++i) {
        if (position >= records[i].fields.size()) {
            continue;
        }
        const std::string written = normalisedName(records[i].fields[position]);
        if (written.empty()) {
            continue;
        }
        into.names.insert(written);
        for (std::size_t end = kShortestModel; end < written.size(); ++end) {
            if (kNoteStart.find(written[end]) != std::string_view::npos) {
                into.names.insert(written.substr(0, end));
            }
        }
    }
}

WrittenNames readWrittenNames(const std::filesystem::path& folder) {
    constexpr std::array<std::pair<std::string_view, std::string_view>, 4> kFiles = {{
        {"nand_ids.csv", "part"},
        {"support_lists.csv", "part"},
        {"ordering_codes.csv", "ordering_code"},
        {"fixed_rows.csv", "FLASH型号"},
    }};
    WrittenNames names;
    for (const auto& [file, column] : kFiles) {
        const auto path = folder / file;
        if (!std::filesystem::exists(path)) {
            names.notes.push_back(path.string() + " does not exist");
            continue;
        }
        addWrittenNames(readTextFile(path), file, column, names);
    }
    return names;
}

IdChecks parseIdChecks(std::string_view text, std::string_view name) {
    const auto records =
        recordsWithHeader(text, name,
                          {"model", "id", "families", "part_number_agrees", "settled", "id_reading",
                           "part_number_reading", "sources", "other_ids"});
    IdChecks result;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const auto& f = records[i].fields;
        if (f.size() != records.front().fields.size()) {
            result.problems.push_back(
                {records[i].line, std::to_string(f.size()) + " fields, expected " +
                                      std::to_string(records.front().fields.size())});
            continue;
        }
        IdCheck check{std::string(trimmed(f[0])),
                      std::string(trimmed(f[1])),
                      splitOnSeparator(f[2]),
                      std::string(trimmed(f[3])),
                      std::string(trimmed(f[4])),
                      f[5],
                      f[6],
                      f[7],
                      splitOnSeparator(f[8]),
                      records[i].line};
        if (check.model.empty() || check.id.empty() || check.families.empty()) {
            result.problems.push_back({check.line, "model, id and families are all needed"});
        } else if (check.settled != "kept" && check.settled != "left out") {
            result.problems.push_back(
                {check.line, "settled \"" + check.settled + "\" is not kept or left out"});
        } else if (check.agrees != "yes" && check.agrees != "unknown" && !check.disagrees()) {
            result.problems.push_back({check.line, "part_number_agrees \"" + check.agrees +
                                                       "\" is not yes, unknown or no: …"});
        } else {
            result.checks.push_back(std::move(check));
        }
    }
    return result;
}

NameFlags parseNameFlags(std::string_view text, std::string_view name) {
    const auto records =
        recordsWithHeader(text, name, {"name", "reason", "evidence", "stands_for", "lists"});
    NameFlags result;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const auto& f = records[i].fields;
        if (f.size() != 5) {
            result.problems.push_back(
                {records[i].line, std::to_string(f.size()) + " fields, expected 5"});
        } else if (trimmed(f[0]).empty() || !isOneOf(kFlagReasons, trimmed(f[1]))) {
            result.problems.push_back({records[i].line, "needs a name and a reason of " +
                                                            std::string(name) + "'s kinds, not \"" +
                                                            f[1] + "\""});
        } else {
            result.flags.push_back({std::string(trimmed(f[0])), std::string(trimmed(f[1])), f[2],
                                    splitOnBlanks(f[3]), records[i].line});
        }
    }
    return result;
}

Pairings parsePairings(std::string_view text, std::string_view name) {
    const auto records = recordsWithHeader(text, name, {"model", "maker", "chip", "kind", "list"});
    Pairings result;
    for (std::size_t i = 1; i < records.size(); ++i) {
        const auto& f = records[i].fields;
        if (f.size() != 5) {
            result.problems.push_back(
                {records[i].line, std::to_string(f.size()) + " fields, expected 5"});
        } else if (trimmed(f[0]).empty() || trimmed(f[2]).empty() ||
                   !isOneOf(kPairingKinds, trimmed(f[3]))) {
            result.problems.push_back({records[i].line, "needs a model, a chip and a kind of " +
                                                            std::string(name) + "'s kinds, not \"" +
                                                            f[3] + "\""});
        } else {
            result.pairings.push_back({std::string(trimmed(f[0])), std::string(trimmed(f[1])),
                                       std::string(trimmed(f[2])), std::string(trimmed(f[3])),
                                       std::string(trimmed(f[4])), records[i].line});
        }
    }
    return result;
}

}  // namespace norvessa::dataset::check
