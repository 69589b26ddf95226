#pragma once

// The icon of the 安国 correspondence window: a round maker's logo, the maker's name in large
// letters across a disc whose upper half is chequered.

#include <QImage>
#include <vector>

#include "tools/image_generators/icon_file.h"

namespace norvessa::image_generators {

// The logo drawn at `side` x `side` pixels, with alpha.
QImage drawMakerLogoIcon(int side);

// The two images of the icon file: 48 pixels at 24 bits with a mask, 128 pixels at 32 bits.
std::vector<IconImage> makerLogoIconImages();

}  // namespace norvessa::image_generators
