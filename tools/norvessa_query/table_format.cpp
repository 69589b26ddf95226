#include <algorithm>
#include <string>
#include <vector>

#include "tools/norvessa_query/display_width.h"
#include "tools/norvessa_query/result_formats.h"

namespace norvessa::query {

namespace {

constexpr std::string_view kColumnGap = "  ";

// Control characters would break the alignment and the one-line-per-record layout.
std::string visibleText(std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::string visible;
    visible.reserve(text.size());
    for (const char character : text) {
        const auto byte = static_cast<unsigned char>(character);
        if (character == '\r') {
            visible += "\\r";
        } else if (character == '\n') {
            visible += "\\n";
        } else if (character == '\t') {
            visible += "\\t";
        } else if (byte < 0x20 || byte == 0x7F) {
            visible += "\\x";
            visible += kHexDigits[byte >> 4];
            visible += kHexDigits[byte & 0x0F];
        } else {
            visible += character;
        }
    }
    return visible;
}

struct ShownCell {
    std::string text;
    std::size_t width = 0;  // terminal cells
};

ShownCell shown(std::string_view value) {
    ShownCell cell{visibleText(value), 0};
    cell.width = displayWidth(cell.text);
    return cell;
}

struct ColumnLayout {
    std::size_t width = 0;
    bool alignRight = false;
};

void writeLine(std::ostream& out, const std::vector<ShownCell>& cells,
               const std::vector<ColumnLayout>& layout) {
    std::string line;
    for (std::size_t column = 0; column < cells.size(); ++column) {
        const std::string padding(layout[column].width - cells[column].width, ' ');
        if (column > 0) {
            line += kColumnGap;
        }
        if (layout[column].alignRight) {
            line += padding + cells[column].text;
        } else {
            line += cells[column].text + padding;
        }
    }
    line.erase(line.find_last_not_of(' ') + 1);
    line += '\n';
    out << line;
}

}  // namespace

void writeTable(std::ostream& out, const ResultTable& result) {
    std::vector<std::vector<ShownCell>> lines;
    lines.reserve(result.rows.size() + 1);
    std::vector<ShownCell>& header = lines.emplace_back();
    for (const auto& name : result.columns) {
        header.push_back(shown(name));
    }
    std::vector<ColumnLayout> layout(result.columns.size(), {0, !result.rows.empty()});
    for (const auto& row : result.rows) {
        std::vector<ShownCell>& cells = lines.emplace_back();
        cells.reserve(row.size());
        for (std::size_t column = 0; column < row.size(); ++column) {
            cells.push_back(shown(row[column].text));
            layout[column].alignRight =
                layout[column].alignRight && row[column].kind == Cell::Kind::Integer;
        }
    }
    for (const auto& cells : lines) {
        for (std::size_t column = 0; column < cells.size(); ++column) {
            layout[column].width = std::max(layout[column].width, cells[column].width);
        }
    }
    writeLine(out, lines.front(), layout);
    std::vector<ShownCell> rule;
    for (const auto& column : layout) {
        rule.push_back({std::string(column.width, '-'), column.width});
    }
    writeLine(out, rule, layout);
    for (std::size_t line = 1; line < lines.size(); ++line) {
        writeLine(out, lines[line], layout);
    }
}

}  // namespace norvessa::query
