#include "norvessa_query/result_formats.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/json/json_writer.h"
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
        if (static_cast<unsigned char>(utf8[index]) < 0x80) {
            width += 1;
            index += 1;
            continue;
        }
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
// Output is gathered in a buffer and written in pieces of about this size, which keeps the
// stream's per-call cost out of the loops over fields and characters.
constexpr std::size_t kWriteChunk = 64 * 1024;

void flushIfFull(std::ostream& out, std::string& buffer) {
    if (buffer.size() >= kWriteChunk) {
        out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
        buffer.clear();
    }
}

void flush(std::ostream& out, std::string& buffer) {
    out.write(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    buffer.clear();
}

bool isControl(char character) {
    const auto byte = static_cast<unsigned char>(character);
    return byte < 0x20 || byte == 0x7F;
}

// Control characters would break the alignment and the one-line-per-record layout.
void appendVisible(std::string& out, std::string_view text) {
    static constexpr char kHexDigits[] = "0123456789ABCDEF";
    std::size_t runStart = 0;
    for (std::size_t index = 0; index < text.size(); ++index) {
        const char character = text[index];
        if (!isControl(character)) {
            continue;
        }
        out.append(text.substr(runStart, index - runStart));
        runStart = index + 1;
        if (character == '\r') {
            out += "\\r";
        } else if (character == '\n') {
            out += "\\n";
        } else if (character == '\t') {
            out += "\\t";
        } else {
            const auto byte = static_cast<unsigned char>(character);
            out += "\\x";
            out += kHexDigits[byte >> 4];
            out += kHexDigits[byte & 0x0F];
        }
    }
    out.append(text.substr(runStart));
}

// A value as the table shows it: the terminal cells it takes, and whether it holds no control
// character, so that it is shown as it is.
struct CellShape {
    std::size_t width = 0;
    bool plain = true;
};

CellShape shapeOf(std::string_view value) {
    // Most values are printable ASCII, one cell a byte.
    const auto printableAscii = [](char character) {
        return static_cast<unsigned char>(character - 0x20) < 0x5F;
    };
    if (std::all_of(value.begin(), value.end(), printableAscii)) {
        return {value.size(), true};
    }
    if (std::any_of(value.begin(), value.end(), isControl)) {
        std::string visible;
        appendVisible(visible, value);
        return {displayWidth(visible), false};
    }
    return {displayWidth(value), true};
}

struct ColumnLayout {
    std::size_t width = 0;
    bool alignRight = false;
};

// One line of the table: each cell padded to its column's width, without trailing blanks. The
// line is written into room made for it at once, not piece by piece.
template <typename TextOf>
void appendLine(std::string& out, std::size_t cellCount, TextOf textOf, const CellShape* shapes,
                const std::vector<ColumnLayout>& layout) {
    std::string visible;
    std::size_t room = 1;
    for (std::size_t column = 0; column < cellCount; ++column) {
        room += kColumnGap.size() + layout[column].width - shapes[column].width +
                textOf(column).size() * (shapes[column].plain ? 1 : 4);
    }
    const std::size_t lineStart = out.size();
    out.resize(lineStart + room);
    char* const begin = out.data() + lineStart;
    char* at = begin;
    for (std::size_t column = 0; column < cellCount; ++column) {
        if (column > 0) {
            at = std::copy(kColumnGap.begin(), kColumnGap.end(), at);
        }
        const std::size_t padding = layout[column].width - shapes[column].width;
        if (layout[column].alignRight) {
            at = std::fill_n(at, padding, ' ');
        }
        std::string_view text = textOf(column);
        if (!shapes[column].plain) {
            visible.clear();
            appendVisible(visible, text);
            text = visible;
        }
        at = std::copy(text.begin(), text.end(), at);
        if (!layout[column].alignRight) {
            at = std::fill_n(at, padding, ' ');
        }
    }
    while (at > begin && at[-1] == ' ') {
        --at;
    }
    *at++ = '\n';
    out.resize(static_cast<std::size_t>(at - out.data()));
}

}  // namespace

