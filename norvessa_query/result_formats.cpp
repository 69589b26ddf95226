#include "norvessa_query/result_formats.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/text/utf8.h"

namespace norvessa::query {

namespace {

struct CodePointRange {
    char32_t first;
    char32_t last;
};

// East Asian Wide (W) and Fullwidth (F) blocks, coarse but covering every character the lookup
// data and Chinese text use.
constexpr std::array<CodePointRange, 17> kWideRanges{{
    {0x1100, 0x115F},    // Hangul Jamo initials
    {0x2E80, 0x303E},    // CJK radicals, Kangxi radicals, CJK symbols and punctuation
    {0x3041, 0x33FF},    // kana, bopomofo, Hangul compatibility jamo, CJK compatibility
    {0x3400, 0x4DBF},    // CJK unified ideographs extension A
    {0x4E00, 0x9FFF},    // CJK unified ideographs
    {0xA000, 0xA4CF},    // Yi
    {0xA960, 0xA97F},    // Hangul Jamo extended A
    {0xAC00, 0xD7A3},    // Hangul syllables
    {0xF900, 0xFAFF},    // CJK compatibility ideographs
    {0xFE10, 0xFE19},    // vertical forms
    {0xFE30, 0xFE6F},    // CJK compatibility forms, small form variants
    {0xFF00, 0xFF60},    // full-width ASCII forms
    {0xFFE0, 0xFFE6},    // full-width signs
    {0x1F300, 0x1F64F},  // pictographs and emoticons
    {0x1F900, 0x1F9FF},  // supplemental pictographs
    {0x20000, 0x2FFFD},  // CJK extensions B to F, compatibility supplement
    {0x30000, 0x3FFFD},  // CJK extension G and later
}};

constexpr std::array<CodePointRange, 5> kZeroWidthRanges{{
    {0x0300, 0x036F},  // combining diacritical marks
    {0x200B, 0x200F},  // zero-width space, joiners, direction marks
    {0x20D0, 0x20FF},  // combining marks for symbols
    {0xFE00, 0xFE0F},  // variation selectors
    {0xFE20, 0xFE2F},  // combining half marks
}};

template <std::size_t Size>
bool inRanges(const std::array<CodePointRange, Size>& ranges, char32_t codePoint) {
    return std::any_of(ranges.begin(), ranges.end(), [codePoint](const CodePointRange& range) {
        return codePoint >= range.first && codePoint <= range.last;
    });
}

}  // namespace

std::size_t displayWidth(std::string_view utf8) {
    std::size_t width = 0;
    std::size_t index = 0;
    while (index < utf8.size()) {
        const text::Utf8Sequence sequence = text::decodeUtf8At(utf8, index);
        if (!sequence.wellFormed) {
            width += 1;
            index += 1;  // the following bytes may begin a character of their own
            continue;
        }
        if (inRanges(kWideRanges, sequence.codePoint)) {
            width += 2;
        } else if (!inRanges(kZeroWidthRanges, sequence.codePoint)) {
            width += 1;
        }
        index += sequence.length;
    }
    return width;
}

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

void writeResult(std::ostream& out, const ResultTable& result, OutputFormat format) {
    switch (format) {
        case OutputFormat::Table:
            writeTable(out, result);
            return;
        case OutputFormat::Csv:
            writeCsv(out, result);
            return;
        case OutputFormat::Json:
            writeJson(out, result);
            return;
    }
}

}  // namespace norvessa::query
