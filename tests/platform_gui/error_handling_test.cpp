#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>

#include "platform/gui/application.h"
#include "platform/gui/error_report.h"
#include "platform/gui/event_handler.h"
#include "platform_gui/captured_errors.h"

namespace {

using norvessa::platform::actionFailedSummary;
using norvessa::platform::ErrorReport;
using norvessa::platform::ExplainedError;
using norvessa::platform::onClicked;
using norvessa::platform::runEventHandler;

TEST(EventHandler, AnEscapingErrorIsReportedWithItsMessageAndTheProgramGoesOn) {
    CapturedErrors errors;
    EXPECT_FALSE(runEventHandler([] {
        throw std::runtime_error("cannot write the file /x/zuzivive.ss: Permission denied");
    }));
    EXPECT_FALSE(runEventHandler([] { throw 42; }));
    EXPECT_TRUE(runEventHandler([] {}));

    ASSERT_EQ(errors.reports().size(), 2);
    EXPECT_EQ(errors.reports()[0].report.summary, actionFailedSummary());
    EXPECT_EQ(errors.reports()[0].report.detail,
              QStringLiteral("cannot write the file /x/zuzivive.ss: Permission denied"));
    EXPECT_EQ(errors.reports()[1].report.detail, QStringLiteral("unknown error"));
}

TEST(EventHandler, EachClickOfAFailingButtonIsReportedAndTheButtonStaysUsable) {
    CapturedErrors errors;
    QPushButton button;
    int clicks = 0;
    onClicked(&button, &button, [&clicks] {
        ++clicks;
        throw std::runtime_error("lookup failed");
    });
    button.click();
    button.click();
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(errors.reports().size(), 2);
}

// An object whose event handler lets an exception escape, as a handler written without the
// guard would.
class ThrowingObject : public QObject {
  public:
    bool event(QEvent* event) override {
        if (event->type() == QEvent::User) {
            throw std::runtime_error("handler failed");
        }
        return QObject::event(event);
    }
};

TEST(Application, NamesTheProgramAndReportsWhatEscapesAnEventHandler) {
    EXPECT_EQ(QCoreApplication::applicationName(), QStringLiteral("Norvessa"));
    EXPECT_EQ(QCoreApplication::applicationVersion(), QStringLiteral("1.00"));
    ASSERT_NE(dynamic_cast<norvessa::platform::Application*>(QCoreApplication::instance()),
              nullptr);

    CapturedErrors errors;
    ThrowingObject receiver;
    QEvent event(QEvent::User);
    EXPECT_FALSE(QCoreApplication::sendEvent(&receiver, &event));
    ASSERT_EQ(errors.reports().size(), 1);
    EXPECT_EQ(errors.reports()[0].report.detail, QStringLiteral("handler failed"));

    // Posted events pass through the same guard, and the event loop carries on.
    QCoreApplication::postEvent(&receiver, new QEvent(QEvent::User));
    QCoreApplication::sendPostedEvents(&receiver);
    EXPECT_EQ(errors.reports().size(), 2);
}

TEST(ErrorReport, TheMessageBoxIsChineseWithTheTechnicalDetailInItsDetailsPart) {
    const auto previous = norvessa::platform::setErrorPresenter({});
    QString shownTitle;
    QString shownSummary;
    QString shownExplanation;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shownTitle = box->windowTitle();
            shownSummary = box->text();
            shownExplanation = box->informativeText();
            for (const QAbstractButton* button : box->buttons()) {
                buttons.append(button->text());
            }
            box->accept();
        }
    });
    try {
        try {
            throw std::runtime_error("cannot create the folder /x: File exists");
        } catch (...) {
            std::throw_with_nested(
                ExplainedError(QStringLiteral("无法写入数据库文件：/x/zuzivive.ss")));
        }
    } catch (...) {
        norvessa::platform::reportError(norvessa::platform::reportOf(
            QStringLiteral("程序无法启动。"), std::current_exception()));
    }
    norvessa::platform::setErrorPresenter(previous);

    EXPECT_EQ(shownTitle, QStringLiteral("Norvessa"));
    EXPECT_EQ(shownSummary, QStringLiteral("程序无法启动。"));
    EXPECT_EQ(shownExplanation, QStringLiteral("无法写入数据库文件：/x/zuzivive.ss\n\n详细信息："
                                               "cannot create the folder /x: File exists"));
    // Qt's own Chinese texts are loaded whatever the system's language.
    EXPECT_EQ(buttons, QStringList{QStringLiteral("确定")});
}

TEST(ErrorReport, AnUnforeseenErrorKeepsItsMessageAsTheDetail) {
    const ErrorReport report = norvessa::platform::reportOf(
        actionFailedSummary(), std::make_exception_ptr(std::logic_error("no row 12")));
    EXPECT_EQ(report.detail, QStringLiteral("no row 12"));
    ASSERT_FALSE(report.reason.isEmpty());
    EXPECT_EQ(report.reason.front().script(), QChar::Script_Han);
}

}  // namespace
