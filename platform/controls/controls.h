#pragma once

// The control layer the window procedures are written against. Each front end (Qt widgets,
// Win32 controls) builds native windows from window descriptions and implements these calls on
// them. Texts are UTF-8. A failing platform call throws an exception with a clear message.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/controls/error_report.h"
#include "platform/controls/window_description.h"

namespace norvessa::controls {

class TextBox {
  public:
    virtual ~TextBox() = default;
    virtual std::string text() const = 0;
    // Replaces the text; a text longer than the box shows its start.
    virtual void setText(std::string_view text) = 0;
};

class Label {
  public:
    virtual ~Label() = default;
    virtual std::string caption() const = 0;
    // Replaces the caption; an auto-size label takes the new caption's width, keeping its
    // top-left corner.
    virtual void setCaption(std::string_view caption) = 0;
};

// How the rows of a list view are shown. Only the report view is offered: one line per row, one
// column per header. Its value is the control's own number for it.
enum class ListViewMode : int { Report = 3 };

// The two boolean display options, named by their effect; their values are the dispatch ids the
// windows set them by.
enum class ListViewOption : int {
    GridLines = 26,      // lines between the rows and between the columns
    FullRowSelect = 27,  // a click selects the whole row, not just one cell
};

// One row, as ListView::addItem hands it out. It refers to its row until the rows are cleared;
// after that, or once the list is gone, every use throws.
class ListItem {
  public:
    virtual ~ListItem() = default;
    virtual std::string text() const = 0;
    // Sub-item k is shown in column k + 1 (columns counted from 1 in the order their headers
    // were added); k runs from 1 to the number of headers less one.
    virtual std::string subItem(std::int16_t index) const = 0;
    virtual void setSubItem(std::int16_t index, std::string_view text) = 0;
};

class ListView {
  public:
    virtual ~ListView() = default;
    // The header row is shown once the report view is set.
    virtual void setView(ListViewMode mode) = 0;
    virtual void setOption(ListViewOption option, bool on) = 0;
    // Appends a column header after the existing ones; the width is in twips.
    virtual void addColumnHeader(std::string_view text, std::int16_t widthTwips) = 0;
    // Removes every row; the columns stay.
    virtual void clearItems() = 0;
    virtual std::int32_t itemCount() const = 0;
    // Appends a row whose text is shown in the first column.
    virtual std::unique_ptr<ListItem> addItem(std::string_view text) = 0;
};

// One window built from its description. Destroying it destroys the native window.
class Window {
  public:
    virtual ~Window() = default;

    const WindowDescription& description() const { return description_; }

    // The controls by their names in the description; a name that is not a control of that
    // kind throws std::out_of_range.
    virtual TextBox& textBox(std::string_view name) = 0;
    virtual Label& label(std::string_view name) = 0;
    virtual ListView& listView(std::string_view name) = 0;

    // Runs `handler` on every click of the named button or click-reporting label, through the
    // front end's event dispatch (runEventHandler). Replaces an earlier handler of that control.
    virtual void onClick(std::string_view controlName, std::function<void()> handler) = 0;

    // A close request (the caption's close box, the system menu, Alt+F4, close()) first runs
    // the unload handler with the cancel flag at 0. When the flag is still 0 afterwards, the
    // window hides and the closed handler runs; the window's owner may destroy it from there.
    // A non-zero flag keeps the window as it was.
    virtual void onUnload(std::function<void(std::int16_t& cancel)> handler) = 0;
    virtual void onClosed(std::function<void()> handler) = 0;

    // Shows the window modeless and without an owner, brought to the front and active, and
    // returns at once. Before the window first shows it is centred as its description says.
    virtual void show() = 0;
    // Hides the window; it keeps its contents and place.
    virtual void hide() = 0;
    virtual bool isVisible() const = 0;
    // Asks the window to close, as the user's close box does.
    virtual void close() = 0;

  protected:
    explicit Window(const WindowDescription& description) : description_(description) {}

  private:
    // Descriptions are built once and live for the whole run.
    const WindowDescription& description_;
};

// How a started program's first window appears (the Windows show-window codes).
enum class WindowStyle : int {
    Hidden = 0,
    NormalFocus = 1,
    MinimizedFocus = 2,
    MaximizedFocus = 3,
    NormalNoFocus = 4,
    MinimizedNoFocus = 6,
};

class FrontEnd {
  public:
    virtual ~FrontEnd() = default;

    // Builds the window, hidden. The description must outlive the window.
    virtual std::unique_ptr<Window> createWindow(const WindowDescription& description) = 0;

    // Shows the report in a modal message box in the program's language, the technical detail
    // folded away behind a button of the box, and returns once the user has closed it.
    virtual void showErrorReport(const ErrorReport& report) = 0;

    // Starts the command line (program and arguments by the Windows rules) without waiting for
    // it. Throws when nothing could be started.
    virtual void startProgram(std::string_view commandLine, WindowStyle style) = 0;

    // Dispatches the windows' events until the program ends; returns the exit status.
    virtual int runEventLoop() = 0;

    // The text with every letter in upper case, by the system's Unicode case rules.
    virtual std::string upperCase(std::string_view text) const = 0;
};

}  // namespace norvessa::controls
