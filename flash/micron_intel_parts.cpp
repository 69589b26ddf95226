// Micron MT29F and Intel JS29F/29F part numbers. The two makers' dies come from one joint venture,
// but each names them its own way.

#include <array>
#include <string_view>

#include "flash/part_schemes.h"

namespace norvessa::flash::parts {

namespace {

struct DieLayout {
    int dies;
    int chipEnables;
};

std::optional<DieLayout> micronClass(char letter) {
    switch (letter) {
        case 'A':
        case 'B':
            return DieLayout{1, 1};
        case 'D':
            return DieLayout{2, 1};
        case 'E':
        case 'F':
            return DieLayout{2, 2};
        case 'J':
        case 'K':
            return DieLayout{4, 2};
        case 'M':
            return DieLayout{4, 4};
        default:
            return std::nullopt;
    }
}

std::optional<int> micronLevel(char letter) {
    switch (letter) {
        case 'A':
            return 1;
        case 'C':
            return 2;
        case 'E':
            return 3;
        default:
            return std::nullopt;
    }
}

// Intel's die letters as the Thomas-Krenn summary and the SS72 datasheet give them; neither
// states the chip enables.
std::optional<int> intelDies(char letter) {
    switch (letter) {
        case 'A':
            return 1;
        case 'C':
            return 2;
        case 'F':
        case 'J':
            return 4;
        default:
            return std::nullopt;
    }
}

std::optional<std::string> intelProcess(char letter) {
    switch (letter) {
        case 'A':
            return "90nm";
        case 'B':
            return "72nm";
        case 'C':
            return "50nm";
        case 'D':
            return "34nm";
        case 'E':
            return "25nm";
        case 'F':
            return "20nm";
        default:
            return std::nullopt;
    }
}

void applyLayout(const std::optional<DieLayout>& layout, PartDecode& result) {
    if (layout) {
        result.dies = layout->dies;
        result.chipEnables = layout->chipEnables;
    }
}

std::optional<int> widthOfCode(std::string_view code) {
    if (code == "08") {
        return 8;
    }
    if (code == "16") {
        return 16;
    }
    return std::nullopt;
}

}  // namespace

// MT29F DD WW L C V G I PP: density, width, level (cell), class (dies and chip enables),
// voltage, generation, interface, package. The part number's form is checked before.
PartDecode decodeMicron(std::string_view part) {
    PartDecode result;
    result.maker = Maker::Micron;
    constexpr std::size_t kDensityAt = 5;
    const Digits density = readDigits(part, kDensityAt);
    const char unit = at(part, kDensityAt + density.count);
    result.densityBits = density.value * kGigabit * (unit == 'T' ? 1024 : 1);
    const std::size_t widthAt = kDensityAt + density.count + 1;
    result.busWidthBits = widthOfCode(slice(part, widthAt, 2));
    const std::size_t lettersAt = widthAt + 2;
    result.bitsPerCell = micronLevel(at(part, lettersAt));
    applyLayout(micronClass(at(part, lettersAt + 1)), result);
    const char voltage = at(part, lettersAt + 2);
    if (voltage == 'A') {
        result.supply = Supply::V3_3;
    } else if (voltage == 'B') {
        result.supply = Supply::V1_8;
    }
    result.generation = at(part, lettersAt + 3) - 'A' + 1;
    const char interface = at(part, lettersAt + 4);
    result.ddrInterface = interface == 'B' || interface == 'C';
    return result;
}

// MT29F DD WW C V G [package], before 2009: configuration (cell, dies, chip enables), voltage
// (A 2.7-3.6 V, B 1.7-1.95 V) and generation A to C.
PartDecode decodeMicronLegacy(std::string_view part) {
    struct Configuration {
        char letter;
        int bitsPerCell;
        int dies;
        int chipEnables;
    };
    static constexpr std::array<Configuration, 10> kConfigurations = {{
        {'A', 1, 1, 1},
        {'B', 1, 2, 1},
        {'D', 1, 2, 2},
        {'F', 1, 4, 2},
        {'M', 2, 1, 1},
        {'Q', 2, 2, 2},
        {'R', 2, 2, 2},
        {'T', 2, 4, 2},
        {'U', 2, 4, 2},
        {'W', 2, 8, 4},
    }};
    PartDecode result;
    result.maker = Maker::Micron;
    constexpr std::size_t kDensityAt = 5;
    const Digits density = readDigits(part, kDensityAt);
    result.densityBits = density.value * kGigabit;
    const std::size_t widthAt = kDensityAt + density.count + 1;
    result.busWidthBits = widthOfCode(slice(part, widthAt, 2));
    const char configuration = at(part, widthAt + 2);
    for (const auto& entry : kConfigurations) {
        if (entry.letter == configuration) {
            result.bitsPerCell = entry.bitsPerCell;
            result.dies = entry.dies;
            result.chipEnables = entry.chipEnables;
        }
    }
    result.supply = at(part, widthAt + 3) == 'A' ? Supply::V3_3 : Supply::V1_8;
    result.generation = at(part, widthAt + 4) - 'A' + 1;
    return result;
}

// [JS|PF|BK]29F DDD WW C V L P g: density ("32G" in gigabits, "16B" in gigabytes), width, class
// (dies and chip enables), voltage, cell, process, generation digit.
PartDecode decodeIntel(std::string_view part) {
    PartDecode result;
    result.maker = Maker::Intel;
    const std::size_t densityAt = part.find("29F") + 3;
    const Digits density = readDigits(part, densityAt);
    if (density.count == 0) {
        return result;
    }
    const char unit = at(part, densityAt + density.count);
    if (unit == 'G') {
        result.densityBits = density.value * kGigabit;
    } else if (unit == 'B') {
        result.densityBits = density.value * 8 * kGigabit;
    } else {
        return result;
    }
    const std::size_t widthAt = densityAt + density.count + 1;
    result.busWidthBits = widthOfCode(slice(part, widthAt, 2));
    result.dies = intelDies(at(part, widthAt + 2));
    if (at(part, widthAt + 3) == 'A') {
        result.supply = Supply::V3_3;
    }
    switch (at(part, widthAt + 4)) {
        case 'N':
            result.bitsPerCell = 1;
            break;
        case 'M':
            result.bitsPerCell = 2;
            break;
        case 'T':
            result.bitsPerCell = 3;
            break;
        default:
            break;
    }
    result.process = intelProcess(at(part, widthAt + 5));
    return result;
}

}  // namespace norvessa::flash::parts
