#include "platform/gui/error_report.h"

#include <QApplication>
#include <QMessageBox>
#include <utility>

namespace norvessa::platform {
namespace {

void showMessageBox(const ErrorReport& report) {
    QMessageBox box(QMessageBox::Critical, QApplication::applicationName(), report.summary,
                    QMessageBox::Ok);
    box.setInformativeText(report.reason);
    // The technical detail is in the engine's or the system's words, mostly English: it stays
    // folded away behind the box's own details button, for whoever asks for it.
    box.setDetailedText(report.detail);
    box.exec();
}

ErrorPresenter& currentPresenter() {
    static ErrorPresenter presenter = showMessageBox;
    return presenter;
}

// The failure nested in an explained error, if there is one.
std::exception_ptr nestedFailure(const std::exception& error) {
    const auto* nested = dynamic_cast<const std::nested_exception*>(&error);
    return nested != nullptr ? nested->nested_ptr() : std::exception_ptr();
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

ErrorReport reportOf(const QString& summary, const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const ExplainedError& explained) {
        const std::exception_ptr behind = nestedFailure(explained);
        return {summary, behind ? describeException(behind) : QString(),
                QString::fromUtf8(explained.what())};
    } catch (...) {
        return {summary, describeException(error),
                QStringLiteral("程序遇到了意外的错误，请把详细信息告诉作者。")};
    }
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
