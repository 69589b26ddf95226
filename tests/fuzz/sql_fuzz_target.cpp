// libFuzzer entry for the statement parser. Any bytes must either parse or be refused with a
// SqlError pointing inside the statement (or just past its end). A parsed query, written back
// with every name in brackets and the literal re-quoted, must parse to the same query: that
// checks the '' escapes and the bracket rules from both sides.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/sql/parser.h"
#include "platform/sql/sql_error.h"

namespace {

std::string quoted(const std::string& text) {
    std::string result = "'";
    for (char c : text) {
        result += c;
        if (c == '\'') {
            result += '\'';
        }
    }
    return result + "'";
}

std::string writtenBack(const norvessa::sql::SelectQuery& query) {
    return "select * from [" + query.table + "] where [" + query.condition.column +
           "] = " + quoted(query.condition.text);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view statement(reinterpret_cast<const char*>(data), size);
    try {
        const norvessa::sql::SelectQuery query = norvessa::sql::parseSelect(statement);
        if (query.table.empty() || query.condition.column.empty() ||
            norvessa::sql::parseSelect(writtenBack(query)) != query) {
            std::abort();
        }
    } catch (const norvessa::sql::SqlError& error) {
        if (error.position() < 1 || error.position() > size + 1) {
            std::abort();
        }
    }
    return 0;
}
