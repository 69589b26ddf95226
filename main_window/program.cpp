#include "main_window/program.h"

#include <QRect>
#include <QScreen>
#include <QTimer>
#include <exception>
#include <memory>

#include "main_window/form1.h"
#include "platform/gui/error_report.h"

namespace norvessa::main_window {
namespace {

// Centres the window, frame included, on its screen. Creating the native window first lets the
// platform tell the frame's size where it knows it before the window is shown; a window manager
// that decorates the window only once it is shown leaves the frame out of the reckoning.
void centreOnScreen(QWidget& window) {
    window.winId();
    const QScreen* screen = window.screen();
    if (screen == nullptr) {
        return;
    }
    QRect placed(QPoint(0, 0), window.frameGeometry().size());
    placed.moveCenter(screen->availableGeometry().center());
    window.move(placed.topLeft());
}

// For start-up measurements (bench/startup): with NORVESSA_QUIT_AFTER_FIRST_SHOW set, the program
// ends as soon as its main window has first been painted.
class QuitAfterFirstShow : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int runProgram(QApplication& application) {
    std::unique_ptr<Form1> form;
    try {
        form = std::make_unique<Form1>();
        form->Form_Load();
    } catch (...) {
        platform::reportError(
            platform::reportOf(platform::startFailedSummary(), std::current_exception()));
        return kStartFailedExitStatus;
    }
    centreOnScreen(*form);
    QuitAfterFirstShow quitAfterFirstShow;
    if (qEnvironmentVariableIsSet("NORVESSA_QUIT_AFTER_FIRST_SHOW")) {
        form->installEventFilter(&quitAfterFirstShow);
    }
    form->show();
    return application.exec();
}

}  // namespace norvessa::main_window
