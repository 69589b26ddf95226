// The lookup: the query button's handler opens the connection, runs the statement for the typed
// model, lists every matching record and closes the connection again.

#include <exception>
#include <string>

#include "main_window/database_location.h"
#include "main_window/failure_reasons.h"
#include "main_window/form1.h"
#include "main_window/form1_layout.h"
#include "platform/jet/value.h"
#include "resources/database_image.h"

namespace norvessa::main_window {
namespace {

std::string fieldText(const ado::Recordset& recordset, std::int16_t ordinal) {
    return jet::toText(recordset.Fields().Item(ordinal).Value());
}

// Removes the blanks at both ends, as the lookup's model key wants; other white space stays.
std::string trimBlanks(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

// An apostrophe in the key is doubled so that it is compared literally instead of ending the
// quoted text early.
std::string quoted(const std::string& key) {
    std::string doubled;
    for (const char character : key) {
        doubled += character;
        if (character == '\'') {
            doubled += '\'';
        }
    }
    return doubled;
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
    const std::string modelKey = frontEnd_.upperCase(trimBlanks(Text1.text()));
    try {
        Con();
        const std::string statement =
            "select * from velthorn42 where FLASH型号 ='" + quoted(modelKey) + " '";
        recordset().Open(statement, connection(), ado::adOpenStatic, ado::adLockOptimistic,
                         ado::adCmdUnspecified);
        FillResultList();
    } catch (...) {
        // A failed lookup leaves nothing open, so the next click starts afresh; the error goes
        // on, explained for the user, to the event dispatch, which reports it.
        closeQuietly();
        std::throw_with_nested(
            controls::ExplainedError(lookupFailureReason(std::current_exception())));
    }
}

void Form1::FillResultList() {
    ado::Recordset& records = recordset();
    ListView1.clearItems();
    while (!records.EndOfFile()) {
        AddResultRow();
        records.MoveNext();
    }
    Label16.setCaption("共查到" + std::to_string(ListView1.itemCount()) + "个结果！");
    records.Close();
    connection().Close();
}

void Form1::AddResultRow() {
    const ado::Recordset& records = recordset();
    CurrentItem = ListView1.addItem(fieldText(records, 0));
    CurrentItem->setSubItem(1, std::to_string(ListView1.itemCount()));
    for (std::int16_t field = 1; field <= 12; ++field) {
        window_->textBox(kTextBoxNames[static_cast<std::size_t>(field)])
            .setText(fieldText(records, field));
    }
    for (std::int16_t field = 13; field <= 22; ++field) {
        CurrentItem->setSubItem(static_cast<std::int16_t>(field - 11), fieldText(records, field));
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
