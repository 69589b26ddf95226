#include "platform/gui/fonts.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QtDebug>
#include <algorithm>
#include <cmath>
#include <optional>

namespace norvessa::platform {
namespace {

// Looked up among the installed families' names only: QFontDatabase::hasFamily also asks
// fontconfig to resolve a name it does not know as an alias, which costs a fifth of the
// program's start-up for the designed face's names on a machine without that face.
bool isInstalled(const QString& family) {
    static const QStringList installed = QFontDatabase::families();
    return installed.contains(family, Qt::CaseInsensitive);
}

// Family names that mark a Song (Ming) style face, which looks closest to the designed one.
bool looksSongStyle(const QString& family) {
    for (const char* mark : {"Serif", "Song", "Ming", "Sung"}) {
        if (family.contains(QLatin1String(mark), Qt::CaseInsensitive)) {
            return true;
        }
    }
    return family.contains(QStringLiteral("宋")) || family.contains(QStringLiteral("明"));
}

// Family names that mark a face drawn for the mainland's characters: faces made for other
// regions draw some shared characters differently.
bool madeForSimplifiedChinese(const QString& family) {
    return family.endsWith(QLatin1String(" SC")) || family.endsWith(QLatin1String(" CN")) ||
           family.contains(QLatin1String("GB"));
}

// How well an installed face that can show Simplified Chinese stands in for the Song face: the
// mainland's character forms matter more than the style.
int standInRank(const QString& family) {
    return (madeForSimplifiedChinese(family) ? 2 : 0) + (looksSongStyle(family) ? 1 : 0);
}

std::optional<QString> bestChineseFace() {
    QStringList chinese = QFontDatabase::families(QFontDatabase::SimplifiedChinese);
    chinese.removeIf([](const QString& family) { return QFontDatabase::isPrivateFamily(family); });
    if (chinese.isEmpty()) {
        return std::nullopt;
    }
    return *std::ranges::max_element(chinese, {}, standInRank);
}

// The face the system picks for the wanted faces when it has none of them, as the warning names it.
QString systemChoice(const QStringList& wanted) {
    QFont font;
    font.setFamilies(wanted);
    font.setStyleHint(QFont::Serif);
    const QString family = QFontInfo(font).family();
    return family.isEmpty() ? QStringLiteral("the system's default font")
                            : QStringLiteral("\"%1\"").arg(family);
}

}  // namespace

QStringList preferredSongFaces() {
    return {QStringLiteral("宋体"),
            QStringLiteral("SimSun"),
            QStringLiteral("NSimSun"),
            QStringLiteral("AR PL UMing CN"),
            QStringLiteral("Noto Serif CJK SC"),
            QStringLiteral("Source Han Serif SC")};
}

QStringList withStandInFace(const QStringList& wanted) {
    if (std::ranges::any_of(wanted, isInstalled)) {
        return wanted;
    }
    const QString lookedFor = QStringLiteral("Chinese fonts: none of ") +
                              wanted.join(QStringLiteral(", ")) + QStringLiteral(" is installed");
    const std::optional<QString> standIn = bestChineseFace();
    if (!standIn) {
        const QString consequence =
            QStringLiteral(
                ", nor any other font for Simplified Chinese; using %1 instead, "
                "which may show Chinese text as empty boxes (the package "
                "fonts-arphic-uming provides a suitable font)")
                .arg(systemChoice(wanted));
        qWarning().noquote() << lookedFor + consequence;
        return wanted;
    }
    qWarning().noquote() << lookedFor + QStringLiteral("; using \"%1\" instead").arg(*standIn);
    QStringList families = wanted;
    families.append(*standIn);
    return families;
}

QStringList songFaceFamilies() {
    static const QStringList families = withStandInFace(preferredSongFaces());
    return families;
}

int pointsToPixels(double points) {
    return static_cast<int>(std::lround(points * 96.0 / 72.0));
}

QFont songFont(double points) {
    QFont font;
    font.setFamilies(songFaceFamilies());
    font.setStyleHint(QFont::Serif);
    font.setPixelSize(pointsToPixels(points));
    // At the sizes the face carries bitmaps for (11 to 16 pixels) those are drawn anyway; the
    // larger captions look the same unhinted, and auto-hinting each of their glyphs took a fifth
    // of the start-up.
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    return font;
}

}  // namespace norvessa::platform
