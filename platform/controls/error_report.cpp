#include "platform/controls/error_report.h"

namespace norvessa::controls {
namespace {

// The failure nested in an explained error, if there is one.
std::exception_ptr nestedFailure(const std::exception& error) {
    const auto* nested = dynamic_cast<const std::nested_exception*>(&error);
    return nested != nullptr ? nested->nested_ptr() : std::exception_ptr();
}

}  // namespace

ErrorReport reportOf(const std::string& summary, const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const ExplainedError& explained) {
        const std::exception_ptr behind = nestedFailure(explained);
        return {summary, behind ? describeException(behind) : std::string(), explained.what()};
    } catch (...) {
        return {summary, describeException(error), "程序遇到了意外的错误，请把详细信息告诉作者。"};
    }
}

std::string describeException(const std::exception_ptr& error) {
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& exception) {
        return exception.what();
    } catch (...) {
        return "unknown error";
    }
}

std::string startFailedSummary() {
    return "程序无法启动。";
}

std::string actionFailedSummary() {
    return "操作未能完成。";
}

bool runEventHandler(const std::function<void()>& handler, const ErrorPresenter& present) {
    try {
        handler();
        return true;
    } catch (...) {
        present(reportOf(actionFailedSummary(), std::current_exception()));
        return false;
    }
}

}  // namespace norvessa::controls
