#include "tools/image_generators/maker_logo_icon.h"

#include <QPainter>
#include <QPainterPath>

#include "tools/image_generators/pixel_font.h"

namespace norvessa::image_generators {
namespace {

const QColor kNavy(24, 52, 140);
const QColor kWhite(255, 255, 255);
const QColor kRed(196, 28, 36);
constexpr int kChequerSquares = 8;

// Laid out on a unit square that QPainter scales to each image size.
QPainterPath discPath() {
    QPainterPath disc;
    disc.addEllipse(QPointF(0.5, 0.5), 0.47, 0.47);
    return disc;
}

void drawChequeredDisc(QPainter& painter, const QPainterPath& disc) {
    painter.fillPath(disc, kNavy);
    QPainterPath upperHalf;
    upperHalf.addRect(QRectF(0.0, 0.0, 1.0, 0.5));
    painter.save();
    painter.setClipPath(disc.intersected(upperHalf));
    const double square = 1.0 / kChequerSquares;
    for (int row = 0; row < kChequerSquares / 2; ++row) {
        for (int column = 0; column < kChequerSquares; ++column) {
            if ((row + column) % 2 == 0) {
                painter.fillRect(QRectF(column * square, row * square, square, square), kWhite);
            }
        }
    }
    painter.restore();
}

void drawNameBand(QPainter& painter, const QPainterPath& disc) {
    QPainterPath band;
    band.addRect(QRectF(0.0, 0.37, 1.0, 0.26));
    painter.fillPath(disc.intersected(band), kWhite);

    // The name in the built-in pixel font, its 39 x 11 pixels stretched over most of the band.
    const QString name = QStringLiteral("ALCOR");
    const auto inkWidth = static_cast<double>(name.size() * kPixelFontAdvance - 1);
    const double cellWidth = 0.8 / inkWidth;
    const double cellHeight = 0.18 / kPixelFontHeight;
    const QPointF origin(0.1, 0.41);
    // One path for all letter pixels, so that neighbouring pixels meet without seams.
    QPainterPath letters;
    letters.setFillRule(Qt::WindingFill);
    forEachPixelOfText(name, [&](int x, int y) {
        letters.addRect(
            QRectF(origin.x() + x * cellWidth, origin.y() + y * cellHeight, cellWidth, cellHeight));
    });
    painter.fillPath(letters, kRed);
}

}  // namespace

QImage drawMakerLogoIcon(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side, side);
    const QPainterPath disc = discPath();
    drawChequeredDisc(painter, disc);
    drawNameBand(painter, disc);
    painter.setPen(QPen(kNavy, 0.025));
    painter.drawPath(disc);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

std::vector<IconImage> makerLogoIconImages() {
    return {
        {drawMakerLogoIcon(48), IconEncoding::Bitmap24WithMask},
        {drawMakerLogoIcon(128), IconEncoding::Bitmap32WithAlpha},
    };
}

}  // namespace norvessa::image_generators
