#include "platform/core/file_output.h"

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>

#include "platform/core/platform_error.h"

#ifdef _WIN32
#include <process.h>
#define NORVESSA_GETPID _getpid
#else
#include <unistd.h>
#define NORVESSA_GETPID getpid
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
    std::string name = "." + file.filename().string() + ".tmp-" +
                       std::to_string(NORVESSA_GETPID()) + "-" + std::to_string(counter++) + "-" +
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

    // "x": fail rather than follow or reuse anything that already has this name.
    bool create() {
        stream_ = std::fopen(path_.string().c_str(), "wbx");
        return stream_ != nullptr;
    }
    bool write(std::span<const std::uint8_t> bytes) {
        return bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), stream_) == bytes.size();
    }
    bool close() {
        const int result = std::fclose(stream_);
        stream_ = nullptr;
        return result == 0;
    }
    void keep() { kept_ = true; }
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
    std::FILE* stream_ = nullptr;
    bool kept_ = false;
};

}  // namespace

void replaceFileContent(const std::filesystem::path& file, std::span<const std::uint8_t> bytes) {
    const std::string failure = "cannot write the file " + file.string() + ": ";
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
