#include <gtest/gtest.h>

#include <algorithm>

#include "nodes/polyline_extraction.h"
#include "tests/support/cad_errors.h"
#include "tests/support/drawing_session.h"
#include "tests/support/mct_summary.h"

namespace tendra {
namespace {

using testing::DrawingSession;
using testing::entityOfType;
using testing::kUnknownError;
using testing::mtext;
using testing::polyline;
using testing::Selectable;
using testing::ShownMessage;
using Lines = std::vector<std::string>;
using Points = std::vector<cad::Point>;
namespace type = cad::entity_type;

const std::vector<double> kTendon{-30, 5, -20, 2, -10, 0, 0, 0};
const std::string kTendonTable =
    "-30.000\t5.000\t0\r\n-20.000\t2.000\t15\r\n-10.000\t0.000\t15\r\n0.000\t0.000\t0\r\n";
const Points kTendonMarkers{{-30, 5, 0}, {-20, 2, 0}, {-10, 0, 0}, {0, 0, 0}};

// After an origin at (0, 0): scale 1, decimals 3, radius 15, radius column on,
// the symmetric options as given, and an older table and count on show.
struct PolylineRun {
    explicit PolylineRun(bool check1 = false, bool check3 = false) {
        session.startAt(0, 0);
        session.form.options[Option::Check1] = check1;
        session.form.options[Option::Check3] = check3;
        session.form.output = "old table";
        session.form.status = "old count";
    }
    void run(std::vector<Selectable> selection) {
        session.cad.prepareSelection(std::move(selection));
        EXPECT_NO_THROW(session.commands.extractPolylineNodes());
    }
    // The node markers drawn, without the origin's.
    Points markers() const {
        Points result;
        for (const auto& point : session.cad.points()) {
            if (point.id > 1) {
                EXPECT_EQ(point.color, 3) << point.id;
                result.push_back(point.at);
            }
        }
        return result;
    }
    std::size_t grouped() const { return session.cad.group(group)->size() - 1; }
    // Nothing changed: the selection set made for the click is deleted again.
    void expectUnchanged() const {
        EXPECT_EQ(session.form.output, "old table");
        EXPECT_EQ(session.form.status, "old count");
        EXPECT_EQ(session.cad.points().size(), 1u);
        EXPECT_EQ(grouped(), 0u);
        EXPECT_EQ(session.cad.countOf("SelectionSet:" + set + ".Delete"), 1u);
        EXPECT_TRUE(session.cad.selectionSets().empty());
    }

