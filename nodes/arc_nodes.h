// A tendon drawn as straight legs joined by circular arcs, turned into the
// nodes analysis programs take: the legs' intersection points, each with the
// radius of the arc drawn there. Pure geometry on the polyline's vertices and
// bulges; no CAD calls.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cad/surface.h"
#include "nodes/table.h"

namespace tendra {

inline constexpr const char* kNotInPlaneText = "所选多段线不在XY平面内！";
inline constexpr const char* kArcTooWideText = "圆弧圆心角不小于180°，无法求切线交点！";
inline constexpr const char* kTangentsApartText = "圆弧两侧切线不相交，无法求交点！";

// How far, in degrees, an arc's end may turn from the straight segment beside
// it before the arc counts as not tangent to it.
inline constexpr double kTangencyToleranceDegrees = 0.5;

// Whether a polyline with this normal lies in the world's XY plane (its
// normal along +Z or -Z).
bool inWorldPlane(const cad::Point& normal);

// Turns a polyline's coordinates and bulges from its own coordinate system
// into world X and Y. A normal along -Z turns the X axis round, so every X
// and every bulge changes sign; along +Z nothing changes. False, and nothing
// changed, when the normal is not along Z.
bool toWorldPlane(std::vector<double>& coordinates, std::vector<double>& bulges,
                  const cad::Point& normal);

// How many segments of the polyline are arcs: bulges (one per vertex, for the
// segment to the next vertex) other than 0 that have a next vertex.
std::size_t arcCount(const std::vector<double>& coordinates, const std::vector<double>& bulges);

// The nodes of a tendon drawn with arcs, in the order of the table.
struct ArcTendon {
    std::vector<Node> nodes;
    // Per node: the radius of the arc it was made from, in drawing units;
    // none for a node at a vertex.
    std::vector<std::optional<double>> radii;
    // Positions in nodes of arc nodes whose arc is not tangent to a straight
    // segment beside it.
    std::vector<std::size_t> offTangent;
    // Set when the polyline cannot be turned into nodes; the rest is empty.
    const char* refusal = nullptr;

    // Keeps the first count nodes (the node-count rule of a symmetric tendon).
    void keepFirst(std::size_t count);
};

// The first and last vertex, every vertex between two straight segments, and
// for each arc the point where its incoming and outgoing lines meet. The
// incoming line is the straight segment before the arc, or the arc's own
// tangent at its start where it starts the polyline or follows another arc;
// the outgoing line likewise. The list then starts at the tendon's left end,
// as the vertices would (only the first two vertices decide). Refuses an arc
// of 180° or more, and one whose lines are parallel or meet behind it.
ArcTendon nodesFromArcs(const std::vector<double>& coordinates, const std::vector<double>& bulges);

}  // namespace tendra
