#pragma once

// A window of the program built from its description with the standard Windows controls: labels
// as STATIC controls, text boxes as EDIT controls, push buttons, the frame as a group box, the
// list as a common-controls list view and pictures as bitmaps. Places and fonts follow the DPI of
// the monitor the window is on, and are laid out anew when it changes.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/controls/controls.h"
#include "platform/win32/message_window.h"
#include "platform/win32/native_list_view.h"
#include "platform/win32/owned_handles.h"
#include "platform/win32/song_fonts.h"

namespace norvessa::platform::win32 {

class NativeWindow : public controls::Window, private MessageWindow {
  public:
    // `present` shows the report of an event handler's failure.
    NativeWindow(const controls::WindowDescription& description, controls::ErrorPresenter present);
    ~NativeWindow() override;

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

    // Runs once the window has first been painted.
    void onFirstPaint(std::function<void()> handler) { firstPainted_ = std::move(handler); }

    using MessageWindow::handle;
    // The native control of that name. Throws std::out_of_range for an unknown name.
    HWND control(std::string_view name) const;

    struct Control;

  private:
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void windowDestroyed() override;

    void createControl(const controls::ControlDescription& description, int id);
    void addToolTip(const Control& control);
    void arrangeTabOrder();
    void nameControlsForScreenReaders();
    void layOut();
    void applyDpi(int dpi, const RECT* suggested);
    void placeControl(Control& control);
    void fitLabel(Control& control);
    HFONT fontOf(const controls::ControlDescription& description);
    void setIcon();
    HBRUSH backBrushOf(const Control* control) const;
    void eraseBackground(HDC context);
    LRESULT colourStatic(HDC context, HWND control);
    static LRESULT CALLBACK frameProcedure(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                                           UINT_PTR subclass, DWORD_PTR window);
    void paintFrame(HWND frame);
    void clicked(WORD id);
    void requestClose();
    Control& find(std::string_view name, controls::ControlKind kind) const;
    Control* find(HWND control) const;

    controls::ErrorPresenter present_;
    int dpi_;
    SongFonts fonts_;
    OwnedBrush backBrush_;
    OwnedBitmap picture_;
    OwnedIcon bigIcon_;
    OwnedIcon smallIcon_;
    // Owned by the window, and destroyed with it.
    HWND toolTips_ = nullptr;
    bool shownBefore_ = false;
    bool iconSet_ = false;
    HWND savedFocus_ = nullptr;
    std::vector<std::unique_ptr<Control>> controls_;
    std::function<void(std::int16_t&)> unloadHandler_;
    std::function<void()> closedHandler_;
    std::function<void()> firstPainted_;
    bool painted_ = false;
};

}  // namespace norvessa::platform::win32
