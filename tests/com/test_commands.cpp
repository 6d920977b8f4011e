// The three drawing commands end to end through COM against the double. Each
// run is also made against the scripted CAD of the core tests: whatever the
// commands did there (the calls, the drawing, the form) they must do here,
// when every call succeeds, when any one of them fails, and when AutoCAD is busy.
#include <array>

#include "cad/com/com_platform.h"
#include "cad/connection.h"
#include "cad/names.h"
#include "nodes/commands.h"
#include "tests/com/com_harness.h"
#include "tests/support/drawing_session.h"

namespace tendra::testing::com {
namespace {

using Lines = std::vector<std::string>;
using Messages = std::vector<ShownMessage>;

constexpr std::int32_t kDisconnected = RPC_E_DISCONNECTED;

enum class Command { PickNodes, ExtractPolylineNodes };

struct Scenario {
    const char* name;
    std::vector<std::array<double, 3>> picks;  // the origin first; then the input ends
    std::vector<DoubleSelectable> selection;
    bool symmetric;  // Check1
    Command command;
    std::string table;
    std::string status;
    Messages messages;
    bool yes = false;  // the answer to a question
};

void PrintTo(const Scenario& s, std::ostream* out) {
    *out << s.name;
}

const std::vector<double> kTendon{-30, 5, -20, 2, -10, 0, 0, 0};
const std::string kTendonTable =
    "-30.000\t5.000\t0\r\n-20.000\t2.000\t15\r\n-10.000\t0.000\t15\r\n0.000\t0.000\t0\r\n";

// Fillets of radii 4 and 2 at (-40, 0) and (-20, 0), drawn with the normal
// pointing down: X and the bulges are the world's turned round.
const std::vector<double> kFilletsNormalDown{50,
                                             10,
                                             41.17157287525381,
                                             1.17157287525381,
                                             38.34314575050762,
                                             0,
                                             20.82842712474619,
                                             0,
                                             19.414213562373096,
                                             0.585786437626905,
                                             10,
                                             10};
const std::vector<double> kFilletBulgesNormalDown{0, -0.198912367379658, 0, -0.198912367379658, 0};

const Scenario kScenarios[] = {
    {"PickingThreeNodes",
     {{100, 50, 0}, {110, 60, 4}, {120, 55, 0}, {130, 50, 0}},
     {},
     false,
     Command::PickNodes,
     "10.000\t10.000\t0\r\n20.000\t5.000\t15\r\n30.000\t0.000\t0\r\n",
     "",
     {}},
    {"PolylineAmongOtherEntities",
     {{0, 0, 0}},
     {{19, {}}, {4, {}}, {24, kTendon}, {24, {0, 0, 50, 50}}},
     false,
     Command::ExtractPolylineNodes,
     kTendonTable,
     "角点个数：4",
     {}},
    {"SymmetricPolylineOfTwoVertices",
     {{0, 0, 0}},
     {{24, {-20, 2, -10, 0}}},
     true,
     Command::ExtractPolylineNodes,
     "-20.000\t2.000\t0\r\n20.000\t2.000\t0\r\n",
     "角点个数：2",
     {}},
    {"SelectionWithoutAPolyline",
     {{0, 0, 0}},
     {{19, {}}, {8, {}}},
     false,
     Command::ExtractPolylineNodes,
     "",
     "",
     {{"所选对象应为多段线！", "错误", MessageIcon::Stop}}},
    {"FilletsAnsweredYes",
     {{0, 0, 0}},
     {{24, kFilletsNormalDown, kFilletBulgesNormalDown, {0, 0, -1}}},
     false,
     Command::ExtractPolylineNodes,
     "-50.000\t10.000\t0\r\n-40.000\t0.000\t4.000\r\n-20.000\t0.000\t2.000\r\n"
     "-10.000\t10.000\t0\r\n",
     "角点个数：4",
     {},
     true},
};

// What a run leaves: the calls that reached the CAD's objects, the drawing
// and the form.
struct Observed {
    Lines members;
    Lines points;  // "Point#2 (110, 60, 0) colour 3"
    Lines groups;  // "Group:.7055475 [Point#1, Point#2]"
    Lines selectionSets;
    Lines variables;  // "pdmode I2 3"
    Lines formLog;
    std::string output;
    std::string status;
    Messages messages;
    bool nodeButtonsEnabled = false;
};

void expectSame(const Observed& com, const Observed& scripted) {
    EXPECT_EQ(com.members, scripted.members);
    EXPECT_EQ(com.points, scripted.points);
    EXPECT_EQ(com.groups, scripted.groups);
    EXPECT_EQ(com.selectionSets, scripted.selectionSets);
    EXPECT_EQ(com.variables, scripted.variables);
    EXPECT_EQ(com.formLog, scripted.formLog);
    EXPECT_EQ(com.output, scripted.output);
    EXPECT_EQ(com.status, scripted.status);
    EXPECT_EQ(com.messages, scripted.messages);
    EXPECT_EQ(com.nodeButtonsEnabled, scripted.nodeButtonsEnabled);
}

std::string pointLine(int id, const std::array<double, 3>& at, int color) {
    return "Point#" + std::to_string(id) + " " + pointText({at[0], at[1], at[2]}) + " colour " +
           std::to_string(color);
}

std::string listLine(const std::string& name, const Lines& members) {
    std::string text = "Group:" + name + " [";
    for (std::size_t i = 0; i < members.size(); ++i) {
        text += (i ? ", " : "") + members[i];
    }
    return text + "]";
}

void prepareForm(FakeForm& form, const Scenario& s) {
    form.options[Option::Check1] = s.symmetric;
    form.answerYes = s.yes;
}

// Command3, then the scenario's command if the node buttons came on, as a
// user can click them only then.
void runCommands(DrawingCommands& commands, const FakeForm& form, const Scenario& s) {
    commands.initialiseOrigin();
    if (!form.nodeButtonsEnabled) {
        return;
    }
    if (s.command == Command::PickNodes) {
        commands.pickNodes();
    } else {
        commands.extractPolylineNodes();
    }
}

void observeForm(const FakeForm& form, Observed& observed) {
    for (const auto& entry : form.log) {
        observed.formLog.push_back(entry.what);
    }
    observed.output = form.output;
    observed.status = form.status;
    observed.messages = form.messages;
    observed.nodeButtonsEnabled = form.nodeButtonsEnabled;
}

// The scenario against the scripted CAD. failAt counts its calls from 1,
// platform calls included; 0 fails none.
struct ScriptedRun {
    explicit ScriptedRun(const Scenario& s, std::size_t failAt = 0, std::int32_t number = 0) {
        ScriptedCad& cad = session.cad;
        for (const auto& at : s.picks) {
            cad.queuePoint(at[0], at[1], at[2]);
        }
        std::vector<Selectable> selection;
        for (const auto& what : s.selection) {
            selection.push_back({what.type,
                                 what.coordinates,
                                 what.bulges,
                                 {what.normal[0], what.normal[1], what.normal[2]}});
        }
        cad.prepareSelection(selection);
        if (failAt) {
            cad.failCall(static_cast<int>(failAt), number);
        }
        prepareForm(session.form, s);
        runCommands(session.commands, session.form, s);
    }

