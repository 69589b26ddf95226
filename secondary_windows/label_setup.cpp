#include "secondary_windows/label_setup.h"

#include <QPalette>

#include "platform/gui/fonts.h"

namespace norvessa::secondary_windows {
namespace {

void applyDescription(QLabel& label, const LabelDescription& description) {
    label.setObjectName(QLatin1String(description.name));
    label.setText(description.caption);
    label.setFont(platform::songFont(description.points));
    QPalette colours = label.palette();
    colours.setColor(QPalette::WindowText,
                     description.colour.value_or(colours.color(QPalette::ButtonText)));
    label.setPalette(colours);
    label.setGeometry(platform::twipsToPixels(description.box));
}

}  // namespace

void describeLabel(platform::AutoSizeLabel& label, const LabelDescription& description) {
    applyDescription(label, description);
    label.fitToCaption();
}

void describeFixedLabel(QLabel& label, const LabelDescription& description) {
    label.setTextFormat(Qt::PlainText);
    label.setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label.setWordWrap(true);
    label.setAutoFillBackground(false);
    label.setFocusPolicy(Qt::NoFocus);
    applyDescription(label, description);
}

}  // namespace norvessa::secondary_windows
