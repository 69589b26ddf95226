#pragma once

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QWidget>
#include <array>

#include "secondary_windows/navigation.h"

namespace secondary_windows_tests {

// Stands in for Form1: a query box, a result list and a count label whose contents must survive
// a trip to a secondary window.
class StandInMainWindow : public QWidget {
  public:
    StandInMainWindow() {
        setWindowTitle(QStringLiteral("Norvessa测试版"));
        resize(400, 300);
        query->setGeometry(10, 10, 200, 24);
        results->setGeometry(10, 40, 300, 200);
        count->setGeometry(10, 250, 200, 20);
    }

    QLineEdit* const query = new QLineEdit(this);
    QListWidget* const results = new QListWidget(this);
    QLabel* const count = new QLabel(this);
};

inline std::array<norvessa::secondary_windows::SharedWindow*, 4> allInstances() {
    using namespace norvessa::secondary_windows;
    return {&form2Instance(), &form3Instance(), &form4Instance(), &form5Instance()};
}

inline int loadedCount() {
    int count = 0;
    for (const auto* instance : allInstances()) {
        count += instance->isLoaded() ? 1 : 0;
    }
    return count;
}

// Lets Qt destroy the windows whose close was granted, as its event loop would.
inline void destroyClosedWindows() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Closes whatever secondary window a test left open, so the next test starts from the main state.
inline void closeAllSecondaryWindows() {
    for (auto* instance : allInstances()) {
        if (instance->isLoaded()) {
            instance->window()->close();
        }
    }
    destroyClosedWindows();
}

}  // namespace secondary_windows_tests
