#pragma once

// The decorative picture of the About window: a portrait-format illustration of an anime-style
// figure, 190 x 321 pixels, stored as a baseline JPEG.

#include <QByteArray>
#include <QImage>

namespace norvessa::image_generators {

inline constexpr int kAboutIllustrationWidth = 190;
inline constexpr int kAboutIllustrationHeight = 321;

QImage drawAboutIllustration();

// Encodes `image` as a baseline JFIF file with three colour components.
QByteArray encodeJpegFile(const QImage& image, int quality);

}  // namespace norvessa::image_generators
