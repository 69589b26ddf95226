#include "tools/image_generators/icon_file.h"

#include <QBuffer>
#include <QImageWriter>
#include <stdexcept>
#include <string>

#include "tools/image_generators/bitmap_file.h"
#include "tools/image_generators/byte_writer.h"

namespace norvessa::image_generators {
namespace {

constexpr int kIconDirectorySize = 6;
constexpr int kIconEntrySize = 16;
constexpr int kMaximumIconSide = 256;

// A pixel counts as transparent for the AND mask when less than half of it is covered.
bool isMaskedOut(QRgb pixel) {
    return qAlpha(pixel) < 128;
}

void writeAndMask(ByteWriter& out, const QImage& pixels) {
    const int stride = bitmapRowStride(pixels.width(), 1);
    for (int y = pixels.height() - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        QByteArray bits(stride, '\0');
        for (int x = 0; x < pixels.width(); ++x) {
            if (isMaskedOut(row[x])) {
                bits[x / 8] = static_cast<char>(bits[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out.bytes(bits);
    }
}

QByteArray encodeBitmapImage(const QImage& image, int bitsPerPixel) {
    const QImage pixels = image.convertToFormat(QImage::Format_ARGB32);
    const int width = pixels.width();
    const int height = pixels.height();
    const int colourStride = bitmapRowStride(width, bitsPerPixel);
    const int maskStride = bitmapRowStride(width, 1);

    ByteWriter out;
    out.u32(kBitmapInfoHeaderSize);
    out.i32(width);
    out.i32(height * 2);  // colour rows and mask rows together
    out.u16(1);
    out.u16(static_cast<std::uint16_t>(bitsPerPixel));
    out.u32(0);
    out.u32(static_cast<std::uint32_t>((colourStride + maskStride) * height));
    out.i32(0);
    out.i32(0);
    out.u32(0);
    out.u32(0);

    const int bytesPerPixel = bitsPerPixel / 8;
    for (int y = height - 1; y >= 0; --y) {
        const auto* row = reinterpret_cast<const QRgb*>(pixels.constScanLine(y));
        for (int x = 0; x < width; ++x) {
            // Masked-out pixels of a 24-bit image are black, so that the mask alone decides.
            const QRgb pixel =
                bitsPerPixel == 24 && isMaskedOut(row[x]) ? qRgba(0, 0, 0, 0) : row[x];
            out.u8(static_cast<std::uint8_t>(qBlue(pixel)));
            out.u8(static_cast<std::uint8_t>(qGreen(pixel)));
            out.u8(static_cast<std::uint8_t>(qRed(pixel)));
            if (bitsPerPixel == 32) {
                out.u8(static_cast<std::uint8_t>(qAlpha(pixel)));
            }
        }
        out.zeros(colourStride - width * bytesPerPixel);
    }
    writeAndMask(out, pixels);
    return out.result();
}

QByteArray encodePngImage(const QImage& image) {
    QByteArray stream;
    QBuffer buffer(&stream);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "png");
    if (!writer.write(image.convertToFormat(QImage::Format_ARGB32))) {
        throw std::runtime_error("cannot encode an icon image as PNG: " +
                                 writer.errorString().toStdString());
    }
    return stream;
}

QByteArray encodeImage(const IconImage& entry) {
    switch (entry.encoding) {
        case IconEncoding::Bitmap32WithAlpha:
            return encodeBitmapImage(entry.image, 32);
        case IconEncoding::Bitmap24WithMask:
            return encodeBitmapImage(entry.image, 24);
        case IconEncoding::Png:
            return encodePngImage(entry.image);
    }
    throw std::invalid_argument("unknown icon image encoding");
}

// The directory stores 256 as 0, the one side too large for its byte.
std::uint8_t directorySide(int side) {
    return static_cast<std::uint8_t>(side == kMaximumIconSide ? 0 : side);
}

}  // namespace

QByteArray encodeIconFile(const std::vector<IconImage>& images) {
    if (images.empty() || images.size() > 0xFFFFu) {
        throw std::invalid_argument("an icon file holds between 1 and 65535 images, not " +
                                    std::to_string(images.size()));
    }
    std::vector<QByteArray> encoded;
    for (const IconImage& entry : images) {
        const int width = entry.image.width();
        const int height = entry.image.height();
        if (width < 1 || height < 1 || width > kMaximumIconSide || height > kMaximumIconSide) {
            throw std::invalid_argument("an icon image must be 1 to 256 pixels on each side, not " +
                                        std::to_string(width) + " x " + std::to_string(height));
        }
        encoded.push_back(encodeImage(entry));
    }

    ByteWriter out;
    out.u16(0);  // reserved
    out.u16(1);  // resource type: icon
    out.u16(static_cast<std::uint16_t>(images.size()));
    auto offset = static_cast<std::uint32_t>(kIconDirectorySize +
                                             kIconEntrySize * static_cast<int>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& entry = images[i];
        out.u8(directorySide(entry.image.width()));
        out.u8(directorySide(entry.image.height()));
        out.u8(0);   // colour count: not a palette image
        out.u8(0);   // reserved
        out.u16(1);  // planes
        out.u16(entry.encoding == IconEncoding::Bitmap24WithMask ? 24 : 32);
        out.u32(static_cast<std::uint32_t>(encoded[i].size()));
        out.u32(offset);
        offset += static_cast<std::uint32_t>(encoded[i].size());
    }
    for (const QByteArray& data : encoded) {
        out.bytes(data);
    }
    return out.result();
}

}  // namespace norvessa::image_generators
