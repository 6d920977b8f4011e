// The node table: lenient number reading, decimal patterns, fixed-point
// formatting, and the table text itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tendra {

class FormPort;

// A field's leading number: blanks, tabs and line breaks are skipped anywhere;
// optional sign, digits with at most one full stop, optional exponent; &H and
// &O integers. No number reads as 0. Never throws.
double readNumber(std::string_view text);

// The decimals field: the floor of its number, as a 16-bit count.
std::int16_t readDecimals(std::string_view text);

// The decimal pattern for a count: "0", "0." or "0." followed by count zeros.
std::string wstr(std::int16_t count);

// A value written with a pattern from wstr: fixed point, rounded half away
// from zero on its 15-significant-digit form, never in exponent form.
std::string formatNumber(double value, std::string_view pattern, std::string_view separator);

struct Node {
    double x;
    double y;
};

struct TableOptions {
    double originX = 0, originY = 0, scale = 1;
    std::int16_t decimals = 3;
    std::string radius;  // the radius text, already trimmed of spaces
    bool radiusColumn = true, symmetric = true;
    std::string separator = ".";  // the system's decimal separator
};

// The table's text: TAB between fields, CR LF after every line. Empty for no
// nodes. Throws std::overflow_error when a scaled coordinate is not finite.
std::string nodeTableText(const std::vector<Node>& nodes, const TableOptions& options);

// Writes the table for these nodes into the output box, reading the decimals,
// radius and option fields and the separator from the form now. Returns false,
// after telling the user, when no table could be written.
bool WriteNodeTable(FormPort& form, const std::vector<Node>& nodes, double scale, double originX,
                    double originY);

}  // namespace tendra
