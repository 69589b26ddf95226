#include "platform/jet/database_file.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <system_error>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/errors.h"
#include "platform/jet/rc4.h"
#include "platform/jet/usage_map.h"

namespace norvessa::jet {
namespace {

[[noreturn]] void throwIo(const std::filesystem::path& path, const std::string& what) {
    throw JetError(ErrorKind::Io, path.string() + ": " + what + ": " + std::strerror(errno));
}

// Closes the file on every way out.
struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

}  // namespace

// The file is read whole rather than mapped: another program may rewrite it in place while a
// lookup runs, which turns a mapping's pages into a bus error, whereas a copy in memory at worst
// holds a torn file that the decoders report as damaged.
std::shared_ptr<const DatabaseFile> DatabaseFile::open(const std::filesystem::path& path) {
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "rb"));
    if (!file) {
        throwIo(path, "cannot open the file");
    }
    // Read straight into place at the size the file has now; a file that another program grows
    // or cuts meanwhile is read to wherever its end then lies.
    std::error_code sizeUnknown;
    const auto expected = std::filesystem::file_size(path, sizeUnknown);
    std::vector<std::uint8_t> bytes(sizeUnknown ? 0 : static_cast<std::size_t>(expected));
    std::size_t filled = std::fread(bytes.data(), 1, bytes.size(), file.get());
    if (filled == bytes.size()) {
        std::uint8_t more[1 << 16];
        for (std::size_t read = 0; (read = std::fread(more, 1, sizeof more, file.get())) > 0;) {
            bytes.insert(bytes.end(), more, more + read);
        }
        filled = bytes.size();
    }
    bytes.resize(filled);
    if (std::ferror(file.get()) != 0) {
        throwIo(path, "cannot read the file");
    }
    return std::shared_ptr<const DatabaseFile>(
        new DatabaseFile(path.filename().string(), std::move(bytes)));
}

std::shared_ptr<const DatabaseFile> DatabaseFile::fromBytes(std::vector<std::uint8_t> image,
                                                            std::string displayName) {
    return std::shared_ptr<const DatabaseFile>(
        new DatabaseFile(std::move(displayName), std::move(image)));
}

DatabaseFile::DatabaseFile(std::string displayName, std::vector<std::uint8_t> bytes)
    : displayName_(std::move(displayName)), bytes_(std::move(bytes)) {
    try {
        initialise();
    } catch (const JetError& error) {
        throw JetError(error.kind(), displayName_ + ": " + error.what());
    }
}

void DatabaseFile::initialise() {
    header_ = decodeHeaderPage(bytes_);
    // Every database file is whole pages; anything else was cut or grown by something else.
    if (bytes_.size() % layout::kPageSize != 0) {
        throwCorrupt(Location{"file", std::nullopt, std::nullopt},
                     "the file is damaged: its length, " + std::to_string(bytes_.size()) +
                         " bytes, is not a whole number of " + std::to_string(layout::kPageSize) +
                         "-byte pages");
    }
    pageCount_ = static_cast<std::uint32_t>(
        std::min<std::size_t>(bytes_.size() / layout::kPageSize, UINT32_MAX));
    // Encrypted pages: decrypt every page but the header once, in place.
    for (std::uint32_t page = 1; header_.databaseKey != 0 && page < pageCount_; ++page) {
        const std::uint32_t pageKey = header_.databaseKey ^ page;
        const std::uint8_t key[4] = {
            static_cast<std::uint8_t>(pageKey), static_cast<std::uint8_t>(pageKey >> 8),
            static_cast<std::uint8_t>(pageKey >> 16), static_cast<std::uint8_t>(pageKey >> 24)};
        rc4Apply(key, std::span(bytes_).subspan(std::size_t{page} * layout::kPageSize,
                                                layout::kPageSize));
    }
    checkGlobalUsageMap(*this);
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
                 "the file is damaged: page lies beyond the end of the file (" +
                     std::to_string(pageCount_) + " pages)");
}

}  // namespace norvessa::jet
