#include "resources/database_image.h"

// Defined in database_image_bytes.cpp.
extern "C" const std::uint8_t norvessaDatabaseImage[];
extern "C" const std::uint8_t norvessaDatabaseImageEnd[];

namespace norvessa::resources {

std::span<const std::uint8_t> carriedDatabaseImage() {
    return {norvessaDatabaseImage, norvessaDatabaseImageEnd};
}

std::vector<std::uint8_t> loadDatabaseImage() {
    const std::span<const std::uint8_t> image = carriedDatabaseImage();
    return {image.begin(), image.end()};
}

}  // namespace norvessa::resources
