#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace norvessa::platform {

// A frame as the window designer makes them: an etched rectangle whose top line runs through the
// middle of the caption, the caption a little in from the left end of that line, and the frame's
// back colour inside. Controls placed in it count their position from its top-left corner.
//
// The caption has its own colour, so that the frame's children keep their palette.
class Frame : public QWidget {
  public:
    explicit Frame(QWidget* parent);

    void setCaption(const QString& caption);
    const QString& caption() const { return caption_; }

    void setCaptionColour(const QColor& colour);
    const QColor& captionColour() const { return captionColour_; }

    void setBackColour(const QColor& colour);
    const QColor& backColour() const { return backColour_; }

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString caption_;
    QColor captionColour_;
    QColor backColour_;
};

}  // namespace norvessa::platform
