// Takes screenshots of the windows from the display, the way a user sees them: the main window
// after a lookup of each model given, then each secondary window.
//
//   norvessa_screenshots OUTPUT_FOLDER [MODEL...]
//
// Writes main_window.png (after the last model; the empty window when none is given),
// main_window_<MODEL>.png for each model, and form2.png to form5.png. Run it under a display
// server, for example xvfb-run -s "-screen 0 1280x1024x24"; QT_SCALE_FACTOR=2 gives the
// double-size pictures. Exit status 0 on success, 1 when a window could not be captured.
// compare_screenshots.py beside it compares two such folders pixel by pixel.

#include <QDeadlineTimer>
#include <QDir>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWindow>
#include <cstdio>

#include "main_window/form1.h"
#include "platform/gui/application.h"
#include "platform/gui/command_button.h"
#include "platform/gui/error_report.h"
#include "platform/gui/qt_front_end.h"
#include "secondary_windows/navigation.h"

namespace {

using norvessa::main_window::Form1;
using norvessa::platform::qtWindowOf;

// Runs the event loop for a while, or until the window is on screen when one is given.
bool settle(QWidget* window, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    while (!deadline.hasExpired()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        if (window != nullptr && window->windowHandle() != nullptr &&
            window->windowHandle()->isExposed()) {
            return true;
        }
        QThread::msleep(10);
    }
    return window == nullptr;
}

// Waits until the window is on screen and drawn, then saves what the display shows of it.
bool capture(QWidget& window, const QString& file) {
    if (!settle(&window, 5000)) {
        std::fprintf(stderr, "the window %s did not appear\n", qPrintable(window.objectName()));
        return false;
    }
    settle(nullptr, 300);
    const QPixmap shot = window.screen()->grabWindow(window.winId());
    if (shot.isNull() || !shot.save(file)) {
        std::fprintf(stderr, "cannot save %s\n", qPrintable(file));
        return false;
    }
    std::printf("%s\n", qPrintable(file));
    return true;
}

// Opens a secondary window with the main window's button, captures it and closes it again.
bool captureSecondary(Form1& form, const char* button,
                      norvessa::secondary_windows::SharedWindow& instance, const QString& file) {
    auto& main = qtWindowOf(form.window());
    main.control<QPushButton>(button).click();
    norvessa::secondary_windows::SecondaryWindow* window = instance.window();
    const bool captured = window != nullptr && capture(qtWindowOf(window->window()).widget(), file);
    if (window != nullptr) {
        window->window().close();
    }
    return captured && settle(&main.widget(), 5000);
}

}  // namespace

int main(int argc, char* argv[]) {
    norvessa::platform::Application application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: norvessa_screenshots OUTPUT_FOLDER [MODEL...]\n");
        return 2;
    }
    bool failed = false;
    norvessa::platform::setErrorPresenter([&](const norvessa::platform::ErrorReport& report) {
        std::fprintf(stderr, "%s %s\n%s\n", report.summary.c_str(), report.reason.c_str(),
                     report.detail.c_str());
        failed = true;
    });
    const QDir output(QString::fromLocal8Bit(argv[1]));
    norvessa::platform::QtFrontEnd frontEnd;
    norvessa::secondary_windows::Navigation navigation(frontEnd);
    Form1 form(frontEnd, navigation);
    form.Form_Load();
    form.window().show();
    auto& main = qtWindowOf(form.window());
    for (int index = 2; index < argc && !failed; ++index) {
        const QString model = QString::fromLocal8Bit(argv[index]);
        main.control<QLineEdit>("Text1").setText(model);
        main.control<QPushButton>("Command1").click();
        failed =
            failed || !capture(main.widget(),
                               output.filePath(QStringLiteral("main_window_%1.png").arg(model)));
    }
    failed = failed || !capture(main.widget(), output.filePath(QStringLiteral("main_window.png")));

    failed = failed || !captureSecondary(form, "Command2", navigation.form2Instance(),
                                         output.filePath(QStringLiteral("form2.png")));
    failed = failed || !captureSecondary(form, "Command3", navigation.form3Instance(),
                                         output.filePath(QStringLiteral("form3.png")));
    failed = failed || !captureSecondary(form, "Command4", navigation.form4Instance(),
                                         output.filePath(QStringLiteral("form4.png")));
    failed = failed || !captureSecondary(form, "Command5", navigation.form5Instance(),
                                         output.filePath(QStringLiteral("form5.png")));
    return failed ? 1 : 0;
}
