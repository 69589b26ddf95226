#include "platform/gui/event_handler.h"

#include <exception>
#include <utility>

#include "platform/gui/error_report.h"

namespace norvessa::platform {

bool runEventHandler(const std::function<void()>& handler) {
    try {
        handler();
        return true;
    } catch (...) {
        reportError(reportOf(actionFailedSummary(), std::current_exception()));
        return false;
    }
}

QMetaObject::Connection onClicked(QAbstractButton* button, QObject* context,
                                  std::function<void()> handler) {
    return QObject::connect(button, &QAbstractButton::clicked, context,
                            [handler = std::move(handler)] { runEventHandler(handler); });
}

}  // namespace norvessa::platform
