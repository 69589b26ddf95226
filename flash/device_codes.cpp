#include "flash/device_codes.h"

#include <algorithm>
#include <array>

namespace norvessa::flash {

namespace {

struct DensityCode {
    std::uint8_t code;
    std::uint32_t megabits;
};

// Large-page devices (extended ID), x8 at 3.3 V, and their 1.8 V and x16 counterparts, which
// share one density per column position.
constexpr std::array<std::uint32_t, 10> kDensitiesMegabits = {1024,  2048,  4096,   8192,   16384,
                                                              32768, 65536, 131072, 262144, 524288};
constexpr std::array<std::uint8_t, 10> kX8V33 = {0xF1, 0xDA, 0xDC, 0xD3, 0xD5,
                                                 0xD7, 0xDE, 0x3A, 0x3C, 0x3E};
constexpr std::array<std::uint8_t, 10> kX8V18 = {0xA1, 0xAA, 0xAC, 0xA3, 0xA5,
                                                 0xA7, 0xAE, 0x1A, 0x1C, 0x1E};
constexpr std::array<std::uint8_t, 10> kX16V18 = {0xB1, 0xBA, 0xBC, 0xB3, 0xB5,
                                                  0xB7, 0xBE, 0x2A, 0x2C, 0x2E};
constexpr std::array<std::uint8_t, 10> kX16V33 = {0xC1, 0xCA, 0xCC, 0xC3, 0xC5,
                                                  0xC7, 0xCE, 0x4A, 0x4C, 0x4E};

// Small-page devices, x8 at 3.3 V.
constexpr std::array<DensityCode, 5> kSmallPage = {{
    {0x73, 128},
    {0x75, 256},
    {0x76, 512},
    {0x79, 1024},
    {0x71, 2048},
}};

// Micron's codes from 34 nm on; per chip enable.
constexpr std::array<DensityCode, 6> kMicronOnfi = {{
    {0x48, 16384},
    {0x68, 32768},
    {0x88, 65536},
    {0xA8, 131072},
    {0x44, 32768},
    {0x64, 65536},
}};

std::optional<std::uint32_t> columnDensity(const std::array<std::uint8_t, 10>& column,
                                           std::uint8_t code) {
    const auto* found = std::find(column.begin(), column.end(), code);
    if (found == column.end()) {
        return std::nullopt;
    }
    return kDensitiesMegabits[static_cast<std::size_t>(found - column.begin())];
}

bool buildsMicronDies(std::optional<Maker> maker) {
    return maker == Maker::Micron || maker == Maker::Intel || maker == Maker::SpecTek;
}

}  // namespace

std::optional<DeviceCode> deviceCodeOf(std::optional<Maker> maker, std::uint8_t code) {
    DeviceCode device;
    if (code == 0xD1) {
        device.ceDensityBits = kGigabit;
        device.supply = Supply::V3_3;
        device.busWidthBits = 8;
        return device;
    }
    struct Column {
        const std::array<std::uint8_t, 10>* codes;
        Supply supply;
        int width;
    };
    const std::array<Column, 4> columns = {{{&kX8V33, Supply::V3_3, 8},
                                            {&kX8V18, Supply::V1_8, 8},
                                            {&kX16V18, Supply::V1_8, 16},
                                            {&kX16V33, Supply::V3_3, 16}}};
    for (const auto& column : columns) {
        if (const auto megabits = columnDensity(*column.codes, code)) {
            device.ceDensityBits = std::uint64_t{*megabits} * kMegabit;
            device.supply = column.supply;
            device.busWidthBits = column.width;
            return device;
        }
    }
    for (const auto& entry : kSmallPage) {
        if (entry.code == code) {
            device.ceDensityBits = std::uint64_t{entry.megabits} * kMegabit;
            device.supply = Supply::V3_3;
            device.busWidthBits = 8;
            device.smallPage = true;
            return device;
        }
    }
    if (buildsMicronDies(maker)) {
        for (const auto& entry : kMicronOnfi) {
            if (entry.code == code) {
                device.ceDensityBits = std::uint64_t{entry.megabits} * kMegabit;
                device.micronOnfi = true;
                return device;
            }
        }
    }
    return std::nullopt;
}

}  // namespace norvessa::flash
