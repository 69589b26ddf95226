#pragma once

// Where the models and their ID bytes come from: the names the facts files write
// (tools/dataset/facts/), and the generator's record of how each model's ID bytes were checked
// against its part number (resources/id_crosscheck.csv).

#include <array>
#include <cstddef>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "tools/dataset_check/side_files.h"

namespace norvessa::dataset::check {

// Every name the facts files write as a part, in upper case without blanks, and each start of one
// that ends where a list's note begins ("K9AAGD8U0A" of "K9AAGD8U0A(TOG)", "K9F1G08U0B" of
// "K9F1G08U0B/C/D", the base part of "K9F2808U0B-YCB0").
struct WrittenNames {
    std::set<std::string> names;
    std::vector<std::string> notes;  // facts files that are missing
    bool writes(std::string_view model) const { return names.contains(std::string(model)); }
};

// Adds the names one facts file writes in the column `column` (a missing column throws).
void addWrittenNames(std::string_view text, std::string_view name, std::string_view column,
                     WrittenNames& into);

// Reads nand_ids.csv (part), support_lists.csv (part), ordering_codes.csv (ordering_code) and
// fixed_rows.csv (FLASH型号) from `folder`.
WrittenNames readWrittenNames(const std::filesystem::path& folder);

// id_crosscheck.csv: model,id,families,part_number_agrees,settled,id_reading,
// part_number_reading,sources,other_ids (IDs that other lists writing the name give).
struct IdCheck {
    std::string model;
    std::string id;
    std::vector<std::string> families;  // independent table families that give the ID
    std::string agrees;                 // "yes", "unknown" or "no: <what>"
    std::string settled;                // "kept" or "left out"
    std::string idReading;
    std::string partReading;
    std::string sources;
    std::vector<std::string> otherIds;  // "<bytes> (<family>)" that lost to `id`
    std::size_t line = 0;
    bool disagrees() const { return agrees.starts_with("no"); }
};
struct IdChecks {
    std::vector<IdCheck> checks;
    std::vector<LineProblem> problems;
};
IdChecks parseIdChecks(std::string_view text, std::string_view name);

// name_flags.csv: name,reason,evidence,stands_for,lists — the names lists write that are no
// chip's name. `standsFor` is the real name of a misprint, the parts of a lot marking.
inline constexpr std::array<std::string_view, 5> kFlagReasons = {"placeholder", "shorthand", "note",
                                                                 "lot-marking", "misprint"};
struct NameFlag {
    std::string name;
    std::string reason;
    std::string evidence;
    std::vector<std::string> standsFor;
    std::size_t line = 0;
};
struct NameFlags {
    std::vector<NameFlag> flags;
    std::vector<LineProblem> problems;
};
NameFlags parseNameFlags(std::string_view text, std::string_view name);

// pairings.csv: model,maker,chip,kind,list — how each controller cell of a model's rows was
// reached: the list writes the model's own name, an ordering code of it with the same ID bytes,
// or the model's exact ID bytes; the named rows keep the controllers they are given with.
inline constexpr std::array<std::string_view, 4> kPairingKinds = {
    "own name", "ordering code with matching ID", "exact ID", "named row as given"};
struct Pairing {
    std::string model;
    std::string maker;
    std::string chip;
    std::string kind;
    std::string list;
    std::size_t line = 0;
};
struct Pairings {
    std::vector<Pairing> pairings;
    std::vector<LineProblem> problems;
};
Pairings parsePairings(std::string_view text, std::string_view name);

}  // namespace norvessa::dataset::check
