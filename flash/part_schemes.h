#pragma once

// The makers' part-number schemes, each given an upper-case part number of its form
// (decodePartNumber checks the form first).

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "flash/part_number.h"

namespace norvessa::flash::parts {

PartDecode decodeSamsung(std::string_view part);
// `legacyMarking`: an HY27 name of the older field order (HY27 V C WW DD M G).
PartDecode decodeHynix(std::string_view part, bool legacyMarking);
PartDecode decodeToshiba(std::string_view part);
PartDecode decodeSanDisk(std::string_view part);
PartDecode decodeMicron(std::string_view part);
PartDecode decodeMicronLegacy(std::string_view part);
PartDecode decodeIntel(std::string_view part);
PartDecode decodeStNumonyx(std::string_view part);
PartDecode decodeSpansion(std::string_view part);

// The character at `index`, or '\0' past the end, so that short codes read as "undefined".
inline char at(std::string_view part, std::size_t index) {
    return index < part.size() ? part[index] : '\0';
}

// `count` characters from `index` on, or nothing when the part number is shorter.
inline std::string_view slice(std::string_view part, std::size_t index, std::size_t count) {
    return index + count <= part.size() ? part.substr(index, count) : std::string_view{};
}

// Samsung's and Hynix's two-character density codes ("1G", "AG", "BG", "56"), in bits.
std::optional<std::uint64_t> letterDensity(std::string_view code);

// Leading decimal digits of `text` from `index` on, and how many there were.
struct Digits {
    std::uint64_t value = 0;
    std::size_t count = 0;
};
Digits readDigits(std::string_view text, std::size_t index);

}  // namespace norvessa::flash::parts
