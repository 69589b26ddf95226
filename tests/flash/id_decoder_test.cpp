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
    // K9GAG08U0M: 16 Gbit MLC, 4K pages, 512K blocks, two planes of 8 Gbit.
    const IdDecode id = decodeText("EC D5 14 B6 74");
    EXPECT_EQ(id.maker, Maker::Samsung);
    EXPECT_EQ(id.scheme, "generic 4th byte");
    EXPECT_EQ(id.bitsPerCell, 2);
    EXPECT_EQ(id.diesPerCe, 1);
    EXPECT_EQ(id.ceDensityBits, 16 * kGbit);
    EXPECT_EQ(id.pageBytes, 4096u);
    EXPECT_EQ(id.spareBytes, 128u);
    EXPECT_EQ(id.blockBytes, 512u * 1024);
    EXPECT_EQ(id.busWidthBits, 8);
    EXPECT_EQ(id.planes, 2);
    EXPECT_EQ(id.planeDensityBits, 8 * kGbit);
    EXPECT_EQ(id.ecc, std::nullopt);
    EXPECT_EQ(id.process, std::nullopt);
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
    // The same bytes without the sixth are read by the old layout.
    EXPECT_EQ(decodeText("EC D7 94 7A 54").scheme, "generic 4th byte");
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
    // H27UCG8T2ATR-BC: 8K pages, 640 spare, 2M blocks, 40 bits per 1KB at 26 nm or finer.
    const IdDecode mlc = decodeText("AD DE 94 DA 74 C4");
    EXPECT_EQ(mlc.maker, Maker::Hynix);
    EXPECT_EQ(mlc.scheme, "Hynix 6-byte");
    EXPECT_EQ(mlc.ceDensityBits, 64 * kGbit);
    EXPECT_EQ(mlc.pageBytes, 8192u);
    EXPECT_EQ(mlc.spareBytes, 640u);
    EXPECT_EQ(mlc.blockBytes, 2u * 1024 * 1024);
    EXPECT_EQ(mlc.ecc, (EccRequirement{40, 1024}));
    EXPECT_EQ(mlc.process, std::nullopt);
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
