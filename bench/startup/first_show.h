#pragma once

// For the start-up peers: with NORVESSA_QUIT_AFTER_FIRST_SHOW set, a program ends as soon as its
// window has first been painted, like Norvessa.

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

namespace norvessa::bench {

class QuitAfterFirstPaint : public QObject {
  public:
    // Watches `window` when the environment asks for it.
    explicit QuitAfterFirstPaint(QWidget& window) {
        if (std::getenv("NORVESSA_QUIT_AFTER_FIRST_SHOW") != nullptr) {
            window.installEventFilter(this);
        }
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace norvessa::bench
