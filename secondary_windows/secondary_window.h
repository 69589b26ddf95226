#pragma once

// What the four secondary windows have in common: a fixed-size window with a caption and a close
// box only, its own background colour or picture, and the close handler that brings the main
// window back.

#include <QColor>
#include <QImage>
#include <QLatin1String>
#include <QString>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <optional>

namespace norvessa::secondary_windows {

struct WindowDescription {
    const char* name;  // the window class's name, also its object name
    QString caption;
    int clientWidthTwips;
    int clientHeightTwips;
    // None: the platform's default window background (the button face colour).
    std::optional<QColor> background;
};

class SecondaryWindow : public QWidget {
  public:
    explicit SecondaryWindow(const WindowDescription& description);

    // The unload notification, raised before the window is destroyed, with the cancel flag at
    // zero: it shows the main window again and leaves the flag alone, so the window closes.
    void Form_Unload(std::int16_t& cancel);

    // Called once a close request has been granted, before the window is destroyed; the shared
    // instance uses it to count the window as no longer loaded.
    void setUnloadedCallback(std::function<void()> unloaded);

  protected:
    // Draws `picture` at the top-left corner of the client area, one picture pixel to one screen
    // pixel, clipped at the client area's edges.
    void setBackgroundPicture(const QImage& picture);

    void closeEvent(QCloseEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

  private:
    QImage backgroundPicture_;
    std::function<void()> unloaded_;
};

}  // namespace norvessa::secondary_windows
