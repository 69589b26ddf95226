#include "platform/core/program_resource.h"

#ifdef _WIN32

#include <windows.h>

#include <string>

#include "platform/core/platform_error.h"
#include "platform/core/utf16.h"
#include "platform/core/windows_error.h"

namespace norvessa::platform {

std::span<const std::uint8_t> programResource(std::uint16_t id, std::string_view type) {
    const std::string name =
        "resource " + std::to_string(id) + " of type \"" + std::string(type) + "\"";
    const std::wstring wideType = wideFromUtf8(type);
    // Resources of the program's own file; a loaded resource is never freed while it runs.
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(id), wideType.c_str());
    if (found == nullptr) {
        throw PlatformError("cannot find the program's " + name + ": " + lastWindowsErrorText());
    }
    const DWORD size = SizeofResource(nullptr, found);
    HGLOBAL loaded = size == 0 ? nullptr : LoadResource(nullptr, found);
    const void* bytes = loaded == nullptr ? nullptr : LockResource(loaded);
    if (bytes == nullptr) {
        throw PlatformError("cannot load the program's " + name + ": " + lastWindowsErrorText());
    }
    return {static_cast<const std::uint8_t*>(bytes), size};
}

}  // namespace norvessa::platform

#endif
