#include <gtest/gtest.h>

#include "nodes/polyline.h"

namespace tendra {
namespace {

std::vector<std::pair<double, double>> pairs(const std::vector<Node>& nodes) {
    std::vector<std::pair<double, double>> result;
    for (const Node& node : nodes) {
        result.emplace_back(node.x, node.y);
    }
    return result;
}

TEST(OrderedVertices, StartsTheTendonAtItsLeftEnd) {
    using Pairs = std::vector<std::pair<double, double>>;
    const struct {
        const char* name;
        std::vector<double> coordinates;
        Pairs expected;
    } cases[] = {
        {"left to right keeps the drawn order",
         {-30, 5, -20, 2, -10, 0, 0, 0},
         {{-30, 5}, {-20, 2}, {-10, 0}, {0, 0}}},
        {"right to left is reversed end to end",
         {0, 0, -10, 0, -20, 2, -30, 5},
         {{-30, 5}, {-20, 2}, {-10, 0}, {0, 0}}},
        {"a vertical first segment keeps the drawn order",
         {5, 0, 5, 10, -3, 12},
         {{5, 0}, {5, 10}, {-3, 12}}},
        {"only the first segment decides", {0, 0, 10, 0, -50, 0}, {{0, 0}, {10, 0}, {-50, 0}}},
        {"a later turn back does not reverse",
         {10, 0, 20, 0, 0, 5, -5, 5},
         {{10, 0}, {20, 0}, {0, 5}, {-5, 5}}},
        {"two vertices right to left", {4, 1, 2, 3}, {{2, 3}, {4, 1}}},
        {"a single vertex stays", {4, 1}, {{4, 1}}},
        {"no vertices", {}, {}},
        {"a trailing odd value is no vertex", {1, 2, 3, 4, 5}, {{1, 2}, {3, 4}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(pairs(orderedVertices(c.coordinates)), c.expected) << c.name;
    }
}

TEST(PolylineNodeCount, LeavesOutTheLastVertexOnlyForSymmetricWithoutIt) {
    const struct {
        const char* name;
        std::size_t vertices;
        bool symmetric, withLast;
        std::size_t nodes;
    } cases[] = {
        {"not symmetric uses every vertex", 4, false, false, 4},
        {"Check3 alone has no effect", 4, false, true, 4},
        {"symmetric without the last node drops it", 4, true, false, 3},
        {"symmetric with the last node keeps it", 4, true, true, 4},
        {"two vertices symmetric give one node", 2, true, false, 1},
        {"101 vertices symmetric fit in 100 places", 101, true, false, 100},
        {"no vertices stay none", 0, true, false, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(polylineNodeCount(c.vertices, c.symmetric, c.withLast), c.nodes) << c.name;
    }
}

}  // namespace
}  // namespace tendra
