#include "platform/core/console_output.h"

#include <algorithm>

#ifdef _WIN32
#include <windows.h>

#include <array>
#include <cstring>

#include "platform/core/utf16.h"
#endif

namespace norvessa::platform {

std::size_t completeUtf8Length(std::string_view text) {
    const std::size_t lookBack = std::min<std::size_t>(text.size(), 3);
    for (std::size_t back = 1; back <= lookBack; ++back) {
        const auto byte = static_cast<unsigned char>(text[text.size() - back]);
        if ((byte & 0xC0) == 0x80) {
            continue;  // a continuation byte: its sequence began further back
        }
        const std::size_t length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
        return length > back ? text.size() - back : text.size();
    }
    return text.size();
}

#ifdef _WIN32
namespace {

// Collects UTF-8 and writes each complete part to the console as UTF-16.
class ConsoleBuffer : public std::streambuf {
  public:
    explicit ConsoleBuffer(HANDLE console) : console_(console) {
        setp(buffer_.data(), buffer_.data() + buffer_.size());
    }
    ~ConsoleBuffer() override { writeComplete(true); }
    ConsoleBuffer(const ConsoleBuffer&) = delete;
    ConsoleBuffer& operator=(const ConsoleBuffer&) = delete;

  protected:
    int_type overflow(int_type c) override {
        if (!writeComplete(false)) {
            return traits_type::eof();
        }
        if (!traits_type::eq_int_type(c, traits_type::eof())) {
            *pptr() = traits_type::to_char_type(c);
            pbump(1);
        }
        return traits_type::not_eof(c);
    }
    int sync() override { return writeComplete(false) ? 0 : -1; }

  private:
    // Writes what is complete and keeps an unfinished sequence for the next bytes; at the end
    // (`all`), or when the tail cannot be the start of one sequence, everything goes.
    bool writeComplete(bool all) {
        const std::string_view pending(pbase(), static_cast<std::size_t>(pptr() - pbase()));
        std::size_t complete = completeUtf8Length(pending);
        if (all || pending.size() - complete >= 4) {
            complete = pending.size();
        }
        const std::wstring wide = wideFromUtf8(pending.substr(0, complete));
        for (std::size_t offset = 0; offset < wide.size();) {
            const auto chunk =
                static_cast<DWORD>(std::min<std::size_t>(wide.size() - offset, 8192));
            DWORD written = 0;
            if (!WriteConsoleW(console_, wide.data() + offset, chunk, &written, nullptr) ||
                written == 0) {
                return false;
            }
            offset += written;
        }
        const std::size_t tail = pending.size() - complete;
        std::memmove(buffer_.data(), buffer_.data() + complete, tail);
        setp(buffer_.data(), buffer_.data() + buffer_.size());
        pbump(static_cast<int>(tail));
        return true;
    }

    HANDLE console_;
    std::array<char, 4096> buffer_{};
};

bool isConsole(HANDLE handle) {
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

}  // namespace

ConsoleOutput::ConsoleOutput(std::ostream& stream, unsigned long standardHandle) : stream_(stream) {
    HANDLE handle = GetStdHandle(standardHandle);
    if (isConsole(handle)) {
        console_ = std::make_unique<ConsoleBuffer>(handle);
        previous_ = stream_.rdbuf(console_.get());
    }
}

ConsoleOutput::~ConsoleOutput() {
    if (console_ != nullptr) {
        stream_.flush();
        stream_.rdbuf(previous_);
    }
}
#endif

}  // namespace norvessa::platform
