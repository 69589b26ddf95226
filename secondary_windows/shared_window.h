#pragma once

// The shared instance of one secondary window. The instance lives as long as the navigation; its
// window exists only while it is loaded: showing loads it from the window's description, and the
// user's closing unloads it (the window and its controls are destroyed, the instance stays).

#include <functional>
#include <memory>

#include "secondary_windows/secondary_window.h"

namespace norvessa::secondary_windows {

class SharedWindow {
  public:
    using Loader = std::function<std::unique_ptr<SecondaryWindow>()>;

    explicit SharedWindow(Loader load);
    SharedWindow(const SharedWindow&) = delete;
    SharedWindow& operator=(const SharedWindow&) = delete;

    bool isLoaded() const { return window_ != nullptr; }

    // The loaded window, or nullptr.
    SecondaryWindow* window() const { return window_.get(); }

    // Shows the window modeless and without an owner: loads it first if it is not loaded; then
    // makes it visible and active and returns at once.
    void show();

  private:
    Loader load_;
    std::unique_ptr<SecondaryWindow> window_;
};

}  // namespace norvessa::secondary_windows
