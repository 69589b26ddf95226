#include "secondary_windows/form5.h"

#include <exception>
#include <string>

#include "secondary_windows/maker_details.h"
#include "secondary_windows/window_layouts.h"

namespace norvessa::secondary_windows {
namespace {

// "explorer", a blank, an opening double quote and the address, with no closing quote: the
// explorer reads the rest of the line as one argument.
std::string explorerCommandLine(std::string_view address) {
    return "explorer \"" + std::string(address);
}

}  // namespace

Form5::Form5(controls::FrontEnd& frontEnd, Navigation& navigation)
    : SecondaryWindow(frontEnd, form5Description(), navigation) {
    window().onClick("Label14", [this] { Label14_Click(); });
    window().onClick("Label13", [this] { Label13_Click(); });
}

void Form5::Label14_Click() {
    openForum(kMydigitForumAddress);
}

void Form5::Label13_Click() {
    openForum(kLiangchanbaForumAddress);
}

// A failure tells the user which address could not be opened.
void Form5::openForum(std::string_view address) {
    try {
        frontEnd().startProgram(explorerCommandLine(address),
                                controls::WindowStyle::MinimizedFocus);
    } catch (...) {
        std::throw_with_nested(
            controls::ExplainedError("无法打开网址：" + std::string(address) +
                                     "\n请确认系统中装有浏览器，或把网址复制到浏览器中打开。"));
    }
}

}  // namespace norvessa::secondary_windows
