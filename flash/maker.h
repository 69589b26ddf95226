#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace norvessa::flash {

// NAND makers the decoders know by their JEDEC maker code (the first ID byte).
enum class Maker {
    Samsung,
    Hynix,
    Toshiba,
    SanDisk,
    Micron,
    Intel,
    StNumonyx,
    Spansion,
    SpecTek,
    Renesas,
    Fujitsu,
    National,
    Macronix,
    Winbond,
    Infineon,
    Qimonda,
    Smic,
    Fidelix,
};

// The maker whose code `code` is. Codes that several makers share (0x92, 0x9B, 0xC8) give no
// maker, because the first byte alone cannot tell them apart.
std::optional<Maker> makerOfCode(std::uint8_t code);

// The maker's English name, e.g. "Samsung", "ST/Numonyx".
std::string_view makerName(Maker maker);

// The maker a brand text names by its first word, case-insensitively: "Samsung 三星",
// "SK Hynix 海力士", "Numonyx 恒忆", "ST 意法". Nothing for a word no maker goes by.
std::optional<Maker> makerOfBrand(std::string_view brand);

}  // namespace norvessa::flash
