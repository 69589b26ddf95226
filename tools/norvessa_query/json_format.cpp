#include <string>

#include "tools/norvessa_query/result_formats.h"

namespace norvessa::query {

namespace {

// Appends to a line that is written whole, which keeps the stream's per-call cost out of the
// character loop.
void appendString(std::string& out, std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789abcdef";
    out += '"';
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        switch (character) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\b':
                out += "\\b";
                break;
            case '\f':
                out += "\\f";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (byte < 0x20) {
                    out += "\\u00";
                    out += kHexDigits[byte >> 4];
                    out += kHexDigits[byte & 0x0F];
                } else {
                    out += character;
                }
        }
    }
    out += '"';
}

void appendValue(std::string& out, const Cell& cell) {
    switch (cell.kind) {
        case Cell::Kind::Integer:
            out += cell.text;
            return;
        case Cell::Kind::Null:
            out += "null";
            return;
        case Cell::Kind::Text:
            appendString(out, cell.text);
            return;
    }
}

}  // namespace

void writeJson(std::ostream& out, const ResultTable& result) {
    if (result.rows.empty()) {
        out << "[]\n";
        return;
    }
    out << "[\n";
    std::string line;
    for (std::size_t row = 0; row < result.rows.size(); ++row) {
        line = "  {";
        for (std::size_t column = 0; column < result.columns.size(); ++column) {
            if (column > 0) {
                line += ", ";
            }
            appendString(line, result.columns[column]);
            line += ": ";
            appendValue(line, result.rows[row][column]);
        }
        line += row + 1 < result.rows.size() ? "},\n" : "}\n";
        out << line;
    }
    out << "]\n";
}

}  // namespace norvessa::query
