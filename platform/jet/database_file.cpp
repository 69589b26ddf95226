#include "platform/jet/database_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include "platform/jet/byte_cursor.h"
#include "platform/jet/errors.h"
#include "platform/jet/rc4.h"

namespace norvessa::jet {
namespace {

// Pages are read from disk this many at a time, and the cache keeps this many blocks: 8 MiB at
// most, whatever the file's size. A scan reads its pages in file order, so a block serves
// sixteen pages with one read.
constexpr std::uint32_t kPagesPerBlock = 16;
constexpr std::size_t kBlockSize = kPagesPerBlock * layout::kPageSize;
constexpr std::size_t kCachedBlocks = 128;
// Pages asked for out of file order (an index search reaching rows all over the file) are read
// one at a time into a few single-page buffers that are used again and again: reading each into
// its place in a block would touch fresh memory for every page.
constexpr std::size_t kCachedSinglePages = 64;
// Blocks are for scans: pages asked for in file order, this many in a row after the first.
constexpr std::uint32_t kPagesInOrderForBlocks = 2;

[[noreturn]] void throwIo(const std::filesystem::path& path, const std::string& what, int error) {
    throw JetError(ErrorKind::Io, path.string() + ": " + what + ": " + std::strerror(error));
}

}  // namespace

// Reads byte ranges of an open file at given offsets. The file stays open, so a program that
// renames a new file into place does not disturb the lookup that runs on the old one.
class DatabaseFile::Reader {
  public:
    explicit Reader(const std::filesystem::path& path) : path_(path) {
#ifdef _WIN32
        handle_ = CreateFileW(path.c_str(), GENERIC_READ,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle_ == INVALID_HANDLE_VALUE) {
            throwIo(path_, "cannot open the file", ENOENT);
        }
#else
        descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
        if (descriptor_ < 0) {
            throwIo(path_, "cannot open the file", errno);
        }
#endif
    }
    ~Reader() {
#ifdef _WIN32
        CloseHandle(handle_);
#else
        ::close(descriptor_);
#endif
    }
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    std::uint64_t size() const {
#ifdef _WIN32
        LARGE_INTEGER size{};
        if (!GetFileSizeEx(handle_, &size)) {
            throwIo(path_, "cannot find the file's size", EIO);
        }
        return static_cast<std::uint64_t>(size.QuadPart);
#else
        struct stat status {};
        if (::fstat(descriptor_, &status) != 0) {
            throwIo(path_, "cannot find the file's size", errno);
        }
        return static_cast<std::uint64_t>(status.st_size);
#endif
    }

    // Fills `into` from `offset` on; returns how many bytes there were before the file's end.
    std::size_t read(std::span<std::uint8_t> into, std::uint64_t offset) const {
        std::size_t filled = 0;
        while (filled < into.size()) {
#ifdef _WIN32
            OVERLAPPED at{};
            const std::uint64_t position = offset + filled;
            at.Offset = static_cast<DWORD>(position);
            at.OffsetHigh = static_cast<DWORD>(position >> 32);
            DWORD got = 0;
            if (!ReadFile(handle_, into.data() + filled, static_cast<DWORD>(into.size() - filled),
                          &got, &at)) {
                if (GetLastError() == ERROR_HANDLE_EOF) {
                    break;
                }
                throwIo(path_, "cannot read the file", EIO);
            }
#else
            const ssize_t got = ::pread(descriptor_, into.data() + filled, into.size() - filled,
                                        static_cast<off_t>(offset + filled));
            if (got < 0) {
                if (errno == EINTR) {
                    continue;
                }
                throwIo(path_, "cannot read the file", errno);
            }
#endif
            if (got == 0) {
                break;
            }
            filled += static_cast<std::size_t>(got);
        }
        return filled;
    }

