// How readable the results are: every controller cell of the data set through the result list's
// own font, column widths and margins; a long result without scrolling; detail boxes that show
// the start of their values.

#include <gtest/gtest.h>

#include <QFontInfo>
#include <QFontMetrics>
#include <QScrollBar>
#include <QTest>
#include <cstdio>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "scoped_data_home.h"
#include "support/qt_form1.h"
#include "tools/dataset/flash_dataset.h"

namespace {

using norvessa::dataset::FlashRecord;
using norvessa::platform::ListView;
using norvessa::platform::ReportCellDelegate;

// Read when the test runs, so that the test follows the data set as it is edited.
std::vector<FlashRecord> shippedRecords() {
    return norvessa::dataset::readFlashDataset(std::filesystem::path(NORVESSA_SOURCE_DIR) /
                                               "resources" / "flash_data.csv");
}

// The width the designed Song face gives a text: half an em for each half-width (ASCII)
// character, a full em for each other one.
int designedWidth(const QString& text, int emPixels) {
    int halfEms = 0;
    for (const QChar character : text) {
        halfEms += character.unicode() < 0x80 ? 1 : 2;
    }
    return halfEms * emPixels / 2;
}

class Readability : public ::testing::Test {
  protected:
    void SetUp() override { form.Form_Load(); }

    void lookUp(const QString& model) {
        form.textBox("Text1")->setText(model);
        QTest::mouseClick(form.button("Command1"), Qt::LeftButton);
    }

    ScopedDataHome home;
    QtForm1 form;
};

TEST_F(Readability, NoControllerNameThatTheDesignedFaceFitsIsCutOff) {
    ListView& list = *form.listView("ListView1");
    const std::vector<FlashRecord> records = shippedRecords();
    for (const FlashRecord& record : records) {
        norvessa::platform::ListItem row = list.listItems().add(QString::number(record.id));
        for (std::size_t field = 13; field <= 22; ++field) {
            row.setSubItem(static_cast<int>(field) - 11,
                           QString::fromStdString(record.fields[field]));
        }
    }
    const int em = QFontInfo(list.font()).pixelSize();

    int cells = 0;
    int cut = 0;
    std::map<std::string, int> cutByModel;
    for (int row = 0; row < list.rowCount(); ++row) {
        for (int column = 2; column < list.columnCount(); ++column) {
            const QString value = list.item(row, column)->text();
            if (value.isEmpty()) {
                continue;
            }
            ++cells;
            const QString line = ReportCellDelegate::oneLine(value);
            const QString shown = list.shownText(row, column);
            EXPECT_FALSE(shown.contains(QLatin1Char('\n')) || shown.contains(QLatin1Char('\r')));
            if (shown == line) {
                continue;
            }
            ++cut;
            ++cutByModel[records[static_cast<std::size_t>(row)].fields[1]];
            EXPECT_GT(designedWidth(line, em), list.cellTextRect(row, column).width())
                << "record " << records[static_cast<std::size_t>(row)].id << " column " << column
                << ": \"" << line.toStdString() << "\" shows as \"" << shown.toStdString() << "\"";
        }
    }
    std::printf("[ elision  ] %d of %d controller cells cut off, in %zu models\n", cut, cells,
                cutByModel.size());
    EXPECT_GT(cells, 0);
}

TEST_F(Readability, MT29F64G08sNineRowsShowWithoutScrolling) {
    form.widget().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form.widget()));
    lookUp(QStringLiteral("MT29F64G08"));
    ListView& list = *form.listView("ListView1");
    ASSERT_EQ(list.rowCount(), 9);
    QCoreApplication::processEvents();

    // One line of the font, a pixel above and below, and the grid line.
    EXPECT_EQ(list.rowHeight(0), QFontMetrics(list.font()).height() + 3);
    const QRect lastRow = list.visualRect(list.model()->index(8, 1));
    EXPECT_LE(lastRow.bottom(), list.viewport()->height());
    EXPECT_FALSE(list.verticalScrollBar()->isVisible());
}

TEST_F(Readability, DetailBoxesShowTheStartOfTheirValuesAfterEachLookup) {
    form.widget().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form.widget()));
    const QList<QLineEdit*> boxes = {
        form.textBox("Text2"),  form.textBox("Text3"),  form.textBox("Text4"),
        form.textBox("Text5"),  form.textBox("Text6"),  form.textBox("Text7"),
        form.textBox("Text8"),  form.textBox("Text9"),  form.textBox("Text10"),
        form.textBox("Text11"), form.textBox("Text12"), form.textBox("Text13")};
    // A lookup whose last record has a value wider than its box, from the data as it is.
    std::map<std::string, const FlashRecord*> lastOfModel;
    const std::vector<FlashRecord> records = shippedRecords();
    for (const FlashRecord& record : records) {
        lastOfModel[record.fields[1]] = &record;
    }
    QString model;
    QLineEdit* overflowing = nullptr;
    for (const auto& [name, record] : lastOfModel) {
        for (int box = 0; box < boxes.size() && overflowing == nullptr; ++box) {
            const QString value =
                QString::fromStdString(record->fields[static_cast<std::size_t>(box) + 1]);
            if (boxes[box]->fontMetrics().horizontalAdvance(value) > boxes[box]->width()) {
                model = QString::fromStdString(name);
                overflowing = boxes[box];
            }
        }
    }
    if (overflowing == nullptr) {
        GTEST_SKIP() << "no value of the data set is wider than its detail box";
    }
    // Text typed before the lookup leaves the cursor at the end of each box.
    for (QLineEdit* box : boxes) {
        box->setText(QString(60, QLatin1Char('x')));
        box->grab();
    }

    lookUp(model);
    for (QLineEdit* box : boxes) {
        box->grab();
        EXPECT_EQ(box->cursorPosition(), 0) << box->objectName().toStdString();
        EXPECT_LT(box->inputMethodQuery(Qt::ImCursorRectangle).toRect().left(), 8)
            << box->objectName().toStdString();
    }
    SCOPED_TRACE(model.toStdString() + " " + overflowing->objectName().toStdString());
    EXPECT_GT(overflowing->fontMetrics().horizontalAdvance(overflowing->text()),
              overflowing->width());
}

}  // namespace
