#pragma once

// The files that sit beside the data set: where each model's facts come from
// (resources/flash_sources.csv), what each controller can drive (resources/controller_facts.csv)
// and which failures of the data check are accepted (tools/dataset/known_exceptions.csv).
// Each parser takes the file's text and a name for messages. A wrong header or text that is not
// CSV throws DatasetError; a line whose values break the format is kept out of the result and
// reported as a LineProblem, so that the check can name it with the rest.

#include <cstddef>
#include <filesystem>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace norvessa::dataset::check {

struct LineProblem {
    std::size_t line = 0;
    std::string detail;
};

// flash_sources.csv: model,base_part,sources. `sources` holds entries separated by " ; ", each
// "<citation> {<field> …}", the citation being "owner/repo@<commit>:path",
// "datasheet: <title>, <rev>, <url>" or "scheme: <text>".
struct SourceEntry {
    std::string citation;
    std::set<std::string> fields;  // data-set column names this source gave
};
struct ModelSources {
    std::string basePart;
    std::vector<SourceEntry> entries;
    std::size_t line = 0;
};
struct SourceList {
    std::map<std::string, ModelSources> byModel;
    std::vector<LineProblem> problems;
};
SourceList parseSourceList(std::string_view text, std::string_view name);

// controller_facts.csv: one controller chip of one controller maker per line. Empty values are
// unknown.
struct ControllerFacts {
    std::string maker;          // the data set's column name, e.g. "慧荣"
    std::string chip;           // as the data set writes it in that column, trimmed
    std::set<int> bitsPerCell;  // empty: unknown
    std::optional<int> maxPageKiB;
    std::optional<int> eccBitsPerKiB;
    std::set<std::string> interfaces;  // "async", "toggle", "onfi-ddr"; empty: unknown
    std::optional<int> maxChipEnables;
    std::size_t line = 0;
};
struct ControllerFactsTable {
    std::map<std::pair<std::string, std::string>, ControllerFacts> byMakerAndChip;
    std::vector<LineProblem> problems;
};
ControllerFactsTable parseControllerFacts(std::string_view text, std::string_view name);

// known_exceptions.csv: model,rule,reason. An empty reason is a problem: every exception says why.
struct KnownException {
    std::string model;
    std::string rule;
    std::string reason;
    std::size_t line = 0;
};
struct KnownExceptions {
    std::vector<KnownException> entries;
    std::vector<LineProblem> problems;
};
KnownExceptions parseKnownExceptions(std::string_view text, std::string_view name);

// The whole file as text, a UTF-8 byte order mark removed; throws DatasetError when it cannot be
// read.
std::string readTextFile(const std::filesystem::path& path);

}  // namespace norvessa::dataset::check
