#include <gtest/gtest.h>

#include <limits>

#include "tests/support/drawing_session.h"
#include "tests/support/mct_summary.h"

namespace tendra {
namespace {

using testing::DrawingSession;
using testing::kUnknownError;
using testing::mctSummary;
using testing::ShownMessage;
using Lines = std::vector<std::string>;

// Origin (100, 50), decimals 3, radius 15, radius column on, not symmetric.
struct PickingTest : ::testing::Test {
    PickingTest() {
        session.startAt(100, 50);
        session.form.options[Option::Check1] = false;
        session.form.output = "old table";
        session.form.status = "角点个数：9";
    }
    DrawingSession session;
    const std::string group = DrawingSession::name(0);
};

TEST_F(PickingTest, ThreeNodesThenEnterWriteTheTableAndGroupTheMarkersOnce) {
    session.cad.queuePoint(110, 60, 4);
    session.cad.queuePoint(120, 55);
    session.cad.queuePoint(130, 50);  // then the input ends, as Enter ends it

    session.commands.pickNodes();

    const std::string caption = "\"AutoCAD 2000 - [Drawing1.dwg]\"";
    EXPECT_EQ(session.cad.transcript(),
              (Lines{"Platform.GetActiveObject \"AutoCAD.Application\"",
                     "Application.Visible True",
                     "Application.ActiveDocument",
                     "Application.Caption",
                     "Platform.AppActivate " + caption,
                     "Application.Caption",
                     "Platform.AppActivate " + caption,
                     "Document.Utility",
                     "Utility.GetPoint \"点取第1节点(右键或回车结束) \"",
                     "Document.ModelSpace",
                     "ModelSpace.AddPoint (110, 60, 0)",
                     "Point#2.Color 3",
                     "Utility.GetPoint \"点取第2节点(右键或回车结束) \"",
                     "ModelSpace.AddPoint (120, 55, 0)",
                     "Point#3.Color 3",
                     "Utility.GetPoint \"点取第3节点(右键或回车结束) \"",
                     "ModelSpace.AddPoint (130, 50, 0)",
                     "Point#4.Color 3",
                     "Utility.GetPoint \"点取第4节点(右键或回车结束) \"",
                     "Group:" + group + ".AppendItems [Point#2, Point#3, Point#4]"}));
    EXPECT_EQ(session.form.output,
              "10.000\t10.000\t0\r\n20.000\t5.000\t15\r\n30.000\t0.000\t0\r\n");
    EXPECT_EQ(*session.cad.group(group), (std::vector<int>{1, 2, 3, 4}));
    for (int id : {2, 3, 4}) {
        EXPECT_EQ(session.cad.point(id)->color, 3) << id;
    }
    // The markers are drawn as each node is picked; the table only at the
    // end. Utility and model space are fetched once for the run.
    EXPECT_EQ(session.form.count("write Text8"), 1u);
    EXPECT_EQ(session.form.firstRead("Text1"), 19);
    EXPECT_EQ(session.form.status, "角点个数：9");
    EXPECT_EQ(session.form.count("write Label4"), 0u);
    EXPECT_TRUE(session.form.messages.empty());
}

TEST_F(PickingTest, SymmetricOptionRepeatsTheLastNodeWhateverCheck3Says) {
    session.form.options[Option::Check1] = true;
    session.form.options[Option::Check3] = false;
    session.cad.queuePoint(90, 55);

    session.commands.pickNodes();

    EXPECT_EQ(session.form.output, "-10.000\t5.000\t0\r\n10.000\t5.000\t0\r\n");
}

// Two right-angle bends 10 apart, each with a tangent length of R.
TEST(PickNodes, BendsThatDoNotFitTheirLegAreNamedAfterTheTable) {
    const ShownMessage kLegTooShort{"请检查：\n节点 2–3：半径过大，两端切线长之和超过直线段长",
                                    "提示", MessageIcon::Information};
    const struct {
        const char* name;
        std::string radius, scale;
        bool check2;
        std::vector<ShownMessage> messages;
    } cases[] = {
        {"radius 6 does not fit", "6", "1", true, {kLegTooShort}},
        {"radius 12 at scale -2 is 6 in the drawing", "12", "-2", true, {kLegTooShort}},
        {"radius 5 fits", "5", "1", true, {}},
        {"no radius column, no check", "6", "1", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrawingSession session;
        session.startAt(100, 50);
        session.form.options[Option::Check1] = false;
        session.form.options[Option::Check2] = c.check2;
        session.form.fields[Field::Text2] = c.radius;
        session.form.fields[Field::Text3] = c.scale;
        for (const auto& [x, y] : {std::pair{90, 50}, {100, 50}, {100, 60}, {110, 60}}) {
            session.cad.queuePoint(x, y);
        }
        session.commands.pickNodes();
        EXPECT_EQ(session.form.messages, c.messages);
        EXPECT_EQ(session.form.count("write Text8"), 1u);
    }
}

// Symmetric: picked from the anchor end, or across the mid-span line, the
// mirrored half folds back; that is said once, without the legs the fold
// makes too short.
TEST(PickNodes, AMirrorFoldingBackOverTheTableIsNamedInsteadOfItsLegs) {
    const ShownMessage kFolds{"请检查：\n对称：原点不在跨中对称线上，镜像半边与前半边重叠", "提示",
                              MessageIcon::Information};
    const struct {
        const char* name;
        std::vector<std::pair<double, double>> picks;
        bool symmetric;
        std::vector<ShownMessage> messages;
    } cases[] = {
        {"picked from the anchor end", {{100, 60}, {110, 55}, {120, 50}}, true, {kFolds}},
        {"across the mid-span line", {{70, 80}, {100, 50}, {130, 80}}, true, {kFolds}},
        {"a left half up to the mid-span line", {{80, 60}, {90, 55}, {100, 50}}, true, {}},
        {"not symmetric, nothing folds", {{100, 60}, {110, 55}, {120, 50}}, false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrawingSession session;
        session.startAt(100, 50);
        session.form.options[Option::Check1] = c.symmetric;
        for (const auto& [x, y] : c.picks) {
            session.cad.queuePoint(x, y);
        }
        session.commands.pickNodes();
        EXPECT_EQ(session.form.messages, c.messages);
        EXPECT_EQ(session.form.count("write Text8"), 1u);
    }
}

TEST_F(PickingTest, TheHundredthNodeEndsTheInputAsEnterWould) {
    for (int i = 1; i <= 101; ++i) {
        session.cad.queuePoint(100 + i, 50);
    }

    session.commands.pickNodes();

    EXPECT_EQ(session.cad.countOf("GetPoint"), 100u);
    EXPECT_EQ(session.cad.calls()[session.cad.callCount() - 4].args,
              "\"点取第100节点(右键或回车结束) \"");
    EXPECT_EQ(session.cad.countOf("AppendItems"), 1u);
    EXPECT_EQ(session.cad.group(group)->size(), 101u);
    std::size_t lines = 0;
    for (std::size_t at = 0; (at = session.form.output.find("\r\n", at)) != std::string::npos;
         at += 2) {
        ++lines;
    }
    EXPECT_EQ(lines, 100u);
    EXPECT_TRUE(session.form.output.ends_with("\r\n100.000\t0.000\t0\r\n"));
}

TEST_F(PickingTest, ScaleIsReadBeforePickingAndTheOtherFieldsWhenTheTableIsWritten) {
    session.cad.queuePoint(110, 60);
    session.cad.queuePoint(120, 55);
    int picks = 0;
    session.cad.onCall = [&](const testing::Call& call) {
        if (call.member != "GetPoint" || ++picks != 2) {
            return;
        }
        session.form.fields[Field::Text3] = "10";
        session.form.fields[Field::Text1] = "1";
        session.form.fields[Field::Text2] = "R20";
        session.form.options[Option::Check2] = false;
    };
    session.form.fields[Field::Text3] = "2";

    session.commands.pickNodes();

    // Scale 2 from before the picks; one decimal and no radius from after them.
    EXPECT_EQ(session.form.output, "20.0\t20.0\r\n40.0\t10.0\r\n");
    // After the window is brought to the front, before the first prompt.
    EXPECT_EQ(session.form.firstRead("Text3"), 7);
    EXPECT_EQ(session.form.count("read Text3"), 1u);
}

TEST_F(PickingTest, ATableThatCannotBeWrittenLeavesTheMarkersUngrouped) {
    session.form.fields[Field::Text3] = "1E308";
    session.cad.queuePoint(1E300, 50);

    EXPECT_NO_THROW(session.commands.pickNodes());

    EXPECT_EQ(session.cad.countOf("AppendItems"), 0u);
    EXPECT_EQ(session.form.output, "old table");
    // The table writer's own message, no second one from the command.
    ASSERT_EQ(session.form.messages.size(), 1u);
    EXPECT_NE(session.form.messages[0], kUnknownError);
}

TEST(PickNodes, AConnectionWithoutADocumentFailsAtTheFirstPick) {
    DrawingSession session;
    session.cad.hasDocument = false;

    EXPECT_NO_THROW(session.commands.pickNodes());

    EXPECT_EQ(session.form.messages, std::vector<ShownMessage>{kUnknownError});
    EXPECT_EQ(session.cad.countOf("GetPoint"), 0u);
    EXPECT_EQ(session.form.output, "");
}

// The same picks written as the node table or as MCT: only Text8 and the
// findings differ, unless MCT cannot be written.
TEST(PickNodes, TheOutputFormatDecidesOnlyWhatText8Gets) {
    const struct {
        const char* name;
        OutputFormat format;
        double insertionZ;
        std::string output;  // MCT in short
        const char* message;
    } cases[] = {
        {"node table", OutputFormat::NodeTable, 0,
         "10.000\t10.000\t0\r\n20.000\t5.000\tR20\r\n30.000\t0.000\t0\r\n", nullptr},
        {"MCT: the radius text R20 is 0, and said", OutputFormat::MidasMct, 0,
         "NAME=钢束1 Y=10.000 Y=30.000 Z=10.000,10.000,0 Z=20.000,5.000,0 Z=30.000,0.000,0",
         "请检查：\n半径不是数值，MCT 中按 0 写入"},
        {"MCT out of range keeps the old text", OutputFormat::MidasMct,
         std::numeric_limits<double>::infinity(), "old table", "数值超出范围！"},
    };
    Lines nodeTableCalls;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DrawingSession session;
        session.startAt(100, 50);
        session.form.output = "old table";
        session.form.options[Option::Check1] = false;
        session.form.fields[Field::Text2] = "R20";
        session.form.format = c.format;
        session.form.mct.insertionZ = c.insertionZ;
        for (const auto& [x, y] : {std::pair{110, 60}, {120, 55}, {130, 50}}) {
            session.cad.queuePoint(x, y);
        }
        session.commands.pickNodes();
        const bool mct = c.format == OutputFormat::MidasMct, written = c.output != "old table";
        const std::string& output = session.form.output;
        EXPECT_EQ(mct && written ? mctSummary(output) : output, c.output);
        EXPECT_EQ(session.form.messages.size(), c.message ? 1u : 0u);
        if (c.message && !session.form.messages.empty()) {
            EXPECT_EQ(session.form.messages[0].text, c.message);
        }
        EXPECT_EQ(session.cad.countOf("AppendItems"), written ? 1u : 0u);
        if (nodeTableCalls.empty()) {
            nodeTableCalls = session.cad.transcript();
        } else if (written) {
            EXPECT_EQ(session.cad.transcript(), nodeTableCalls);
        }
    }
}

}  // namespace
}  // namespace tendra
