#pragma once

#include "secondary_windows/secondary_window.h"

namespace norvessa::secondary_windows {

// "群联型号对应表": the picture of the 群联 designations table and nothing else. The picture is
// 8 rows taller than the client area, so its lowest rows stay out of view.
class Form2 : public SecondaryWindow {
  public:
    Form2();
};

}  // namespace norvessa::secondary_windows
