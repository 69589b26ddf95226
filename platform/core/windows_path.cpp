#include "platform/core/windows_path.h"

#include <cstdlib>
#include <string>
#include <system_error>
#include <vector>

#include "platform/core/platform_error.h"

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

#ifndef _WIN32
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

void createPrivateFolder(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    if (error) {
        throw PlatformError("cannot create the folder " + folder.string() + ": " + error.message());
    }
}
#endif

}  // namespace

std::filesystem::path driveCRoot() {
#ifdef _WIN32
    return std::filesystem::path("C:\\");
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
#ifdef _WIN32
    return std::filesystem::path(std::string(windowsPath));
#else
    const std::filesystem::path root = driveCRoot();
    createPrivateFolder(root / "Program Files");
    std::filesystem::path mapped = root;
    for (const std::string& component : components) {
        if (component != ".") {
            mapped /= component;
        }
    }
    return mapped;
#endif
}

}  // namespace norvessa::platform
