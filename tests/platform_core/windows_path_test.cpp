#include "platform/core/windows_path.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/core/platform_error.h"
#include "support/temporary_folder.h"

using norvessa::platform::hostPath;
using norvessa::platform::PlatformError;

namespace {

using norvessa::testing::TemporaryFolder;

#ifndef _WIN32
class WindowsPathTest : public ::testing::Test {
  protected:
    void SetUp() override { setenv("XDG_DATA_HOME", dataHome_.path().c_str(), 1); }
    void TearDown() override { unsetenv("XDG_DATA_HOME"); }
    TemporaryFolder dataHome_;
};

TEST_F(WindowsPathTest, DriveCMapsIntoTheUsersDataFolder) {
    const auto mapped = hostPath("C:\\Program Files\\zuzivive.ss");
    EXPECT_EQ(mapped, dataHome_.path() / "norvessa" / "drive_c" / "Program Files" / "zuzivive.ss");
    EXPECT_TRUE(std::filesystem::is_directory(mapped.parent_path()))
        << "the mapped drive has its Program Files folder from the first use";
    EXPECT_EQ(hostPath("c:/Program Files/./a.txt"), mapped.parent_path() / "a.txt");
}

TEST_F(WindowsPathTest, RefusesPathsOutsideDriveC) {
    EXPECT_THROW(hostPath("D:\\data.mdb"), PlatformError);
    EXPECT_THROW(hostPath("zuzivive.ss"), PlatformError);
    EXPECT_THROW(hostPath("C:relative"), PlatformError);
    EXPECT_THROW(hostPath("C:\\Program Files\\..\\..\\etc\\passwd"), PlatformError);
}

TEST_F(WindowsPathTest, RelativeDataHomeFallsBackToHome) {
    TemporaryFolder home;
    const std::string savedHome = std::getenv("HOME") != nullptr ? std::getenv("HOME") : "";
    setenv("XDG_DATA_HOME", "relative/path", 1);
    setenv("HOME", home.path().c_str(), 1);
    EXPECT_EQ(hostPath("C:\\x"), home.path() / ".local" / "share" / "norvessa" / "drive_c" / "x");
    setenv("HOME", savedHome.c_str(), 1);
}
#endif

}  // namespace
