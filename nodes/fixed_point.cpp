// Fixed-point writing: rounded half away from zero on the value's decimal form
// with 15 significant digits, never in exponent form, never grouped.
#include "nodes/fixed_point.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace tendra {
namespace {

constexpr int kSignificant = 15;

// A non-negative value as kSignificant digits and the number of them that
// stand before the decimal point (zero or negative below 0.1, more than
// kSignificant above 10^15, where the missing digits are zeros).
struct Digits {
    char digit[kSignificant];
    int integerCount;
    bool zero;
};

Digits decimalDigits(double magnitude) {
    Digits d;
    if (magnitude == 0) {
        std::memset(d.digit, '0', kSignificant);
        d.integerCount = 1;
        d.zero = true;
        return d;
    }
    // "d.ddddddddddddddde±x": the same 15-digit form as printf's "%.14e".
    char text[32];
    const auto end = std::to_chars(text, text + sizeof text, magnitude,
                                   std::chars_format::scientific, kSignificant - 1)
                         .ptr;
    d.digit[0] = text[0];
    std::memcpy(d.digit + 1, text + 2, kSignificant - 1);
    const char* p = text + kSignificant + 2;  // just past the 'e'
    const bool negativeExponent = *p++ == '-';
    int exponent = 0;
    for (; p < end; ++p) {
        exponent = exponent * 10 + (*p - '0');
    }
    d.integerCount = (negativeExponent ? -exponent : exponent) + 1;
    d.zero = false;
    return d;
}

// Rounds half away from zero to `decimals` decimals, judged on the digits.
void roundDigits(Digits& d, int decimals) {
    const int keep = d.integerCount + decimals;  // digits that stay
    if (d.zero || keep >= kSignificant) {
        return;
    }
    if (keep < 0 || (keep == 0 && d.digit[0] < '5')) {
        std::memset(d.digit, '0', kSignificant);
        d.integerCount = 1;
        d.zero = true;
        return;
    }
    const bool up = d.digit[keep] >= '5';
    std::memset(d.digit + keep, '0', kSignificant - keep);
    if (!up) {
        return;
    }
    int i = keep - 1;
    for (; i >= 0 && d.digit[i] == '9'; --i) {
        d.digit[i] = '0';
    }
    if (i >= 0) {
        ++d.digit[i];
    } else {
        // All nines carried out: one more digit in front, the last one (a zero) drops.
        std::memmove(d.digit + 1, d.digit, kSignificant - 1);
        d.digit[0] = '1';
        ++d.integerCount;
    }
}

// Appends `count` digits starting at position `from` of the digits, taking
// positions outside the 15 as zeros.
void appendDigitRange(std::string& out, const Digits& d, int from, int count) {
    if (count <= 0) {
        return;
    }
    const int stop = from + count;
    const int leadingZeros = std::clamp(-from, 0, count);
    out.append(leadingZeros, '0');
    const int first = std::max(from, 0);
    const int last = std::min(stop, kSignificant);
    if (first < last) {
        out.append(d.digit + first, last - first);
    }
    const int trailingZeros = stop - std::max(last, first);
    out.append(std::max(trailingZeros, 0), '0');
}

}  // namespace

DecimalPattern patternForCount(int count) {
    if (count == 0) {
        return {0, false};
    }
    return {std::clamp(count, 0, kMaxDecimals), true};
}

DecimalPattern parsePattern(std::string_view pattern) {
    const auto point = pattern.find('.');
    if (point == std::string_view::npos) {
        return {0, false};
    }
    const auto zeros = std::count(pattern.begin() + point + 1, pattern.end(), '0');
    return {static_cast<int>(std::min<std::ptrdiff_t>(zeros, kMaxDecimals)), true};
}

void appendFixed(std::string& out, double value, DecimalPattern pattern,
                 std::string_view separator) {
    if (!std::isfinite(value)) {
        throw std::overflow_error("value out of range");
    }
    Digits d = decimalDigits(std::fabs(value));
    roundDigits(d, pattern.decimals);
    if (value < 0 && !d.zero) {
        out.push_back('-');
    }
    if (d.integerCount <= 0) {
        out.push_back('0');
    } else {
        appendDigitRange(out, d, 0, d.integerCount);
    }
    if (pattern.separator) {
        out.append(separator);
    }
    appendDigitRange(out, d, d.integerCount, pattern.decimals);
}

std::string wstr(std::int16_t count) {
    const DecimalPattern pattern = patternForCount(count);
    std::string text = pattern.separator ? "0." : "0";
    text.append(pattern.decimals, '0');
    return text;
}

std::string formatNumber(double value, std::string_view pattern, std::string_view separator) {
    std::string text;
    appendFixed(text, value, parsePattern(pattern), separator);
    return text;
}

}  // namespace tendra
