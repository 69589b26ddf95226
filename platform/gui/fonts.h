#pragma once

// Every font of the program is the Song face "宋体" (GB2312 character set, regular weight, no
// italic, underline or strike-out); only the size varies. Where that face is not installed, an
// installed Chinese serif face of the same style stands in for it.

#include <QFont>
#include <QStringList>

namespace norvessa::platform {

// The faces tried in order: the designed one under its Chinese and Latin names, then Song-style
// (serif) faces that Linux distributions ship.
QStringList songFaceFamilies();

// Font sizes are given in points; at 96 dots per inch a point is 4/3 of a logical pixel, so
// 10.5, 12, 14.25, 15.75, 18 and 26.25 pt are 14, 16, 19, 21, 24 and 35 px.
int pointsToPixels(double points);

// The Song face at the given size. The size is set in logical pixels so that text scales with
// the twips-based layout rather than with the screen's font DPI setting.
QFont songFont(double points);

}  // namespace norvessa::platform
