#pragma once

// Text for a Windows console. A console shows what it is given in its own code page (936 on a
// Chinese Windows, 437 on many others), so UTF-8 written to it as bytes comes out garbled; its
// wide API shows any text. Output that goes to a file or a pipe stays UTF-8 bytes.

#include <cstddef>
#include <string_view>

#ifdef _WIN32
#include <memory>
#include <ostream>
#include <streambuf>
#endif

namespace norvessa::platform {

// How much of `text` may be converted now: all of it but an incomplete UTF-8 sequence at its
// end, whose other bytes are still to come.
std::size_t completeUtf8Length(std::string_view text);

#ifdef _WIN32
// While it lives, `stream` writes through the console's wide API when `standardHandle`
// (STD_OUTPUT_HANDLE, STD_ERROR_HANDLE) is a console; otherwise nothing changes.
class ConsoleOutput {
  public:
    ConsoleOutput(std::ostream& stream, unsigned long standardHandle);
    ~ConsoleOutput();
    ConsoleOutput(const ConsoleOutput&) = delete;
    ConsoleOutput& operator=(const ConsoleOutput&) = delete;

  private:
    std::ostream& stream_;
    std::unique_ptr<std::streambuf> console_;
    std::streambuf* previous_ = nullptr;
};
#endif

}  // namespace norvessa::platform
