#include "main_window/failure_reasons.h"

#include <optional>

#include "main_window/database_location.h"
#include "platform/ado/ado_error.h"
#include "platform/core/platform_error.h"
#include "platform/core/windows_path.h"
#include "platform/jet/errors.h"

namespace norvessa::main_window {
namespace {

using ado::AdoErrorCause;
using jet::ErrorKind;

// What is wrong with the file, without the file's name; each ends before the colon that
// introduces the file.
std::string whatWentWrong(const ado::AdoError& error) {
    switch (error.cause()) {
        case AdoErrorCause::DatabaseMissing:
            return "数据库文件不存在";
        case AdoErrorCause::Statement:
            return "数据库文件中找不到查询所需的表或字段，文件可能已损坏或被替换";
        case AdoErrorCause::Usage:
            break;
        case AdoErrorCause::Engine:
            switch (error.engineKind().value_or(ErrorKind::InvalidArgument)) {
                case ErrorKind::Io:
                    return "无法读取数据库文件";
                case ErrorKind::UnsupportedFormat:
                    return "数据库文件已损坏，或不是本程序的数据库";
                case ErrorKind::WrongPassword:
                    return "数据库文件的密码不对，文件可能已被替换";
                case ErrorKind::Corrupt:
                    return "数据库文件已损坏";
                case ErrorKind::NotFound:
                    return "数据库文件中找不到查询所需的表或字段，文件可能已损坏或被替换";
                case ErrorKind::Unsupported:
                case ErrorKind::InvalidArgument:
                    break;
            }
            break;
    }
    return "查询数据库时程序出错";
}

std::string namingTheFile(const std::string& whatWentWrong) {
    return whatWentWrong + "：" + shownDatabaseFile() + "\n重新启动本程序会重新写出数据库文件。";
}

}  // namespace

std::string shownDatabaseFile() {
    try {
        // In UTF-8 whatever the system's code page.
        const std::u8string shown = platform::hostPath(databaseFilePath()).u8string();
        return std::string(shown.begin(), shown.end());
    } catch (const platform::PlatformError&) {
        return databaseFilePath();
    }
}

std::string lookupFailureReason(const std::exception_ptr& failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const ado::AdoError& error) {
        return namingTheFile(whatWentWrong(error));
    } catch (...) {
        return namingTheFile("查询数据库时程序出错");
    }
}

std::string databaseUnwritableReason() {
    return "无法写入数据库文件：" + shownDatabaseFile() +
           "\n请检查该文件夹是否存在、是否允许写入，以及磁盘空间是否足够。";
}

}  // namespace norvessa::main_window
