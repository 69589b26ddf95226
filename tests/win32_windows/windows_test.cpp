// The five windows as the Windows front end builds them, driven and read in-process with the
// controls' own messages: sizes and places at 96 DPI, captions, tab order, a lookup by click and
// by Enter, the navigation between the windows and the report of a damaged database.

#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "main_window/database_location.h"
#include "main_window/form1.h"
#include "main_window/form1_layout.h"
#include "platform/controls/twips.h"
#include "platform/core/windows_path.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/native_window.h"
#include "platform/win32/scaling.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_front_end.h"
#include "resources/database_image.h"
#include "secondary_windows/navigation.h"
#include "secondary_windows/window_layouts.h"

namespace norvessa {
namespace {

using controls::ControlKind;
using controls::WindowDescription;
using platform::win32::narrow;
using platform::win32::NativeWindow;

HWND handleOf(controls::Window& window) {
    return dynamic_cast<NativeWindow&>(window).handle();
}

HWND controlOf(controls::Window& window, const char* name) {
    return dynamic_cast<NativeWindow&>(window).control(name);
}

std::string textOf(HWND control) {
    std::array<wchar_t, 512> buffer{};
    const auto length =
        SendMessageW(control, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    return narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(length)));
}

void setTextOf(HWND control, const wchar_t* text) {
    SendMessageW(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

// Left, top, width, height in the parent's client area.
controls::PixelRect placeOf(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
}

std::vector<std::string> headersOf(HWND list) {
    std::vector<std::string> headers;
    for (int column = 0;; ++column) {
        std::array<wchar_t, 64> buffer{};
        LVCOLUMNW query{};
        query.mask = LVCF_TEXT;
        query.pszText = buffer.data();
        query.cchTextMax = static_cast<int>(buffer.size());
        if (!SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column),
                          reinterpret_cast<LPARAM>(&query))) {
            return headers;
        }
        headers.push_back(narrow(query.pszText));
    }
}

std::string cellOf(HWND list, int row, int column) {
    std::array<wchar_t, 256> buffer{};
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = buffer.data();
    item.cchTextMax = static_cast<int>(buffer.size());
    const auto length = SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row),
                                     reinterpret_cast<LPARAM>(&item));
    return narrow(std::wstring_view(buffer.data(), static_cast<std::size_t>(length)));
}

int rowsOf(HWND list) {
    return static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
}

// A key as the keyboard delivers it to the control with the focus, through the program's own
// message loop.
void pressKey(HWND control, WPARAM key) {
    SetFocus(control);
    PostMessageW(control, WM_KEYDOWN, key, 1);
    PostMessageW(control, WM_KEYUP, key, (LPARAM{1} << 31) | (LPARAM{1} << 30) | 1);
    platform::win32::processPendingMessages();
}

class Win32Windows : public ::testing::Test {
  protected:
    Win32Windows() {
        frontEnd_.setErrorPresenter(
            [this](const controls::ErrorReport& report) { reports_.push_back(report); });
    }

    void SetUp() override {
        if (platform::win32::primaryMonitorDpi() != controls::kStandardDotsPerInch) {
            GTEST_SKIP() << "the pixel sizes below hold at 96 DPI";
        }
    }

    platform::win32::Win32FrontEnd frontEnd_;
    std::vector<controls::ErrorReport> reports_;
};

