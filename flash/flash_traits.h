#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace norvessa::flash {

// Supply voltages as the part-number and device-code schemes name them.
enum class Supply {
    V3_3,            // 2.7-3.6 V or 3.3 V
    V1_8,            // 1.8 V
    V3_3CoreV1_8Io,  // 3.3 V core with 1.8 V I/O
};

std::string_view supplyText(Supply supply);

// Bits of error correction the chip needs per sector of `sectorBytes` data bytes; 0 bits for a
// chip that corrects its own errors.
struct EccRequirement {
    int bits = 0;
    int sectorBytes = 0;

    friend bool operator==(const EccRequirement&, const EccRequirement&) = default;
};

// "SLC", "MLC", "TLC" or "QLC" for 1 to 4 bits per cell; empty for any other count.
std::string_view cellName(int bitsPerCell);

// Bits per cell of a cell name ("SLC" 1 … "QLC" 4), case-sensitive.
std::optional<int> bitsPerCellOfName(std::string_view name);

inline constexpr std::uint64_t kGigabit = std::uint64_t{1} << 30;
inline constexpr std::uint64_t kMegabit = std::uint64_t{1} << 20;

}  // namespace norvessa::flash
