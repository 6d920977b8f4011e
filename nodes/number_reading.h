// Lenient reading of a field's leading number.
#pragma once

#include <cstdint>
#include <string_view>

namespace tendra {

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

// Whether readNumber finds a number at the text's start, rather than reading
// 0 for want of one: after blanks, a sign and digits (a full stop may come
// first), or &H or &O and a digit of that base.
bool startsWithNumber(std::string_view text);

// The decimals field: the floor of its number, saturated to 16 bits (a whole
// part above 32767 gives 32767, below -32768 gives -32768).
std::int16_t readDecimals(std::string_view text);

}  // namespace tendra
