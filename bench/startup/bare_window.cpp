// The first peer that Norvessa's start-up is measured against: the smallest Qt Widgets program
// that shows a window, built by the same build with the same options.
#include <QApplication>
#include <QWidget>

#include "first_show.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("bare window"));
    window.resize(834, 559);
    norvessa::bench::QuitAfterFirstPaint quit(window);
    window.show();
    return QApplication::exec();
}
