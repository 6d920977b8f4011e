// midas Civil's tendon profiles as MCT command text: one *TDN-PROFILE section
// with a round-curve, 2D profile per tendon, written from the same rows as the
// node table, for pasting into midas Civil's MCT command shell.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "nodes/form_port.h"
#include "nodes/table.h"

namespace tendra {

// A radius text that is no number is written as 0.
inline constexpr const char* kRadiusNotNumberFinding = "半径不是数值，MCT 中按 0 写入";

// A block's text and what writing it found, one line a finding.
struct MctText {
    std::string text;
    std::vector<std::string> findings;
};

// The names as a block can take them: commas and semicolons become "_" (they
// would split the NAME field), and a name that came before gets "-2", "-3",
// ..., the first suffix that no other name has. One finding per name changed.
struct MctNames {
    std::vector<std::string> names;
    std::vector<std::string> findings;
};
MctNames mctNames(const std::vector<std::string>& names);

// A value in its shortest decimal form that reads back exactly: "0", "12.5",
// "-3", never in exponent form, never grouped. Throws std::overflow_error when
// the value is not finite.
std::string mctNumber(double value);

// The *TDN-PROFILE section for these tendons, in their order: four lines of
// the profile's settings, the plan as two Y= rows at the table's first and
// last x, and one Z= row per line of the table, with x and the table's second
// field written with the table's decimals and always a full stop. The radius
// is 0 where the table writes "0" or has no radius column, the arc's radius,
// or the radius text read as a number. Two consecutive rows at the same point
// are written once. CR LF after every line. Throws std::overflow_error when a
// value is not finite.
MctText tdnProfileText(const std::vector<NamedRows>& tendons, const MctParameters& parameters);

// Writes the section for these tendons into the output box Text8, with the
// parameters last accepted in mctfrm, and gives what writing it found. When a
// value is not finite, Text8 keeps its text, the user is told, and the result
// is none.
std::optional<std::vector<std::string>> WriteMct(FormPort& form,
                                                 const std::vector<NamedRows>& tendons);

}  // namespace tendra
