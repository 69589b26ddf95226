#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <vector>

#include "platform/jet/errors.h"
#include "platform/jet/index_key.h"

namespace norvessa::jet {
namespace {

KeyBytes longKey(std::int32_t value) {
    KeyBytes key;
    appendIntegerKeySegment(key, ColumnType::Long, value);
    return key;
}

KeyBytes textKey(std::u16string_view text) {
    KeyBytes key;
    appendTextKeySegment(key, text);
    return key;
}

TEST(IndexKey, LongKeysAreBigEndianWithTheSignBitInvertedSoBytesSortLikeNumbers) {
    EXPECT_EQ(longKey(1), (KeyBytes{0x7F, 0x80, 0x00, 0x00, 0x01}));
    EXPECT_EQ(longKey(-1), (KeyBytes{0x7F, 0x7F, 0xFF, 0xFF, 0xFF}));

    const std::vector<std::int32_t> ascending{
        std::numeric_limits<std::int32_t>::min(), -256, -1, 0, 1, 255, 256, 3567,
        std::numeric_limits<std::int32_t>::max()};
    for (std::size_t i = 1; i < ascending.size(); ++i) {
        EXPECT_LT(longKey(ascending[i - 1]), longKey(ascending[i])) << ascending[i];
    }
    KeyBytes key;
    appendNullKeySegment(key);
    EXPECT_LT(key, longKey(std::numeric_limits<std::int32_t>::min()));  // Null sorts first
}

TEST(IndexKey, SmallerIntegersUseTheirOwnWidthAndRange) {
    KeyBytes integer;
    appendIntegerKeySegment(integer, ColumnType::Integer, -2);
    EXPECT_EQ(integer, (KeyBytes{0x7F, 0x7F, 0xFE}));
    KeyBytes byte;
    appendIntegerKeySegment(byte, ColumnType::Byte, 200);
    EXPECT_EQ(byte, (KeyBytes{0x7F, 200}));

    KeyBytes ignored;
    EXPECT_THROW(appendIntegerKeySegment(ignored, ColumnType::Integer, 40000), JetError);
    EXPECT_THROW(appendIntegerKeySegment(ignored, ColumnType::Byte, -1), JetError);
    EXPECT_THROW(appendIntegerKeySegment(ignored, ColumnType::Double, 1), JetError);
}

TEST(IndexKey, TextKeysUseTheGeneralLegacyCodesAsAccessWritesThem) {
    // Keys taken from Access-written catalog and table indexes.
    EXPECT_EQ(textKey(u"Tables"), (KeyBytes{0x7F, 0x6D, 0x4A, 0x4C, 0x5E, 0x51, 0x6B, 0x01, 0x00}));
    EXPECT_EQ(textKey(u"value0007"),
              (KeyBytes{0x7F, 0x71, 0x4A, 0x5E, 0x6F, 0x51, 0x36, 0x36, 0x36, 0x44, 0x01, 0x00}));
    // The characters the lookup table's indexed columns hold, and two-byte codes.
    EXPECT_EQ(textKey(u"8bit DDR"),
              (KeyBytes{0x7F, 0x46, 0x4C, 0x59, 0x6D, 0x07, 0x4F, 0x4F, 0x69, 0x01, 0x00}));
    EXPECT_EQ(textKey(u"15/10"), (KeyBytes{0x7F, 0x38, 0x40, 0x1E, 0x38, 0x36, 0x01, 0x00}));
    EXPECT_EQ(textKey(u"_~"), (KeyBytes{0x7F, 0x2B, 0x03, 0x2B, 0x0F, 0x01, 0x00}));
    EXPECT_EQ(textKey(u""), (KeyBytes{0x7F, 0x01, 0x00}));
}

TEST(IndexKey, TextKeysIgnoreLetterCaseAndTrailingBlanksButNotInnerOnes) {
    EXPECT_EQ(textKey(u"ec d3 14 a5"), textKey(u"EC D3 14 A5"));
    EXPECT_EQ(textKey(u"8bit  "), textKey(u"8bit"));
    EXPECT_NE(textKey(u" 8bit"), textKey(u"8bit"));
    EXPECT_LT(textKey(u"16bit"), textKey(u"8bit"));
    EXPECT_LT(textKey(u"8bit"), textKey(u"8bit DDR"));
    EXPECT_EQ(textKey(std::u16string(300, u'a')), textKey(std::u16string(255, u'a')));
}

TEST(IndexKey, CharactersWithoutASimpleCodeAreFoundAndRefused) {
    EXPECT_EQ(findUnencodableCharacter(u"EC D3 14 A5/15"), std::nullopt);
    EXPECT_EQ(findUnencodableCharacter(u"8bit   "), std::nullopt);
    EXPECT_EQ(findUnencodableCharacter(u"UP10-CC"), 4U);    // hyphen: extra key sections
    EXPECT_EQ(findUnencodableCharacter(u"it's"), 2U);       // apostrophe: the same
    EXPECT_EQ(findUnencodableCharacter(u"3.3V\r\n"), 4U);   // control characters
    EXPECT_EQ(findUnencodableCharacter(u"caf\u00E9"), 3U);  // accented Latin
    EXPECT_EQ(findUnencodableCharacter(u"\u4E09\u661F"), 0U);
    try {
        textKey(u"Samsung \u4E09\u661F");
        FAIL() << "no exception";
    } catch (const JetError& error) {
        EXPECT_EQ(error.kind(), ErrorKind::Unsupported);
        EXPECT_NE(std::string(error.what()).find("U+4E09"), std::string::npos) << error.what();
    }
}

}  // namespace
}  // namespace norvessa::jet
