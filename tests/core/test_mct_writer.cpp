#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "nodes/mct_writer.h"
#include "nodes/number_reading.h"
#include "tests/support/fake_form.h"

namespace tendra {
namespace {

using testing::FakeForm;
using testing::ShownMessage;

// Each line followed by CR LF.
std::string crlf(std::initializer_list<const char*> lines) {
    std::string text;
    for (const char* line : lines) {
        text.append(line).append("\r\n");
    }
    return text;
}

// Origin (100, 50), scale 0.5, two decimals, radius 15, symmetric.
TableOptions exampleOptions() {
    TableOptions options;
    options.originX = 100;
    options.originY = 50;
    options.scale = 0.5;
    options.decimals = 2;
    options.radius = "15";
    return options;
}

MctParameters exampleParameters() {
    return {"15-12", "1to40", "后张束", 0, 0, 0};
}

const std::vector<Node> kExample = {{80, 60}, {90, 52}, {96, 50.5}};
// Nodes 2 and 3 made from arcs of radius 20 and 3.0625; node 4 a sharp corner.
const std::vector<Node> kArcNodes = {{80, 60}, {90, 52}, {96, 50.5}, {98, 50}};
const ArcRadii kArcRadii = {std::nullopt, 20, 3.0625, std::nullopt};

struct TendonInput {
    std::string name;
    std::vector<Node> nodes;
    ArcRadii radii;
};

TEST(TdnProfileText, WritesEveryLineCharacterForCharacter) {
    const std::string head = crlf({"      后张束, USER, 0, 0, NO, ",
                                   "      STRAIGHT, 0, 0, 0, X, 0, 0", "      0, YES, Y, 0"});
    const struct {
        const char* name;
        std::vector<TendonInput> tendons;
        void (*change)(TableOptions&, MctParameters&);
        std::string text;
        std::vector<std::string> findings;
    } cases[] = {
        {"one tendon, symmetric, last node off the line: both middle rows kept",
         {{"钢束1", kExample, {}}},
         [](TableOptions&, MctParameters&) {},
         "*TDN-PROFILE\r\n   NAME=钢束1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n" + head +
             crlf({"      Y=-10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Y=10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Z=-10.00, 5.00, NO, 0, 0, NONE, , , , ",
                   "      Z=-5.00, 1.00, NO, 0, 15.00, NONE, , , , ",
                   "      Z=-2.00, 0.25, NO, 0, 15.00, NONE, , , , ",
                   "      Z=2.00, 0.25, NO, 0, 15.00, NONE, , , , ",
                   "      Z=5.00, 1.00, NO, 0, 15.00, NONE, , , , ",
                   "      Z=10.00, 5.00, NO, 0, 0, NONE, , , , "}),
         {}},
        {"several tendons in their order, empty group, insertion point as typed",
         {{"N2", {{90, 52}, {98, 50}}, {}}, {"N10", {{80, 60}, {96, 50.5}}, {}}},
         [](TableOptions& o, MctParameters& p) {
             o.symmetric = false;
             p.group = "";
             p.insertionX = 12.5;
             p.insertionY = -3;
             p.insertionZ = 0.1;
         },
         crlf({"*TDN-PROFILE", "   NAME=N2, 15-12, 1to40, 0, 0, ROUND, 2D",
               "      , USER, 0, 0, NO, ", "      STRAIGHT, 12.5, -3, 0.1, X, 0, 0",
               "      0, YES, Y, 0", "      Y=-5.00, 0, NO, 0, 0, NONE, , , , ",
               "      Y=-1.00, 0, NO, 0, 0, NONE, , , , ",
               "      Z=-5.00, 1.00, NO, 0, 0, NONE, , , , ",
               "      Z=-1.00, 0.00, NO, 0, 0, NONE, , , , ",
               "   NAME=N10, 15-12, 1to40, 0, 0, ROUND, 2D", "      , USER, 0, 0, NO, ",
               "      STRAIGHT, 12.5, -3, 0.1, X, 0, 0", "      0, YES, Y, 0",
               "      Y=-10.00, 0, NO, 0, 0, NONE, , , , ",
               "      Y=-2.00, 0, NO, 0, 0, NONE, , , , ",
               "      Z=-10.00, 5.00, NO, 0, 0, NONE, , , , ",
               "      Z=-2.00, 0.25, NO, 0, 0, NONE, , , , "}),
         {}},
        {"symmetric, last node on the line: that point written once",
         {{"N1", {{80, 60}, {90, 52}, {100, 51}}, {}}},
         [](TableOptions&, MctParameters&) {},
         "*TDN-PROFILE\r\n   NAME=N1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n" + head +
             crlf({"      Y=-10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Y=10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Z=-10.00, 5.00, NO, 0, 0, NONE, , , , ",
                   "      Z=-5.00, 1.00, NO, 0, 15.00, NONE, , , , ",
                   "      Z=0.00, 0.50, NO, 0, 15.00, NONE, , , , ",
                   "      Z=5.00, 1.00, NO, 0, 15.00, NONE, , , , ",
                   "      Z=10.00, 5.00, NO, 0, 0, NONE, , , , "}),
         {}},
        {"arcs: radii scaled and rounded, full stop despite a comma separator; the sharp corner "
         "takes the radius text",
         {{"N1", kArcNodes, kArcRadii}},
         [](TableOptions& o, MctParameters&) { o.separator = ","; },
         "*TDN-PROFILE\r\n   NAME=N1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n" + head +
             crlf({"      Y=-10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Y=10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Z=-10.00, 5.00, NO, 0, 0, NONE, , , , ",
                   "      Z=-5.00, 1.00, NO, 0, 10.00, NONE, , , , ",
                   "      Z=-2.00, 0.25, NO, 0, 1.53, NONE, , , , ",
                   "      Z=-1.00, 0.00, NO, 0, 15.00, NONE, , , , ",
                   "      Z=1.00, 0.00, NO, 0, 15.00, NONE, , , , ",
                   "      Z=2.00, 0.25, NO, 0, 1.53, NONE, , , , ",
                   "      Z=5.00, 1.00, NO, 0, 10.00, NONE, , , , ",
                   "      Z=10.00, 5.00, NO, 0, 0, NONE, , , , "}),
         {}},
        {"a vertical leg: same x, another height, both rows kept",
         {{"N1", {{80, 60}, {80, 56}, {90, 52}}, {}}},
         [](TableOptions& o, MctParameters&) { o.symmetric = false; },
         "*TDN-PROFILE\r\n   NAME=N1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n" + head +
             crlf({"      Y=-10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Y=-5.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Z=-10.00, 5.00, NO, 0, 0, NONE, , , , ",
                   "      Z=-10.00, 3.00, NO, 0, 15.00, NONE, , , , ",
                   "      Z=-5.00, 1.00, NO, 0, 0, NONE, , , , "}),
         {}},
        {"no radius column: every radius 0, arcs too",
         {{"N1", kArcNodes, kArcRadii}},
         [](TableOptions& o, MctParameters&) {
             o.radiusColumn = false;
             o.symmetric = false;
         },
         "*TDN-PROFILE\r\n   NAME=N1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n" + head +
             crlf({"      Y=-10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Y=-1.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Z=-10.00, 5.00, NO, 0, 0, NONE, , , , ",
                   "      Z=-5.00, 1.00, NO, 0, 0, NONE, , , , ",
                   "      Z=-2.00, 0.25, NO, 0, 0, NONE, , , , ",
                   "      Z=-1.00, 0.00, NO, 0, 0, NONE, , , , "}),
         {}},
        {"radius R20 is no number: 0 and said once",
         {{"N1", kExample, {}}},
         [](TableOptions& o, MctParameters&) {
             o.radius = "R20";
             o.symmetric = false;
         },
         "*TDN-PROFILE\r\n   NAME=N1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n" + head +
             crlf({"      Y=-10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Y=-2.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Z=-10.00, 5.00, NO, 0, 0, NONE, , , , ",
                   "      Z=-5.00, 1.00, NO, 0, 0, NONE, , , , ",
                   "      Z=-2.00, 0.25, NO, 0, 0, NONE, , , , "}),
         {"半径不是数值，MCT 中按 0 写入"}},
        {"radius read leniently, with the decimals and a full stop despite a comma separator",
         {{"N1", kExample, {}}},
         [](TableOptions& o, MctParameters&) {
             o.radius = "2 0.5m";
             o.separator = ",";
             o.symmetric = false;
         },
         "*TDN-PROFILE\r\n   NAME=N1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n" + head +
             crlf({"      Y=-10.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Y=-2.00, 0, NO, 0, 0, NONE, , , , ",
                   "      Z=-10.00, 5.00, NO, 0, 0, NONE, , , , ",
                   "      Z=-5.00, 1.00, NO, 0, 20.50, NONE, , , , ",
                   "      Z=-2.00, 0.25, NO, 0, 0, NONE, , , , "}),
         {}},
        {"a comma and a repeated name changed, and said",
         {{"N,1", {{80, 60}}, {}}, {"N,1", {{90, 52}}, {}}},
         [](TableOptions& o, MctParameters&) {
             o.symmetric = false;
             o.decimals = 0;
         },
         "*TDN-PROFILE\r\n   NAME=N_1, 15-12, 1to40, 0, 0, ROUND, 2D\r\n" + head +
             crlf({"      Y=-10, 0, NO, 0, 0, NONE, , , , ",
                   "      Z=-10, 5, NO, 0, 0, NONE, , , , ",
                   "   NAME=N_1-2, 15-12, 1to40, 0, 0, ROUND, 2D"}) +
             head +
             crlf({"      Y=-5, 0, NO, 0, 0, NONE, , , , ",
                   "      Z=-5, 1, NO, 0, 0, NONE, , , , "}),
         {"钢束名 N,1：MCT 中改为 N_1（名称须唯一，且不含逗号、分号）",
          "钢束名 N,1：MCT 中改为 N_1-2（名称须唯一，且不含逗号、分号）"}},
    };
    for (const auto& c : cases) {
        TableOptions options = exampleOptions();
        MctParameters parameters = exampleParameters();
        c.change(options, parameters);
        std::vector<NamedRows> tendons;
        for (const TendonInput& tendon : c.tendons) {
            tendons.push_back({tendon.name, tableRows(tendon.nodes, options, tendon.radii)});
        }
        const MctText mct = tdnProfileText(tendons, parameters);
        EXPECT_EQ(mct.text, c.text) << c.name;
        EXPECT_EQ(mct.findings, c.findings) << c.name;
    }
}

TEST(MctNames, MakesNamesUniqueWithoutCommasOrSemicolons) {
    const struct {
        const char* name;
        std::vector<std::string> given, written;
        std::size_t findings;
    } cases[] = {
        {"distinct names stay", {"N1", "N2"}, {"N1", "N2"}, 0},
        {"commas and semicolons become underscores", {"N,1;a"}, {"N_1_a"}, 1},
        {"repeats numbered from 2", {"N1", "N1", "N1"}, {"N1", "N1-2", "N1-3"}, 2},
        {"a suffix skips a name another tendon has",
         {"N1", "N1", "N1-2"},
         {"N1", "N1-3", "N1-2"},
         1},
        {"a cleaned name meeting a given one is a repeat", {"N_1", "N;1"}, {"N_1", "N_1-2"}, 1},
    };
    for (const auto& c : cases) {
        const MctNames names = mctNames(c.given);
        EXPECT_EQ(names.names, c.written) << c.name;
        EXPECT_EQ(names.findings.size(), c.findings) << c.name;
    }
}

TEST(MctNumber, WritesTheShortestExactDecimal) {
    const struct {
        double value;
        const char* text;
    } cases[] = {
        {0, "0"},
        {-0.0, "0"},
        {12.5, "12.5"},
        {-3, "-3"},
        {0.1, "0.1"},
        {1e-7, "0.0000001"},
        {1e21, "1000000000000000000000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(mctNumber(c.value), c.text) << c.text;
    }
    EXPECT_THROW(mctNumber(std::numeric_limits<double>::infinity()), std::overflow_error);
    EXPECT_THROW(mctNumber(std::numeric_limits<double>::quiet_NaN()), std::overflow_error);
}

TEST(StartsWithNumber, TellsANumberFromTextThatReadsAsZero) {
    const struct {
        const char* text;
        bool number;
    } cases[] = {
        {"15", true},  {" - 2", true}, {".5", true},   {"+.5", true}, {"&H14", true}, {"&o7", true},
        {"0", true},   {"R20", false}, {"", false},    {"  ", false}, {"-", false},   {".", false},
        {"&H", false}, {"&O8", false}, {"&X1", false}, {"e5", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(startsWithNumber(c.text), c.number) << '"' << c.text << '"';
    }
}

TEST(WriteMct, WritesTheOutputBoxOrKeepsItWhenAValueIsNotFinite) {
    const struct {
        const char* name;
        double insertionZ;
        std::string radius;
        bool written;
    } cases[] = {
        {"written", 0, "15", true},
        {"insertion point not finite", std::numeric_limits<double>::infinity(), "15", false},
        {"radius text too large for a double", 0, "1e999", false},
    };
    for (const auto& c : cases) {
        FakeForm form;
        form.output = "an older table\r\n";
        form.mct = exampleParameters();
        form.mct.insertionZ = c.insertionZ;
        TableOptions options = exampleOptions();
        options.radius = c.radius;
        const auto findings = WriteMct(form, {{"N1", tableRows(kExample, options)}});
        EXPECT_EQ(findings.has_value(), c.written) << c.name;
        EXPECT_EQ(form.count("read mctfrm"), 1u) << c.name;
        EXPECT_EQ(form.output.starts_with("*TDN-PROFILE\r\n"), c.written) << c.name;
        const std::vector<ShownMessage> told{{"数值超出范围！", "错误", MessageIcon::Stop}};
        EXPECT_EQ(form.messages, c.written ? std::vector<ShownMessage>{} : told) << c.name;
    }
}

}  // namespace
}  // namespace tendra
