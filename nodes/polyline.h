// Turning a lightweight polyline's vertices into a node list.
#pragma once

#include <cstddef>
#include <vector>

#include "nodes/table.h"

namespace tendra {

// The vertices of a flat X0, Y0, X1, Y1, ... list, reversed end to end when
// the first segment runs towards smaller X, so that the tendon always starts
// at its left end. Only the first two vertices decide. A trailing odd value
// is not a vertex.
std::vector<Node> orderedVertices(const std::vector<double>& coordinates);

// How many of the ordered vertices become nodes: all of them, except that a
// symmetric tendon whose last vertex is not to be repeated leaves it out (its
// mirrored half then starts from the vertex before it).
std::size_t polylineNodeCount(std::size_t vertexCount, bool symmetric, bool symmetricWithLast);

// The lines the table writer writes for this many nodes.
std::size_t tableLineCount(std::size_t nodeCount, bool symmetric);

}  // namespace tendra
