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

using namespace norvessa::secondary_windows;
using secondary_windows_tests::allInstances;
using secondary_windows_tests::closeAllSecondaryWindows;
using secondary_windows_tests::destroyClosedWindows;
using secondary_windows_tests::loadedCount;
using secondary_windows_tests::StandInMainWindow;

struct Route {
    const char* button;
    std::function<void()> open;
    std::function<SharedWindow&()> instance;
    QString caption;
    QSize clientSize;
};

void PrintTo(const Route& route, std::ostream* out) {
    *out << route.button;
}

class Navigation : public ::testing::TestWithParam<Route> {
  protected:
    void SetUp() override {
        main_ = std::make_unique<StandInMainWindow>();
        registerMainWindow(*main_);
        main_->move(120, 80);
        main_->show();
        main_->query->setText(QStringLiteral("  k9hcg08u5m "));
        main_->results->addItems({QStringLiteral("1"), QStringLiteral("2")});
        main_->results->setCurrentRow(1);
        main_->count->setText(QStringLiteral("共查到2个结果！"));
    }
    void TearDown() override { closeAllSecondaryWindows(); }

    std::unique_ptr<StandInMainWindow> main_;
};

TEST_P(Navigation, TheButtonHidesTheMainWindowAndShowsItsWindow) {
    const Route& route = GetParam();
    route.open();

    EXPECT_TRUE(main_->isHidden());
    SharedWindow& instance = route.instance();
    const QWidget* window = instance.window();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->parentWidget(), nullptr) << "no owner window";
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle(), route.caption);
    EXPECT_EQ(window->size(), route.clientSize);
    EXPECT_EQ(loadedCount(), 1) << "exactly one secondary window";
}

TEST_P(Navigation, ClosingTheWindowBringsTheMainWindowBackAsItWas) {
    const Route& route = GetParam();
    const QRect placeBefore = main_->geometry();
    route.open();
    const QPointer<QWidget> window = route.instance().window();

    EXPECT_TRUE(window->close()) << "a close request is never refused";
    EXPECT_FALSE(route.instance().isLoaded());
    EXPECT_TRUE(main_->isVisible());
    EXPECT_EQ(main_->geometry(), placeBefore);
    EXPECT_EQ(main_->query->text(), QStringLiteral("  k9hcg08u5m "));
    EXPECT_EQ(main_->results->count(), 2);
    EXPECT_EQ(main_->results->currentRow(), 1);
    EXPECT_EQ(main_->count->text(), QStringLiteral("共查到2个结果！"));

    destroyClosedWindows();
    EXPECT_TRUE(window.isNull()) << "the closed window is destroyed";
    EXPECT_EQ(loadedCount(), 0);
}

TEST_P(Navigation, AMovedWindowComesBackCentredAndNew) {
    const Route& route = GetParam();
    route.open();
    const QPointer<QWidget> first = route.instance().window();
    const QPoint screenCentre = QGuiApplication::primaryScreen()->geometry().center();
    EXPECT_LE((first->frameGeometry().center() - screenCentre).manhattanLength(), 1);

    first->move(3, 4);
    first->close();
    destroyClosedWindows();
    route.open();

    const QWidget* second = route.instance().window();
    ASSERT_NE(second, nullptr);
    EXPECT_TRUE(first.isNull());
    EXPECT_LE((second->frameGeometry().center() - screenCentre).manhattanLength(), 1);
    EXPECT_EQ(second->windowTitle(), route.caption);
}

TEST_P(Navigation, AMainWindowMovedBeforeTheTripReturnsToItsNewPlace) {
    main_->move(17, 23);
    const QPoint place = main_->pos();
    GetParam().open();
    GetParam().instance().window()->close();
    EXPECT_EQ(main_->pos(), place);
}

INSTANTIATE_TEST_SUITE_P(
    FourButtons, Navigation,
    ::testing::Values(
        Route{"Command2", openForm2, form2Instance, QStringLiteral("群联型号对应表"), {297, 381}},
        Route{"Command3", openForm3, form3Instance, QStringLiteral("安国型号对照表"), {411, 290}},
        Route{"Command4", openForm4, form4Instance, QStringLiteral("问题反馈"), {484, 196}},
        Route{"Command5",
              openForm5,
              form5Instance,
              QStringLiteral("关于   made by velthorn42"),
              {665, 373}}));

TEST(NavigationRoundTrip, EveryWindowInTurnLeavesOnlyTheMainWindow) {
    StandInMainWindow main;
    registerMainWindow(main);
    main.show();
    for (const auto& open : {openForm2, openForm3, openForm4, openForm5, openForm2}) {
        open();
        EXPECT_EQ(loadedCount(), 1);
        for (auto* instance : allInstances()) {
            if (instance->isLoaded()) {
                instance->window()->close();
            }
        }
        EXPECT_EQ(loadedCount(), 0);
        EXPECT_TRUE(main.isVisible());
    }
    destroyClosedWindows();
}

TEST(NavigationRoundTrip, OpeningTwiceWithoutClosingKeepsTheLoadedWindow) {
    StandInMainWindow main;
    registerMainWindow(main);
    main.show();
    openForm4();
    const QWidget* first = form4Instance().window();
    openForm4();
    EXPECT_EQ(form4Instance().window(), first);
    closeAllSecondaryWindows();
}

TEST(NavigationRoundTrip, WithoutAMainWindowNothingOpens) {
    {
        StandInMainWindow gone;
        registerMainWindow(gone);
    }
    EXPECT_THROW(openForm3(), std::logic_error);
    EXPECT_EQ(loadedCount(), 0);
    EXPECT_THROW(showMainWindow(), std::logic_error);
}

}  // namespace
