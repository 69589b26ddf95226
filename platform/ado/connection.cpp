#include "platform/ado/connection.h"

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/ado/ado_error.h"
#include "platform/ado/connection_string.h"
#include "platform/core/platform_error.h"
#include "platform/core/windows_path.h"
#include "platform/jet/errors.h"

namespace norvessa::ado {
namespace {

// Names the file both as the caller wrote it and where it lies on this machine.
std::string cannotOpen(const std::string& dataSource, const std::filesystem::path& file,
                       const std::string& reason) {
    std::string message = "cannot open the database " + dataSource;
    if (!file.empty()) {
        message += " (" + file.string() + ")";
    }
    return message + ": " + reason;
}

jet::Database openJetDatabase(const JetConnectionSettings& settings) {
    std::filesystem::path file;
    try {
        file = platform::hostPath(settings.dataSource);
    } catch (const platform::PlatformError& error) {
        throw AdoError(cannotOpen(settings.dataSource, file, error.what()),
                       AdoErrorCause::DatabaseMissing);
    }
    std::error_code error;
    if (!std::filesystem::exists(file, error)) {
        if (error) {
            throw AdoError(cannotOpen(settings.dataSource, file, error.message()),
                           AdoErrorCause::Engine, jet::ErrorKind::Io);
        }
        throw AdoError(cannotOpen(settings.dataSource, file, "the file does not exist"),
                       AdoErrorCause::DatabaseMissing);
    }
    try {
        // The lookup's database is the one this program writes, with exact row counts: a
        // count that differs means rows were lost, and the file is refused as damaged.
        return jet::Database::open(file, settings.databasePassword, jet::WrittenBy::ThisProgram);
    } catch (const jet::JetError& failure) {
        const std::string reason = failure.kind() == jet::ErrorKind::WrongPassword
                                       ? std::string("wrong database password")
                                       : std::string(failure.what());
        throw AdoError(cannotOpen(settings.dataSource, file, reason), AdoErrorCause::Engine,
                       failure.kind());
    }
}

}  // namespace

void Connection::Open(std::string_view connectionString, std::string_view userId,
                      std::string_view password, ConnectOptionEnum /*options*/) {
    if (database_) {
        throw AdoError("Connection.Open: the connection is already open");
    }
    if (!userId.empty() || !password.empty()) {
        throw AdoError(
            "Connection.Open: a user name and password (user-level security) are not "
            "supported; give the database password as Jet OLEDB:Database Password in the "
            "connection string");
    }
    database_ = openJetDatabase(readJetConnectionString(connectionString));
}

void Connection::Close() {
    if (!database_) {
        throw AdoError("Connection.Close: the connection is not open");
    }
    database_.reset();
}

const jet::Database& Connection::openDatabase(std::string_view operation) const {
    if (!database_) {
        throw AdoError(std::string(operation) + ": the connection is not open");
    }
    return *database_;
}

}  // namespace norvessa::ado
