// The peer that Norvessa's start-up is measured against: the smallest Qt Widgets program that
// shows a window, built by the same build with the same options. With
// NORVESSA_QUIT_AFTER_FIRST_SHOW set it ends as soon as its window has been shown, like Norvessa.
#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <cstdlib>

namespace {

class FirstShowWatcher : public QObject {
  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) {
            QTimer::singleShot(0, qApp, &QApplication::quit);
        }
        return QObject::eventFilter(watched, event);
    }
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(834, 559);
    FirstShowWatcher watcher;
    if (std::getenv("NORVESSA_QUIT_AFTER_FIRST_SHOW") != nullptr) {
        window.installEventFilter(&watcher);
    }
    window.show();
    return QApplication::exec();
}
