#include "resources/images/images.h"

#include <QImageReader>
#include <string>

#include "platform/core/platform_error.h"

namespace norvessa::resources {
namespace {

std::string unreadable(QLatin1String path, const QImageReader& reader) {
    return "cannot read the picture " +
           std::string(path.data(), static_cast<std::size_t>(path.size())) + ": " +
           reader.errorString().toStdString();
}

}  // namespace

QImage loadImage(QLatin1String path) {
    QImageReader reader(path);
    QImage image = reader.read();
    if (image.isNull()) {
        throw platform::PlatformError(unreadable(path, reader));
    }
    return image;
}

QIcon loadIcon(QLatin1String path) {
    // Every image of the file goes into the icon, so each place that shows it can pick its size.
    QImageReader reader(path);
    const int count = reader.imageCount();
    if (count < 1) {
        throw platform::PlatformError(unreadable(path, reader));
    }
    QIcon icon;
    for (int index = 0; index < count; ++index) {
        const QImage image = reader.jumpToImage(index) ? reader.read() : QImage();
        if (image.isNull()) {
            throw platform::PlatformError(unreadable(path, reader));
        }
        icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace norvessa::resources
