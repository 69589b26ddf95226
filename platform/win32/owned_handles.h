#pragma once

// Windows' GDI objects and icons owned the C++ way: released when their owner goes, also when a
// window's construction fails half-way.

#include <windows.h>

#include <memory>
#include <type_traits>

namespace norvessa::platform::win32 {

struct GdiObjectRelease {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct IconRelease {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};

using OwnedBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectRelease>;
using OwnedBitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, GdiObjectRelease>;
using OwnedIcon = std::unique_ptr<std::remove_pointer_t<HICON>, IconRelease>;

}  // namespace norvessa::platform::win32
