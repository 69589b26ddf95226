#include "platform/core/file_output.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

#include "platform/core/path_text.h"
#include "platform/core/platform_error.h"
#include "platform/core/program_file.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <sys/stat.h>
#define NORVESSA_GETPID _getpid
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define NORVESSA_GETPID getpid
#endif
#ifdef __linux__
#include <sys/sendfile.h>
#endif

namespace norvessa::platform {
namespace {

std::string systemReason(int errorNumber) {
    return std::generic_category().message(errorNumber);
}

// Unique among copies of the program (process id) and among calls within one copy (counter);
// the clock part keeps a stale name from an earlier, killed copy with the same id from colliding.
std::filesystem::path temporarySibling(const std::filesystem::path& file) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    // Built as a path, so that a name the narrow code page cannot hold stays whole on Windows.
    std::filesystem::path name(".");
    name += file.filename();
    name += ".tmp-" + std::to_string(NORVESSA_GETPID()) + "-" + std::to_string(counter++) + "-" +
            std::to_string(ticks);
    return file.parent_path() / name;
}

class TemporaryFile {
  public:
    explicit TemporaryFile(std::filesystem::path path) : path_(std::move(path)) {}
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (stream_ != nullptr) {
            std::fclose(stream_);
        }
        if (!kept_) {
            std::error_code ignored;
            std::filesystem::remove(path_, ignored);
        }
    }

    // Fail rather than follow or reuse anything that already has this name ("x", O_EXCL).
    bool create() {
#ifdef _WIN32
        // The wide call takes any name; the system's msvcrt knows no "x" mode.
        const int descriptor =
            _wopen(path_.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY | _O_NOINHERIT,
                   _S_IREAD | _S_IWRITE);
        if (descriptor < 0) {
            return false;
        }
        stream_ = _fdopen(descriptor, "wb");
        if (stream_ == nullptr) {
            _close(descriptor);
        }
#else
        stream_ = std::fopen(path_.string().c_str(), "wbx");
#endif
        return stream_ != nullptr;
    }
    bool write(std::span<const std::uint8_t> bytes) {
        if (bytes.empty()) {
            return true;
        }
        switch (copyFromProgramFile(bytes)) {
            case Copy::Done:
                return true;
            case Copy::Failed:
                return false;
            case Copy::Unavailable:
                break;
        }
        return std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size();
    }
    bool close() {
        const int result = std::fclose(stream_);
        stream_ = nullptr;
        return result == 0;
    }
    void keep() {
        kept_ = true;
    }
    const std::filesystem::path& path() const {
        return path_;
    }

  private:
    enum class Copy { Done, Unavailable, Failed };

    // Bytes that the program carries are copied by the system from the program's file, without
    // passing through this process's memory: a large image then costs neither the time of
    // reading it in nor its size in resident memory. Unavailable, with the file still empty,
    // when that cannot be done, so that the caller writes the bytes itself.
    Copy copyFromProgramFile(std::span<const std::uint8_t> bytes) {
#ifdef __linux__
        const std::optional<ProgramFileRange> range = programFileRange(bytes);
        if (!range) {
            return Copy::Unavailable;
        }
        const int source = ::open(range->file.c_str(), O_RDONLY | O_CLOEXEC);
        if (source < 0) {
            return Copy::Unavailable;
        }
        // The name may lead to a file put there since the program was loaded.
        struct stat opened {};
        if (::fstat(source, &opened) != 0 || opened.st_dev != range->device ||
            opened.st_ino != range->inode) {
            ::close(source);
            return Copy::Unavailable;
        }
        const int target = fileno(stream_);
        auto offset = static_cast<off_t>(range->offset);
        std::size_t left = bytes.size();
        int failure = 0;
        while (left > 0) {
            const ssize_t copied = ::sendfile(target, source, &offset, left);
            if (copied < 0 && errno == EINTR) {
                continue;
            }
            if (copied <= 0) {
                failure = copied < 0 ? errno : 0;
                break;
            }
            left -= static_cast<std::size_t>(copied);
        }
        ::close(source);
        if (left == 0) {
            return Copy::Done;
        }
        // A target that is full or failing fails the same way when written to: that is the
        // answer. Other failures mean only that the system will not copy between these files.
        if (failure == ENOSPC || failure == EDQUOT || failure == EIO || failure == EFBIG) {
            errno = failure;
            return Copy::Failed;
        }
        // Back to an empty file, for the caller to write.
        errno = 0;
        if (std::fseek(stream_, 0, SEEK_SET) != 0 || ::ftruncate(target, 0) != 0) {
            return Copy::Failed;
        }
        return Copy::Unavailable;
#else
        static_cast<void>(bytes);
        return Copy::Unavailable;
#endif
    }

    std::filesystem::path path_;
    std::FILE* stream_ = nullptr;
    bool kept_ = false;
};

}  // namespace

void replaceFileContent(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    const std::string failure = "cannot write the file " + pathText(file) + ": ";
    TemporaryFile temporary(temporarySibling(file));
    errno = 0;
    if (!temporary.create()) {
        throw PlatformError(failure + systemReason(errno));
    }
    errno = 0;
    if (!temporary.write(bytes)) {
        throw PlatformError(failure + systemReason(errno != 0 ? errno : EIO));
    }
    errno = 0;
    if (!temporary.close()) {
        throw PlatformError(failure + systemReason(errno != 0 ? errno : EIO));
    }
    std::error_code error;
    std::filesystem::rename(temporary.path(), file, error);
    if (error) {
        throw PlatformError(failure + error.message());
    }
    temporary.keep();
}

}  // namespace norvessa::platform
