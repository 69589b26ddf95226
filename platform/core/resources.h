#pragma once

// Custom resources the program carries inside itself (the database image among them).

#include <cstdint>
#include <string_view>
#include <vector>

namespace norvessa::platform {

// Reads resource `id` of the given type as bytes, e.g. loadCustomResource(101, "CUSTOM").
// Throws PlatformError when the program does not carry it.
std::vector<std::uint8_t> loadCustomResource(std::uint16_t id, std::string_view type);

}  // namespace norvessa::platform
