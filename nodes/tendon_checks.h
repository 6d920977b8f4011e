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
inline constexpr const char* kFoldFinding = "对称：原点不在跨中对称线上，镜像半边与前半边重叠";

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

// Whether the mirrored half about originX of a symmetric tendon with these
// forward nodes folds back over them: the nodes do not all lie on one side
// of the origin's vertical line (on it counts as either), or the last of
// them is not the one nearest to that line. An origin picked at the anchor
// end instead of mid-span does it.
bool mirrorFoldsBack(const std::vector<Node>& nodes, double originX);

// One line per finding, in the order of the table's lines: a folding mirror
// first, then arcs not tangent to a leg beside them (offTangentLines, the
// lines of their nodes) and overlong legs.
std::vector<std::string> findingLines(bool foldsBack,
                                      const std::vector<std::size_t>& offTangentLines,
                                      const std::vector<Leg>& overlong);

// The text of the box: "请检查：", then the finding lines; empty when there
// are none.
std::string checkMessage(const std::vector<std::string>& lines);
std::string checkMessage(const std::vector<std::size_t>& offTangentLines,
                         const std::vector<Leg>& overlong);

}  // namespace tendra
