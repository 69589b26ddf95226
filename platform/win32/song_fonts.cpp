#include "platform/win32/song_fonts.h"

#include "platform/win32/scaling.h"
#include "platform/win32/win32_error.h"

namespace norvessa::platform::win32 {

SongFonts::~SongFonts() {
    for (const auto& [size, font] : fonts_) {
        DeleteObject(font);
    }
}

HFONT SongFonts::at(double points, int dpi) {
    const auto key = std::make_pair(points, dpi);
    if (const auto found = fonts_.find(key); found != fonts_.end()) {
        return found->second;
    }
    // A negative height asks for the em (character height), as point sizes mean it.
    HFONT font = checked(CreateFontW(-pointsToPixels(points, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                                     FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                     DEFAULT_QUALITY, FF_DONTCARE, L"宋体"),
                         "CreateFontW for the Song face");
    fonts_.emplace(key, font);
    return font;
}

}  // namespace norvessa::platform::win32
