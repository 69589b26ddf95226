// Samsung K9… and Hynix H27… / HY27… part numbers. Both makers name density with the same
// two-character codes and the generation with M, A, B, C, D, E for the first to sixth.

#include <array>
#include <string_view>

#include "flash/part_schemes.h"

namespace norvessa::flash::parts {

namespace {

struct CellClass {
    char letter;
    int bitsPerCell;
    int dies;  // 0: the scheme gives no die count
};

std::optional<int> generationOf(char letter) {
    constexpr std::string_view kGenerations = "MABCDE";
    const auto index = kGenerations.find(letter);
    if (letter == '\0' || index == std::string_view::npos) {
        return std::nullopt;
    }
    return static_cast<int>(index) + 1;
}

template <std::size_t N>
void applyClass(const std::array<CellClass, N>& classes, char letter, PartDecode& result) {
    for (const auto& entry : classes) {
        if (entry.letter == letter) {
            result.bitsPerCell = entry.bitsPerCell;
            if (entry.dies > 0) {
                result.dies = entry.dies;
            }
            return;
        }
    }
}

std::optional<int> widthOfDigit(char digit) {
    if (digit == '8') {
        return 8;
    }
    if (digit == '6') {
        return 16;
    }
    return std::nullopt;
}

// K9 C DD T W V M G: class, density, technology, width, voltage, mode (chip enables), generation.
// Samsung's part-number decoder (2006, 2009) adds the small-block SLC classes T and E and the
// 4-bit classes 3 and 9.
constexpr std::array<CellClass, 22> kSamsungClasses = {{
    {'F', 1, 1}, {'K', 1, 0},  {'N', 1, 2},  {'W', 1, 4}, {'Q', 1, 8}, {'T', 1, 1},
    {'E', 1, 2}, {'G', 2, 1},  {'L', 2, 2},  {'M', 2, 2}, {'H', 2, 4}, {'S', 2, 6},
    {'P', 2, 8}, {'R', 2, 12}, {'U', 2, 16}, {'A', 3, 1}, {'B', 3, 2}, {'C', 3, 4},
    {'O', 3, 8}, {'D', 3, 16}, {'3', 4, 1},  {'9', 4, 8},
}};

std::optional<int> samsungChipEnables(char mode) {
    switch (mode) {
        case '1':
            return 2;
        case '3':
            return 3;
        case '4':
        case '5':
            return 4;
        case '6':
            return 6;
        case '7':
        case '8':
            return 8;
        default:  // '0' is "normal" without a count; C and J are in neither decoder edition
            return std::nullopt;
    }
}

std::optional<Supply> samsungSupply(char voltage) {
    switch (voltage) {
        case 'U':
        case 'V':
            return Supply::V3_3;
        case 'Q':
        case 'R':
            return Supply::V1_8;
        case 'S':
            return Supply::V3_3CoreV1_8Io;
        default:
            return std::nullopt;
    }
}

// H27 V DD W C M G / HY27 V C WW DD M G: both use these class letters.
constexpr std::array<CellClass, 15> kHynixClasses = {{
    {'F', 1, 1},
    {'G', 1, 2},
    {'H', 1, 4},
    {'J', 1, 8},
    {'T', 2, 1},
    {'U', 2, 2},
    {'V', 2, 4},
    {'Y', 2, 8},
    {'R', 2, 6},
    {'Z', 2, 12},
    {'C', 2, 16},
    {'M', 3, 1},
    {'N', 3, 2},
    {'P', 3, 4},
    {'Q', 3, 8},
}};

std::optional<Supply> hynixSupply(char voltage) {
    switch (voltage) {
        case 'U':
            return Supply::V3_3;
        case 'S':
            return Supply::V1_8;
        case 'Q':
            return Supply::V3_3CoreV1_8Io;
        default:
            return std::nullopt;
    }
}

void applyHynixMode(char mode, PartDecode& result) {
    switch (mode) {
        case '1':
        case '2':
            result.chipEnables = 1;
            break;
        case '4':
        case '5':
            result.chipEnables = 2;
            break;
        case 'F':
            result.chipEnables = 4;
            break;
        case 'T':
            result.chipEnables = 5;
            break;
        case 'U':
            result.chipEnables = 6;
            break;
        case 'V':
            result.chipEnables = 8;
            break;
        default:
            break;
    }
}

}  // namespace

PartDecode decodeSamsung(std::string_view part) {
    PartDecode result;
    applyClass(kSamsungClasses, at(part, 2), result);
    if (!result.bitsPerCell) {
        return result;  // a class letter no decoder edition lists: no Samsung part number
    }
    result.maker = Maker::Samsung;
    result.densityBits = letterDensity(slice(part, 3, 2));
    const char technology = at(part, 5);
    if (technology == '0' || technology == '1') {  // normal x8, normal x16
        result.ddrInterface = false;
    } else if (technology == 'D' || technology == 'Y' || technology == 'B') {
        result.ddrInterface = true;  // Toggle 1.0, 2.0, 3.0
    }
    result.busWidthBits = widthOfDigit(at(part, 6));
    result.supply = samsungSupply(at(part, 7));
    result.chipEnables = samsungChipEnables(at(part, 8));
    result.generation = generationOf(at(part, 9));
    return result;
}

PartDecode decodeHynix(std::string_view part, bool legacyMarking) {
    PartDecode result;
    result.maker = Maker::Hynix;
    if (part.starts_with("HY27") && legacyMarking) {
        result.supply = hynixSupply(at(part, 4));
        applyClass(kHynixClasses, at(part, 5), result);
        if (at(part, 5) == 'S') {  // the older marking's S is a single SLC die
            result.bitsPerCell = 1;
            result.dies = 1;
        }
        const auto width = slice(part, 6, 2);
        if (width == "08") {
            result.busWidthBits = 8;
        } else if (width == "16") {
            result.busWidthBits = 16;
        }
        result.densityBits = letterDensity(slice(part, 8, 2));
        // The older marking documents only the single-chip-enable modes.
        const char mode = at(part, 10);
        if (mode == '1' || mode == '2') {
            result.chipEnables = 1;
        }
        result.generation = generationOf(at(part, 11));
        return result;
    }
    // Some H27 parts were marked HY27 with the same fields.
    const std::size_t shift = part.starts_with("HY27") ? 1 : 0;
    part.remove_prefix(shift);
    result.supply = hynixSupply(at(part, 3));
    result.densityBits = letterDensity(slice(part, 4, 2));
    result.busWidthBits = widthOfDigit(at(part, 6));
    applyClass(kHynixClasses, at(part, 7), result);
    applyHynixMode(at(part, 8), result);
    result.generation = generationOf(at(part, 9));
    if (shift == 1 && (!result.densityBits || !result.bitsPerCell)) {
        return {};  // an HY27 name that reads by neither marking
    }
    return result;
}

}  // namespace norvessa::flash::parts
