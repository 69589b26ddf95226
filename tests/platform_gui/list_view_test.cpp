#include "platform/gui/list_view.h"

#include <gtest/gtest.h>

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QTest>
#include <memory>

#include "platform/core/platform_error.h"

namespace {

using norvessa::platform::ListItem;
using norvessa::platform::ListView;
using norvessa::platform::ListViewMode;
using norvessa::platform::ListViewOption;
using norvessa::platform::PlatformError;

class ListViewTest : public ::testing::Test {
  protected:
    ListViewTest() {
        view.resize(400, 200);
        view.setView(ListViewMode::Report);
        view.columnHeaders().add(QStringLiteral("id"), 10);
        view.columnHeaders().add(QStringLiteral("序号"), 600);
        view.columnHeaders().add(QStringLiteral(" 慧荣"), 1400);
    }

    ListView view{nullptr};
};

TEST_F(ListViewTest, HeadersAreAppendedWithTheirTextAndTwipsWidth) {
    ASSERT_EQ(view.columnHeaders().count(), 3);
    EXPECT_EQ(view.horizontalHeaderItem(0)->text(), QStringLiteral("id"));
    EXPECT_EQ(view.horizontalHeaderItem(1)->text(), QStringLiteral("序号"));
    EXPECT_EQ(view.horizontalHeaderItem(2)->text(), QStringLiteral(" 慧荣"));
    // 10 twips still make a column, one pixel wide; 600 and 1400 twips are 40 and 93 pixels.
    EXPECT_EQ(view.columnWidth(0), 1);
    EXPECT_EQ(view.columnWidth(1), 40);
    EXPECT_EQ(view.columnWidth(2), 93);
    EXPECT_FALSE(view.horizontalHeader()->isHidden());
    EXPECT_EQ(view.listItems().count(), 0);
}

TEST_F(ListViewTest, RowTextGoesToTheFirstColumnAndSubItemKToColumnKPlusOne) {
    ListItem first = view.listItems().add(QStringLiteral("17"));
    first.setSubItem(1, QStringLiteral("1"));
    first.setSubItem(2, QStringLiteral("SM3257ENLT"));
    ListItem second = view.listItems().add(QStringLiteral("18"));
    second.setSubItem(2, QStringLiteral("PS2251-61"));
    second.setSubItem(2, QStringLiteral("PS2251-68"));

    ASSERT_EQ(view.listItems().count(), 2);
    EXPECT_EQ(view.item(0, 0)->text(), QStringLiteral("17"));
    EXPECT_EQ(view.item(0, 1)->text(), QStringLiteral("1"));
    EXPECT_EQ(view.item(0, 2)->text(), QStringLiteral("SM3257ENLT"));
    EXPECT_EQ(view.item(1, 0)->text(), QStringLiteral("18"));
    EXPECT_EQ(view.item(1, 1), nullptr);
    EXPECT_EQ(second.subItem(2), QStringLiteral("PS2251-68"));
    EXPECT_EQ(second.subItem(1), QString());
    EXPECT_EQ(first.text(), QStringLiteral("17"));
}

TEST_F(ListViewTest, SubItemsOutsideTheColumnsAreRejected) {
    ListItem row = view.listItems().add(QStringLiteral("1"));
    EXPECT_THROW(row.setSubItem(0, QStringLiteral("x")), PlatformError);
    EXPECT_THROW(row.setSubItem(3, QStringLiteral("x")), PlatformError);
    EXPECT_THROW((void)row.subItem(-1), PlatformError);
    EXPECT_EQ(view.columnCount(), 3);
}

TEST_F(ListViewTest, ClearRemovesTheRowsKeepsTheColumnsAndRetiresOldRows) {
    ListItem old = view.listItems().add(QStringLiteral("1"));
    view.listItems().add(QStringLiteral("2"));
    view.listItems().clear();

    EXPECT_EQ(view.listItems().count(), 0);
    EXPECT_EQ(view.columnHeaders().count(), 3);
    // A fresh row now sits where the old one was; the old handle must not write into it.
    view.listItems().add(QStringLiteral("3"));
    EXPECT_THROW(old.setSubItem(1, QStringLiteral("x")), PlatformError);
    EXPECT_THROW((void)old.text(), PlatformError);
    EXPECT_EQ(view.item(0, 1), nullptr);
}

TEST_F(ListViewTest, ACellShowsItsValueOnOneLineAndCutsOnlyWhatDoesNotFit) {
    const QStringList values = {QStringLiteral("UP16-EB\r\n"), QStringLiteral("\r\nAU6985B"),
                                QStringLiteral("A\r\nB"), QString(40, QLatin1Char('W'))};
    for (const QString& value : values) {
        view.listItems().add(QStringLiteral("1")).setSubItem(2, value);
    }

    EXPECT_EQ(view.shownText(0, 2), QStringLiteral("UP16-EB"));
    EXPECT_EQ(view.shownText(1, 2), QStringLiteral("AU6985B"));
    EXPECT_EQ(view.shownText(2, 2), QStringLiteral("A B"));
    EXPECT_EQ(view.item(1, 2)->text(), values[1]) << "the stored value keeps its line break";
    const QString cut = view.shownText(3, 2);
    EXPECT_TRUE(cut.endsWith(QChar(0x2026))) << cut.toStdString();
    EXPECT_LE(view.fontMetrics().horizontalAdvance(cut), view.cellTextRect(3, 2).width());
}

TEST(ListViewLifetime, ARowOutlivingItsListThrowsInsteadOfCrashing) {
    auto view = std::make_unique<ListView>(nullptr);
    view->columnHeaders().add(QStringLiteral("id"), 10);
    view->columnHeaders().add(QStringLiteral("序号"), 600);
    ListItem row = view->listItems().add(QStringLiteral("1"));
    view.reset();
    EXPECT_THROW(row.setSubItem(1, QStringLiteral("1")), PlatformError);
}

TEST_F(ListViewTest, OptionsGiveGridLinesAndWholeRowSelection) {
    EXPECT_FALSE(view.showGrid());
    ListItem row = view.listItems().add(QStringLiteral("1"));
    row.setSubItem(1, QStringLiteral("1"));
    row.setSubItem(2, QStringLiteral("SM3257ENLT"));
    view.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
    const QPoint cell = view.visualRect(view.model()->index(0, 2)).center();

    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(view.selectionModel()->selectedIndexes().size(), 1);

    view.setOption(ListViewOption::FullRowSelect, true);
    view.setOption(ListViewOption::GridLines, true);
    view.clearSelection();
    QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, cell);
    EXPECT_EQ(view.selectionModel()->selectedIndexes().size(), 3);
    EXPECT_TRUE(view.showGrid());
    EXPECT_TRUE(view.option(ListViewOption::FullRowSelect));
    EXPECT_EQ(static_cast<int>(ListViewOption::FullRowSelect), 27);
    EXPECT_EQ(static_cast<int>(ListViewOption::GridLines), 26);
}

}  // namespace
