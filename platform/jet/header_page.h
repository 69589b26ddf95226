#pragma once

// Page 0: the database header, including the RC4-masked region and the Jet 4 password with
// its creation-date mask. Decoder and encoder side by side.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "platform/jet/layout.h"

namespace norvessa::jet {

struct HeaderPage {
    std::uint16_t codePage = 936;
    std::uint32_t databaseKey = 0;  // non-zero: every page but 0 is RC4-encrypted
    std::u16string password;        // empty: the database has no password
    std::uint16_t sortOrder = 2052;
    double creationDate = 0.0;  // OLE automation date
};

// Checks the page type, signature and version (Jet 4 only: Jet 3 and ACE files are refused
// with ErrorKind::UnsupportedFormat) and unmasks the header. Throws JetError.
HeaderPage decodeHeaderPage(std::span<const std::uint8_t> page);

// A complete 4096-byte header page. Throws JetError(InvalidArgument) for a password longer
// than 20 characters.
std::vector<std::uint8_t> encodeHeaderPage(const HeaderPage& header);

// XORs the RC4 keystream of the header key onto the masked region; masking and unmasking are
// the same operation. `page` must hold at least the masked region.
void toggleHeaderMask(std::span<std::uint8_t> page);

// The 4-byte XOR mask of the password field: the creation date's whole days, little-endian.
std::array<std::uint8_t, 4> passwordDateMask(double creationDate);

}  // namespace norvessa::jet
