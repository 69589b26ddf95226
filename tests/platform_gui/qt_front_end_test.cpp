// The Qt front end's windows beyond what the program's own windows show: lookups that name no
// such control, and close requests that are refused or that end in the owner destroying the
// window from its closed handler.

#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QTest>
#include <cstdint>
#include <memory>
#include <stdexcept>

#include "platform/gui/qt_front_end.h"

namespace {

using norvessa::controls::ControlKind;
using norvessa::controls::WindowDescription;
using norvessa::platform::QtFrontEnd;

const WindowDescription& testWindow() {
    static const WindowDescription window{
        .name = "TestWindow",
        .caption = "测试",
        .clientWidthTwips = 3000,
        .clientHeightTwips = 1500,
        .fontPoints = 12,
        .controls = {{.kind = ControlKind::Label,
                      .name = "Caption",
                      .bounds = {120, 120, 1200, 240},
                      .caption = "说明"},
                     {.kind = ControlKind::TextBox,
                      .name = "Box",
                      .bounds = {120, 480, 1800, 360},
                      .tabIndex = 0,
                      .takesFocus = true}},
    };
    return window;
}

TEST(QtFrontEnd, ControlsAreFoundByNameAndKindOnly) {
    QtFrontEnd frontEnd;
    const std::unique_ptr<norvessa::controls::Window> window = frontEnd.createWindow(testWindow());
    window->textBox("Box").setText("K9HCG08U5M");
    EXPECT_EQ(window->textBox("Box").text(), "K9HCG08U5M");
    EXPECT_EQ(window->label("Caption").caption(), "说明");
    EXPECT_THROW(window->textBox("Caption"), std::out_of_range);
    EXPECT_THROW(window->label("Missing"), std::out_of_range);
    EXPECT_THROW(window->listView("Box"), std::out_of_range);
    EXPECT_THROW(window->onClick("Caption", [] {}), std::out_of_range) << "reports no clicks";
}

TEST(QtFrontEnd, ACancelledCloseKeepsTheWindowAndAGrantedOneMayDestroyIt) {
    QtFrontEnd frontEnd;
    std::unique_ptr<norvessa::controls::Window> window = frontEnd.createWindow(testWindow());
    auto& qtWindow = norvessa::platform::qtWindowOf(*window);
    std::int16_t cancelWith = 1;
    int closed = 0;
    window->onUnload([&](std::int16_t& cancel) { cancel = cancelWith; });
    window->onClosed([&] {
        ++closed;
        window.reset();
    });
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&qtWindow.widget()));

    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(closed, 0);

    cancelWith = 0;
    const QPointer<QWidget> widget = &qtWindow.widget();
    window->close();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(window, nullptr);
    EXPECT_FALSE(widget.isNull()) << "deleted only once its close has been handled";
    for (const QWidget* topLevel : QApplication::topLevelWidgets()) {
        EXPECT_FALSE(topLevel == widget && topLevel->isVisible());
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(widget.isNull());
}

}  // namespace