    DrawingSession session;
    const std::string group = DrawingSession::name(0);
    const std::string set = DrawingSession::name(1);
};

TEST(PolylineExtraction, TakesTheFirstPolylinePastOtherEntitiesWithTheseCalls) {
    PolylineRun r;
    r.run({entityOfType(type::kLine), entityOfType(type::kArc), polyline(kTendon),
           polyline({0, 0, 50, 50})});

    const std::string selection = "SelectionSet:" + r.set;
    Lines expected{
        "Platform.GetActiveObject \"AutoCAD.Application\"", "Application.Visible True",
        "Application.ActiveDocument", "Application.Caption",
        "Platform.AppActivate \"AutoCAD 2000 - [Drawing1.dwg]\"", "Application.Caption",
        "Platform.AppActivate \"AutoCAD 2000 - [Drawing1.dwg]\"", "Document.SelectionSets",
        "SelectionSets.Add \"" + r.set + "\"", selection + ".SelectOnScreen", selection + ".Count",
        selection + ".Item 0", "Entity#1.EntityType", selection + ".Item 1", "Entity#2.EntityType",
        selection + ".Item 2", "Entity#3.EntityType", selection + ".Item 3", "Entity#4.EntityType",
        // The line and the arc are read as pieces, and join nothing.
        "Entity#1.StartPoint", "Entity#1.EndPoint", "Entity#2.StartPoint", "Entity#2.EndPoint",
        "Entity#2.Center", "Entity#2.Normal", "Entity#3.Coordinates", "Entity#3.Normal",
        "Entity#3.GetBulge 0", "Entity#3.GetBulge 1", "Entity#3.GetBulge 2", selection + ".Delete",
        "Document.ModelSpace"};
    for (int i = 0; i < 4; ++i) {
        expected.push_back("ModelSpace.AddPoint " + testing::pointText(kTendonMarkers[i]));
        expected.push_back("Point#" + std::to_string(i + 2) + ".Color 3");
    }
    expected.push_back("Group:" + r.group + ".AppendItems [Point#2, Point#3, Point#4, Point#5]");
    EXPECT_EQ(r.session.cad.transcript(), expected);
    EXPECT_EQ(r.session.form.output, kTendonTable);
    EXPECT_EQ(r.session.form.status, "角点个数：4");
    EXPECT_EQ(*r.session.cad.group(r.group), (std::vector<int>{1, 2, 3, 4, 5}));
    // The table is written only when every marker is drawn.
    EXPECT_EQ(r.session.form.firstRead("Text1"), 40);
    // Two polylines: the user was asked, and "否" takes the first as ever.
    EXPECT_EQ(r.session.form.questions.size(), 1u);
    EXPECT_TRUE(r.session.form.messages.empty());
    EXPECT_EQ(r.session.form.count("enable node buttons"), 0u);
}

TEST(PolylineExtraction, SymmetricSettingsChooseTheNodesAndTheCount) {
    const struct {
        const char* name;
        bool check1, check3;
        std::vector<double> coordinates;
        std::string table;
        Points markers;
        std::string status;
    } cases[] = {
        {"worked example, not symmetric", false, false, kTendon, kTendonTable, kTendonMarkers,
         "角点个数：4"},
        {"Check3 without Check1 changes nothing", false, true, kTendon, kTendonTable,
         kTendonMarkers, "角点个数：4"},
        {"worked example, symmetric leaves out the last vertex",
         true,
         false,
         kTendon,
         "-30.000\t5.000\t0\r\n-20.000\t2.000\t15\r\n-10.000\t0.000\t15\r\n"
         "10.000\t0.000\t15\r\n20.000\t2.000\t15\r\n30.000\t5.000\t0\r\n",
         {{-30, 5, 0}, {-20, 2, 0}, {-10, 0, 0}},
         "角点个数：6"},
        {"symmetric with the last node repeats it",
         true,
         true,
         {-20, 2, -10, 0},
         "-20.000\t2.000\t0\r\n-10.000\t0.000\t15\r\n10.000\t0.000\t15\r\n20.000\t2.000\t0\r\n",
         {{-20, 2, 0}, {-10, 0, 0}},
         "角点个数：4"},
        {"two vertices symmetric give one node and its mirror",
         true,
         false,
         {-20, 2, -10, 0},
         "-20.000\t2.000\t0\r\n20.000\t2.000\t0\r\n",
         {{-20, 2, 0}},
         "角点个数：2"},
        {"right to left gives the left-to-right table",
         false,
         false,
         {0, 0, -10, 0, -20, 2, -30, 5},
         kTendonTable,
         kTendonMarkers,
         "角点个数：4"},
        {"a vertical first segment keeps the drawn order",
         false,
         false,
         {-10, 0, -10, 8, -30, 5},
         "-10.000\t0.000\t0\r\n-10.000\t8.000\t15\r\n-30.000\t5.000\t0\r\n",
         {{-10, 0, 0}, {-10, 8, 0}, {-30, 5, 0}},
         "角点个数：3"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r(c.check1, c.check3);
        r.run({polyline(c.coordinates)});

        EXPECT_EQ(r.session.form.output, c.table);
        EXPECT_EQ(r.markers(), c.markers);
        EXPECT_EQ(r.grouped(), c.markers.size());
        EXPECT_EQ(r.session.cad.countOf("AppendItems"), 1u);
        EXPECT_EQ(r.session.form.status, c.status);
    }
}

// Fillets of radii 4 and 2 at two 45° bends, at (-40, 0) and (-20, 0).
const std::vector<double> kFilletedTendon{-50,
                                          10,
                                          -41.17157287525381,
                                          1.17157287525381,
                                          -38.34314575050762,
                                          0,
                                          -20.82842712474619,
                                          0,
                                          -19.414213562373096,
                                          0.585786437626905,
                                          -10,
                                          10};
const std::vector<double> kFilletBulges{0, 0.198912367379658, 0, 0.198912367379658, 0};
// The same drawn in a coordinate system whose normal points down.
std::vector<double> mirroredX(std::vector<double> values, bool everyValue) {
    for (std::size_t i = 0; i < values.size(); i += everyValue ? 1 : 2) {
        values[i] = -values[i];
    }
    return values;
}

TEST(PolylineExtraction, ArcsAskOnceAndYesTakesTheLegsIntersectionsWithTheArcsRadii) {
    const std::string question =
        "所选多段线含 2 段圆弧。\n是：以圆弧两侧切线交点为节点，半径列取圆弧半径；\n"
        "否：按顶点取节点（与以前相同）。";
    const std::string yesTable =
        "-50.000\t10.000\t0\r\n-40.000\t0.000\t4.000\r\n-20.000\t0.000\t2.000\r\n";
    const ShownMessage legsTooShort{
        "请检查：\n节点 2–3：半径过大，两端切线长之和超过直线段长\n"
        "节点 4–5：半径过大，两端切线长之和超过直线段长",
        "提示", MessageIcon::Information};
    const struct {
        const char* name;
        Selectable drawn;
        bool yes, check1, check3;
        std::string table;
        std::size_t markers;
        std::vector<ShownMessage> messages = {};
    } cases[] = {
        {"yes", polyline(kFilletedTendon, kFilletBulges), true, false, false,
         yesTable + "-10.000\t10.000\t0\r\n", 4},
        {"no gives the vertices, whose radius text does not fit the short legs",
         polyline(kFilletedTendon, kFilletBulges),
         false,
         false,
         false,
         "-50.000\t10.000\t0\r\n-41.172\t1.172\t15\r\n-38.343\t0.000\t15\r\n"
         "-20.828\t0.000\t15\r\n-19.414\t0.586\t15\r\n-10.000\t10.000\t0\r\n",
         6,
         {legsTooShort}},
        {"yes, symmetric leaves out the last node", polyline(kFilletedTendon, kFilletBulges), true,
         true, false,
         yesTable + "20.000\t0.000\t2.000\r\n40.000\t0.000\t4.000\r\n50.000\t10.000\t0\r\n", 3},
        {"yes, symmetric with the last node, which takes the radius text",
         polyline(kFilletedTendon, kFilletBulges), true, true, true,
         yesTable + "-10.000\t10.000\t15\r\n10.000\t10.000\t15\r\n20.000\t0.000\t2.000\r\n"
                    "40.000\t0.000\t4.000\r\n50.000\t10.000\t0\r\n",
         4},
        {"yes, drawn with its normal down",
         polyline(mirroredX(kFilletedTendon, false), mirroredX(kFilletBulges, true), {0, 0, -1}),
         true, false, false, yesTable + "-10.000\t10.000\t0\r\n", 4},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r(c.check1, c.check3);
        r.session.form.answerYes = c.yes;
        r.run({c.drawn});

        EXPECT_EQ(r.session.form.questions,
                  (std::vector<ShownMessage>{{question, "Tendra", MessageIcon::None}}));
        EXPECT_EQ(r.session.form.output, c.table);
        EXPECT_EQ(r.markers().size(), c.markers);
        EXPECT_EQ(r.session.form.messages, c.messages);
    }
}

TEST(PolylineExtraction, RefusesWhatItCannotTurnIntoNodesBeforeDrawing) {
    std::vector<double> vertices101;
    for (int i = 0; i < 101; ++i) {
        vertices101.insert(vertices101.end(), {double(i), 0});
    }
    const struct {
        const char* name;
        std::vector<Selectable> selection;
        const char* message;
    } cases[] = {
        {"an empty selection", {}, "所选对象应为多段线！"},
        {"only lines and circles",
         {entityOfType(type::kLine), entityOfType(type::kCircle)},
         "所选对象应为多段线！"},
        {"a curve-fit old-style polyline",
         {testing::polyline2d(kTendon, {}, 1)},
         "所选多段线经过拟合或样条化，无法处理！"},
        {"a lone line", {testing::line(0, 0, 10, 0)}, "所选对象应为多段线！"},
        {"a closed outline",
         {testing::line(0, 0, 10, 0), testing::line(10, 0, 10, 5), testing::line(10, 5, 0, 5),
          testing::line(0, 5, 0, 0)},
         "所选对象应为多段线！"},
        {"pieces a hair apart",
         {testing::line(-30, 5, -20, 2), testing::line(-19.99, 2, 0, 0)},
         "钢束图元在 (-20, 2) 处未连接！"},
        {"three pieces at one point",
         {polyline(kTendon), testing::line(-30, 5, -20, 2), testing::line(-20, 2, -10, 0),
          testing::line(-20, 2, -20, 10)},
         "钢束图元在 (-20, 2) 处分叉！"},
        {"a polyline of one vertex", {polyline({3, 4})}, "所选多段线的顶点少于两个！"},
        {"a polyline without vertices", {polyline({})}, "所选多段线的顶点少于两个！"},
        {"101 nodes", {polyline(vertices101)}, "节点数超过100个，无法处理！"},
        {"a polyline not in the XY plane",
         {polyline(kTendon, {}, {0, 1, 0})},
         "所选多段线不在XY平面内！"},
        {"a half-circle arc",
         {polyline(kTendon, {0, 1})},
         "圆弧圆心角不小于180°，无法求切线交点！"},
        {"an arc between parallel legs",
         {polyline({0, 0, 10, 0, 12, 1, 20, 1}, {0, 0.5})},
         "圆弧两侧切线不相交，无法求交点！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r;
        r.session.form.answerYes = true;
        r.run(c.selection);

        EXPECT_EQ(r.session.form.messages,
                  (std::vector<ShownMessage>{{c.message, "错误", MessageIcon::Stop}}));
        r.expectUnchanged();
        EXPECT_EQ(r.session.cad.countOf("AddPoint"), 0u);
    }
}

// Two tendons and their labels, selected in one go: N10 drawn right to left
// with a bend too sharp for the radius text, and N2 (the tendon above).
const std::vector<double> kSharpTendon{0, 12, -19, 12, -20, 10, -30, 10};
const std::string kSharpTable =
    "-30.000\t10.000\t0\r\n-20.000\t10.000\t15\r\n-19.000\t12.000\t15\r\n0.000\t12.000\t0\r\n";
std::vector<Selectable> twoLabelledTendons() {
    return {testing::text(" N10 ", -25, 11), polyline(kSharpTendon), entityOfType(type::kLine),
            polyline(kTendon), mtext("{\\fArial;N2}", -15, 0.5)};
}
const std::string kSeveralQuestion =
    "所选对象含 2 条多段线。\n是：逐条取节点，每条钢束一张表；\n否：只取第一条（与以前相同）。";

// kFilletedTendon drawn as LINE and ARC pieces, shuffled, one drawn backwards.
std::vector<Selectable> filletedPieces() {
    const std::vector<double>& v = kFilletedTendon;
    return {testing::line(v[4], v[5], v[6], v[7]),
            testing::arc(-20.82842712474619, 2, {v[6], v[7], 0}, {v[8], v[9], 0}),
            testing::line(v[10], v[11], v[8], v[9]), testing::line(v[0], v[1], v[2], v[3]),
            testing::arc(-38.34314575050762, 4, {v[2], v[3], 0}, {v[4], v[5], 0})};
}
// kTendon drawn as lines, from the right.
std::vector<Selectable> tendonLines(const std::string& layer = "0") {
    return {testing::onLayer(testing::line(0, 0, -10, 0), layer),
            testing::onLayer(testing::line(-10, 0, -20, 2), layer),
            testing::onLayer(testing::line(-20, 2, -30, 5), layer)};
}

TEST(PolylineExtraction, TendonsDrawnInPiecesOrAsOldStylePolylinesGiveThePolylinesTables) {
    const std::string arcsYes =
        "-50.000\t10.000\t0\r\n-40.000\t0.000\t4.000\r\n"
        "-20.000\t0.000\t2.000\r\n-10.000\t10.000\t0\r\n";
    const std::string arcQuestion =
        "所选多段线含 2 段圆弧。\n是：以圆弧两侧切线交点为节点，半径列取圆弧半径；\n"
        "否：按顶点取节点（与以前相同）。";
    const std::string mixedQuestion =
        "所选对象含 2 条钢束（多段线 1 条，直线与圆弧连成 1 条）。\n"
        "是：逐条取节点，每条钢束一张表；\n否：只取第一条（与以前相同）。";
    const auto with = [](std::vector<Selectable> a, const std::vector<Selectable>& b) {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    };
    const struct {
        const char* name;
        std::vector<Selectable> selection;
        bool yes;
        std::vector<std::string> questions;
        std::string table;
    } cases[] = {
        {"one chain alone asks only of its arcs", filletedPieces(), true, {arcQuestion}, arcsYes},
        {"one chain of lines asks nothing", tendonLines(), true, {}, kTendonTable},
        {"a chain and a polyline, yes: both named",
         with(tendonLines(), {polyline(kSharpTendon), testing::text("N2", -15, 0.5),
                              testing::text("N10", -25, 11)}),
         true,
         {mixedQuestion},
         "N2\r\n" + kTendonTable + "\r\nN10\r\n" + kSharpTable},
        {"no takes the chain selected first",
         with(tendonLines(), {polyline(kSharpTendon)}),
         false,
         {mixedQuestion},
         kTendonTable},
        {"no takes the polyline selected first",
         with({polyline(kSharpTendon)}, tendonLines()),
         false,
         {mixedQuestion},
         kSharpTable},
        {"an old-style polyline", {testing::polyline2d(kTendon)}, true, {}, kTendonTable},
        {"an old-style polyline with arcs, drawn with its normal down",
         {[] {
             Selectable drawn = testing::polyline2d(mirroredX(kFilletedTendon, false),
                                                    mirroredX(kFilletBulges, true));
             drawn.normal = {0, 0, -1};
             return drawn;
         }()},
         true,
         {arcQuestion},
         arcsYes},
        {"unlabelled tendons take their layers; a title names nothing",
         with(with(tendonLines("AT2"), {testing::onLayer(polyline(kSharpTendon), "AT1")}),
              {testing::text("5-45-BOTH", -15, 40)}),
         true,
         {mixedQuestion},
         "AT1\r\n" + kSharpTable + "\r\nAT2\r\n" + kTendonTable},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r;
        r.session.form.answerYes = c.yes;
        r.run(c.selection);

        std::vector<std::string> questions;
        for (const ShownMessage& question : r.session.form.questions) {
            questions.push_back(question.text);
        }
        EXPECT_EQ(questions, c.questions);
        EXPECT_EQ(r.session.form.output, c.table);
        // The sharp tendon's bend is found too tight, as ever; nothing is refused.
        for (const ShownMessage& message : r.session.form.messages) {
            EXPECT_EQ(message.icon, MessageIcon::Information) << message.text;
        }
    }
}

TEST(PolylineExtraction, SeveralPolylinesAskOnceAndYesWritesEveryTendonsTableNamed) {
    const ShownMessage n10LegTooShort{
        "请检查：\nN10 节点 2–3：半径过大，两端切线长之和超过直线段长", "提示",
        MessageIcon::Information};
    const ShownMessage sharpLegTooShort{"请检查：\n节点 2–3：半径过大，两端切线长之和超过直线段长",
                                        "提示", MessageIcon::Information};
    const struct {
        const char* name;
        std::vector<Selectable> selection;
        bool yes;
        std::size_t questions;
        std::string table, status;
        std::size_t markers;
        std::vector<ShownMessage> messages;
    } cases[] = {
        {"yes: named, in natural order, one empty line between",
         twoLabelledTendons(),
         true,
         1,
         "N2\r\n" + kTendonTable + "\r\nN10\r\n" + kSharpTable,
         "钢束数：2，角点个数：8",
         8,
         {n10LegTooShort}},
        {"no (or the box closed): the first polyline as ever",
         twoLabelledTendons(),
         false,
         1,
         kSharpTable,
         "角点个数：4",
         4,
         {sharpLegTooShort}},
        {"one polyline and its label: no question, no name",
         {testing::text("N2", -15, 0.5), polyline(kTendon)},
         true,
         0,
         kTendonTable,
         "角点个数：4",
         4,
         {}},
        {"unlabelled tendons are named by their place, after the labelled",
         {polyline(kSharpTendon), polyline(kTendon), testing::text("", -15, 0.5),
          mtext("{\\H2;}", -15, 0.5), testing::text("A1", -25, 11)},
         true,
         1,
         "A1\r\n" + kSharpTable + "\r\n钢束2\r\n" + kTendonTable,
         "钢束数：2，角点个数：8",
         8,
         {{"请检查：\nA1 节点 2–3：半径过大，两端切线长之和超过直线段长", "提示",
           MessageIcon::Information}}},
        {"two tendons of one name go left to right by their left ends, not their right",
         {polyline({-40, 30, -20, 30}), testing::text("N1", -30, 31), polyline({0, 20, -50, 20}),
          testing::text("N1", -25, 21)},
         true,
         1,
         "N1\r\n-50.000\t20.000\t0\r\n0.000\t20.000\t0\r\n"
         "\r\nN1\r\n-40.000\t30.000\t0\r\n-20.000\t30.000\t0\r\n",
         "钢束数：2，角点个数：4",
         4,
         {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r;
        r.session.form.answerYes = c.yes;
        r.run(c.selection);

        EXPECT_EQ(r.session.form.questions.size(), c.questions);
        if (c.questions > 0) {
            EXPECT_EQ(r.session.form.questions[0],
                      (ShownMessage{kSeveralQuestion, "Tendra", MessageIcon::None}));
        }
        EXPECT_EQ(r.session.form.output, c.table);
        EXPECT_EQ(r.session.form.status, c.status);
        EXPECT_EQ(r.markers().size(), c.markers);
        EXPECT_EQ(r.grouped(), c.markers);
        EXPECT_EQ(r.session.cad.countOf("AppendItems"), 1u);
        EXPECT_EQ(r.session.form.count("write Text8"), 1u);
        EXPECT_EQ(r.session.form.messages, c.messages);
        // Labels are read only when several tendons are taken.
        EXPECT_EQ(r.session.cad.countOf("TextString") > 0, c.yes && c.questions > 0);
        EXPECT_FALSE(r.session.form.busy);
    }
}

// With midas MCT chosen the same tendons give one *TDN-PROFILE section: a
// tendon alone takes its label's name, several their tables' names and order.
TEST(PolylineExtraction, MidasMctWritesTheTablesRowsAsOneSectionNamedLikeTheTables) {
    // The radius text is R20: the table takes it as it stands, MCT as 0 and says so.
    const std::string tendon =
        " Y=-30.000 Y=0.000 Z=-30.000,5.000,0 Z=-20.000,2.000,0 Z=-10.000,0.000,0 Z=0.000,0.000,0";
    const std::string sharp =
        " Y=-30.000 Y=0.000 Z=-30.000,10.000,0 Z=-20.000,10.000,0 "
        "Z=-19.000,12.000,0 Z=0.000,12.000,0";
    const ShownMessage notNumber{"请检查：\n半径不是数值，MCT 中按 0 写入", "提示",
                                 MessageIcon::Information};
    // A title out of the tendon's reach, then its label.
    const std::vector<Selectable> labelled{testing::text("N7", -15, 30),
                                           testing::text("N2", -15, 0.5), polyline(kTendon)};
    const struct {
        const char* name;
        OutputFormat format;
        std::vector<Selectable> selection;
        bool yes;
        std::string output;  // MCT in short
        std::size_t labelsRead, polylinesRead;
    } cases[] = {
        {"node table: one polyline reads no label", OutputFormat::NodeTable, labelled, true,
         "-30.000\t5.000\t0\r\n-20.000\t2.000\tR20\r\n-10.000\t0.000\tR20\r\n0.000\t0.000\t0\r\n",
         0, 1},
        {"one polyline takes its label's name", OutputFormat::MidasMct, labelled, true,
         "NAME=N2" + tendon, 2, 1},
        {"no: the first polyline, named by the label nearest to it", OutputFormat::MidasMct,
         twoLabelledTendons(), false, "NAME=N10" + sharp, 2, 1},
        {"yes: every tendon in the tables' order and names", OutputFormat::MidasMct,
         twoLabelledTendons(), true, "NAME=N2" + tendon + " NAME=N10" + sharp, 2, 2},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r;
        r.session.form.format = c.format;
        r.session.form.fields[Field::Text2] = "R20";
        r.session.form.answerYes = c.yes;
        r.run(c.selection);

        const std::string& output = r.session.form.output;
        EXPECT_EQ(c.format == OutputFormat::MidasMct ? testing::mctSummary(output) : output,
                  c.output);
        EXPECT_EQ(r.session.cad.countOf("TextString"), c.labelsRead);
        EXPECT_EQ(r.session.cad.countOf("Coordinates"), c.polylinesRead);
        EXPECT_EQ(r.grouped(), r.markers().size());
        EXPECT_EQ(r.session.form.messages, c.format == OutputFormat::MidasMct
                                               ? std::vector{notNumber}
                                               : std::vector<ShownMessage>{});
    }
}

TEST(PolylineExtraction, SeveralTendonsReadEachOnceThenDrawEveryMarkerBeforeTheTable) {
    PolylineRun r;
    r.session.form.answerYes = true;
    r.run(twoLabelledTendons());

    const std::string selection = "SelectionSet:" + r.set;
    const Lines afterSelecting{
        selection + ".Count",      selection + ".Item 0",  "Entity#1.EntityType",
        selection + ".Item 1",     "Entity#2.EntityType",  selection + ".Item 2",
        "Entity#3.EntityType",     selection + ".Item 3",  "Entity#4.EntityType",
        selection + ".Item 4",     "Entity#5.EntityType",  "Entity#3.StartPoint",
        "Entity#3.EndPoint",       "Entity#1.ObjectName",  "Entity#1.TextString",
        "Entity#1.InsertionPoint", "Entity#1.Height",      "Entity#2.Coordinates",
        "Entity#2.Normal",         "Entity#2.GetBulge 0",  "Entity#2.GetBulge 1",
        "Entity#2.GetBulge 2",     "Entity#4.Coordinates", "Entity#4.Normal",
        "Entity#4.GetBulge 0",     "Entity#4.GetBulge 1",  "Entity#4.GetBulge 2",
        "Entity#5.ObjectName",     "Entity#5.TextString",  "Entity#5.InsertionPoint",
        "Entity#5.Height",         selection + ".Delete",  "Document.ModelSpace"};
    const Lines transcript = r.session.cad.transcript();
    const auto first = std::find(transcript.begin(), transcript.end(), selection + ".Count");
    ASSERT_NE(first, transcript.end());
    EXPECT_EQ(Lines(first, first + afterSelecting.size()), afterSelecting);
    // N2's markers, then N10's, every one before the table is written.
    EXPECT_EQ(r.markers(), (Points{{-30, 5, 0},
                                   {-20, 2, 0},
                                   {-10, 0, 0},
                                   {0, 0, 0},
                                   {-30, 10, 0},
                                   {-20, 10, 0},
                                   {-19, 12, 0},
                                   {0, 12, 0}}));
    // Ten calls up to the selection, the thirty-three above, two a marker.
    EXPECT_EQ(r.session.form.firstRead("Text1"), 59);
    // The wait cursor from the end of the selection to the end of the click.
    EXPECT_EQ(r.session.form.log.front().what, "busy");
    EXPECT_EQ(r.session.form.log.front().cadCallsBefore, 10u);
    EXPECT_EQ(r.session.form.log.back().what, "not busy");
}

TEST(PolylineExtraction, ATendonRefusedRefusesTheWholeRunUnderItsName) {
    std::vector<double> vertices101;
    for (int i = 0; i < 101; ++i) {
        vertices101.insert(vertices101.end(), {double(i - 200), 50});
    }
    // Selected before and after the two labelled tendons.
    const struct {
        const char* name;
        std::vector<Selectable> before, after;
        const char* message;
    } cases[] = {
        {"101 nodes", {}, {polyline(vertices101)}, "钢束3：节点数超过100个，无法处理！"},
        {"one vertex", {}, {polyline({-5, 40})}, "钢束3：所选多段线的顶点少于两个！"},
        {"not in the XY plane",
         {},
         {polyline(kTendon, {}, {0, 1, 0})},
         "钢束3：所选多段线不在XY平面内！"},
        {"a half-circle arc",
         {},
         {polyline({-40, 40, -30, 40, -20, 45}, {0, 1})},
         "钢束3：圆弧圆心角不小于180°，无法求切线交点！"},
        {"selected first, named by its place in the output, not in the selection",
         {polyline({-5, 40})},
         {},
         "钢束3：所选多段线的顶点少于两个！"},
        {"labelled, first in the output and last in the selection",
         {},
         {polyline({-5, 40}), testing::text("A1", -5, 41)},
         "A1：所选多段线的顶点少于两个！"},
        // Its own coordinates lie beside the label, but not in the world's plane.
        {"not in the XY plane, a label beside its coordinates names it not",
         {},
         {polyline({-40, 40, -30, 40}, {}, {0, 1, 0}), testing::text("A1", -35, 41)},
         "钢束3：所选多段线不在XY平面内！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r;
        r.session.form.answerYes = true;
        std::vector<Selectable> selection = c.before;
        for (Selectable& labelled : twoLabelledTendons()) {
            selection.push_back(std::move(labelled));
        }
        selection.insert(selection.end(), c.after.begin(), c.after.end());
        r.run(selection);

        EXPECT_EQ(r.session.form.messages,
                  (std::vector<ShownMessage>{{c.message, "错误", MessageIcon::Stop}}));
        r.expectUnchanged();
        EXPECT_EQ(r.session.cad.countOf("AddPoint"), 0u);
    }
}

std::vector<double> raised(std::vector<double> coordinates, double dy) {
    for (std::size_t i = 1; i < coordinates.size(); i += 2) {
        coordinates[i] += dy;
    }
    return coordinates;
}

TEST(PolylineExtraction, SeveralTendonsAskOnceAboutTheArcsOfThemAll) {
    const Selectable filleted = polyline(kFilletedTendon, kFilletBulges);
    const Selectable filletedAbove = polyline(raised(kFilletedTendon, 30), kFilletBulges);
    const struct {
        const char* name;
        std::vector<Selectable> selection;
        std::string arcs;  // "" when no arc question is asked
    } cases[] = {
        {"arcs in the first tendon only", {filleted, polyline(kTendon)}, "2"},
        {"arcs in both add up", {filleted, filletedAbove}, "4"},
        {"arcs in the last tendon only", {polyline(kTendon), filletedAbove}, "2"},
        {"no arcs, no question", {polyline(kTendon), polyline(kSharpTendon)}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r;
        r.session.form.answerYes = true;
        r.run(c.selection);

        std::vector<ShownMessage> questions{{kSeveralQuestion, "Tendra", MessageIcon::None}};
        if (!c.arcs.empty()) {
            questions.push_back({"所选多段线含 " + c.arcs +
                                     " 段圆弧。\n是：以圆弧两侧切线交点为节点，半径列取圆弧半径；\n"
                                     "否：按顶点取节点（与以前相同）。",
                                 "Tendra", MessageIcon::None});
        }
        EXPECT_EQ(r.session.form.questions, questions);
        // Four nodes a tendon: a filleted one taken by its arcs, not its six vertices.
        EXPECT_EQ(r.session.form.status, "钢束数：2，角点个数：8");
    }
}

TEST(PolylineExtraction, ANumberOutOfRangeInOneOfSeveralTendonsIsShownUnderItsName) {
    const struct {
        const char* name;
        std::vector<Selectable> selection;
        std::string scale;
        std::string message;
    } cases[] = {
        // At a scale of 1e306, X = 2000 overflows and X = -30 does not.
        {"only the second in the output",
         {polyline({1000, 0, 2000, 0}), testing::text("N2", 1500, 1), polyline({-30, 0, -10, 0}),
          testing::text("N1", -20, 1)},
         "1e306",
         "N2：数值超出范围！"},
        {"every tendon: the first in the output", twoLabelledTendons(), "1e307",
         "N2：数值超出范围！"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r;
        r.session.form.answerYes = true;
        r.session.form.fields[Field::Text3] = c.scale;
        r.run(c.selection);

        EXPECT_EQ(r.session.form.messages,
                  (std::vector<ShownMessage>{{c.message, "错误", MessageIcon::Stop}}));
        EXPECT_EQ(r.session.form.output, "old table");
        EXPECT_EQ(r.session.form.status, "old count");
        EXPECT_EQ(r.session.form.count("write Text8"), 0u);
    }
}

TEST(PolylineExtraction, ASymmetricTableWhoseOriginIsOffTheMidSpanLineIsNamedOnce) {
    const std::vector<double> fromTheAnchor{0, 0, 10, -2, 20, 0, 30, 3};
    const std::string folds = "对称：原点不在跨中对称线上，镜像半边与前半边重叠";
    const struct {
        const char* name;
        std::vector<Selectable> selection;
        std::string message;
    } cases[] = {
        {"one tendon from its anchor end", {polyline(fromTheAnchor)}, "请检查：\n" + folds},
        {"several, each named",
         {polyline(fromTheAnchor), testing::text("B1", 15, 0), polyline(kTendon),
          testing::text("A1", -15, 0.5)},
         "请检查：\nB1 " + folds},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r(true, true);
        r.session.form.answerYes = true;
        r.run(c.selection);

        EXPECT_EQ(r.session.form.messages,
                  (std::vector<ShownMessage>{{c.message, "提示", MessageIcon::Information}}));
    }
}

TEST(PolylineExtraction, HundredNodesAfterLeavingOutTheLastVertexAreTaken) {
    // Left of the origin, so that the mirrored half carries the tendon on.
    std::vector<double> vertices;
    for (int i = 0; i < 101; ++i) {
        vertices.insert(vertices.end(), {double(i - 200), 0});
    }
    PolylineRun r(true, false);
    r.run({polyline(vertices)});

    EXPECT_TRUE(r.session.form.messages.empty());
    EXPECT_EQ(r.markers().size(), 100u);
    EXPECT_EQ(r.session.form.status, "角点个数：200");
}

TEST(PolylineExtraction, ScaleAndOptionsAreReadBetweenTheCoordinatesAndTheMarkers) {
    PolylineRun r;
    r.session.form.fields[Field::Text3] = "2";
    r.run({polyline(kTendon)});

    // Coordinates is the 14th call, Normal and the three bulges follow, and
    // the set's Delete is the 19th; the first marker is drawn by the 20th.
    EXPECT_EQ(r.session.form.firstRead("Check1"), 19);
    EXPECT_EQ(r.session.form.firstRead("Check3"), 19);
    EXPECT_EQ(r.session.form.firstRead("Text3"), 19);
    EXPECT_EQ(
        r.session.form.output,
        "-60.000\t10.000\t0\r\n-40.000\t4.000\t15\r\n-20.000\t0.000\t15\r\n0.000\t0.000\t0\r\n");
}

TEST(PolylineExtraction, WithoutAMarkerGroupDrawsAndWritesButDoesNotCrash) {
    DrawingSession session;
    session.cad.prepareSelection({polyline(kTendon)});
    session.form.options[Option::Check1] = false;

    EXPECT_NO_THROW(session.commands.extractPolylineNodes());

    EXPECT_EQ(session.form.messages, std::vector<ShownMessage>{kUnknownError});
    EXPECT_EQ(session.cad.points().size(), 4u);
    EXPECT_EQ(session.form.output, kTendonTable);
}

// More clicks than a session holds selection sets: each click's set is gone
// again when the click ends, however it ends.
TEST(PolylineExtraction, TwoHundredClicksInARowEachGetASelectionSet) {
    const struct {
        const char* name;
        std::vector<Selectable> selection;
        std::size_t messages;
        std::int32_t selectFailure;  // 0: the selection completes
    } cases[] = {
        {"a polyline each time", {polyline(kTendon)}, 0, 0},
        {"no polyline each time", {entityOfType(type::kLine)}, 200, 0},
        {"the selection cancelled each time", {polyline(kTendon)}, 0, cad::kEFail},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PolylineRun r;
        r.session.cad.prepareSelection(c.selection);
        for (int click = 0; click < 200; ++click) {
            if (c.selectFailure) {
                // The connection's five calls, the activation's two, then
                // SelectionSets and Add come before SelectOnScreen.
                r.session.cad.failCall(10, c.selectFailure);
            }
            r.session.commands.extractPolylineNodes();
        }

        EXPECT_EQ(r.session.cad.countOf("SelectionSets.Add"), 200u);
        EXPECT_EQ(r.session.cad.countOf("Delete"), 200u);
        EXPECT_TRUE(r.session.cad.selectionSets().empty());
        EXPECT_EQ(r.session.form.messages.size(), c.messages);
        for (const auto& message : r.session.form.messages) {
            EXPECT_EQ(message.text, kNoPolylineText);
        }
    }
}

// The scripted CAD holds the session's limit, so the test above proves something.
TEST(PolylineExtraction, WithoutDeletingTheHundredTwentyNinthSetFails) {
    DrawingSession session;
    session.startAt(0, 0);
    const auto sets = session.module1.requireDocument().selectionSets();
    for (int i = 0; i < cad::kMaxSelectionSets; ++i) {
        sets->add("set" + std::to_string(i));
    }
    EXPECT_EQ(testing::errorOf([&] { sets->add("one more"); }),
              testing::ScriptedCad::kTooManySelectionSets);
}

}  // namespace
}  // namespace tendra
