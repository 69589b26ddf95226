// ST and Numonyx NAND… and Spansion S34M… part numbers: SLC parts named by density, supply and
// bus width.

#include <string_view>

#include "flash/part_schemes.h"

namespace norvessa::flash::parts {

namespace {

// "128", "256", "512" in megabits; "01G" … "64G" in gigabits. Returns the bits and the length.
struct DensityField {
    std::uint64_t bits = 0;
    std::size_t length = 0;
};

std::optional<DensityField> densityField(std::string_view part, std::size_t index) {
    const Digits digits = readDigits(part, index);
    if (digits.count == 2 && at(part, index + 2) == 'G' && digits.value > 0) {
        return DensityField{digits.value * kGigabit, 3};
    }
    if (digits.count == 3 && (digits.value == 128 || digits.value == 256 || digits.value == 512)) {
        return DensityField{digits.value * kMegabit, 3};
    }
    return std::nullopt;
}

}  // namespace

// NAND DDD V W F …: density, supply (R 1.8 V, W 2.7-3.6 V), width (3 x8, 4 x16), family
// (A 528-byte pages, B 2112-byte pages; both SLC).
PartDecode decodeStNumonyx(std::string_view part) {
    PartDecode result;
    result.maker = Maker::StNumonyx;
    constexpr std::size_t kDensityAt = 4;
    const auto density = densityField(part, kDensityAt);
    if (!density) {
        return result;
    }
    result.densityBits = density->bits;
    const std::size_t supplyAt = kDensityAt + density->length;
    const char supply = at(part, supplyAt);
    if (supply == 'W') {
        result.supply = Supply::V3_3;
    } else if (supply == 'R') {
        result.supply = Supply::V1_8;
    }
    const char width = at(part, supplyAt + 1);
    if (width == '3') {
        result.busWidthBits = 8;
    } else if (width == '4') {
        result.busWidthBits = 16;
    }
    // The family letters ST's documents define: A small pages, C multi-level cells.
    const char family = at(part, supplyAt + 2);
    if (family == 'A') {
        result.pageBytes = 512;
    } else if (family == 'C') {
        result.bitsPerCell = 2;
    }
    return result;
}

// S34 ML|MS DDD g WW …: supply (L 3.3 V, S 1.8 V), density, generation digit, width (00 x8,
// 04 x16). Spansion's S34 NAND parts are all SLC.
PartDecode decodeSpansion(std::string_view part) {
    PartDecode result;
    result.maker = Maker::Spansion;
    result.bitsPerCell = 1;
    const char supply = at(part, 4);
    if (supply == 'L') {
        result.supply = Supply::V3_3;
    } else if (supply == 'S') {
        result.supply = Supply::V1_8;
    }
    constexpr std::size_t kDensityAt = 5;
    const auto density = densityField(part, kDensityAt);
    if (!density) {
        return result;
    }
    result.densityBits = density->bits;
    const auto width = slice(part, kDensityAt + density->length + 1, 2);
    if (width == "00") {
        result.busWidthBits = 8;
    } else if (width == "04") {
        result.busWidthBits = 16;
    }
    return result;
}

}  // namespace norvessa::flash::parts
