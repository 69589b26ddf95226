#include "platform/gui/frame.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPaintEvent>
#include <QPainter>
#include <cmath>

namespace norvessa::platform {
namespace {

// The caption starts 120 twips in from the frame's left edge, with a small gap of back colour
// around it that interrupts the top line.
constexpr qreal kCaptionIndent = 8;
constexpr qreal kCaptionGap = 2;
// As for labels: the ideographic em box sits 0.88 em above the baseline.
constexpr qreal kIdeographicAscent = 0.88;

}  // namespace

Frame::Frame(QWidget* parent)
    : QWidget(parent),
      captionColour_(palette().color(QPalette::WindowText)),
      backColour_(palette().color(QPalette::Window)) {}

void Frame::setCaption(const QString& caption) {
    caption_ = caption;
    setAccessibleName(caption);
    update();
}

void Frame::setCaptionColour(const QColor& colour) {
    captionColour_ = colour;
    update();
}

void Frame::setBackColour(const QColor& colour) {
    backColour_ = colour;
    update();
}

void Frame::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.fillRect(rect(), backColour_);

    const qreal em = QFontInfo(font()).pixelSize();
    const int lineY = static_cast<int>(std::floor(em / 2));
    // An etched edge: a shadow line with a highlight line just inside and below it.
    const QRect outer = rect().adjusted(0, lineY, -1, -1);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawRect(outer.adjusted(0, 0, -1, -1));
    painter.setPen(palette().color(QPalette::Light));
    painter.drawRect(outer.adjusted(1, 1, 0, 0));

    if (caption_.isEmpty()) {
        return;
    }
    painter.setFont(font());
    const qreal captionWidth = QFontMetricsF(font()).horizontalAdvance(caption_);
    painter.fillRect(QRectF(kCaptionIndent - kCaptionGap, 0, captionWidth + 2 * kCaptionGap, em),
                     backColour_);
    painter.setPen(captionColour_);
    painter.drawText(QPointF(kCaptionIndent, kIdeographicAscent * em), caption_);
}

}  // namespace norvessa::platform
