// formatNumber against a deliberately simple second formatter that works on
// decimal strings: the value's "%.14e" form is written out in full and then
// rounded half away from zero by adding one to the digit string. Any
// difference aborts, so a rounding fault is caught, not only a crash.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>
#include <string_view>

#include "nodes/fixed_point.h"
#include "nodes/number_reading.h"

namespace {

// Adds one to the last digit of a string of digits, carrying leftwards.
std::string addOne(std::string digits) {
    for (std::size_t i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return digits;
        }
        digits[i] = '0';
    }
    return "1" + digits;
}

std::string oracle(double value, int decimals, bool separator, const std::string& sep) {
    char text[64];
    std::snprintf(text, sizeof text, "%.14e", std::fabs(value));
    const std::string mantissa = std::string(1, text[0]) + std::string(text + 2, 14);
    const int exponent = std::atoi(std::strchr(text, 'e') + 1);

    std::string whole, fraction;
    if (exponent >= 0) {
        std::string digits = mantissa + std::string(exponent + 1, '0');
        whole = digits.substr(0, exponent + 1);
        fraction = mantissa.size() > static_cast<std::size_t>(exponent + 1)
                       ? mantissa.substr(exponent + 1)
                       : "";
    } else {
        whole = "0";
        fraction = std::string(-exponent - 1, '0') + mantissa;
    }
    if (fraction.size() > static_cast<std::size_t>(decimals)) {
        const bool up = fraction[decimals] >= '5';
        fraction.resize(decimals);
        if (up) {
            const std::string sum = addOne(whole + fraction);
            whole = sum.substr(0, sum.size() - decimals);
            fraction = sum.substr(sum.size() - decimals);
        }
    }
    fraction.resize(decimals, '0');

    const bool zero = (whole + fraction).find_first_not_of('0') == std::string::npos;
    return (value < 0 && !zero ? "-" : "") + whole + (separator ? sep : "") + fraction;
}

template <typename T>
T take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = size < sizeof value ? size : sizeof value;
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const char* const separators[] = {".", ",", "\xD9\xAB", ""};
    const auto mode = take<std::uint8_t>(data, size);
    const auto count = take<std::int16_t>(data, size);
    const std::string separator = separators[(mode >> 4) & 3];

    double value = 0;
    switch (mode % 3) {
        case 0:  // any bit pattern
            value = take<double>(data, size);
            break;
        case 1: {  // up to 15 digits over a power of ten: exact ties in the decimal form
            const auto digits = take<std::int64_t>(data, size) % 1'000'000'000'000'000;
            const int power = take<std::uint8_t>(data, size) % 40;
            value = static_cast<double>(digits) / std::pow(10.0, power);
            break;
        }
        default:  // a text, as the fields give it
            value = tendra::readNumber(std::string_view(reinterpret_cast<const char*>(data), size));
            break;
    }

    const std::string pattern = tendra::wstr(count);
    const int decimals =
        count > 0 ? (count < tendra::kMaxDecimals ? count : tendra::kMaxDecimals) : 0;
    const std::string expectedPattern =
        count == 0 ? "0" : "0." + std::string(static_cast<std::size_t>(decimals), '0');
    if (pattern != expectedPattern) {
        std::fprintf(stderr, "wstr(%d) = \"%s\"\n", count, pattern.c_str());
        std::abort();
    }

    if (!std::isfinite(value)) {
        try {
            tendra::formatNumber(value, pattern, separator);
        } catch (const std::overflow_error&) {
            return 0;
        }
        std::fprintf(stderr, "formatNumber(%g) did not refuse\n", value);
        std::abort();
    }
    const std::string text = tendra::formatNumber(value, pattern, separator);
    const std::string expected = oracle(value, decimals, count != 0, separator);
    if (text != expected) {
        std::fprintf(stderr, "formatNumber(%.17g, \"%s\") = \"%s\", expected \"%s\"\n", value,
                     pattern.c_str(), text.c_str(), expected.c_str());
        std::abort();
    }
    return 0;
}
