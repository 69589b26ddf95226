#include "resources/database_image.h"

#include "platform/core/resources.h"

namespace norvessa::resources {

std::vector<std::uint8_t> loadDatabaseImage() {
    return platform::loadCustomResource(kDatabaseImageId, kDatabaseImageType);
}

}  // namespace norvessa::resources
