#include "platform/win32/error_dialog.h"

#include <commctrl.h>

#include "platform/win32/wide_text.h"

namespace norvessa::platform::win32 {
namespace {

using TaskDialogIndirectFunction = HRESULT(WINAPI*)(const TASKDIALOGCONFIG*, int*, int*, BOOL*);

// TaskDialogIndirect exists only in the common controls 6, which the program's manifest selects.
TaskDialogIndirectFunction taskDialogIndirect() {
    HMODULE commonControls = GetModuleHandleW(L"comctl32.dll");
    if (commonControls == nullptr) {
        commonControls = LoadLibraryW(L"comctl32.dll");
    }
    if (commonControls == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<TaskDialogIndirectFunction>(
        reinterpret_cast<void*>(GetProcAddress(commonControls, "TaskDialogIndirect")));
}

bool showTaskDialog(HWND owner, const ErrorDialogText& text) {
    const TaskDialogIndirectFunction show = taskDialogIndirect();
    if (show == nullptr) {
        return false;
    }
    const std::wstring title = widen(text.title);
    const std::wstring summary = widen(text.summary);
    const std::wstring reason = widen(text.reason);
    const std::wstring detail = widen(text.detail);
    // The button's text is given, so that it is Chinese whatever the system's language.
    const TASKDIALOG_BUTTON okButton{IDOK, L"确定"};

    TASKDIALOGCONFIG config{};
    config.cbSize = sizeof(config);
    config.hwndParent = owner;
    config.dwFlags = TDF_ALLOW_DIALOG_CANCELLATION | TDF_POSITION_RELATIVE_TO_WINDOW;
    config.pszWindowTitle = title.c_str();
    config.pszMainIcon = TD_ERROR_ICON;
    config.pszMainInstruction = summary.c_str();
    config.pszContent = reason.c_str();
    config.cButtons = 1;
    config.pButtons = &okButton;
    config.nDefaultButton = IDOK;
    if (!detail.empty()) {
        config.pszExpandedInformation = detail.c_str();
        config.pszCollapsedControlText = L"显示详情…";
        config.pszExpandedControlText = L"隐藏详情";
    }
    return SUCCEEDED(show(&config, nullptr, nullptr, nullptr));
}

void showMessageBox(HWND owner, const ErrorDialogText& text) {
    std::string body = text.summary + "\n\n" + text.reason;
    if (!text.detail.empty()) {
        body += "\n\n详细信息：\n" + text.detail;
    }
    MessageBoxW(owner, widen(body).c_str(), widen(text.title).c_str(), MB_OK | MB_ICONERROR);
}

}  // namespace

void showErrorDialog(HWND owner, const ErrorDialogText& text) {
    if (!showTaskDialog(owner, text)) {
        showMessageBox(owner, text);
    }
}

}  // namespace norvessa::platform::win32
