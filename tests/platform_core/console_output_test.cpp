#include "platform/core/console_output.h"

#include <gtest/gtest.h>

#include <string>

using norvessa::platform::completeUtf8Length;

namespace {

// Output reaches the console in pieces: a Chinese character cut between two of them must wait
// for its last bytes instead of turning into two replacement characters.
TEST(ConsoleOutput, HoldsBackOnlyAnUnfinishedUtf8SequenceAtTheEnd) {
    const std::string chinese = "三星";  // two 3-byte sequences
    EXPECT_EQ(completeUtf8Length(""), 0u);
    EXPECT_EQ(completeUtf8Length("Samsung "), 8u);
    EXPECT_EQ(completeUtf8Length(chinese), 6u);
    EXPECT_EQ(completeUtf8Length(chinese.substr(0, 5)), 3u);
    EXPECT_EQ(completeUtf8Length(chinese.substr(0, 4)), 3u);
    EXPECT_EQ(completeUtf8Length("a\xF0\x9F\x98"), 1u) << "a 4-byte sequence one byte short";
    EXPECT_EQ(completeUtf8Length("a\xF0\x9F\x98\x80"), 5u);
    // Bytes that no further byte can complete are converted now (as U+FFFD).
    EXPECT_EQ(completeUtf8Length("a\x80\x80\x80"), 4u);
}

}  // namespace
