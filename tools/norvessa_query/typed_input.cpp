#include "tools/norvessa_query/typed_input.h"

#include <QString>

#include "tools/norvessa_query/usage_error.h"

namespace norvessa::query {

std::string_view trimBlanks(std::string_view text) {
    constexpr std::string_view kBlanks = " \t\r\n";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

std::string_view requireNonBlank(std::string_view typed, std::string_view option) {
    const std::string_view trimmed = trimBlanks(typed);
    if (trimmed.empty()) {
        throw UsageError(std::string(option) + " needs a text that is not blank");
    }
    return trimmed;
}

std::string modelKey(std::string_view typed) {
    // Upper case in the full Unicode sense, as the windows program converts the typed model.
    const std::string_view trimmed = trimBlanks(typed);
    return QString::fromUtf8(trimmed.data(), static_cast<qsizetype>(trimmed.size()))
        .toUpper()
        .toStdString();
}

}  // namespace norvessa::query
