// The background pictures of Form2 and Form3, read from the program's resources: their file
// format field by field, their size, and where the grid lines and text fall.

#include <gtest/gtest.h>

#include <QImage>
#include <QRgb>
#include <QString>

#include "images/byte_reader.h"
#include "resources/images/images.h"
#include "tools/image_generators/bitmap_file.h"
#include "tools/image_generators/table_pictures.h"

namespace {

using norvessa::image_generators::drawForm2TablePicture;
using norvessa::image_generators::drawForm3TablePicture;
using norvessa::image_generators::encodeBitmapFile24;

constexpr QRgb kGrey = qRgb(192, 192, 192);
constexpr QRgb kWhite = qRgb(255, 255, 255);
constexpr QRgb kBlack = qRgb(0, 0, 0);

// A 24-bit bottom-up bitmap file, read with our own checks rather than through Qt.
class BitmapFile {
  public:
    explicit BitmapFile(QByteArray bytes) : file_(std::move(bytes)) {}

    const ByteReader& bytes() const { return file_; }
    int width() const { return file_.i32(18); }
    int height() const { return file_.i32(22); }
    int stride() const { return (width() * 3 + 3) / 4 * 4; }

    // Row 0 is the top row on screen, which the file stores last.
    QRgb pixel(int x, int y) const {
        const qsizetype offset =
            file_.u32(10) + static_cast<qsizetype>(height() - 1 - y) * stride() + x * 3;
        return qRgb(file_.u8(offset + 2), file_.u8(offset + 1), file_.u8(offset));
    }

