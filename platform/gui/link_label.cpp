#include "platform/gui/link_label.h"

#include <utility>

#include "platform/gui/event_handler.h"

namespace norvessa::platform {

LinkLabel::LinkLabel(QWidget* parent) : AutoSizeLabel(parent) {}

void LinkLabel::setClickHandler(std::function<void()> handler) {
    clickHandler_ = std::move(handler);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool clicked = pressed_ && event->button() == Qt::LeftButton &&
                         rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (clicked && clickHandler_) {
        runEventHandler(clickHandler_);
    }
}

}  // namespace norvessa::platform
