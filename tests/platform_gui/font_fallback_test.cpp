// Without any of the Song faces the program still picks a face that can show Chinese, and says
// so once. The faces asked for here do not exist, which is how a machine without the Song faces
// looks to the chooser.

#include <gtest/gtest.h>

#include <QFontDatabase>
#include <QStringList>
#include <QtGlobal>

#include "platform/gui/fonts.h"

namespace {

using norvessa::platform::withStandInFace;

// Collects the warnings logged while it lives.
class CapturedWarnings {
  public:
    CapturedWarnings() {
        captured() = {};
        previous_ = qInstallMessageHandler(
            [](QtMsgType type, const QMessageLogContext&, const QString& message) {
                if (type == QtWarningMsg) {
                    captured().append(message);
                }
            });
    }
    ~CapturedWarnings() { qInstallMessageHandler(previous_); }
    CapturedWarnings(const CapturedWarnings&) = delete;
    CapturedWarnings& operator=(const CapturedWarnings&) = delete;

    static QStringList& captured() {
        static QStringList warnings;
        return warnings;
    }

  private:
    QtMessageHandler previous_ = nullptr;
};

const QStringList kMissingFaces = {QStringLiteral("Norvessa Missing Song"),
                                   QStringLiteral("宋体 Norvessa 缺失")};

TEST(FontFallback, MissingFacesAreNamedOnceWithTheFaceUsedInstead) {
    const bool chineseFaceInstalled =
        !QFontDatabase::families(QFontDatabase::SimplifiedChinese).isEmpty();
    CapturedWarnings warnings;

    const QStringList families = withStandInFace(kMissingFaces);

    ASSERT_EQ(CapturedWarnings::captured().size(), 1);
    const QString warning = CapturedWarnings::captured().first();
    for (const QString& missing : kMissingFaces) {
        EXPECT_TRUE(warning.contains(missing)) << warning.toStdString();
    }
    EXPECT_EQ(families.mid(0, kMissingFaces.size()), kMissingFaces);
    if (chineseFaceInstalled) {
        ASSERT_EQ(families.size(), kMissingFaces.size() + 1);
        const QString standIn = families.last();
        EXPECT_TRUE(
            QFontDatabase::writingSystems(standIn).contains(QFontDatabase::SimplifiedChinese))
            << standIn.toStdString();
        EXPECT_TRUE(warning.contains(QStringLiteral("using \"%1\" instead").arg(standIn)))
            << warning.toStdString();
    } else {
        EXPECT_EQ(families, kMissingFaces);
        EXPECT_TRUE(warning.contains(QStringLiteral("fonts-arphic-uming")))
            << warning.toStdString();
    }
}

TEST(FontFallback, AnInstalledFaceAmongTheWantedOnesNeedsNoStandInAndNoWarning) {
    const QStringList installed = QFontDatabase::families();
    ASSERT_FALSE(installed.isEmpty());
    const QStringList wanted = {kMissingFaces.first(), installed.first()};
    CapturedWarnings warnings;

    EXPECT_EQ(withStandInFace(wanted), wanted);
    EXPECT_TRUE(CapturedWarnings::captured().isEmpty());
}

}  // namespace
