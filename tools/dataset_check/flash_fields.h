#pragma once

// The value shapes of the data set's detail columns, read into numbers for the checks. Each reader
// returns nothing for text of another shape; callers tell empty (unknown) from malformed.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace norvessa::dataset::check {

// 容量: "8GB", "512MB"; in bits.
std::optional<std::uint64_t> capacityBits(std::string_view text);

// 类型: "MLC-4K", "SLC-512", or the cell alone ("MLC").
struct CellType {
    int bitsPerCell = 0;
    std::optional<std::uint32_t> pageBytes;
};
std::optional<CellType> cellType(std::string_view text);

// 位宽: "8bit", "16bit", "8bit DDR".
struct BusWidth {
    int bits = 0;
    bool ddr = false;
};
std::optional<BusWidth> busWidth(std::string_view text);

// 片选: "1CE" … "8CE".
std::optional<int> chipEnables(std::string_view text);

// ECC纠错: "4b/512B", "24b/1KB", "Error Free" (0 bits); as bits per 1KB of data, rounded up.
std::optional<int> eccBitsPerKiB(std::string_view text);

// Blanks, tabs and line breaks removed from both ends, as controller cells carry CR LF.
std::string_view trimmed(std::string_view text);

// "8GB", "512MB", "1.5GB" for a size in bits.
std::string capacityText(std::uint64_t bits);

}  // namespace norvessa::dataset::check
