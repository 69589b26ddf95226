#pragma once

#include <QPushButton>

namespace norvessa::platform {

// A command button as the window designer makes them: never the window's default button, and
// pressed by the keyboard while it has the focus, by Space as well as by Enter. Enter elsewhere,
// in a text box for instance, presses no button.
class CommandButton : public QPushButton {
  public:
    explicit CommandButton(QWidget* parent);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace norvessa::platform
