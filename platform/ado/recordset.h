#pragma once

// ADO's Recordset with a client-side, static cursor: Open runs the statement on an open
// connection and keeps a copy of the matching rows, so the record set does not need the
// connection afterwards. After Open it stands on the first record, or at the end when nothing
// matched. A closed record set can be opened again.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/ado/ado_constants.h"
#include "platform/ado/fields.h"
#include "platform/ado/snapshot.h"

namespace norvessa::ado {

class Connection;

class Recordset {
  public:
    Recordset() = default;
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    CursorLocationEnum CursorLocation() const { return cursorLocation_; }
    // Throws AdoError while the record set is open.
    void CursorLocation(CursorLocationEnum location);

    // Runs `source`, a statement the parser in platform/sql accepts, on `activeConnection`.
    // The record set is always a static snapshot that nothing writes to, whatever cursor and
    // lock type are asked for. Throws AdoError when the record set is open, the cursor is not
    // client-side, the connection is closed or the statement cannot be run.
    void Open(std::string_view source, const Connection& activeConnection,
              CursorTypeEnum cursorType, LockTypeEnum lockType, CommandTypeEnum options);

    // ADO's EOF, under the name C++ imports of ADO give it, since <cstdio> defines EOF as a
    // macro. True once past the last record. Throws AdoError when closed.
    bool EndOfFile() const;
    // Throws AdoError when closed or already at the end.
    void MoveNext();
    ado::Fields Fields() const { return ado::Fields(*this); }
    // Throws AdoError when not open.
    void Close();
    ObjectStateEnum State() const { return snapshot_ ? adStateOpen : adStateClosed; }

  private:
    friend class ado::Fields;
    // The value at `ordinal` of the current record, for Fields::Item.
    const jet::Value& currentValue(std::int16_t ordinal) const;
    const Snapshot& openSnapshot(std::string_view operation) const;

    CursorLocationEnum cursorLocation_ = adUseServer;
    std::optional<Snapshot> snapshot_;
    std::size_t current_ = 0;
};

}  // namespace norvessa::ado
