#pragma once

// The Qt front end: builds Qt widgets from window descriptions and implements the control layer
// on them. Labels are AutoSizeLabel (or a wrapping QLabel for a fixed box), text boxes QLineEdit,
// buttons CommandButton, frames Frame, list views ListView and pictures QLabel; each widget's
// object name is its control's name.
//
// Rules of this front end beyond those of the descriptions:
// - A window with a minimize box has a system menu too; one without is a fixed-size dialog with
//   a close box only.
// - The window's back colour (or the button face colour) is painted under its picture; the
//   controls keep the system's colours.
// - A window's close is granted at once when no unload handler is set.

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/controls.h"

namespace norvessa::platform {

class DescribedWidget;

class QtWindow : public controls::Window {
  public:
    explicit QtWindow(const controls::WindowDescription& description);
    ~QtWindow() override;
    QtWindow(const QtWindow&) = delete;
    QtWindow& operator=(const QtWindow&) = delete;

    controls::TextBox& textBox(std::string_view name) override;
    controls::Label& label(std::string_view name) override;
    controls::ListView& listView(std::string_view name) override;
    void onClick(std::string_view controlName, std::function<void()> handler) override;
    void onUnload(std::function<void(std::int16_t& cancel)> handler) override;
    void onClosed(std::function<void()> handler) override;
    void show() override;
    void hide() override;
    bool isVisible() const override;
    void close() override;

    // The window's widget, for tests and tools.
    QWidget& widget();

    // The widget of the named control, for tests and tools. Throws std::out_of_range when the
    // window has no such control of that type.
    template <typename Widget>
    Widget& control(std::string_view name) {
        auto* found = dynamic_cast<Widget*>(&controlWidget(name));
        if (found == nullptr) {
            throw std::out_of_range("the control " + std::string(name) + " of " +
                                    description().name + " is not of the type asked for");
        }
        return *found;
    }

  private:
    struct Control;

    QWidget& controlWidget(std::string_view name);
    Control& find(std::string_view name);
    void build();
    static void createWidget(Control& control, QWidget* parent);
    void chainTabOrder();

    DescribedWidget* widget_;
    std::vector<std::unique_ptr<Control>> controls_;
};

// The Qt window behind a controls::Window; a QtWindow's own window must be one of these.
QtWindow& qtWindowOf(controls::Window& window);

class QtFrontEnd : public controls::FrontEnd {
  public:
    std::unique_ptr<controls::Window> createWindow(
        const controls::WindowDescription& description) override;
    void showErrorReport(const controls::ErrorReport& report) override;
    void startProgram(std::string_view commandLine, controls::WindowStyle style) override;
    int runEventLoop() override;
    std::string upperCase(std::string_view text) const override;
};

}  // namespace norvessa::platform
