#pragma once

// ADO's Connection over the Jet 4.0 provider: Open reads the database file named by the
// connection string and checks its database password; Close lets go of the file. A closed
// connection can be opened again.

#include <optional>
#include <string_view>

#include "platform/ado/ado_constants.h"
#include "platform/jet/database.h"

namespace norvessa::ado {

class Recordset;

class Connection {
  public:
    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // userId and password are Jet's user-level security, which is not supported: both must be
    // empty; the database password travels in the connection string. Throws AdoError when the
    // connection is already open, the string is refused or the database cannot be opened.
    void Open(std::string_view connectionString, std::string_view userId, std::string_view password,
              ConnectOptionEnum options);
    // Throws AdoError when the connection is not open.
    void Close();
    ObjectStateEnum State() const { return database_ ? adStateOpen : adStateClosed; }

  private:
    friend class Recordset;
    // Throws AdoError naming `operation` when the connection is closed.
    const jet::Database& openDatabase(std::string_view operation) const;

    std::optional<jet::Database> database_;
};

}  // namespace norvessa::ado
