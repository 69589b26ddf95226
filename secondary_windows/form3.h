#pragma once

#include "secondary_windows/secondary_window.h"

namespace norvessa::secondary_windows {

// "安国型号对照表": the picture of the 安国 designations table and nothing else, under the
// maker's logo as its window icon. The picture is as wide as the client area and one row taller.
class Form3 : public SecondaryWindow {
  public:
    Form3();
};

}  // namespace norvessa::secondary_windows
