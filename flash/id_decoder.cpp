#include "flash/id_decoder.h"

#include <cctype>
#include <stdexcept>

#include "flash/device_codes.h"
#include "flash/nand_3d_ids.h"

namespace norvessa::flash {

namespace {

constexpr std::uint32_t kKiB = 1024;
constexpr std::uint32_t kMiB = 1024 * 1024;

// Byte 3: dies per chip enable in bits 1:0, bits per cell less one in bits 3:2.
void decodeCellByte(std::uint8_t cell, IdDecode& result) {
    result.diesPerCe = 1 << (cell & 0x03);
    result.bitsPerCell = ((cell >> 2) & 0x03) + 1;
}

// Byte 4 in the layout that most makers kept from the first large-page parts on.
void decodeGenericFourthByte(std::uint8_t extended, IdDecode& result) {
    const std::uint32_t page = kKiB << (extended & 0x03);
    result.pageBytes = page;
    result.spareBytes = (8u << ((extended >> 2) & 0x01)) * (page / 512);
    result.blockBytes = (64 * kKiB) << ((extended >> 4) & 0x03);
    const int width = (extended & 0x40) != 0 ? 16 : 8;
    if (result.busWidthBits && *result.busWidthBits != width) {
        result.busWidthBits.reset();  // the device code and byte 4 disagree: trust neither
    } else {
        result.busWidthBits = width;
    }
    result.scheme = "generic 4th byte";
}

// Byte 5 bits 3:2: planes per chip enable (Samsung, Hynix, Toshiba).
void decodePlanes(std::uint8_t fifth, IdDecode& result) {
    result.planes = 1 << ((fifth >> 2) & 0x03);
}

std::optional<std::uint32_t> samsungSpare(int code) {
    switch (code) {
        case 1:
            return 128;
        case 2:
            return 218;
        case 3:
            return 400;
        case 4:
            return 436;
        case 5:
            return 512;
        case 6:
            return 640;
        case 7:
            return 1024;
        default:
            return std::nullopt;
    }
}

std::optional<std::string> samsungProcess(std::uint8_t sixth) {
    switch (sixth) {
        case 0x40:
            return "51nm";
        case 0x46:
            return "16nm";
        default:
            return std::nullopt;
    }
}

// The sixth byte of the Samsung 6-byte layout names the process; the table of the layout
// (K-sam, nand-facts c.5) covers 0x40 (51 nm) to 0x46 (16 nm), bit 7 marking Toggle parts. Later
// generations (0x47 on, e.g. EC 3A 94 C3 A4 CA, whose blocks are 16 MiB where the field reads
// 2 MiB) lay bytes 4 and 5 out otherwise.
bool samsungLayoutCovers(std::uint8_t sixth) {
    const int process = sixth & 0x7F;
    return process >= 0x40 && process <= 0x46;
}

void decodeSamsungSixByte(std::span<const std::uint8_t> id, IdDecode& result) {
    const std::uint8_t extended = id[3];
    if (!samsungLayoutCovers(id[5])) {
        result.scheme =
            "Samsung 6-byte, a generation after the published layout (bytes 4-5 not "
            "decoded)";
        return;
    }
    result.pageBytes = (2 * kKiB) << (extended & 0x03);
    result.spareBytes = samsungSpare(((extended >> 2) & 0x03) | ((extended >> 4) & 0x04));
    if (result.bitsPerCell.value_or(0) < 3) {
        // TLC blocks hold a page count that is no power of two (K9BDGD8U0M: 1.5 MiB), which
        // the field cannot say.
        result.blockBytes = (128 * kKiB) << (((extended >> 4) & 0x03) | ((extended >> 5) & 0x04));
    }
    const int level = (id[4] >> 4) & 0x07;
    if (level < 5) {
        result.ecc = EccRequirement{1 << level, 512};
    } else {
        constexpr int kStrengthPerKiB[] = {24, 40, 60};
        result.ecc = EccRequirement{kStrengthPerKiB[level - 5], 1024};
    }
    result.process = samsungProcess(id[5]);
    result.scheme = "Samsung 6-byte";
}

// Spare and ECC of the Hynix 6-byte layout come from one of two tables, chosen by whether the
// chip answers "JEDEC" to a Read ID at address 0x40 (Linux nand_hynix.c), which the ID bytes do
// not tell: H27UCG8T2E (AD DE 14 A7 42 4A) has 1664 spare bytes and 40 bits per KiB where the
// other table reads 224 and 16 per 512. Both stay unknown. Page and block are read only up to
// technology code 3 (byte 6 bits 2:0); among parts with code 4 one disagrees with the field
// (H27UBG8T2C, AD D7 94 91 60 44, has 8 KiB pages where it reads 4 KiB), so none is trusted.
void decodeHynixSixByte(std::span<const std::uint8_t> id, IdDecode& result) {
    const std::uint8_t extended = id[3];
    const int technology = id[5] & 0x07;
    if (technology > 3) {
        result.scheme = "Hynix 6-byte, technology code 4 or more (bytes 4-5 not decoded)";
        return;
    }
    result.pageBytes = (2 * kKiB) << (extended & 0x03);
    const int blockField = (extended >> 4) & 0x03;
    if ((extended & 0x80) != 0) {
        result.blockBytes = kMiB << blockField;
    } else if (blockField == 3) {
        result.blockBytes = 768 * kKiB;
    } else {
        result.blockBytes = (128 * kKiB) << blockField;
    }
    result.scheme = "Hynix 6-byte";
}

// Toshiba SLC byte 6 bits 2:0: process and the ECC it needs; byte 5 bit 7: on-die ECC.
void decodeToshibaSlcSixth(std::span<const std::uint8_t> id, IdDecode& result) {
    switch (id[5] & 0x07) {
        case 4:
            result.process = "43nm";
            result.ecc = EccRequirement{1, 512};
            break;
        case 5:
            result.process = "32nm";
            result.ecc = EccRequirement{4, 512};
            break;
        case 6:
            result.process = "24nm";
            result.ecc = EccRequirement{8, 512};
            break;
        default:
            break;
    }
    result.onDieEcc = (id[4] & 0x80) != 0;
    if (*result.onDieEcc) {
        result.ecc = EccRequirement{0, 512};
    }
}

// Micron's own codes give the page size in byte 4 bits 1:0 for their 34 and 25 nm parts (4 or
// 8 KiB); the 20 nm and later parts lay byte 4 out otherwise (MT29F64G08CBCDB, 2C 64 64 3C A5, has
// 16 KiB pages where the field reads 1 KiB), so other values stay unknown.
void decodeMicronOnfi(std::span<const std::uint8_t> id, IdDecode& result) {
    const std::uint32_t page = kKiB << (id[3] & 0x03);
    if (page == 4 * kKiB || page == 8 * kKiB) {
        result.pageBytes = page;
    }
    result.scheme = "ONFI (Micron codes)";
}

void decodeAfterCellByte(std::span<const std::uint8_t> id, const DeviceCode& device,
                         IdDecode& result) {
    const auto maker = result.maker;
    const bool multiLevel = result.bitsPerCell.value_or(1) > 1;
    const bool sixBytes = id.size() >= 6;
    if (device.micronOnfi) {
        decodeMicronOnfi(id, result);
        return;
    }
    const bool ownSixByteLayout = maker == Maker::Samsung || maker == Maker::Hynix ||
                                  maker == Maker::Toshiba || maker == Maker::SanDisk;
    bool genericLayout = false;
    if (maker == Maker::Samsung && sixBytes && multiLevel && id[5] != 0) {
        decodeSamsungSixByte(id, result);
    } else if (maker == Maker::Hynix && sixBytes && multiLevel) {
        decodeHynixSixByte(id, result);
    } else if ((maker == Maker::Toshiba || maker == Maker::SanDisk) && sixBytes && multiLevel) {
        result.scheme = "Toshiba 6-byte MLC/TLC (byte 4 not decoded)";
    } else if (multiLevel && !sixBytes && ownSixByteLayout) {
        // Four or five bytes of a multi-level part may be all of an old ID or the start of a
        // six-byte one, whose fourth byte these makers lay out differently (98 DE 94 82 76 is
        // an 8 KiB page where the generic layout reads 4 KiB): which one cannot be told.
        result.scheme = "MLC/TLC, first " + std::to_string(id.size()) +
                        " bytes only (byte 4 not decoded: old and six-byte layouts differ)";
    } else {
        decodeGenericFourthByte(id[3], result);
        genericLayout = true;
    }
    if (id.size() >= 5 && ownSixByteLayout && maker != Maker::SanDisk) {
        decodePlanes(id[4], result);
    }
    if (id.size() >= 5 && maker == Maker::Samsung && genericLayout) {
        // Bits 6:4 of the old layout: plane size, 64 Mbit << n.
        result.planeDensityBits = (std::uint64_t{64} * kMegabit) << ((id[4] >> 4) & 0x07);
    }
    if ((maker == Maker::Toshiba || maker == Maker::SanDisk) && sixBytes && !multiLevel) {
        // The six-byte SLC parts carry more spare than the generic spare bit can say.
        result.spareBytes.reset();
        decodeToshibaSlcSixth(id, result);
    }
}

// IDs whose generation the planar layouts do not cover: what is certain is the maker at most.
std::optional<std::string> uncoveredGeneration(std::span<const std::uint8_t> id,
                                               std::optional<Maker> maker) {
    if (id[0] == 0x9B) {
        return "maker code 9B (ATO in Linux's table, YMTC in SSD tools): YMTC's 3D IDs follow "
               "no published layout, so nothing is decoded";
    }
    const bool micronDies =
        maker == Maker::Micron || maker == Maker::Intel || maker == Maker::SpecTek;
    if (micronDies && id.size() >= 4 && id[3] == 0x32) {
        return "Micron/Intel 3D generation (byte 4 = 32): the device code is not the planar "
               "table's and bytes 2-6 follow no published layout, so nothing is decoded";
    }
    if (micronDies && id.size() >= 3 && ((id[2] >> 2) & 0x03) >= 2 &&
        !deviceCodeOf(maker, id[1]).value_or(DeviceCode{}).micronOnfi) {
        return "Micron/Intel TLC or QLC under a planar device code: Micron's planar TLC used "
               "its own codes, so this is a 3D generation whose layout is not published";
    }
    if (id.size() >= 5 && id[3] == 0x32 && id[4] == 0x00) {
        return "a later generation's ID (bytes 4-5 = 32 00, the SSD-era layout), not decoded";
    }
    return std::nullopt;
}

std::optional<std::uint8_t> hexByte(char high, char low) {
    const auto nibble = [](char c) -> int {
        if (c >= '0' && c <= '9') {
            return c - '0';
        }
        const char lower = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (lower >= 'a' && lower <= 'f') {
            return lower - 'a' + 10;
        }
        return -1;
    };
    const int h = nibble(high);
    const int l = nibble(low);
    if (h < 0 || l < 0) {
        return std::nullopt;
    }
    return static_cast<std::uint8_t>(h * 16 + l);
}

// One blank-free token: "EC", "15/10", or a run of pairs "ECD794".
bool appendToken(std::string_view token, IdPattern& pattern) {
    const bool hasAlternatives = token.find('/') != std::string_view::npos;
    if (hasAlternatives) {
        std::vector<std::uint8_t> alternatives;
        std::size_t position = 0;
        for (;;) {
            if (position + 2 > token.size()) {
                return false;
            }
            const auto value = hexByte(token[position], token[position + 1]);
            if (!value) {
                return false;
            }
            alternatives.push_back(*value);
            position += 2;
            if (position == token.size()) {
                break;
            }
            if (token[position] != '/') {
                return false;
            }
            ++position;
        }
        pattern.positions.push_back(std::move(alternatives));
        return true;
    }
    if (token.size() % 2 != 0) {
        return false;
    }
    for (std::size_t position = 0; position < token.size(); position += 2) {
        const auto value = hexByte(token[position], token[position + 1]);
        if (!value) {
            return false;
        }
        pattern.positions.push_back({*value});
    }
    return true;
}

template <typename T>
void keepIfAgreed(std::optional<T>& merged, const std::optional<T>& other) {
    if (merged != other) {
        merged.reset();
    }
}

}  // namespace

IdDecode decodeId(std::span<const std::uint8_t> id) {
    if (id.size() < kMinIdBytes || id.size() > kMaxIdBytes) {
        throw std::invalid_argument("an ID has 2 to 8 bytes, not " + std::to_string(id.size()));
    }
    IdDecode result;
    result.maker = makerOfCode(id[0]);
    if (const auto known = nand3dIdOf(id)) {
        result.bitsPerCell = known->bitsPerCell;
        result.ceDensityBits = known->ceMegabits * kMegabit;
        if (known->diesPerCe > 0) {
            result.diesPerCe = known->diesPerCe;
            result.dieDensityBits =
                *result.ceDensityBits / static_cast<std::uint64_t>(known->diesPerCe);
        }
        result.scheme = "3D NAND table: " + std::string(known->generation);
        return result;
    }
    if (auto uncovered = uncoveredGeneration(id, result.maker)) {
        result.scheme = std::move(*uncovered);
        return result;
    }
    const auto device = deviceCodeOf(result.maker, id[1]);
    if (!device) {
        result.scheme = "unknown device code";
        return result;
    }
    result.ceDensityBits = device->ceDensityBits;
    result.supply = device->supply;
    result.busWidthBits = device->busWidthBits;
    if (device->smallPage) {
        result.scheme = "small page";
        result.bitsPerCell = 1;
        result.pageBytes = 512;
        result.spareBytes = 16;
        result.blockBytes = 16 * kKiB;
        return result;
    }
    result.scheme = "device code";
    if (id.size() < 3) {
        return result;
    }
    decodeCellByte(id[2], result);
    result.dieDensityBits = device->ceDensityBits / static_cast<std::uint64_t>(*result.diesPerCe);
    if (id.size() < 4) {
        return result;
    }
    decodeAfterCellByte(id, *device, result);
    return result;
}

std::optional<IdPattern> parseIdText(std::string_view text) {
    IdPattern pattern;
    std::size_t position = 0;
    while (position < text.size()) {
        if (text[position] == ' ' || text[position] == '\t') {
            ++position;
            continue;
        }
        const auto end = text.find_first_of(" \t", position);
        const auto token =
            text.substr(position, end == std::string_view::npos ? end : end - position);
        if (!appendToken(token, pattern)) {
            return std::nullopt;
        }
        position += token.size();
    }
    if (pattern.positions.size() < kMinIdBytes || pattern.positions.size() > kMaxIdBytes) {
        return std::nullopt;
    }
    std::size_t combinations = 1;
    for (const auto& alternatives : pattern.positions) {
        combinations *= alternatives.size();
        if (combinations > kMaxIdAlternatives) {
            return std::nullopt;
        }
    }
    return pattern;
}

std::vector<std::vector<std::uint8_t>> expandIdPattern(const IdPattern& pattern) {
    std::vector<std::vector<std::uint8_t>> ids(1);
    for (const auto& alternatives : pattern.positions) {
        std::vector<std::vector<std::uint8_t>> longer;
        longer.reserve(ids.size() * alternatives.size());
        for (const auto& prefix : ids) {
            for (const auto value : alternatives) {
                longer.push_back(prefix);
                longer.back().push_back(value);
            }
        }
        ids = std::move(longer);
    }
    return ids;
}

IdDecode decodeIdPattern(const IdPattern& pattern) {
    const auto ids = expandIdPattern(pattern);
    IdDecode merged = decodeId(ids.front());
    for (std::size_t i = 1; i < ids.size(); ++i) {
        const IdDecode other = decodeId(ids[i]);
        keepIfAgreed(merged.maker, other.maker);
        keepIfAgreed(merged.bitsPerCell, other.bitsPerCell);
        keepIfAgreed(merged.pageBytes, other.pageBytes);
        keepIfAgreed(merged.spareBytes, other.spareBytes);
        keepIfAgreed(merged.blockBytes, other.blockBytes);
        keepIfAgreed(merged.planes, other.planes);
        keepIfAgreed(merged.planeDensityBits, other.planeDensityBits);
        keepIfAgreed(merged.diesPerCe, other.diesPerCe);
        keepIfAgreed(merged.ceDensityBits, other.ceDensityBits);
        keepIfAgreed(merged.dieDensityBits, other.dieDensityBits);
        keepIfAgreed(merged.busWidthBits, other.busWidthBits);
        keepIfAgreed(merged.supply, other.supply);
        keepIfAgreed(merged.ecc, other.ecc);
        keepIfAgreed(merged.onDieEcc, other.onDieEcc);
        keepIfAgreed(merged.process, other.process);
        if (merged.scheme != other.scheme) {
            merged.scheme = "mixed";
        }
    }
    return merged;
}

}  // namespace norvessa::flash