  private:
    std::filesystem::path path_;
#ifdef _WIN32
    HANDLE handle_ = INVALID_HANDLE_VALUE;
#else
    int descriptor_ = -1;
#endif
};

struct DatabaseFile::Block {
    std::uint32_t index = UINT32_MAX;  // which block of the file it holds; none yet
    std::uint32_t loadedPages = 0;     // bit p: page p of the block has been read
    std::shared_ptr<std::uint8_t[]> bytes;
};

std::shared_ptr<const DatabaseFile> DatabaseFile::open(const std::filesystem::path& path) {
    auto reader = std::make_unique<Reader>(path);
    const std::uint64_t size = reader->size();
    // A file the cache would hold whole is read whole at once: one read instead of one per
    // block, and a copy that another program rewriting the file cannot change under a lookup.
    if (size <= kBlockSize * kCachedBlocks) {
        std::vector<std::uint8_t> image(static_cast<std::size_t>(size));
        image.resize(reader->read(image, 0));
        return fromBytes(std::move(image), path.filename().string());
    }
    return std::shared_ptr<const DatabaseFile>(
        new DatabaseFile(path.filename().string(), std::move(reader), size));
}

std::shared_ptr<const DatabaseFile> DatabaseFile::fromBytes(std::vector<std::uint8_t> image,
                                                            std::string displayName) {
    return std::shared_ptr<const DatabaseFile>(
        new DatabaseFile(std::move(displayName), std::move(image), {}));
}

std::shared_ptr<const DatabaseFile> DatabaseFile::fromStaticImage(
    std::span<const std::uint8_t> image, std::string displayName) {
    return std::shared_ptr<const DatabaseFile>(new DatabaseFile(std::move(displayName), {}, image));
}

DatabaseFile::DatabaseFile(std::string displayName, std::vector<std::uint8_t> ownedImage,
                           std::span<const std::uint8_t> image)
    : displayName_(std::move(displayName)), ownedImage_(std::move(ownedImage)), image_(image) {
    if (image_.empty()) {
        image_ = ownedImage_;
    }
    try {
        initialise(image_, image_.size());
    } catch (const JetError& error) {
        throw JetError(error.kind(), displayName_ + ": " + error.what());
    }
}

DatabaseFile::DatabaseFile(std::string displayName, std::unique_ptr<Reader> reader,
                           std::uint64_t size)
    : displayName_(std::move(displayName)),
      reader_(std::move(reader)),
      cache_(kCachedBlocks),
      singlePages_(kCachedSinglePages) {
    try {
        std::vector<std::uint8_t> header(
            static_cast<std::size_t>(std::min<std::uint64_t>(size, layout::kPageSize)));
        header.resize(reader_->read(header, 0));
        initialise(header, size);
    } catch (const JetError& error) {
        throw JetError(error.kind(), displayName_ + ": " + error.what());
    }
}

DatabaseFile::~DatabaseFile() = default;

void DatabaseFile::initialise(std::span<const std::uint8_t> headerBytes, std::uint64_t size) {
    header_ = decodeHeaderPage(headerBytes);
    // Every database file is whole pages; anything else was cut or grown by something else.
    if (size % layout::kPageSize != 0) {
        throwCorrupt(Location{"file", std::nullopt, std::nullopt},
                     "the file is damaged: its length, " + std::to_string(size) +
                         " bytes, is not a whole number of " + std::to_string(layout::kPageSize) +
                         "-byte pages");
    }
    pageCount_ =
        static_cast<std::uint32_t>(std::min<std::uint64_t>(size / layout::kPageSize, UINT32_MAX));
    if (header_.databaseKey != 0 && !image_.empty()) {
        // Decrypted once, in a copy of its own when the image is not the file's to change.
        if (ownedImage_.empty()) {
            ownedImage_.assign(image_.begin(), image_.end());
            image_ = ownedImage_;
        }
        decryptPages(std::span(ownedImage_).subspan(layout::kPageSize), 1);
    }
}

void DatabaseFile::decryptPages(std::span<std::uint8_t> bytes, std::uint32_t firstPage) const {
    for (std::size_t offset = 0; offset + layout::kPageSize <= bytes.size();
         offset += layout::kPageSize) {
        const std::uint32_t page =
            firstPage + static_cast<std::uint32_t>(offset / layout::kPageSize);
        if (page == 0) {
            continue;  // the header page is never encrypted
        }
        const std::uint32_t pageKey = header_.databaseKey ^ page;
        const std::uint8_t key[4] = {
            static_cast<std::uint8_t>(pageKey), static_cast<std::uint8_t>(pageKey >> 8),
            static_cast<std::uint8_t>(pageKey >> 16), static_cast<std::uint8_t>(pageKey >> 24)};
        rc4Apply(key, bytes.subspan(offset, layout::kPageSize));
    }
}

Page DatabaseFile::cachedPage(std::uint32_t number) const {
    const std::uint32_t blockIndex = number / kPagesPerBlock;
    const std::uint32_t slot = number % kPagesPerBlock;
    const std::lock_guard lock(cacheMutex_);
    Block& block = cache_[blockIndex % cache_.size()];
    const bool inBlock = block.index == blockIndex && (block.loadedPages >> slot & 1U) != 0;
    pagesInOrder_ = number == lastPageAsked_ + 1 ? pagesInOrder_ + 1 : 0;
    if (!inBlock && pagesInOrder_ < kPagesInOrderForBlocks) {
        lastPageAsked_ = number;
        return singlePage(number);
    }
    if (block.index != blockIndex) {
        // A buffer that a page still in use shares is left to its holder.
        if (!block.bytes || block.bytes.use_count() > 1) {
            block.bytes = std::shared_ptr<std::uint8_t[]>(new std::uint8_t[kBlockSize]);
        }
        block.index = blockIndex;
        block.loadedPages = 0;
    }
    if ((block.loadedPages >> slot & 1U) == 0) {
        // A scan asks for pages in file order, so the next page on asks for the rest of the
        // block with one read; a page asked for out of order (an index search) is read alone.
        std::uint32_t end = number + 1;
        if (number == lastPageAsked_ + 1) {
            const std::uint32_t blockEnd = std::min((blockIndex + 1) * kPagesPerBlock, pageCount_);
            while (end < blockEnd && (block.loadedPages >> (end % kPagesPerBlock) & 1U) == 0) {
                ++end;
            }
        }
        readPages(block, number, end);
    }
    lastPageAsked_ = number;
    return Page(std::span<const std::uint8_t>(
                    block.bytes.get() + std::size_t{slot} * layout::kPageSize, layout::kPageSize),
                block.bytes);
}

Page DatabaseFile::singlePage(std::uint32_t number) const {
    SinglePage& kept = singlePages_[number % singlePages_.size()];
    if (kept.number != number) {
        // A buffer that a page still in use shares is left to its holder.
        if (!kept.bytes || kept.bytes.use_count() > 1) {
            kept.bytes = std::shared_ptr<std::uint8_t[]>(new std::uint8_t[layout::kPageSize]);
        }
        kept.number = UINT32_MAX;
        readPagesInto(std::span<std::uint8_t>(kept.bytes.get(), layout::kPageSize), number);
        kept.number = number;
    }
    return Page(std::span<const std::uint8_t>(kept.bytes.get(), layout::kPageSize), kept.bytes);
}

void DatabaseFile::readPages(Block& block, std::uint32_t first, std::uint32_t end) const {
    readPagesInto(std::span<std::uint8_t>(
                      block.bytes.get() + std::size_t{first % kPagesPerBlock} * layout::kPageSize,
                      std::size_t{end - first} * layout::kPageSize),
                  first);
    for (std::uint32_t page = first; page < end; ++page) {
        block.loadedPages |= 1U << (page % kPagesPerBlock);
    }
}

void DatabaseFile::readPagesInto(std::span<std::uint8_t> bytes, std::uint32_t first) const {
    const std::size_t read = reader_->read(bytes, std::uint64_t{first} * layout::kPageSize);
    if (read < bytes.size()) {
        throwCorrupt(Location{"page", first + static_cast<std::uint32_t>(read / layout::kPageSize),
                              std::nullopt},
                     "the file is damaged: it has become shorter since it was opened (" +
                         std::to_string(pageCount_) + " pages)");
    }
    if (header_.databaseKey != 0) {
        decryptPages(bytes, first);
    }
}

Page DatabaseFile::typedPage(std::uint32_t number, std::uint8_t type,
                             std::string_view purpose) const {
    Page bytes = page(number, purpose);
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
                 "the file is damaged: page lies beyond the end of the file (" +
                     std::to_string(pageCount_) + " pages)");
}

}  // namespace norvessa::jet
