#pragma once

// 3D NAND IDs whose geometry public decoders give. From the 3D generations on, the makers
// reuse the device codes of the planar table for other densities (Micron's 2C C3 08 32 E6 is a
// 512 Gbit TLC die, not 8 Gbit x16) and lay bytes 3 to 6 out per generation, so the generic
// layout does not apply: the decoder gives only what an entry here says, and "unknown" for a
// 3D ID no entry names.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace norvessa::flash {

struct Nand3dId {
    std::array<std::uint8_t, 5> id;  // the first five bytes, which the sources compare
    int bitsPerCell;
    int diesPerCe;  // 0 where the source gives none
    std::uint64_t ceMegabits;
    std::string_view generation;  // "Intel N38A 144L"
    std::string_view source;
};

// The entry whose five bytes begin `id`; nothing for fewer than five bytes or no entry.
std::optional<Nand3dId> nand3dIdOf(std::span<const std::uint8_t> id);

}  // namespace norvessa::flash
