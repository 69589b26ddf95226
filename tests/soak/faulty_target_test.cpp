// Starts of the program whose database file cannot be written: the folder is read-only, or the
// disk fills up during the write. Each must end with a clear error, keep the old file as it was
// and leave no partial file behind.

#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/mount.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "resources/database_image.h"
#include "soak_support.h"

namespace norvessa::soak {
namespace {

constexpr auto kTimeLimit = std::chrono::seconds(60);
// The program's exit status for a start that failed (main_window/program.h).
constexpr int kStartFailedExitStatus = 1;
const std::string kOldContent = "an older database of other content";

std::size_t imageSize() {
    return resources::loadDatabaseImage().size();
}

// A folder for the copy's data with the old database file in place.
class StartFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(home_.valid());
        std::filesystem::create_directories(home_.programFiles());
    }

    void placeOldFile() { writeWholeFile(home_.databaseFile(), kOldContent); }

    ChildResult start(ChildOptions options = {}) {
        options.arguments = {"start"};
        options.environment.insert(options.environment.end(),
                                   {{"XDG_DATA_HOME", home_.path().string()},
                                    {"HOME", home_.path().string()},
                                    {"QT_QPA_PLATFORM", "offscreen"},
                                    // A start that wrongly succeeds ends instead of waiting.
                                    {"NORVESSA_QUIT_AFTER_FIRST_SHOW", "1"}});
        Child copy(NORVESSA_SOAK_DRIVER, options, outputFolder_.path(), "start");
        EXPECT_TRUE(copy.started());
        return copy.wait(std::chrono::steady_clock::now() + kTimeLimit);
    }

    // The start ended with one report that names the file and the system's reason, and the old
    // file is the only thing in the folder, as it was.
    void expectFailedStartKeptTheOldFile(const ChildResult& result, const std::string& reason) {
        EXPECT_TRUE(result.exited) << "the copy crashed or hung: " << result.describe();
        EXPECT_EQ(result.exitStatus, kStartFailedExitStatus) << result.describe();
        const std::string expected = "error report: 程序无法启动。 | cannot write the file " +
                                     home_.databaseFile().string() + ": " + reason + "\n";
        EXPECT_NE(result.errors.find(expected), std::string::npos)
            << "expected: " << expected << "got:\n"
            << result.errors;
        EXPECT_EQ(result.errors.find("error report:"), result.errors.rfind("error report:"))
            << "one report only:\n"
            << result.errors;
        EXPECT_EQ(readWholeFile(home_.databaseFile()), kOldContent);
        EXPECT_EQ(folderEntries(home_.programFiles()), std::vector<std::string>{"zuzivive.ss"})
            << "no partial file stays behind";
    }

    void expectStartWritesTheImage() {
        const ChildResult result = start();
        EXPECT_TRUE(result.exited && result.exitStatus == 0) << result.describe();
        EXPECT_EQ(readWholeFile(home_.databaseFile()).size(), imageSize());
    }

    TemporaryFolder outputFolder_;
    TemporaryFolder home_;
};

using ReadOnlyFolder = StartFixture;
using DiskFull = StartFixture;

TEST_F(ReadOnlyFolder, AReadOnlyMountEndsTheStartWithAClearErrorAndKeepsTheOldFile) {
    if (!mountPermission().allowed) {
        GTEST_SKIP() << "no read-only mount here: " << mountPermission().reason;
    }
    placeOldFile();
    const std::filesystem::path folder = home_.programFiles();
    std::optional<ScopedMount> bound;
    bound.emplace(folder, folder.c_str(), nullptr, MS_BIND, nullptr);
    ASSERT_TRUE(bound->mounted()) << bound->error();
    ASSERT_EQ(::mount(nullptr, folder.c_str(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr),
              0);

    expectFailedStartKeptTheOldFile(start(), "Read-only file system");

    bound.reset();
    expectStartWritesTheImage();
}

TEST_F(ReadOnlyFolder, AFolderWithoutWritePermissionEndsTheStartWithAClearErrorAndKeepsTheOldFile) {
    placeOldFile();
    ChildOptions options;
    // Root writes regardless of permission bits, so as root the copy runs as "nobody".
    if (::geteuid() == 0) {
        const passwd* nobody = ::getpwnam("nobody");
        if (nobody == nullptr) {
            GTEST_SKIP() << "running as root and there is no user \"nobody\" to run the copy as";
        }
        options.runAs = std::make_pair(nobody->pw_uid, nobody->pw_gid);
        for (const auto& entry : std::filesystem::recursive_directory_iterator(home_.path())) {
            ASSERT_EQ(::lchown(entry.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
        }
        ASSERT_EQ(::lchown(home_.path().c_str(), nobody->pw_uid, nobody->pw_gid), 0);
    }
    std::filesystem::permissions(home_.programFiles(),
                                 std::filesystem::perms::owner_write |
                                     std::filesystem::perms::group_write |
                                     std::filesystem::perms::others_write,
                                 std::filesystem::perm_options::remove);

    const ChildResult result = start(options);
    if (result.exitStatus == Child::kCannotStart && result.errors.empty()) {
        GTEST_SKIP() << "the driver cannot be started as \"nobody\" (is the build folder "
                        "readable by everyone?)";
    }
    expectFailedStartKeptTheOldFile(result, "Permission denied");
}

TEST_F(DiskFull, ASmallFileSystemThatFillsUpEndsTheStartWithAClearErrorAndLeavesNoPartialFile) {
    if (!mountPermission().allowed) {
        GTEST_SKIP() << "no small file system can be mounted here: " << mountPermission().reason
                     << " (DiskFull.AnInjectedWriteFailure... covers the case)";
    }
    const std::string size = "size=" + std::to_string(imageSize() / 2);
    std::optional<ScopedMount> small;
    small.emplace(home_.programFiles(), "tmpfs", "tmpfs", 0, size.c_str());
    ASSERT_TRUE(small->mounted()) << small->error();
    placeOldFile();

    expectFailedStartKeptTheOldFile(start(), "No space left on device");

    small.reset();
    expectStartWritesTheImage();
}

TEST_F(DiskFull, AnInjectedWriteFailureEndsTheStartWithAClearErrorAndLeavesNoPartialFile) {
    placeOldFile();
    ChildOptions options;
    options.fileSizeLimit = imageSize() / 2;

    expectFailedStartKeptTheOldFile(start(options), "File too large");
}

}  // namespace
}  // namespace norvessa::soak
