#pragma once

// A cell value as the engine hands it out. Text is UTF-8 (also GUIDs, as "{...}"); Null is
// std::monostate.

#include <array>
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

// An exact decimal (the NUMERIC type): a 128-bit magnitude, most significant word first,
// divided by 10^scale.
struct Decimal {
    bool negative = false;
    std::array<std::uint32_t, 4> magnitude{};
    std::uint8_t scale = 0;
    friend bool operator==(const Decimal&, const Decimal&) = default;
};

// A date and time split into calendar fields, rounded to the second.
struct CivilTime {
    int year = 1899;
    int month = 12;
    int day = 30;
    int hour = 0;
    int minute = 0;
    int second = 0;
};
CivilTime toCivilTime(DateTime value);

using Bytes = std::vector<std::uint8_t>;

using Value = std::variant<std::monostate,  // Null
                           bool, std::uint8_t, std::int16_t, std::int32_t, Currency, float, double,
                           DateTime, std::string, Bytes, Decimal>;

inline bool isNull(const Value& value) {
    return std::holds_alternative<std::monostate>(value);
}

// The conversion the lookup uses to show a field: text unchanged, numbers in decimal (the
// shortest form that reads back exactly), booleans "True"/"False", dates "2024/1/2 3:04:05"
// (the date alone at midnight), bytes as upper-case hex pairs, Null as the empty text.
std::string toText(const Value& value);

}  // namespace norvessa::jet
