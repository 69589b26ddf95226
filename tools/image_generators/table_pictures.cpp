#include "tools/image_generators/table_pictures.h"

#include <QString>
#include <vector>

#include "tools/image_generators/pixel_font.h"

namespace norvessa::image_generators {
namespace {

// Text starts this far right of its cell's left grid line and this far below its top one.
constexpr int kTextLeftInset = 2;
constexpr int kTextTopInset = 5;
constexpr int kRowPitch = 19;

struct TableLayout {
    QSize size;
    std::vector<int> horizontalLines;  // y of each grid line, top to bottom
    std::vector<int> columnLines;      // x of each grid line, left to right
    // One entry per row between two horizontal lines; one text per column, "" for an empty cell.
    // A leading blank moves the text one character to the right.
    std::vector<std::vector<QString>> rows;
};

// `lines` followed by the lines from `first` to `last`, one row pitch apart.
std::vector<int> linesEvery(int first, int last, std::vector<int> lines = {}) {
    lines.reserve(lines.size() + static_cast<std::size_t>((last - first) / kRowPitch + 1));
    for (int y = first; y <= last; y += kRowPitch) {
        lines.push_back(y);
    }
    return lines;
}

void drawGrid(QImage& image, const TableLayout& layout) {
    for (const int y : layout.horizontalLines) {
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, kTableGridColour);
        }
    }
    for (const int x : layout.columnLines) {
        for (int y = 0; y < image.height(); ++y) {
            image.setPixel(x, y, kTableGridColour);
        }
    }
}

// Text wider than its cell runs on into the next one, and, as in a spreadsheet, the grid line it
// crosses is not drawn inside that row.
void clearCrossedLines(QImage& image, int textLeft, int textRight, int rowTop, int rowBottom,
                       const std::vector<int>& columnLines) {
    for (const int x : columnLines) {
        if (x > textLeft && x < textRight) {
            for (int y = rowTop + 1; y < rowBottom; ++y) {
                image.setPixel(x, y, kTableCellColour);
            }
        }
    }
}

void drawCells(QImage& image, const TableLayout& layout) {
    for (std::size_t row = 0; row < layout.rows.size(); ++row) {
        const int rowTop = layout.horizontalLines.at(row);
        const int rowBottom = layout.horizontalLines.at(row + 1);
        const std::vector<QString>& cells = layout.rows[row];
        for (std::size_t column = 0; column < cells.size(); ++column) {
            if (cells[column].isEmpty()) {
                continue;
            }
            const int left = layout.columnLines.at(column) + kTextLeftInset;
            const int right = left + static_cast<int>(cells[column].size()) * kPixelFontAdvance;
            clearCrossedLines(image, left, right, rowTop, rowBottom, layout.columnLines);
            drawPixelText(image, left, rowTop + kTextTopInset, cells[column],
                          QColor::fromRgb(kTableTextColour));
        }
    }
}

QImage drawTable(const TableLayout& layout) {
    QImage image(layout.size, QImage::Format_RGB32);
    image.fill(kTableCellColour);
    drawGrid(image, layout);
    drawCells(image, layout);
    return image;
}

}  // namespace

QImage drawForm2TablePicture() {
    TableLayout layout{QSize(297, 389), linesEvery(2, 382), {1, 73, 163}, {}};
    layout.rows = {
        {"UP8", "PS2134", ""},
        {"", "", ""},
        {"UP10", "PS2136", ""},
        {"UP11", "PS2135", ""},
        {"UP12", "PS2231", "PS2251-31"},
        {"UP13", "PS2232", "PS2251-32 64PIN"},
        {"UP14", "PS2232", "PS2251-32 48PIN"},
        {"UP15", "PS2237", "PS2251-37"},
        {"UP16", "PS2233", "PS2251-33"},
        {"", "", ""},
        {"UP18", "PS2238", "PS2251-38"},
        {"UP19", "PS2250", "PS2251-50"},
        {"UP20", "PS2260", "PS2251-60"},
        {"UP21", "PS2261", "PS2251-61"},
        {"", "", ""},
        {"UP23", "", "PS2251-67"},
        {"", "PS2301", "PS2251-01"},
        {"", "PS2302", "PS2251-02"},
        {"UP303", " PS2303", "PS2251-03"},
        {"UP307", " PS2307", "PS2251-07"},
    };
    return drawTable(layout);
}

QImage drawForm3TablePicture() {
    // The first row is one pixel taller than the others.
    TableLayout layout{QSize(411, 291), linesEvery(20, 286, {0}), {0, 73, 165, 256, 391}, {}};
    layout.rows = {
        {"", "", "", ""},
        {"", "AU6992", "AU6985", "FC8508(SC508)"},
        {"", "AU6990", "AU6987", "FC8708(SC708)"},
        {"", "AU6987B", "", "FC8708B(SC708B)"},
        {"", "AU6990T", "AU6987T", "FC8708T(SC708T)"},
        {"", "AU6990AN", "AU6987AN", "SC708AN"},
        {"", "AU6998", "AU6989", "FC8908(SC908)"},
        {"", "AU6998L", "AU6989L", "FC8908L(SC908L)"},
        {"", "AU6998N", "AU6989N", "FC8908N(SC908N)"},
        {"", "AU6998NL", "AU6989NL", "FC8908NL(SC908NL)"},
        {"", "AU6998AN", "AU6989AN", "SC908AN"},
        {"", "AU6998ANL", "AU6989ANL", "SC908ANL"},
        {"", "AU6998AN-G", "AU6989AN-G", "SC908AN-G"},
        {"", "AU6998TN", "AU6989TN", "SC908TN"},
        {"", "AU6998SN", "AU6989SN", "SC908SN"},
    };
    QImage image = drawTable(layout);

    // This cut-out also shows a dark edge along its top and left and a short orange mark at the
    // right end of its top edge.
    const QRgb edge = qRgb(64, 64, 64);
    for (int x = 0; x < image.width(); ++x) {
        image.setPixel(x, 0, edge);
    }
    for (int y = 0; y < image.height(); ++y) {
        image.setPixel(0, y, edge);
    }
    const QRgb orange = qRgb(255, 153, 0);
    for (int x = image.width() - 14; x < image.width(); ++x) {
        image.setPixel(x, 0, orange);
        image.setPixel(x, 1, orange);
    }
    return image;
}

}  // namespace norvessa::image_generators
