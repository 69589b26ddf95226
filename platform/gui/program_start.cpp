#include "platform/gui/program_start.h"

#include <string>
#include <utility>

#include "platform/core/platform_error.h"

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <QDesktopServices>
#include <QProcess>
#endif

namespace norvessa::platform {
namespace {

bool isBlank(QChar character) {
    return character == QLatin1Char(' ') || character == QLatin1Char('\t');
}

std::string quoted(const QString& commandLine) {
    return "\"" + commandLine.toStdString() + "\"";
}

// "explorer", "Explorer.exe" or a path ending in either.
bool namesExplorer(const QString& program) {
    const qsizetype backslash = program.lastIndexOf(QLatin1Char('\\'));
    const qsizetype slash = program.lastIndexOf(QLatin1Char('/'));
    const qsizetype separator = backslash > slash ? backslash : slash;
    const QString name = program.mid(separator + 1);
    return name.compare(QLatin1String("explorer"), Qt::CaseInsensitive) == 0 ||
           name.compare(QLatin1String("explorer.exe"), Qt::CaseInsensitive) == 0;
}

bool isWebAddress(const QUrl& address) {
    return address.isValid() && !address.host().isEmpty() &&
           (address.scheme() == QLatin1String("http") ||
            address.scheme() == QLatin1String("https"));
}

#ifdef Q_OS_WIN
std::string systemErrorText(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    const QString message = QString::fromWCharArray(text, static_cast<qsizetype>(length)).trimmed();
    LocalFree(text);
    return message.toStdString();
}
#endif

class SystemProgramLauncher final : public ProgramLauncher {
  public:
    std::int64_t start(const QString& commandLine, WindowStyle style) override {
#ifdef Q_OS_WIN
        // CreateProcessW may write into the command line, so it gets its own buffer.
        std::wstring buffer = commandLine.toStdWString();
        buffer.push_back(L'\0');
        STARTUPINFOW startup{};
        startup.cb = static_cast<DWORD>(sizeof(startup));
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = static_cast<WORD>(style);
        PROCESS_INFORMATION process{};
        if (!CreateProcessW(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &startup, &process)) {
            const DWORD error = GetLastError();
            throw PlatformError("cannot start " + quoted(commandLine) + ": " +
                                systemErrorText(error));
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return static_cast<std::int64_t>(process.dwProcessId);
#else
        // A desktop has no window-style setting for the programs it starts.
        static_cast<void>(style);
        const ProgramStartPlan plan = planProgramStart(commandLine);
        if (plan.action == ProgramStartPlan::Action::OpenWebAddress) {
            if (!QDesktopServices::openUrl(plan.webAddress)) {
                throw PlatformError("cannot start " + quoted(commandLine) +
                                    ": the desktop did not open the web address");
            }
            return 0;
        }
        qint64 processId = 0;
        if (!QProcess::startDetached(plan.command.program, plan.command.arguments, QString(),
                                     &processId)) {
            throw PlatformError("cannot start " + quoted(commandLine) +
                                ": the program was not found or could not be run");
        }
        return processId;
#endif
    }
};

SystemProgramLauncher& systemLauncher() {
    static SystemProgramLauncher launcher;
    return launcher;
}

ProgramLauncher* replacementLauncher = nullptr;

}  // namespace

std::int64_t startProgram(const QString& commandLine, WindowStyle style) {
    ProgramLauncher& launcher =
        replacementLauncher != nullptr ? *replacementLauncher : systemLauncher();
    return launcher.start(commandLine, style);
}

ProgramLauncher* setProgramLauncher(ProgramLauncher* launcher) {
    ProgramLauncher* const previous = replacementLauncher;
    replacementLauncher = launcher;
    return previous;
}

SplitCommandLine splitCommandLine(const QString& commandLine) {
    SplitCommandLine result;
    const qsizetype end = commandLine.size();
    qsizetype at = 0;
    while (at < end && isBlank(commandLine[at])) {
        ++at;
    }

    const qsizetype programStart = at;
    if (at < end && commandLine[at] == QLatin1Char('"')) {
        const qsizetype nameStart = ++at;
        while (at < end && commandLine[at] != QLatin1Char('"')) {
            ++at;
        }
        result.program = commandLine.mid(nameStart, at - nameStart);
        if (at < end) {
            ++at;
        }
    } else {
        while (at < end && !isBlank(commandLine[at])) {
            ++at;
        }
        result.program = commandLine.mid(programStart, at - programStart);
    }

    while (true) {
        while (at < end && isBlank(commandLine[at])) {
            ++at;
        }
        if (at >= end) {
            break;
        }
        QString argument;
        bool inQuotes = false;
        while (at < end && (inQuotes || !isBlank(commandLine[at]))) {
            const QChar character = commandLine[at];
            if (character == QLatin1Char('\\')) {
                qsizetype backslashes = 0;
                while (at < end && commandLine[at] == QLatin1Char('\\')) {
                    ++backslashes;
                    ++at;
                }
                if (at < end && commandLine[at] == QLatin1Char('"')) {
                    argument.append(QString(backslashes / 2, QLatin1Char('\\')));
                    if (backslashes % 2 == 1) {
                        argument.append(QLatin1Char('"'));
                        ++at;
                    }
                } else {
                    argument.append(QString(backslashes, QLatin1Char('\\')));
                }
            } else if (character == QLatin1Char('"')) {
                inQuotes = !inQuotes;
                ++at;
            } else {
                argument.append(character);
                ++at;
            }
        }
        result.arguments.append(argument);
    }
    return result;
}

ProgramStartPlan planProgramStart(const QString& commandLine) {
    SplitCommandLine command = splitCommandLine(commandLine);
    if (command.program.isEmpty()) {
        throw PlatformError("cannot start " + quoted(commandLine) + ": it names no program");
    }
    if (namesExplorer(command.program) && command.arguments.size() == 1) {
        const QUrl address(command.arguments.front(), QUrl::StrictMode);
        if (isWebAddress(address)) {
            return {ProgramStartPlan::Action::OpenWebAddress, address, std::move(command)};
        }
    }
    return {ProgramStartPlan::Action::StartProcess, QUrl(), std::move(command)};
}

}  // namespace norvessa::platform
