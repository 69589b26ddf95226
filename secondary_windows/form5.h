#pragma once

#include <string_view>

#include "secondary_windows/secondary_window.h"

namespace norvessa::secondary_windows {

// The About window (form5Description): its two forum links start the system's "explorer" with
// the forum's address and leave the window open.
class Form5 : public SecondaryWindow {
  public:
    Form5(controls::FrontEnd& frontEnd, Navigation& navigation);

    // The click handlers of the link labels.
    void Label14_Click();
    void Label13_Click();

  private:
    void openForum(std::string_view address);
};

}  // namespace norvessa::secondary_windows
