#include "platform/gui/error_report.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace norvessa::platform {
namespace {

void showMessageBox(const ErrorReport& report) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), report.summary,
                    QMessageBox::Ok);
    box.setInformativeText(report.detail);
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

QString describeException(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        return QString::fromUtf8(exception.what());
    } catch (...) {
        return QStringLiteral("unknown error");
    }
}

QString startFailedSummary() {
    return QStringLiteral("程序无法启动。");
}

QString actionFailedSummary() {
    return QStringLiteral("操作未能完成。");
}

}  // namespace norvessa::platform
