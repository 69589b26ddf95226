#pragma once

// The program icon: the USB trident in light grey on a teal-blue rounded square with a glossy
// diagonal highlight.

#include <QImage>
#include <vector>

#include "tools/image_generators/icon_file.h"

namespace norvessa::image_generators {

// The motif drawn at `side` x `side` pixels, with alpha.
QImage drawProgramIcon(int side);

// The six images of the icon file, in file order: 16, 32, 48 and 128 pixels at 32 bits with
// alpha, 48 pixels at 24 bits with a mask, 256 pixels as PNG.
std::vector<IconImage> programIconImages();

}  // namespace norvessa::image_generators
