#pragma once

// Owns a database file's bytes (memory-mapped, or an image held in memory) and its decoded
// header, and hands out pages by number. Pages of a page-encrypted database are decrypted once
// when the file is opened.

#include <cstdint>
#include <filesystem>
#include <memory>
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

class DatabaseFile {
  public:
    // Throws JetError: Io when the file cannot be read, UnsupportedFormat or Corrupt for its
    // contents.
    static std::shared_ptr<const DatabaseFile> open(const std::filesystem::path& path);
    static std::shared_ptr<const DatabaseFile> fromBytes(std::vector<std::uint8_t> image,
                                                         std::string displayName);

    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    const std::string& displayName() const { return displayName_; }
    const HeaderPage& header() const { return header_; }
    std::uint32_t pageCount() const { return pageCount_; }

    // Page `number`; throws JetError(Corrupt) naming `purpose` ("data page", "usage map page")
    // when the page lies beyond the end of the file.
    std::span<const std::uint8_t> page(std::uint32_t number, std::string_view purpose) const {
        if (number >= pageCount_) {
            throwPageBeyondEnd(number, purpose);
        }
        return std::span<const std::uint8_t>(bytes_).subspan(
            std::size_t{number} * layout::kPageSize, layout::kPageSize);
    }

    // Asks the processor to start loading page `number` (if it exists): a scan reads nearly
    // every byte of its pages, and without this it waits for memory on every row.
    [[gnu::always_inline]] void prefetch(std::uint32_t number) const {
        if (number < pageCount_) {
            prefetchPage(bytes_.data() + std::size_t{number} * layout::kPageSize);
        }
    }

    // The same, also checking the page type byte.
    std::span<const std::uint8_t> typedPage(std::uint32_t number, std::uint8_t type,
                                            std::string_view purpose) const;

  private:
    DatabaseFile(std::string displayName, std::vector<std::uint8_t> bytes);
    void initialise();
    [[noreturn]] void throwPageBeyondEnd(std::uint32_t number, std::string_view purpose) const;

    std::string displayName_;
    std::vector<std::uint8_t> bytes_;
    std::uint32_t pageCount_ = 0;
    HeaderPage header_;
};

}  // namespace norvessa::jet
