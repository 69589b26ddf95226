#include "platform/gui/auto_size_label.h"

#include <QFontMetrics>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace norvessa::platform {
namespace {

// CJK faces place the ideographic em box from 0.88 em above the baseline to 0.12 em below it.
constexpr double kIdeographicAscent = 0.88;

}  // namespace

AutoSizeLabel::AutoSizeLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setWordWrap(false);
    setFocusPolicy(Qt::NoFocus);
    setAutoFillBackground(false);
}

void AutoSizeLabel::setCaption(const QString& caption) {
    setText(caption);
    resize(captionWidth(), height());
}

void AutoSizeLabel::fitToCaption() {
    resize(std::max(width(), captionWidth()), std::max(height(), captionHeight()));
}

int AutoSizeLabel::captionWidth() const {
    return static_cast<int>(std::ceil(QFontMetricsF(font()).horizontalAdvance(text())));
}

int AutoSizeLabel::captionHeight() const {
    return static_cast<int>(std::ceil(baseline() + QFontMetricsF(font()).descent()));
}

double AutoSizeLabel::baseline() const {
    return kIdeographicAscent * QFontInfo(font()).pixelSize();
}

void AutoSizeLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setFont(font());
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, foregroundRole()));
    painter.drawText(QPointF(0.0, baseline()), text());
}

}  // namespace norvessa::platform
