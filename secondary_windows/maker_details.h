#pragma once

// The contact details, forum handles and forum addresses that the feedback and About windows
// show. All personal values are invented and reach no real person.

#include <QLatin1String>
#include <array>

namespace norvessa::secondary_windows {

inline constexpr QLatin1String kMakerHandle("velthorn42");

// QQ numbers never begin with 0, so this one cannot belong to anybody.
inline constexpr QLatin1String kMakerQqNumber("058231947");

inline constexpr QLatin1String kMakerEmailAddress("velthorn42@example.com");

// The maker's profile page on the 数码之家 forum.
inline constexpr QLatin1String kMakerProfileAddress("http://www.mydigit.cn/space/velthorn42");

// The forum members thanked in the About window, in the order of its labels Label4, Label5,
// Label8, Label16, Label9, Label6, Label7 and Label17.
inline constexpr std::array<QLatin1String, 8> kThankedHandles = {
    QLatin1String("frostmere"), QLatin1String("quillax"),   QLatin1String("dunwyn"),
    QLatin1String("583920174"), QLatin1String("tarnbrook"), QLatin1String("ashgrove_lin"),
    QLatin1String("oxil"),      QLatin1String("brev"),
};

// The two forums' start pages: scheme and host only, no path and no trailing slash. The link
// labels show them and hand them to the system's explorer.
inline constexpr QLatin1String kMydigitForumAddress("http://www.mydigit.cn");
// A stand-in: the 量产吧 forum's own address could not be confirmed, and a guessed host might
// belong to someone else.
inline constexpr QLatin1String kLiangchanbaForumAddress("http://www.example.org");

}  // namespace norvessa::secondary_windows
