// Program start away from Windows: how a command line is split by the Windows rules, which
// command lines go to the desktop's URL handler, and that other programs really start.

#include <gtest/gtest.h>

#include <QStringList>

#include "platform/core/platform_error.h"
#include "platform/gui/program_start.h"
#include "secondary_windows/recording_launcher.h"

namespace {

using namespace norvessa::platform;

QStringList split(const QString& commandLine) {
    const SplitCommandLine split = splitCommandLine(commandLine);
    return QStringList{split.program} + split.arguments;
}

TEST(CommandLineSplitting, FollowsTheWindowsRules) {
    EXPECT_EQ(split(QStringLiteral("explorer \"http://www.mydigit.cn")),
              (QStringList{"explorer", "http://www.mydigit.cn"}))
        << "an unclosed quote runs to the end";
    EXPECT_EQ(split(QStringLiteral("  notepad\t a  b ")), (QStringList{"notepad", "a", "b"}));
    EXPECT_EQ(split(QStringLiteral("\"C:\\Program Files\\x.exe\" \"two words\" \"\"")),
              (QStringList{"C:\\Program Files\\x.exe", "two words", ""}));
    EXPECT_EQ(split(QStringLiteral("p a\\\\\\\"b c\\\\\"d e\" f\\g")),
              (QStringList{"p", "a\\\"b", "c\\d e", "f\\g"}));
    EXPECT_EQ(split(QStringLiteral("p ab\"c d\"ef")), (QStringList{"p", "abc def"}));
    EXPECT_EQ(split(QString()), QStringList{QString()});
}

TEST(ProgramStartPlan, TheExplorerWithAWebAddressOpensItOnTheDesktop) {
    const ProgramStartPlan plan =
        planProgramStart(QStringLiteral("explorer \"http://www.mydigit.cn"));
    EXPECT_EQ(plan.action, ProgramStartPlan::Action::OpenWebAddress);
    EXPECT_EQ(plan.webAddress, QUrl(QStringLiteral("http://www.mydigit.cn")));
    EXPECT_EQ(
        planProgramStart(QStringLiteral("C:\\Windows\\EXPLORER.EXE https://example.org/a")).action,
        ProgramStartPlan::Action::OpenWebAddress);
}

TEST(ProgramStartPlan, EverythingElseStartsAProcess) {
    for (const char* commandLine :
         {"explorer C:\\Temp", "explorer", "explorer \"file:///etc/passwd",
          "explorer http://a.example http://b.example", "notepad \"http://www.mydigit.cn",
          "explorer \"javascript:alert(1)"}) {
        const ProgramStartPlan plan = planProgramStart(QString::fromLatin1(commandLine));
        EXPECT_EQ(plan.action, ProgramStartPlan::Action::StartProcess) << commandLine;
    }
    EXPECT_THROW(planProgramStart(QStringLiteral("   ")), PlatformError);
}

TEST(ProgramStart, GoesThroughTheLauncherInPlace) {
    {
        RecordingLauncher recorder;
        EXPECT_EQ(startProgram(QStringLiteral("explorer \"http://www.example.org"),
                               WindowStyle::MinimizedFocus),
                  4001);
        ASSERT_EQ(recorder.starts.size(), 1);
        EXPECT_EQ(recorder.starts.front().style, WindowStyle::MinimizedFocus);
        RecordingLauncher inner;
        startProgram(QStringLiteral("a"), WindowStyle::Hidden);
        EXPECT_EQ(inner.starts.size(), 1);
        EXPECT_EQ(recorder.starts.size(), 1);
    }
    EXPECT_EQ(setProgramLauncher(nullptr), nullptr) << "the system's launcher is back";
}

TEST(SystemLauncher, StartsAProgramDetachedAndReportsAMissingOne) {
    EXPECT_GT(startProgram(QStringLiteral("true --ignored"), WindowStyle::NormalFocus), 0);
    try {
        startProgram(QStringLiteral("norvessa-no-such-program \"x"), WindowStyle::MinimizedFocus);
        FAIL() << "no error";
    } catch (const PlatformError& error) {
        EXPECT_NE(std::string(error.what()).find("norvessa-no-such-program"), std::string::npos);
    }
}

}  // namespace
