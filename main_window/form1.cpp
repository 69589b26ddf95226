#include "main_window/form1.h"

#include <array>
#include <string>
#include <string_view>
#include <utility>

#include "main_window/database_provisioning.h"
#include "main_window/form1_layout.h"
#include "secondary_windows/navigation.h"

namespace norvessa::main_window {
namespace {

// What a click on each of the window's buttons does.
constexpr std::array<std::pair<std::string_view, void (Form1::*)()>, 5> kClickHandlers = {{
    {"Command1", &Form1::Command1_Click},
    {"Command2", &Form1::Command2_Click},
    {"Command3", &Form1::Command3_Click},
    {"Command4", &Form1::Command4_Click},
    {"Command5", &Form1::Command5_Click},
}};

}  // namespace

Form1::Form1(controls::FrontEnd& frontEnd, secondary_windows::Navigation& navigation)
    : frontEnd_(frontEnd),
      navigation_(navigation),
      window_(frontEnd.createWindow(form1Description())),
      ListView1(window_->listView("ListView1")),
      Text1(window_->textBox("Text1")),
      Label16(window_->label("Label16")) {
    for (const auto& [control, handler] : kClickHandlers) {
        window_->onClick(control, [this, handler = handler] { (this->*handler)(); });
    }
    navigation_.registerMainWindow(*window_);
}

Form1::~Form1() {
    navigation_.unregisterMainWindow(*window_);
}

void Form1::Command2_Click() {
    navigation_.openForm2();
}

void Form1::Command3_Click() {
    navigation_.openForm3();
}

void Form1::Command4_Click() {
    navigation_.openForm4();
}

void Form1::Command5_Click() {
    navigation_.openForm5();
}

void Form1::Form_Load() {
    finishDatabaseProvisioning();
    csl_Txt();
    SetupResultColumns();
}

void Form1::csl_Txt() {
    for (const std::string_view box : kTextBoxNames) {
        window_->textBox(box).setText("");
    }
}

void Form1::SetupResultColumns() {
    ListView1.clearItems();
    ListView1.setView(controls::ListViewMode::Report);
    ListView1.setOption(controls::ListViewOption::FullRowSelect, true);
    ListView1.setOption(controls::ListViewOption::GridLines, true);
    for (const ResultColumn& column : kResultColumns) {
        ListView1.addColumnHeader(column.text, column.widthTwips);
    }
}

}  // namespace norvessa::main_window
