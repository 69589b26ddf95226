#include "platform/gui/application.h"

#include <QLibraryInfo>
#include <QLocale>
#include <QtDebug>
#include <exception>

#include "platform/gui/error_report.h"
#include "platform/gui/fonts.h"

namespace norvessa::platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Norvessa"));
    setApplicationVersion(QStringLiteral("1.00"));
    // Lets the desktop match the window to its desktop entry and icon.
    setDesktopFileName(QStringLiteral("net.norvessa.Norvessa"));

    // Every window uses the Song face; as the default font it is also the one every control is
    // built with, so no other face is ever loaded.
    setFont(songFont(kDefaultFontPoints));

    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    QLocale::setDefault(chinese);
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (qtTexts_.load(QStringLiteral("qtbase_zh_CN"), folder)) {
        installTranslator(&qtTexts_);
    } else {
        qWarning().noquote() << QStringLiteral(
                                    "Qt's Chinese translation qtbase_zh_CN.qm is not in %1; "
                                    "standard buttons stay English (the package "
                                    "qt6-translations-l10n provides it)")
                                    .arg(folder);
    }
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportError(reportOf(actionFailedSummary(), std::current_exception()));
        return false;
    }
}

}  // namespace norvessa::platform
