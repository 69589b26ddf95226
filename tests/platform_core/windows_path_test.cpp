#include "platform/core/windows_path.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <vector>

#include "platform/core/file_output.h"
#include "platform/core/path_text.h"
#include "platform/core/platform_error.h"
#include "support/scoped_environment.h"
#include "support/temporary_folder.h"

using norvessa::platform::hostPath;
using norvessa::platform::PlatformError;

namespace {

using norvessa::testing::ScopedEnvironment;
using norvessa::testing::TemporaryFolder;

#ifdef _WIN32
constexpr const char* kDataFolderVariable = "LOCALAPPDATA";
#else
constexpr const char* kDataFolderVariable = "XDG_DATA_HOME";
#endif

// The user's data folder pointed at a fresh folder whose name is Chinese, as a user name may be.
class WindowsPathTest : public ::testing::Test {
  protected:
    TemporaryFolder folder_;
    std::filesystem::path dataHome_ = folder_.path() / u8"用户数据";
    ScopedEnvironment variable_{kDataFolderVariable, norvessa::platform::pathText(dataHome_)};
};

std::vector<char> readBytes(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The database file goes where the user may write: on Windows the local application data
// folder, not the system's C:\Program Files; each start writes it again over the last one.
TEST_F(WindowsPathTest, DriveCMapsIntoTheUsersDataFolderWhereTheFileIsWrittenAndRewritten) {
    const auto mapped = hostPath("C:\\Program Files\\zuzivive.ss");
#ifdef _WIN32
    const std::filesystem::path root = dataHome_ / "Norvessa";
#else
    const std::filesystem::path root = dataHome_ / "norvessa" / "drive_c";
#endif
    EXPECT_EQ(mapped, root / "Program Files" / "zuzivive.ss");
    EXPECT_TRUE(std::filesystem::is_directory(mapped.parent_path()))
        << "the mapped drive has its Program Files folder from the first use";
    EXPECT_EQ(hostPath("c:/Program Files/./a.txt"), mapped.parent_path() / "a.txt");

    const std::vector<std::uint8_t> first(3000, 0x5A);
    const std::vector<std::uint8_t> second{1, 2, 3};
    norvessa::platform::replaceFileContent(mapped, first);
    norvessa::platform::replaceFileContent(mapped, second);
    EXPECT_EQ(readBytes(mapped), std::vector<char>({1, 2, 3}));
}

TEST_F(WindowsPathTest, RefusesPathsOutsideDriveC) {
    EXPECT_THROW(hostPath("D:\\data.mdb"), PlatformError);
    EXPECT_THROW(hostPath("zuzivive.ss"), PlatformError);
    EXPECT_THROW(hostPath("C:relative"), PlatformError);
    EXPECT_THROW(hostPath("C:\\Program Files\\..\\..\\etc\\passwd"), PlatformError);
}

#ifndef _WIN32
TEST(WindowsPathFallback, RelativeDataHomeFallsBackToHome) {
    TemporaryFolder home;
    const ScopedEnvironment relative("XDG_DATA_HOME", "relative/path");
    const ScopedEnvironment homeVariable("HOME", home.path().string());
    EXPECT_EQ(hostPath("C:\\x"), home.path() / ".local" / "share" / "norvessa" / "drive_c" / "x");
}
#endif

}  // namespace
