#include "tools/image_generators/about_illustration.h"

#include <QBuffer>
#include <QImageWriter>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdint>
#include <stdexcept>

namespace norvessa::image_generators {
namespace {

const QColor kSkin(255, 230, 214);
const QColor kSkinShade(240, 196, 180);
const QColor kHair(72, 66, 150);
const QColor kHairShine(128, 120, 210);
const QColor kLine(54, 40, 70);
const QColor kIris(58, 126, 206);
const QColor kBlouse(250, 250, 255);
const QColor kCollar(34, 48, 110);
const QColor kRibbon(214, 40, 60);

// A fixed linear congruential sequence, so that the petals fall the same way on every run.
class PetalSequence {
  public:
    double next() {
        state_ = state_ * 6364136223846793005u + 1442695040888963407u;
        return static_cast<double>(state_ >> 11) / static_cast<double>(1ull << 53);
    }

  private:
    std::uint64_t state_ = 20140320u;
};

void drawSky(QPainter& painter) {
    QLinearGradient sky(0, 0, 0, kAboutIllustrationHeight);
    sky.setColorAt(0.0, QColor(186, 216, 255));
    sky.setColorAt(0.55, QColor(236, 226, 255));
    sky.setColorAt(1.0, QColor(255, 218, 232));
    painter.fillRect(QRect(0, 0, kAboutIllustrationWidth, kAboutIllustrationHeight), sky);

    QRadialGradient glow(QPointF(95, 92), 90);
    glow.setColorAt(0.0, QColor(255, 255, 240, 220));
    glow.setColorAt(1.0, QColor(255, 255, 240, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(glow);
    painter.drawEllipse(QPointF(95, 92), 90, 90);
}

void drawPetals(QPainter& painter, int count) {
    PetalSequence random;
    painter.setPen(Qt::NoPen);
    for (int i = 0; i < count; ++i) {
        const QPointF centre(random.next() * kAboutIllustrationWidth,
                             random.next() * kAboutIllustrationHeight);
        const double size = 3.0 + random.next() * 4.0;
        painter.save();
        painter.translate(centre);
        painter.rotate(random.next() * 180.0);
        painter.setBrush(QColor(255, 170, 200, 170 + static_cast<int>(random.next() * 80)));
        QPainterPath petal;
        petal.moveTo(0, -size);
        petal.quadTo(size, 0, 0, size);
        petal.quadTo(-size, 0, 0, -size);
        painter.drawPath(petal);
        painter.restore();
    }
}

void drawBackHair(QPainter& painter) {
    QPainterPath hair;
    hair.moveTo(95, 38);
    hair.cubicTo(40, 38, 42, 110, 40, 170);
    hair.cubicTo(38, 215, 30, 245, 22, 262);
    hair.quadTo(60, 250, 70, 200);
    hair.lineTo(120, 200);
    hair.quadTo(130, 250, 168, 262);
    hair.cubicTo(160, 245, 152, 215, 150, 170);
    hair.cubicTo(148, 110, 150, 38, 95, 38);
    painter.fillPath(hair, kHair);

    // A few darker strands give the long hair some depth.
    const QPen strand(kHair.darker(135), 1.4, Qt::SolidLine, Qt::RoundCap);
    for (const double offset : {0.0, 10.0}) {
        QPainterPath left;
        left.moveTo(52 + offset / 2, 110);
        left.cubicTo(50 + offset / 2, 170, 44 + offset, 220, 34 + offset, 250);
        painter.strokePath(left, strand);
        QPainterPath right;
        right.moveTo(138 - offset / 2, 110);
        right.cubicTo(140 - offset / 2, 170, 146 - offset, 220, 156 - offset, 250);
        painter.strokePath(right, strand);
    }
}

void drawBody(QPainter& painter) {
    painter.fillRect(QRectF(86, 124, 18, 30), kSkinShade);

    QPainterPath blouse;
    blouse.moveTo(84, 146);
    blouse.cubicTo(60, 150, 44, 162, 38, 190);
    blouse.lineTo(26, kAboutIllustrationHeight);
    blouse.lineTo(164, kAboutIllustrationHeight);
    blouse.lineTo(152, 190);
    blouse.cubicTo(146, 162, 130, 150, 106, 146);
    blouse.closeSubpath();
    painter.fillPath(blouse, kBlouse);
    painter.strokePath(blouse, QPen(kLine, 1.2));

    QPainterPath collar;
    collar.moveTo(80, 147);
    collar.lineTo(95, 196);
    collar.lineTo(110, 147);
    collar.cubicTo(132, 152, 146, 160, 150, 178);
    collar.lineTo(120, 200);
    collar.lineTo(95, 222);
    collar.lineTo(70, 200);
    collar.lineTo(40, 178);
    collar.cubicTo(44, 160, 58, 152, 80, 147);
    painter.fillPath(collar, kCollar);
    painter.setPen(QPen(QColor(230, 234, 255), 1.5));
    painter.drawLine(QPointF(48, 178), QPointF(95, 214));
    painter.drawLine(QPointF(142, 178), QPointF(95, 214));

    painter.setPen(Qt::NoPen);
    painter.setBrush(kRibbon);
    QPolygonF leftLoop;
    leftLoop << QPointF(95, 214) << QPointF(74, 204) << QPointF(76, 226);
    QPolygonF rightLoop;
    rightLoop << QPointF(95, 214) << QPointF(116, 204) << QPointF(114, 226);
    QPolygonF tails;
    tails << QPointF(92, 216) << QPointF(84, 250) << QPointF(95, 244) << QPointF(106, 250)
          << QPointF(98, 216);
    painter.drawPolygon(leftLoop);
    painter.drawPolygon(rightLoop);
    painter.drawPolygon(tails);
    painter.drawEllipse(QPointF(95, 214), 5, 5);
}

void drawFace(QPainter& painter) {
    QPainterPath face;
    face.moveTo(58, 88);
    face.cubicTo(58, 48, 132, 48, 132, 88);
    face.cubicTo(132, 112, 116, 130, 95, 138);
    face.cubicTo(74, 130, 58, 112, 58, 88);
    painter.fillPath(face, kSkin);
    painter.strokePath(face, QPen(kLine, 1.2));

    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 150, 160, 90));
    painter.drawEllipse(QPointF(72, 114), 8, 4);
    painter.drawEllipse(QPointF(118, 114), 8, 4);
}

void drawEye(QPainter& painter, double centreX, bool mirrored) {
    const double centreY = 100;
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(centreX, centreY), 9.5, 11);

