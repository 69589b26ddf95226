#pragma once

// The closed set of failures the database engine reports. Messages name the file, page and
// offset where they apply ("data page 17: row 3 offset 0x1F40 beyond page end").

#include <stdexcept>
#include <string>

namespace norvessa::jet {

enum class ErrorKind {
    Io,                 // the file could not be read or written
    UnsupportedFormat,  // not a Jet 4.0 file (Jet 3, ACE, something else)
    WrongPassword,      // the database password does not match
    Corrupt,            // a structure of the file is malformed
    NotFound,           // a named table or column does not exist
    Unsupported,        // valid request the engine does not implement (or cannot write exactly)
    InvalidArgument,    // the caller passed something unusable
};

class JetError : public std::runtime_error {
  public:
    JetError(ErrorKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind) {}
    ErrorKind kind() const noexcept { return kind_; }

  private:
    ErrorKind kind_;
};

}  // namespace norvessa::jet
