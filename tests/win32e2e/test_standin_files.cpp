// The stand-in's script and report: a script line it misreads would make an
// end-to-end test answer picks the test never asked for.
#include <gtest/gtest.h>

#include "tests/win32e2e/standin_files.h"

namespace tendra::testing::e2e {
namespace {

struct ScriptCase {
    const char* name;
    std::string text;
    bool valid;
    std::size_t picks = 0;
    std::size_t selected = 0;
    int busy = 0;
};

const ScriptCase kScriptCases[] = {
    {"PointWithoutZ", "point 10 20\n", true, 1},
    {"PointWithZAndCrLf", "point 10 20 5\r\n", true, 1},
    {"EndAndHangArePickSteps", "end\nhang\n", true, 2},
    {"WaitIsAPickStepBeforeTheNext", "wait 1500\npoint 1 2\n", true, 2},
    {"WaitWithoutATimeIsRefused", "wait\n", false},
    {"CommentsAndBlankLinesAreSkipped", "# a comment\n\npoint 1 2\n", true, 1},
    {"SelectionKeepsItsOrder", "select 19 0 0\nselect 24 -30 5 -20 2\n", true, 0, 2},
    {"BulgesAndNormalOfTheLastSelected", "select 24 0 0 8 0 10 2\nbulges 0 0.4\nnormal 0 0 -1\n",
     true, 0, 1},
    {"TextsAndMTextsJoinTheSelectionInOrder",
     "select 24 0 0 1 1\ntext 5 8 0 钢束N1\nmtext 5 8 0 {\\fSimSun;N2}\n", true, 0, 3},
    {"TextWithoutAStringIsAnEmptyLabel", "text 5 8 0\n", true, 0, 1},
    {"TextWithATwoNumberPointIsRefused", "text 5 8 N1\n", false},
    {"BulgesBeforeASelectionAreRefused", "bulges 0 0.4\n", false},
    {"NormalWithTwoNumbersIsRefused", "select 24 0 0 1 1\nnormal 0 -1\n", false},
    {"Busy", "busy 2000\n", true, 0, 0, 2000},
    {"BusyWithMoreThanATimeIsRefused", "busy 1500 2\n", false},
    {"StartingWithOneTimeIsRefused", "starting 1500\n", false},
    {"PointWithOneNumberIsRefused", "point 10\n", false},
    {"PointWithTextIsRefused", "point 10 x\n", false},
    {"FractionalEntityTypeIsRefused", "select 24.5 0 0\n", false},
    {"NegativeBusyIsRefused", "busy -1\n", false},
    {"UnknownWordIsRefused", "click 1 2\n", false},
    {"EndWithArgumentsIsRefused", "end now\n", false},
    {"EndWithAHexNumber", "end 0x80040201\n", true, 1},
    {"EndWithANumberBeyond32BitsIsRefused", "end 0x180040201\n", false},
    {"EndWithANumberAndMoreIsRefused", "end 0x80040201 2\n", false},
    {"LinesAndArcsJoinTheSelectionInOrder", "line 0 0 10 0\narc 10 5 10 0 15 5\nline 15 5 15 9\n",
     true, 0, 3},
    {"LineWithThreeNumbersIsRefused", "line 0 0 10\n", false},
    {"ArcWithFourNumbersIsRefused", "arc 10 5 10 0\n", false},
    {"LayerBeforeASelectionIsRefused", "layer AT1\n", false},
    {"FittingOfALightweightPolylineIsRefused", "select 24 0 0 10 0\nfitting 2\n", false},
    {"HeightOfALineIsRefused", "line 0 0 1 1\nheight 2\n", false},
};

class StandInScriptTest : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(StandInScriptTest, ReadsEveryStepOrRefusesTheLine) {
    const ScriptCase& c = GetParam();
    std::string error;
    const auto script = parseScript(c.text, &error);
    ASSERT_EQ(script.has_value(), c.valid) << error;
    if (!script) {
        EXPECT_NE(error.find("line "), std::string::npos);
        return;
    }
    EXPECT_EQ(script->picks.size(), c.picks);
    EXPECT_EQ(script->selection.size(), c.selected);
    EXPECT_EQ(script->busyMilliseconds, c.busy);
}

INSTANTIATE_TEST_SUITE_P(Lines, StandInScriptTest, ::testing::ValuesIn(kScriptCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(StandInScript, KeepsPickValuesSelectedCoordinatesAndStartingTimes) {
    const auto script = parseScript(
        "point 110 60 4\nhang\nselect 24 -30 5 -20 2\nbulges 0.25\nnormal 0 0 -1\n"
        "starting 1500 500\n");
    ASSERT_TRUE(script);
    ASSERT_EQ(script->picks.size(), 2u);
    EXPECT_EQ(script->picks[0].kind, PickStep::Point);
    EXPECT_EQ(script->picks[0].x, 110);
    EXPECT_EQ(script->picks[0].y, 60);
    EXPECT_EQ(script->picks[0].z, 4);
    EXPECT_EQ(script->picks[1].kind, PickStep::Hang);
    const auto ends = parseScript("end\nend 0x80040201\nend -2147467259\n");
    ASSERT_TRUE(ends);
    ASSERT_EQ(ends->picks.size(), 3u);
    EXPECT_EQ(ends->picks[0].number, static_cast<std::int32_t>(0x80004005));
    EXPECT_EQ(ends->picks[1].number, -2147220991);
    EXPECT_EQ(ends->picks[2].number, static_cast<std::int32_t>(0x80004005));
    ASSERT_EQ(script->selection.size(), 1u);
    EXPECT_EQ(script->selection[0].type, 24);
    EXPECT_EQ(script->selection[0].coordinates, (std::vector<double>{-30, 5, -20, 2}));
    EXPECT_EQ(script->selection[0].bulges, (std::vector<double>{0.25}));
    EXPECT_EQ(script->selection[0].normal, (std::array<double, 3>{0, 0, -1}));
    EXPECT_EQ(script->startingMilliseconds, 1500);
    EXPECT_EQ(script->settlingMilliseconds, 500);
}

TEST(StandInScript, KeepsATextsStringAsWrittenAndItsPoint) {
    const auto script = parseScript("text 5 -8.5 1  钢束 N1 \nmtext 0 0 0 {\\H2.5;N2}\\PB\n");
    ASSERT_TRUE(script);
    ASSERT_EQ(script->selection.size(), 2u);
    EXPECT_EQ(script->selection[0].type, kTextType);
    EXPECT_EQ(script->selection[0].text, " 钢束 N1 ");
    EXPECT_EQ(script->selection[0].insertion, (std::array<double, 3>{5, -8.5, 1}));
    EXPECT_EQ(script->selection[1].type, kMTextType);
    EXPECT_EQ(script->selection[1].text, "{\\H2.5;N2}\\PB");
}

TEST(StandInReport, ReadsBackWhatWasWritten) {
    StandInReport report;
    report.processId = 4242;
    report.state = "picking";
    report.rejectedCalls = 7;
    report.servedWhileBusy = 2;
    report.points = {{1, 0.1, -2.5, 0, 1}, {2, 1e9, 3, 0, 3}};
    report.groups = {{".5123", {"Point#1", "Point#2"}}, {".77", {}}};
    report.variables = {{"pdmode", "I2 3"}};
    report.selectionSets = {".25", ".7055475"};
    report.calls = {"Utility.GetPoint(missing, \"点取坐标原点 \")",
                    "Application.Visible = BOOL true"};

    EXPECT_EQ(parseReport(formatReport(report)), report);
}

}  // namespace
}  // namespace tendra::testing::e2e
