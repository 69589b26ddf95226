#include "platform/core/windows_path.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "platform/core/path_text.h"
#include "platform/core/platform_error.h"

#ifdef _WIN32
#include <windows.h>
// The shell's headers need windows.h first.
#include <knownfolders.h>
#include <shlobj.h>

#include <memory>

#include "platform/core/windows_error.h"
#endif

namespace norvessa::platform {
namespace {

bool isSeparator(char c) {
    return c == '\\' || c == '/';
}

std::vector<std::string> splitComponents(std::string_view text) {
    std::vector<std::string> components;
    std::string current;
    for (char c : text) {
        if (isSeparator(c)) {
            if (!current.empty()) {
                components.push_back(current);
            }
            current.clear();
        } else {
            current.push_back(c);
        }
    }
    if (!current.empty()) {
        components.push_back(current);
    }
    return components;
}

#ifdef _WIN32
// The user's local application data folder: %LOCALAPPDATA% when it names an absolute folder
// (as on every Windows; the tests point it elsewhere), else the system's known folder.
std::filesystem::path localApplicationData() {
    if (const wchar_t* variable = _wgetenv(L"LOCALAPPDATA"); variable != nullptr) {
        const std::filesystem::path folder(variable);
        if (folder.is_absolute()) {
            return folder;
        }
    }
    wchar_t* known = nullptr;
    const HRESULT result = SHGetKnownFolderPath(FOLDERID_LocalAppData, 0, nullptr, &known);
    const std::unique_ptr<wchar_t, decltype(&CoTaskMemFree)> owned(known, &CoTaskMemFree);
    if (FAILED(result)) {
        throw PlatformError("cannot find the user's local application data folder: " +
                            windowsErrorText(static_cast<std::uint32_t>(result)));
    }
    return std::filesystem::path(known);
}
#else
std::filesystem::path dataHome() {
    // A relative XDG_DATA_HOME is invalid and must be ignored.
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg != nullptr && xdg[0] == '/') {
        return std::filesystem::path(xdg);
    }
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/') {
        throw PlatformError(
            "cannot find the user's data folder: neither XDG_DATA_HOME nor HOME is set");
    }
    return std::filesystem::path(home) / ".local" / "share";
}
#endif

void createFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw PlatformError("cannot create the folder " + pathText(folder) + ": " +
                            error.message());
    }
}

}  // namespace

std::filesystem::path driveCRoot() {
#ifdef _WIN32
    return localApplicationData() / "Norvessa";
#else
    return dataHome() / "norvessa" / "drive_c";
#endif
}

std::filesystem::path hostPath(std::string_view windowsPath) {
    const bool onDriveC = windowsPath.size() >= 3 &&
                          (windowsPath[0] == 'C' || windowsPath[0] == 'c') &&
                          windowsPath[1] == ':' && isSeparator(windowsPath[2]);
    if (!onDriveC) {
        throw PlatformError("the path " + std::string(windowsPath) +
                            " is not an absolute path on drive C");
    }
    const std::vector<std::string> components = splitComponents(windowsPath.substr(3));
    for (const std::string& component : components) {
        if (component == "..") {
            throw PlatformError("the path " + std::string(windowsPath) +
                                " leaves its folder with \"..\"");
        }
    }
    const std::filesystem::path root = driveCRoot();
    createFolder(root / "Program Files");
    std::filesystem::path mapped = root;
    for (const std::string& component : components) {
        if (component != ".") {
            mapped /= std::u8string(component.begin(), component.end());
        }
    }
    return mapped;
}

}  // namespace norvessa::platform
