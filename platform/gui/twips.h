#pragma once

// Window layouts are stored in twips, 1440 to the inch. At 96 dots per inch a pixel is 15 twips.
// Qt lays widgets out in logical pixels, which are 96-dpi pixels; on a high-density screen Qt's
// scaling enlarges the whole fixed layout, fonts included, by the same factor.

#include <QRect>

namespace norvessa::platform {

inline constexpr int kTwipsPerPixel = 15;

// Rounds to the nearest pixel (15 is odd, so there is never a tie).
constexpr int twipsToPixels(int twips) {
    constexpr int half = kTwipsPerPixel / 2;
    return twips >= 0 ? (twips + half) / kTwipsPerPixel : -((-twips + half) / kTwipsPerPixel);
}

constexpr int pixelsToTwips(int pixels) {
    return pixels * kTwipsPerPixel;
}

// A control's place in its container as the layout stores it.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

// Rounds the edges rather than the size, so controls that meet in twips still meet in pixels.
constexpr QRect twipsToPixels(const TwipsRect& rect) {
    const int left = twipsToPixels(rect.left);
    const int top = twipsToPixels(rect.top);
    const int right = twipsToPixels(rect.left + rect.width);
    const int bottom = twipsToPixels(rect.top + rect.height);
    return QRect(left, top, right - left, bottom - top);
}

}  // namespace norvessa::platform
