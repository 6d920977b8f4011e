#include <gtest/gtest.h>

#include <cmath>

#include "nodes/tendon_labels.h"

namespace tendra {
namespace {

TEST(LabelName, FormatCodesAndBlanksLeaveTheName) {
    const struct {
        const char* name;
        std::string text;
        bool mtext;
        std::string expected;
    } cases[] = {
        {"plain text", "N1", false, "N1"},
        {"blanks trimmed and joined", "  钢束 \t N3  ", false, "钢束 N3"},
        {"TEXT keeps what looks like a code", "N1\\P", false, "N1\\P"},
        {"font and height codes and braces", "{\\fSimSun|b0|i0;\\H2.5x;N1}", true, "N1"},
        {"new paragraph and hard space become blanks", "钢束\\PN1\\~a", true, "钢束 N1 a"},
        {"every code that runs to a semicolon",
         "\\F1;\\W0.8;\\Q15;\\T1.1;\\A1;\\C1;\\c255;\\pxi-3;B2", true, "B2"},
        {"under-, over- and strike-through switches", "\\LT\\l3\\O\\o\\K\\k", true, "T3"},
        {"escaped backslash and braces", "a\\\\b\\{c\\}", true, "a\\b{c}"},
        {"a code Tendra does not know stays", "\\S1^2;", true, "\\S1^2;"},
        {"a code without its semicolon runs to the end", "N1\\H2", true, "N1"},
        {"a backslash at the very end stays", "N1\\", true, "N1\\"},
        {"only codes is no name", "{\\fArial;}\\P \\~", true, ""},
        {"empty", "", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(labelName(c.text, c.mtext), c.expected);
    }
}

TEST(DistanceToTendon, SegmentsArcsAndDegenerateTendons) {
    // A half circle of radius 10 about (10, 0) from (0, 0) to (20, 0), over
    // the top (clockwise, bulge -1).
    const TendonShape halfCircle{{0, 0, 20, 0}, {-1}};
    const struct {
        const char* name;
        TendonShape tendon;
        double x, y;
        double expected;
    } cases[] = {
        {"beside a segment", {{0, 0, 10, 0}, {}}, 5, 3, 3},
        {"past a segment's end", {{0, 0, 10, 0}, {}}, 13, 4, 5},
        {"the nearer of two segments", {{0, 0, 10, 0, 10, 10}, {}}, 9, 5, 1},
        {"over the arc", halfCircle, 10, 12, 2},
        {"inside the arc", halfCircle, 10, 1, 9},
        {"below the chord: the arc's ends are nearest", halfCircle, 10, -1, std::hypot(10, 1)},
        {"the same arc counter-clockwise bulges down", {{0, 0, 20, 0}, {1}}, 10, -12, 2},
        {"over the arc near its end, past a quarter of its sweep", halfCircle, 15, 12, 3},
        // Bulge 0.5: centre (5, 3.75), radius 6.25, lowest point (5, -2.5).
        {"below a flatter arc whose centre lies above its chord",
         {{0, 0, 10, 0}, {0.5}},
         5,
         -4.5,
         2},
        {"beside a flatter arc near its end", {{0, 0, 10, 0}, {0.5}}, 9.35, -2.05, 1},
        {"one vertex is a point", {{3, 4}, {}}, 0, 0, 5},
        {"a zero-length arc is its point", {{1, 1, 1, 1}, {0.5}}, 4, 5, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NEAR(distanceToTendon(c.tendon, c.x, c.y), c.expected, 1e-9);
    }
    EXPECT_TRUE(std::isinf(distanceToTendon({{}, {}}, 0, 0))) << "no vertices is nowhere";
}

TEST(AssignLabels, EachLabelToItsNearestTendonWhichKeepsItsNearest) {
    const TendonShape low{{0, 0, 100, 0}, {}};
    const TendonShape high{{0, 10, 100, 10}, {}};
    using Kept = std::vector<std::optional<std::size_t>>;
    const struct {
        const char* name;
        std::vector<TendonShape> tendons;
        std::vector<Label> labels;
        Kept expected;
    } cases[] = {
        {"each beside its own", {low, high}, {{"B", 50, 11}, {"A", 50, 1}}, {1, 0}},
        {"two labels by one tendon: the nearer wins, the other names nothing",
         {low, high},
         {{"far", 50, 4}, {"near", 20, 2}},
         {1, std::nullopt}},
        {"two labels as near to one tendon: it keeps the first selected",
         {low, high},
         {{"first", 20, -3}, {"second", 80, -3}},
         {0, std::nullopt}},
        {"a label halfway between goes to the first selected",
         {low, high},
         {{"M", 50, 5}},
         {0, {}}},
        {"a label past a tendon's end goes by true distance",
         {low, high},
         {{"A", 50, -1}, {"B", 120, 10}},
         {0, 1}},
        {"an arc bulging out towards a label far from its vertices",
         {low, {{0, 20, 20, 20}, {1}}},
         {{"A", 10, 9}},
         {std::nullopt, 0}},
        {"an arc bulging up out of its vertices' box, nearer than the tendon above it",
         {{{0, 38, 100, 38}, {}}, {{0, 20, 20, 20}, {-1}}},
         {{"A", 10, 29.5}},
         {std::nullopt, 0}},
        {"no labels", {low, high}, {}, {std::nullopt, std::nullopt}},
        {"a tendon without vertices takes none", {{{}, {}}, low}, {{"A", 0, 0}}, {{}, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(assignLabels(c.tendons, c.labels), c.expected);
    }
}

TEST(NaturalCompare, DigitRunsCompareAsNumbers) {
    const struct {
        std::string a, b;
        int expected;
    } cases[] = {
        {"N2", "N10", -1},
        {"N10", "N2", 1},
        {"N2", "N2", 0},
        {"N02", "N2", 0},
        {"钢束N1", "钢束N2", -1},
        {"B1", "N1", -1},
        {"钢束1", "N1", 1},
        {"N1", "钢束1", -1},
        {"N1", "N1a", -1},
        {"N1-2", "N1-10", -1},
        {"T99999999999999999999999", "T100000000000000000000000", -1},
        {"10", "9", 1},
        {"", "N1", -1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.a + " vs " + c.b);
        EXPECT_EQ(naturalCompare(c.a, c.b), c.expected);
    }
}

TEST(OutputOrder, NamedInNaturalOrderThenUnnamedAsSelected) {
    const std::vector<TendonKey> keys{{std::nullopt, 0},  {"N10", 0}, {"N2", 5},
                                      {std::nullopt, -9}, {"N2", -5}, {"B1", 0}};
    const std::vector<std::size_t> order = outputOrder(keys);
    EXPECT_EQ(order, (std::vector<std::size_t>{5, 4, 2, 1, 0, 3}));
    EXPECT_EQ(outputNames(keys, order),
              (std::vector<std::string>{"B1", "N2", "N2", "N10", "钢束5", "钢束6"}));
}

TEST(NamedTablesText, NameLinesAndOneEmptyLineBetweenTables) {
    EXPECT_EQ(namedTablesText({{"N1", "1\t2\r\n3\t4\r\n"}, {"N2", "5\t6\r\n"}}),
              "N1\r\n1\t2\r\n3\t4\r\n\r\nN2\r\n5\t6\r\n");
    EXPECT_EQ(namedTablesText({{"钢束1", "1\t2\r\n"}}), "钢束1\r\n1\t2\r\n");
    EXPECT_EQ(namedTablesText({}), "");
}

}  // namespace
}  // namespace tendra
