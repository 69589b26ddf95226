#pragma once

#include <QApplication>
#include <QTranslator>

namespace norvessa::platform {

// The program's application object: it names the program ("Norvessa", version "1.00") and is
// the last guard against an exception that an event handler let escape. Such an exception is
// reported and the event counts as not handled; the program goes on running.
//
// The program speaks only Simplified Chinese, whatever the system's language: the locale is
// Chinese (China) and Qt's own texts (the standard buttons, a text box's context menu) come from
// Qt's Chinese translation. Without that translation they stay English, and one warning says so.
class Application : public QApplication {
  public:
    Application(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;

  private:
    QTranslator qtTexts_;
};

}  // namespace norvessa::platform
