// What the main window's design costs in fonts alone: the label window's line at each of the six
// sizes the main window's layout uses. Every size is its own font engine (each set up through
// fontconfig) with its own glyphs, which no program with that layout can avoid.
#include <QApplication>
#include <QLabel>
#include <QWidget>
#include <array>

#include "first_show.h"
#include "platform/gui/fonts.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("font sizes window"));
    window.resize(834, 559);
    constexpr std::array kLayoutPoints{26.25, 15.75, 14.25, 10.5, 18.0, 12.0};
    int top = 0;
    for (const double points : kLayoutPoints) {
        auto* line = new QLabel(QStringLiteral("请输入要查询FLASH型号："), &window);
        line->setFont(norvessa::platform::songFont(points));
        line->move(0, top);
        top += 60;
    }
    norvessa::bench::QuitAfterFirstPaint quit(window);
    window.show();
    return QApplication::exec();
}
