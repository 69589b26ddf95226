// The fair peer for Norvessa's start-up: a window of the same size that shows one line of
// Chinese in the program's Song face. Any Chinese window loads and shapes that face, which a
// bare window never does; what Norvessa takes beyond this is its own.
#include <QApplication>
#include <QLabel>

#include "first_show.h"
#include "platform/gui/fonts.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QLabel window(QStringLiteral("请输入要查询FLASH型号："));
    window.setWindowTitle(QStringLiteral("label window"));
    window.setFont(norvessa::platform::songFont(norvessa::platform::kDefaultFontPoints));
    window.setAlignment(Qt::AlignTop | Qt::AlignLeft);
    window.resize(834, 559);
    norvessa::bench::QuitAfterFirstPaint quit(window);
    window.show();
    return QApplication::exec();
}
