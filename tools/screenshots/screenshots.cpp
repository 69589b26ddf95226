// Takes screenshots of the windows from the display, the way a user sees them: the main window
// after a lookup of each model given, then each secondary window.
//
//   norvessa_screenshots OUTPUT_FOLDER [MODEL...]
//
// Writes main_window.png (after the last model; the empty window when none is given),
// main_window_<MODEL>.png for each model, and form2.png to form5.png. Run it under a display
// server, for example xvfb-run -s "-screen 0 1280x1024x24"; QT_SCALE_FACTOR=2 gives the
// double-size pictures. Exit status 0 on success, 1 when a window could not be captured.

#include <QDeadlineTimer>
#include <QDir>
#include <QPixmap>
#include <QScreen>
#include <QThread>
#include <QWindow>
#include <cstdio>

#include "main_window/form1.h"
#include "platform/gui/application.h"
#include "platform/gui/error_report.h"
#include "secondary_windows/navigation.h"

namespace {

using norvessa::main_window::Form1;

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

bool captureSecondary(Form1& form, QPushButton& button,
                      norvessa::secondary_windows::SharedWindow& instance, const QString& file) {
    button.click();
    QWidget* window = instance.window();
    const bool captured = window != nullptr && capture(*window, file);
    if (window != nullptr) {
        window->close();
    }
    return captured && settle(&form, 5000);
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
        std::fprintf(stderr, "%s %s\n%s\n", qPrintable(report.summary), qPrintable(report.reason),
                     qPrintable(report.detail));
        failed = true;
    });
    const QDir output(QString::fromLocal8Bit(argv[1]));
    Form1 form;
    form.Form_Load();
    form.show();
    for (int index = 2; index < argc && !failed; ++index) {
        const QString model = QString::fromLocal8Bit(argv[index]);
        form.Text1->setText(model);
        form.Command1->click();
        failed = failed ||
                 !capture(form, output.filePath(QStringLiteral("main_window_%1.png").arg(model)));
    }
    failed = failed || !capture(form, output.filePath(QStringLiteral("main_window.png")));

    namespace windows = norvessa::secondary_windows;
    failed = failed || !captureSecondary(form, *form.Command2, windows::form2Instance(),
                                         output.filePath(QStringLiteral("form2.png")));
    failed = failed || !captureSecondary(form, *form.Command3, windows::form3Instance(),
                                         output.filePath(QStringLiteral("form3.png")));
    failed = failed || !captureSecondary(form, *form.Command4, windows::form4Instance(),
                                         output.filePath(QStringLiteral("form4.png")));
    failed = failed || !captureSecondary(form, *form.Command5, windows::form5Instance(),
                                         output.filePath(QStringLiteral("form5.png")));
    return failed ? 1 : 0;
}
