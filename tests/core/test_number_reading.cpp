#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <stdexcept>
#include <string>

#include "nodes/number_reading.h"

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

}  // namespace
}  // namespace tendra