// Every window has its client size, a fixed border and the caption buttons of its description;
// every control stands where its description puts it, with its caption. Auto-size labels may
// only grow, to the right and down.
TEST_F(Win32Windows, EveryWindowAndControlStandsAsDescribed) {
    const std::array<std::pair<const WindowDescription*, SIZE>, 5> windows = {{
        {&main_window::form1Description(), {834, 559}},
        {&secondary_windows::form2Description(), {297, 381}},
        {&secondary_windows::form3Description(), {411, 290}},
        {&secondary_windows::form4Description(), {484, 196}},
        {&secondary_windows::form5Description(), {665, 373}},
    }};
    for (const auto& [description, clientSize] : windows) {
        SCOPED_TRACE(description->name);
        const auto window = frontEnd_.createWindow(*description);
        const HWND handle = handleOf(*window);
        RECT client{};
        GetClientRect(handle, &client);
        EXPECT_EQ(client.right, clientSize.cx);
        EXPECT_EQ(client.bottom, clientSize.cy);
        EXPECT_EQ(textOf(handle), description->caption);
        const auto style = static_cast<DWORD>(GetWindowLongPtrW(handle, GWL_STYLE));
        EXPECT_EQ(style & (WS_THICKFRAME | WS_MAXIMIZEBOX), 0u);
        EXPECT_EQ((style & WS_MINIMIZEBOX) != 0, description->minimizeBox);

        for (const controls::ControlDescription& control : description->controls) {
            SCOPED_TRACE(control.name);
            const HWND native = controlOf(*window, control.name.c_str());
            controls::TwipsRect bounds = control.bounds;
            for (const controls::ControlDescription& frame : description->controls) {
                if (frame.name == control.container) {
                    bounds.left += frame.bounds.left;
                    bounds.top += frame.bounds.top;
                }
            }
            const controls::PixelRect expected = controls::twipsToPixelRect(bounds);
            const controls::PixelRect actual = placeOf(native);
            EXPECT_EQ(actual.left, expected.left);
            EXPECT_EQ(actual.top, expected.top);
            if (control.kind == ControlKind::Label &&
                control.sizing == controls::LabelSizing::AutoSize) {
                EXPECT_GE(actual.width, expected.width);
                EXPECT_GE(actual.height, expected.height);
            } else {
                EXPECT_EQ(actual.width, expected.width);
                EXPECT_EQ(actual.height, expected.height);
            }
            if (control.kind != ControlKind::Picture && control.kind != ControlKind::ListView) {
                EXPECT_EQ(textOf(native), control.caption);
            }
        }
    }
}

class Win32MainWindow : public Win32Windows {
  protected:
    void SetUp() override {
        Win32Windows::SetUp();
        if (IsSkipped()) {
            return;
        }
        form_.Form_Load();
        form_.window().show();
        platform::win32::processPendingMessages();
    }

    HWND control(const char* name) { return controlOf(form_.window(), name); }

    void click(const char* name) {
        SendMessageW(control(name), BM_CLICK, 0, 0);
        platform::win32::processPendingMessages();
    }

    secondary_windows::Navigation navigation_{frontEnd_};
    main_window::Form1 form_{frontEnd_, navigation_};
};

// The focus starts on the list and moves, by Tab, through the boxes and buttons in the order of
// their tab positions: the right column of boxes from the bottom up, then the window buttons.
TEST_F(Win32MainWindow, TabMovesTheFocusInTheDesignedOrder) {
    const HWND window = handleOf(form_.window());
    EXPECT_EQ(GetFocus(), control("ListView1"));
    const std::vector<std::string> cycle = {
        "ListView1", "Text1",    "Text2",    "Text3",    "Text4",    "Text5",    "Text6",
        "Text7",     "Text8",    "Text9",    "Command1", "Text13",   "Text12",   "Text11",
        "Text10",    "Command2", "Command3", "Command4", "Command5", "ListView1"};
    HWND focus = control("ListView1");
    for (std::size_t step = 1; step < cycle.size(); ++step) {
        focus = GetNextDlgTabItem(window, focus, FALSE);
        EXPECT_EQ(focus, control(cycle[step].c_str())) << "after " << cycle[step - 1];
    }
}

// A lookup by click lists every record of the model under the twelve headers, shows the last
// record's details and counts the rows; Label16 keeps its left edge as its caption grows.
TEST_F(Win32MainWindow, ClickingTheQueryButtonListsEveryRecordOfTheModel) {
    const HWND list = control("ListView1");
    EXPECT_EQ(headersOf(list),
              (std::vector<std::string>{"id", "序号", " 慧荣", " 群联", " 联阳", " 安国", " 擎泰",
                                        " 鑫创", " 银灿", " 芯邦", " 迈科微", " 我想"}));
    EXPECT_EQ(rowsOf(list), 0);
    EXPECT_EQ(textOf(control("Label16")), "共查到0个结果");

    setTextOf(control("Text1"), L"  mt29f64g08 ");
    click("Command1");
    ASSERT_EQ(rowsOf(list), 9);
    for (int row = 0; row < 9; ++row) {
        EXPECT_FALSE(cellOf(list, row, 0).empty());
        EXPECT_EQ(cellOf(list, row, 1), std::to_string(row + 1));
    }
    EXPECT_EQ(cellOf(list, 0, 2), "SM3270AA");
    EXPECT_EQ(textOf(control("Text2")), "MT29F64G08");
    EXPECT_EQ(textOf(control("Label16")), "共查到9个结果！");
    EXPECT_EQ(placeOf(control("Label16")).left, controls::twipsToPixels(10080));
    EXPECT_TRUE(reports_.empty());
}

