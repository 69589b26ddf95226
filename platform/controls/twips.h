#pragma once

// Window layouts are stored in twips, 1440 to the inch. At 96 dots per inch a pixel is 15 twips;
// front ends that place controls in device pixels convert at the screen's own density.

namespace norvessa::controls {

inline constexpr int kTwipsPerInch = 1440;
inline constexpr int kStandardDotsPerInch = 96;

// Rounds to the nearest pixel, halves away from zero (at 96 dots per inch a pixel is 15 twips,
// an odd number, so there is never a tie).
constexpr int twipsToPixels(int twips, int dotsPerInch = kStandardDotsPerInch) {
    const long long scaled = static_cast<long long>(twips) * dotsPerInch;
    constexpr long long half = kTwipsPerInch / 2;
    return static_cast<int>(scaled >= 0 ? (scaled + half) / kTwipsPerInch
                                        : -((-scaled + half) / kTwipsPerInch));
}

// A control's place in its container as the layout stores it.
struct TwipsRect {
    int left;
    int top;
    int width;
    int height;
};

struct PixelRect {
    int left;
    int top;
    int width;
    int height;

    friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Rounds the edges rather than the size, so controls that meet in twips still meet in pixels.
constexpr PixelRect twipsToPixelRect(const TwipsRect& rect,
                                     int dotsPerInch = kStandardDotsPerInch) {
    const int left = twipsToPixels(rect.left, dotsPerInch);
    const int top = twipsToPixels(rect.top, dotsPerInch);
    const int right = twipsToPixels(rect.left + rect.width, dotsPerInch);
    const int bottom = twipsToPixels(rect.top + rect.height, dotsPerInch);
    return {left, top, right - left, bottom - top};
}

}  // namespace norvessa::controls
