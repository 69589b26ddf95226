#pragma once

// Short ways to write the controls of a window description, one line per control.

#include <optional>
#include <string>

#include "platform/controls/window_description.h"

namespace norvessa::controls {

// An auto-size label in the window's client area.
inline ControlDescription label(std::string name, std::string caption, TwipsRect bounds,
                                std::optional<int> tabIndex, std::optional<double> fontPoints = {},
                                std::optional<Rgb> colour = {}) {
    return {.kind = ControlKind::Label,
            .name = std::move(name),
            .bounds = bounds,
            .fontPoints = fontPoints,
            .caption = std::move(caption),
            .foreground = colour,
            .tabIndex = tabIndex};
}

// A single-line text box, named for screen readers by the caption in front of it. Its first
// text is its own name, as the window designer leaves it.
inline ControlDescription textBox(std::string name, std::string accessibleName, TwipsRect bounds,
                                  int tabIndex, std::optional<double> fontPoints = {}) {
    std::string caption = name;
    return {.kind = ControlKind::TextBox,
            .name = std::move(name),
            .bounds = bounds,
            .fontPoints = fontPoints,
            .caption = std::move(caption),
            .tabIndex = tabIndex,
            .takesFocus = true,
            .accessibleName = std::move(accessibleName)};
}

inline ControlDescription button(std::string name, std::string caption, TwipsRect bounds,
                                 int tabIndex, std::optional<double> fontPoints = {}) {
    return {.kind = ControlKind::Button,
            .name = std::move(name),
            .bounds = bounds,
            .fontPoints = fontPoints,
            .caption = std::move(caption),
            .tabIndex = tabIndex,
            .takesFocus = true};
}

}  // namespace norvessa::controls
