// Real IDs from datasheets' Read-ID tables and public NAND ID tables, one or more per maker.
#include <gtest/gtest.h>

#include <stdexcept>

#include "flash/id_decoder.h"

namespace norvessa::flash {
namespace {

constexpr std::uint64_t kGbit = kGigabit;

IdDecode decodeText(std::string_view text) {
    const auto pattern = parseIdText(text);
    EXPECT_TRUE(pattern.has_value()) << text;
    return pattern ? decodeIdPattern(*pattern) : IdDecode{};
}

TEST(IdDecoder, SamsungOldLayoutGivesGeometryAndPlaneSize) {
    // K9F1G08U0D (datasheet Read ID table): 1 Gbit SLC, 2K pages, 128K blocks, one plane of
    // 1 Gbit.
    const IdDecode id = decodeText("EC F1 00 15 40");
    EXPECT_EQ(id.maker, Maker::Samsung);
    EXPECT_EQ(id.scheme, "generic 4th byte");
    EXPECT_EQ(id.bitsPerCell, 1);
    EXPECT_EQ(id.diesPerCe, 1);
    EXPECT_EQ(id.ceDensityBits, kGbit);
    EXPECT_EQ(id.pageBytes, 2048u);
    EXPECT_EQ(id.spareBytes, 64u);
    EXPECT_EQ(id.blockBytes, 128u * 1024);
    EXPECT_EQ(id.busWidthBits, 8);
    EXPECT_EQ(id.planes, 1);
    EXPECT_EQ(id.planeDensityBits, kGbit);
    EXPECT_EQ(id.ecc, std::nullopt);
    EXPECT_EQ(id.process, std::nullopt);
}

TEST(IdDecoder, FiveByteMultiLevelIdsLeaveTheFourthByteUndecoded) {
    // K9GAG08U0M (EC D5 14 B6 74) is a whole five-byte ID, but five bytes of a multi-level
    // part may as well begin a six-byte one (98 DE 94 82 76 ..., TC58NVG6D2: 8K pages and 2M
    // blocks where the generic layout reads 4K and 64K): page and block stay unknown.
    for (const char* text :
         {"EC D5 14 B6 74", "98 DE 94 82 76", "EC D7 94 7A 54", "AD D7 94 9A 74"}) {
        const IdDecode id = decodeText(text);
        EXPECT_EQ(id.pageBytes, std::nullopt) << text;
        EXPECT_EQ(id.blockBytes, std::nullopt) << text;
        EXPECT_EQ(id.spareBytes, std::nullopt) << text;
        EXPECT_EQ(id.bitsPerCell, 2) << text;
        EXPECT_NE(id.scheme.find("first 5 bytes only"), std::string::npos) << text;
    }
    EXPECT_EQ(decodeText("EC D5 14 B6 74").ceDensityBits, 16 * kGbit);
    EXPECT_EQ(decodeText("EC D5 14 B6 74").planes, 2);
}

TEST(IdDecoder, ThreeDimensionalIdsAreTableEntriesOrUnknown) {
    // Intel N38A (fdnext): 1 Tbit QLC per chip enable, one die; the planar table would read
    // 89 D3 as 8 Gbit.
    const IdDecode intel = decodeText("89 D3 AC 32 C6 00");
    EXPECT_EQ(intel.maker, Maker::Intel);
    EXPECT_EQ(intel.ceDensityBits, 1024 * kGbit);
    EXPECT_EQ(intel.bitsPerCell, 4);
    EXPECT_EQ(intel.diesPerCe, 1);
    EXPECT_NE(intel.scheme.find("3D NAND table"), std::string::npos);
    // Micron B27B and an unlisted Intel part of the same generation: nothing is decoded.
    for (const char* text : {"2C C3 08 32 E6 00", "89 C3 08 32 E6 00", "9B C3 18 26 10 00"}) {
        const IdDecode id = decodeText(text);
        EXPECT_EQ(id.ceDensityBits, std::nullopt) << text;
        EXPECT_EQ(id.pageBytes, std::nullopt) << text;
        EXPECT_EQ(id.blockBytes, std::nullopt) << text;
        EXPECT_EQ(id.bitsPerCell, std::nullopt) << text;
    }
    // YMTC X2-6070 is QLC of 1.33 Tbit, though byte 3 reads as TLC in the planar layout.
    const IdDecode ymtc = decodeText("9B D5 58 8D 20 00");
    EXPECT_EQ(ymtc.bitsPerCell, 4);
    EXPECT_EQ(ymtc.ceDensityBits, std::uint64_t{1397760} * kMegabit);
}

TEST(IdDecoder, SamsungSixByteLayoutGivesEccAndLeavesUnlistedProcessUnknown) {
    // K9GBG08U0A: 8K pages with 640 spare bytes, 1M blocks, 24 bits per 1KB.
    const IdDecode id = decodeText("EC D7 94 7A 54 43");
    EXPECT_EQ(id.scheme, "Samsung 6-byte");
    EXPECT_EQ(id.ceDensityBits, 32 * kGbit);
    EXPECT_EQ(id.pageBytes, 8192u);
    EXPECT_EQ(id.spareBytes, 640u);
    EXPECT_EQ(id.blockBytes, 1024u * 1024);
    EXPECT_EQ(id.ecc, (EccRequirement{24, 1024}));
    EXPECT_EQ(id.process, std::nullopt);
    EXPECT_EQ(id.planeDensityBits, std::nullopt);
    // A sixth byte after the published table's processes leaves bytes 4 and 5 undecoded
    // (K9GCGD8U0F: 16 MiB blocks where the field reads 2 MiB).
    const IdDecode later = decodeText("EC 3A 94 C3 A4 CA");
    EXPECT_EQ(later.pageBytes, std::nullopt);
    EXPECT_EQ(later.blockBytes, std::nullopt);
}

TEST(IdDecoder, DeviceCodeGivesDensityPerChipEnable) {
    // K9HCG08U5M is 64 Gbit over 4 chip enables: EC D5 says 16 Gbit per chip enable, whereas
    // EC D3 says 8 Gbit.
    EXPECT_EQ(decodeText("EC D5 14 B6").ceDensityBits, 16 * kGbit);
    EXPECT_EQ(decodeText("EC D3 14 A5").ceDensityBits, 8 * kGbit);
    // K9F2808U0B: a two-byte small-page ID.
    const IdDecode small = decodeText("EC 73");
    EXPECT_EQ(small.ceDensityBits, 128 * kMegabit);
    EXPECT_EQ(small.pageBytes, 512u);
    EXPECT_EQ(small.blockBytes, 16u * 1024);
    EXPECT_EQ(small.bitsPerCell, 1);
}

TEST(IdDecoder, HynixSixByteAndFiveByteLayouts) {
    // H27UBG8T2A: 8K pages, 2M blocks. Spare and ECC come from one of two tables that the ID
    // bytes do not choose between, so they stay unknown.
    const IdDecode mlc = decodeText("AD D7 94 9A 74 42");
    EXPECT_EQ(mlc.maker, Maker::Hynix);
    EXPECT_EQ(mlc.scheme, "Hynix 6-byte");
    EXPECT_EQ(mlc.ceDensityBits, 32 * kGbit);
    EXPECT_EQ(mlc.pageBytes, 8192u);
    EXPECT_EQ(mlc.spareBytes, std::nullopt);
    EXPECT_EQ(mlc.blockBytes, 2u * 1024 * 1024);
    EXPECT_EQ(mlc.ecc, std::nullopt);
    EXPECT_EQ(mlc.process, std::nullopt);
    // H27UCG8T2ETR (Toggle): 16K pages, 4M blocks; 1664 spare and 40 bits per KiB, which the
    // other table would read as 224 and 16 per 512.
    const IdDecode toggle = decodeText("AD DE 14 A7 42 4A");
    EXPECT_EQ(toggle.pageBytes, 16384u);
    EXPECT_EQ(toggle.blockBytes, 4u * 1024 * 1024);
    EXPECT_EQ(toggle.spareBytes, std::nullopt);
    EXPECT_EQ(toggle.ecc, std::nullopt);
    // H27UBG8T2C (technology code 4): 8K pages where the field reads 4K; no part with that
    // code is decoded (H27UCG8T2ATR, AD DE 94 DA 74 C4, neither).
    EXPECT_EQ(decodeText("AD D7 94 91 60 44").pageBytes, std::nullopt);
    EXPECT_EQ(decodeText("AD DE 94 DA 74 C4").pageBytes, std::nullopt);
    // H27U4G8F2D: 4 Gbit SLC, 2K pages, 64 spare, 128K blocks, two planes.
    const IdDecode slc = decodeText("AD DC 90 95 54");
    EXPECT_EQ(slc.bitsPerCell, 1);
    EXPECT_EQ(slc.pageBytes, 2048u);
    EXPECT_EQ(slc.spareBytes, 64u);
    EXPECT_EQ(slc.blockBytes, 128u * 1024);
    EXPECT_EQ(slc.planes, 2);
    EXPECT_EQ(slc.ecc, std::nullopt);
}

TEST(IdDecoder, ToshibaSlcSixthByteAndUndecodedMlcFourthByte) {
    // TC58NVG2S0F: 4K pages, 256K blocks, 32 nm, 4 bits per 512 bytes.
    const IdDecode slc = decodeText("98 DC 90 26 76 15 01 08");
    EXPECT_EQ(slc.maker, Maker::Toshiba);
    EXPECT_EQ(slc.pageBytes, 4096u);
    EXPECT_EQ(slc.blockBytes, 256u * 1024);
    EXPECT_EQ(slc.spareBytes, std::nullopt);
    EXPECT_EQ(slc.process, "32nm");
    EXPECT_EQ(slc.ecc, (EccRequirement{4, 512}));
    EXPECT_EQ(slc.onDieEcc, false);
    // TC58NVG6D2GTA00 (8K pages): byte 4 of six-byte MLC IDs stays undecoded.
    const IdDecode mlc = decodeText("98 DE 94 82 76 56");
    EXPECT_EQ(mlc.bitsPerCell, 2);
    EXPECT_EQ(mlc.ceDensityBits, 64 * kGbit);
    EXPECT_EQ(mlc.pageBytes, std::nullopt);
    EXPECT_EQ(mlc.blockBytes, std::nullopt);
    // SanDisk SDTNSGAMA-016G is read the same way.
    const IdDecode sandisk = decodeText("45 3A 94 93 76 51");
    EXPECT_EQ(sandisk.maker, Maker::SanDisk);
    EXPECT_EQ(sandisk.ceDensityBits, 128 * kGbit);
    EXPECT_EQ(sandisk.pageBytes, std::nullopt);
}

TEST(IdDecoder, MicronOnfiCodesGivePageSizeOnly) {
    // MT29F64G08CBAAA and MT29F32G08CBACA-class parts (25 nm).
    const IdDecode id = decodeText("2C 88 04 4B A9");
    EXPECT_EQ(id.maker, Maker::Micron);
    EXPECT_EQ(id.ceDensityBits, 64 * kGbit);
    EXPECT_EQ(id.bitsPerCell, 2);
    EXPECT_EQ(id.pageBytes, 8192u);
    EXPECT_EQ(id.blockBytes, std::nullopt);
    EXPECT_EQ(id.spareBytes, std::nullopt);
    EXPECT_EQ(id.busWidthBits, std::nullopt);
    EXPECT_EQ(decodeText("2C 68 04 4A A9").pageBytes, 4096u);
    // The same codes on an Intel part; Micron's older parts use the generic layout
    // (MT29F4G08ABAEA: 4K pages, 256K blocks).
    EXPECT_EQ(decodeText("89 88 04 4B A9").ceDensityBits, 64 * kGbit);
    const IdDecode older = decodeText("2C DC 90 A6 54");
    EXPECT_EQ(older.pageBytes, 4096u);
    EXPECT_EQ(older.blockBytes, 256u * 1024);
    EXPECT_EQ(older.planes, std::nullopt);
}

TEST(IdDecoder, StAndSpansionUseTheGenericLayout) {
    // NAND01GW3B2B and S34ML01G1: 1 Gbit SLC, 2K pages, 64 spare, 128K blocks, x8.
    for (const char* text : {"20 F1 80 1D", "01 F1 00 1D"}) {
        const IdDecode id = decodeText(text);
        EXPECT_EQ(id.ceDensityBits, kGbit) << text;
        EXPECT_EQ(id.bitsPerCell, 1) << text;
        EXPECT_EQ(id.pageBytes, 2048u) << text;
        EXPECT_EQ(id.spareBytes, 64u) << text;
        EXPECT_EQ(id.blockBytes, 128u * 1024) << text;
        EXPECT_EQ(id.busWidthBits, 8) << text;
    }
    EXPECT_EQ(decodeText("20 F1 80 1D").maker, Maker::StNumonyx);
    EXPECT_EQ(decodeText("01 F1 00 1D").maker, Maker::Spansion);
}

TEST(IdDecoder, UnknownCodesLeaveFieldsUnknown) {
    const IdDecode sharedCode = decodeText("C8 DA 90 95 44");  // ESMT, GigaDevice, MIRA
    EXPECT_EQ(sharedCode.maker, std::nullopt);
    EXPECT_EQ(sharedCode.pageBytes, 2048u);
    const IdDecode unknownDevice = decodeText("EC 99 14 A5");
    EXPECT_EQ(unknownDevice.maker, Maker::Samsung);
    EXPECT_EQ(unknownDevice.scheme, "unknown device code");
    EXPECT_EQ(unknownDevice.bitsPerCell, std::nullopt);
    EXPECT_EQ(unknownDevice.pageBytes, std::nullopt);
    const std::uint8_t one[] = {0xEC};
    EXPECT_THROW(decodeId(one), std::invalid_argument);
}

TEST(IdDecoder, PatternsKeepOnlyWhatEveryAlternativeAgreesOn) {
    const auto pattern = parseIdText("EC F1 80 15/10");
    ASSERT_TRUE(pattern);
    EXPECT_EQ(expandIdPattern(*pattern).size(), 2u);
    const IdDecode id = decodeIdPattern(*pattern);
    EXPECT_EQ(id.maker, Maker::Samsung);
    EXPECT_EQ(id.ceDensityBits, kGbit);
    EXPECT_EQ(id.blockBytes, 128u * 1024);
    EXPECT_EQ(id.pageBytes, std::nullopt);  // 2K for 15, 1K for 10
}

TEST(IdDecoder, ParsesBlankSeparatedAndBareHexAndRejectsOtherText) {
    EXPECT_EQ(decodeText("ECD7947A5443"), decodeText("ec d7  94 7a 54 43"));
    for (const char* bad : {"", "EC", "EC D", "EC GG", "EC-D3", "EC D3/", "ECD", "EC D3 /14",
                            "EC D3 14 A5 00 00 00 00 00"}) {
        EXPECT_FALSE(parseIdText(bad)) << bad;
    }
    EXPECT_FALSE(parseIdText("EC D3 01/02/03/04 01/02/03/04 01/02/03/04 01/02/03/04 01/02"));
}

}  // namespace
}  // namespace norvessa::flash
