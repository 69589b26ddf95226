// The five window descriptions as both front ends read them: names a window can look its
// controls up by, containers that exist before what they hold, a tab order without ties, and
// every control inside its window (or frame).

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "main_window/form1_layout.h"
#include "secondary_windows/window_layouts.h"

namespace {

using norvessa::controls::ControlDescription;
using norvessa::controls::ControlKind;
using norvessa::controls::TwipsRect;
using norvessa::controls::WindowDescription;

const WindowDescription* const kWindows[] = {
    &norvessa::main_window::form1Description(),
    &norvessa::secondary_windows::form2Description(),
    &norvessa::secondary_windows::form3Description(),
    &norvessa::secondary_windows::form4Description(),
    &norvessa::secondary_windows::form5Description(),
};

bool inside(const TwipsRect& inner, int width, int height) {
    return inner.left >= 0 && inner.top >= 0 && inner.left + inner.width <= width &&
           inner.top + inner.height <= height;
}

TEST(WindowDescriptions, NamesContainersAndTabPositionsAreConsistent) {
    for (const WindowDescription* window : kWindows) {
        SCOPED_TRACE(window->name);
        std::map<std::string, const ControlDescription*> earlier;
        std::set<int> tabPositions;
        for (const ControlDescription& control : window->controls) {
            SCOPED_TRACE(control.name);
            EXPECT_FALSE(control.name.empty());
            EXPECT_FALSE(earlier.contains(control.name)) << "names are unique in a window";
            int width = window->clientWidthTwips;
            int height = window->clientHeightTwips;
            if (!control.container.empty()) {
                const auto frame = earlier.find(control.container);
                ASSERT_NE(frame, earlier.end()) << "the container comes first";
                ASSERT_EQ(frame->second->kind, ControlKind::Frame);
                width = frame->second->bounds.width;
                height = frame->second->bounds.height;
            }
            EXPECT_TRUE(inside(control.bounds, width, height)) << "inside its container";
            if (control.takesFocus) {
                ASSERT_TRUE(control.tabIndex.has_value()) << "a focus stop has a tab position";
            }
            if (control.tabIndex) {
                EXPECT_TRUE(tabPositions.insert(*control.tabIndex).second) << "no two alike";
            }
            EXPECT_EQ(control.kind == ControlKind::Picture, !control.picture.empty());
            EXPECT_TRUE(!control.reportsClicks || control.kind == ControlKind::Label);
            earlier.emplace(control.name, &control);
        }
    }
}

TEST(WindowDescriptions, TheMainWindowNamesTheControlsItsProceduresUse) {
    const WindowDescription& form1 = norvessa::main_window::form1Description();
    std::map<std::string, ControlKind> kinds;
    for (const ControlDescription& control : form1.controls) {
        kinds.emplace(control.name, control.kind);
    }
    for (const std::string_view box : norvessa::main_window::kTextBoxNames) {
        EXPECT_EQ(kinds.at(std::string(box)), ControlKind::TextBox) << box;
    }
    EXPECT_EQ(kinds.at("ListView1"), ControlKind::ListView);
    EXPECT_EQ(kinds.at("Label16"), ControlKind::Label);
    for (const char* button : {"Command1", "Command2", "Command3", "Command4", "Command5"}) {
        EXPECT_EQ(kinds.at(button), ControlKind::Button) << button;
    }
    int columnsTwips = 0;
    for (const auto& column : norvessa::main_window::kResultColumns) {
        columnsTwips += column.widthTwips;
    }
    for (const ControlDescription& control : form1.controls) {
        if (control.kind == ControlKind::ListView) {
            EXPECT_LE(columnsTwips, control.bounds.width) << "every column is in view";
        }
    }
}

}  // namespace
