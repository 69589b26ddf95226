#include "main_window/database_provisioning.h"

#include <exception>
#include <future>
#include <optional>
#include <system_error>
#include <utility>

#include "main_window/database_location.h"
#include "main_window/failure_reasons.h"
#include "platform/controls/error_report.h"
#include "platform/core/file_output.h"
#include "platform/core/windows_path.h"
#include "resources/database_image.h"

namespace norvessa::main_window {
namespace {

void provisionDatabaseFile() {
    try {
        platform::replaceFileContent(platform::hostPath(databaseFilePath()),
                                     resources::carriedDatabaseImage());
    } catch (...) {
        std::throw_with_nested(controls::ExplainedError(databaseUnwritableReason()));
    }
}

std::optional<std::future<void>>& pendingWrite() {
    static std::optional<std::future<void>> write;
    return write;
}

}  // namespace

void startDatabaseProvisioning() {
    try {
        pendingWrite() = std::async(std::launch::async, provisionDatabaseFile);
    } catch (const std::system_error&) {
        pendingWrite().reset();
    }
}

void finishDatabaseProvisioning() {
    if (std::optional<std::future<void>> write = std::exchange(pendingWrite(), std::nullopt)) {
        write->get();
        return;
    }
    provisionDatabaseFile();
}

}  // namespace norvessa::main_window
