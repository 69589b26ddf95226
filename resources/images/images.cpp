#include "resources/images/images.h"

#include <QIconEngine>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <map>
#include <string>
#include <utility>

#include "platform/core/platform_error.h"

namespace norvessa::resources {
namespace {

std::string unreadable(QLatin1String path, const QImageReader& reader) {
    return "cannot read the picture " +
           std::string(path.data(), static_cast<std::size_t>(path.size())) + ": " +
           reader.errorString().toStdString();
}

// An icon file's images, each decoded the first time it is drawn. A window asks for one or two of
// its icon's sizes, and the largest image alone takes longer to decode than all the others.
class LazyIconEngine : public QIconEngine {
  public:
    LazyIconEngine(QLatin1String path, std::vector<QSize> sizes)
        : path_(path), sizes_(std::move(sizes)) {}

    QList<QSize> availableSizes(QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        QList<QSize> distinct;
        for (const QSize& size : sizes_) {
            if (!distinct.contains(size)) {
                distinct.append(size);
            }
        }
        return distinct;
    }

    QSize actualSize(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        return sizes_[closestImage(size)].scaled(size, Qt::KeepAspectRatio);
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode /*mode*/, QIcon::State /*state*/) override {
        QPixmap image = decoded(closestImage(size));
        return image.size() == size || image.isNull()
                   ? image
                   : image.scaled(size, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    }

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode,
               QIcon::State state) override {
        const qreal scale =
            painter->device() != nullptr ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * scale, mode, state));
    }

    QIconEngine* clone() const override { return new LazyIconEngine(*this); }

    QString key() const override { return QStringLiteral("norvessa_lazy_icon"); }

  private:
    // The smallest image at least as large as wanted, or else the largest; of images of one size
    // the first, which the icon files hold with the most colours.
    std::size_t closestImage(const QSize& wanted) const {
        std::size_t best = 0;
        for (std::size_t index = 1; index < sizes_.size(); ++index) {
            const QSize& candidate = sizes_[index];
            const QSize& chosen = sizes_[best];
            const bool candidateFits = candidate.width() >= wanted.width();
            const bool chosenFits = chosen.width() >= wanted.width();
            if (candidateFits != chosenFits
                    ? candidateFits
                    : (candidateFits ? candidate.width() < chosen.width()
                                     : candidate.width() > chosen.width())) {
                best = index;
            }
        }
        return best;
    }

    // A null pixmap when the image cannot be decoded; the tests decode every image of every
    // icon the program carries.
    QPixmap decoded(std::size_t index) {
        auto found = images_.find(index);
        if (found == images_.end()) {
            QImageReader reader(path_);
            const QImage image =
                reader.jumpToImage(static_cast<int>(index)) ? reader.read() : QImage();
            found = images_.emplace(index, QPixmap::fromImage(image)).first;
        }
        return found->second;
    }

    QString path_;
    std::vector<QSize> sizes_;
    std::map<std::size_t, QPixmap> images_;
};

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
    // Only the directory is read here; each image is decoded when first drawn (icon_engine).
    QImageReader reader(path);
    const int count = reader.imageCount();
    if (count < 1) {
        throw platform::PlatformError(unreadable(path, reader));
    }
    std::vector<QSize> sizes;
    for (int index = 0; index < count; ++index) {
        const QSize size = reader.jumpToImage(index) ? reader.size() : QSize();
        if (!size.isValid()) {
            throw platform::PlatformError(unreadable(path, reader));
        }
        sizes.push_back(size);
    }
    return QIcon(new LazyIconEngine(path, std::move(sizes)));
}

}  // namespace norvessa::resources
