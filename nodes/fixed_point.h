// Fixed-point writing of coordinates, shared by formatNumber and the table.
#pragma once

#include <string>
#include <string_view>

namespace tendra {

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
