// Published part numbers decoded field by field, ordering codes against their base parts.
#include <gtest/gtest.h>

#include "flash/part_number.h"

namespace norvessa::flash {
namespace {

constexpr std::uint64_t kGbit = kGigabit;

TEST(PartNumber, Samsung) {
    const PartDecode stack = decodePartNumber("K9HCG08U5M");
    EXPECT_EQ(stack.maker, Maker::Samsung);
    EXPECT_EQ(stack.bitsPerCell, 2);
    EXPECT_EQ(stack.dies, 4);
    EXPECT_EQ(stack.densityBits, 64 * kGbit);
    EXPECT_EQ(stack.busWidthBits, 8);
    EXPECT_EQ(stack.supply, Supply::V3_3);
    EXPECT_EQ(stack.chipEnables, 4);
    EXPECT_EQ(stack.generation, 1);
    EXPECT_EQ(stack.ddrInterface, false);
    const PartDecode mono = decodePartNumber("K9GAG08U0M-PCB0");
    EXPECT_EQ(mono, decodePartNumber("k9gag08u0m"));
    EXPECT_EQ(mono.densityBits, 16 * kGbit);
    EXPECT_EQ(mono.dies, 1);
    EXPECT_EQ(mono.chipEnables, std::nullopt);  // mode 0 says nothing
    const PartDecode toggle = decodePartNumber("K9HCGD8U5E");
    EXPECT_EQ(toggle.ddrInterface, true);
    EXPECT_EQ(toggle.generation, 6);
    EXPECT_EQ(decodePartNumber("K9F1G08Q0M").supply, Supply::V1_8);
}

TEST(PartNumber, HynixCurrentAndLegacyForms) {
    const PartDecode mono = decodePartNumber("H27UBG8T2ATR-BC");
    EXPECT_EQ(mono, decodePartNumber("H27UBG8T2A"));
    EXPECT_EQ(mono.maker, Maker::Hynix);
    EXPECT_EQ(mono.supply, Supply::V3_3);
    EXPECT_EQ(mono.densityBits, 32 * kGbit);
    EXPECT_EQ(mono.busWidthBits, 8);
    EXPECT_EQ(mono.bitsPerCell, 2);
    EXPECT_EQ(mono.dies, 1);
    EXPECT_EQ(mono.chipEnables, 1);
    EXPECT_EQ(mono.generation, 2);
    EXPECT_EQ(decodePartNumber("H27UCG8U5A").chipEnables, 2);
    const PartDecode quad = decodePartNumber("H27UDG8VFA");
    EXPECT_EQ(quad.dies, 4);
    EXPECT_EQ(quad.chipEnables, 4);
    const PartDecode legacy = decodePartNumber("HY27UT088G2A");
    EXPECT_EQ(legacy.bitsPerCell, 2);
    EXPECT_EQ(legacy.busWidthBits, 8);
    EXPECT_EQ(legacy.densityBits, 8 * kGbit);
    EXPECT_EQ(legacy.chipEnables, 1);
    EXPECT_EQ(legacy.generation, 2);
    EXPECT_EQ(decodePartNumber("HY27US08561A").densityBits, 256 * kMegabit);
}

TEST(PartNumber, ToshibaAndSanDisk) {
    const PartDecode toshiba = decodePartNumber("TC58NVG3D1DTG00");
    EXPECT_EQ(toshiba.maker, Maker::Toshiba);
    EXPECT_EQ(toshiba.densityBits, 8 * kGbit);
    EXPECT_EQ(toshiba.bitsPerCell, 2);
    EXPECT_EQ(toshiba.pageBytes, 4096u);
    EXPECT_EQ(toshiba.blockBytes, 512u * 1024);
    EXPECT_EQ(toshiba.busWidthBits, 8);
    EXPECT_EQ(toshiba.process, "56nm");
    EXPECT_EQ(toshiba.chipEnables, std::nullopt);
    EXPECT_EQ(toshiba.dies, 1);
    const PartDecode multi = decodePartNumber("TH58NVG5D2ETA20");
    EXPECT_EQ(multi.chipEnables, std::nullopt);
    EXPECT_EQ(multi.dies, std::nullopt);
    EXPECT_EQ(multi.pageBytes, std::nullopt);  // geometry digit 2: larger than 4K
    const PartDecode sandisk = decodePartNumber("SDTNRCAMA-008G");
    EXPECT_EQ(sandisk.maker, Maker::SanDisk);
    EXPECT_EQ(sandisk.bitsPerCell, 3);
    EXPECT_EQ(sandisk.dies, 1);
    EXPECT_EQ(sandisk.process, "1Ynm");
    EXPECT_EQ(sandisk.densityBits, 64 * kGbit);
    EXPECT_EQ(sandisk.busWidthBits, std::nullopt);
    EXPECT_EQ(decodePartNumber("SDTNQCAMA_004G").densityBits, 32 * kGbit);
    // The older ten-letter names follow no form a document gives.
    EXPECT_EQ(decodePartNumber("SDTNPNAHEM-008G"), PartDecode{});
}

TEST(PartNumber, MicronAndIntel) {
    const PartDecode micron = decodePartNumber("MT29F64G08CBAAAWP");
    EXPECT_EQ(micron, decodePartNumber("MT29F64G08CBAAA"));
    EXPECT_EQ(micron.maker, Maker::Micron);
    EXPECT_EQ(micron.densityBits, 64 * kGbit);
    EXPECT_EQ(micron.busWidthBits, 8);
    EXPECT_EQ(micron.bitsPerCell, 2);
    EXPECT_EQ(micron.dies, 1);
    EXPECT_EQ(micron.chipEnables, 1);
    EXPECT_EQ(micron.ddrInterface, false);
    EXPECT_EQ(decodePartNumber("MT29F128G08CFAAA").chipEnables, 2);
    // Pre-2009 parts: a configuration letter for cell, dies and chip enables.
    const PartDecode older = decodePartNumber("MT29F16G08MAA");
    EXPECT_EQ(older.bitsPerCell, 2);
    EXPECT_EQ(older.chipEnables, 1);
    EXPECT_EQ(older.generation, 1);
    EXPECT_EQ(decodePartNumber("MT29F4G08AAAWP").bitsPerCell, 1);
    EXPECT_EQ(decodePartNumber("MT29F32G08TAA").dies, 4);
    EXPECT_EQ(decodePartNumber("MT29F64G08"), PartDecode{});  // a bare density is no part
    const PartDecode intel = decodePartNumber("JS29F32G08AAMD1");
    EXPECT_EQ(intel.maker, Maker::Intel);
    EXPECT_EQ(intel.densityBits, 32 * kGbit);
    EXPECT_EQ(intel.dies, 1);
    EXPECT_EQ(intel.chipEnables, std::nullopt);  // no Intel document gives them
    EXPECT_EQ(intel.bitsPerCell, 2);
    EXPECT_EQ(intel.process, "34nm");
    EXPECT_EQ(decodePartNumber("JS29F64G08CAMD1").dies, 2);
    const PartDecode big = decodePartNumber("JS29F16B08JAMD1");
    EXPECT_EQ(big.densityBits, 128 * kGbit);
    EXPECT_EQ(big.dies, 4);
    EXPECT_EQ(decodePartNumber("29F64G08CBAAA"), PartDecode{});  // Micron's letters, no prefix
}

TEST(PartNumber, StNumonyxAndSpansion) {
    const PartDecode st = decodePartNumber("NAND01GW3B2B");
    EXPECT_EQ(st.maker, Maker::StNumonyx);
    EXPECT_EQ(st.densityBits, kGbit);
    EXPECT_EQ(st.supply, Supply::V3_3);
    EXPECT_EQ(st.busWidthBits, 8);
    EXPECT_EQ(st.pageBytes, std::nullopt);
    EXPECT_EQ(decodePartNumber("NAND512W3A2S").pageBytes, 512u);
    EXPECT_EQ(decodePartNumber("NAND08GW3C2B").bitsPerCell, 2);
    const PartDecode spansion = decodePartNumber("S34ML01G100TFI000");
    EXPECT_EQ(spansion.maker, Maker::Spansion);
    EXPECT_EQ(spansion.densityBits, kGbit);
    EXPECT_EQ(spansion.busWidthBits, 8);
    EXPECT_EQ(spansion.bitsPerCell, 1);
    EXPECT_EQ(spansion.generation, std::nullopt);
}

TEST(PartNumber, NamesOfNoSchemesFormReadAsNothing) {
    EXPECT_EQ(decodePartNumber("XYZ12345"), PartDecode{});
    EXPECT_EQ(decodePartNumber(""), PartDecode{});
    for (const char* part : {"K9", "HY27", "H27", "TC58", "SDTN", "MT29F", "JS29F", "NAND", "S34ML",
                             "K9XXG08UXM", "K9GBG08U0X9"}) {
        EXPECT_EQ(decodePartNumber(part), PartDecode{}) << part;
    }
}

}  // namespace
}  // namespace norvessa::flash
