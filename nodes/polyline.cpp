#include "nodes/polyline.h"

#include <algorithm>

namespace tendra {

std::vector<Node> orderedVertices(const std::vector<double>& coordinates) {
    std::vector<Node> vertices;
    vertices.reserve(coordinates.size() / 2);
    for (std::size_t i = 0; i + 1 < coordinates.size(); i += 2) {
        vertices.push_back({coordinates[i], coordinates[i + 1]});
    }
    if (vertices.size() >= 2 && vertices[0].x > vertices[1].x) {
        std::reverse(vertices.begin(), vertices.end());
    }
    return vertices;
}

std::size_t polylineNodeCount(std::size_t vertexCount, bool symmetric, bool symmetricWithLast) {
    if (symmetric && !symmetricWithLast && vertexCount > 0) {
        return vertexCount - 1;
    }
    return vertexCount;
}

std::size_t tableLineCount(std::size_t nodeCount, bool symmetric) {
    return symmetric ? 2 * nodeCount : nodeCount;
}

}  // namespace tendra
