#pragma once

// The four secondary windows as data, built by both front ends: Form2 and Form3 show a picture
// of a controller model table, Form4 the feedback details, Form5 the About page.

#include "platform/controls/window_description.h"

namespace norvessa::secondary_windows {

// "群联型号对应表": the picture of the 群联 designations table and nothing else. The picture is
// 8 rows taller than the client area, so its lowest rows stay out of view.
const controls::WindowDescription& form2Description();

// "安国型号对照表": the picture of the 安国 designations table under the maker's logo as its
// window icon. The picture is as wide as the client area and one row taller.
const controls::WindowDescription& form3Description();

// "问题反馈": thanks the user and lists how to reach the maker, in six labels on a pink ground.
// Nothing in it reacts to the mouse.
const controls::WindowDescription& form4Description();

// "关于   made by velthorn42": greets the user, thanks forum members and two forums, offers the
// forums' addresses as clickable labels (Label14, Label13) and shows the version line beside a
// decorative picture.
const controls::WindowDescription& form5Description();

}  // namespace norvessa::secondary_windows
