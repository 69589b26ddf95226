#pragma once

// A cell value as the engine hands it out. Text is UTF-8; Null is std::monostate.

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

namespace norvessa::jet {

// Money is stored as a 64-bit integer count of ten-thousandths.
struct Currency {
    std::int64_t tenThousandths = 0;
    friend bool operator==(const Currency&, const Currency&) = default;
};

// Days since 1899-12-30, the fraction being the time of day (OLE automation date).
struct DateTime {
    double oleDays = 0.0;
    friend bool operator==(const DateTime&, const DateTime&) = default;
};

using Bytes = std::vector<std::uint8_t>;

using Value = std::variant<std::monostate,  // Null
                           bool, std::uint8_t, std::int16_t, std::int32_t, Currency, float, double,
                           DateTime, std::string, Bytes>;

inline bool isNull(const Value& value) {
    return std::holds_alternative<std::monostate>(value);
}

// The conversion the lookup uses to show a field: text unchanged, numbers in decimal,
// Null as the empty text.
std::string toText(const Value& value);

}  // namespace norvessa::jet