    // The position among all calls of the k-th call to a CAD object, which
    // is the k-th Invoke through COM.
    std::size_t callOfInvoke(int k) const {
        const ScriptedCad& cad = session.cad;
        int seen = 0;
        for (std::size_t i = 0; i < cad.calls().size(); ++i) {
            if (cad.calls()[i].object != "Platform" && ++seen == k) {
                return i + 1;
            }
        }
        return 0;
    }

    Observed observed() const {
        const ScriptedCad& cad = session.cad;
        Observed result;
        for (const auto& call : cad.calls()) {
            if (call.object != "Platform") {
                result.members.push_back(call.text());
            }
        }
        for (const auto& point : cad.points()) {
            result.points.push_back(pointLine(point.id, point.at, point.color));
        }
        for (const auto& [name, ids] : cad.groups()) {
            Lines labels;
            for (int id : ids) {
                labels.push_back(id > 0 ? "Point#" + std::to_string(id)
                                        : "Entity#" + std::to_string(-id));
            }
            result.groups.push_back(listLine(name, labels));
        }
        result.selectionSets = cad.selectionSets();
        for (const auto& [name, value] : cad.variables()) {
            result.variables.push_back(name + " I2 " + std::to_string(value));
        }
        observeForm(session.form, result);
        return result;
    }

