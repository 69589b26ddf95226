#pragma once

// Starting another program from a command line, without waiting for it (the About window's forum
// links start the system's "explorer" with a web address this way).
//
// On Windows the command line is run as it is. Elsewhere it is split by the Windows rules: the
// program "explorer" with one web address opens that address with the desktop's URL handler, and
// any other program is started detached, without a shell.

#include <QString>
#include <QStringList>
#include <QUrl>
#include <cstdint>

#include "platform/controls/controls.h"

namespace norvessa::platform {

using controls::WindowStyle;

// Starts programs. The system's launcher is in place unless a test puts a recorder there.
class ProgramLauncher {
  public:
    virtual ~ProgramLauncher() = default;

    // Starts the command line and returns at once with the started process's id. An address
    // handed to the desktop's URL handler has no process of ours to name; its id is 0. Throws
    // PlatformError when nothing could be started.
    virtual std::int64_t start(const QString& commandLine, WindowStyle style) = 0;
};

// Starts the command line through the launcher in place.
std::int64_t startProgram(const QString& commandLine, WindowStyle style);

// Puts `launcher` in place and returns the one it replaces; nullptr puts the system's back. The
// caller keeps ownership and must put the previous launcher back before `launcher` goes away.
ProgramLauncher* setProgramLauncher(ProgramLauncher* launcher);

// A command line split into its program and arguments by the Windows rules: blanks and tabs
// separate arguments outside double quotes; a quote opens or closes quoting (an unclosed quote
// runs to the end); before a quote, each pair of backslashes stands for one backslash and an
// odd one makes the quote literal. The program name ends at the first blank, or at the closing
// quote when it starts with one, and keeps its backslashes.
struct SplitCommandLine {
    QString program;
    QStringList arguments;
};
SplitCommandLine splitCommandLine(const QString& commandLine);

// What the system's launcher does with a command line away from Windows.
struct ProgramStartPlan {
    enum class Action { OpenWebAddress, StartProcess };
    Action action;
    QUrl webAddress;  // for OpenWebAddress
    SplitCommandLine command;
};
// Throws PlatformError for a command line without a program.
ProgramStartPlan planProgramStart(const QString& commandLine);

}  // namespace norvessa::platform
