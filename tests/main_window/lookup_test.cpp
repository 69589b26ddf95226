// The lookup through the real window, the shipped database image and the database access
// component: what a click on 点击查询 puts into the list, the detail boxes and the count.

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTest>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "platform_gui/captured_errors.h"
#include "query/lookup_database_fixture.h"
#include "resources/database_image.h"
#include "scoped_data_home.h"
#include "support/qt_form1.h"
#include "support/row_57.h"
#include "tools/dataset/flash_dataset.h"

namespace {

using norvessa::dataset::FlashRecord;

const std::vector<FlashRecord>& shippedRecords() {
    static const std::vector<FlashRecord> records = norvessa::dataset::readFlashDataset(
        std::filesystem::path(NORVESSA_SOURCE_DIR) / "resources" / "flash_data.csv");
    return records;
}

std::vector<FlashRecord> recordsOfModel(const std::string& model) {
    std::vector<FlashRecord> found;
    for (const FlashRecord& record : shippedRecords()) {
        if (record.fields[1] == model) {
            found.push_back(record);
        }
    }
    return found;
}

class Lookup : public ::testing::Test {
  protected:
    void SetUp() override { form_.Form_Load(); }

    void lookUp(const QString& typed) {
        form_.textBox("Text1")->setText(typed);
        QTest::mouseClick(form_.button("Command1"), Qt::LeftButton);
    }

    QStringList detailBoxes() {
        QStringList texts;
        for (const QLineEdit* box :
             {form_.textBox("Text2"), form_.textBox("Text3"), form_.textBox("Text4"),
              form_.textBox("Text5"), form_.textBox("Text6"), form_.textBox("Text7"),
              form_.textBox("Text8"), form_.textBox("Text9"), form_.textBox("Text10"),
              form_.textBox("Text11"), form_.textBox("Text12"), form_.textBox("Text13")}) {
            texts.append(box->text());
        }
        return texts;
    }

    QString cell(int row, int column) {
        return form_.listView("ListView1")->item(row, column)->text();
    }

    // Every list row against the records the data set holds for the model, in storage order,
    // and the detail boxes against the last of them.
    void expectListShows(const std::vector<FlashRecord>& records) {
        ASSERT_EQ(form_.listView("ListView1")->listItems().count(),
                  static_cast<int>(records.size()));
        for (int row = 0; row < static_cast<int>(records.size()); ++row) {
            const FlashRecord& record = records[static_cast<std::size_t>(row)];
            EXPECT_EQ(cell(row, 0), QString::number(record.id));
            EXPECT_EQ(cell(row, 1), QString::number(row + 1)) << "sequence number";
            for (int field = 13; field <= 22; ++field) {
                EXPECT_EQ(cell(row, field - 11),
                          QString::fromStdString(record.fields[static_cast<std::size_t>(field)]))
                    << "record " << record.id << " field " << field;
            }
        }
        QStringList expectedDetails;
        for (std::size_t field = 1; field <= 12; ++field) {
            expectedDetails.append(QString::fromStdString(records.back().fields[field]));
        }
        EXPECT_EQ(detailBoxes(), expectedDetails);
        EXPECT_EQ(form_.label("Label16")->text(),
                  QStringLiteral("共查到%1个结果！").arg(records.size()));
    }

