#include "secondary_windows/secondary_window.h"

#include "secondary_windows/navigation.h"

namespace norvessa::secondary_windows {

SecondaryWindow::SecondaryWindow(controls::FrontEnd& frontEnd,
                                 const controls::WindowDescription& description,
                                 Navigation& navigation)
    : frontEnd_(frontEnd), navigation_(navigation), window_(frontEnd.createWindow(description)) {
    window_->onUnload([this](std::int16_t& cancel) { Form_Unload(cancel); });
}

void SecondaryWindow::Form_Unload(std::int16_t& /*cancel*/) {
    navigation_.showMainWindow();
}

}  // namespace norvessa::secondary_windows
