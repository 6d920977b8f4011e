#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "nodes/table.h"

namespace tendra {
namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();

TEST(ReadNumber, ReadsTheLeadingNumberLeniently) {
    const std::string manyZeros(400, '0');
    const struct {
        const char* name;
        std::string text;
        double value;
    } cases[] = {
        {"empty text", "", 0},
        {"only blanks", " \t\r\n", 0},
        {"no number", "abc", 0},
        {"stops at stray text", "12abc", 12},
        {"blanks inside the digits", " 1 2 3 ", 123},
        {"tabs and line breaks inside the digits", "1\t2\n3\r4", 1234},
        {"blank after the sign", "- 5", -5},
        {"plus sign", "+5", 5},
        {"two signs are no number", "--5", 0},
        {"second full stop ends it", "1.5.5", 1.5},
        {"no integer digits", ".5", 0.5},
        {"trailing full stop", "5.", 5},
        {"full stop alone", ".", 0},
        {"comma is not the decimal point", "1,5", 1},
        {"exponent", "1e3", 1000},
        {"capital exponent", "1E3", 1000},
        {"negative exponent", "2.5e-1", 0.25},
        {"blanks inside the exponent", "1 e + 2", 100},
        {"exponent letter without digits", "1e", 1},
        {"exponent sign without digits", "1e-", 1},
        {"exponent without mantissa", "e5", 0},
        {"D is no exponent", "1d3", 1},
        {"full-width digits are no digits", "\xEF\xBC\x91", 0},
        {"decimal fraction rounds like a literal", "0.1", 0.1},
        {"long mantissa scaled back", "0." + manyZeros + "1e401", 1},
        {"many integer digits overflow", "1" + manyZeros, kInf},
        {"exponent overflow", "1e400", kInf},
        {"negative overflow", "-1e400", -kInf},
        {"huge exponent digits", "1e99999999999999999999", kInf},
        {"zero with a huge exponent", "0e99999", 0},
        {"underflow reads as zero", "1e-400", 0},
        {"hex", "&HFF", 255},
        {"hex in small letters", "&hff", 255},
        {"blanks inside hex", "& H 1 0", 16},
        {"hex stops at a non-digit", "&HFG", 15},
        {"hex largest 16-bit positive", "&H7FFF", 32767},
        {"hex wraps to 16 bits", "&HFFFF", -1},
        {"hex 8000 is the 16-bit minimum", "&H8000", -32768},
        {"leading zeros do not widen hex", "&H0000FFFF", -1},
        {"hex above 16 bits is 32-bit", "&H10000", 65536},
        {"hex wraps to 32 bits", "&HFFFFFFFF", -1},
        {"hex 32-bit minimum", "&H80000000", -2147483648.0},
        {"hex above 32 bits overflows", "&H100000000", kInf},
        {"octal", "&O17", 15},
        {"octal wraps to 16 bits", "&O177777", -1},
        {"octal above 16 bits", "&O777777", 262143},
        {"octal stops at 8", "&O78", 7},
        {"ampersand alone", "&", 0},
        {"unknown prefix", "&X1", 0},
        {"prefix without digits", "&H", 0},
        {"sign before a prefix is no number", "-&H10", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readNumber(c.text), c.value) << c.name;
    }
}

TEST(ReadNumber, NeverReadsPastTheText) {
    const std::string text = "12345";
    EXPECT_EQ(readNumber(std::string_view(text).substr(0, 2)), 12);
    EXPECT_EQ(readNumber(std::string_view(text).substr(0, 0)), 0);
    const std::string hex = "&HFFFF";
    EXPECT_EQ(readNumber(std::string_view(hex).substr(0, 4)), 255);
}

TEST(ReadDecimals, TakesTheFloorWithin16Bits) {
    const struct {
        const char* text;
        int count;
    } cases[] = {
        {"3", 3},         {"2.9", 2},         {"-0.5", -1},       {"abc", 0},
        {"0", 0},         {"-1", -1},         {"32767.9", 32767}, {"40000", 32767},
        {"1e400", 32767}, {"-40000", -32768}, {"-1e400", -32768}, {"&HFFFF", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(readDecimals(c.text), c.count) << c.text;
    }
}

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
