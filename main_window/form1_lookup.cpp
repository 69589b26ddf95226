// The lookup: the query button's handler opens the connection, runs the statement for the typed
// model, lists every matching record and closes the connection again.

#include <QString>
#include <exception>
#include <string>

#include "main_window/database_location.h"
#include "main_window/failure_reasons.h"
#include "main_window/form1.h"
#include "platform/gui/error_report.h"
#include "platform/jet/value.h"
#include "resources/database_image.h"

namespace norvessa::main_window {
namespace {

QString fieldText(const ado::Recordset& recordset, std::int16_t ordinal) {
    return QString::fromStdString(jet::toText(recordset.Fields().Item(ordinal).Value()));
}

// Removes the blanks at both ends, as the lookup's model key wants; other white space stays.
QString trimBlanks(const QString& text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == QLatin1Char(' ')) {
        ++first;
    }
    while (last > first && text.at(last - 1) == QLatin1Char(' ')) {
        --last;
    }
    return text.mid(first, last - first);
}

}  // namespace

ado::Connection& Form1::connection() {
    if (!DbConnection) {
        DbConnection = std::make_unique<ado::Connection>();
    }
    return *DbConnection;
}

ado::Recordset& Form1::recordset() {
    if (!DbRecordset) {
        DbRecordset = std::make_unique<ado::Recordset>();
    }
    return *DbRecordset;
}

void Form1::Con() {
    const std::string connectionString =
        "Provider=Microsoft.Jet.OLEDB.4.0;Data Source=" + std::string(kDatabaseFolder) +
        std::string(kDatabaseFileName) +
        ";persist security info=false; jet oledb:database password=" +
        std::to_string(resources::kDatabasePassword) + " ; ";
    connection().Open(connectionString, "", "", ado::adConnectUnspecified);
    recordset().CursorLocation(ado::adUseClient);
}

void Form1::Command1_Click() {
    const QString modelKey = trimBlanks(Text1->text()).toUpper();
    try {
        Con();
        // An apostrophe in the key is doubled so that it is compared literally instead of
        // ending the quoted text early.
        QString quotedKey = modelKey;
        quotedKey.replace(QLatin1Char('\''), QStringLiteral("''"));
        const std::string statement =
            "select * from velthorn42 where FLASH型号 ='" + quotedKey.toStdString() + " '";
        recordset().Open(statement, connection(), ado::adOpenStatic, ado::adLockOptimistic,
                         ado::adCmdUnspecified);
        FillResultList();
    } catch (...) {
        // A failed lookup leaves nothing open, so the next click starts afresh; the error goes
        // on, explained for the user, to the event dispatch, which reports it.
        closeQuietly();
        std::throw_with_nested(
            platform::ExplainedError(lookupFailureReason(std::current_exception())));
    }
}

void Form1::FillResultList() {
    ado::Recordset& records = recordset();
    ListView1->listItems().clear();
    while (!records.EndOfFile()) {
        AddResultRow();
        records.MoveNext();
    }
    Label16->setCaption(QStringLiteral("共查到") + QString::number(ListView1->listItems().count()) +
                        QStringLiteral("个结果！"));
    records.Close();
    connection().Close();
}

void Form1::AddResultRow() {
    const ado::Recordset& records = recordset();
    CurrentItem = ListView1->listItems().add(fieldText(records, 0));
    CurrentItem->setSubItem(1, QString::number(ListView1->listItems().count()));
    QLineEdit* const detailBoxes[] = {Text2, Text3, Text4,  Text5,  Text6,  Text7,
                                      Text8, Text9, Text10, Text11, Text12, Text13};
    for (std::int16_t field = 1; field <= 12; ++field) {
        QLineEdit* box = detailBoxes[field - 1];
        box->setText(fieldText(records, field));
        // A value longer than its box shows its start, as a text box given a new text does.
        box->setCursorPosition(0);
    }
    for (std::int16_t field = 13; field <= 22; ++field) {
        CurrentItem->setSubItem(field - 11, fieldText(records, field));
    }
}

void Form1::closeQuietly() noexcept {
    try {
        if (DbRecordset && DbRecordset->State() == ado::adStateOpen) {
            DbRecordset->Close();
        }
        if (DbConnection && DbConnection->State() == ado::adStateOpen) {
            DbConnection->Close();
        }
    } catch (const std::exception&) {
        // Closing an object that is known to be open does not fail; nothing is left to undo.
    }
}

}  // namespace norvessa::main_window
