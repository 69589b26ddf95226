#include "platform/sql/sql_error.h"

namespace norvessa::sql {
namespace {

std::string fullMessage(SqlErrorKind kind, std::size_t position, const std::string& detail) {
    const char* what = kind == SqlErrorKind::Syntax ? "syntax error" : "not supported";
    return std::string(what) + " at character " + std::to_string(position) + ": " + detail;
}

}  // namespace

SqlError::SqlError(SqlErrorKind kind, std::size_t position, const std::string& detail)
    : std::runtime_error(fullMessage(kind, position, detail)),
      kind_(kind),
      position_(position),
      detail_(detail) {}

}  // namespace norvessa::sql
