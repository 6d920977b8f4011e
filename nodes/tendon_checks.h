// What a written table is checked for: arcs that do not run tangentially into
// the legs beside them, and legs too short for the bends at their two ends.
// The findings go into one box after the table is written; the table stays.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "nodes/table.h"

namespace tendra {

inline constexpr const char* kCheckTitle = "提示";

// A leg of the table between two lines, numbered from 1 as the table counts
// them.
struct Leg {
    std::size_t from = 0;
    std::size_t to = 0;
    bool operator==(const Leg&) const = default;
};

// The legs of the table these nodes make (the mirrored half about originX
// included when symmetric) whose tangent lengths R·tan(Δ/2) at their two ends
// add up to more than the leg, Δ being the deflection at a node and R its
// radius in drawing units (radii: one per node). The table's first and last
// lines have no bend. A node written twice in a row (the last node of a
// symmetric tendon on the mid-span line) is one bend. The mirrored half only
// repeats the forward half's legs, so legs are named by the forward half and
// the leg that crosses to the mirrored half.
std::vector<Leg> overlongLegs(const std::vector<Node>& nodes, const std::vector<double>& radii,
                              bool symmetric, double originX);

// The text of the box: "请检查：", then one line per finding, in the order of
// the table's lines; empty when there is nothing to find. offTangentLines are
// the lines of arc nodes whose arc is not tangent to a leg beside it.
std::string checkMessage(const std::vector<std::size_t>& offTangentLines,
                         const std::vector<Leg>& overlong);

}  // namespace tendra
