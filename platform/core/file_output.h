#pragma once

#include <cstdint>
#include <filesystem>
#include <span>

namespace norvessa::platform {

// Replaces the file's whole content with the bytes. The bytes go to a new file in the same
// folder that is then renamed over the old one, so a reader running at the same time sees either
// the old file or the complete new one, never a half-written file, and the file ends up exactly as
// long as the bytes. On failure the old file is left as it was and no temporary file stays behind.
// Throws PlatformError naming the path and the system's reason.
void replaceFileContent(const std::filesystem::path& file, std::span<const std::uint8_t> bytes);

}  // namespace norvessa::platform
