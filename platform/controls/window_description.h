#pragma once

// A window as data: its size, caption and colours, and each control with its kind, name, place in
// twips, font, caption, colours, tab position and accessible name. Every front end builds its
// native window from this one description, so no layout value is written twice. Texts are UTF-8.
//
// Rules every front end keeps, so that the windows look and behave alike:
// - Controls are created in the order of `controls`; where two overlap, the later one is drawn
//   over the earlier one.
// - A control's bounds count from the top-left corner of its container's client area: the
//   window's, or the frame named by `container`, which comes before the controls it holds.
// - An auto-size label never shrinks below its stored bounds; where the face at hand needs more
//   room for the caption than they give, it widens (and deepens for descenders) to fit.
// - The keyboard focus moves through the controls that take it (`takesFocus`) in the order of
//   their tab positions; the others keep their tab position but are skipped. When the window
//   first shows, the control with the lowest tab position that takes the focus has it.
// - A text box accepts text of any length and shows its start whenever its text is set.
// - Buttons are never the window's default button: Enter or Space presses the button that has
//   the focus, and Enter elsewhere presses nothing.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/controls/twips.h"

namespace norvessa::controls {

struct Rgb {
    std::uint8_t red;
    std::uint8_t green;
    std::uint8_t blue;

    friend constexpr bool operator==(const Rgb&, const Rgb&) = default;
};

enum class ControlKind {
    Label,     // a caption; never takes the focus, no background of its own
    TextBox,   // a single-line edit box
    Button,    // a push button
    Frame,     // an etched box with a caption in its top line and its own back colour
    ListView,  // a report list of rows under column headers
    Picture,   // a picture at its own size, top-left aligned, clipped to the bounds
};

// How a label's box follows its caption.
enum class LabelSizing {
    AutoSize,  // one line, at least as wide as the caption (see the rules above)
    Fixed,     // the stored box; the caption wraps inside it
};

struct ControlDescription {
    ControlKind kind{};
    std::string name{};
    // Empty: the window's client area; otherwise the name of the frame that holds the control.
    std::string container{};
    TwipsRect bounds{};
    // None: the window's font size.
    std::optional<double> fontPoints{};
    // What the control shows: a label's, button's or frame's caption, a text box's first text.
    std::string caption{};
    // A label's or frame's caption colour. None: the system's button text colour.
    std::optional<Rgb> foreground{};
    // A frame's back colour. None: the colour of what lies behind it.
    std::optional<Rgb> background{};
    // The control's place in the tab order. None: the designer's table gives it none.
    std::optional<int> tabIndex{};
    bool takesFocus = false;
    // The name screen readers announce; empty: the caption.
    std::string accessibleName{};
    // Shown while the pointer rests on the control; empty: none.
    std::string toolTip{};
    // A Picture's image, by its file name among the program's pictures.
    std::string picture{};
    LabelSizing sizing = LabelSizing::AutoSize;
    // Whether a click on the control is reported to the window's click handlers. Buttons always
    // report their clicks; a label does only when this is set, with no change in its look.
    bool reportsClicks = false;
};

// Where a window is placed each time it is created, before it first shows: its outer frame
// (caption and borders included) centred on the screen.
enum class Centring {
    OnWorkArea,     // on the work area of the screen it is on (the desktop less its panels)
    OnWholeScreen,  // on the whole primary screen
};

struct WindowDescription {
    // The window's class name, which names it to tests and tools.
    std::string name{};
    std::string caption{};
    int clientWidthTwips{};
    int clientHeightTwips{};
    // The font of the window and of the controls without a size of their own.
    double fontPoints{};
    // The client area's colour. None: the system's button face colour. Buttons, text boxes and
    // the list keep the system's colours whatever the window's.
    std::optional<Rgb> background{};
    // Drawn at the client area's top-left corner, one picture pixel to one device pixel,
    // clipped at its edges; empty: none.
    std::string picture{};
    // The icon shown in the caption and the task bar, by its file name among the program's
    // icons; empty: the system's default.
    std::string icon{};
    // Set after the window has first been painted, so its first appearance does not wait for
    // the icon; a deferred icon the program does not carry is left out.
    bool deferIcon = false;
    bool minimizeBox = false;
    Centring centring = Centring::OnWorkArea;
    // Closing this window ends the program.
    bool endsProgramWhenClosed = false;
    std::vector<ControlDescription> controls{};
};

}  // namespace norvessa::controls
