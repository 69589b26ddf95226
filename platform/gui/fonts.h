#pragma once

// Every font of the program is the Song face "宋体" (GB2312 character set, regular weight, no
// italic, underline or strike-out); only the size varies. Where that face is not installed, an
// installed Chinese serif face of the same style stands in for it.

#include <QFont>
#include <QStringList>

namespace norvessa::platform {

// The faces tried in order: the designed one under its Chinese and Latin names, then Song-style
// faces that Linux distributions ship, the closest in metrics first. AR PL UMing draws Latin
// letters half an em wide and ideographs one em wide in a line one em high, as the designed face
// does, so the stored column widths and label sizes hold; Noto Serif CJK draws Latin letters
// wider and needs about 1.4 em of line height.
QStringList preferredSongFaces();

// The wanted faces as they are. When none of them is installed, logs one warning (qWarning)
// that names the faces looked for and the face used instead, and appends the best installed
// stand-in: a face that can show Simplified Chinese, a Song-style (serif) one first. When no
// installed face can show Simplified Chinese, nothing is appended and the system's choice stays.
QStringList withStandInFace(const QStringList& wanted);

// The faces every font of the program names: the preferred Song faces, and a stand-in when none
// of them is installed. Decided on the first call, so the warning is logged at most once a run.
// Needs the application object.
QStringList songFaceFamilies();

// The size of the windows' own font, which the controls without a font of their own use.
inline constexpr double kDefaultFontPoints = 12;

// Font sizes are given in points; at 96 dots per inch a point is 4/3 of a logical pixel, so
// 10.5, 12, 14.25, 15.75, 18 and 26.25 pt are 14, 16, 19, 21, 24 and 35 px.
int pointsToPixels(double points);

// The Song face at the given size. The size is set in logical pixels so that text scales with
// the twips-based layout rather than with the screen's font DPI setting.
QFont songFont(double points);

}  // namespace norvessa::platform
