#pragma once

// RC4, used by Jet to mask the header region and to encrypt pages of "encrypted" databases.

#include <cstdint>
#include <span>

namespace norvessa::jet {

// XORs the keystream of `key` onto `data`; applying it twice restores the data.
void rc4Apply(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

}  // namespace norvessa::jet
