#include "secondary_windows/shared_window.h"

#include <QGuiApplication>
#include <QScreen>
#include <utility>

namespace norvessa::secondary_windows {
namespace {

// The secondary windows appear in the middle of the primary screen each time they are loaded.
void centreOnScreen(QWidget& window) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    // The frame's size (caption and borders) is known once the platform window exists; moving
    // a window places its frame's top-left corner.
    window.winId();
    QRect frame(QPoint(0, 0), window.frameGeometry().size());
    frame.moveCenter(screen->geometry().center());
    window.move(frame.topLeft());
}

}  // namespace

SharedWindow::SharedWindow(Loader load) : load_(std::move(load)) {}

void SharedWindow::show() {
    if (!isLoaded()) {
        std::unique_ptr<SecondaryWindow> loaded = load_();
        loaded->setAttribute(Qt::WA_DeleteOnClose);
        // The window counts as unloaded from the moment its close is granted, even though Qt
        // destroys it only when control returns to the event loop.
        loaded->setUnloadedCallback([this] { window_.clear(); });
        centreOnScreen(*loaded);
        window_ = loaded.release();
    }
    window_->show();
    window_->raise();
    window_->activateWindow();
}

}  // namespace norvessa::secondary_windows
