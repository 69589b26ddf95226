#include "drive/units.h"

#include <array>
#include <cstdio>
#include <string_view>

namespace norvessa::drive {

std::string sizeText(std::uint64_t bytes) {
    constexpr std::array<std::string_view, 5> kUnits = {"KiB", "MiB", "GiB", "TiB", "PiB"};
    if (bytes < 1024) {
        return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
    }
    std::uint64_t unit = 1024;
    std::size_t index = 0;
    while (index + 1 < kUnits.size() && bytes / unit >= 1024) {
        unit *= 1024;
        ++index;
    }
    if (bytes % unit == 0) {
        return std::to_string(bytes / unit) + " " + std::string(kUnits[index]);
    }
    // Tenths, rounded down, so that a size is never shown larger than it is.
    const std::uint64_t tenths = bytes / (unit / 10 == 0 ? 1 : unit / 10);
    std::array<char, 48> text{};
    std::snprintf(text.data(), text.size(), "%llu.%llu %s",
                  static_cast<unsigned long long>(tenths / 10),
                  static_cast<unsigned long long>(tenths % 10), std::string(kUnits[index]).c_str());
    return text.data();
}

std::string densityText(std::uint64_t bits) {
    constexpr std::uint64_t kMegabit = std::uint64_t{1} << 20;
    constexpr std::uint64_t kGigabit = std::uint64_t{1} << 30;
    if (bits >= kGigabit && bits % kGigabit == 0) {
        return std::to_string(bits / kGigabit) + " Gbit";
    }
    if (bits % kMegabit == 0) {
        return std::to_string(bits / kMegabit) + " Mbit";
    }
    return std::to_string(bits) + " bit";
}

std::string hexText(std::uint64_t value, int digits) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    while (value != 0 || digits > 0) {
        text.insert(text.begin(), kDigits[value & 0x0F]);
        value >>= 4;
        --digits;
    }
    return text;
}

std::string idText(std::span<const std::uint8_t> bytes) {
    std::string text;
    for (const std::uint8_t byte : bytes) {
        if (!text.empty()) {
            text += ' ';
        }
        text += hexText(byte, 2);
    }
    return text;
}

std::string idRun(std::span<const std::uint8_t> bytes) {
    std::string text = idText(bytes);
    std::erase(text, ' ');
    return text;
}

}  // namespace norvessa::drive
