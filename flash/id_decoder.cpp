#include "flash/id_decoder.h"

#include <cctype>
#include <stdexcept>

#include "flash/device_codes.h"

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

void decodeSamsungSixByte(std::span<const std::uint8_t> id, IdDecode& result) {
    const std::uint8_t extended = id[3];
    result.pageBytes = (2 * kKiB) << (extended & 0x03);
    result.spareBytes = samsungSpare(((extended >> 2) & 0x03) | ((extended >> 4) & 0x04));
    result.blockBytes = (128 * kKiB) << (((extended >> 4) & 0x03) | ((extended >> 5) & 0x04));
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

std::optional<std::uint32_t> hynixSpare(int code) {
    switch (code) {
        case 0:
            return 128;
        case 1:
            return 224;
        case 2:
            return 448;
        case 6:
            return 640;
        default:
            return std::nullopt;
    }
}

std::optional<EccRequirement> hynixEcc(int level, int technology) {
    if (technology < 3) {  // coarser than 26 nm
        if (level < 5) {
            return EccRequirement{1 << level, 512};
        }
        if (level == 5) {
            return EccRequirement{24, 2048};
        }
        if (level == 6) {
            return EccRequirement{24, 1024};
        }
        return std::nullopt;
    }
    if (level == 0) {
        return EccRequirement{0, 512};
    }
    if (level < 5) {
        return EccRequirement{1 << (level - 1), 512};
    }
    return EccRequirement{24 + 8 * (level - 5), 1024};
}

void decodeHynixSixByte(std::span<const std::uint8_t> id, IdDecode& result) {
    const std::uint8_t extended = id[3];
    result.pageBytes = (2 * kKiB) << (extended & 0x03);
    result.spareBytes = hynixSpare(((extended >> 2) & 0x03) | ((extended >> 4) & 0x04));
    const int blockField = (extended >> 4) & 0x03;
    if ((extended & 0x80) != 0) {
        result.blockBytes = kMiB << blockField;
    } else if (blockField == 3) {
        result.blockBytes = 768 * kKiB;
    } else {
        result.blockBytes = (128 * kKiB) << blockField;
    }
    result.ecc = hynixEcc((id[4] >> 4) & 0x07, id[5] & 0x07);
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

void decodeAfterCellByte(std::span<const std::uint8_t> id, const DeviceCode& device,
                         IdDecode& result) {
    const auto maker = result.maker;
    const bool multiLevel = result.bitsPerCell.value_or(1) > 1;
    const bool sixBytes = id.size() >= 6;
    if (device.micronOnfi) {
        result.pageBytes = kKiB << (id[3] & 0x03);
        result.scheme = "ONFI (Micron codes)";
        return;
    }
    bool genericLayout = false;
    if (maker == Maker::Samsung && sixBytes && multiLevel && id[5] != 0) {
        decodeSamsungSixByte(id, result);
    } else if (maker == Maker::Hynix && sixBytes && multiLevel) {
        decodeHynixSixByte(id, result);
    } else if ((maker == Maker::Toshiba || maker == Maker::SanDisk) && sixBytes && multiLevel) {
        result.scheme = "Toshiba 6-byte MLC/TLC (byte 4 not decoded)";
    } else if (multiLevel && id.size() < 5 &&
               (maker == Maker::Samsung || maker == Maker::Hynix || maker == Maker::Toshiba ||
                maker == Maker::SanDisk)) {
        // Four bytes of a multi-level part may be the start of a six-byte ID, whose fourth
        // byte these makers lay out differently: its page size cannot be read from them.
        result.scheme = "MLC/TLC, first four bytes only (byte 4 not decoded)";
        return;
    } else {
        decodeGenericFourthByte(id[3], result);
        genericLayout = true;
    }
    const bool planesInFifth =
        maker == Maker::Samsung || maker == Maker::Hynix || maker == Maker::Toshiba;
    if (id.size() >= 5 && planesInFifth) {
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