    DrawingSession session;
};

class CommandTest : public ComTest,
                    public ::testing::WithParamInterface<std::tuple<Scenario, Reach>> {
  protected:
    struct Options {
        int failingInvoke = 0;
        std::int32_t number = 0;
        int rejections = 0;
    };

    Observed runCom(const Options& options) {
        const auto& [s, reach] = GetParam();
        current = std::make_shared<DoubleCad>();
        for (const auto& at : s.picks) {
            current->queuePoint(at[0], at[1], at[2]);
        }
        current->prepareSelection(s.selection);
        testClass->run(makeApplication(current).get());
        if (options.failingInvoke) {
            current->failInvoke(options.failingInvoke,
                                {options.number, FailureStyle::Exception, L"Injected failure"});
        }
        current->rejectCalls(options.rejections);

        FakeForm form;
        prepareForm(form, s);
        runReaching(reach, [&, s = s] {
            cad::com::ComPlatform platform(kQuickRetry);
            cad::Module1 module1(platform, form, {testClass->progId(), {}});
            cad::NameMaker names([] { return DrawingSession::kClock; });
            DrawingCommands commands(module1, form, names);
            runCommands(commands, form, s);
        });

        Observed observed;
        observed.members = current->members();
        for (const auto& point : current->points()) {
            observed.points.push_back(pointLine(point.id, point.at, point.color));
        }
        for (const auto& name : current->selectionSets()) {
            observed.selectionSets.push_back(name);
        }
        for (const auto& [name, value] : current->variables()) {
            observed.variables.push_back(name + " " + value);
        }
        // Groups in the order they were added, as the scripted CAD lists them.
        for (const auto& call : current->calls()) {
            if (call.text() == "Groups.Add" && call.outcome == S_OK) {
                const std::string name = call.arguments.substr(1, call.arguments.size() - 2);
                observed.groups.push_back(listLine(name, *current->group(name)));
            }
        }
        observeForm(form, observed);
        return observed;
    }

    std::shared_ptr<DoubleCad> current;
};

TEST_P(CommandTest, WritesTheTableAndDoesWhatItDoesAgainstTheScriptedCad) {
    const Scenario& s = std::get<0>(GetParam());

    const Observed com = runCom({});

    EXPECT_EQ(com.output, s.table);
    EXPECT_EQ(com.status, s.status);
    EXPECT_EQ(com.messages, s.messages);
    expectSame(com, ScriptedRun(s).observed());
}

TEST_P(CommandTest, AnyOneCallFailingEndsAsItDoesAgainstTheScriptedCad) {
    const Scenario& s = std::get<0>(GetParam());
    const ScriptedRun clean(s);
    const int calls = static_cast<int>(runCom({}).members.size());
    ASSERT_GT(calls, 0);
    for (int k = 1; k <= calls; ++k) {
        for (std::int32_t number : {cad::kEFail, cad::kInputEnded, kDisconnected}) {
            SCOPED_TRACE("invoke " + std::to_string(k) + " fails with " + std::to_string(number));
            const Observed com = runCom({k, number, 0});
            ASSERT_EQ(current->calls().at(static_cast<std::size_t>(k - 1)).outcome, number);
            expectSame(com, ScriptedRun(s, clean.callOfInvoke(k), number).observed());
        }
    }
}

TEST_P(CommandTest, ABusyCadThatRejectsTheFirstCallsChangesNothing) {
    const Scenario& s = std::get<0>(GetParam());

    const Observed com = runCom({0, 0, 5});

    EXPECT_EQ(current->rejectedCalls(), 5);
    EXPECT_EQ(com.output, s.table);
    expectSame(com, ScriptedRun(s).observed());
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, CommandTest, bothReaches(kScenarios), caseAndReachName);

using ManyClicksTest = ComTest;

// More clicks of Command4 than AutoCAD holds selection sets: each click's set
// is deleted once read, so the 129th click works like the first.
TEST_F(ManyClicksTest, TwoHundredPolylineExtractionsInARow) {
    cad->queuePoint(0, 0);
    cad->prepareSelection({{19, {}}, {24, kTendon}});
    testClass->run(makeApplication(cad).get());

    FakeForm form;
    form.options[Option::Check1] = false;
    int tables = 0;
    {
        cad::com::ComPlatform platform(kQuickRetry);
        cad::Module1 module1(platform, form, {testClass->progId(), {}});
        cad::NameMaker names([] { return DrawingSession::kClock; });
        DrawingCommands commands(module1, form, names);
        commands.initialiseOrigin();
        for (int click = 0; click < 200; ++click) {
            form.output.clear();
            commands.extractPolylineNodes();
            tables += form.output == kTendonTable;
        }
    }

    EXPECT_EQ(tables, 200);
    EXPECT_TRUE(form.messages.empty());
    EXPECT_TRUE(cad->selectionSets().empty());
    EXPECT_EQ(cad->points().size(), 1u + 200 * 4);
}

}  // namespace
}  // namespace tendra::testing::com
