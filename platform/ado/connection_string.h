#pragma once

// Connection strings: "key=value;key=value;...". Keys are compared without regard to letter
// case, blanks around keys and values are not part of them, and an empty last pair (after a
// closing ";") is ignored. Values are taken as they stand: no quoting.

#include <string>
#include <string_view>
#include <vector>

namespace norvessa::ado {

struct ConnectionStringPair {
    std::string key;  // as written, blanks removed
    std::string value;

    friend bool operator==(const ConnectionStringPair&, const ConnectionStringPair&) = default;
};

// Throws AdoError for an empty pair before the last, a pair without "=" or with an empty key.
std::vector<ConnectionStringPair> splitConnectionString(std::string_view text);

// What a connection to a Jet database needs from its connection string.
struct JetConnectionSettings {
    std::string dataSource;        // a Windows path, as written
    std::string databasePassword;  // empty when the string gives none
};

inline constexpr std::string_view kJetProvider = "Microsoft.Jet.OLEDB.4.0";

// Reads the keys Provider (must be Microsoft.Jet.OLEDB.4.0), Data Source (required), Persist
// Security Info (True or False) and Jet OLEDB:Database Password. Throws AdoError for any other
// key, a key given twice, or a missing or unusable value. Messages never quote the password.
JetConnectionSettings readJetConnectionString(std::string_view text);

}  // namespace norvessa::ado
