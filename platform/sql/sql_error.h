#pragma once

// Why a statement was refused, and where: the position counts characters (not bytes) from 1,
// so it points at the right place in a statement with Chinese names.

#include <cstddef>
#include <stdexcept>
#include <string>

namespace norvessa::sql {

enum class SqlErrorKind {
    Syntax,        // the text is not a statement at all (unclosed quote, missing keyword, ...)
    NotSupported,  // valid Jet SQL outside the subset this parser understands
};

class SqlError : public std::runtime_error {
  public:
    SqlError(SqlErrorKind kind, std::size_t position, const std::string& detail);

    SqlErrorKind kind() const noexcept { return kind_; }
    std::size_t position() const noexcept { return position_; }
    // The message without the kind and position prefix.
    const std::string& detail() const noexcept { return detail_; }

  private:
    SqlErrorKind kind_;
    std::size_t position_;
    std::string detail_;
};

}  // namespace norvessa::sql
