#pragma once

// Access to real database files written by Access and the Jet engine. The project carries the
// ones whose licences allow it in tests/fixtures/jet; one file without a stated licence is read
// from the shared fixtures folder beside a full checkout, and the tests that need it skip when
// it is absent. Tests never open a fixture in place: they work on a temporary copy.

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
    return std::filesystem::path(NORVESSA_SOURCE_DIR) / "tests" / "fixtures" / "jet";
}

// The Chinese Access file (sort order 2052, code page 936) that stays outside the project.
inline constexpr const char* kUnlicensedChineseFixture = "chineseConfig2052.mdb";

inline std::filesystem::path unlicensedFixturePath(const std::string& name) {
    return std::filesystem::path(NORVESSA_SHARED_DIR) / "fixtures" / "jet" / name;
}

inline std::filesystem::path fixturePath(const std::string& name) {
    const std::filesystem::path carried = fixtureFolder() / name;
    return std::filesystem::exists(carried) ? carried : unlicensedFixturePath(name);
}

#define NORVESSA_REQUIRE_UNLICENSED_FIXTURE(name)                                              \
    do {                                                                                       \
        if (!std::filesystem::exists(::norvessa::jet::testing::unlicensedFixturePath(name))) { \
            GTEST_SKIP() << name << " carries no stated licence and is not part of the "       \
                         << "project; it is absent from "                                      \
                         << ::norvessa::jet::testing::unlicensedFixturePath(name).string();    \
        }                                                                                      \
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
        std::filesystem::copy_file(fixturePath(name), file.path_);
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
