#pragma once

// The main window on the Qt front end, as the tests reach it: Form1's procedures and state, and
// the widgets of its controls by their names.

#include <QLineEdit>
#include <QWidget>

#include "main_window/form1.h"
#include "platform/gui/auto_size_label.h"
#include "platform/gui/command_button.h"
#include "platform/gui/frame.h"
#include "platform/gui/list_view.h"
#include "platform/gui/qt_front_end.h"
#include "secondary_windows/navigation.h"

struct QtForm1Parts {
    norvessa::platform::QtFrontEnd frontEnd;
    norvessa::secondary_windows::Navigation navigation{frontEnd};
};

class QtForm1 : private QtForm1Parts, public norvessa::main_window::Form1 {
  public:
    QtForm1() : Form1(frontEnd, navigation) {}

    norvessa::secondary_windows::Navigation& windows() { return navigation; }
    norvessa::platform::QtWindow& qtWindow() { return norvessa::platform::qtWindowOf(window()); }
    QWidget& widget() { return qtWindow().widget(); }

    QLineEdit* textBox(const char* name) { return &qtWindow().control<QLineEdit>(name); }
    norvessa::platform::AutoSizeLabel* label(const char* name) {
        return &qtWindow().control<norvessa::platform::AutoSizeLabel>(name);
    }
    norvessa::platform::CommandButton* button(const char* name) {
        return &qtWindow().control<norvessa::platform::CommandButton>(name);
    }
    norvessa::platform::Frame* frame(const char* name) {
        return &qtWindow().control<norvessa::platform::Frame>(name);
    }
    norvessa::platform::ListView* listView(const char* name) {
        return &qtWindow().control<norvessa::platform::ListView>(name);
    }
};
