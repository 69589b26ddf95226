#pragma once

// What the four secondary windows have in common: a window built from its description, and the
// unload handler that brings the main window back when the user closes it.

#include <cstdint>
#include <memory>

#include "platform/controls/controls.h"

namespace norvessa::secondary_windows {

class Navigation;

class SecondaryWindow {
  public:
    SecondaryWindow(controls::FrontEnd& frontEnd, const controls::WindowDescription& description,
                    Navigation& navigation);
    virtual ~SecondaryWindow() = default;
    SecondaryWindow(const SecondaryWindow&) = delete;
    SecondaryWindow& operator=(const SecondaryWindow&) = delete;

    controls::Window& window() { return *window_; }

    // The unload notification, raised before the window is destroyed, with the cancel flag at
    // zero: it shows the main window again and leaves the flag alone, so the window closes.
    void Form_Unload(std::int16_t& cancel);

  protected:
    controls::FrontEnd& frontEnd() { return frontEnd_; }

  private:
    controls::FrontEnd& frontEnd_;
    Navigation& navigation_;
    std::unique_ptr<controls::Window> window_;
};

}  // namespace norvessa::secondary_windows
