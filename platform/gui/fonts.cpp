#include "platform/gui/fonts.h"

#include <cmath>

namespace norvessa::platform {

QStringList songFaceFamilies() {
    return {QStringLiteral("宋体"),
            QStringLiteral("SimSun"),
            QStringLiteral("NSimSun"),
            QStringLiteral("Noto Serif CJK SC"),
            QStringLiteral("Source Han Serif SC"),
            QStringLiteral("AR PL UMing CN")};
}

int pointsToPixels(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont songFont(double points) {
    QFont font;
    font.setFamilies(songFaceFamilies());
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pointsToPixels(points));
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace norvessa::platform
