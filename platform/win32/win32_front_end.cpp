#include "platform/win32/win32_front_end.h"

#include <windows.h>

#include <commctrl.h>
#include <objbase.h>

#include <utility>

#include "platform/win32/error_dialog.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/message_window.h"
#include "platform/win32/native_window.h"
#include "platform/win32/program_launch.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"

namespace norvessa::platform::win32 {
namespace {

constexpr char kProgramName[] = "Norvessa";

HWND activeProgramWindow() {
    const HWND active = GetActiveWindow();
    return MessageWindow::isProgramWindow(active) ? active : nullptr;
}

}  // namespace

Win32FrontEnd::Win32FrontEnd() {
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_LISTVIEW_CLASSES | ICC_STANDARD_CLASSES | ICC_TAB_CLASSES;
    InitCommonControlsEx(&classes);
    // The picture decoder and the accessibility service are COM components.
    comInitialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    setEscapedErrorHandler([this](std::exception_ptr error) {
        showErrorReport(controls::reportOf(controls::actionFailedSummary(), error));
    });
}

Win32FrontEnd::~Win32FrontEnd() {
    setEscapedErrorHandler({});
    if (comInitialized_) {
        CoUninitialize();
    }
}

std::unique_ptr<controls::Window> Win32FrontEnd::createWindow(
    const controls::WindowDescription& description) {
    auto window = std::make_unique<NativeWindow>(
        description, [this](const controls::ErrorReport& report) { showErrorReport(report); });
    if (quitAfterFirstPaint_ && description.endsProgramWhenClosed) {
        // The process ends at once, with its windows still up, as the peer's does: the
        // measurement ends at the first paint, not after the windows' teardown.
        window->onFirstPaint([] { ExitProcess(0); });
    }
    return window;
}

void Win32FrontEnd::showErrorReport(const controls::ErrorReport& report) {
    if (presenter_) {
        presenter_(report);
        return;
    }
    showErrorDialog(activeProgramWindow(),
                    {kProgramName, report.summary, report.reason, report.detail});
}

void Win32FrontEnd::startProgram(std::string_view commandLine, controls::WindowStyle style) {
    launchCommandLine(commandLine, static_cast<int>(style));
}

int Win32FrontEnd::runEventLoop() {
    return runMessageLoop();
}

std::string Win32FrontEnd::upperCase(std::string_view text) const {
    const std::wstring wide = widen(text);
    if (wide.empty()) {
        return {};
    }
    // The invariant locale's case rules: no language's special cases (such as Turkish dotted i).
    const auto length = static_cast<int>(wide.size());
    const int needed = LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(), length,
                                     nullptr, 0, nullptr, nullptr, 0);
    std::wstring upper(static_cast<std::size_t>(needed), L'\0');
    if (needed == 0 || LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, wide.c_str(), length,
                                     upper.data(), needed, nullptr, nullptr, 0) == 0) {
        throwLastError("LCMapStringEx to upper case");
    }
    return narrow(upper);
}

void Win32FrontEnd::setErrorPresenter(controls::ErrorPresenter presenter) {
    presenter_ = std::move(presenter);
}

}  // namespace norvessa::platform::win32
