// Every CAD call of every command fails in turn, with each kind of number.
// The command must end where its rules say, show the right message or none,
// and leave the drawing, the output box and the window state consistent.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "cad/command.h"
#include "nodes/commands.h"
#include "tests/support/drawing_session.h"

namespace tendra {
namespace {

using testing::Call;
using testing::DrawingSession;
using testing::kUnknownError;
using testing::ShownMessage;

constexpr std::int32_t kBusy = -2147418111;  // RPC_E_CALL_REJECTED: neither ending number

// The calls a command makes when nothing fails.
struct Baseline {
    std::vector<Call> calls;
    std::vector<testing::DrawnPoint> points;  // drawn by the run

    const std::string& member(int k) const { return calls.at(k - 1).member; }
    // Calls to a member among the first k - 1, those made before call k.
    std::size_t before(int k, const std::string& member) const {
        std::size_t n = 0;
        for (int i = 0; i < k - 1; ++i) {
            n += calls[i].member == member;
        }
        return n;
    }
    // The position of the first call to a member, from 1.
    int index(const std::string& member) const {
        for (std::size_t i = 0; i < calls.size(); ++i) {
            if (calls[i].member == member) {
                return static_cast<int>(i) + 1;
            }
        }
        return 0;
    }
};

// What the command leaves behind.
struct Outcome {
    bool unknownError = false;
    std::string output;        // Text8
    std::string status;        // Label4
    std::size_t points = 0;    // drawn by the run
    std::size_t coloured = 0;  // of those, coloured
    std::size_t grouped = 0;   // of those, in a group
    cad::Point origin{};
    bool newMarkerGroup = false;
    bool buttonsEnabled = false;
    bool endsAtFailure = false;  // no call made after the failed one
};

// The connection swallows failures of its own five calls.
constexpr int kConnectionCalls = 5;

struct Scenario {
    const char* name;
    std::function<void(DrawingSession&)> prepare;
    std::function<void(DrawingSession&)> run;
    // What a failure of call k with this number leaves; success for k = 0.
    std::function<Outcome(const Baseline&, int k, std::int32_t number)> expect;
};

const cad::Point kPicked{10, 20, 0};

Outcome originOutcome(const Baseline& b, int k, std::int32_t number, bool earlier) {
    const cad::Point old = earlier ? cad::Point{1, 2, 0} : cad::Point{0, 0, 0};
    const std::size_t all = b.points.size();
    if (k <= kConnectionCalls) {
        // Without an earlier connection a failed ActiveDocument leaves no
        // document, and the pick fails as a never-set reference.
        if (!earlier && k > 0 && b.member(k) == "ActiveDocument") {
            return {true, "", "old count", 0, 0, 0, old, false, false, false};
        }
        return {false, "", "old count", all, all, all, kPicked, true, true, false};
    }
    return {number != cad::kEFail,
            "",
            "old count",
            b.before(k, "AddPoint"),
            b.before(k, "Color"),
            0,
            k > b.index("GetPoint") ? kPicked : old,
            k > b.index("Add"),
            earlier,
            true};
}

const std::string kPickedTables[] = {
    "",
    "10.000\t10.000\t0\r\n",
    "10.000\t10.000\t0\r\n20.000\t5.000\t0\r\n",
    "10.000\t10.000\t0\r\n20.000\t5.000\t15\r\n30.000\t0.000\t0\r\n",
};

Outcome pickingOutcome(const Baseline& b, int k, std::int32_t number) {
    const cad::Point origin{100, 50, 0};
    if (k <= kConnectionCalls) {
        return {false, kPickedTables[3], "old count", 3, 3, 3, origin, false, true, false};
    }
    if (k < b.index("Utility")) {  // bringing the window to the front again
        return {true, "old table", "old count", 0, 0, 0, origin, false, true, true};
    }
    if (b.member(k) == "AppendItems") {  // the table stays
        return {true, kPickedTables[3], "old count", 3, 3, 0, origin, false, true, true};
    }
    const std::size_t nodes = b.before(k, "Color");
    const std::size_t points = b.before(k, "AddPoint");
    if (cad::endsInput(number)) {
        return {
            false,     kPickedTables[nodes], "old count", points, nodes, nodes, origin, false, true,
            nodes == 0};
    }
    return {true, "old table", "old count", points, nodes, 0, origin, false, true, true};
}

const std::string kPolylineTable =
    "-30.000\t5.000\t0\r\n-20.000\t2.000\t15\r\n-10.000\t0.000\t15\r\n"
    "10.000\t0.000\t15\r\n20.000\t2.000\t15\r\n30.000\t5.000\t0\r\n";

// What a polyline extraction whose full run writes this table and count,
// and draws this many markers, leaves after a failure of call k.
Outcome extractionOutcome(const Baseline& b, int k, std::int32_t number, const std::string& table,
                          const std::string& count, std::size_t markers) {
    const cad::Point origin{0, 0, 0};
    if (k <= kConnectionCalls) {
        return {false, table, count, markers, markers, markers, origin, false, true, false};
    }
    // A selection set that cannot be deleted changes nothing else.
    if (b.member(k) == "Delete") {
        return {false, table, count, markers, markers, markers, origin, false, true, false};
    }
    // A failure while the selection set is open is followed by its Delete.
    const bool deletedAfter = k > b.index("Add") && k < b.index("Delete");
    if (b.member(k) == "SelectOnScreen" && cad::endsInput(number)) {  // the user cancelled
        return {false, "old table", "old count", 0, 0, 0, origin, false, true, !deletedAfter};
    }
    if (b.member(k) == "AppendItems") {  // table and count stay
        return {true, table, count, markers, markers, 0, origin, false, true, true};
    }
    return {
        true,  "old table", "old count",  b.before(k, "AddPoint"), b.before(k, "Color"), 0, origin,
        false, true,        !deletedAfter};
}

Outcome polylineOutcome(const Baseline& b, int k, std::int32_t number) {
    return extractionOutcome(b, k, number, kPolylineTable, "角点个数：6", 3);
}

// Both polylines of the selection below, the first named by its label.
const std::string kSeveralTables =
    "A\r\n" + kPolylineTable + "\r\n钢束2\r\n5.000\t5.000\t0\r\n-5.000\t5.000\t0\r\n";

Outcome severalOutcome(const Baseline& b, int k, std::int32_t number) {
    return extractionOutcome(b, k, number, kSeveralTables, "钢束数：2，角点个数：8", 4);
}

const std::string kPieceTables =
    "T1\r\n" + kPolylineTable + "\r\nT2\r\n5.000\t5.000\t0\r\n-5.000\t5.000\t0\r\n";

Outcome piecesOutcome(const Baseline& b, int k, std::int32_t number) {
    return extractionOutcome(b, k, number, kPieceTables, "钢束数：2，角点个数：8", 4);
}

void oldTexts(DrawingSession& s) {
    s.form.output = "old table";
    s.form.status = "old count";
}

const Scenario kScenarios[] = {
    {"FirstOrigin",
     [](DrawingSession& s) {
         oldTexts(s);
         s.cad.queuePoint(10, 20, 5);
     },
     [](DrawingSession& s) { s.commands.initialiseOrigin(); },
     [](const Baseline& b, int k, std::int32_t n) { return originOutcome(b, k, n, false); }},
    {"RepeatedOrigin",
     [](DrawingSession& s) {
         s.startAt(1, 2);
         oldTexts(s);
         s.cad.queuePoint(10, 20, 5);
     },
     [](DrawingSession& s) { s.commands.initialiseOrigin(); },
     [](const Baseline& b, int k, std::int32_t n) { return originOutcome(b, k, n, true); }},
    {"ManualPicking",
     [](DrawingSession& s) {
         s.startAt(100, 50);
         s.form.options[Option::Check1] = false;
         oldTexts(s);
         s.cad.queuePoint(110, 60);
         s.cad.queuePoint(120, 55);
         s.cad.queuePoint(130, 50);
     },
     [](DrawingSession& s) { s.commands.pickNodes(); }, pickingOutcome},
    {"PolylineExtraction",
     [](DrawingSession& s) {
         s.startAt(0, 0);
         s.form.options[Option::Check1] = true;
         s.form.options[Option::Check3] = false;
         oldTexts(s);
         s.cad.prepareSelection({testing::entityOfType(cad::entity_type::kLine),
                                 testing::polyline({-30, 5, -20, 2, -10, 0, 0, 0}),
                                 testing::polyline({0, 0, 9, 9})});
     },
     [](DrawingSession& s) { s.commands.extractPolylineNodes(); }, polylineOutcome},
    {"SeveralTendons",
     [](DrawingSession& s) {
         s.startAt(0, 0);
         s.form.options[Option::Check1] = true;
         s.form.options[Option::Check3] = false;
         s.form.answerYes = true;
         oldTexts(s);
         s.cad.prepareSelection({testing::entityOfType(cad::entity_type::kLine),
                                 testing::polyline({-30, 5, -20, 2, -10, 0, 0, 0}),
                                 testing::polyline({5, 5, 9, 9}), testing::text("A", -15, 0.5)});
     },
     [](DrawingSession& s) { s.commands.extractPolylineNodes(); }, severalOutcome},
    {"TendonPieces",
     [](DrawingSession& s) {
         s.startAt(0, 0);
         s.form.options[Option::Check1] = true;
         s.form.options[Option::Check3] = false;
         s.form.answerYes = true;
         oldTexts(s);
         using testing::line, testing::onLayer;
         s.cad.prepareSelection(
             {onLayer(line(-30, 5, -20, 2), "T1"), onLayer(line(-10, 0, -20, 2), "T1"),
              onLayer(testing::polyline2d({5, 5, 9, 9}), "T2"), onLayer(line(-10, 0, 0, 0), "T1")});
     },
     [](DrawingSession& s) { s.commands.extractPolylineNodes(); }, piecesOutcome},
};

Baseline baselineOf(const Scenario& scenario) {
    DrawingSession session;
    scenario.prepare(session);
    const std::size_t before = session.cad.points().size();
    scenario.run(session);
    Baseline b{session.cad.calls(), {}};
    b.points.assign(session.cad.points().begin() + static_cast<long>(before),
                    session.cad.points().end());
    return b;
}

struct FailureCase {
    int scenario;
    int k;
    std::int32_t number;
    std::string name;
};

std::vector<FailureCase> allCases() {
    std::vector<FailureCase> cases;
    const std::pair<std::int32_t, const char*> numbers[] = {
        {cad::kEFail, "EFail"}, {cad::kInputEnded, "InputEnded"}, {kBusy, "Busy"}};
    for (int s = 0; s < static_cast<int>(std::size(kScenarios)); ++s) {
        const Baseline b = baselineOf(kScenarios[s]);
        for (int k = 1; k <= static_cast<int>(b.calls.size()); ++k) {
            for (const auto& [number, numberName] : numbers) {
                std::string call =
                    b.calls[k - 1].object.substr(0, b.calls[k - 1].object.find_first_of(":#")) +
                    "_" + b.member(k);
                cases.push_back({s, k, number,
                                 std::string(kScenarios[s].name) + "_" + (k < 10 ? "0" : "") +
                                     std::to_string(k) + "_" + call + "_" + numberName});
            }
        }
    }
    return cases;
}

void PrintTo(const FailureCase& c, std::ostream* out) {
    *out << c.name;
}

class CommandFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CommandFailure, EndsWhereItsRulesSay) {
    const FailureCase& c = GetParam();
    const Scenario& scenario = kScenarios[c.scenario];
    const Baseline baseline = baselineOf(scenario);
    const Outcome expected = scenario.expect(baseline, c.k, c.number);

