// Moving between the main window and the secondary windows: which window is visible when, that
// a secondary window is built anew and centred at every opening, and that the main window comes
// back where and as it was.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <functional>
#include <memory>
#include <stdexcept>

#include "secondary_windows/navigation.h"
#include "secondary_windows/window_test_support.h"

namespace {

using norvessa::secondary_windows::SharedWindow;
using secondary_windows_tests::closeAllSecondaryWindows;
using secondary_windows_tests::destroyClosedWindows;
using secondary_windows_tests::StandInMainWindow;
using secondary_windows_tests::widgetOf;
using secondary_windows_tests::Windows;
using Navigation = norvessa::secondary_windows::Navigation;

struct Route {
    const char* button;
    void (Navigation::*open)();
    SharedWindow& (Navigation::*instance)();
    QString caption;
    QSize clientSize;
};

void PrintTo(const Route& route, std::ostream* out) {
    *out << route.button;
}

class NavigationTest : public ::testing::TestWithParam<Route> {
  protected:
    void SetUp() override {
        main_ = std::make_unique<StandInMainWindow>(windows_.navigation);
        main_->widget().move(120, 80);
        main_->widget().show();
        main_->query()->setText(QStringLiteral("  k9hcg08u5m "));
        main_->results()->listItems().add(QStringLiteral("1"));
        main_->results()->listItems().add(QStringLiteral("2"));
        main_->results()->setCurrentCell(1, 0);
        main_->count()->setText(QStringLiteral("共查到2个结果！"));
    }
    void TearDown() override { closeAllSecondaryWindows(windows_); }

    void open() { (windows_.navigation.*GetParam().open)(); }
    SharedWindow& instance() { return (windows_.navigation.*GetParam().instance)(); }

    Windows windows_;
    std::unique_ptr<StandInMainWindow> main_;
};

TEST_P(NavigationTest, TheButtonHidesTheMainWindowAndShowsItsWindow) {
    const Route& route = GetParam();
    open();

    EXPECT_TRUE(main_->widget().isHidden());
    const QWidget* window = widgetOf(instance());
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), nullptr) << "no owner window";
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), route.caption);
    EXPECT_EQ(window->size(), route.clientSize);
    EXPECT_EQ(windows_.loadedCount(), 1) << "exactly one secondary window";
}

TEST_P(NavigationTest, ClosingTheWindowBringsTheMainWindowBackAsItWas) {
    const QRect placeBefore = main_->widget().geometry();
    open();
    const QPointer<QWidget> window = widgetOf(instance());

    EXPECT_TRUE(window->close()) << "a close request is never refused";
    EXPECT_FALSE(instance().isLoaded());
    EXPECT_TRUE(main_->widget().isVisible());
    EXPECT_EQ(main_->widget().geometry(), placeBefore);
    EXPECT_EQ(main_->query()->text(), QStringLiteral("  k9hcg08u5m "));
    EXPECT_EQ(main_->results()->listItems().count(), 2);
    EXPECT_EQ(main_->results()->currentRow(), 1);
    EXPECT_EQ(main_->count()->text(), QStringLiteral("共查到2个结果！"));

    destroyClosedWindows();
    EXPECT_TRUE(window.isNull()) << "the closed window is destroyed";
    EXPECT_EQ(windows_.loadedCount(), 0);
}

TEST_P(NavigationTest, AMovedWindowComesBackCentredAndNew) {
    const Route& route = GetParam();
    open();
    const QPointer<QWidget> first = widgetOf(instance());
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((first->frameGeometry().center() - screenCentre).manhattanLength(), 1);

    first->move(3, 4);
    first->close();
    destroyClosedWindows();
    open();

    const QWidget* second = widgetOf(instance());
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(first.isNull());
    EXPECT_LE((second->frameGeometry().center() - screenCentre).manhattanLength(), 1);
    EXPECT_EQ(second->windowTitle(), route.caption);
}

TEST_P(NavigationTest, AMainWindowMovedBeforeTheTripReturnsToItsNewPlace) {
    main_->widget().move(17, 23);
    const QPoint place = main_->widget().pos();
    open();
    widgetOf(instance())->close();
    EXPECT_EQ(main_->widget().pos(), place);
}

INSTANTIATE_TEST_SUITE_P(FourButtons, NavigationTest,
                         ::testing::Values(Route{"Command2",
                                                 &Navigation::openForm2,
                                                 &Navigation::form2Instance,
                                                 QStringLiteral("群联型号对应表"),
                                                 {297, 381}},
                                           Route{"Command3",
                                                 &Navigation::openForm3,
                                                 &Navigation::form3Instance,
                                                 QStringLiteral("安国型号对照表"),
                                                 {411, 290}},
                                           Route{"Command4",
                                                 &Navigation::openForm4,
                                                 &Navigation::form4Instance,
                                                 QStringLiteral("问题反馈"),
                                                 {484, 196}},
                                           Route{"Command5",
                                                 &Navigation::openForm5,
                                                 &Navigation::form5Instance,
                                                 QStringLiteral("关于   made by velthorn42"),
                                                 {665, 373}}));

TEST(NavigationRoundTrip, EveryWindowInTurnLeavesOnlyTheMainWindow) {
    Windows windows;
    StandInMainWindow main(windows.navigation);
    main.widget().show();
    for (const auto open : {&Navigation::openForm2, &Navigation::openForm3, &Navigation::openForm4,
                            &Navigation::openForm5, &Navigation::openForm2}) {
        (windows.navigation.*open)();
        EXPECT_EQ(windows.loadedCount(), 1);
        for (auto* instance : windows.allInstances()) {
            if (instance->isLoaded()) {
                widgetOf(*instance)->close();
            }
        }
        EXPECT_EQ(windows.loadedCount(), 0);
        EXPECT_TRUE(main.widget().isVisible());
    }
    destroyClosedWindows();
}

TEST(NavigationRoundTrip, OpeningTwiceWithoutClosingKeepsTheLoadedWindow) {
    Windows windows;
    StandInMainWindow main(windows.navigation);
    main.widget().show();
    windows.navigation.openForm4();
    const QWidget* first = widgetOf(windows.navigation.form4Instance());
    windows.navigation.openForm4();
    EXPECT_EQ(widgetOf(windows.navigation.form4Instance()), first);
    closeAllSecondaryWindows(windows);
}

TEST(NavigationRoundTrip, WithoutAMainWindowNothingOpens) {
    Windows windows;
    { const StandInMainWindow gone(windows.navigation); }
    EXPECT_THROW(windows.navigation.openForm3(), std::logic_error);
    EXPECT_EQ(windows.loadedCount(), 0);
    EXPECT_THROW(windows.navigation.showMainWindow(), std::logic_error);
}

}  // namespace
