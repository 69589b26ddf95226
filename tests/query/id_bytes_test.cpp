#include "norvessa_query/lookups.h"

#include <gtest/gtest.h>

#include "norvessa_query/command_line.h"

namespace norvessa::query {
namespace {

using Bytes = std::vector<std::uint8_t>;

std::string usageMessage(std::string_view typed) {
    try {
        parseTypedIdBytes(typed);
    } catch (const UsageError& error) {
        return error.what();
    }
    return "(accepted)";
}

TEST(QueryTypedIdBytes, BlanksAndLetterCaseDoNotMatter) {
    const Bytes expected{0xEC, 0xD5, 0x14, 0xB6};
    EXPECT_EQ(parseTypedIdBytes("EC D5 14 B6"), expected);
    EXPECT_EQ(parseTypedIdBytes("ecd514b6"), expected);
    EXPECT_EQ(parseTypedIdBytes("  eC d 514\tB6 "), expected);
}

TEST(QueryTypedIdBytes, InputThatIsNotIdBytesIsRefusedWithTheReason) {
    EXPECT_EQ(usageMessage("ZZ"),
              "--id \"ZZ\": 'Z' is not a hexadecimal digit; give ID bytes as pairs of digits 0-9 "
              "and A-F, such as \"EC D5 14 B6\"");
    EXPECT_EQ(usageMessage("EC D"),
              "--id \"EC D\": 3 hexadecimal digits, an odd number; every ID byte takes two digits");
    EXPECT_NE(usageMessage("   ").find("no ID bytes given"), std::string::npos);
    // A separator other than blanks, colons and dashes, and a Chinese character quoted whole.
    EXPECT_NE(usageMessage("EC.D5").find("'.' is not"), std::string::npos);
    EXPECT_EQ(parseTypedIdBytes("EC:D5-14 B6"), (Bytes{0xEC, 0xD5, 0x14, 0xB6}));
    EXPECT_NE(usageMessage("EC 三星").find("'三' is not"), std::string::npos);
    EXPECT_NE(usageMessage("EC F1 80 15/10").find("'/' is not"), std::string::npos);
}

TEST(QueryStoredIdBytes, MatchesTheBytesItBeginsWith) {
    const Bytes wanted{0xEC, 0xD3, 0x14, 0xA5};
    EXPECT_TRUE(storedIdBeginsWith("EC D3 14 A5", wanted));
    EXPECT_TRUE(storedIdBeginsWith("EC D3 14 A5 64", wanted));
    EXPECT_TRUE(storedIdBeginsWith("ec d3 14 a5", wanted));
    EXPECT_TRUE(storedIdBeginsWith(" EC  D3 14 A5 ", wanted));
    EXPECT_FALSE(storedIdBeginsWith("EC D3 14", wanted));
    EXPECT_FALSE(storedIdBeginsWith("EC D3 14 A6 64", wanted));
    EXPECT_FALSE(storedIdBeginsWith("", wanted));
    // Only whole bytes count: D3 is not a prefix of D31.
    EXPECT_FALSE(storedIdBeginsWith("EC D31 4A5", wanted));
}

TEST(QueryStoredIdBytes, AlternativesMatchEitherWay) {
    EXPECT_TRUE(storedIdBeginsWith("EC F1 80 15/10", Bytes{0xEC, 0xF1, 0x80, 0x15}));
    EXPECT_TRUE(storedIdBeginsWith("EC F1 80 15/10", Bytes{0xEC, 0xF1, 0x80, 0x10}));
    EXPECT_FALSE(storedIdBeginsWith("EC F1 80 15/10", Bytes{0xEC, 0xF1, 0x80, 0x11}));
    EXPECT_TRUE(storedIdBeginsWith("EC F1 80 15/10", Bytes{0xEC, 0xF1}));
    // Alternatives in the middle, followed by more bytes.
    EXPECT_TRUE(storedIdBeginsWith("2C 88 24/04 4B", Bytes{0x2C, 0x88, 0x04, 0x4B}));
    EXPECT_FALSE(storedIdBeginsWith("2C 88 24/04 4B", Bytes{0x2C, 0x88, 0x04, 0xCB}));
    EXPECT_TRUE(storedIdBeginsWith("AD D7 94 9A/DA/1A", Bytes{0xAD, 0xD7, 0x94, 0x1A}));
}

TEST(QueryStoredIdBytes, WhatIsNotHexadecimalPairsEndsTheMatchWithoutFailing) {
    EXPECT_TRUE(storedIdBeginsWith("EC D3 (TSOP)", Bytes{0xEC, 0xD3}));
    EXPECT_FALSE(storedIdBeginsWith("EC D3 (TSOP)", Bytes{0xEC, 0xD3, 0x14}));
    EXPECT_FALSE(storedIdBeginsWith("EC D3 1", Bytes{0xEC, 0xD3, 0x10}));
    EXPECT_TRUE(storedIdBeginsWith("EC D3 15//10", Bytes{0xEC, 0xD3, 0x10}));
    EXPECT_FALSE(storedIdBeginsWith("/ / /", Bytes{0xEC}));
    EXPECT_FALSE(storedIdBeginsWith("未知", Bytes{0xEC}));
}

}  // namespace
}  // namespace norvessa::query