    DrawingSession session;
    scenario.prepare(session);
    const std::size_t pointsBefore = session.cad.points().size();
    const cad::GroupPtr groupBefore = session.commands.markerGroup();
    session.cad.failCall(c.k, c.number);

    EXPECT_NO_THROW(scenario.run(session));

    EXPECT_EQ(session.form.messages, expected.unknownError
                                         ? std::vector<ShownMessage>{kUnknownError}
                                         : std::vector<ShownMessage>{});
    EXPECT_EQ(session.form.output, expected.output);
    EXPECT_EQ(session.form.status, expected.status);
    // The markers drawn before the failure stay where the full run put them.
    const auto& points = session.cad.points();
    ASSERT_EQ(points.size() - pointsBefore, expected.points);
    std::size_t coloured = 0;
    for (std::size_t i = 0; i < expected.points; ++i) {
        const auto& point = points[pointsBefore + i];
        EXPECT_EQ(point.at, baseline.points[i].at) << "marker " << i;
        if (point.color != 256) {
            EXPECT_EQ(point.color, baseline.points[i].color) << "marker " << i;
            ++coloured;
        }
    }
    EXPECT_EQ(coloured, expected.coloured);
    std::size_t grouped = 0;
    for (const auto& [name, members] : session.cad.groups()) {
        for (int id : members) {
            grouped += id > static_cast<int>(pointsBefore);
        }
    }
    EXPECT_EQ(grouped, expected.grouped);
    EXPECT_EQ(session.commands.origin(), expected.origin);
    EXPECT_EQ(session.commands.markerGroup() != groupBefore, expected.newMarkerGroup);
    EXPECT_EQ(session.form.nodeButtonsEnabled, expected.buttonsEnabled);
    EXPECT_EQ(session.cad.calls().back().failed, expected.endsAtFailure);
}

INSTANTIATE_TEST_SUITE_P(EveryCall, CommandFailure, ::testing::ValuesIn(allCases()),
                         [](const auto& info) { return info.param.name; });

// Without any CAD to reach, each command shows the connection's message,
// then the unknown error, and goes no further.
TEST(CommandWithoutACad, ShowsTheConnectionsMessageThenTheUnknownError) {
    const struct {
        const char* name;
        void (DrawingCommands::*run)();
    } commands[] = {
        {"origin", &DrawingCommands::initialiseOrigin},
        {"picking", &DrawingCommands::pickNodes},
        {"polyline", &DrawingCommands::extractPolylineNodes},
    };
    for (const auto& command : commands) {
        SCOPED_TRACE(command.name);
        DrawingSession session;
        session.cad.running = false;
        session.cad.installed = false;

        EXPECT_NO_THROW((session.commands.*command.run)());

        ASSERT_EQ(session.form.messages.size(), 2u);
        EXPECT_EQ(session.form.messages[0].title, kApplicationTitle);
        EXPECT_EQ(session.form.messages[1], kUnknownError);
        // Only the platform was asked: for running CADs, then to start one.
        for (const auto& call : session.cad.calls()) {
            EXPECT_EQ(call.object, "Platform") << call.text();
        }
        EXPECT_EQ(session.cad.members().back(), "Platform.CreateObject");
        EXPECT_FALSE(session.form.nodeButtonsEnabled);
        EXPECT_EQ(session.commands.markerGroup(), nullptr);
    }
}

// The scenarios themselves: without a failure each command succeeds fully,
// as worked out by hand from its script.
struct CleanRun {
    const char* scenario;
    std::string output;                        // Text8
    std::string status;                        // Label4
    std::vector<testing::DrawnPoint> markers;  // drawn by the run, in order
    int markerGroup;                           // the name maker's i-th name
    std::vector<int> grouped;                  // its members, by marker id
    cad::Point origin;
    std::size_t questions = 0;  // asked, each answered as the script says
};

// The markers of two tendons: the first's three forward nodes, the second's
// first node.
const std::vector<testing::DrawnPoint> kTwoTendonMarkers{{2, {-30, 5, 0}, cad::kNodeColor},
                                                         {3, {-20, 2, 0}, cad::kNodeColor},
                                                         {4, {-10, 0, 0}, cad::kNodeColor},
                                                         {5, {5, 5, 0}, cad::kNodeColor}};

const CleanRun kCleanRuns[] = {
    {"FirstOrigin", "", "old count", {{1, {10, 20, 0}, cad::kOriginColor}}, 0, {1}, {10, 20, 0}},
    // The origin marker of the earlier run is point 1, in group 0.
    {"RepeatedOrigin", "", "old count", {{2, {10, 20, 0}, cad::kOriginColor}}, 1, {2}, {10, 20, 0}},
    // The node markers join the origin marker's group.
    {"ManualPicking",
     kPickedTables[3],
     "old count",
     {{2, {110, 60, 0}, cad::kNodeColor},
      {3, {120, 55, 0}, cad::kNodeColor},
      {4, {130, 50, 0}, cad::kNodeColor}},
     0,
     {1, 2, 3, 4},
     {100, 50, 0}},
    // Symmetric without the last vertex: three of the four vertices, mirrored.
    {"PolylineExtraction",
     kPolylineTable,
     "角点个数：6",
     {{2, {-30, 5, 0}, cad::kNodeColor},
      {3, {-20, 2, 0}, cad::kNodeColor},
      {4, {-10, 0, 0}, cad::kNodeColor}},
     0,
     {1, 2, 3, 4},
     {0, 0, 0},
     1},
    // The first polyline named by its label, the second by its place.
    {"SeveralTendons",
     kSeveralTables,
     "钢束数：2，角点个数：8",
     kTwoTendonMarkers,
     0,
     {1, 2, 3, 4, 5},
     {0, 0, 0},
     1},
    // A chain of lines and an old-style polyline, each named by its layer.
    {"TendonPieces",
     kPieceTables,
     "钢束数：2，角点个数：8",
     kTwoTendonMarkers,
     0,
     {1, 2, 3, 4, 5},
     {0, 0, 0},
     1},
};

TEST(CommandFailureScenarios, RunCleanlyWithoutAFailure) {
    ASSERT_EQ(std::size(kCleanRuns), std::size(kScenarios));
    for (std::size_t i = 0; i < std::size(kScenarios); ++i) {
        const Scenario& scenario = kScenarios[i];
        const CleanRun& clean = kCleanRuns[i];
        SCOPED_TRACE(scenario.name);
        ASSERT_STREQ(clean.scenario, scenario.name);

        DrawingSession session;
        scenario.prepare(session);
        const std::size_t pointsBefore = session.cad.points().size();
        scenario.run(session);

        EXPECT_EQ(session.form.messages, std::vector<ShownMessage>{});
        EXPECT_EQ(session.form.questions.size(), clean.questions);
        EXPECT_EQ(session.form.output, clean.output);
        EXPECT_EQ(session.form.status, clean.status);
        EXPECT_TRUE(session.form.nodeButtonsEnabled);
        EXPECT_EQ(session.commands.origin(), clean.origin);
        const auto& points = session.cad.points();
        ASSERT_EQ(points.size() - pointsBefore, clean.markers.size());
        for (std::size_t m = 0; m < clean.markers.size(); ++m) {
            const auto& point = points[pointsBefore + m];
            EXPECT_EQ(point.id, clean.markers[m].id) << "marker " << m;
            EXPECT_EQ(point.at, clean.markers[m].at) << "marker " << m;
            EXPECT_EQ(point.color, clean.markers[m].color) << "marker " << m;
        }
        const std::vector<int>* group = session.cad.group(DrawingSession::name(clean.markerGroup));
        ASSERT_NE(group, nullptr);
        EXPECT_EQ(*group, clean.grouped);

        // The failure cases take these outcomes for a failed connection call.
        const Outcome expected = scenario.expect(baselineOf(scenario), 0, 0);
        EXPECT_FALSE(expected.unknownError);
        EXPECT_EQ(expected.output, clean.output);
        EXPECT_EQ(expected.status, clean.status);
        EXPECT_EQ(expected.points, clean.markers.size());
        EXPECT_EQ(expected.coloured, clean.markers.size());
        EXPECT_EQ(expected.grouped, static_cast<std::size_t>(std::count_if(
                                        clean.grouped.begin(), clean.grouped.end(), [&](int id) {
                                            return id > static_cast<int>(pointsBefore);
                                        })));
        EXPECT_EQ(expected.origin, clean.origin);
        EXPECT_TRUE(expected.buttonsEnabled);
    }
}

}  // namespace
}  // namespace tendra
