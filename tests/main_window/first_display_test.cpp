// What the user sees when the program has started: the real start-up path, event loop included.

#include <gtest/gtest.h>

#include <QApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "main_window/form1.h"
#include "main_window/program.h"
#include "scoped_data_home.h"

namespace {

using norvessa::main_window::Form1;

Form1* shownMainWindow() {
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (window->objectName() == QStringLiteral("Form1") && window->isVisible()) {
            return dynamic_cast<Form1*>(window);
        }
    }
    return nullptr;
}

void checkFirstDisplay() {
    Form1* form = shownMainWindow();
    ASSERT_NE(form, nullptr) << "the main window is not shown";
    ASSERT_TRUE(QTest::qWaitForWindowActive(form));

    for (const QLineEdit* box :
         {form->Text1, form->Text2, form->Text3, form->Text4, form->Text5, form->Text6, form->Text7,
          form->Text8, form->Text9, form->Text10, form->Text11, form->Text12, form->Text13}) {
        EXPECT_EQ(box->text(), QString()) << box->objectName().toStdString();
    }
    EXPECT_EQ(form->Label16->text(), QStringLiteral("共查到0个结果"));
    EXPECT_EQ(QApplication::focusWidget(), form->ListView1);

    const QStringList headers = {
        QStringLiteral("id"),    QStringLiteral("序号"),    QStringLiteral(" 慧荣"),
        QStringLiteral(" 群联"), QStringLiteral(" 联阳"),   QStringLiteral(" 安国"),
        QStringLiteral(" 擎泰"), QStringLiteral(" 鑫创"),   QStringLiteral(" 银灿"),
        QStringLiteral(" 芯邦"), QStringLiteral(" 迈科微"), QStringLiteral(" 我想")};
    // Widths in twips 10, 600, 1400, 1400, 1000 x 5, 1300, 1200, 1000 at 15 twips a pixel.
    const QList<int> widths = {1, 40, 93, 93, 67, 67, 67, 67, 67, 87, 80, 67};
    const norvessa::platform::ListView& list = *form->ListView1;
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

    EXPECT_EQ(norvessa::main_window::runProgram(*qApp), 7);
    EXPECT_EQ(shownMainWindow(), nullptr);
    EXPECT_EQ(readWholeFile(home.databaseFile()), carriedDatabaseImage());
}

}  // namespace
