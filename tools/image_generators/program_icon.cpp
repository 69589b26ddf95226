#include "tools/image_generators/program_icon.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace norvessa::image_generators {
namespace {

// The motif is laid out on a unit square; QPainter scales it to each image size.
void drawBackground(QPainter& painter) {
    QPainterPath square;
    square.addRoundedRect(QRectF(0.04, 0.04, 0.92, 0.92), 0.2, 0.2);

    QLinearGradient teal(0.0, 0.0, 0.0, 1.0);
    teal.setColorAt(0.0, QColor(46, 170, 190));
    teal.setColorAt(1.0, QColor(12, 102, 128));
    painter.fillPath(square, teal);

    // The highlight covers the part of the square above a diagonal from its lower left towards
    // its upper right, brightest in the top-left corner.
    QPainterPath gloss;
    gloss.moveTo(0.0, 0.0);
    gloss.lineTo(1.0, 0.0);
    gloss.lineTo(1.0, 0.22);
    gloss.cubicTo(0.7, 0.42, 0.35, 0.5, 0.0, 0.78);
    gloss.closeSubpath();
    QLinearGradient shine(0.0, 0.0, 0.6, 0.6);
    shine.setColorAt(0.0, QColor(255, 255, 255, 150));
    shine.setColorAt(1.0, QColor(255, 255, 255, 20));
    painter.fillPath(square.intersected(gloss), shine);

    painter.setPen(QPen(QColor(6, 70, 90), 0.02));
    painter.drawPath(square);
}

// `side` is the image size in pixels: the smallest images get thicker strokes, so that the
// branches stay visible.
void drawTrident(QPainter& painter, int side) {
    const QColor grey(228, 230, 232);
    const double stroke = std::max(0.06, 1.2 / side);
    QPen pen(grey, stroke, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);

    // Stem from the round base up to the arrow head.
    painter.drawLine(QPointF(0.5, 0.78), QPointF(0.5, 0.26));

    // Left branch, ending in a circle.
    QPainterPath left;
    left.moveTo(0.5, 0.62);
    left.lineTo(0.3, 0.5);
    left.lineTo(0.3, 0.4);
    painter.drawPath(left);

    // Right branch, ending in a square.
    QPainterPath right;
    right.moveTo(0.5, 0.7);
    right.lineTo(0.7, 0.58);
    right.lineTo(0.7, 0.46);
    painter.drawPath(right);

    painter.setPen(Qt::NoPen);
    painter.setBrush(grey);
    QPolygonF arrow;
    arrow << QPointF(0.5, 0.12) << QPointF(0.6, 0.29) << QPointF(0.4, 0.29);
    painter.drawPolygon(arrow);
    painter.drawEllipse(QPointF(0.5, 0.8), 0.085, 0.085);
    painter.drawEllipse(QPointF(0.3, 0.35), 0.065, 0.065);
    painter.drawRect(QRectF(0.64, 0.36, 0.12, 0.12));
}

}  // namespace

QImage drawProgramIcon(int side) {
    QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(side, side);
    drawBackground(painter);
    drawTrident(painter, side);
    painter.end();
    return image.convertToFormat(QImage::Format_ARGB32);
}

std::vector<IconImage> programIconImages() {
    return {
        {drawProgramIcon(16), IconEncoding::Bitmap32WithAlpha},
        {drawProgramIcon(32), IconEncoding::Bitmap32WithAlpha},
        {drawProgramIcon(48), IconEncoding::Bitmap32WithAlpha},
        {drawProgramIcon(128), IconEncoding::Bitmap32WithAlpha},
        {drawProgramIcon(48), IconEncoding::Bitmap24WithMask},
        {drawProgramIcon(256), IconEncoding::Png},
    };
}

}  // namespace norvessa::image_generators
