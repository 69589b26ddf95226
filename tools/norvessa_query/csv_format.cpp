#include <string>

#include "tools/norvessa_query/result_formats.h"

namespace norvessa::query {

namespace {

void writeField(std::ostream& out, std::string_view field) {
    if (field.find_first_of(",\"\r\n") == std::string_view::npos) {
        out << field;
        return;
    }
    out << '"';
    for (const char character : field) {
        if (character == '"') {
            out << '"';
        }
        out << character;
    }
    out << '"';
}

template <typename Fields, typename TextOf>
void writeRecord(std::ostream& out, const Fields& fields, TextOf textOf) {
    bool first = true;
    for (const auto& field : fields) {
        if (!first) {
            out << ',';
        }
        first = false;
        writeField(out, textOf(field));
    }
    out << "\r\n";
}

}  // namespace

void writeCsv(std::ostream& out, const ResultTable& result) {
    writeRecord(out, result.columns,
                [](const std::string& name) -> std::string_view { return name; });
    for (const auto& row : result.rows) {
        writeRecord(out, row, [](const Cell& cell) -> std::string_view { return cell.text; });
    }
}

}  // namespace norvessa::query
