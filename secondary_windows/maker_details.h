#pragma once

// The contact details, forum handles and forum addresses that the feedback and About windows
// show. All personal values are invented and reach no real person.

#include <array>
#include <string_view>

namespace norvessa::secondary_windows {

inline constexpr std::string_view kMakerHandle = "velthorn42";

// QQ numbers never begin with 0, so this one cannot belong to anybody.
inline constexpr std::string_view kMakerQqNumber = "058231947";

inline constexpr std::string_view kMakerEmailAddress = "velthorn42@example.com";

// The maker's profile page on the 数码之家 forum.
inline constexpr std::string_view kMakerProfileAddress = "http://www.mydigit.cn/space/velthorn42";

// The forum members thanked in the About window, in the order of its labels Label4, Label5,
// Label8, Label16, Label9, Label6, Label7 and Label17.
inline constexpr std::array<std::string_view, 8> kThankedHandles = {
    "frostmere", "quillax", "dunwyn", "583920174", "tarnbrook", "ashgrove_lin", "oxil", "brev",
};

// The two forums' start pages: scheme and host only, no path and no trailing slash. The link
// labels show them and hand them to the system's explorer.
inline constexpr std::string_view kMydigitForumAddress = "http://www.mydigit.cn";
// A stand-in: the 量产吧 forum's own address could not be confirmed, and a guessed host might
// belong to someone else.
inline constexpr std::string_view kLiangchanbaForumAddress = "http://www.example.org";

}  // namespace norvessa::secondary_windows
