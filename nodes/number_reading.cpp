// Lenient reading of a field's leading number.
#include "nodes/number_reading.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>

namespace tendra {
namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

bool isBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

bool isDigit(int c) {
    return c >= '0' && c <= '9';
}

int digitValue(int c, int radix) {
    int value = radix;
    if (c >= '0' && c <= '9') {
        value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
        value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
        value = c - 'A' + 10;
    }
    return value < radix ? value : -1;
}

// Walks a text, stepping over blanks wherever they stand.
class Cursor {
  public:
    explicit Cursor(std::string_view text) : text_(text) {}
    // The next character that is not a blank, or -1 at the end.
    int peek() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            ++pos_;
        }
        return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : -1;
    }
    void advance() { ++pos_; }

  private:
    std::string_view text_;
    std::size_t pos_ = 0;
};

// &H and &O integers: a value that fits 16 bits wraps to a signed 16-bit one
// (&HFFFF is -1), one that fits 32 bits wraps to a signed 32-bit one. A larger
// value cannot be held, and reads as infinity, like a decimal number too large
// for a double.
double readRadixInteger(Cursor& cursor, int radix) {
    std::uint64_t value = 0;
    bool tooLarge = false;
    for (int digit; (digit = digitValue(cursor.peek(), radix)) >= 0; cursor.advance()) {
        value = value * radix + digit;
        if (value > 0xFFFFFFFFu) {
            tooLarge = true;
            value = 0xFFFFFFFFu;  // keeps the sum from wrapping while the digits run on
        }
    }
    if (tooLarge) {
        return kInfinity;
    }
    if (value <= 0xFFFFu) {
        return static_cast<std::int16_t>(static_cast<std::uint16_t>(value));
    }
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

}  // namespace

double readNumber(std::string_view text) {
    Cursor cursor(text);
    int c = cursor.peek();
    if (c == '&') {
        cursor.advance();
        c = cursor.peek();
        if (c == 'H' || c == 'h') {
            cursor.advance();
            return readRadixInteger(cursor, 16);
        }
        if (c == 'O' || c == 'o') {
            cursor.advance();
            return readRadixInteger(cursor, 8);
        }
        return 0;
    }

    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        cursor.advance();
    }

    // The mantissa is gathered without its blanks, then converted in one go
    // so that the result is correctly rounded however many digits it has.
    std::string number;
    number.reserve(text.size() + 16);
    bool point = false;
    std::size_t digits = 0;
    std::size_t significantIntegerDigits = 0;  // integer digits after leading zeros
    std::size_t leadingFractionZeros = 0;      // fraction zeros before the first other digit
    bool seenNonZero = false;
    for (c = cursor.peek();; c = cursor.peek()) {
        if (isDigit(c)) {
            ++digits;
            seenNonZero = seenNonZero || c != '0';
            if (!point && seenNonZero) {
                ++significantIntegerDigits;
            } else if (point && !seenNonZero) {
                ++leadingFractionZeros;
            }
        } else if (c != '.' || point) {
            break;
        }
        point = point || c == '.';
        number.push_back(static_cast<char>(c));
        cursor.advance();
    }
    if (digits == 0 || !seenNonZero) {
        return 0;
    }

    long long exponent = 0;
    if (c == 'E' || c == 'e') {
        cursor.advance();
        c = cursor.peek();
        bool exponentNegative = false;
        if (c == '+' || c == '-') {
            exponentNegative = c == '-';
            cursor.advance();
        }
        for (c = cursor.peek(); isDigit(c); cursor.advance(), c = cursor.peek()) {
            exponent = std::min(exponent * 10 + (c - '0'), 1'000'000'000LL);
        }
        if (exponentNegative) {
            exponent = -exponent;
        }
    }
    // Beyond this bound the value overflows or underflows whatever the digits,
    // so clamping keeps the exponent small without changing the result.
    const long long bound = static_cast<long long>(digits) + 800;
    exponent = std::clamp(exponent, -bound, bound);
    number.push_back('e');
    number += std::to_string(exponent);

    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        // The first significant digit's power of ten tells overflow from underflow.
        const long long lead = significantIntegerDigits > 0
                                   ? static_cast<long long>(significantIntegerDigits) - 1
                                   : -static_cast<long long>(leadingFractionZeros) - 1;
        value = lead + exponent > 0 ? kInfinity : 0.0;
    } else if (result.ec != std::errc{}) {
        value = 0;
    }
    if (value == 0) {
        return 0;
    }
    return negative ? -value : value;
}

bool startsWithNumber(std::string_view text) {
    Cursor cursor(text);
    int c = cursor.peek();
    if (c == '&') {
        cursor.advance();
        c = cursor.peek();
        const int radix = c == 'H' || c == 'h' ? 16 : (c == 'O' || c == 'o' ? 8 : 0);
        if (radix == 0) {
            return false;
        }
        cursor.advance();
        return digitValue(cursor.peek(), radix) >= 0;
    }
    if (c == '+' || c == '-') {
        cursor.advance();
        c = cursor.peek();
    }
    if (c == '.') {
        cursor.advance();
        c = cursor.peek();
    }
    return isDigit(c);
}

std::int16_t readDecimals(std::string_view text) {
    const double whole = std::floor(readNumber(text));
    if (std::isnan(whole)) {
        return 0;
    }
    if (whole > std::numeric_limits<std::int16_t>::max()) {
        return std::numeric_limits<std::int16_t>::max();
    }
    if (whole < std::numeric_limits<std::int16_t>::min()) {
        return std::numeric_limits<std::int16_t>::min();
    }
    return static_cast<std::int16_t>(whole);
}

}  // namespace tendra
