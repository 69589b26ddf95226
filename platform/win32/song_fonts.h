#pragma once

// Every font of the program is the Song face "宋体" with the GB2312 character set, regular weight,
// no italic, underline or strike-out; only the size varies. Asking for the GB2312 character set
// is what makes the system (and Wine, which stands AR PL UMing in for it) pick a Chinese face.

#include <windows.h>

#include <map>
#include <utility>

namespace norvessa::platform::win32 {

// The fonts in use, one per size and DPI, kept until the cache goes.
class SongFonts {
  public:
    SongFonts() = default;
    SongFonts(const SongFonts&) = delete;
    SongFonts& operator=(const SongFonts&) = delete;
    ~SongFonts();

    // Throws Win32Error when the system cannot make the font.
    HFONT at(double points, int dpi);

  private:
    std::map<std::pair<double, int>, HFONT> fonts_;
};

}  // namespace norvessa::platform::win32
