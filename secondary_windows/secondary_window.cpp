#include "secondary_windows/secondary_window.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPalette>
#include <utility>

#include "platform/gui/event_handler.h"
#include "platform/gui/twips.h"
#include "secondary_windows/navigation.h"

namespace norvessa::secondary_windows {

SecondaryWindow::SecondaryWindow(const WindowDescription& description)
    : QWidget(nullptr, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QLatin1String(description.name));
    setWindowTitle(description.caption);
    setFixedSize(platform::twipsToPixels(description.clientWidthTwips),
                 platform::twipsToPixels(description.clientHeightTwips));

    QPalette colours = palette();
    colours.setColor(QPalette::Window,
                     description.background.value_or(colours.color(QPalette::Button)));
    setPalette(colours);
    setAutoFillBackground(true);
}

void SecondaryWindow::Form_Unload(std::int16_t& /*cancel*/) {
    showMainWindow();
}

void SecondaryWindow::setUnloadedCallback(std::function<void()> unloaded) {
    unloaded_ = std::move(unloaded);
}

void SecondaryWindow::setBackgroundPicture(const QImage& picture) {
    backgroundPicture_ = picture;
    update();
}

void SecondaryWindow::closeEvent(QCloseEvent* event) {
    std::int16_t cancel = 0;
    platform::runEventHandler([&] { Form_Unload(cancel); });
    if (cancel != 0) {
        event->ignore();
        return;
    }
    event->accept();
    if (unloaded_) {
        unloaded_();
    }
}

void SecondaryWindow::paintEvent(QPaintEvent* /*event*/) {
    if (backgroundPicture_.isNull()) {
        return;
    }
    // Qt lays the window out in logical pixels; on a high-density screen the picture keeps its
    // size in device pixels and the button face fills the rest.
    const qreal ratio = devicePixelRatioF();
    QPainter painter(this);
    painter.drawImage(
        QRectF(0.0, 0.0, backgroundPicture_.width() / ratio, backgroundPicture_.height() / ratio),
        backgroundPicture_);
}

}  // namespace norvessa::secondary_windows
