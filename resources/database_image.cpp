#include "resources/database_image.h"

#ifdef _WIN32
#include "platform/core/program_resource.h"
#else
// Defined in database_image_bytes.cpp.
extern "C" const std::uint8_t norvessaDatabaseImage[];
extern "C" const std::uint8_t norvessaDatabaseImageEnd[];
#endif

namespace norvessa::resources {

std::span<const std::uint8_t> carriedDatabaseImage() {
#ifdef _WIN32
    return platform::programResource(kDatabaseImageId, kDatabaseImageType);
#else
    return {norvessaDatabaseImage, norvessaDatabaseImageEnd};
#endif
}

std::vector<std::uint8_t> loadDatabaseImage() {
    const std::span<const std::uint8_t> image = carriedDatabaseImage();
    return {image.begin(), image.end()};
}

}  // namespace norvessa::resources
