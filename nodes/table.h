// The node table: lenient number reading, decimal patterns, fixed-point
// formatting, and the table text itself.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tendra {

class FormPort;

// The most decimals a coordinate is written with; larger counts are capped,
// so an absurd decimals field cannot make an absurd table.
inline constexpr int kMaxDecimals = 30;

// A field's leading number: blanks, tabs, line feeds and carriage returns are
// skipped anywhere; optional sign, digits with at most one full stop (always
// the decimal point), optional exponent (E or e, optional sign, digits).
// &H and &O at the start (no sign before them) introduce hexadecimal and
// octal integers: a value up to &HFFFF wraps to signed 16 bits (&HFFFF is -1),
// one up to &HFFFFFFFF to signed 32 bits. Reading stops at the first other
// character; no number reads as 0. A value too large for a double (or a &H/&O
// value above 32 bits) reads as infinity with its sign; one too small reads
// as 0. Never throws.
double readNumber(std::string_view text);

// The decimals field: the floor of its number, saturated to 16 bits (a whole
// part above 32767 gives 32767, below -32768 gives -32768).
std::int16_t readDecimals(std::string_view text);

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

// Writes the table for these nodes into the output box Text8 in one go,
// reading the decimals (Text1), radius (Text2, trimmed of spaces) and option
// fields (Check2, Check1) and the separator from the form now. When a scaled
// coordinate is not finite, Text8 keeps its text, the user is told, and the
// result is false.
bool WriteNodeTable(FormPort& form, const std::vector<Node>& nodes, double scale, double originX,
                    double originY);

}  // namespace tendra
