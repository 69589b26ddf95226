#pragma once

// A caption label that runs a handler when it is clicked: the left button pressed and released
// over it. It looks like any other label: no underline, no special mouse pointer.

#include <QMouseEvent>
#include <functional>

#include "platform/gui/auto_size_label.h"

namespace norvessa::platform {

class LinkLabel : public AutoSizeLabel {
  public:
    explicit LinkLabel(QWidget* parent);

    // The handler runs as an event handler: an error it throws is reported to the user.
    void setClickHandler(std::function<void()> handler);

  protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    std::function<void()> clickHandler_;
    bool pressed_ = false;
};

}  // namespace norvessa::platform
