#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "nodes/fixed_point.h"

namespace tendra {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(Wstr, BuildsThePatternForACount) {
    const struct {
        std::int16_t count;
        std::string pattern;
    } cases[] = {
        {0, "0"},
        {1, "0.0"},
        {3, "0.000"},
        {-1, "0."},
        {-32768, "0."},
        {20, "0." + std::string(20, '0')},
        {kMaxDecimals, "0." + std::string(kMaxDecimals, '0')},
        {32767, "0." + std::string(kMaxDecimals, '0')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(wstr(c.count), c.pattern) << c.count;
    }
}

TEST(FormatNumber, RoundsHalfAwayFromZeroOnFifteenDigits) {
    const struct {
        const char* name;
        double value;
        std::string pattern;
        std::string text;
    } cases[] = {
        {"tie below the binary value", 1.005, "0.00", "1.01"},
        {"tie above", 0.125, "0.00", "0.13"},
        {"negative tie goes away from zero", -0.125, "0.00", "-0.13"},
        {"whole-number tie", 2.5, "0", "3"},
        {"negative whole-number tie", -2.5, "0", "-3"},
        {"tie with separator only", 2.5, "0.", "3."},
        {"just below a half", 0.49, "0", "0"},
        {"digit before the separator", 0.25, "0.00", "0.25"},
        {"carry into a new digit", 9.9995, "0.000", "10.000"},
        {"carry through many nines", 999999.9995, "0.000", "1000000.000"},
        {"carry from the fraction into the units", -0.995, "0.0", "-1.0"},
        {"first digit just past the decimals rounds up", 0.00096, "0.000", "0.001"},
        {"first digit just past the decimals rounds down", 0.00046, "0.000", "0.000"},
        {"far below the decimals", 0.0000096, "0.000", "0.000"},
        {"negative that rounds to zero has no minus", -0.0004, "0.000", "0.000"},
        {"negative zero has no minus", -0.0, "0.000", "0.000"},
        {"negative rounding to whole zero", -0.4, "0", "0"},
        {"no digit grouping", 1234567.891, "0.00", "1234567.89"},
        {"no exponent form for large values", 1e20, "0.000", "100000000000000000000.000"},
        {"digits past fifteen are zeros", 123456789012345678.0, "0", "123456789012346000"},
        {"largest double", 1.7976931348623157e308, "0", "179769313486232" + std::string(294, '0')},
        {"smallest subnormal", 5e-324, "0.000", "0.000"},
        {"twenty decimals of a tenth", 0.1, "0." + std::string(20, '0'),
         "0.1" + std::string(19, '0')},
        {"twenty decimals of a third", 1.0 / 3, "0." + std::string(20, '0'),
         "0.333333333333333" + std::string(5, '0')},
        {"long pattern is capped", 1, "0." + std::string(kMaxDecimals + 10, '0'),
         "1." + std::string(kMaxDecimals, '0')},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(formatNumber(c.value, c.pattern, "."), c.text) << c.name;
    }
}

TEST(FormatNumber, WritesTheSeparatorGiven) {
    EXPECT_EQ(formatNumber(3.14159, "0.00", ","), "3,14");
    EXPECT_EQ(formatNumber(-3.5, "0.", ","), "-4,");
    EXPECT_EQ(formatNumber(3.5, "0", ","), "4");
    EXPECT_EQ(formatNumber(0.5, "0.0", "\xD9\xAB"),
              "0\xD9\xAB"
              "5");
}

TEST(FormatNumber, RefusesValuesThatAreNotFinite) {
    for (double value : {kInf, -kInf, std::nan("")}) {
        EXPECT_THROW(formatNumber(value, "0.000", "."), std::overflow_error) << value;
    }
}

}  // namespace
}  // namespace tendra
