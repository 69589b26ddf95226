#pragma once

// Windows device-independent bitmap files as the windows' background pictures use them: "BM" file
// header, 40-byte information header, 24 bits per pixel, no compression, rows stored bottom-up.

#include <QByteArray>
#include <QImage>

namespace norvessa::image_generators {

// The resolution written into every bitmap, in pixels per metre (96 pixels per inch).
inline constexpr int kPixelsPerMetre = 3780;

inline constexpr int kBitmapFileHeaderSize = 14;
inline constexpr int kBitmapInfoHeaderSize = 40;

// Bytes of one stored row of `width` pixels at `bitsPerPixel`, padded to a multiple of four.
int bitmapRowStride(int width, int bitsPerPixel);

// Encodes the opaque colours of `image` (alpha is dropped) as a complete 24-bit bitmap file.
QByteArray encodeBitmapFile24(const QImage& image);

}  // namespace norvessa::image_generators
