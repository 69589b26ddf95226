#pragma once

// Decodes NAND ID bytes (the answer to the Read ID command 0x90) by each maker's published
// scheme. Every field is optional: a field that the scheme in use does not give, or does not
// give with certainty, stays empty ("unknown") and is never filled with a typical value.
//
// Which scheme applies depends on the maker and on the length and shape of the ID:
// - byte 1 is the JEDEC maker code, byte 2 the device code, which gives the density per chip
//   enable, the supply and often the bus width; old small-page devices (0x73, 0x75, …) have a
//   fixed geometry and no further ID bytes in the extended layout;
// - byte 3 gives dies per chip enable (bits 1:0) and bits per cell (bits 3:2, plus one);
// - byte 4 in the generic layout gives page, spare per 512 bytes, block and bus width;
//   Samsung MLC/TLC parts with a sixth byte that is not zero, and Hynix MLC/TLC parts with six
//   bytes, use their own layout of bytes 4 to 6 (page, spare, block, ECC, process);
// - Toshiba and SanDisk MLC/TLC parts with six bytes code byte 4 in a way that the generic
//   layout misreads, so their geometry stays unknown; their SLC parts give process and ECC in
//   byte 6;
// - Micron and Intel parts with Micron's own device codes (ONFI, 34 nm and later) give the page
//   size in byte 4 (4 or 8 KiB) and nothing else: block and spare come from the ONFI parameter
//   page.
// What stays unknown because the layout is not certain:
// - four or five bytes of a Samsung, Hynix, Toshiba or SanDisk multi-level part: they may be a
//   whole old ID or the start of a six-byte one, and the two layouts read byte 4 differently;
// - a Samsung sixth byte after the published processes (0x40-0x46, bit 7 aside); the block of
//   Samsung TLC parts;
// - Hynix spare and ECC (two tables, chosen by a second Read ID the bytes do not carry), and
//   Hynix page and block from technology code 4 on;
// - 3D NAND: IDs in the table of flash/nand_3d_ids.h give what their sources give (density per
//   chip enable, dies, cell); Micron/Intel IDs with byte 4 = 0x32 or TLC/QLC under a planar
//   code, YMTC's 9B IDs, and "32 00" in bytes 4-5 decode to the maker at most.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "flash/flash_traits.h"
#include "flash/maker.h"

namespace norvessa::flash {

struct IdDecode {
    std::optional<Maker> maker;
    // Which layout the bytes after the device code were read by, e.g. "generic 4th byte",
    // "Samsung 6-byte"; "mixed" when alternatives of a pattern were read by different ones.
    std::string scheme;
    std::optional<int> bitsPerCell;
    std::optional<std::uint32_t> pageBytes;         // data bytes per page, spare not counted
    std::optional<std::uint32_t> spareBytes;        // spare bytes per page
    std::optional<std::uint32_t> blockBytes;        // data bytes per erase block
    std::optional<int> planes;                      // planes per chip enable
    std::optional<std::uint64_t> planeDensityBits;  // old Samsung 5th byte only
    std::optional<int> diesPerCe;
    std::optional<std::uint64_t> ceDensityBits;   // from the device code
    std::optional<std::uint64_t> dieDensityBits;  // ceDensityBits / diesPerCe
    std::optional<int> busWidthBits;              // 8 or 16
    std::optional<Supply> supply;
    std::optional<EccRequirement> ecc;
    std::optional<bool> onDieEcc;        // Toshiba BENAND: the chip corrects its own errors
    std::optional<std::string> process;  // "51nm", "24nm"

    friend bool operator==(const IdDecode&, const IdDecode&) = default;
};

inline constexpr std::size_t kMinIdBytes = 2;
inline constexpr std::size_t kMaxIdBytes = 8;

// Decodes 2 to 8 ID bytes; throws std::invalid_argument for any other count.
IdDecode decodeId(std::span<const std::uint8_t> bytes);

// ID bytes as a data set or a detection tool writes them, where a byte may have alternatives:
// "EC F1 80 15/10" holds two IDs that differ in byte 4.
struct IdPattern {
    std::vector<std::vector<std::uint8_t>> positions;  // each position's alternatives, in order
};

// Reads "EC D3 14 A5", "ec d3 14 a5", "EC F1 80 15/10" (blank-separated pairs, a pair may
// carry "/" alternatives) or a bare run "ECD7947A5443". Case and extra blanks are ignored.
// Nothing for other text, for fewer than 2 or more than 8 bytes, or for a pattern that stands for
// more than kMaxIdAlternatives IDs.
std::optional<IdPattern> parseIdText(std::string_view text);

inline constexpr std::size_t kMaxIdAlternatives = 256;

// Every ID a pattern stands for, in order (the first alternative of each byte first).
std::vector<std::vector<std::uint8_t>> expandIdPattern(const IdPattern& pattern);

// Decodes every ID a pattern stands for and keeps a field only where all of them agree on it.
IdDecode decodeIdPattern(const IdPattern& pattern);

}  // namespace norvessa::flash
