// The icon files: the program icon and Form3's icon as the resources hold them, read directory
// entry by entry with our own checks and compared with what Qt's reader makes of them; and the
// icon writer on small images whose every pixel is known.

#include <gtest/gtest.h>

#include <QBuffer>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <stdexcept>
#include <vector>

#include "images/byte_reader.h"
#include "platform/core/platform_error.h"
#include "resources/images/images.h"
#include "tools/image_generators/icon_file.h"

namespace {

using norvessa::image_generators::encodeIconFile;
using norvessa::image_generators::IconEncoding;
using norvessa::image_generators::IconImage;

struct Entry {
    int side;
    int bitsPerPixel;
    bool png;
};

bool operator==(const Entry& left, const Entry& right) {
    return left.side == right.side && left.bitsPerPixel == right.bitsPerPixel &&
           left.png == right.png;
}

void PrintTo(const Entry& entry, std::ostream* out) {
    *out << entry.side << "px/" << entry.bitsPerPixel << (entry.png ? " PNG" : " BMP");
}

// Reads the directory and checks that each image lies inside the file, follows the previous one
// and has the header its entry promises.
std::vector<Entry> readIconDirectory(const QByteArray& file) {
    const ByteReader bytes(file);
    if (bytes.u16(0) != 0 || bytes.u16(2) != 1) {
        throw std::runtime_error("not an icon file");
    }
    const int count = bytes.u16(4);
    std::vector<Entry> entries;
    qsizetype expectedOffset = 6 + 16 * count;
    for (int index = 0; index < count; ++index) {
        const qsizetype entry = 6 + 16 * index;
        const int width = bytes.u8(entry) == 0 ? 256 : bytes.u8(entry);
        const int height = bytes.u8(entry + 1) == 0 ? 256 : bytes.u8(entry + 1);
        const int bits = bytes.u16(entry + 6);
        const qsizetype size = bytes.u32(entry + 8);
        const qsizetype offset = bytes.u32(entry + 12);
        EXPECT_EQ(width, height);
        EXPECT_EQ(bytes.u16(entry + 4), 1u) << "planes of image " << index;
        EXPECT_EQ(offset, expectedOffset) << "image " << index;
        const ByteReader image(bytes.slice(offset, size));
        const bool png = image.slice(0, 8) == QByteArray("\x89PNG\r\n\x1a\n", 8);
        if (png) {
            EXPECT_EQ(image.slice(12, 4), QByteArray("IHDR"));
            EXPECT_EQ(image.u32BigEndian(16), static_cast<std::uint32_t>(width));
            EXPECT_EQ(image.u32BigEndian(20), static_cast<std::uint32_t>(height));
            EXPECT_EQ(image.u8(25), 6u) << "PNG colour type: RGB with alpha";
        } else {
            const int colourStride = (width * bits + 31) / 32 * 4;
            const int maskStride = (width + 31) / 32 * 4;
            EXPECT_EQ(image.u32(0), 40u);
            EXPECT_EQ(image.i32(4), width);
            EXPECT_EQ(image.i32(8), 2 * height);
            EXPECT_EQ(image.u16(14), bits);
            EXPECT_EQ(image.u32(16), 0u);
            EXPECT_EQ(size, 40 + (colourStride + maskStride) * height) << "image " << index;
        }
        entries.push_back({width, bits, png});
        expectedOffset = offset + size;
    }
    EXPECT_EQ(expectedOffset, bytes.size()) << "bytes after the last image";
    return entries;
}

std::vector<QSize> sizesQtReads(const QByteArray& file) {
    QByteArray copy = file;
    QBuffer buffer(&copy);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    std::vector<QSize> sizes;
    for (int index = 0; index < reader.imageCount(); ++index) {
        EXPECT_TRUE(reader.jumpToImage(index));
        const QImage image = reader.read();
        EXPECT_FALSE(image.isNull()) << reader.errorString().toStdString();
        sizes.push_back(image.size());
    }
    return sizes;
}

TEST(ProgramIcon, HoldsTheSixImagesInTheirFormats) {
    const QByteArray file = readAll(norvessa::resources::kProgramIconPath);
    const std::vector<Entry> expected = {{16, 32, false},  {32, 32, false}, {48, 32, false},
                                         {128, 32, false}, {48, 24, false}, {256, 32, true}};
    EXPECT_EQ(readIconDirectory(file), expected);
    EXPECT_EQ(sizesQtReads(file),
              (std::vector<QSize>{{16, 16}, {32, 32}, {48, 48}, {128, 128}, {48, 48}, {256, 256}}));
}

TEST(ProgramIcon, LoadsWithEverySize) {
    const QIcon icon = norvessa::resources::loadIcon(norvessa::resources::kProgramIconPath);
    for (const int side : {16, 32, 48, 128, 256}) {
        EXPECT_TRUE(icon.availableSizes().contains(QSize(side, side))) << side;
        // Each image is decoded when first drawn.
        EXPECT_EQ(icon.pixmap(QSize(side, side)).size(), QSize(side, side)) << side;
    }
    EXPECT_EQ(icon.pixmap(QSize(20, 20)).size(), QSize(20, 20));
}

TEST(Form3Icon, HoldsA24BitAndA32BitImage) {
    const QByteArray file = readAll(norvessa::resources::kForm3IconPath);
    EXPECT_EQ(file.size(), 74998);
    EXPECT_EQ(readIconDirectory(file), (std::vector<Entry>{{48, 24, false}, {128, 32, false}}));
    EXPECT_EQ(sizesQtReads(file), (std::vector<QSize>{{48, 48}, {128, 128}}));
}

TEST(ResourceImages, AMissingPictureIsAnErrorThatNamesIt) {
    try {
        norvessa::resources::loadImage(QLatin1String(":/images/missing.bmp"));
        FAIL() << "no error";
    } catch (const norvessa::platform::PlatformError& error) {
        EXPECT_NE(std::string(error.what()).find(":/images/missing.bmp"), std::string::npos);
    }
    EXPECT_THROW(norvessa::resources::loadIcon(QLatin1String(":/images/missing.ico")),
                 norvessa::platform::PlatformError);
}

// A 3 x 2 image: opaque red, half-covered green, fully transparent; then blue, white, black.
QImage knownPixels() {
    QImage image(3, 2, QImage::Format_ARGB32);
    image.setPixel(0, 0, qRgba(255, 0, 0, 255));
    image.setPixel(1, 0, qRgba(0, 255, 0, 100));
    image.setPixel(2, 0, qRgba(10, 20, 30, 0));
    image.setPixel(0, 1, qRgba(0, 0, 255, 255));
    image.setPixel(1, 1, qRgba(255, 255, 255, 255));
    image.setPixel(2, 1, qRgba(0, 0, 0, 255));
    return image;
}

// The first stored image's colour and mask rows, bottom row first.
struct StoredBitmap {
    QByteArray colourRows;
    QByteArray maskRows;
};
StoredBitmap storedBitmap(const QByteArray& file, int bits) {
    const ByteReader bytes(file);
    const qsizetype offset = bytes.u32(18);
    const int colourStride = (3 * bits + 31) / 32 * 4;
    return {bytes.slice(offset + 40, colourStride * 2),
            bytes.slice(offset + 40 + colourStride * 2, 4 * 2)};
}

TEST(IconWriter, Stores32BitPixelsWithStraightAlphaAndMasksTheClearOnes) {
    const QByteArray file = encodeIconFile({{knownPixels(), IconEncoding::Bitmap32WithAlpha}});
    const StoredBitmap stored = storedBitmap(file, 32);
    // Bottom row first: blue, white, black; then red, half-covered green, clear.
    EXPECT_EQ(stored.colourRows, QByteArray("\xff\x00\x00\xff"
                                            "\xff\xff\xff\xff"
                                            "\x00\x00\x00\xff"
                                            "\x00\x00\xff\xff"
                                            "\x00\xff\x00\x64"
                                            "\x1e\x14\x0a\x00",
                                            24));
    // Mask bits, one row of 32 bits each: only the top row's last two pixels are masked out.
    EXPECT_EQ(stored.maskRows, QByteArray("\x00\x00\x00\x00\x60\x00\x00\x00", 8));

    QImage decoded = QImage::fromData(file, "ico").convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(decoded.pixel(1, 0), qRgba(0, 255, 0, 100));
    EXPECT_EQ(decoded.pixel(0, 1), qRgba(0, 0, 255, 255));
}

TEST(IconWriter, Stores24BitPixelsWithMaskedOnesBlack) {
    const QByteArray file = encodeIconFile({{knownPixels(), IconEncoding::Bitmap24WithMask}});
    const StoredBitmap stored = storedBitmap(file, 24);
    // Rows of 9 bytes padded to 12; the masked-out pixels are stored black.
    EXPECT_EQ(stored.colourRows, QByteArray("\xff\x00\x00"
                                            "\xff\xff\xff"
                                            "\x00\x00\x00"
                                            "\x00\x00\x00"
                                            "\x00\x00\xff"
                                            "\x00\x00\x00"
                                            "\x00\x00\x00"
                                            "\x00\x00\x00",
                                            24));
    EXPECT_EQ(stored.maskRows, QByteArray("\x00\x00\x00\x00\x60\x00\x00\x00", 8));
}

TEST(IconWriter, RefusesWhatAnIconFileCannotHold) {
    EXPECT_THROW(encodeIconFile({}), std::invalid_argument);
    const QImage tooLarge(257, 257, QImage::Format_ARGB32);
    EXPECT_THROW(encodeIconFile({{tooLarge, IconEncoding::Png}}), std::invalid_argument);
    EXPECT_THROW(encodeIconFile({{QImage(), IconEncoding::Bitmap32WithAlpha}}),
                 std::invalid_argument);
}

}  // namespace