    ScopedDataHome home_;
    CapturedErrors errors_;
    QtForm1 form_;
};

TEST_F(Lookup, TheTypedModelIsTrimmedAndUpperCasedAndRow57FillsEveryBox) {
    lookUp(QStringLiteral("  k9hcg08u5m  "));

    EXPECT_EQ(form_.textBox("Text1")->text(), QStringLiteral("  k9hcg08u5m  "))
        << "Text1 keeps what was typed";
    ASSERT_EQ(form_.listView("ListView1")->listItems().count(), 1);
    const auto& row57 = norvessa::testing::kRow57;
    const auto text = [&](std::size_t field) { return QString::fromUtf8(row57[field]); };
    QStringList details;
    for (std::size_t field = 1; field <= 12; ++field) {
        details.append(text(field));
    }
    EXPECT_EQ(detailBoxes(), details);
    EXPECT_EQ(cell(0, 0), text(0));
    EXPECT_EQ(cell(0, 1), QStringLiteral("1"));
    for (std::size_t field = 13; field <= 22; ++field) {
        EXPECT_EQ(cell(0, static_cast<int>(field) - 11), text(field)) << "field " << field;
    }
    EXPECT_EQ(form_.label("Label16")->text(), QStringLiteral("共查到1个结果！"));
    EXPECT_TRUE(form_.CurrentItem != nullptr);
    EXPECT_TRUE(errors_.reports().isEmpty());
}

TEST_F(Lookup, EveryRecordOfAModelIsListedAndNoOtherModel) {
    for (const char* model : {"MT29F64G08", "MT29F64G08CBAAA", "K9LEAG8ZUMM", "K9F1G08Q0M"}) {
        SCOPED_TRACE(model);
        lookUp(QString::fromLatin1(model).toLower());
        expectListShows(recordsOfModel(model));
    }
    lookUp(QStringLiteral("MT29F64G08"));
    EXPECT_EQ(form_.listView("ListView1")->listItems().count(), 9);
    lookUp(QStringLiteral("K9F1G08Q0M"));
    for (int column = 2; column < 12; ++column) {
        EXPECT_TRUE(cell(0, column).isEmpty()) << "a row that names no controller";
    }
    EXPECT_TRUE(errors_.reports().isEmpty());
}

// A database kept by hand may hold values with line breaks and leading blanks: they reach their
// cells and boxes unchanged.
TEST_F(Lookup, LineBreaksAndLeadingBlanksInValuesReachTheirCellsAndBoxesUnchanged) {
    namespace fixture = norvessa::query::testing;
    FlashRecord record;
    record.id = 12;
    record.fields = {"12",
                     "K9GAG08U0E",
                     "Samsung 三星",
                     "2GB",
                     "MLC-8K",
                     "8bit",
                     "1CE",
                     "EC D5 84 72 50 42",
                     "27nm",
                     "24b/1KB",
                     "2.7-3.6V\r\n",
                     " 第二代芯片",
                     "",
                     "\r\nSM3257AA",
                     "",
                     "",
                     "AU6989\r\n"};
    auto database = fixture::lookupDatabase(
        {{record.id, std::vector<std::string>(record.fields.begin() + 1, record.fields.end())}});
    database.password = std::to_string(norvessa::resources::kDatabasePassword);
    fixture::writeDatabaseFile(home_.databaseFile(), database);

    lookUp(QStringLiteral("k9gag08u0e"));
    expectListShows({record});
    EXPECT_TRUE(errors_.reports().isEmpty());
}

TEST_F(Lookup, NoMatchEmptiesTheListAndKeepsTheDetailBoxes) {
    lookUp(QStringLiteral("K9HCG08U5M"));
    const QStringList shown = detailBoxes();
    for (const QString& typed : {QStringLiteral("NOSUCHMODEL"), QStringLiteral("   "), QString(),
                                 QStringLiteral("K9HCG08U5"), QStringLiteral(" K9HCG08U5M X")}) {
        lookUp(typed);
        EXPECT_EQ(form_.listView("ListView1")->listItems().count(), 0) << typed.toStdString();
        EXPECT_EQ(form_.label("Label16")->text(), QStringLiteral("共查到0个结果！"));
        EXPECT_EQ(detailBoxes(), shown);
    }
    EXPECT_TRUE(errors_.reports().isEmpty());
}

TEST_F(Lookup, HostileInputFindsNothingAndBreaksNothing) {
    const QString tenMegabytes(10 * 1024 * 1024, QLatin1Char('A'));
    for (const QString& typed :
         {QStringLiteral("'"), QStringLiteral("' or '1'='1"), QStringLiteral("K9HCG08U5M' --"),
          QStringLiteral("[velthorn42]"), QStringLiteral("😀𠀀K9"), tenMegabytes}) {
        lookUp(typed);
        EXPECT_EQ(form_.listView("ListView1")->listItems().count(), 0);
        EXPECT_EQ(form_.label("Label16")->text(), QStringLiteral("共查到0个结果！"));
    }
    EXPECT_TRUE(errors_.reports().isEmpty())
        << errors_.reports().first().report.detail.toStdString();
    lookUp(QStringLiteral("K9HCG08U5M"));
    EXPECT_EQ(form_.listView("ListView1")->listItems().count(), 1) << "the window still works";
}

TEST_F(Lookup, OnlyTheButtonStartsALookupAndItReusesItsObjects) {
    form_.textBox("Text1")->setText(QStringLiteral("K9HCG08U5M"));
    QTest::keyClick(form_.textBox("Text1"), Qt::Key_Return);
    EXPECT_EQ(form_.listView("ListView1")->listItems().count(), 0);
    EXPECT_EQ(form_.DbConnection, nullptr) << "Enter in Text1 starts nothing";

    QTest::mouseClick(form_.button("Command1"), Qt::LeftButton);
    const norvessa::ado::Connection* firstConnection = form_.DbConnection.get();
    const norvessa::ado::Recordset* firstRecordset = form_.DbRecordset.get();
    ASSERT_NE(firstConnection, nullptr);
    EXPECT_EQ(form_.DbConnection->State(), norvessa::ado::adStateClosed);
    EXPECT_EQ(form_.DbRecordset->State(), norvessa::ado::adStateClosed);

    lookUp(QStringLiteral("MT29F64G08"));
    EXPECT_EQ(form_.DbConnection.get(), firstConnection);
    EXPECT_EQ(form_.DbRecordset.get(), firstRecordset);
    EXPECT_EQ(form_.listView("ListView1")->listItems().count(), 9);
}

TEST_F(Lookup, ADamagedOrMissingDatabaseIsReportedAndTheNextStartRestoresIt) {
    lookUp(QStringLiteral("K9HCG08U5M"));
    const QStringList shown = detailBoxes();

    const QString file = QString::fromStdString(home_.databaseFile().string());
    std::filesystem::remove(home_.databaseFile());
    lookUp(QStringLiteral("MT29F64G08"));
    ASSERT_EQ(errors_.reports().size(), 1);
    EXPECT_TRUE(errors_.reports()[0].report.detail.contains(QStringLiteral("zuzivive.ss")))
        << errors_.reports()[0].report.detail.toStdString();
    EXPECT_TRUE(
        errors_.reports()[0].report.reason.startsWith(QStringLiteral("数据库文件不存在：") + file))
        << errors_.reports()[0].report.reason.toStdString();
    EXPECT_EQ(form_.DbConnection->State(), norvessa::ado::adStateClosed);

    writeWholeFile(home_.databaseFile(), std::string(954368, '\x5A'));
    lookUp(QStringLiteral("MT29F64G08"));
    ASSERT_EQ(errors_.reports().size(), 2);
    EXPECT_TRUE(errors_.reports()[1].report.reason.contains(QStringLiteral("已损坏")))
        << errors_.reports()[1].report.reason.toStdString();
    EXPECT_TRUE(errors_.reports()[1].report.reason.contains(file));

    // The carried image with another database password: the page holding the password is
    // masked with a fixed key, so changing one masked byte changes the stored password.
    std::string otherPassword = carriedDatabaseImage();
    ASSERT_GT(otherPassword.size(), 0x43U);
    otherPassword[0x42] = static_cast<char>(otherPassword[0x42] ^ 0x01);
    writeWholeFile(home_.databaseFile(), otherPassword);
    lookUp(QStringLiteral("MT29F64G08"));
    ASSERT_EQ(errors_.reports().size(), 3);
    EXPECT_TRUE(errors_.reports()[2].report.reason.contains(QStringLiteral("密码不对")))
        << errors_.reports()[2].report.reason.toStdString() << " / "
        << errors_.reports()[2].report.detail.toStdString();
    EXPECT_EQ(form_.DbConnection->State(), norvessa::ado::adStateClosed);
    EXPECT_EQ(form_.DbRecordset->State(), norvessa::ado::adStateClosed);
    EXPECT_EQ(detailBoxes(), shown) << "a failed lookup leaves the detail boxes alone";

    QtForm1 restarted;
    restarted.Form_Load();
    restarted.textBox("Text1")->setText(QStringLiteral("MT29F64G08"));
    QTest::mouseClick(restarted.button("Command1"), Qt::LeftButton);
    EXPECT_EQ(restarted.listView("ListView1")->listItems().count(), 9);
    lookUp(QStringLiteral("MT29F64G08"));
    EXPECT_EQ(form_.listView("ListView1")->listItems().count(), 9)
        << "the first window works again too";
    EXPECT_EQ(errors_.reports().size(), 3);
}

}  // namespace
