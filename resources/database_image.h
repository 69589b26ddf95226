#pragma once

// The lookup database image the program carries: resource 101 of type "CUSTOM", written at every
// start to the fixed path below and opened with the password for every lookup. On Windows it is
// that resource in the program's resources (resources/windows/). Elsewhere it is compiled in as
// plain bytes in read-only data (database_image_bytes.cpp), so that start-up can copy it from
// the program's file without reading it into memory.

#include <cstdint>
#include <span>
#include <vector>

namespace norvessa::resources {

inline constexpr std::uint16_t kDatabaseImageId = 101;
inline constexpr const char* kDatabaseImageType = "CUSTOM";

// The database password is the decimal text of this constant; the connection builds that text
// each time, and the build writes the image with the same text.
inline constexpr std::int32_t kDatabasePassword = 58203746;

// Creation date written into the image (OLE automation days), fixed so the same data set always
// gives the same bytes: 2014-03-20 00:00.
inline constexpr double kDatabaseCreationDate = 41718.0;

// The image's bytes where the program carries them, in its resources or its read-only data.
// Throws platform::PlatformError when a Windows program lacks the resource.
std::span<const std::uint8_t> carriedDatabaseImage();

// A copy of the image's bytes.
std::vector<std::uint8_t> loadDatabaseImage();

}  // namespace norvessa::resources
