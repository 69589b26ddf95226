// How cell values become the text the lookup shows.

#include <gtest/gtest.h>

#include "platform/jet/value.h"

namespace norvessa::jet {
namespace {

TEST(ValueText, NumbersTextAndNull) {
    EXPECT_EQ(toText(Value{}), "");
    EXPECT_EQ(toText(Value{std::string("Samsung 三星")}), "Samsung 三星");
    EXPECT_EQ(toText(Value{std::int32_t{3567}}), "3567");
    EXPECT_EQ(toText(Value{std::int16_t{-5}}), "-5");
    EXPECT_EQ(toText(Value{std::uint8_t{255}}), "255");
    EXPECT_EQ(toText(Value{true}), "True");
    EXPECT_EQ(toText(Value{0.1}), "0.1");
    EXPECT_EQ(toText(Value{1.5f}), "1.5");
    EXPECT_EQ(toText(Value{Currency{35000}}), "3.5");
    EXPECT_EQ(toText(Value{Currency{-12345678}}), "-1234.5678");
    EXPECT_EQ(toText(Value{Currency{INT64_MIN}}), "-922337203685477.5808");
    EXPECT_EQ(toText(Value{Bytes{0x0A, 0xFF}}), "0AFF");
}

TEST(ValueText, Decimals) {
    EXPECT_EQ(toText(Value{Decimal{true, {0, 0, 0, 1}, 0}}), "-1");
    EXPECT_EQ(toText(Value{Decimal{false, {0, 0, 0, 12345}, 2}}), "123.45");
    EXPECT_EQ(toText(Value{Decimal{false, {0, 0, 0, 5}, 3}}), "0.005");
    EXPECT_EQ(toText(Value{Decimal{true, {0, 0, 0, 0}, 0}}), "0");
    // 2^96 = 79228162514264337593543950336
    EXPECT_EQ(toText(Value{Decimal{false, {1, 0, 0, 0}, 0}}), "79228162514264337593543950336");
}

TEST(ValueText, OleDates) {
    EXPECT_EQ(toText(Value{DateTime{45293.127835648}}), "2024/1/2 3:04:05");
    EXPECT_EQ(toText(Value{DateTime{2.0}}), "1900/1/1");
    EXPECT_EQ(toText(Value{DateTime{-1.25}}), "1899/12/29 6:00:00");
    EXPECT_EQ(toText(Value{DateTime{0.999999999}}), "1899/12/31");  // rounds into the next day
    const CivilTime time = toCivilTime(DateTime{44568.68088});
    EXPECT_EQ(time.year, 2022);
    EXPECT_EQ(time.month, 1);
    EXPECT_EQ(time.day, 7);
    EXPECT_EQ(time.hour, 16);
    EXPECT_EQ(time.minute, 20);
    EXPECT_EQ(time.second, 28);
    EXPECT_NO_THROW(toText(Value{DateTime{std::numeric_limits<double>::quiet_NaN()}}));
    EXPECT_NO_THROW(toText(Value{DateTime{1e300}}));
}

}  // namespace
}  // namespace norvessa::jet
