#include "platform/gui/application.h"

#include <exception>

#include "platform/gui/error_report.h"

namespace norvessa::platform {

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("Norvessa"));
    setApplicationVersion(QStringLiteral("1.00"));
    // Lets the desktop match the window to its desktop entry and icon.
    setDesktopFileName(QStringLiteral("net.norvessa.Norvessa"));
}

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportError({actionFailedSummary(), describeException(std::current_exception())});
        return false;
    }
}

}  // namespace norvessa::platform
