#include "platform/ado/recordset.h"

#include <string>

#include "platform/ado/ado_error.h"
#include "platform/ado/connection.h"
#include "platform/jet/errors.h"
#include "platform/sql/parser.h"
#include "platform/sql/sql_error.h"

namespace norvessa::ado {

void Recordset::CursorLocation(CursorLocationEnum location) {
    if (snapshot_) {
        throw AdoError("Recordset.CursorLocation: cannot be changed while the record set is open");
    }
    cursorLocation_ = location;
}

void Recordset::Open(std::string_view source, const Connection& activeConnection,
                     CursorTypeEnum /*cursorType*/, LockTypeEnum /*lockType*/,
                     CommandTypeEnum /*options*/) {
    if (snapshot_) {
        throw AdoError("Recordset.Open: the record set is already open");
    }
    if (cursorLocation_ != adUseClient) {
        throw AdoError(
            "Recordset.Open: only client-side cursors are supported; set CursorLocation to "
            "adUseClient first");
    }
    const jet::Database& database = activeConnection.openDatabase("Recordset.Open");
    const auto cannotRun = [&](const char* reason, AdoErrorCause cause,
                               std::optional<jet::ErrorKind> engineKind = std::nullopt) {
        return AdoError("cannot run the statement \"" + std::string(source) + "\": " + reason,
                        cause, engineKind);
    };
    try {
        snapshot_ = takeSnapshot(database, sql::parseSelect(source));
    } catch (const sql::SqlError& error) {
        throw cannotRun(error.what(), AdoErrorCause::Statement);
    } catch (const jet::JetError& error) {
        // A table or column that the file lacks is the statement's fault; the rest is the file's.
        const bool statementFault = error.kind() == jet::ErrorKind::NotFound ||
                                    error.kind() == jet::ErrorKind::InvalidArgument;
        throw cannotRun(error.what(),
                        statementFault ? AdoErrorCause::Statement : AdoErrorCause::Engine,
                        error.kind());
    } catch (const AdoError& error) {
        throw cannotRun(error.what(), AdoErrorCause::Statement);
    }
    current_ = 0;
}

bool Recordset::EndOfFile() const {
    return current_ >= openSnapshot("Recordset.EOF").rows.size();
}

void Recordset::MoveNext() {
    if (current_ >= openSnapshot("Recordset.MoveNext").rows.size()) {
        throw AdoError("Recordset.MoveNext: the record set is already past its last record");
    }
    ++current_;
}

void Recordset::Close() {
    if (!snapshot_) {
        throw AdoError("Recordset.Close: the record set is not open");
    }
    snapshot_.reset();
    current_ = 0;
}

const jet::Value& Recordset::currentValue(std::int16_t ordinal) const {
    const Snapshot& snapshot = openSnapshot("Fields.Item");
    if (current_ >= snapshot.rows.size()) {
        throw AdoError("Fields.Item: there is no current record; the record set is at its end");
    }
    if (ordinal < 0 || static_cast<std::size_t>(ordinal) >= snapshot.fieldCount) {
        throw AdoError("Fields.Item: no field with ordinal " + std::to_string(ordinal) +
                       "; the record set has " + std::to_string(snapshot.fieldCount) + " fields");
    }
    return snapshot.rows[current_][static_cast<std::size_t>(ordinal)];
}

const Snapshot& Recordset::openSnapshot(std::string_view operation) const {
    if (!snapshot_) {
        throw AdoError(std::string(operation) + ": the record set is not open");
    }
    return *snapshot_;
}

}  // namespace norvessa::ado
