#pragma once

// Windows icon files (.ico): a directory of images, each stored either as a device-independent
// bitmap with an AND transparency mask or as a PNG stream.

#include <QByteArray>
#include <QImage>
#include <vector>

namespace norvessa::image_generators {

enum class IconEncoding {
    // 32 bits per pixel with straight alpha, plus the AND mask older systems read.
    Bitmap32WithAlpha,
    // 24 bits per pixel; transparency only through the AND mask (alpha below one half).
    Bitmap24WithMask,
    // A complete PNG stream with alpha, the usual storage of 256 x 256 images.
    Png,
};

struct IconImage {
    QImage image;  // at most 256 x 256 pixels
    IconEncoding encoding;
};

// Encodes the images, in the given order, as one icon file.
QByteArray encodeIconFile(const std::vector<IconImage>& images);

}  // namespace norvessa::image_generators