  private:
    ByteReader file_;
};

struct PictureCase {
    QLatin1String resource;
    int width;
    int height;
    qsizetype fileSize;
};

class TablePictureFile : public ::testing::TestWithParam<PictureCase> {};

TEST_P(TablePictureFile, HasTheWindowsBitmapLayout) {
    const PictureCase& picture = GetParam();
    const BitmapFile file(readAll(picture.resource));
    const ByteReader& bytes = file.bytes();
    ASSERT_EQ(bytes.size(), picture.fileSize);

    EXPECT_EQ(bytes.slice(0, 2), QByteArray("BM"));
    EXPECT_EQ(bytes.u32(2), static_cast<std::uint32_t>(picture.fileSize));
    EXPECT_EQ(bytes.u32(6), 0u);
    EXPECT_EQ(bytes.u32(10), 54u);
    EXPECT_EQ(bytes.u32(14), 40u);
    EXPECT_EQ(file.width(), picture.width);
    EXPECT_EQ(file.height(), picture.height);  // positive: bottom-up
    EXPECT_EQ(bytes.u16(26), 1u);
    EXPECT_EQ(bytes.u16(28), 24u);
    EXPECT_EQ(bytes.u32(30), 0u);  // no compression
    EXPECT_EQ(bytes.u32(34), static_cast<std::uint32_t>(file.stride() * picture.height));
    EXPECT_EQ(bytes.i32(38), 3780);
    EXPECT_EQ(bytes.i32(42), 3780);
    EXPECT_EQ(bytes.u32(46), 0u);
    EXPECT_EQ(bytes.u32(50), 0u);
}

TEST_P(TablePictureFile, QtReadsTheSamePixelsInTheSameRowOrder) {
    const PictureCase& picture = GetParam();
    const BitmapFile file(readAll(picture.resource));
    const QImage decoded = norvessa::resources::loadImage(picture.resource);
    ASSERT_EQ(decoded.size(), QSize(picture.width, picture.height));
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            ASSERT_EQ(decoded.pixel(x, y) | 0xFF000000u, file.pixel(x, y)) << x << "," << y;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(
    BothWindows, TablePictureFile,
    ::testing::Values(PictureCase{norvessa::resources::kForm2PicturePath, 297, 389, 347042},
                      PictureCase{norvessa::resources::kForm3PicturePath, 411, 291, 359730}));

TEST(Form2TablePicture, GridLinesLieWhereTheTableHasThem) {
    const BitmapFile file(readAll(norvessa::resources::kForm2PicturePath));
    for (int y = 2; y <= 382; y += 19) {
        for (int x = 0; x < 297; ++x) {
            ASSERT_EQ(file.pixel(x, y), kGrey) << "horizontal line at y = " << y;
        }
    }
    for (const int x : {1, 73, 163}) {
        for (const int y : {0, 30, 200, 388}) {
            EXPECT_EQ(file.pixel(x, y), kGrey) << "column line at x = " << x;
        }
    }
    EXPECT_EQ(file.pixel(0, 10), kWhite);
    EXPECT_EQ(file.pixel(2, 10), kWhite);
    EXPECT_EQ(file.pixel(296, 1), kWhite);
    EXPECT_EQ(file.pixel(150, 385), kWhite);
}

TEST(Form2TablePicture, TextStartsTwoPixelsRightOfItsCellLine) {
    const BitmapFile file(readAll(norvessa::resources::kForm2PicturePath));
    // The U of "UP8" fills the first column of its cell from its top row, 5 pixels below the line.
    EXPECT_EQ(file.pixel(3, 7), kBlack);
    EXPECT_EQ(file.pixel(3, 16), kBlack);
    EXPECT_EQ(file.pixel(2, 7), kWhite);
    // The P of "PS2134" in the second column.
    EXPECT_EQ(file.pixel(75, 7), kBlack);
    // Row 2 is wholly blank.
    for (int x = 2; x < 297; ++x) {
        if (x != 73 && x != 163) {
            ASSERT_EQ(file.pixel(x, 30), kWhite) << x;
        }
    }
    // In rows 19 and 20 the second column's text starts one character later.
    const int row19Top = 2 + 18 * 19;
    EXPECT_EQ(file.pixel(75, row19Top + 5), kWhite);
    EXPECT_EQ(file.pixel(83, row19Top + 5), kBlack);
}

TEST(Form3TablePicture, GridLinesEdgeAndMarkLieWhereTheTableHasThem) {
    const BitmapFile file(readAll(norvessa::resources::kForm3PicturePath));
    for (int y = 20; y <= 286; y += 19) {
        for (int x = 1; x < 380; ++x) {
            ASSERT_EQ(file.pixel(x, y), kGrey) << "horizontal line at y = " << y;
        }
    }
    for (const int x : {73, 165, 256, 391}) {
        EXPECT_EQ(file.pixel(x, 10), kGrey) << "column line at x = " << x;
        EXPECT_EQ(file.pixel(x, 290), kGrey) << "column line at x = " << x;
    }
    const QRgb topLeft = file.pixel(0, 0);
    EXPECT_LT(qGray(topLeft), 100);
    EXPECT_EQ(file.pixel(200, 0), topLeft);
    EXPECT_EQ(file.pixel(0, 150), topLeft);
    const QRgb mark = file.pixel(410, 0);
    EXPECT_GT(qRed(mark), 200);
    EXPECT_GT(qGreen(mark), 100);
    EXPECT_LT(qBlue(mark), 80);
    EXPECT_EQ(file.pixel(40, 100), kWhite);  // the first column is empty in every row
}

TEST(Form3TablePicture, TextRunningPastItsCellHidesTheLineItCrosses) {
    const BitmapFile file(readAll(norvessa::resources::kForm3PicturePath));
    // Row 10 holds "FC8908NL(SC908NL)", 136 pixels from x = 258, across the line at x = 391.
    const int row10Top = 20 + 8 * 19;
    for (int y = row10Top + 1; y < row10Top + 19; ++y) {
        EXPECT_NE(file.pixel(391, y), kGrey) << y;
    }
    EXPECT_EQ(file.pixel(391, row10Top - 5), kGrey);
}

TEST(TablePictureGenerator, WritesTheCommittedBytes) {
    EXPECT_EQ(encodeBitmapFile24(drawForm2TablePicture()),
              readAll(norvessa::resources::kForm2PicturePath));
    EXPECT_EQ(encodeBitmapFile24(drawForm3TablePicture()),
              readAll(norvessa::resources::kForm3PicturePath));
}

}  // namespace