    QLinearGradient iris(centreX, centreY - 10, centreX, centreY + 10);
    iris.setColorAt(0.0, kIris.darker(170));
    iris.setColorAt(1.0, kIris.lighter(130));
    painter.setBrush(iris);
    painter.drawEllipse(QPointF(centreX, centreY + 1), 7, 9.5);
    painter.setBrush(kIris.darker(250));
    painter.drawEllipse(QPointF(centreX, centreY + 2), 3.5, 5);
    painter.setBrush(Qt::white);
    const double side = mirrored ? 1 : -1;
    painter.drawEllipse(QPointF(centreX + 3 * side, centreY - 4), 2.6, 3);
    painter.drawEllipse(QPointF(centreX - 2.5 * side, centreY + 5), 1.2, 1.2);

    QPainterPath lid;
    lid.moveTo(centreX - 12, centreY - 5);
    lid.quadTo(centreX, centreY - 16, centreX + 12, centreY - 6);
    painter.setPen(QPen(kLine, 2.6, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(lid);

    QPainterPath brow;
    brow.moveTo(centreX - 9, centreY - 21);
    brow.quadTo(centreX, centreY - 25, centreX + 9, centreY - 21);
    painter.setPen(QPen(kLine, 1.0, Qt::SolidLine, Qt::RoundCap));
    painter.drawPath(brow);
}

void drawMouth(QPainter& painter) {
    QPainterPath mouth;
    mouth.moveTo(90, 123);
    mouth.quadTo(95, 127, 100, 123);
    painter.setPen(QPen(QColor(170, 70, 80), 1.3, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(mouth);
}

void drawFringe(QPainter& painter) {
    QPainterPath fringe;
    fringe.moveTo(54, 96);
    fringe.cubicTo(48, 40, 142, 40, 136, 96);
    fringe.lineTo(128, 78);
    fringe.lineTo(122, 90);
    fringe.lineTo(116, 70);
    fringe.lineTo(106, 84);
    fringe.lineTo(100, 66);
    fringe.lineTo(90, 82);
    fringe.lineTo(84, 68);
    fringe.lineTo(74, 86);
    fringe.lineTo(70, 72);
    fringe.lineTo(62, 92);
    fringe.closeSubpath();
    painter.fillPath(fringe, kHair);

    QPainterPath shine;
    shine.moveTo(70, 58);
    shine.quadTo(95, 48, 120, 58);
    painter.setPen(QPen(kHairShine, 3, Qt::SolidLine, Qt::RoundCap));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(shine);

    painter.setPen(Qt::NoPen);
    painter.setBrush(kRibbon);
    QPolygonF clip;
    clip << QPointF(124, 60) << QPointF(138, 52) << QPointF(140, 58) << QPointF(126, 66);
    painter.drawPolygon(clip);
}

}  // namespace

QImage drawAboutIllustration() {
    QImage image(kAboutIllustrationWidth, kAboutIllustrationHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    drawSky(painter);
    drawPetals(painter, 24);
    drawBackHair(painter);
    drawBody(painter);
    drawFace(painter);
    drawEye(painter, 79, false);
    drawEye(painter, 111, true);
    drawMouth(painter);
    drawFringe(painter);
    painter.end();
    return image;
}

QByteArray encodeJpegFile(const QImage& image, int quality) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(quality);
    writer.setOptimizedWrite(false);
    writer.setProgressiveScanWrite(false);
    if (!writer.write(image.convertToFormat(QImage::Format_RGB32))) {
        throw std::runtime_error("cannot encode the picture as JPEG: " +
                                 writer.errorString().toStdString());
    }
    return bytes;
}

}  // namespace norvessa::image_generators
