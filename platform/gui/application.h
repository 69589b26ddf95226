#pragma once

#include <QApplication>

namespace norvessa::platform {

// The program's application object: it names the program ("Norvessa", version "1.00") and is
// the last guard against an exception that an event handler let escape. Such an exception is
// reported and the event counts as not handled; the program goes on running.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};

}  // namespace norvessa::platform
