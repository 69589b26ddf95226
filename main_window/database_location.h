#pragma once

// Where the lookup database lives: a fixed Windows path, not derived from the system's settings
// or the program's own location. Start-up writes the file there; every lookup opens it there.
// platform::hostPath maps it into the user's own data folder, on Windows too, where a standard
// user may not write to the system's C:\Program Files.

#include <string>
#include <string_view>

namespace norvessa::main_window {

inline constexpr std::string_view kDatabaseFolder = "C:\\Program Files";
inline constexpr std::string_view kDatabaseFileName = "\\zuzivive.ss";

// "C:\Program Files\zuzivive.ss"
inline std::string databaseFilePath() {
    return std::string(kDatabaseFolder) + std::string(kDatabaseFileName);
}

}  // namespace norvessa::main_window
