// The Windows program: the main window and its start-up on the Windows front end.

#include <windows.h>

#include <cstdlib>

#include "main_window/database_provisioning.h"
#include "main_window/program.h"
#include "platform/win32/win32_front_end.h"

int WINAPI wWinMain(HINSTANCE /*instance*/, HINSTANCE /*previous*/, PWSTR /*commandLine*/,
                    int /*show*/) {
    norvessa::main_window::startDatabaseProvisioning();
    norvessa::platform::win32::Win32FrontEnd frontEnd;
    // For start-up measurements (bench/startup): the program ends at its first paint.
    if (std::getenv("NORVESSA_QUIT_AFTER_FIRST_SHOW") != nullptr) {
        frontEnd.quitAfterFirstPaint();
    }
    return norvessa::main_window::runProgram(frontEnd);
}
