#pragma once

// The main window's procedures: start-up (Form_Load), the lookup and the buttons that open the
// other windows, written against the control layer. The window itself is built from
// form1Description(); its controls keep the names the window designer gave them.

#include <memory>

#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/controls/controls.h"

namespace norvessa::secondary_windows {
class Navigation;
}

namespace norvessa::main_window {

class Form1 {
  public:
    // Builds the window, hidden, and registers it as the main window of the navigation.
    Form1(controls::FrontEnd& frontEnd, secondary_windows::Navigation& navigation);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;
    ~Form1();

    controls::Window& window() { return *window_; }

    // The Load handler: writes the lookup database file from the program's resource, empties
    // the text boxes and sets up the result list's columns. It runs once, before the window is
    // first shown; errors are left to the caller.
    void Form_Load();

    // Empties Text1 to Text13, in that order.
    void csl_Txt();

    // The query button: looks the typed model up and lists every matching record, the last
    // one's details in the detail boxes and their number in Label16. A failing lookup closes
    // what it opened and passes its error on to be reported; the window stays usable.
    void Command1_Click();

    // Opens DbConnection on the lookup database and prepares DbRecordset for a client-side
    // query.
    void Con();

    // The window buttons: each hides this window and shows one secondary window.
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();

    // Created on first use and kept for the whole run; every lookup opens and closes them.
    std::unique_ptr<ado::Connection> DbConnection;
    std::unique_ptr<ado::Recordset> DbRecordset;
    // The list row added last.
    std::unique_ptr<controls::ListItem> CurrentItem;

  private:
    void SetupResultColumns();
    void FillResultList();
    void AddResultRow();
    ado::Connection& connection();
    ado::Recordset& recordset();
    void closeQuietly() noexcept;

    controls::FrontEnd& frontEnd_;
    secondary_windows::Navigation& navigation_;
    std::unique_ptr<controls::Window> window_;
    controls::ListView& ListView1;
    controls::TextBox& Text1;
    controls::Label& Label16;
};

}  // namespace norvessa::main_window
