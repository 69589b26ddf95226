#pragma once

// Labels built from their stored description: name, caption, place and size in twips, font size
// and text colour. Every label is transparent, left-aligned and uses the Song face.

#include <QColor>
#include <QLabel>
#include <QString>
#include <optional>

#include "platform/gui/auto_size_label.h"
#include "platform/gui/twips.h"

namespace norvessa::secondary_windows {

struct LabelDescription {
    const char* name;
    QString caption;
    platform::TwipsRect box;
    double points;
    // None: the platform's button text colour.
    std::optional<QColor> colour;
};

// An auto-size label: the stored size is the one its caption gives in the designed face, and the
// label widens where the face at hand needs more room.
void describeLabel(platform::AutoSizeLabel& label, const LabelDescription& description);

// A label with a fixed box, which wraps its caption inside that box.
void describeFixedLabel(QLabel& label, const LabelDescription& description);

}  // namespace norvessa::secondary_windows
