#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/core/path_text.h"
#include "platform/core/windows_path.h"
#include "support/scoped_environment.h"

namespace norvessa::ado {

// Points the user's data folder (XDG_DATA_HOME; LOCALAPPDATA on Windows), and with it drive C,
// at a fresh temporary folder while it lives, so that "C:\..." data sources reach files the
// test wrote.
class ScopedDriveC {
  public:
    ScopedDriveC() {
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() /
                  ("norvessa-ado-test-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(folder_);
#ifdef _WIN32
        variable_.emplace("LOCALAPPDATA", platform::pathText(folder_));
#else
        variable_.emplace("XDG_DATA_HOME", platform::pathText(folder_));
#endif
    }
    ~ScopedDriveC() {
        variable_.reset();
        std::error_code ignored;
        std::filesystem::remove_all(folder_, ignored);
    }
    ScopedDriveC(const ScopedDriveC&) = delete;
    ScopedDriveC& operator=(const ScopedDriveC&) = delete;

    // Writes `bytes` to the file a Windows path on drive C maps to; returns the mapped path.
    static std::filesystem::path put(const std::string& windowsPath,
                                     const std::vector<std::uint8_t>& bytes) {
        const std::filesystem::path file = platform::hostPath(windowsPath);
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return file;
    }

  private:
    std::filesystem::path folder_;
    std::optional<testing::ScopedEnvironment> variable_;
};

}  // namespace norvessa::ado
