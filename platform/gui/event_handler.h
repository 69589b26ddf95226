#pragma once

// Event handlers run through runEventHandler, so an exception they throw is reported to the user
// where it leaves the handler and never unwinds through Qt's own code, which is not built to
// pass exceptions on.

#include <QAbstractButton>
#include <QObject>
#include <functional>

namespace norvessa::platform {

// Runs the handler; an exception that leaves it is reported (error_report.h) and swallowed, so
// the program goes on. Returns whether the handler finished.
bool runEventHandler(const std::function<void()>& handler);

// Runs the handler, through runEventHandler, on every click of the button while the context
// object lives.
QMetaObject::Connection onClicked(QAbstractButton* button, QObject* context,
                                  std::function<void()> handler);

}  // namespace norvessa::platform
