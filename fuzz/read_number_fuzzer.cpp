// readNumber against a second reader built on strtod: the blanks are removed
// first, the longest leading number is cut out by hand, and strtod reads it.
// Any difference aborts, as does any out-of-bounds read.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include "nodes/number_reading.h"

namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

double radixOracle(const std::string& digits, int radix) {
    const char* valid = radix == 16 ? "0123456789abcdefABCDEF" : "01234567";
    const std::string prefix = digits.substr(0, digits.find_first_not_of(valid));
    if (prefix.empty()) {
        return 0;
    }
    const std::string significant =
        prefix.substr(std::min(prefix.find_first_not_of('0'), prefix.size()));
    if (significant.size() > (radix == 16 ? 8u : 11u)) {
        return std::numeric_limits<double>::infinity();
    }
    const unsigned long long value = std::strtoull(prefix.c_str(), nullptr, radix);
    if (value > 0xFFFFFFFFull) {
        return std::numeric_limits<double>::infinity();
    }
    if (value <= 0xFFFF) {
        return static_cast<std::int16_t>(value);
    }
    return static_cast<std::int32_t>(value);
}

double oracle(std::string_view text) {
    std::string s;
    for (char c : text) {
        if (c != ' ' && c != '\t' && c != '\n' && c != '\r') {
            s.push_back(c);
        }
    }
    if (!s.empty() && s[0] == '&') {
        if (s.size() >= 2 && (s[1] == 'H' || s[1] == 'h')) {
            return radixOracle(s.substr(2), 16);
        }
        if (s.size() >= 2 && (s[1] == 'O' || s[1] == 'o')) {
            return radixOracle(s.substr(2), 8);
        }
        return 0;
    }
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        ++i;
    }
    std::size_t digits = 0;
    for (; i < s.size() && isDigit(s[i]); ++i) {
        ++digits;
    }
    if (i < s.size() && s[i] == '.') {
        for (++i; i < s.size() && isDigit(s[i]); ++i) {
            ++digits;
        }
    }
    if (digits == 0) {
        return 0;
    }
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) {
            ++j;
        }
        if (j < s.size() && isDigit(s[j])) {
            for (i = j; i < s.size() && isDigit(s[i]); ++i) {
            }
        }
    }
    return std::strtod(s.substr(0, i).c_str(), nullptr);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // libFuzzer's buffer holds exactly the input, so ASan catches a read past it.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const double value = tendra::readNumber(text);
    const double expected = oracle(text);
    if (!(value == expected)) {
        std::fprintf(stderr, "readNumber(\"%.*s\") = %.17g, strtod reads %.17g\n",
                     static_cast<int>(size), text.data(), value, expected);
        std::abort();
    }
    const double whole = std::floor(expected);
    const int decimals = whole > 32767 ? 32767 : whole < -32768 ? -32768 : static_cast<int>(whole);
    if (tendra::readDecimals(text) != decimals) {
        std::fprintf(stderr, "readDecimals(\"%.*s\") = %d, expected %d\n", static_cast<int>(size),
                     text.data(), tendra::readDecimals(text), decimals);
        std::abort();
    }
    return 0;
}
