#pragma once

#include <cstdint>
#include <optional>

#include "flash/flash_traits.h"
#include "flash/maker.h"

namespace norvessa::flash {

// What the second ID byte says on its own.
struct DeviceCode {
    std::uint64_t ceDensityBits = 0;
    std::optional<Supply> supply;
    std::optional<int> busWidthBits;
    // Old 512-byte-page devices: one byte gives everything, and later ID bytes follow no layout.
    bool smallPage = false;
    // Micron's own codes for its 34 nm and later ONFI parts (also sold by Intel).
    bool micronOnfi = false;
};

// The device code `code` of a part from `maker`; nothing for a code no table gives.
std::optional<DeviceCode> deviceCodeOf(std::optional<Maker> maker, std::uint8_t code);

}  // namespace norvessa::flash
