#pragma once

// The program's pictures and icons, carried among its resources as the files themselves (type
// RCDATA), each under its file name ("form2_table.bmp", "form3.ico").

#include <windows.h>

#include <cstddef>
#include <span>
#include <string_view>

namespace norvessa::platform::win32 {

// The file's bytes, which live as long as the program. Throws PlatformError naming the file when
// the program does not carry it.
std::span<const std::byte> carriedFile(std::string_view fileName);

// A bitmap (BMP) or JPEG picture as a device-independent bitmap the caller owns. Throws
// PlatformError naming the file when it is missing or cannot be decoded.
HBITMAP loadPicture(std::string_view fileName);

// The icon file's image that suits a square of `size` pixels best: the same size, else the
// smallest larger one, else the largest. The caller owns it. Throws like loadPicture.
HICON loadIcon(std::string_view fileName, int size);

}  // namespace norvessa::platform::win32