// Enter presses the button that has the focus, as Space does; Enter in the query box starts
// nothing.
TEST_F(Win32MainWindow, EnterPressesTheFocusedButtonOnly) {
    setTextOf(control("Text1"), L"MT29F64G08");
    pressKey(control("Text1"), VK_RETURN);
    EXPECT_EQ(rowsOf(control("ListView1")), 0);
    EXPECT_EQ(textOf(control("Label16")), "共查到0个结果");

    pressKey(control("Command1"), VK_RETURN);
    EXPECT_EQ(rowsOf(control("ListView1")), 9);
    EXPECT_EQ(textOf(control("Label16")), "共查到9个结果！");
}

// Each window button hides the main window and shows its window; closing that window brings the
// main window back with its contents. Only one window is visible at any time.
TEST_F(Win32MainWindow, OneWindowIsVisibleAtATimeAndTheMainWindowKeepsItsContents) {
    setTextOf(control("Text1"), L"MT29F64G08");
    click("Command1");
    const HWND main = handleOf(form_.window());
    const std::array<std::pair<const char*, secondary_windows::SharedWindow*>, 4> buttons = {{
        {"Command2", &navigation_.form2Instance()},
        {"Command3", &navigation_.form3Instance()},
        {"Command4", &navigation_.form4Instance()},
        {"Command5", &navigation_.form5Instance()},
    }};
    for (const auto& [button, instance] : buttons) {
        SCOPED_TRACE(button);
        click(button);
        ASSERT_TRUE(instance->isLoaded());
        const HWND secondary = handleOf(instance->window()->window());
        EXPECT_FALSE(IsWindowVisible(main));
        EXPECT_TRUE(IsWindowVisible(secondary));
        for (const auto& [otherButton, other] : buttons) {
            EXPECT_EQ(other->isLoaded(), other == instance) << otherButton;
        }

        SendMessageW(secondary, WM_CLOSE, 0, 0);
        platform::win32::processPendingMessages();
        EXPECT_FALSE(instance->isLoaded());
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_EQ(textOf(control("Text1")), "MT29F64G08");
        EXPECT_EQ(rowsOf(control("ListView1")), 9);
        EXPECT_EQ(textOf(control("Label16")), "共查到9个结果！");
    }
    EXPECT_TRUE(reports_.empty());
}

// Closing the main window ends the program: its message loop is told to stop.
TEST_F(Win32MainWindow, ClosingTheMainWindowEndsTheProgram) {
    SendMessageW(handleOf(form_.window()), WM_CLOSE, 0, 0);
    MSG quit{};
    EXPECT_TRUE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_FALSE(IsWindowVisible(handleOf(form_.window())));
}

// A database damaged after start-up is reported in the message box, in Chinese with the technical
// detail apart; the window stays usable.
TEST_F(Win32MainWindow, ADamagedDatabaseIsReportedAndTheWindowStaysUsable) {
    const std::filesystem::path database = platform::hostPath(main_window::databaseFilePath());
    {
        std::ofstream damaged(database, std::ios::binary | std::ios::trunc);
        damaged << std::string(8192, 'x');
    }
    setTextOf(control("Text1"), L"MT29F64G08");
    click("Command1");
    ASSERT_EQ(reports_.size(), 1u);
    EXPECT_EQ(reports_[0].summary, "操作未能完成。");
    EXPECT_NE(reports_[0].reason.find("数据库文件"), std::string::npos) << reports_[0].reason;
    EXPECT_FALSE(reports_[0].detail.empty());
    EXPECT_TRUE(IsWindowVisible(handleOf(form_.window())));

    // The failed lookup left nothing open: with the file whole again, the next one works.
    const auto image = resources::carriedDatabaseImage();
    std::ofstream(database, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(image.data()),
               static_cast<std::streamsize>(image.size()));
    click("Command1");
    EXPECT_EQ(rowsOf(control("ListView1")), 9);
    EXPECT_EQ(reports_.size(), 1u);
}

}  // namespace
}  // namespace norvessa
