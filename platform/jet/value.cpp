#include "platform/jet/value.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace norvessa::jet {
namespace {

// Days since 1970-01-01 to a civil date (proleptic Gregorian calendar).
void civilFromDays(std::int64_t days, int& year, int& month, int& day) {
    days += 719468;
    const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
    const auto dayOfEra = static_cast<std::int64_t>(days - era * 146097);
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
}

template <class Number>
std::string shortest(Number number) {
    char buffer[64];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, number);
    return std::string(buffer, result.ptr);
}

std::string decimalText(const Decimal& decimal) {
    // Repeated division of the 128-bit magnitude by 10.
    std::array<std::uint32_t, 4> words = decimal.magnitude;
    std::string digits;
    const auto isZero = [&words] {
        return words[0] == 0 && words[1] == 0 && words[2] == 0 && words[3] == 0;
    };
    do {
        std::uint64_t remainder = 0;
        for (auto& word : words) {
            const std::uint64_t current = remainder << 32 | word;
            word = static_cast<std::uint32_t>(current / 10);
            remainder = current % 10;
        }
        digits.insert(digits.begin(), static_cast<char>('0' + remainder));
    } while (!isZero());
    if (decimal.scale > 0) {
        if (digits.size() <= decimal.scale) {
            digits.insert(0, decimal.scale - digits.size() + 1, '0');
        }
        digits.insert(digits.size() - decimal.scale, 1, '.');
    }
    const bool zero = digits.find_first_not_of("0.") == std::string::npos;
    return decimal.negative && !zero ? "-" + digits : digits;
}

std::string currencyText(Currency currency) {
    const bool negative = currency.tenThousandths < 0;
    // Work on the unsigned magnitude so that the smallest value does not overflow.
    const std::uint64_t magnitude = negative
                                        ? 0 - static_cast<std::uint64_t>(currency.tenThousandths)
                                        : static_cast<std::uint64_t>(currency.tenThousandths);
    std::string text = std::to_string(magnitude / 10000);
    std::string fraction = std::to_string(magnitude % 10000);
    fraction.insert(0, 4 - fraction.size(), '0');
    while (!fraction.empty() && fraction.back() == '0') {
        fraction.pop_back();
    }
    if (!fraction.empty()) {
        text += '.' + fraction;
    }
    return negative ? "-" + text : text;
}

std::string dateText(DateTime value) {
    const CivilTime time = toCivilTime(value);
    char buffer[64];
    if (time.hour == 0 && time.minute == 0 && time.second == 0) {
        std::snprintf(buffer, sizeof buffer, "%d/%d/%d", time.year, time.month, time.day);
    } else {
        std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d", time.year, time.month,
                      time.day, time.hour, time.minute, time.second);
    }
    return buffer;
}

std::string hexText(const Bytes& bytes) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (std::uint8_t byte : bytes) {
        text.push_back(kDigits[byte >> 4]);
        text.push_back(kDigits[byte & 0x0F]);
    }
    return text;
}

}  // namespace

CivilTime toCivilTime(DateTime value) {
    // OLE dates: the whole part counts days (negative before 1899-12-30), the fraction's
    // magnitude is the time of day even for negative dates.
    constexpr double kLimit = 1e9;  // far beyond any date; keeps the arithmetic in range
    const double days =
        std::isfinite(value.oleDays) ? std::fmax(-kLimit, std::fmin(kLimit, value.oleDays)) : 0.0;
    const double whole = std::trunc(days);
    auto seconds = static_cast<std::int64_t>(std::llround(std::fabs(days - whole) * 86400.0));
    auto dayNumber = static_cast<std::int64_t>(whole);
    if (seconds >= 86400) {
        seconds -= 86400;
        dayNumber += 1;  // the time of day only ever moves forward into the next day
    }
    CivilTime time;
    civilFromDays(dayNumber - 25569, time.year, time.month, time.day);
    time.hour = static_cast<int>(seconds / 3600);
    time.minute = static_cast<int>(seconds / 60 % 60);
    time.second = static_cast<int>(seconds % 60);
    return time;
}

std::string toText(const Value& value) {
    struct Visitor {
        std::string operator()(std::monostate) const { return {}; }
        std::string operator()(bool flag) const { return flag ? "True" : "False"; }
        std::string operator()(std::uint8_t number) const { return std::to_string(number); }
        std::string operator()(std::int16_t number) const { return std::to_string(number); }
        std::string operator()(std::int32_t number) const { return std::to_string(number); }
        std::string operator()(Currency currency) const { return currencyText(currency); }
        std::string operator()(float number) const { return shortest(number); }
        std::string operator()(double number) const { return shortest(number); }
        std::string operator()(DateTime date) const { return dateText(date); }
        std::string operator()(const std::string& text) const { return text; }
        std::string operator()(const Bytes& bytes) const { return hexText(bytes); }
        std::string operator()(const Decimal& decimal) const { return decimalText(decimal); }
    };
    return std::visit(Visitor{}, value);
}

}  // namespace norvessa::jet
