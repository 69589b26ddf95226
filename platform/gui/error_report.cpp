#include "platform/gui/error_report.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace norvessa::platform {
namespace {

void showMessageBox(const ErrorReport& report) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(),
                    QString::fromStdString(report.summary), QMessageBox::Ok);
    box.setInformativeText(QString::fromStdString(report.reason));
    // The technical detail is in the engine's or the system's words, mostly English: it stays
    // folded away behind the box's own details button, for whoever asks for it.
    box.setDetailedText(QString::fromStdString(report.detail));
    box.exec();
}

ErrorPresenter& currentPresenter() {
    static ErrorPresenter presenter = showMessageBox;
    return presenter;
}

}  // namespace

ErrorPresenter setErrorPresenter(ErrorPresenter presenter) {
    if (!presenter) {
        presenter = showMessageBox;
    }
    return std::exchange(currentPresenter(), std::move(presenter));
}

void reportError(const ErrorReport& report) {
    currentPresenter()(report);
}

}  // namespace norvessa::platform
