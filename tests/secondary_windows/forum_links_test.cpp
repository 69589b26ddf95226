// The About window's two forum links: a click starts the system's explorer with the address its
// caption shows, as "explorer" + blank + double quote + address, in window style 2.

#include <gtest/gtest.h>

#include <QTest>

#include "platform_gui/captured_errors.h"
#include "secondary_windows/navigation.h"
#include "secondary_windows/recording_launcher.h"
#include "secondary_windows/window_test_support.h"

namespace {

using norvessa::platform::WindowStyle;
using secondary_windows_tests::closeAllSecondaryWindows;
using secondary_windows_tests::StandInMainWindow;
using secondary_windows_tests::widgetOf;
using secondary_windows_tests::Windows;

class ForumLinks : public ::testing::Test {
  protected:
    void SetUp() override {
        main_.widget().show();
        windows_.navigation.openForm5();
        form_ = widgetOf(windows_.navigation.form5Instance());
    }
    void TearDown() override { closeAllSecondaryWindows(windows_); }

    void click(QWidget* widget) { QTest::mouseClick(widget, Qt::LeftButton); }

    QLabel* label(const char* name) {
        return &secondary_windows_tests::qtWindowOf(
                    windows_.navigation.form5Instance().window()->window())
                    .control<QLabel>(name);
    }

    // The address part of a link label's caption, after the full-width colon.
    static QString addressIn(const QLabel& label) {
        return label.text().section(QStringLiteral("："), 1);
    }

    Windows windows_;
    StandInMainWindow main_{windows_.navigation};
    QWidget* form_ = nullptr;
    RecordingLauncher launcher_;
};

TEST_F(ForumLinks, EachLinkStartsTheExplorerWithItsCaptionsAddress) {
    click(label("Label14"));
    click(label("Label13"));

    ASSERT_EQ(launcher_.starts.size(), 2);
    const QLabel* labels[] = {label("Label14"), label("Label13")};
    for (int index = 0; index < 2; ++index) {
        const QString address = addressIn(*labels[index]);
        const RecordingLauncher::Start& start = launcher_.starts[index];
        SCOPED_TRACE(address.toStdString());
        EXPECT_EQ(start.commandLine, QStringLiteral("explorer \"") + address);
        EXPECT_EQ(start.commandLine.size(), address.size() + 10);
        EXPECT_EQ(start.commandLine.count(QLatin1Char('"')), 1);
        EXPECT_EQ(start.style, WindowStyle::MinimizedFocus);
        EXPECT_EQ(static_cast<int>(start.style), 2);
    }
    EXPECT_TRUE(form_->isVisible()) << "the About window stays open";
    EXPECT_TRUE(main_.widget().isHidden());
}

TEST_F(ForumLinks, AddressesAreSchemeAndHostOnly) {
    for (const QLabel* label : {label("Label14"), label("Label13")}) {
        const QUrl address(addressIn(*label), QUrl::StrictMode);
        EXPECT_TRUE(address.isValid());
        EXPECT_EQ(address.scheme(), QStringLiteral("http"));
        EXPECT_TRUE(address.path().isEmpty()) << "no path, no trailing slash";
        EXPECT_EQ(address.toString(), addressIn(*label));
    }
}

TEST_F(ForumLinks, EveryClickStartsOneMoreProgram) {
    for (int clicks = 1; clicks <= 3; ++clicks) {
        click(label("Label14"));
        EXPECT_EQ(launcher_.starts.size(), clicks);
    }
}

TEST_F(ForumLinks, NothingElseInTheWindowStartsAnything) {
    for (QWidget* other : std::initializer_list<QWidget*>{
             label("Label15"), label("Label1"), label("Label16"), label("Image1"), form_}) {
        click(other);
    }
    // A press on the link that is released elsewhere is no click.
    QTest::mousePress(label("Label14"), Qt::LeftButton);
    QTest::mouseRelease(label("Label14"), Qt::LeftButton, {}, QPoint(-5, -5));
    QTest::mouseClick(label("Label14"), Qt::RightButton);
    EXPECT_TRUE(launcher_.starts.isEmpty());
}

TEST_F(ForumLinks, AFailedStartIsReportedAndTheWindowStaysOpen) {
    CapturedErrors errors;
    launcher_.failWith = QStringLiteral("cannot start \"explorer\": not found");
    click(label("Label13"));
    ASSERT_EQ(errors.reports().size(), 1);
    EXPECT_TRUE(errors.reports().front().report.detail.contains(QStringLiteral("not found")));
    EXPECT_TRUE(
        errors.reports().front().report.reason.startsWith(QStringLiteral("无法打开网址：")));
    EXPECT_TRUE(form_->isVisible());
}

}  // namespace
