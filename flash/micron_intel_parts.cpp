// Micron MT29F and Intel JS29F/29F part numbers. The two makers' dies come from one joint venture,
// but each names them its own way.

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

std::optional<DieLayout> intelClass(char letter) {
    switch (letter) {
        case 'A':
            return DieLayout{1, 1};
        case 'B':
            return DieLayout{2, 1};
        case 'C':
        case 'D':
            return DieLayout{2, 2};
        case 'F':
            return DieLayout{4, 2};
        case 'J':
            return DieLayout{4, 4};
        case 'H':
            return DieLayout{8, 4};
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

bool isUpperLetter(char c) {
    return c >= 'A' && c <= 'Z';
}

}  // namespace

// MT29F DD WW L C V G I PP: density, width, level (cell), class (dies and chip enables),
// voltage, generation, interface, package. Pre-2009 parts (MT29F16G08MAA, MT29F4G08AAAWP)
// follow another letter pattern, of which only density and width are read here.
PartDecode decodeMicron(std::string_view part) {
    PartDecode result;
    result.maker = Maker::Micron;
    constexpr std::size_t kDensityAt = 5;
    const Digits density = readDigits(part, kDensityAt);
    if (density.count == 0) {
        return result;
    }
    const char unit = at(part, kDensityAt + density.count);
    if (unit == 'G') {
        result.densityBits = density.value * kGigabit;
    } else if (unit == 'T') {
        result.densityBits = density.value * 1024 * kGigabit;
    } else {
        return result;
    }
    const std::size_t widthAt = kDensityAt + density.count + 1;
    result.busWidthBits = widthOfCode(slice(part, widthAt, 2));
    const std::size_t lettersAt = widthAt + 2;
    const char level = at(part, lettersAt);
    const char layout = at(part, lettersAt + 1);
    const char voltage = at(part, lettersAt + 2);
    const bool currentScheme = micronLevel(level) && micronClass(layout) &&
                               std::string_view("ABC").find(voltage) != std::string_view::npos &&
                               voltage != '\0' && isUpperLetter(at(part, lettersAt + 3)) &&
                               isUpperLetter(at(part, lettersAt + 4));
    if (!currentScheme) {
        return result;
    }
    result.bitsPerCell = micronLevel(level);
    applyLayout(micronClass(layout), result);
    result.supply = voltage == 'A'   ? Supply::V3_3
                    : voltage == 'B' ? Supply::V1_8
                                     : Supply::V3_3CoreV1_8Io;
    const char generation = at(part, lettersAt + 3);
    if (generation >= 'A' && generation <= 'D') {
        result.generation = generation - 'A' + 1;
    }
    const char interface = at(part, lettersAt + 4);
    if (interface == 'A') {
        result.ddrInterface = false;
    } else if (interface == 'B' || interface == 'C') {
        result.ddrInterface = true;
    }
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
    applyLayout(intelClass(at(part, widthAt + 2)), result);
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
    const char generation = at(part, widthAt + 6);
    if (generation >= '1' && generation <= '9') {
        result.generation = generation - '0';
    }
    return result;
}

}  // namespace norvessa::flash::parts
