// Takes screenshots of the Windows program's windows from the display, the way a user sees them:
// the main window after a lookup of the model given, then each secondary window. Each is saved as
// a 24-bit BMP of the window's client area; windows_screenshots.sh runs this under Wine and Xvfb
// and turns the pictures into PNG files.
//
//   norvessa_win32_screenshots OUTPUT_FOLDER [MODEL]
//
// Writes main_window.bmp and form2.bmp to form5.bmp. Exit status 0 on success, 1 otherwise.

#include <windows.h>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "main_window/form1.h"
#include "platform/win32/message_loop.h"
#include "platform/win32/native_window.h"
#include "platform/win32/wide_text.h"
#include "platform/win32/win32_error.h"
#include "platform/win32/win32_front_end.h"
#include "secondary_windows/navigation.h"

namespace {

using norvessa::platform::win32::checked;
using norvessa::platform::win32::NativeWindow;

HWND handleOf(norvessa::controls::Window& window) {
    return dynamic_cast<NativeWindow&>(window).handle();
}

// Lets the windows finish drawing: the messages now waiting and those that a short pause brings.
void settle() {
    for (int round = 0; round < 5; ++round) {
        norvessa::platform::win32::processPendingMessages();
        Sleep(100);
    }
}

// What the screen shows of the window's client area, saved as a bottom-up 24-bit BMP.
void capture(HWND window, const std::filesystem::path& file) {
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    settle();
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    const int width = client.right;
    const int height = client.bottom;

    BITMAPINFOHEADER header{};
    header.biSize = sizeof(header);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 24;
    header.biCompression = BI_RGB;
    void* pixels = nullptr;
    HDC screen = checked(GetDC(nullptr), "GetDC for the screen");
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = checked(CreateDIBSection(screen, reinterpret_cast<BITMAPINFO*>(&header),
                                              DIB_RGB_COLORS, &pixels, nullptr, 0),
                             "CreateDIBSection for the screenshot");
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    const BOOL copied =
        BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY | CAPTUREBLT);
    GdiFlush();
    const auto rowBytes = static_cast<std::size_t>((width * 3 + 3) & ~3);
    const std::size_t imageBytes = rowBytes * static_cast<std::size_t>(height);
    std::vector<char> image(static_cast<const char*>(pixels),
                            static_cast<const char*>(pixels) + imageBytes);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (!copied) {
        throw std::runtime_error("the screen could not be read");
    }

    BITMAPFILEHEADER head{};
    head.bfType = 0x4D42;  // "BM"
    head.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    head.bfSize = static_cast<DWORD>(head.bfOffBits + imageBytes);
    header.biSizeImage = static_cast<DWORD>(imageBytes);
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(&head), sizeof(head));
    out.write(reinterpret_cast<const char*>(&header), sizeof(header));
    out.write(image.data(), static_cast<std::streamsize>(image.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + file.string());
    }
    std::printf("%s\n", file.string().c_str());
}

void press(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
    settle();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: norvessa_win32_screenshots OUTPUT_FOLDER [MODEL]\n");
        return 1;
    }
    try {
        const std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        norvessa::platform::win32::Win32FrontEnd frontEnd;
        frontEnd.setErrorPresenter([](const norvessa::controls::ErrorReport& report) {
            throw std::runtime_error(report.summary + " " + report.reason + " " + report.detail);
        });
        norvessa::secondary_windows::Navigation navigation(frontEnd);
        norvessa::main_window::Form1 form(frontEnd, navigation);
        form.Form_Load();
        form.window().show();
        auto& main = dynamic_cast<NativeWindow&>(form.window());
        if (argc > 2) {
            SetWindowTextW(main.control("Text1"), argv[2]);
            press(main.control("Command1"));
        }
        // The focus rests where the lookup leaves it; it is taken off the button so that no
        // focus frame shows in the picture.
        SetFocus(main.control("ListView1"));
        capture(main.handle(), folder / "main_window.bmp");

        const struct {
            const char* button;
            norvessa::secondary_windows::SharedWindow& instance;
            const char* file;
        } secondary[] = {
            {"Command2", navigation.form2Instance(), "form2.bmp"},
            {"Command3", navigation.form3Instance(), "form3.bmp"},
            {"Command4", navigation.form4Instance(), "form4.bmp"},
            {"Command5", navigation.form5Instance(), "form5.bmp"},
        };
        for (const auto& [button, instance, file] : secondary) {
            press(main.control(button));
            const HWND window = handleOf(instance.window()->window());
            capture(window, folder / file);
            SendMessageW(window, WM_CLOSE, 0, 0);
            settle();
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "screenshots: %s\n", error.what());
        return 1;
    }
}
