// What the user sees when the program has started: the real start-up path, event loop included.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "main_window/program.h"
#include "platform/gui/auto_size_label.h"
#include "platform/gui/list_view.h"
#include "platform/gui/qt_front_end.h"
#include "scoped_data_home.h"

namespace {

QWidget* shownMainWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("Form1") && window->isVisible()) {
            return window;
        }
    }
    return nullptr;
}

// One of the shown main window's controls, by its name.
template <typename Widget>
Widget* control(QWidget* form, const char* name) {
    auto* found = form->findChild<Widget*>(QString::fromLatin1(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

void checkFirstDisplay() {
    QWidget* form = shownMainWindow();
    ASSERT_NE(form, nullptr) << "the main window is not shown";
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));

    for (const QLineEdit* box :
         {control<QLineEdit>(form, "Text1"), control<QLineEdit>(form, "Text2"),
          control<QLineEdit>(form, "Text3"), control<QLineEdit>(form, "Text4"),
          control<QLineEdit>(form, "Text5"), control<QLineEdit>(form, "Text6"),
          control<QLineEdit>(form, "Text7"), control<QLineEdit>(form, "Text8"),
          control<QLineEdit>(form, "Text9"), control<QLineEdit>(form, "Text10"),
          control<QLineEdit>(form, "Text11"), control<QLineEdit>(form, "Text12"),
          control<QLineEdit>(form, "Text13")}) {
        EXPECT_EQ(box->text(), QString()) << box->objectName().toStdString();
    }
    EXPECT_EQ(control<QLabel>(form, "Label16")->text(), QStringLiteral("共查到0个结果"));
    EXPECT_EQ(QApplication::focusWidget(),
              control<norvessa::platform::ListView>(form, "ListView1"));

    const QStringList headers = {
        QStringLiteral("id"),    QStringLiteral("序号"),    QStringLiteral(" 慧荣"),
        QStringLiteral(" 群联"), QStringLiteral(" 联阳"),   QStringLiteral(" 安国"),
        QStringLiteral(" 擎泰"), QStringLiteral(" 鑫创"),   QStringLiteral(" 银灿"),
        QStringLiteral(" 芯邦"), QStringLiteral(" 迈科微"), QStringLiteral(" 我想")};
    // Widths in twips 10, 600, 1400, 1400, 1000 x 5, 1300, 1200, 1000 at 15 twips a pixel.
    const QList<int> widths = {1, 40, 93, 93, 67, 67, 67, 67, 67, 87, 80, 67};
    const norvessa::platform::ListView& list =
        *control<norvessa::platform::ListView>(form, "ListView1");
    ASSERT_EQ(list.columnCount(), 12);
    for (int column = 0; column < 12; ++column) {
        EXPECT_EQ(list.horizontalHeaderItem(column)->text(), headers[column]) << column;
        EXPECT_EQ(list.columnWidth(column), widths[column]) << column;
    }
    EXPECT_TRUE(list.horizontalHeader()->isVisible());
    EXPECT_EQ(list.rowCount(), 0);

    // Centred on the screen (the offscreen screen is narrower than the window; it still is).
    const QPoint offset =
        form->frameGeometry().center() - form->screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

TEST(FirstDisplay, TheWindowShowsCentredWithEmptyBoxesTheColumnsAndTheFocusOnTheList) {
    ScopedDataHome home;
    QTimer::singleShot(0, [] {
        checkFirstDisplay();
        QApplication::exit(7);
    });

    norvessa::platform::QtFrontEnd frontEnd;
    EXPECT_EQ(norvessa::main_window::runProgram(frontEnd), 7);
    EXPECT_EQ(shownMainWindow(), nullptr);
    EXPECT_EQ(readWholeFile(home.databaseFile()), carriedDatabaseImage());
}

}  // namespace
