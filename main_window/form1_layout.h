#pragma once

// The main window Form1 as data: its controls as the window designer placed them, and the
// columns of the result list. Both front ends build the window from this description.

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/controls/window_description.h"

namespace norvessa::main_window {

const controls::WindowDescription& form1Description();

struct ResultColumn {
    std::string_view text;
    std::int16_t widthTwips;
};

// The first column holds the row's own text and is too narrow to see; the others are filled
// with the row's sub-items 1 to 11.
inline constexpr std::array<ResultColumn, 12> kResultColumns = {{
    {"id", 10},
    {"序号", 600},
    {" 慧荣", 1400},
    {" 群联", 1400},
    {" 联阳", 1000},
    {" 安国", 1000},
    {" 擎泰", 1000},
    {" 鑫创", 1000},
    {" 银灿", 1000},
    {" 芯邦", 1300},
    {" 迈科微", 1200},
    {" 我想", 1000},
}};

// The text boxes: the query box Text1, then the detail boxes Text2 to Text13, which show the
// record's fields 1 to 12 in that order.
inline constexpr std::array<std::string_view, 13> kTextBoxNames = {
    "Text1", "Text2", "Text3",  "Text4",  "Text5",  "Text6", "Text7",
    "Text8", "Text9", "Text10", "Text11", "Text12", "Text13"};

}  // namespace norvessa::main_window
