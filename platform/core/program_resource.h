#pragma once

// Resources a Windows program carries in its own file, as Windows' resource functions find them.

#ifdef _WIN32

#include <cstdint>
#include <span>
#include <string_view>

namespace norvessa::platform {

// The bytes of the running program's resource with this numeric identifier and this type name
// ("CUSTOM"), in place: they stay valid for the whole run. Throws PlatformError, with the
// system's reason, when the program has no such resource or it cannot be loaded.
std::span<const std::uint8_t> programResource(std::uint16_t id, std::string_view type);

}  // namespace norvessa::platform

#endif
