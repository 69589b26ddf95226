#include "main_window/program.h"

#include <exception>
#include <memory>

#include "main_window/form1.h"
#include "secondary_windows/navigation.h"

namespace norvessa::main_window {

int runProgram(controls::FrontEnd& frontEnd) {
    secondary_windows::Navigation navigation(frontEnd);
    std::unique_ptr<Form1> form;
    try {
        form = std::make_unique<Form1>(frontEnd, navigation);
        form->Form_Load();
    } catch (...) {
        frontEnd.showErrorReport(
            controls::reportOf(controls::startFailedSummary(), std::current_exception()));
        return kStartFailedExitStatus;
    }
    form->window().show();
    return frontEnd.runEventLoop();
}

}  // namespace norvessa::main_window
