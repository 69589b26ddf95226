#pragma once

// The background pictures of the two model correspondence windows: spreadsheet cut-outs that list,
// row by row, the designations of the 群联 (Form2) and 安国 (Form3) controllers.

#include <QImage>
#include <QRgb>

namespace norvessa::image_generators {

inline constexpr QRgb kTableCellColour = qRgb(255, 255, 255);
inline constexpr QRgb kTableGridColour = qRgb(192, 192, 192);
inline constexpr QRgb kTableTextColour = qRgb(0, 0, 0);

// 297 x 389 pixels: three columns, twenty rows.
QImage drawForm2TablePicture();

// 411 x 291 pixels: five columns (the first always empty), fifteen rows, with a dark edge along
// the top and left and an orange mark at the right end of the top edge.
QImage drawForm3TablePicture();

}  // namespace norvessa::image_generators
