#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "nodes/table.h"
#include "tests/support/fake_form.h"
#include "tests/support/table_example.h"

namespace tendra {
namespace {

using testing::exampleOptions;
using testing::kExampleNodes;

using testing::FakeForm;
using testing::ShownMessage;

TEST(NodeTableText, WritesEveryLineCharacterForCharacter) {
    const struct {
        const char* name;
        std::vector<Node> nodes;
        void (*change)(TableOptions&);
        std::string text;
    } cases[] = {
        {"worked example", kExampleNodes, [](TableOptions&) {},
         "-10.00\t5.00\t0\r\n-5.00\t1.00\t15\r\n-2.00\t0.25\t15\r\n"
         "2.00\t0.25\t15\r\n5.00\t1.00\t15\r\n10.00\t5.00\t0\r\n"},
        {"not symmetric: no mirrored half, last line ends in 0", kExampleNodes,
         [](TableOptions& o) { o.symmetric = false; },
         "-10.00\t5.00\t0\r\n-5.00\t1.00\t15\r\n-2.00\t0.25\t0\r\n"},
        {"no radius column: two fields a line", kExampleNodes,
         [](TableOptions& o) { o.radiusColumn = false; },
         "-10.00\t5.00\r\n-5.00\t1.00\r\n-2.00\t0.25\r\n2.00\t0.25\r\n5.00\t1.00\r\n"
         "10.00\t5.00\r\n"},
        {"no nodes: empty text", {}, [](TableOptions&) {}, ""},
        {"one node",
         {{80, 60}},
         [](TableOptions& o) { o.symmetric = false; },
         "-10.00\t5.00\t0\r\n"},
        {"one node symmetric: node and mirror both end in 0",
         {{80, 60}},
         [](TableOptions&) {},
         "-10.00\t5.00\t0\r\n10.00\t5.00\t0\r\n"},
        {"two nodes not symmetric: both end in 0",
         {{80, 60}, {90, 52}},
         [](TableOptions& o) { o.symmetric = false; },
         "-10.00\t5.00\t0\r\n-5.00\t1.00\t0\r\n"},
        {"two nodes symmetric",
         {{80, 60}, {90, 52}},
         [](TableOptions&) {},
         "-10.00\t5.00\t0\r\n-5.00\t1.00\t15\r\n5.00\t1.00\t15\r\n10.00\t5.00\t0\r\n"},
        {"radius text is written as it stands",
         {{80, 60}, {90, 52}},
         [](TableOptions& o) { o.radius = "R20"; },
         "-10.00\t5.00\t0\r\n-5.00\t1.00\tR20\r\n5.00\t1.00\tR20\r\n10.00\t5.00\t0\r\n"},
        {"empty radius gives an empty field",
         {{80, 60}, {90, 52}},
         [](TableOptions& o) { o.radius = ""; },
         "-10.00\t5.00\t0\r\n-5.00\t1.00\t\r\n5.00\t1.00\t\r\n10.00\t5.00\t0\r\n"},
        {"radius is never scaled or rounded",
         {{80, 60}, {90, 52}},
         [](TableOptions& o) {
             o.radius = "12.3456";
             o.scale = 2;
             o.symmetric = false;
         },
         "-40.00\t20.00\t0\r\n-20.00\t4.00\t0\r\n"},
        {"scale 2 doubles the coordinates",
         {{80, 60}, {96, 50.5}},
         [](TableOptions& o) { o.scale = 2; },
         "-40.00\t20.00\t0\r\n-8.00\t1.00\t15\r\n8.00\t1.00\t15\r\n40.00\t20.00\t0\r\n"},
        {"node right of the origin: mirrored X negative",
         {{110, 40}},
         [](TableOptions&) {},
         "5.00\t-5.00\t0\r\n-5.00\t-5.00\t0\r\n"},
        {"node on the origin's vertical line: no -0",
         {{100, 52}},
         [](TableOptions&) {},
         "0.00\t1.00\t0\r\n0.00\t1.00\t0\r\n"},
        {"three decimals",
         {{80, 60}},
         [](TableOptions& o) { o.decimals = 3; },
         "-10.000\t5.000\t0\r\n10.000\t5.000\t0\r\n"},
        {"zero decimals: whole numbers without separator",
         {{96, 50.5}},
         [](TableOptions& o) { o.decimals = 0; },
         "-2\t0\t0\r\n2\t0\t0\r\n"},
        {"negative decimals: whole numbers with separator",
         {{96, 50.5}},
         [](TableOptions& o) { o.decimals = -1; },
         "-2.\t0.\t0\r\n2.\t0.\t0\r\n"},
        {"separator from the system",
         {{96, 50.5}},
         [](TableOptions& o) { o.separator = ","; },
         "-2,00\t0,25\t0\r\n2,00\t0,25\t0\r\n"},
        {"scale 0 makes every field zero",
         {{80, 60}},
         [](TableOptions& o) { o.scale = 0; },
         "0.00\t0.00\t0\r\n0.00\t0.00\t0\r\n"},
    };
    for (const auto& c : cases) {
        TableOptions options = exampleOptions();
        c.change(options);
        EXPECT_EQ(nodeTableText(c.nodes, options), c.text) << c.name;
    }
}

// Nodes 2 and 3 made from arcs of radius 20 and 3.0625; node 4 a sharp corner.
TEST(NodeTableText, ArcNodesWriteTheirRadiusScaledLikeACoordinate) {
    const std::vector<Node> nodes{{80, 60}, {90, 52}, {96, 50.5}, {98, 50}};
    const ArcRadii radii{std::nullopt, 20, 3.0625, std::nullopt};
    const struct {
        const char* name;
        void (*change)(TableOptions&);
        std::string text;
    } cases[] = {
        {"symmetric: both halves take the arcs' radii", [](TableOptions&) {},
         "-10.00\t5.00\t0\r\n-5.00\t1.00\t10.00\r\n-2.00\t0.25\t1.53\r\n-1.00\t0.00\t15\r\n"
         "1.00\t0.00\t15\r\n2.00\t0.25\t1.53\r\n5.00\t1.00\t10.00\r\n10.00\t5.00\t0\r\n"},
        {"a negative scale leaves the radius positive",
         [](TableOptions& o) {
             o.scale = -0.5;
             o.symmetric = false;
         },
         "10.00\t-5.00\t0\r\n5.00\t-1.00\t10.00\r\n2.00\t-0.25\t1.53\r\n1.00\t0.00\t0\r\n"},
    };
    for (const auto& c : cases) {
        TableOptions options = exampleOptions();
        c.change(options);
        EXPECT_EQ(nodeTableText(nodes, options, radii), c.text) << c.name;
    }
}

TEST(NodeTableText, RefusesCoordinatesThatLeaveTheDoubleRange) {
    const struct {
        const char* name;
        Node node;
        double originX;
        double scale;
    } cases[] = {
        {"scaled X overflows", {10, 0}, 0, 1e308},
        {"difference to the origin overflows", {1.5e308, 0}, -1.5e308, 1},
        {"infinite scale on a node at the origin",
         {0, 0},
         0,
         std::numeric_limits<double>::infinity()},
    };
    for (const auto& c : cases) {
        TableOptions options;
        options.originX = c.originX;
        options.scale = c.scale;
        EXPECT_THROW(nodeTableText({c.node}, options), std::overflow_error) << c.name;
    }
}

TEST(WriteNodeTable, ReadsTheFieldsEachTimeItRuns) {
    const struct {
        const char* name;
        std::string decimals, radius;
        bool radiusColumn, symmetric;
        std::string separator;
        std::string text;
    } cases[] = {
        {"three decimals", "3", "15", true, false, ".",
         "-10.000\t5.000\t0\r\n-5.000\t1.000\t0\r\n"},
        {"zero decimals", "0", "15", false, false, ".", "-10\t5\r\n-5\t1\r\n"},
        {"decimals not a number", "x", "15", false, false, ".", "-10\t5\r\n-5\t1\r\n"},
        {"decimals 2.9 gives two", "2.9", "15", false, false, ".",
         "-10.00\t5.00\r\n-5.00\t1.00\r\n"},
        {"decimals -1", "-1", "15", false, false, ".", "-10.\t5.\r\n-5.\t1.\r\n"},
        {"radius R20", "0", "R20", true, true, ".",
         "-10\t5\t0\r\n-5\t1\tR20\r\n5\t1\tR20\r\n10\t5\t0\r\n"},
        {"radius between spaces", "0", " 20 ", true, true, ".",
         "-10\t5\t0\r\n-5\t1\t20\r\n5\t1\t20\r\n10\t5\t0\r\n"},
        {"radius of spaces only", "0", "   ", true, true, ".",
         "-10\t5\t0\r\n-5\t1\t\r\n5\t1\t\r\n10\t5\t0\r\n"},
        {"tabs are not trimmed", "0", "\t20 ", true, true, ".",
         "-10\t5\t0\r\n-5\t1\t\t20\r\n5\t1\t\t20\r\n10\t5\t0\r\n"},
        {"comma separator", "1", "15", false, false, ",", "-10,0\t5,0\r\n-5,0\t1,0\r\n"},
    };
    // One form for all rows: a writer that kept an earlier reading would fail the next row.
    FakeForm form;
    for (const auto& c : cases) {
        form.fields[Field::Text1] = c.decimals;
        form.fields[Field::Text2] = c.radius;
        form.options[Option::Check2] = c.radiusColumn;
        form.options[Option::Check1] = c.symmetric;
        form.separator = c.separator;
        form.log.clear();
        EXPECT_TRUE(WriteNodeTable(form, {{80, 60}, {90, 52}}, 0.5, 100, 50)) << c.name;
        EXPECT_EQ(form.output, c.text) << c.name;
        for (const char* read :
             {"read Text1", "read Text2", "read Check1", "read Check2", "read separator"}) {
            EXPECT_EQ(form.count(read), 1u) << c.name << ": " << read;
        }
        ASSERT_FALSE(form.log.empty());
        EXPECT_EQ(form.log.back().what, "write Text8") << c.name;
        EXPECT_EQ(form.count("write Text8"), 1u) << c.name;
    }
    EXPECT_TRUE(form.messages.empty());
}

TEST(WriteNodeTable, NoNodesEmptiesTheOutputBox) {
    FakeForm form;
    form.output = "an older table\r\n";
    EXPECT_TRUE(WriteNodeTable(form, {}, 1, 0, 0));
    EXPECT_EQ(form.output, "");
    EXPECT_EQ(form.count("write Text8"), 1u);
}

TEST(WriteNodeTable, OverflowKeepsTheOldTextAndTellsTheUser) {
    FakeForm form;
    form.output = "an older table\r\n";
    EXPECT_FALSE(WriteNodeTable(form, {{0, 0}, {10, 0}}, 1e308, 0, 0));
    EXPECT_EQ(form.output, "an older table\r\n");
    EXPECT_EQ(form.count("write Text8"), 0u);
    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0], (ShownMessage{"数值超出范围！", "错误", MessageIcon::Stop}));
}

}  // namespace
}  // namespace tendra
