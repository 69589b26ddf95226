#include <gtest/gtest.h>

#include <QImage>
#include <stdexcept>

#include "tools/image_generators/pixel_font.h"

namespace {

using norvessa::image_generators::drawPixelText;

TEST(PixelFont, EveryCharacterTakesEightPixelsAndElevenRows) {
    QImage image(8 * 3, 11, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawPixelText(image, 0, 0, QStringLiteral("I-I"), Qt::black);
    // "I" has a full top and bottom bar from its cell's left edge; "-" sits on row 5 only.
    for (const int cell : {0, 16}) {
        EXPECT_EQ(image.pixel(cell, 0), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(cell, 10), qRgb(0, 0, 0));
        EXPECT_EQ(image.pixel(cell + 7, 0), qRgb(255, 255, 255)) << "gap between characters";
    }
    EXPECT_EQ(image.pixel(9, 5), qRgb(0, 0, 0));
    EXPECT_EQ(image.pixel(9, 4), qRgb(255, 255, 255));
}

TEST(PixelFont, ACharacterItLacksLeavesTheImageUntouched) {
    QImage image(40, 11, QImage::Format_RGB32);
    image.fill(Qt::white);
    const QImage before = image;
    EXPECT_THROW(drawPixelText(image, 0, 0, QStringLiteral("AB群"), Qt::black),
                 std::invalid_argument);
    EXPECT_THROW(drawPixelText(image, 0, 0, QStringLiteral("ab"), Qt::black),
                 std::invalid_argument);
    EXPECT_EQ(image, before);
}

TEST(PixelFont, PixelsOutsideTheImageAreSkipped) {
    QImage image(5, 5, QImage::Format_RGB32);
    image.fill(Qt::white);
    drawPixelText(image, -3, -4, QStringLiteral("8"), Qt::black);
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));  // the 8's middle bar, column 3 of its cell
    EXPECT_EQ(image.pixel(1, 1), qRgb(255, 255, 255));
}

}  // namespace
