#include "platform/gui/frame.h"

#include <gtest/gtest.h>

#include <QImage>

#include "platform/gui/fonts.h"

namespace {

using norvessa::platform::Frame;

class FrameTest : public ::testing::Test {
  protected:
    FrameTest() {
        frame.resize(300, 120);
        frame.setFont(norvessa::platform::songFont(14.25));  // 19 px: the top line at y = 9
        frame.setBackColour(QColor(192, 192, 255));
        frame.setCaptionColour(QColor(0, 0, 255));
        frame.setCaption(QStringLiteral("所查询FLASH支持主控型号如下："));
    }

    QImage drawn() {
        QImage image(frame.size(), QImage::Format_RGB32);
        frame.render(&image);
        return image;
    }

    Frame frame{nullptr};
};

TEST_F(FrameTest, TheTopLineRunsThroughTheCaptionsMiddleAndTheCaptionInterruptsIt) {
    const QImage image = drawn();
    const QRgb back = qRgb(192, 192, 255);
    const QRgb line = frame.palette().color(QPalette::Mid).rgb();
    EXPECT_EQ(image.pixel(3, 9), line);
    EXPECT_EQ(image.pixel(0, 60), line);
    EXPECT_EQ(image.pixel(3, 5), back);
    EXPECT_EQ(image.pixel(150, 60), back);
    // Where the caption is, the line gives way to back colour and blue text.
    int lineUnderCaption = 0;
    int blue = 0;
    for (int x = 10; x < 200; ++x) {
        lineUnderCaption += image.pixel(x, 9) == line ? 1 : 0;
        for (int y = 0; y < 19; ++y) {
            const QColor ink(image.pixel(x, y));
            blue += ink.blue() > 200 && ink.red() < 90 && ink.green() < 90 ? 1 : 0;
        }
    }
    EXPECT_EQ(lineUnderCaption, 0);
    EXPECT_GT(blue, 100);
}

}  // namespace
