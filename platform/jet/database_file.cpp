#include "platform/jet/database_file.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/errors.h"
#include "platform/jet/rc4.h"

namespace norvessa::jet {
namespace {

[[noreturn]] void throwIo(const std::filesystem::path& path, const std::string& what) {
    throw JetError(ErrorKind::Io, path.string() + ": " + what + ": " + std::strerror(errno));
}

// Closes the descriptor when the mapping is done; the mapping stays valid after close().
class FileDescriptor {
  public:
    explicit FileDescriptor(int descriptor) : descriptor_(descriptor) {}
    ~FileDescriptor() {
        if (descriptor_ >= 0) {
            ::close(descriptor_);
        }
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return descriptor_; }

  private:
    int descriptor_;
};

}  // namespace

std::shared_ptr<const DatabaseFile> DatabaseFile::open(const std::filesystem::path& path) {
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.get() < 0) {
        throwIo(path, "cannot open the file");
    }
    struct stat status {};
    if (::fstat(file.get(), &status) != 0) {
        throwIo(path, "cannot read the file's size");
    }
    if (!S_ISREG(status.st_mode)) {
        errno = EINVAL;
        throwIo(path, "not a regular file");
    }
    const auto size = static_cast<std::size_t>(status.st_size);
    const std::string name = path.filename().string();
    if (size == 0) {
        return std::shared_ptr<const DatabaseFile>(new DatabaseFile(name, {}, nullptr, 0));
    }
    void* mapping = ::mmap(nullptr, size, PROT_READ, MAP_PRIVATE, file.get(), 0);
    if (mapping == MAP_FAILED) {
        throwIo(path, "cannot map the file");
    }
    return std::shared_ptr<const DatabaseFile>(new DatabaseFile(name, {}, mapping, size));
}

std::shared_ptr<const DatabaseFile> DatabaseFile::fromBytes(std::vector<std::uint8_t> image,
                                                            std::string displayName) {
    return std::shared_ptr<const DatabaseFile>(
        new DatabaseFile(std::move(displayName), std::move(image), nullptr, 0));
}

DatabaseFile::DatabaseFile(std::string displayName, std::vector<std::uint8_t> owned, void* mapping,
                           std::size_t mappingSize)
    : displayName_(std::move(displayName)),
      owned_(std::move(owned)),
      mapping_(mapping),
      mappingSize_(mappingSize) {
    if (mapping_ != nullptr) {
        bytes_ = {static_cast<const std::uint8_t*>(mapping_), mappingSize_};
    } else {
        bytes_ = owned_;
    }
    try {
        initialise();
    } catch (const JetError& error) {
        if (mapping_ != nullptr) {
            ::munmap(mapping_, mappingSize_);
        }
        throw JetError(error.kind(), displayName_ + ": " + error.what());
    }
}

DatabaseFile::~DatabaseFile() {
    if (mapping_ != nullptr) {
        ::munmap(mapping_, mappingSize_);
    }
}

void DatabaseFile::initialise() {
    header_ = decodeHeaderPage(bytes_);
    // A partial last page cannot hold anything whole; it is treated as absent.
    pageCount_ = static_cast<std::uint32_t>(
        std::min<std::size_t>(bytes_.size() / layout::kPageSize, UINT32_MAX));
    if (header_.databaseKey == 0) {
        return;
    }
    // Encrypted pages: decrypt every page but the header once, into memory of our own.
    std::vector<std::uint8_t> plain(
        bytes_.begin(),
        bytes_.begin() + static_cast<std::ptrdiff_t>(std::size_t{pageCount_} * layout::kPageSize));
    for (std::uint32_t page = 1; page < pageCount_; ++page) {
        const std::uint32_t pageKey = header_.databaseKey ^ page;
        const std::uint8_t key[4] = {
            static_cast<std::uint8_t>(pageKey), static_cast<std::uint8_t>(pageKey >> 8),
            static_cast<std::uint8_t>(pageKey >> 16), static_cast<std::uint8_t>(pageKey >> 24)};
        rc4Apply(key, std::span(plain).subspan(std::size_t{page} * layout::kPageSize,
                                               layout::kPageSize));
    }
    if (mapping_ != nullptr) {
        ::munmap(mapping_, mappingSize_);
        mapping_ = nullptr;
    }
    owned_ = std::move(plain);
    bytes_ = owned_;
}

std::span<const std::uint8_t> DatabaseFile::typedPage(std::uint32_t number, std::uint8_t type,
                                                      std::string_view purpose) const {
    auto bytes = page(number, purpose);
    if (bytes[layout::kPageType.offset] != type) {
        char detail[96];
        std::snprintf(detail, sizeof detail, "expected page type 0x%02X, found 0x%02X", type,
                      bytes[layout::kPageType.offset]);
        throwCorrupt(Location{purpose, number, std::nullopt}, detail);
    }
    return bytes;
}

void DatabaseFile::throwPageBeyondEnd(std::uint32_t number, std::string_view purpose) const {
    throwCorrupt(Location{purpose, number, std::nullopt},
                 "page lies beyond the end of the file (" + std::to_string(pageCount_) + " pages)");
}

}  // namespace norvessa::jet
