#pragma once

#include <QLabel>

#include "platform/gui/auto_size_label.h"
#include "secondary_windows/secondary_window.h"

namespace norvessa::secondary_windows {

// "问题反馈": thanks the user and lists how to reach the maker, in six labels on a pink ground.
// Nothing in it reacts to the mouse.
class Form4 : public SecondaryWindow {
  public:
    Form4();

    platform::AutoSizeLabel* const Label5 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label6 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label3 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label1 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label2 = new platform::AutoSizeLabel(this);
    // The one label with a fixed box; the profile address in it is plain text, not a link.
    QLabel* const Label4 = new QLabel(this);
};

}  // namespace norvessa::secondary_windows
