#include <gtest/gtest.h>

#include "nodes/arc_nodes.h"

namespace tendra {
namespace {

// tan(90° / 4) and tan(45° / 4): the bulges of quarter and eighth circles.
constexpr double kQuarter = 0.41421356237309503;
constexpr double kEighth = 0.198912367379658;

struct Expected {
    double x, y, radius;  // radius 0: a vertex node
};

// Intersection points and radii worked out by hand for each drawing.
TEST(NodesFromArcs, IntersectionPointsWithTheirArcsRadii) {
    const std::vector<double> filleted{0,
                                       10,
                                       8.82842712474619,
                                       1.17157287525381,
                                       11.65685424949238,
                                       0,
                                       29.17157287525381,
                                       0,
                                       30.585786437626904,
                                       0.585786437626905,
                                       40,
                                       10,
                                       50,
                                       10};
    std::vector<double> rightToLeft;
    for (std::size_t i = filleted.size(); i >= 2; i -= 2) {
        rightToLeft.insert(rightToLeft.end(), {filleted[i - 2], filleted[i - 1]});
    }
    const std::vector<Expected> filletNodes{
        {0, 10, 0}, {10, 0, 4}, {30, 0, 2}, {40, 10, 0}, {50, 10, 0}};
    const struct {
        const char* name;
        std::vector<double> coordinates, bulges;
        std::vector<Expected> nodes;
        std::vector<std::size_t> offTangent = {};
    } cases[] = {
        {"one fillet between two legs",
         {0, 0, 8, 0, 10, 2, 10, 20},
         {0, kQuarter, 0},
         {{0, 0, 0}, {10, 0, 2}, {10, 20, 0}}},
        {"fillets of radii 4 and 2, then a sharp corner",
         filleted,
         {0, kEighth, 0, kEighth, 0, 0},
         filletNodes},
        {"drawn right to left, bulges negative",
         rightToLeft,
         {0, 0, -kEighth, 0, -kEighth, 0},
         filletNodes},
        {"two arcs in a row meet on their own tangent",
         {0, 0, 10, 0, 12, 2, 14, 4, 24, 4},
         {0, kQuarter, -kQuarter, 0},
         {{0, 0, 0}, {12, 0, 2}, {12, 4, 2}, {24, 4, 0}}},
        {"an arc at the start",
         {0, 0, 2, 2, 2, 10},
         {kQuarter, 0},
         {{0, 0, 0}, {2, 0, 2}, {2, 10, 0}}},
        {"an arc at the end",
         {0, 0, 8, 0, 10, 2},
         {0, kQuarter},
         {{0, 0, 0}, {10, 0, 2}, {10, 2, 0}}},
        {"a fillet 0.7° off tangency: the legs' intersection, named",
         {0, 0, 8, 0, 10.05, 2, 10.05, 20},
         {0, kQuarter, 0},
         {{0, 0, 0}, {10.05, 0, 2.0251543151078635}, {10.05, 20, 0}},
         {1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ArcTendon tendon = nodesFromArcs(c.coordinates, c.bulges);
        ASSERT_EQ(tendon.refusal, nullptr);
        ASSERT_EQ(tendon.nodes.size(), c.nodes.size());
        for (std::size_t i = 0; i < c.nodes.size(); ++i) {
            EXPECT_NEAR(tendon.nodes[i].x, c.nodes[i].x, 1e-9) << i;
            EXPECT_NEAR(tendon.nodes[i].y, c.nodes[i].y, 1e-9) << i;
            EXPECT_NEAR(tendon.radii[i].value_or(0), c.nodes[i].radius, 1e-9) << i;
        }
        EXPECT_EQ(tendon.offTangent, c.offTangent);
    }
}

TEST(NodesFromArcs, RefusesArcsWhoseLinesDoNotMeetAhead) {
    const struct {
        const char* name;
        std::vector<double> coordinates, bulges;
        const char* refusal;
    } cases[] = {
        {"a half circle", {0, 0, 10, 0, 10, 4, 0, 4}, {0, 1, 0}, kArcTooWideText},
        {"more, clockwise", {0, 0, 10, 0, 10, 4}, {0, -1.5}, kArcTooWideText},
        {"parallel legs", {0, 0, 10, 0, 12, 1, 20, 1}, {0, 0.5, 0}, kTangentsApartText},
        {"legs meeting behind", {0, 0, 10, 0, 12, 1, 22, -2}, {0, 0.2, 0}, kTangentsApartText},
    };
    for (const auto& c : cases) {
        EXPECT_STREQ(nodesFromArcs(c.coordinates, c.bulges).refusal, c.refusal) << c.name;
    }
}

}  // namespace
}  // namespace tendra
