#pragma once

// Owns access to a database file's pages and its decoded header. A file on disk that is larger
// than the page cache is read into the cache as pages are asked for (in file order, a block of
// pages at a time), so memory stays flat however large the file is; a smaller file is read
// whole when it is opened. An image already in memory (the program's embedded image, tests) is used
// where it lies. Pages of a page-encrypted database are decrypted once, as they are read.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <vector>

#include "platform/jet/header_page.h"
#include "platform/jet/layout.h"

namespace norvessa::jet {

// Always inlined: GCC takes an out-of-line function that only prefetches for one without
// effect and drops the calls.
[[gnu::always_inline]] inline void prefetchPage(const std::uint8_t* page) {
    constexpr std::size_t kCacheLine = 64;
    for (std::size_t line = 0; line < layout::kPageSize; line += kCacheLine) {
        __builtin_prefetch(page + line);
    }
}

// The bytes of one page. They stay valid as long as this object (or a copy) lives, even when
// the file's cache has moved on to other pages meanwhile. It is deliberately not a range, so
// that a span cannot be taken from a temporary by accident.
class Page {
  public:
    Page() = default;
    // An image held elsewhere needs no keeper.
    Page(std::span<const std::uint8_t> bytes, std::shared_ptr<const void> keeper = nullptr)
        : bytes_(bytes), keeper_(std::move(keeper)) {}

    std::span<const std::uint8_t> bytes() const { return bytes_; }
    const std::uint8_t* data() const { return bytes_.data(); }
    std::size_t size() const { return bytes_.size(); }
    std::uint8_t operator[](std::size_t offset) const { return bytes_[offset]; }
    std::span<const std::uint8_t> subspan(std::size_t offset,
                                          std::size_t count = std::dynamic_extent) const {
        return bytes_.subspan(offset, count);
    }

  private:
    std::span<const std::uint8_t> bytes_;
    std::shared_ptr<const void> keeper_;  // none for an image held by the file itself
};

class DatabaseFile {
  public:
    // Throws JetError: Io when the file cannot be read, UnsupportedFormat or Corrupt for its
    // contents (a length that is not whole pages).
    static std::shared_ptr<const DatabaseFile> open(const std::filesystem::path& path);
    static std::shared_ptr<const DatabaseFile> fromBytes(std::vector<std::uint8_t> image,
                                                         std::string displayName);
    // An image that lives as long as the program (compiled in); it is not copied unless its
    // pages are encrypted.
    static std::shared_ptr<const DatabaseFile> fromStaticImage(std::span<const std::uint8_t> image,
                                                               std::string displayName);

    ~DatabaseFile();
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    const std::string& displayName() const { return displayName_; }
    const HeaderPage& header() const { return header_; }
    std::uint32_t pageCount() const { return pageCount_; }

    // Page `number`; throws JetError(Corrupt) naming `purpose` ("data page", "usage map page")
    // when the page lies beyond the end of the file, or when the file has become shorter since
    // it was opened; JetError(Io) when reading fails.
    Page page(std::uint32_t number, std::string_view purpose) const {
        if (number >= pageCount_) [[unlikely]] {
            throwPageBeyondEnd(number, purpose);
        }
        if (!image_.empty()) {
            return Page(image_.subspan(std::size_t{number} * layout::kPageSize, layout::kPageSize),
                        nullptr);
        }
        return cachedPage(number);
    }

    // Asks the processor to start loading page `number` of an image in memory: a scan reads
    // nearly every byte of its pages, and without this it waits for memory on every row. A
    // block read from disk has just been copied and is in the processor's cache already.
    [[gnu::always_inline]] void prefetch(std::uint32_t number) const {
        if (number < pageCount_ && !image_.empty()) {
            prefetchPage(image_.data() + std::size_t{number} * layout::kPageSize);
        }
    }

    // The same, also checking the page type byte.
    Page typedPage(std::uint32_t number, std::uint8_t type, std::string_view purpose) const;

  private:
    struct Block;
    class Reader;
    struct SinglePage {
        std::uint32_t number = UINT32_MAX;  // none yet
        std::shared_ptr<std::uint8_t[]> bytes;
    };

    DatabaseFile(std::string displayName, std::vector<std::uint8_t> ownedImage,
                 std::span<const std::uint8_t> image);
    DatabaseFile(std::string displayName, std::unique_ptr<Reader> reader, std::uint64_t size);
    void initialise(std::span<const std::uint8_t> headerBytes, std::uint64_t size);
    Page cachedPage(std::uint32_t number) const;
    Page singlePage(std::uint32_t number) const;
    // Reads pages first to end (exclusive), all in `block`, into their places in it.
    void readPages(Block& block, std::uint32_t first, std::uint32_t end) const;
    // Reads whole pages from `first` on into `bytes` and decrypts them.
    void readPagesInto(std::span<std::uint8_t> bytes, std::uint32_t first) const;
    void decryptPages(std::span<std::uint8_t> bytes, std::uint32_t firstPage) const;
    [[noreturn]] void throwPageBeyondEnd(std::uint32_t number, std::string_view purpose) const;

    std::string displayName_;
    std::vector<std::uint8_t> ownedImage_;
    std::span<const std::uint8_t> image_;  // empty when pages are read from the file
    std::unique_ptr<Reader> reader_;
    mutable std::mutex cacheMutex_;
    mutable std::vector<Block> cache_;
    mutable std::vector<SinglePage> singlePages_;
    mutable std::uint32_t lastPageAsked_ = UINT32_MAX;
    mutable std::uint32_t pagesInOrder_ = 0;  // how many pages in a row followed their predecessor
    std::uint32_t pageCount_ = 0;
    HeaderPage header_;
};

}  // namespace norvessa::jet
