// What a written table is checked for: legs too short for their bends, and
// the one message that names every finding.
#include <gtest/gtest.h>

#include "nodes/tendon_checks.h"

namespace tendra {
namespace {

// Lines of the table whose bends do not fit their leg; origin X at 0.
TEST(OverlongLegs, NamesLegsTooShortForTheirBends) {
    const std::vector<Node> square{{-30, 0}, {-20, 0}, {-20, 10}, {-10, 10}};
    const struct {
        const char* name;
        std::vector<Node> nodes;
        std::vector<double> radii;
        bool symmetric;
        std::vector<Leg> overlong;
    } cases[] = {
        // Right angles: each tangent length is the radius.
        {"tangents of 5 and 5 on a leg of 10 fit", square, {0, 5, 5, 0}, false, {}},
        {"tangents of 6 and 6 do not", square, {0, 6, 6, 0}, false, {{2, 3}}},
        {"tangents of 2 and 9 add up past 10", square, {0, 2, 9, 0}, false, {{2, 3}}},
        {"the leg over to the mirrored half",
         {{-30, 10}, {-20, 10}, {-2, 0}},
         {0, 1, 20},
         true,
         {{3, 4}}},
        {"a last node on the mid-span line is one bend",
         {{-30, 10}, {-20, 10}, {0, 0}},
         {0, 1, 20},
         true,
         {}},
        {"a last node on the mid-span line within rounding, a million units up",
         {{-30, 1e6 + 10}, {-20, 1e6 + 10}, {1e-7, 1e6}},
         {0, 1, 20},
         true,
         {}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(overlongLegs(c.nodes, c.radii, c.symmetric, 0), c.overlong) << c.name;
    }
}

TEST(CheckMessage, OneLinePerFindingInTableOrder) {
    EXPECT_EQ(checkMessage({}, {}), "");
    EXPECT_EQ(checkMessage({3}, {{3, 4}, {1, 2}}),
              "请检查：\n节点 1–2：半径过大，两端切线长之和超过直线段长\n"
              "节点 3：圆弧与相邻直线段不相切\n"
              "节点 3–4：半径过大，两端切线长之和超过直线段长");
}

TEST(CheckMessage, AFoldingMirrorComesFirst) {
    EXPECT_EQ(checkMessage(findingLines(true, {3}, {{1, 2}})),
              "请检查：\n对称：原点不在跨中对称线上，镜像半边与前半边重叠\n"
              "节点 1–2：半径过大，两端切线长之和超过直线段长\n"
              "节点 3：圆弧与相邻直线段不相切");
    EXPECT_EQ(checkMessage(std::vector<std::string>{}), "");
}

// Forward nodes of a symmetric tendon, and whether their mirror about the
// origin's X folds back over them.
TEST(MirrorFoldsBack, WhenTheOriginIsNotOnTheMidSpanLine) {
    const struct {
        const char* name;
        std::vector<Node> nodes;
        double originX;
        bool folds;
    } cases[] = {
        {"a left half ending nearest the line", {{-20, 5}, {0, 1}, {8, 0}}, 10, false},
        {"a right half starting at the line, drawn outwards", {{10, 0}, {20, 3}}, 10, true},
        {"a right half ending nearest the line", {{30, 5}, {12, 0}}, 10, false},
        {"the last node on the line", {{-20, 5}, {10, 0}}, 10, false},
        {"a node on the line before the last", {{-20, 5}, {10, 0}, {5, 0}}, 10, true},
        {"nodes on both sides: a whole tendon with its origin at mid-span",
         {{-20, 5}, {10, 0}, {40, 5}},
         10,
         true},
        {"picked at the anchor end", {{10, 5}, {20, 0}, {30, 0}}, 10, true},
        {"one node", {{30, 0}}, 10, false},
        {"none", {}, 10, false},
        {"off the line by rounding only", {{-20, 5}, {10.000000000001, 0}}, 10, false},
        {"off the line by rounding only, a million units out",
         {{999980, 5}, {1000000.0000001, 0}},
         1e6,
         false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mirrorFoldsBack(c.nodes, c.originX), c.folds) << c.name;
    }
}

}  // namespace
}  // namespace tendra
