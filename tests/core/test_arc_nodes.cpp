#include <gtest/gtest.h>

#include "nodes/arc_nodes.h"
#include "nodes/tendon_checks.h"

namespace tendra {
namespace {

// tan(90° / 4) and tan(45° / 4): the bulges of quarter and eighth circles.
constexpr double kQuarter = 0.41421356237309503;
constexpr double kEighth = 0.198912367379658;

struct Expected {
    double x, y;
    double radius;  // 0: a vertex node
};

// Intersection points and radii worked out by hand for each drawing.
TEST(NodesFromArcs, IntersectionPointsWithTheirArcsRadii) {
    const struct {
        const char* name;
        std::vector<double> coordinates, bulges;
        std::vector<Expected> nodes;
        std::vector<std::size_t> offTangent = {};
    } cases[] = {
        {"a fillet of radius 2 between two legs at a right angle",
         {0, 0, 8, 0, 10, 2, 10, 20},
         {0, kQuarter, 0},
         {{0, 0, 0}, {10, 0, 2}, {10, 20, 0}}},
        {"fillets of radii 4 and 2 at 45°, then a sharp corner",
         {0, 10, 8.82842712474619, 1.17157287525381, 11.65685424949238, 0, 29.17157287525381, 0,
          30.585786437626904, 0.585786437626905, 40, 10, 50, 10},
         {0, kEighth, 0, kEighth, 0, 0},
         {{0, 10, 0}, {10, 0, 4}, {30, 0, 2}, {40, 10, 0}, {50, 10, 0}}},
        {"the same drawn right to left: bulges change sign, the list starts on the left",
         {50, 10, 40, 10, 30.585786437626904, 0.585786437626905, 29.17157287525381, 0,
          11.65685424949238, 0, 8.82842712474619, 1.17157287525381, 0, 10},
         {0, 0, -kEighth, 0, -kEighth, 0},
         {{0, 10, 0}, {10, 0, 4}, {30, 0, 2}, {40, 10, 0}, {50, 10, 0}}},
        {"a collinear vertex between straight segments stays",
         {0, 0, 5, 0, 10, 0},
         {0, 0},
         {{0, 0, 0}, {5, 0, 0}, {10, 0, 0}}},
        {"two arcs in a row, the second clockwise, meet on their own tangent",
         {0, 0, 10, 0, 12, 2, 14, 4, 24, 4},
         {0, kQuarter, -kQuarter, 0},
         {{0, 0, 0}, {12, 0, 2}, {12, 4, 2}, {24, 4, 0}}},
        {"an arc starts the polyline",
         {0, 0, 2, 2, 2, 10},
         {kQuarter, 0},
         {{0, 0, 0}, {2, 0, 2}, {2, 10, 0}}},
        {"an arc ends the polyline",
         {0, 0, 8, 0, 10, 2},
         {0, kQuarter},
         {{0, 0, 0}, {10, 0, 2}, {10, 2, 0}}},
        {"a fillet off by 0.7° gives the legs' intersection and is named",
         {0, 0, 8, 0, 10.05, 2, 10.05, 20},
         {0, kQuarter, 0},
         {{0, 0, 0}, {10.05, 0, 2.0251543151078635}, {10.05, 20, 0}},
         {1}},
        {"a fillet off by 0.3° is tangent enough",
         {0, 0, 8, 0, 10.02, 2, 10.02, 20},
         {0, kQuarter, 0},
         {{0, 0, 0}, {10.02, 0, 2.010024875467963}, {10.02, 20, 0}}},
        {"a vertex drawn twice makes no segment",
         {0, 0, 8, 0, 8, 0, 10, 2, 10, 20},
         {0, 0, kQuarter, 0},
         {{0, 0, 0}, {10, 0, 2}, {10, 20, 0}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ArcTendon tendon = nodesFromArcs(c.coordinates, c.bulges);
        ASSERT_EQ(tendon.refusal, nullptr);
        ASSERT_EQ(tendon.nodes.size(), c.nodes.size());
        ASSERT_EQ(tendon.radii.size(), c.nodes.size());
        for (std::size_t i = 0; i < c.nodes.size(); ++i) {
            SCOPED_TRACE("node " + std::to_string(i + 1));
            EXPECT_NEAR(tendon.nodes[i].x, c.nodes[i].x, 1e-9);
            EXPECT_NEAR(tendon.nodes[i].y, c.nodes[i].y, 1e-9);
            EXPECT_NEAR(tendon.radii[i].value_or(0), c.nodes[i].radius, 1e-9);
            EXPECT_EQ(tendon.radii[i].has_value(), c.nodes[i].radius != 0);
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
        {"more than a half circle, clockwise", {0, 0, 10, 0, 10, 4}, {0, -1.5}, kArcTooWideText},
        {"parallel legs", {0, 0, 10, 0, 12, 1, 20, 1}, {0, 0.5, 0}, kTangentsApartText},
        {"legs meeting behind the arc",
         {0, 0, 10, 0, 12, 1, 22, -2},
         {0, 0.2, 0},
         kTangentsApartText},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ArcTendon tendon = nodesFromArcs(c.coordinates, c.bulges);
        EXPECT_STREQ(tendon.refusal, c.refusal);
        EXPECT_TRUE(tendon.nodes.empty());
    }
}

TEST(ToWorldPlane, TurnsThePolylinesOwnAxesIntoTheWorlds) {
    const struct {
        const char* name;
        cad::Point normal;
        bool accepted;
        std::vector<double> coordinates, bulges;
    } cases[] = {
        {"normal up: unchanged", {0, 0, 1}, true, {-30, 5, -20, 2}, {0.25}},
        {"normal down: X and bulges turn round", {0, 0, -1}, true, {30, 5, 20, 2}, {-0.25}},
        {"normal down with rounding noise", {1e-13, 0, -1}, true, {30, 5, 20, 2}, {-0.25}},
        {"a vertical plane is refused", {0, 1, 0}, false, {-30, 5, -20, 2}, {0.25}},
        {"a tilted plane is refused", {0, 0.1, 0.995}, false, {-30, 5, -20, 2}, {0.25}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<double> coordinates{-30, 5, -20, 2};
        std::vector<double> bulges{0.25};
        EXPECT_EQ(toWorldPlane(coordinates, bulges, c.normal), c.accepted);
        EXPECT_EQ(coordinates, c.coordinates);
        EXPECT_EQ(bulges, c.bulges);
    }
}

// Lines of the table (forward half, and the leg over to the mirrored half)
// whose bends do not fit; origin X at 0.
TEST(OverlongLegs, NamesLegsTooShortForTheirBends) {
    const struct {
        const char* name;
        std::vector<Node> nodes;
        std::vector<double> radii;
        bool symmetric;
        std::vector<Leg> overlong;
    } cases[] = {
        // Right angles: each tangent length equals the radius.
        {"bends that fit", {{-30, 0}, {-20, 0}, {-20, 10}, {-10, 10}}, {0, 5, 5, 0}, false, {}},
        {"two bends sharing a leg of 10 with tangents of 6 each",
         {{-30, 0}, {-20, 0}, {-20, 10}, {-10, 10}},
         {0, 6, 6, 0},
         false,
         {{2, 3}}},
        {"the first and last lines have no bend",
         {{-30, 0}, {-20, 0}, {-20, 1}},
         {99, 1, 99},
         false,
         {}},
        {"the leg over to the mirrored half",
         {{-30, 10}, {-20, 10}, {-2, 0}},
         {0, 1, 20},
         true,
         {{3, 4}}},
        {"a last node on the mid-span line, written twice, is one bend",
         {{-30, 10}, {-20, 10}, {0, 0}},
         {0, 1, 20},
         true,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(overlongLegs(c.nodes, c.radii, c.symmetric, 0), c.overlong);
    }
}

TEST(CheckMessage, OneLinePerFindingInTableOrder) {
    EXPECT_EQ(checkMessage({}, {}), "");
    EXPECT_EQ(checkMessage({5, 3}, {{3, 4}, {1, 2}}),
              "请检查：\n节点 1–2：半径过大，两端切线长之和超过直线段长\n"
              "节点 3：圆弧与相邻直线段不相切\n"
              "节点 3–4：半径过大，两端切线长之和超过直线段长\n"
              "节点 5：圆弧与相邻直线段不相切");
}

}  // namespace
}  // namespace tendra
