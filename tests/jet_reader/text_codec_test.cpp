// Text as stored (compressed Unicode and UCS-2) and Jet's text equality.

#include <gtest/gtest.h>

#include "platform/jet/database.h"
#include "platform/jet/text_codec.h"

namespace norvessa::jet {
namespace {

using Bytes8 = std::vector<std::uint8_t>;

TEST(TextCodec, DecodesAccessWrittenCompressedText) {
    EXPECT_EQ(
        decodeText(Bytes8{0xFF, 0xFE, 0x46, 0x6C, 0x61, 0x73, 0x68, 0x00, 0xA8, 0x52, 0x3B, 0x75}),
        u"Flash动画");
    EXPECT_EQ(decodeText(Bytes8{0xFF, 0xFE, 0x00, 0x07, 0x68, 0x98, 0x98, 0x00, 0x28, 0x54, 0x69,
                                0x74, 0x6C, 0x65, 0x29}),
              u"标题(Title)");
    EXPECT_EQ(decodeText(Bytes8{0x41, 0x00, 0x2D, 0x4E, 0x7F}), u"A中");  // odd byte dropped
    EXPECT_EQ(decodeText(Bytes8{}), u"");
}

// Straight to UTF-8, as the two-step conversion gives it: compressed runs, a pair of
// surrogates, surrogates without their other half (U+FFFD), a dropped odd byte.
TEST(TextCodec, DecodesToUtf8AsTheUtf16RouteDoes) {
    for (const Bytes8& stored :
         {Bytes8{0xFF, 0xFE, 0x46, 0x6C, 0xE9, 0x00, 0xA8, 0x52, 0x3D, 0xD8, 0x00, 0xDE},
          Bytes8{0x3D, 0xD8, 0x00, 0xDE, 0x41, 0x00, 0x3D, 0xD8, 0x41, 0x00, 0x00, 0xDE, 0x7F},
          Bytes8{0xFF, 0xFE, 0x00, 0x3D, 0xD8, 0x00, 0x41, 0x00, 0x3D, 0xD8}, Bytes8{0xFF, 0xFE},
          Bytes8{}}) {
        EXPECT_EQ(decodeTextAsUtf8(stored), text::utf16ToUtf8(decodeText(stored)));
    }
    EXPECT_EQ(decodeTextAsUtf8(Bytes8{0x3D, 0xD8, 0x00, 0xDE, 0xFF, 0xDB}), "\U0001F600\uFFFD");
}

TEST(TextCodec, CompressesOnlyWhenShorterAndRepresentable) {
    // The cheapest mix of modes is what Access writes for these.
    EXPECT_EQ(encodeText(u"标题(Title)", true),
              (Bytes8{0xFF, 0xFE, 0x00, 0x07, 0x68, 0x98, 0x98, 0x00, 0x28, 0x54, 0x69, 0x74, 0x6C,
                      0x65, 0x29}));
    EXPECT_EQ(encodeText(u"Flash动画", true),
              (Bytes8{0xFF, 0xFE, 0x46, 0x6C, 0x61, 0x73, 0x68, 0x00, 0xA8, 0x52, 0x3B, 0x75}));
    EXPECT_EQ(encodeText(u"ab", true), (Bytes8{0x61, 0x00, 0x62, 0x00}));  // not shorter
    EXPECT_EQ(encodeText(u"abc", false), (Bytes8{0x61, 0x00, 0x62, 0x00, 0x63, 0x00}));
    // U+4E00 has a zero low byte, which a reader would take for a mode toggle.
    EXPECT_EQ(encodeText(u"abc一", true), encodeUcs2(u"abc一"));
    for (std::u16string text : {u"Samsung 三星", u"四管芯封装，仅CE1和CE2可用", u"x\r\nSM3257AA ",
                                u"第一代芯片", u"K9HCG08U5M", u"ÀÉ 中 é"}) {
        EXPECT_EQ(decodeText(encodeText(text, true)), text);
        EXPECT_LE(encodeText(text, true).size(), 2 * text.size());
    }
}

TEST(TextEquality, IgnoresCaseAndTrailingBlanksOnBothSides) {
    EXPECT_EQ(foldCase(u'A'), u'a');
    EXPECT_EQ(foldCase(u'É'), u'é');
    EXPECT_EQ(foldCase(u'Ÿ'), u'ÿ');
    EXPECT_EQ(foldCase(u'Ł'), u'ł');
    EXPECT_EQ(foldCase(u'Σ'), u'σ');
    EXPECT_EQ(foldCase(u'Ж'), u'ж');
    EXPECT_EQ(foldCase(u'Ａ'), u'ａ');
    EXPECT_EQ(foldCase(u'中'), u'中');
    EXPECT_EQ(foldCase(u'×'), u'×');

    EXPECT_TRUE(textEqualsIgnoringCase(u"K9HCG08U5M ", u"k9hcg08u5m"));
    EXPECT_TRUE(textEqualsIgnoringCase(u"", u"   "));
    EXPECT_FALSE(textEqualsIgnoringCase(u" K9", u"K9"));  // leading blanks count
    EXPECT_FALSE(textEqualsIgnoringCase(u"MT29F64G08", u"MT29F64G08CBAAA"));
}

TEST(TextEquality, StoredBytesCompareWithoutDecoding) {
    const TextKey key("k9hcg08u5m  ");
    EXPECT_EQ(key.folded(), u"k9hcg08u5m");
    for (bool compress : {true, false}) {
        EXPECT_TRUE(storedTextEquals(encodeText(u"K9HCG08U5M", compress), key.folded()));
        EXPECT_TRUE(storedTextEquals(encodeText(u"K9HCG08U5M   ", compress), key.folded()));
        EXPECT_FALSE(storedTextEquals(encodeText(u"K9HCG08U5MX", compress), key.folded()));
        EXPECT_FALSE(storedTextEquals(encodeText(u"K9HCG08U5", compress), key.folded()));
        EXPECT_FALSE(storedTextEquals(encodeText(u"K9HCG08U5M x", compress), key.folded()));
    }
    const TextKey chinese("Samsung 三星");
    EXPECT_TRUE(storedTextEquals(encodeText(u"SAMSUNG 三星", true), chinese.folded()));
    EXPECT_TRUE(storedTextEquals({}, TextKey("").folded()));
    EXPECT_FALSE(storedTextEquals({}, key.folded()));
}

}  // namespace
}  // namespace norvessa::jet
