#pragma once

#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>

#include "platform/gui/list_view.h"
#include "platform/gui/qt_front_end.h"
#include "secondary_windows/navigation.h"

namespace secondary_windows_tests {

using norvessa::platform::QtWindow;
using norvessa::platform::qtWindowOf;
using norvessa::secondary_windows::Navigation;
using norvessa::secondary_windows::SharedWindow;

// The windows on the Qt front end and the navigation between them, for one test.
struct Windows {
    norvessa::platform::QtFrontEnd frontEnd;
    Navigation navigation{frontEnd};

    std::array<SharedWindow*, 4> allInstances() {
        return {&navigation.form2Instance(), &navigation.form3Instance(),
                &navigation.form4Instance(), &navigation.form5Instance()};
    }

    int loadedCount() {
        int count = 0;
        for (const auto* instance : allInstances()) {
            count += instance->isLoaded() ? 1 : 0;
        }
        return count;
    }
};

// The widget of a shared window while it is loaded, or nullptr.
inline QWidget* widgetOf(const SharedWindow& instance) {
    return instance.window() != nullptr ? &qtWindowOf(instance.window()->window()).widget()
                                        : nullptr;
}

// Stands in for Form1: a query box, a result list and a count label whose contents must survive
// a trip to a secondary window.
class StandInMainWindow {
  public:
    explicit StandInMainWindow(Navigation& navigation)
        : navigation_(navigation), window_(description()) {
        navigation_.registerMainWindow(window_);
    }
    ~StandInMainWindow() { navigation_.unregisterMainWindow(window_); }
    StandInMainWindow(const StandInMainWindow&) = delete;
    StandInMainWindow& operator=(const StandInMainWindow&) = delete;

    QWidget& widget() { return window_.widget(); }
    QtWindow& window() { return window_; }

    QLineEdit* query() { return &window_.control<QLineEdit>("Query"); }
    norvessa::platform::ListView* results() {
        return &window_.control<norvessa::platform::ListView>("Results");
    }
    QLabel* count() { return &window_.control<QLabel>("Count"); }

  private:
    static const norvessa::controls::WindowDescription& description() {
        using norvessa::controls::ControlKind;
        static const norvessa::controls::WindowDescription standIn{
            .name = "StandIn",
            .caption = "Norvessa测试版",
            .clientWidthTwips = 6000,
            .clientHeightTwips = 4500,
            .fontPoints = 12,
            .controls = {{.kind = ControlKind::TextBox,
                          .name = "Query",
                          .bounds = {150, 150, 3000, 360},
                          .tabIndex = 0,
                          .takesFocus = true},
                         {.kind = ControlKind::ListView,
                          .name = "Results",
                          .bounds = {150, 600, 4500, 3000},
                          .tabIndex = 1,
                          .takesFocus = true},
                         {.kind = ControlKind::Label,
                          .name = "Count",
                          .bounds = {150, 3750, 3000, 300}}},
        };
        return standIn;
    }

    Navigation& navigation_;
    QtWindow window_;
};

// Lets Qt destroy the windows whose close was granted, as its event loop would.
inline void destroyClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Closes whatever secondary window a test left open, so the next test starts from the main state.
inline void closeAllSecondaryWindows(Windows& windows) {
    for (auto* instance : windows.allInstances()) {
        if (instance->isLoaded()) {
            instance->window()->window().close();
        }
    }
    destroyClosedWindows();
}

}  // namespace secondary_windows_tests
