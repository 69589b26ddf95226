#pragma once

#include <QList>
#include <QString>

#include "platform/core/platform_error.h"
#include "platform/gui/program_start.h"

// Takes the system's place while it lives and records every command line instead of starting
// it; set `failWith` to make the starts fail.
class RecordingLauncher : public norvessa::platform::ProgramLauncher {
  public:
    struct Start {
        QString commandLine;
        norvessa::platform::WindowStyle style;
    };

    RecordingLauncher() : previous_(norvessa::platform::setProgramLauncher(this)) {}
    ~RecordingLauncher() override { norvessa::platform::setProgramLauncher(previous_); }
    RecordingLauncher(const RecordingLauncher&) = delete;
    RecordingLauncher& operator=(const RecordingLauncher&) = delete;

    std::int64_t start(const QString& commandLine, norvessa::platform::WindowStyle style) override {
        if (!failWith.isEmpty()) {
            throw norvessa::platform::PlatformError(failWith.toStdString());
        }
        starts.append({commandLine, style});
        return 4000 + starts.size();
    }

    QList<Start> starts;
    QString failWith;

  private:
    norvessa::platform::ProgramLauncher* previous_;
};
