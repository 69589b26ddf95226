// Form5's decorative picture: a baseline JFIF file of 190 x 321 pixels with three colour
// components, read marker by marker.

#include <gtest/gtest.h>

#include <QImageReader>

#include "images/byte_reader.h"
#include "resources/images/images.h"

namespace {

constexpr std::uint8_t kStartOfFrameBaseline = 0xC0;
constexpr std::uint8_t kStartOfScan = 0xDA;

TEST(AboutPicture, IsABaselineJfifImageOf190By321Pixels) {
    const ByteReader bytes(readAll(norvessa::resources::kForm5Image1Path));
    ASSERT_EQ(bytes.u16BigEndian(0), 0xFFD8u) << "start of image";
    ASSERT_EQ(bytes.u16BigEndian(2), 0xFFE0u) << "JFIF application segment first";
    EXPECT_EQ(bytes.slice(6, 5), QByteArray("JFIF\0", 5));
    EXPECT_EQ(bytes.u8(11), 1u);
    EXPECT_EQ(bytes.u8(12), 1u);

    // Walk the segments up to the scan; each declares its own length.
    qsizetype offset = 2;
    bool sawBaselineFrame = false;
    while (bytes.u8(offset) == 0xFF && bytes.u8(offset + 1) != kStartOfScan) {
        const std::uint8_t marker = bytes.u8(offset + 1);
        ASSERT_FALSE(marker >= 0xC1 && marker <= 0xCF && marker != 0xC4 && marker != 0xCC)
            << "a frame other than baseline: " << int{marker};
        if (marker == kStartOfFrameBaseline) {
            sawBaselineFrame = true;
            EXPECT_EQ(bytes.u8(offset + 4), 8u) << "bits per sample";
            EXPECT_EQ(bytes.u16BigEndian(offset + 5), 321u) << "height";
            EXPECT_EQ(bytes.u16BigEndian(offset + 7), 190u) << "width";
            EXPECT_EQ(bytes.u8(offset + 9), 3u) << "components";
        }
        offset += 2 + bytes.u16BigEndian(offset + 2);
    }
    EXPECT_TRUE(sawBaselineFrame);
    EXPECT_EQ(bytes.u16BigEndian(bytes.size() - 2), 0xFFD9u) << "end of image";
}

TEST(AboutPicture, QtDecodesItAtItsOwnSize) {
    EXPECT_EQ(norvessa::resources::loadImage(norvessa::resources::kForm5Image1Path).size(),
              QSize(190, 321));
}

}  // namespace
