#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTextEdit>
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
    EXPECT_EQ(errors.reports()[0].report.summary, QString::fromStdString(actionFailedSummary()));
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

// Three or more Latin words in a row: a sentence in the engine's or the system's words. A path
// such as ".../drive_c/Program Files/zuzivive.ss" is not one.
bool hasLatinSentence(const QString& text) {
    static const QRegularExpression sentence(QStringLiteral("[A-Za-z]+( +[A-Za-z]+){2,}"));
    return sentence.match(text).hasMatch();
}

TEST(ErrorReport, TheMessageBoxIsChineseWithTheTechnicalDetailInItsDetailsPart) {
    const auto previous = norvessa::platform::setErrorPresenter({});
    QString shownTitle;
    QString shownText;
    QString shownDetail;
    bool detailVisible = true;
    QStringList buttons;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shownTitle = box->windowTitle();
            shownText = box->text() + QLatin1Char('\n') + box->informativeText();
            shownDetail = box->detailedText();
            const auto* detailView = box->findChild<QTextEdit*>();
            detailVisible = detailView == nullptr || detailView->isVisible();
            for (const QAbstractButton* button : box->buttons()) {
                buttons.append(button->text());
            }
            box->accept();
        }
    });
    const QString reason = QStringLiteral(
        "数据库文件已损坏，或不是本程序的数据库：/home/x/.local/share/norvessa/"
        "drive_c/Program Files/zuzivive.ss\n重新启动本程序会重新写出数据库文件。");
    const QString detail = QStringLiteral(
        "cannot open the database /x/zuzivive.ss: unsupported format: not a Jet database");
    try {
        try {
            throw std::runtime_error(detail.toStdString());
        } catch (...) {
            std::throw_with_nested(ExplainedError(reason.toStdString()));
        }
    } catch (...) {
        norvessa::platform::reportError(
            norvessa::platform::reportOf(actionFailedSummary(), std::current_exception()));
    }
    norvessa::platform::setErrorPresenter(previous);

    EXPECT_EQ(shownTitle, QStringLiteral("Norvessa"));
    EXPECT_EQ(shownText,
              QString::fromStdString(actionFailedSummary()) + QLatin1Char('\n') + reason);
    EXPECT_FALSE(hasLatinSentence(shownText)) << shownText.toStdString();
    // The detail waits, folded, behind the details button.
    EXPECT_EQ(shownDetail, detail);
    EXPECT_FALSE(detailVisible);
    // Qt's own Chinese texts are loaded whatever the system's language, the details button's too.
    const QString showDetails = QCoreApplication::translate("QMessageBox", "Show Details...");
    EXPECT_NE(showDetails, QStringLiteral("Show Details..."));
    EXPECT_EQ(buttons, (QStringList{QStringLiteral("确定"), showDetails}));
}

TEST(ErrorReport, AnUnforeseenErrorKeepsItsMessageAsTheDetail) {
    const ErrorReport report = norvessa::platform::reportOf(
        actionFailedSummary(), std::make_exception_ptr(std::logic_error("no row 12")));
    EXPECT_EQ(report.detail, "no row 12");
    const QString reason = QString::fromStdString(report.reason);
    ASSERT_FALSE(reason.isEmpty());
    EXPECT_EQ(reason.front().script(), QChar::Script_Han);
}

}  // namespace
