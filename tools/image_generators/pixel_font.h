#pragma once

// A built-in bitmap font with the look of a 12-point Song face on screen: every character takes
// 8 pixels of width, capitals and digits are 11 pixels high. Drawing with it makes the pictures
// independent of the fonts installed where the generator runs.

#include <QColor>
#include <QImage>
#include <QString>
#include <vector>

namespace norvessa::image_generators {

inline constexpr int kPixelFontAdvance = 8;
inline constexpr int kPixelFontHeight = 11;

// Whether the font has a glyph for `character`: capitals, digits, "(", ")", "-" and blank.
bool pixelFontHas(QChar character);

// Sets the pixels of `text` in `colour`, the top-left corner of its first character cell at
// (left, top); pixels outside the image are skipped. Throws std::invalid_argument for a character
// the font lacks.
void drawPixelText(QImage& image, int left, int top, const QString& text, const QColor& colour);

// Calls `plot(x, y)` for every set pixel of `text` laid out from (0, 0), for drawing the letters
// at another scale.
template <typename Plot>
void forEachPixelOfText(const QString& text, Plot plot);

namespace detail {
// The glyph of `character` as kPixelFontHeight rows of '#' (set) and '.' (clear).
const char* const* pixelGlyph(QChar character);
}  // namespace detail

template <typename Plot>
void forEachPixelOfText(const QString& text, Plot plot) {
    // Every glyph is looked up before the first pixel is plotted, so that a character the font
    // lacks leaves the target untouched.
    std::vector<const char* const*> glyphs;
    for (const QChar character : text) {
        glyphs.push_back(detail::pixelGlyph(character));
    }
    for (std::size_t index = 0; index < glyphs.size(); ++index) {
        const char* const* glyph = glyphs[index];
        const int cellLeft = static_cast<int>(index) * kPixelFontAdvance;
        for (int row = 0; row < kPixelFontHeight; ++row) {
            for (int column = 0; glyph[row][column] != '\0'; ++column) {
                if (glyph[row][column] == '#') {
                    plot(cellLeft + column, row);
                }
            }
        }
    }
}

}  // namespace norvessa::image_generators
