#pragma once

// The NAND ID facts behind the data set (tools/dataset/facts/nand_ids.csv), compiled in by the
// generator in tools/nand_id_facts/: every sourced part with the ID bytes and the geometry its
// table gives. A layout decode cannot always tell a part's geometry (a Toshiba 0x76 fourth byte
// means a 1 MiB block on one die and 2 MiB on another); these facts can.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace norvessa::drive {

struct NandIdFact {
    std::string_view part;
    std::string_view maker;
    std::uint8_t idLength = 0;
    std::array<std::uint8_t, 8> id{};
    std::uint8_t anyByteMask = 0;  // bit i: the table leaves byte i open ("XX")
    // Zero where the source gives nothing.
    std::uint32_t pageBytes = 0;
    std::uint32_t spareBytes = 0;
    std::uint32_t blockBytes = 0;
    std::uint32_t chipMegabits = 0;
    std::uint8_t dies = 0;
    std::uint8_t chipEnables = 0;
    std::uint8_t bitsPerCell = 0;
    std::uint8_t busWidthBits = 0;
    std::string_view ecc;
    std::string_view process;
    std::string_view source;
    std::uint32_t csvLine = 0;
};

// Every fact that has ID bytes, in the order of the CSV file.
std::span<const NandIdFact> nandIdFacts();

// A fact whose ID agrees with the wanted bytes over the bytes both give.
struct FactMatch {
    const NandIdFact* fact = nullptr;
    std::size_t comparedBytes = 0;  // how many bytes both IDs give
};

// Facts that agree with `id` over at least the maker and device codes (two bytes), those that
// compare the most bytes first, then in file order.
std::vector<FactMatch> factsMatchingId(std::span<const std::uint8_t> id,
                                       std::span<const NandIdFact> facts = nandIdFacts());

}  // namespace norvessa::drive
