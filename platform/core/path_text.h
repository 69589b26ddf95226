#pragma once

#include <filesystem>
#include <string>

namespace norvessa::platform {

// A path as UTF-8 text, for messages. path::string() would give the system's narrow code page
// on Windows, or fail on a name that code page cannot hold (a Chinese user name, say).
inline std::string pathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return {text.begin(), text.end()};
}

}  // namespace norvessa::platform
