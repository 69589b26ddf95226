#pragma once

// Access to the real database files in the shared fixtures folder. Tests never open a fixture
// in place: they work on a temporary copy, and skip when the folder is absent.

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace norvessa::jet::testing {

inline std::filesystem::path fixtureFolder() {
    return std::filesystem::path(NORVESSA_SHARED_DIR) / "fixtures" / "jet";
}

inline bool haveFixtures() {
    return std::filesystem::is_directory(fixtureFolder());
}

#define NORVESSA_REQUIRE_FIXTURES()                                                    \
    do {                                                                               \
        if (!::norvessa::jet::testing::haveFixtures()) {                               \
            GTEST_SKIP() << "the shared Jet fixtures are absent ("                     \
                         << ::norvessa::jet::testing::fixtureFolder().string() << ")"; \
        }                                                                              \
    } while (false)

inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void writeBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

// A private copy of a fixture (or of given bytes) in a fresh temporary folder, removed again
// at the end of the test.
class TemporaryFile {
  public:
    explicit TemporaryFile(const std::string& name) {
        std::random_device random;
        folder_ = std::filesystem::temp_directory_path() /
                  ("norvessa-jet-" + std::to_string(random()) + std::to_string(random()));
        std::filesystem::create_directories(folder_);
        path_ = folder_ / name;
    }
    static TemporaryFile copyOfFixture(const std::string& name) {
        TemporaryFile file(name);
        std::filesystem::copy_file(fixtureFolder() / name, file.path_);
        std::filesystem::permissions(file.path_, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
        return file;
    }
    static TemporaryFile withBytes(const std::string& name,
                                   const std::vector<std::uint8_t>& bytes) {
        TemporaryFile file(name);
        writeBytes(file.path_, bytes);
        return file;
    }
    TemporaryFile(TemporaryFile&& other) noexcept
        : folder_(std::move(other.folder_)), path_(std::move(other.path_)) {
        other.folder_.clear();
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    TemporaryFile& operator=(TemporaryFile&&) = delete;
    ~TemporaryFile() {
        if (!folder_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(folder_, ignored);
        }
    }
    const std::filesystem::path& path() const { return path_; }
    std::vector<std::uint8_t> bytes() const { return readBytes(path_); }

  private:
    std::filesystem::path folder_;
    std::filesystem::path path_;
};

}  // namespace norvessa::jet::testing
