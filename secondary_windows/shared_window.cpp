#include "secondary_windows/shared_window.h"

#include <utility>

namespace norvessa::secondary_windows {

SharedWindow::SharedWindow(Loader load) : load_(std::move(load)) {}

void SharedWindow::show() {
    if (!isLoaded()) {
        window_ = load_();
        // The window counts as unloaded from the moment its close is granted.
        window_->window().onClosed([this] { window_.reset(); });
    }
    window_->window().show();
}

}  // namespace norvessa::secondary_windows
