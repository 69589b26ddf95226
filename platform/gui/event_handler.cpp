#include "platform/gui/event_handler.h"

#include <utility>

#include "platform/gui/error_report.h"

namespace norvessa::platform {

bool runEventHandler(const std::function<void()>& handler) {
    return controls::runEventHandler(handler, reportError);
}

QMetaObject::Connection onClicked(QAbstractButton* button, QObject* context,
                                  std::function<void()> handler) {
    return QObject::connect(button, &QAbstractButton::clicked, context,
                            [handler = std::move(handler)] { runEventHandler(handler); });
}

}  // namespace norvessa::platform
