#include "main_window/database_provisioning.h"
#include "main_window/program.h"
#include "platform/gui/application.h"
#include "platform/gui/qt_front_end.h"

int main(int argc, char* argv[]) {
    norvessa::main_window::startDatabaseProvisioning();
    norvessa::platform::Application application(argc, argv);
    norvessa::platform::QtFrontEnd frontEnd;
    return norvessa::main_window::runProgram(frontEnd);
}
