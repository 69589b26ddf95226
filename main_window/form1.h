#pragma once

// The main window: title, the result list in its frame, the query row, the twelve detail boxes
// with their captions, and the four buttons that open the other windows. Its controls keep the
// names the window designer gave them; each control's object name is that name.

#include <QLineEdit>
#include <QWidget>
#include <memory>
#include <optional>

#include "platform/ado/connection.h"
#include "platform/ado/recordset.h"
#include "platform/gui/auto_size_label.h"
#include "platform/gui/command_button.h"
#include "platform/gui/frame.h"
#include "platform/gui/list_view.h"

namespace norvessa::main_window {

class Form1 : public QWidget {
  public:
    explicit Form1(QWidget* parent = nullptr);

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

    // Controls, in the order they are created: a later control is drawn over an earlier one
    // where they overlap (Text1 over the end of Label3).
    platform::AutoSizeLabel* const Label1 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label2 = new platform::AutoSizeLabel(this);
    platform::Frame* const Frame1 = new platform::Frame(this);
    platform::ListView* const ListView1 = new platform::ListView(Frame1);
    platform::AutoSizeLabel* const Label3 = new platform::AutoSizeLabel(this);
    QLineEdit* const Text1 = new QLineEdit(this);
    platform::CommandButton* const Command1 = new platform::CommandButton(this);
    platform::AutoSizeLabel* const Label16 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label4 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label5 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label6 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label7 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label8 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label9 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label10 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label11 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label12 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label13 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label14 = new platform::AutoSizeLabel(this);
    platform::AutoSizeLabel* const Label15 = new platform::AutoSizeLabel(this);
    QLineEdit* const Text2 = new QLineEdit(this);
    QLineEdit* const Text3 = new QLineEdit(this);
    QLineEdit* const Text4 = new QLineEdit(this);
    QLineEdit* const Text5 = new QLineEdit(this);
    QLineEdit* const Text6 = new QLineEdit(this);
    QLineEdit* const Text7 = new QLineEdit(this);
    QLineEdit* const Text8 = new QLineEdit(this);
    QLineEdit* const Text9 = new QLineEdit(this);
    QLineEdit* const Text10 = new QLineEdit(this);
    QLineEdit* const Text11 = new QLineEdit(this);
    QLineEdit* const Text12 = new QLineEdit(this);
    QLineEdit* const Text13 = new QLineEdit(this);
    platform::CommandButton* const Command2 = new platform::CommandButton(this);
    platform::CommandButton* const Command3 = new platform::CommandButton(this);
    platform::CommandButton* const Command4 = new platform::CommandButton(this);
    platform::CommandButton* const Command5 = new platform::CommandButton(this);

    // Created on first use and kept for the whole run; every lookup opens and closes them.
    std::unique_ptr<ado::Connection> DbConnection;
    std::unique_ptr<ado::Recordset> DbRecordset;
    // The list row added last.
    std::optional<platform::ListItem> CurrentItem;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void showProgramIcon();
    void SetupResultColumns();
    void FillResultList();
    void AddResultRow();
    ado::Connection& connection();
    ado::Recordset& recordset();
    void closeQuietly() noexcept;

    bool iconRequested_ = false;
};

}  // namespace norvessa::main_window
