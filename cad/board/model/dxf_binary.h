// Binary DXF: the sentinel "AutoCAD Binary DXF" CR LF SUB NUL, then group
// codes of one byte (R12; 255 announces a two-byte code) or two bytes
// (R13 on, little-endian), each followed by its value typed by the code's
// range: strings end in NUL, reals are 8-byte doubles, integers 2, 4 or 8
// bytes, booleans one byte, binary chunks a length byte and the bytes. It
// is read by turning it into the group codes of a text file.
#pragma once

#include <string>
#include <string_view>

namespace tendra::board::dxf {

inline constexpr std::string_view kBinarySentinel{"AutoCAD Binary DXF\r\n\x1a\0", 22};

bool isBinaryDxf(std::string_view bytes);

// The same file as text group codes, one code and one value a line; binary
// chunks as hex digits, reals in their shortest exact form. Throws
// LoadError when a value runs past the end of the file, as a truncated text
// file is refused.
std::string binaryToText(std::string_view bytes);

// The other way, for writing test files: a text DXF as a binary one with
// two-byte codes. Throws LoadError on text that is not code and value
// lines.
std::string textToBinary(std::string_view text);

}  // namespace tendra::board::dxf
