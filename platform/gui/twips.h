#pragma once

// Window layouts are stored in twips, 1440 to the inch. At 96 dots per inch a pixel is 15 twips.
// Qt lays widgets out in logical pixels, which are 96-dpi pixels; on a high-density screen Qt's
// scaling enlarges the whole fixed layout, fonts included, by the same factor.

#include <QRect>

#include "platform/controls/twips.h"

namespace norvessa::platform {

using controls::TwipsRect;

constexpr int twipsToPixels(int twips) {
    return controls::twipsToPixels(twips);
}

// Rounds the edges rather than the size, so controls that meet in twips still meet in pixels.
constexpr QRect twipsToPixels(const TwipsRect& rect) {
    const controls::PixelRect pixels = controls::twipsToPixelRect(rect);
    return {pixels.left, pixels.top, pixels.width, pixels.height};
}

}  // namespace norvessa::platform
