// Fixed-point writing of coordinates: the decimal patterns, formatNumber,
// and the appending form the table writes its fields with.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace tendra {

// The most decimals a coordinate is written with; larger counts are capped,
// so an absurd decimals field cannot make an absurd table.
inline constexpr int kMaxDecimals = 30;

// The decimal pattern for a count: "0" for 0, "0." below 0, and "0." followed
// by count zeros above 0, at most kMaxDecimals of them.
std::string wstr(std::int16_t count);

// A value written with a pattern from wstr: fixed point, rounded half away
// from zero on its 15-significant-digit decimal form (digits past those 15
// are zeros), never in exponent form, never grouped, with no "-" when every
// written digit is zero. Any other pattern writes the separator when it holds
// a full stop and one decimal for each "0" after it, up to kMaxDecimals.
// Throws std::overflow_error when the value is not finite.
std::string formatNumber(double value, std::string_view pattern, std::string_view separator);

// What a decimal pattern asks for: how many decimals, and whether the
// separator is written when there are none ("0." against "0").
struct DecimalPattern {
    int decimals = 0;
    bool separator = false;
};

// The pattern wstr(count) stands for, without building its text.
DecimalPattern patternForCount(int count);

// Any pattern text: the separator is written when it holds a full stop, and
// each "0" after the first full stop is one decimal, up to kMaxDecimals.
DecimalPattern parsePattern(std::string_view pattern);

// Appends the value's text. The written form is zero when every digit is; such
// a value gets no "-". Throws std::overflow_error when the value is not finite.
void appendFixed(std::string& out, double value, DecimalPattern pattern,
                 std::string_view separator);

}  // namespace tendra
