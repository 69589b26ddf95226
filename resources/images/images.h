#pragma once

// The pictures and icons the windows show, in the Qt resource system. They are drawn by
// tools/image_generators (see README.md beside them).

#include <QIcon>
#include <QImage>
#include <QLatin1String>

namespace norvessa::resources {

// Form2's background: the 群联 designations, a 297 x 389 pixel 24-bit bitmap.
inline constexpr QLatin1String kForm2PicturePath(":/images/form2_table.bmp");
// Form3's background: the 安国 designations, a 411 x 291 pixel 24-bit bitmap.
inline constexpr QLatin1String kForm3PicturePath(":/images/form3_table.bmp");
// Form3's window icon: 48 x 48 at 24 bits and 128 x 128 at 32 bits.
inline constexpr QLatin1String kForm3IconPath(":/images/form3.ico");
// Form5's Image1: a 190 x 321 pixel JPEG.
inline constexpr QLatin1String kForm5Image1Path(":/images/form5_image1.jpg");
// The program icon: six images, 16 to 256 pixels.
inline constexpr QLatin1String kProgramIconPath(":/images/norvessa.ico");

// Reads one of the pictures above. Throws PlatformError naming it when the program does not carry
// it or it cannot be decoded.
QImage loadImage(QLatin1String path);

// Reads one of the icons above with all its images. Throws PlatformError like loadImage.
QIcon loadIcon(QLatin1String path);

}  // namespace norvessa::resources
