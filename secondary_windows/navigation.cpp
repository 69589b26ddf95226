#include "secondary_windows/navigation.h"

#include <QPointer>
#include <memory>
#include <stdexcept>

#include "secondary_windows/form2.h"
#include "secondary_windows/form3.h"
#include "secondary_windows/form4.h"
#include "secondary_windows/form5.h"

namespace norvessa::secondary_windows {
namespace {

QPointer<QWidget>& registeredMainWindow() {
    static QPointer<QWidget> mainWindow;
    return mainWindow;
}

QWidget& mainWindow() {
    QWidget* const window = registeredMainWindow().data();
    if (window == nullptr) {
        throw std::logic_error("no main window is registered for the window navigation");
    }
    return *window;
}

// First hide, then show: between the two no window of the program is visible.
void openSecondaryWindow(SharedWindow& target) {
    mainWindow().hide();
    try {
        target.show();
    } catch (...) {
        showMainWindow();
        throw;
    }
}

template <typename Window>
std::unique_ptr<SecondaryWindow> load() {
    return std::make_unique<Window>();
}

}  // namespace

void registerMainWindow(QWidget& window) {
    registeredMainWindow() = &window;
}

void openForm2() {
    openSecondaryWindow(form2Instance());
}

void openForm3() {
    openSecondaryWindow(form3Instance());
}

void openForm4() {
    openSecondaryWindow(form4Instance());
}

void openForm5() {
    openSecondaryWindow(form5Instance());
}

void showMainWindow() {
    QWidget& window = mainWindow();
    window.show();
    window.raise();
    window.activateWindow();
}

SharedWindow& form2Instance() {
    static SharedWindow instance(load<Form2>);
    return instance;
}

SharedWindow& form3Instance() {
    static SharedWindow instance(load<Form3>);
    return instance;
}

SharedWindow& form4Instance() {
    static SharedWindow instance(load<Form4>);
    return instance;
}

SharedWindow& form5Instance() {
    static SharedWindow instance(load<Form5>);
    return instance;
}

}  // namespace norvessa::secondary_windows
