// Copies of the program side by side on one data folder: every start rewrites the database file
// that the other copy is looking things up in at that very moment.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "resources/database_image.h"
#include "soak_support.h"

namespace norvessa::soak {
namespace {

constexpr long kRounds = NORVESSA_SOAK_ROUNDS;
// A bound on a whole test, far above what it needs, so that a hang fails instead of waiting.
constexpr auto kTimeLimit = std::chrono::seconds(120);

std::string carriedImage() {
    const std::vector<std::uint8_t> image = resources::loadDatabaseImage();
    return {image.begin(), image.end()};
}

ChildOptions driverRun(const TemporaryFolder& home, std::vector<std::string> arguments) {
    return {std::move(arguments),
            {{"XDG_DATA_HOME", home.path().string()}, {"QT_QPA_PLATFORM", "offscreen"}},
            std::nullopt,
            std::nullopt};
}

// Reads the database file over and over from another thread while it lives, and counts every
// read that found the file different from the complete image.
class FileWatcher {
  public:
    FileWatcher(std::filesystem::path file, std::string expected)
        : file_(std::move(file)), expected_(std::move(expected)), thread_([this] { watch(); }) {}
    ~FileWatcher() { stop(); }
    FileWatcher(const FileWatcher&) = delete;
    FileWatcher& operator=(const FileWatcher&) = delete;

    void stop() {
        stopping_ = true;
        if (thread_.joinable()) {
            thread_.join();
        }
    }

    long completeReads() const { return completeReads_; }
    long halfWrittenReads() const { return halfWrittenReads_; }
    const std::string& firstHalfWritten() const { return firstHalfWritten_; }

  private:
    void watch() {
        while (!stopping_) {
            std::error_code missing;
            if (std::filesystem::exists(file_, missing)) {
                check(readWholeFile(file_));
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    void check(const std::string& seen) {
        if (seen.empty()) {
            return;  // renamed away between the look and the read
        }
        if (seen == expected_) {
            ++completeReads_;
            return;
        }
        if (halfWrittenReads_++ == 0) {
            firstHalfWritten_ = std::to_string(seen.size()) + " bytes instead of " +
                                std::to_string(expected_.size());
        }
    }

    std::filesystem::path file_;
    std::string expected_;
    std::atomic<bool> stopping_{false};
    long completeReads_ = 0;
    long halfWrittenReads_ = 0;
    std::string firstHalfWritten_;
    std::thread thread_;
};

TEST(ConcurrentCopies, TwoCopiesStartingAndLookingUpTogetherNeverFailNorSeeAHalfWrittenFile) {
    const TemporaryFolder home;
    ASSERT_TRUE(home.valid());
    const std::string image = carriedImage();
    ASSERT_FALSE(image.empty());
    FileWatcher watcher(home.databaseFile(), image);

    const std::vector<std::string> rounds = {"rounds", std::to_string(kRounds)};
    Child first(NORVESSA_SOAK_DRIVER, driverRun(home, rounds), home.path(), "first");
    Child second(NORVESSA_SOAK_DRIVER, driverRun(home, rounds), home.path(), "second");
    ASSERT_TRUE(first.started() && second.started());
    const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
    const ChildResult results[] = {first.wait(deadline), second.wait(deadline)};
    watcher.stop();

    for (const ChildResult& result : results) {
        EXPECT_TRUE(result.exited && result.exitStatus == 0) << result.describe();
        auto tally = parseTally(result.out);
        EXPECT_EQ(tally["rounds"], kRounds) << result.describe();
        EXPECT_EQ(tally["right"], kRounds) << result.describe();
        EXPECT_EQ(tally["wrong"], 0);
        EXPECT_EQ(tally["reports"], 0) << "a failed lookup or start: " << result.errors;
        std::cout << "copy: " << result.out;
    }
    EXPECT_EQ(watcher.halfWrittenReads(), 0) << watcher.firstHalfWritten();
    EXPECT_GT(watcher.completeReads(), 0);
    std::cout << "watcher: " << watcher.completeReads() << " complete reads, "
              << watcher.halfWrittenReads() << " half-written\n";
    EXPECT_EQ(folderEntries(home.programFiles()), std::vector<std::string>{"zuzivive.ss"})
        << "no temporary file stays behind";
    EXPECT_EQ(readWholeFile(home.databaseFile()), image);
}

// Lookups in one copy while `changerMode` of the driver keeps changing the database file.
void lookUpWhileTheFileChanges(const std::string& changerMode) {
    const TemporaryFolder home;
    ASSERT_TRUE(home.valid());
    const std::filesystem::path stopFile = home.path() / "stop";

    const auto deadline = std::chrono::steady_clock::now() + kTimeLimit;
    Child rewriter(NORVESSA_SOAK_DRIVER, driverRun(home, {changerMode, stopFile.string()}),
                   home.path(), "rewriter");
    ASSERT_TRUE(rewriter.started());
    // The looking copy starts once the rewriting one is under way.
    while (!std::filesystem::exists(home.databaseFile()) &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    Child looker(NORVESSA_SOAK_DRIVER, driverRun(home, {"lookups", std::to_string(kRounds)}),
                 home.path(), "looker");
    ASSERT_TRUE(looker.started());
    const ChildResult lookups = looker.wait(deadline);
    writeWholeFile(stopFile, "");
    const ChildResult rewrites = rewriter.wait(deadline);

    ASSERT_TRUE(lookups.exited) << "the looking copy crashed or hung: " << lookups.describe();
    auto tally = parseTally(lookups.out);
    EXPECT_EQ(tally["rounds"], kRounds) << lookups.describe();
    EXPECT_EQ(tally["wrong"], 0) << lookups.describe();
    EXPECT_EQ(tally["right"] + tally["reports"], kRounds) << lookups.describe();
    // A lookup that could not be made names the file and why.
    std::istringstream errorLines(lookups.errors);
    for (std::string line; std::getline(errorLines, line);) {
        if (line.starts_with("error report:")) {
            EXPECT_NE(line.find("zuzivive.ss"), std::string::npos) << line;
        }
    }
    std::cout << "looking copy: " << lookups.out;

    EXPECT_TRUE(rewrites.exited && rewrites.exitStatus == 0) << rewrites.describe();
    auto rewritten = parseTally(rewrites.out);
    EXPECT_GT(rewritten["right"], 0) << rewrites.describe();
    std::cout << "rewriting copy: " << rewrites.out;
}

TEST(ConcurrentCopies, ALookupWhileAnotherCopyRewritesTheFileShowsTheRightRowsOrSaysWhy) {
    lookUpWhileTheFileChanges("rewrites");
}

// Another program copying over the file in place once made the lookup die of a bus error.
TEST(ConcurrentCopies, ALookupWhileAnotherProgramOverwritesTheFileInPlaceNeverCrashes) {
    lookUpWhileTheFileChanges("overwrites");
}

}  // namespace
}  // namespace norvessa::soak
