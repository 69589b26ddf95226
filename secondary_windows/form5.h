#pragma once

#include <QLabel>

#include "platform/gui/auto_size_label.h"
#include "secondary_windows/link_label.h"
#include "secondary_windows/secondary_window.h"

namespace norvessa::secondary_windows {

// "关于   made by velthorn42": greets the user, thanks forum members and two forums, offers the
// forums' addresses as clickable labels and shows the version line beside a decorative picture.
class Form5 : public SecondaryWindow {
  public:
    Form5();

    // Click handlers of the two link labels: each starts the system's "explorer" with its
    // forum's address and leaves this window open.
    void Label14_Click();
    void Label13_Click();

    platform::AutoSizeLabel* const Label1 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label2 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label3 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label4 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label5 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label8 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label16 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label9 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label6 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label7 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label17 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label10 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label11 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label12 = new platform::AutoSizeLabel(this);
    LinkLabel* const Label14 = new LinkLabel(this);
    LinkLabel* const Label13 = new LinkLabel(this);
    platform::AutoSizeLabel* const Label15 = new platform::AutoSizeLabel(this);
    // The picture at its own size, not stretched, without a border; it reacts to nothing.
    QLabel* const Image1 = new QLabel(this);
};

}  // namespace norvessa::secondary_windows
