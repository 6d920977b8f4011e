#include <gtest/gtest.h>

#include "tests/support/table_example.h"

#include <optional>
#include <string>
#include <vector>

#include "nodes/mct_writer.h"
#include "nodes/number_reading.h"
#include "tests/support/mct_summary.h"

namespace tendra {
namespace {

using testing::exampleOptions;
using testing::kExampleNodes;

using testing::mctSummary;

// The insertion point in the shortest exact form: no "-0", no exponent.
TEST(TdnProfileText, LaysOutEveryLineCharacterForCharacter) {
    TableOptions options = exampleOptions();
    options.symmetric = false;
    const MctParameters parameters{"15-12", "1to40", "后张束", -12.5, -0.0, 1e21};
    EXPECT_EQ(tdnProfileText({{"钢束1", tableRows(kExampleNodes, options)}}, parameters).text,
              "*TDN-PROFILE\r\n"
              "   NAME=钢束1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n"
              "      后张束, USER, 0, 0, NO, \r\n"
              "      STRAIGHT, -12.5, 0, 1000000000000000000000, X, 0, 0\r\n"
              "      0, YES, Y, 0\r\n"
              "      Y=-10.00, 0, NO, 0, 0, NONE, , , , \r\n"
              "      Y=-2.00, 0, NO, 0, 0, NONE, , , , \r\n"
              "      Z=-10.00, 5.00, NO, 0, 0, NONE, , , , \r\n"
              "      Z=-5.00, 1.00, NO, 0, 15.00, NONE, , , , \r\n"
              "      Z=-2.00, 0.25, NO, 0, 0, NONE, , , , \r\n");
}

TEST(TdnProfileText, WritesTheTablesRowsAsProfilePoints) {
    struct Tendon {
        std::string name;
        std::vector<Node> nodes;
        ArcRadii radii;
    };
    // Nodes 2 and 3 made from arcs of radius 20 and 3.0625; node 4 a sharp corner.
    const Tendon arcs{"N1", {{80, 60}, {90, 52}, {96, 50.5}, {98, 50}}, {{}, 20, 3.0625, {}}};
    const std::string changed = "（名称须唯一，且不含逗号、分号）";
    const struct {
        const char* name;
        std::vector<Tendon> tendons;
        void (*change)(TableOptions&);
        std::string summary;
        std::vector<std::string> findings;
    } cases[] = {
        {"symmetric, last node on the line: that point once",
         {{"N1", {{80, 60}, {90, 52}, {100, 51}}, {}}},
         [](TableOptions&) {},
         "NAME=N1 Y=-10.00 Y=10.00 Z=-10.00,5.00,0 Z=-5.00,1.00,15.00 Z=0.00,0.50,15.00 "
         "Z=5.00,1.00,15.00 Z=10.00,5.00,0",
         {}},
        {"arcs, symmetric: radii scaled, full stop despite a comma; radius text read leniently",
         {arcs},
         [](TableOptions& o) {
             o.separator = ",";
             o.radius = "2 0.5m";
         },
         "NAME=N1 Y=-10.00 Y=10.00 Z=-10.00,5.00,0 Z=-5.00,1.00,10.00 Z=-2.00,0.25,1.53 "
         "Z=-1.00,0.00,20.50 Z=1.00,0.00,20.50 Z=2.00,0.25,1.53 Z=5.00,1.00,10.00 Z=10.00,5.00,0",
         {}},
        {"no radius column: every radius 0, arcs too",
         {arcs},
         [](TableOptions& o) { o.radiusColumn = o.symmetric = false; },
         "NAME=N1 Y=-10.00 Y=-1.00 Z=-10.00,5.00,0 Z=-5.00,1.00,0 Z=-2.00,0.25,0 Z=-1.00,0.00,0",
         {}},
        {"several in the order given; a vertical leg keeps both rows; R20 is 0, said once",
         {{"N2", {{80, 60}, {80, 56}, {90, 52}}, {}}, {"N10", kExampleNodes, {}}},
         [](TableOptions& o) {
             o.radius = "R20";
             o.symmetric = false;
         },
         "NAME=N2 Y=-10.00 Y=-5.00 Z=-10.00,5.00,0 Z=-10.00,3.00,0 Z=-5.00,1.00,0 "
         "NAME=N10 Y=-10.00 Y=-2.00 Z=-10.00,5.00,0 Z=-5.00,1.00,0 Z=-2.00,0.25,0",
         {"半径不是数值，MCT 中按 0 写入"}},
        {"commas, semicolons and repeats changed, suffixes past given names, and said",
         {{"N,1", {{80, 60}}, {}}, {"N;1", {{90, 52}}, {}}, {"N_1-2", {{96, 50.5}}, {}}},
         [](TableOptions& o) {
             o.decimals = 0;
             o.symmetric = false;
         },
         "NAME=N_1 Y=-10 Z=-10,5,0 NAME=N_1-3 Y=-5 Z=-5,1,0 NAME=N_1-2 Y=-2 Z=-2,0,0",
         {"钢束名 N,1：MCT 中改为 N_1" + changed, "钢束名 N;1：MCT 中改为 N_1-3" + changed}},
    };
    for (const auto& c : cases) {
        TableOptions options = exampleOptions();
        c.change(options);
        std::vector<NamedRows> tendons;
        for (const Tendon& tendon : c.tendons) {
            tendons.push_back({tendon.name, tableRows(tendon.nodes, options, tendon.radii)});
        }
        const MctText mct = tdnProfileText(tendons, {});
        EXPECT_EQ(mctSummary(mct.text), c.summary) << c.name;
        EXPECT_EQ(mct.findings, c.findings) << c.name;
    }
}

TEST(StartsWithNumber, TellsANumberFromTextThatReadsAsZero) {
    const struct {
        const char* text;
        bool number;
    } cases[] = {{"15", true},   {" - 2", true}, {".5", true}, {"&H14", true}, {"&o7", true},
                 {"R20", false}, {"", false},    {"-", false}, {"&H", false},  {"&O8", false}};
    for (const auto& c : cases) {
        EXPECT_EQ(startsWithNumber(c.text), c.number) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace tendra
