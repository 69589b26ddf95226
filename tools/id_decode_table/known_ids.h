#pragma once

// Flash IDs with known answers (tests/flash/data/known_flash_ids.csv) and how the layout decode
// of flash/id_decoder does on each field: right, wrong, or unknown. The table tool prints it;
// the flash tests require that no field is wrong.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "flash/id_decoder.h"

namespace norvessa::tools {

struct KnownId {
    std::vector<std::uint8_t> id;
    std::string text;  // as the file writes it
    std::string part;
    std::string maker;
    std::string cell;  // "SLC", "MLC", "TLC", "QLC"
    std::optional<std::uint64_t> pageBytes;
    std::optional<std::uint64_t> blockBytes;
    std::optional<std::uint64_t> ceMegabits;
    std::string source;
};

// Reads the file: '#' lines are comments, the first other line the header. Throws
// std::runtime_error naming the line of anything it cannot read.
std::vector<KnownId> readKnownIds(std::string_view csvText);

enum class Verdict { Right, Wrong, Unknown, NotScored };

struct FieldVerdict {
    std::string_view field;  // "maker", "cell", "page", "block", "density per CE"
    Verdict verdict;
    std::string decoded;  // what the decode gave, "-" for unknown
};

// The five scored fields of one ID, in that order.
std::vector<FieldVerdict> scoreDecode(const KnownId& known, const flash::IdDecode& decoded);

std::string_view verdictText(Verdict verdict);

}  // namespace norvessa::tools
