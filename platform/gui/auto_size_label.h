#pragma once

#include <QLabel>
#include <QString>

namespace norvessa::platform {

// A caption label as the window designer makes them: no background of its own (the container
// shows through), one left-aligned line, no access key, never the keyboard focus, and sized to
// its caption.
//
// The caption is drawn with its ideographic em box filling the label's height, as the designed
// Song face does, so the stored layout fits whichever face stands in: faces with taller line
// spacing would otherwise push the text down or clip it.
class AutoSizeLabel : public QLabel {
  public:
    explicit AutoSizeLabel(QWidget* parent);

    // Replaces the caption and takes its width, keeping the top-left corner: a longer caption
    // grows the label to the right.
    void setCaption(const QString& caption);

    // Widens the label when the face at hand needs more room for the caption than the stored
    // width gives, and deepens it when the face's descenders (g, p, q, y) reach below the stored
    // height; never shrinks it.
    void fitToCaption();

    // The caption's width in the label's font, and the height from the label's top to the
    // lowest point its descenders reach.
    int captionWidth() const;
    int captionHeight() const;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    // Where the caption's baseline lies below the label's top.
    double baseline() const;
};

}  // namespace norvessa::platform
