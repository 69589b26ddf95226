#include "tools/image_generators/bitmap_file.h"

#include <stdexcept>

#include "tools/image_generators/byte_writer.h"

namespace norvessa::image_generators {

int bitmapRowStride(int width, int bitsPerPixel) {
    return (width * bitsPerPixel + 31) / 32 * 4;
}

QByteArray encodeBitmapFile24(const QImage& image) {
    if (image.isNull()) {
        throw std::invalid_argument("cannot encode an empty image as a bitmap file");
    }
    const QImage pixels = image.convertToFormat(QImage::Format_RGB32);
    const int width = pixels.width();
    const int height = pixels.height();
    const int stride = bitmapRowStride(width, 24);
    const auto pixelBytes = static_cast<std::uint32_t>(stride * height);
    const auto dataOffset =
        static_cast<std::uint32_t>(kBitmapFileHeaderSize + kBitmapInfoHeaderSize);

    ByteWriter out;
    out.u8('B');
    out.u8('M');
    out.u32(dataOffset + pixelBytes);
    out.u16(0);  // reserved
    out.u16(0);  // reserved
    out.u32(dataOffset);

    out.u32(kBitmapInfoHeaderSize);
    out.i32(width);
    out.i32(height);  // positive: rows are stored bottom-up
    out.u16(1);       // planes
    out.u16(24);      // bits per pixel
    out.u32(0);       // no compression
    out.u32(pixelBytes);
    out.i32(kPixelsPerMetre);
    out.i32(kPixelsPerMetre);
    out.u32(0);  // colours used: none, there is no palette
    out.u32(0);  // important colours: all

    const int padding = stride - width * 3;
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            out.u8(static_cast<std::uint8_t>(qBlue(row[x])));
            out.u8(static_cast<std::uint8_t>(qGreen(row[x])));
            out.u8(static_cast<std::uint8_t>(qRed(row[x])));
        }
        out.zeros(padding);
    }
    return out.result();
}

}  // namespace norvessa::image_generators
