#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>

#include "platform/gui/fonts.h"
#include "platform/gui/twips.h"

namespace {

using norvessa::platform::pointsToPixels;
using norvessa::platform::songFaceFamilies;
using norvessa::platform::songFont;
using norvessa::platform::TwipsRect;
using norvessa::platform::twipsToPixels;

TEST(Twips, RoundToTheNearestPixelAt15TwipsAPixel) {
    EXPECT_EQ(twipsToPixels(12510), 834);
    EXPECT_EQ(twipsToPixels(8385), 559);
    EXPECT_EQ(twipsToPixels(5047), 336);  // 336.47
    EXPECT_EQ(twipsToPixels(5693), 380);  // 379.53
    EXPECT_EQ(twipsToPixels(10), 1);
    EXPECT_EQ(twipsToPixels(7), 0);
    EXPECT_EQ(twipsToPixels(-5693), -380);
}

TEST(Twips, RectanglesRoundTheirEdgesSoNeighboursStayNeighbours) {
    // Stacked 5 twips apart from half-pixel positions: rounding the sizes on their own would
    // open a gap or an overlap between them.
    const QRect upper = twipsToPixels(TwipsRect{0, 8, 100, 100});    // 0.53 .. 7.2
    const QRect lower = twipsToPixels(TwipsRect{0, 108, 100, 100});  // 7.2 .. 13.87
    EXPECT_EQ(upper.bottom() + 1, lower.top());
    EXPECT_EQ(twipsToPixels(TwipsRect{4320, 4980, 2655, 495}), QRect(288, 332, 177, 33));
    EXPECT_EQ(twipsToPixels(TwipsRect{10680, 5633, 1575, 495}), QRect(712, 376, 105, 33));
}

TEST(Fonts, PointSizesBecomeTheirPixelSizesAt96Dpi) {
    EXPECT_EQ(pointsToPixels(10.5), 14);
    EXPECT_EQ(pointsToPixels(12), 16);
    EXPECT_EQ(pointsToPixels(14.25), 19);
    EXPECT_EQ(pointsToPixels(15.75), 21);
    EXPECT_EQ(pointsToPixels(18), 24);
    EXPECT_EQ(pointsToPixels(26.25), 35);
    EXPECT_EQ(songFont(26.25).pixelSize(), 35);
}

TEST(Fonts, TheSongFaceOrAnInstalledStandInIsUsed) {
    const QStringList families = songFaceFamilies();
    ASSERT_EQ(families.first(), QStringLiteral("宋体"));
    bool anyInstalled = false;
    for (const QString& family : families) {
        anyInstalled = anyInstalled || QFontDatabase::hasFamily(family);
    }
    if (!anyInstalled) {
        GTEST_SKIP() << "no Song-style Chinese face is installed (fonts-arphic-uming provides one)";
    }

    const QFont font = songFont(12);
    const QFontInfo resolved(font);
    EXPECT_TRUE(families.contains(resolved.family())) << resolved.family().toStdString();
    EXPECT_EQ(resolved.pixelSize(), 16);
    EXPECT_EQ(resolved.weight(), QFont::Normal);
    EXPECT_FALSE(resolved.italic());
    EXPECT_FALSE(font.underline());
    EXPECT_FALSE(font.strikeOut());
    EXPECT_TRUE(QFontMetrics(font).inFontUcs4(U'宋'));
}

}  // namespace
