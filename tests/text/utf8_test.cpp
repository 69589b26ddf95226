// The shared UTF-8 and UTF-16 decoder: well-formed sequences at every length boundary, and each
// kind of ill-formed input with what a caller learns about it.

#include "platform/text/utf8.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace norvessa::text {
namespace {

struct IllFormed {
    std::string bytes;
    std::size_t length;       // what a conversion replaces as one character
    std::size_t faultOffset;  // the byte a message names
};

void expectIllFormed(const std::vector<IllFormed>& cases) {
    for (const IllFormed& bad : cases) {
        SCOPED_TRACE(testing::PrintToString(bad.bytes));
        const Utf8Sequence sequence = decodeUtf8At(bad.bytes, 0);
        EXPECT_FALSE(sequence.wellFormed);
        EXPECT_EQ(sequence.codePoint, kReplacementCharacter);
        EXPECT_EQ(sequence.length, bad.length);
        EXPECT_EQ(sequence.faultOffset, bad.faultOffset);
        EXPECT_FALSE(isValidUtf8(bad.bytes));
        EXPECT_FALSE(utf16Length(bad.bytes).has_value());
        EXPECT_FALSE(isValidUtf8("ok " + bad.bytes + " ok"));
    }
}

TEST(Utf8Decoding, WellFormedSequencesOfOneToFourBytes) {
    const struct {
        std::string bytes;
        char32_t codePoint;
    } cases[] = {
        {std::string(1, '\0'), 0x0},
        {"\x7F", 0x7F},
        {"\xC2\x80", 0x80},
        {"\xDF\xBF", 0x7FF},
        {"\xE0\xA0\x80", 0x800},
        {"\xE4\xB8\xAD", 0x4E2D},  // 中
        {"\xED\x9F\xBF", 0xD7FF},
        {"\xEE\x80\x80", 0xE000},
        {"\xEF\xBF\xBF", 0xFFFF},
        {"\xF0\x90\x80\x80", 0x10000},
        {"\xF0\x9F\x98\x80", 0x1F600},
        {"\xF4\x8F\xBF\xBF", 0x10FFFF},
    };
    for (const auto& [bytes, codePoint] : cases) {
        SCOPED_TRACE(testing::PrintToString(bytes));
        const Utf8Sequence sequence = decodeUtf8At("x" + bytes + "x", 1);
        EXPECT_TRUE(sequence.wellFormed);
        EXPECT_EQ(sequence.codePoint, codePoint);
        EXPECT_EQ(sequence.length, bytes.size());
        EXPECT_EQ(utf16Length(bytes), codePoint < 0x10000 ? 1u : 2u);
    }
    const std::string mixed = "FLASH型号 ✓ 😀";
    EXPECT_TRUE(isValidUtf8(mixed));
    EXPECT_TRUE(isValidUtf8(""));
    EXPECT_EQ(utf8ToUtf16(mixed), u"FLASH型号 ✓ 😀");
    EXPECT_EQ(utf16ToUtf8(utf8ToUtf16(mixed)), mixed);
    EXPECT_EQ(utf16Length(mixed), 12u);  // the emoji takes a surrogate pair
    EXPECT_EQ(utf16Length(""), 0u);
}

TEST(Utf8Decoding, OverlongFormsAreIllFormed) {
    expectIllFormed({
        {"\xC0\xAF", 2, 0},  // "/" in two bytes; C0 and C1 never begin a character
        {"\xC1\xBF", 2, 0},
        {"\xE0\x80\xAF", 3, 1},  // the second byte of E0 must be A0 or above
        {"\xE0\x9F\xBF", 3, 1},
        {"\xF0\x8F\xBF\xBF", 4, 1},  // the second byte of F0 must be 90 or above
    });
    EXPECT_EQ(utf8ToUtf16("\xC0\xAF"), u"\uFFFD");
    EXPECT_EQ(utf8ToUtf16("a\xE0\x80\xAF"
                          "b"),
              u"a\uFFFDb");
}

TEST(Utf8Decoding, SurrogatesAreIllFormedInEitherEncoding) {
    expectIllFormed({
        {"\xED\xA0\x80", 3, 1},  // U+D800
        {"\xED\xBF\xBF", 3, 1},  // U+DFFF
    });
    EXPECT_EQ(utf8ToUtf16("\xED\xA0\x80\xED\xB0\x80"), u"\uFFFD\uFFFD");

    const std::u16string pair = u"😀";
    const Utf16Character paired = decodeUtf16At(pair, 0);
    EXPECT_TRUE(paired.wellFormed);
    EXPECT_EQ(paired.codePoint, 0x1F600u);
    EXPECT_EQ(paired.units, 2u);
    // An unpaired surrogate keeps its number for messages and converts to U+FFFD.
    for (const std::u16string& lone :
         {std::u16string(1, char16_t{0xD800}), std::u16string(1, char16_t{0xDC00}),
          std::u16string{char16_t{0xD83D}, u'a'}}) {
        const Utf16Character character = decodeUtf16At(lone, 0);
        EXPECT_FALSE(character.wellFormed);
        EXPECT_EQ(character.codePoint, lone[0]);
        EXPECT_EQ(character.units, 1u);
    }
    EXPECT_EQ(utf16ToUtf8(std::u16string(1, char16_t{0xD800})), "\xEF\xBF\xBD");
    EXPECT_EQ(utf16ToUtf8(std::u16string{u'a', char16_t{0xDC00}, char16_t{0xD800}}),
              "a\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST(Utf8Decoding, TruncatedSequencesAndStrayBytesAreIllFormed) {
    expectIllFormed({
        {"\xE4\xB8", 2, 0},  // the text ends inside the sequence: the lead is at fault
        {"\xF0\x9F\x98", 3, 0},
        {"\xE4\x41", 1, 0},
        {"\xE4\x41\x41", 1, 1},  // room for the sequence, but no continuation byte
        {"\xE4\xB8\x41", 2, 2},
        {"\x80", 1, 0},  // a continuation byte on its own
        {"\xBF\x80", 1, 0},
    });
    EXPECT_EQ(utf8ToUtf16("\xE4\xB8"), u"\uFFFD");
    EXPECT_EQ(utf8ToUtf16("\xE4\xB8\x41"), u"\uFFFDA");
    EXPECT_EQ(utf8ToUtf16("\x80\x80"), u"\uFFFD\uFFFD");
    EXPECT_THROW(decodeUtf8At("abc", 3), std::out_of_range);
    EXPECT_THROW(decodeUtf16At(u"", 0), std::out_of_range);
}

TEST(Utf8Decoding, CodePointsAboveU10FFFFAreIllFormed) {
    expectIllFormed({
        {"\xF4\x90\x80\x80", 4, 1},  // U+110000
        {"\xF5\x80\x80\x80", 4, 0},  // F5..F7 never begin a character
        {"\xF7\xBF\xBF\xBF", 4, 0},
        {"\xF8\x88\x80\x80\x80", 1, 0},  // five- and six-byte forms are not UTF-8 at all
        {"\xFF", 1, 0},
    });
    EXPECT_EQ(utf8ToUtf16("a\xFF"
                          "b"),
              u"a\uFFFDb");
    EXPECT_EQ(utf8ToUtf16("\xF8\x88\x80\x80\x80"), u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD");
}

}  // namespace
}  // namespace norvessa::text