void writeTable(std::ostream& out, const ResultTable& result) {
    const std::size_t columns = result.columns.size();
    // Every cell's shape, the header's first, row after row.
    std::vector<CellShape> shapes;
    shapes.reserve((result.rows.size() + 1) * columns);
    std::vector<ColumnLayout> layout(columns, {0, !result.rows.empty()});
    for (std::size_t column = 0; column < columns; ++column) {
        shapes.push_back(shapeOf(result.columns[column]));
        layout[column].width = shapes.back().width;
    }
    for (const auto& row : result.rows) {
        for (std::size_t column = 0; column < columns; ++column) {
            shapes.push_back(shapeOf(row[column].text));
            layout[column].width = std::max(layout[column].width, shapes.back().width);
            layout[column].alignRight =
                layout[column].alignRight && row[column].kind == Cell::Kind::Integer;
        }
    }
    std::string buffer;
    appendLine(
        buffer, columns,
        [&](std::size_t column) -> std::string_view { return result.columns[column]; },
        shapes.data(), layout);
    std::vector<std::string> rule;
    std::vector<CellShape> ruleShapes;
    for (const auto& column : layout) {
        rule.emplace_back(column.width, '-');
        ruleShapes.push_back({column.width, true});
    }
    appendLine(
        buffer, columns, [&](std::size_t column) -> std::string_view { return rule[column]; },
        ruleShapes.data(), layout);
    for (std::size_t row = 0; row < result.rows.size(); ++row) {
        const std::vector<Cell>& cells = result.rows[row];
        appendLine(
            buffer, columns,
            [&](std::size_t column) -> std::string_view { return cells[column].text; },
            shapes.data() + (row + 1) * columns, layout);
        flushIfFull(out, buffer);
    }
    flush(out, buffer);
}

namespace {

bool needsQuotes(std::string_view field) {
    return std::any_of(field.begin(), field.end(), [](char character) {
        return character == ',' || character == '"' || character == '\r' || character == '\n';
    });
}

void appendField(std::string& out, std::string_view field) {
    if (!needsQuotes(field)) {
        out += field;
        return;
    }
    out += '"';
    for (const char character : field) {
        if (character == '"') {
            out += '"';
        }
        out += character;
    }
    out += '"';
}

template <typename Fields, typename TextOf>
void appendRecord(std::string& out, const Fields& fields, TextOf textOf) {
    bool first = true;
    for (const auto& field : fields) {
        if (!first) {
            out += ',';
        }
        first = false;
        appendField(out, textOf(field));
    }
    out += "\r\n";
}

}  // namespace

void writeCsv(std::ostream& out, const ResultTable& result) {
    std::string buffer;
    appendRecord(buffer, result.columns,
                 [](const std::string& name) -> std::string_view { return name; });
    for (const auto& row : result.rows) {
        appendRecord(buffer, row, [](const Cell& cell) -> std::string_view { return cell.text; });
        flushIfFull(out, buffer);
    }
    flush(out, buffer);
}

namespace {

void writeCell(json::JsonWriter& json, std::string_view key, const Cell& cell) {
    switch (cell.kind) {
        case Cell::Kind::Integer:
            json.decimal(key, cell.text);
            return;
        case Cell::Kind::Null:
            json.null(key);
            return;
        case Cell::Kind::Text:
            json.string(key, cell.text);
            return;
    }
}

}  // namespace

void writeRecordsJson(json::JsonWriter& json, std::string_view key, const ResultTable& result) {
    json.beginArray(key);
    for (const auto& row : result.rows) {
        json.beginObject({}, json::Layout::OneLine);
        for (std::size_t column = 0; column < result.columns.size(); ++column) {
            writeCell(json, result.columns[column], row[column]);
        }
        json.endObject();
    }
    json.endArray();
}

void writeJson(std::ostream& out, const ResultTable& result) {
    json::JsonWriter json(out);
    writeRecordsJson(json, {}, result);
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
