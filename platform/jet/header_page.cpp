#include "platform/jet/header_page.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/jet/byte_cursor.h"
#include "platform/jet/errors.h"
#include "platform/jet/rc4.h"

namespace norvessa::jet {
namespace {

namespace h = layout::header;

const Location kHeaderLocation{"header page", 0, std::nullopt};

[[noreturn]] void refuse(const std::string& what) {
    throw JetError(ErrorKind::UnsupportedFormat,
                   "unsupported format: " + what +
                       "; only Jet 4.0 (Access 2000-2003) databases can be opened");
}

std::string_view asText(std::span<const std::uint8_t> bytes) {
    return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

void checkFormat(ByteCursor& page) {
    const std::uint8_t type = page.u8(layout::kPageType);
    const std::string_view signature = asText(page.bytes(h::kSignature));
    const std::uint32_t version = page.u32(h::kVersion);
    if (!page.ok()) {
        refuse("the file is shorter than a database header");
    }
    if (type != layout::page_type::kHeader) {
        refuse("not a Jet database (page 0 is not a header page)");
    }
    if (signature == h::kAceSignature) {
        refuse("Access 2007 or later (ACE) database, format version " +
               std::to_string(version & 0xFF));
    }
    if (signature != h::kJetSignature) {
        refuse("not a Jet database (no \"Standard Jet DB\" signature)");
    }
    if (version == h::kVersionJet3) {
        refuse("Jet 3 (Access 97) database");
    }
    if (version != h::kVersionJet4) {
        refuse("Jet database of unknown format version " + std::to_string(version));
    }
}

// The first bytes of page 0 up to the end of the masked region, unmasked.
using UnmaskedHeader = std::array<std::uint8_t, h::kMaskedRegion.end()>;

const std::array<std::uint8_t, h::kMaskedRegion.size>& headerKeystream() {
    static const auto keystream = [] {
        std::array<std::uint8_t, h::kMaskedRegion.size> stream{};
        rc4Apply(h::kMaskKey, stream);
        return stream;
    }();
    return keystream;
}

}  // namespace

void toggleHeaderMask(std::span<std::uint8_t> page) {
    const auto& keystream = headerKeystream();
    auto region = page.subspan(h::kMaskedRegion.offset, h::kMaskedRegion.size);
    for (std::size_t i = 0; i < region.size(); ++i) {
        region[i] ^= keystream[i];
    }
}

std::array<std::uint8_t, 4> passwordDateMask(double creationDate) {
    // Whole days, truncated; a damaged date saturates instead of overflowing.
    std::int32_t days = 0;
    if (std::isfinite(creationDate)) {
        const double whole = std::trunc(creationDate);
        days = whole >= static_cast<double>(std::numeric_limits<std::int32_t>::max())
                   ? std::numeric_limits<std::int32_t>::max()
               : whole <= static_cast<double>(std::numeric_limits<std::int32_t>::min())
                   ? std::numeric_limits<std::int32_t>::min()
                   : static_cast<std::int32_t>(whole);
    }
    const auto bits = static_cast<std::uint32_t>(days);
    return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
            static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

HeaderPage decodeHeaderPage(std::span<const std::uint8_t> page) {
    ByteCursor raw(page, kHeaderLocation);
    checkFormat(raw);
    if (page.size() < h::kMaskedRegion.end()) {
        throwCorrupt(kHeaderLocation, "the file ends at byte " + std::to_string(page.size()) +
                                          ", inside the header");
    }

    UnmaskedHeader unmasked{};
    std::copy_n(page.begin(), unmasked.size(), unmasked.begin());
    toggleHeaderMask(unmasked);

    ByteCursor fields(unmasked, kHeaderLocation);
    HeaderPage header;
    header.codePage = fields.u16(h::kCodePage);
    header.databaseKey = fields.u32(h::kDatabaseKey);
    header.sortOrder = fields.u16(h::kSortOrder);
    header.creationDate = fields.f64(h::kCreationDate);
    const auto maskedPassword = fields.bytes(h::kPassword);
    fields.check();

    const auto mask = passwordDateMask(header.creationDate);
    std::array<std::uint8_t, h::kPassword.size> password{};
    for (std::size_t i = 0; i < password.size(); ++i) {
        password[i] = static_cast<std::uint8_t>(maskedPassword[i] ^ mask[i % mask.size()]);
    }
    for (std::size_t i = 0; i + 1 < password.size(); i += 2) {
        const auto unit = static_cast<char16_t>(password[i] | password[i + 1] << 8);
        if (unit == 0) {
            break;
        }
        header.password.push_back(unit);
    }
    return header;
}

std::vector<std::uint8_t> encodeHeaderPage(const HeaderPage& header) {
    if (header.password.size() > h::kPasswordMaxCharacters) {
        throw JetError(ErrorKind::InvalidArgument, "the database password has " +
                                                       std::to_string(header.password.size()) +
                                                       " characters; at most 20 are possible");
    }
    std::vector<std::uint8_t> page;
    ByteWriter out(page, kHeaderLocation, layout::kPageSize);
    out.seek(layout::kPageSize - 1);
    out.u8(0);
    out.u8(layout::kPageType, layout::page_type::kHeader);
    out.u8(layout::kPageMarkerField, layout::kPageMarker);
    out.bytes(h::kSignature, {reinterpret_cast<const std::uint8_t*>(h::kJetSignature.data()),
                              h::kJetSignature.size()});
    out.u32(h::kVersion, h::kVersionJet4);
    out.bytes(h::kMaskConstant, h::kMaskConstantValue);
    out.u16(h::kCodePage, header.codePage);
    out.u32(h::kDatabaseKey, header.databaseKey);

    const auto mask = passwordDateMask(header.creationDate);
    std::array<std::uint8_t, h::kPassword.size> password{};
    for (std::size_t i = 0; i < header.password.size(); ++i) {
        password[2 * i] = static_cast<std::uint8_t>(header.password[i]);
        password[2 * i + 1] = static_cast<std::uint8_t>(header.password[i] >> 8);
    }
    for (std::size_t i = 0; i < password.size(); ++i) {
        password[i] ^= mask[i % mask.size()];
    }
    out.bytes(h::kPassword, password);
    out.bytes(h::kUnknown6A, h::kUnknown6AValue);
    out.u16(h::kSortOrder, header.sortOrder);
    out.u8(h::kSortOrderId, 0);
    out.u8(h::kSortOrderVersion, 0);
    out.f64(h::kCreationDate, header.creationDate);
    out.check();
    toggleHeaderMask(page);

    out.bytes(h::kTrailerConstant, h::kTrailerConstantValue);
    out.seek(h::kTailPattern.offset);
    out.bytes(h::kTailPatternStart);
    while (out.position() < h::kTailPattern.end()) {
        out.u8(0x00);
        out.u8(0x01);
    }
    out.check();
    return page;
}

}  // namespace norvessa::jet
