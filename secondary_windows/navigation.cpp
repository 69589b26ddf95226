#include "secondary_windows/navigation.h"

#include <memory>
#include <stdexcept>

#include "secondary_windows/form5.h"
#include "secondary_windows/window_layouts.h"

namespace norvessa::secondary_windows {

Navigation::Navigation(controls::FrontEnd& frontEnd)
    : frontEnd_(frontEnd),
      form2_([this] {
          return std::make_unique<SecondaryWindow>(frontEnd_, form2Description(), *this);
      }),
      form3_([this] {
          return std::make_unique<SecondaryWindow>(frontEnd_, form3Description(), *this);
      }),
      form4_([this] {
          return std::make_unique<SecondaryWindow>(frontEnd_, form4Description(), *this);
      }),
      form5_([this] { return std::make_unique<Form5>(frontEnd_, *this); }) {}

void Navigation::registerMainWindow(controls::Window& mainWindow) {
    mainWindow_ = &mainWindow;
}

void Navigation::unregisterMainWindow(const controls::Window& mainWindow) {
    if (mainWindow_ == &mainWindow) {
        mainWindow_ = nullptr;
    }
}

controls::Window& Navigation::mainWindow() {
    if (mainWindow_ == nullptr) {
        throw std::logic_error("no main window is registered for the window navigation");
    }
    return *mainWindow_;
}

// First hide, then show: between the two no window of the program is visible.
void Navigation::open(SharedWindow& target) {
    mainWindow().hide();
    try {
        target.show();
    } catch (...) {
        showMainWindow();
        throw;
    }
}

void Navigation::openForm2() {
    open(form2_);
}

void Navigation::openForm3() {
    open(form3_);
}

void Navigation::openForm4() {
    open(form4_);
}

void Navigation::openForm5() {
    open(form5_);
}

void Navigation::showMainWindow() {
    mainWindow().show();
}

}  // namespace norvessa::secondary_windows
