// Tendra against the stand-in AutoCAD in a process of its own. Every scenario
// runs twice: once with the core's commands in this process over the COM
// backend, which proves the stand-in, and once through the real tendra.exe,
// driven with window messages as a user's clicks would drive it. The tables
// are those the core's own tests expect for the same picks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>

#include "cad/com/com_platform.h"
#include "cad/connection.h"
#include "cad/names.h"
#include "nodes/commands.h"
#include "nodes/mct_parameters.h"
#include "tests/support/fake_form.h"
#include "tests/win32e2e/e2e_support.h"

namespace tendra::testing::e2e {
namespace {

const std::string kPolylineTable =
    "-30.000\t5.000\t0\r\n-20.000\t2.000\t15\r\n-10.000\t0.000\t15\r\n"
    "10.000\t0.000\t15\r\n20.000\t2.000\t15\r\n30.000\t5.000\t0\r\n";
const std::string kSymmetricPick = "-10.000\t5.000\t0\r\n10.000\t5.000\t0\r\n";
const std::string kThreePicks = "10.000\t10.000\t0\r\n20.000\t5.000\t15\r\n30.000\t0.000\t0\r\n";
const std::string kPolylineCount = "角点个数：6";

// A message box as seen; an expected text of "*" stands for the platform's
// own wording, which the program passes on.
struct Shown {
    std::string title;
    std::string text;
    bool operator==(const Shown& seen) const {
        return title == seen.title && (text == "*" || seen.text == "*" || text == seen.text);
    }
};
const Shown kUnknownError{"错误", "未知错误！"};
const Shown kNoCadMessage{"Tendra", "*"};
const Shown kArcQuestion{
    "Tendra",
    "所选多段线含 1 段圆弧。\n是：以圆弧两侧切线交点为节点，半径列取圆弧半径；\n"
    "否：按顶点取节点（与以前相同）。"};

// A fillet of radius 2 between a leg down to (-30, 0) and a leg along the X
// axis, drawn with the polyline's normal pointing down (X turned round).
const char* const kFilletScript =
    "point 0 0\n"
    "select 24 30 10 30 2 28 0 10 0\n"
    "bulges 0 -0.41421356237309503 0\n"
    "normal 0 0 -1\n";

// Two tendons selected with their labels, drawn in the order N2, N1: N2 is
// the polyline of kPolylineTable, labelled by an MTEXT with a format code;
// N1 is drawn right to left and labelled by a TEXT.
const char* const kTwoTendonsScript =
    "point 0 0\n"
    "select 24 -30 5 -20 2 -10 0 0 0\n"
    "select 24 0 5 -5 5 -15 6 -25 8\n"
    "text -15 9 0 N1\n"
    "mtext -20 0 0 {\\fSimSun|b0;N2}\n";
// Each tendon's table as selecting it alone gives it: N1 turned to run left
// to right, its last vertex (0, 5) left out and the mirrored half appended.
const std::string kTwoTendonsTable =
    "N1\r\n"
    "-25.000\t8.000\t0\r\n-15.000\t6.000\t15\r\n-5.000\t5.000\t15\r\n"
    "5.000\t5.000\t15\r\n15.000\t6.000\t15\r\n25.000\t8.000\t0\r\n"
    "\r\n"
    "N2\r\n" +
    kPolylineTable;
// The same two tendons as midas Civil's tendon profiles, worked out from
// their tables: the plan at each table's first and last x, one elevation row
// a line with the radius column's 15 as a number; the element list as the
// parameters window accepted it, the insertion point in its shortest form.
const MctFieldTexts kMctTyped{"15-12", "1TO40  45", "G1", "10, 0, -1.5"};
const std::string kMctHead = "   NAME=";
const std::string kMctSettings =
    ", 15-12, 1to40 45, 0, 0, ROUND, 2D\r\n"
    "      G1, USER, 0, 0, NO, \r\n"
    "      STRAIGHT, 10, 0, -1.5, X, 0, 0\r\n"
    "      0, YES, Y, 0\r\n";
const std::string kMctRowEnd = ", NONE, , , , \r\n";
const std::string kTwoTendonsMct =
    "*TDN-PROFILE\r\n" + kMctHead + "N1" + kMctSettings + "      Y=-25.000, 0, NO, 0, 0" +
    kMctRowEnd + "      Y=25.000, 0, NO, 0, 0" + kMctRowEnd + "      Z=-25.000, 8.000, NO, 0, 0" +
    kMctRowEnd + "      Z=-15.000, 6.000, NO, 0, 15.000" + kMctRowEnd +
    "      Z=-5.000, 5.000, NO, 0, 15.000" + kMctRowEnd + "      Z=5.000, 5.000, NO, 0, 15.000" +
    kMctRowEnd + "      Z=15.000, 6.000, NO, 0, 15.000" + kMctRowEnd +
    "      Z=25.000, 8.000, NO, 0, 0" + kMctRowEnd + kMctHead + "N2" + kMctSettings +
    "      Y=-30.000, 0, NO, 0, 0" + kMctRowEnd + "      Y=30.000, 0, NO, 0, 0" + kMctRowEnd +
    "      Z=-30.000, 5.000, NO, 0, 0" + kMctRowEnd + "      Z=-20.000, 2.000, NO, 0, 15.000" +
    kMctRowEnd + "      Z=-10.000, 0.000, NO, 0, 15.000" + kMctRowEnd +
    "      Z=10.000, 0.000, NO, 0, 15.000" + kMctRowEnd + "      Z=20.000, 2.000, NO, 0, 15.000" +
    kMctRowEnd + "      Z=30.000, 5.000, NO, 0, 0" + kMctRowEnd;
const Shown kTwoPolylinesQuestion{"Tendra",
                                  "所选对象含 2 条多段线。\n是：逐条取节点，每条钢束一张表；\n"
                                  "否：只取第一条（与以前相同）。"};

// Two tendons drawn as designers draw them, selected with a title and a
// label, in no particular order: one as a line, a mirrored fillet arc and a
// line on layer AT1, unlabelled; the other as an old-style polyline drawn
// right to left at elevation 3, labelled N2. The title is too far from both
// to name either.
const char* const kPiecesAndOldPolylineScript =
    "point 0 0\n"
    "line -28 0 -10 0\n"
    "layer AT1\n"
    "text 0 40 0 5-45-BOTH\n"
    "height 2\n"
    "select 23 0 -20 3 -10 -20 3 -20 -18 3 -30 -15 3\n"
    "arc -28 2 -28 0 -30 2\n"
    "normal 0 0 -1\n"
    "layer AT1\n"
    "text -15 -16 0 N2\n"
    "height 3\n"
    "line -30 2 -30 10\n"
    "layer AT1\n";
// AT1 runs from (-30, 10) down to the fillet of radius 2 about (-28, 2) and
// on to (-10, 0): its nodes are the end and the tangents' meeting point
// (-30, 0), mirrored, as the fillet polyline answered Yes gives. N2 is the
// polyline of kPolylineTable 20 lower. The names sort AT1 before N2.
const std::string kPiecesAndOldPolylineTable =
    "AT1\r\n"
    "-30.000\t10.000\t0\r\n-30.000\t0.000\t2.000\r\n30.000\t0.000\t2.000\r\n"
    "30.000\t10.000\t0\r\n"
    "\r\n"
    "N2\r\n"
    "-30.000\t-15.000\t0\r\n-20.000\t-18.000\t15\r\n-10.000\t-20.000\t15\r\n"
    "10.000\t-20.000\t15\r\n20.000\t-18.000\t15\r\n30.000\t-15.000\t0\r\n";
const Shown kPolylineAndChainQuestion{
    "Tendra",
    "所选对象含 2 条钢束（多段线 1 条，直线与圆弧连成 1 条）。\n是：逐条取节点，每条钢束一张表；\n"
    "否：只取第一条（与以前相同）。"};

void PrintTo(const Shown& shown, std::ostream* out) {
    *out << shown.title << ": " << shown.text;
}

// One click and what the window shows once it has run.
struct Step {
    // Command3, Command4, Command1, Check1 to toggle it, or Combo1 to choose
    // "midas MCT" with these parameters
    const char* control;
    std::string text8;
    std::string label4;
    std::vector<Shown> messages = {};
    // The stand-in is ended while the click waits for a pick.
    bool killDuringPick = false;
    // Written as the stand-in's script before the click, for a stand-in COM starts anew.
    std::string scriptBefore = {};
    // The answer to the questions the click asks: Yes, or else closing the box.
    bool yes = false;
    MctFieldTexts parameters = {};
};

enum class Start { Running, ThroughLocalServer, NotInstalled };

struct Scenario {
    const char* name;
    Start start;
    std::string script;
    std::vector<Step> steps;
    // The drawing of the last stand-in.
    std::vector<DrawnMarker> points;
    std::vector<std::vector<std::string>> groups;
    int minimumRejected = 0;
    std::string pdmode = "I2 3";
    // The only class the stand-in is registered under.
    const wchar_t* progId = kAutoCadProgId;
    // The selection sets left open in the drawing, where the scenario says.
    std::optional<std::size_t> selectionSetsLeft = std::nullopt;
};

// The origin and the two tendons' markers, in the one group.
const std::vector<DrawnMarker> kTwoTendonsMarkers{
    {1, 0, 0, 0, 1},   {2, -25, 8, 0, 3}, {3, -15, 6, 0, 3}, {4, -5, 5, 0, 3},
    {5, -30, 5, 0, 3}, {6, -20, 2, 0, 3}, {7, -10, 0, 0, 3}};
const std::vector<std::string> kTwoTendonsGroup{"Point#1", "Point#2", "Point#3", "Point#4",
                                                "Point#5", "Point#6", "Point#7"};

const Scenario kScenarios[] = {
    {"OriginPolylineOriginPicks",
     Start::Running,
     "point 0 0\n"
     "select 19 0 0\n"
     "select 24 -30 5 -20 2 -10 0 0 0\n"
     "select 24 0 0 9 9\n"
     "point 100 50\n"
     "point 90 55\n"
     "end\n"
     "point 110 60 4\n"
     "point 120 55\n"
     "point 130 50\n"
     "end\n",
     {{"Command3", "", ""},
      // Two polylines: closing the question takes the first, as ever.
      {"Command4",
       kPolylineTable,
       kPolylineCount,
       {{"Tendra",
         "所选对象含 2 "
         "条多段线。\n是：逐条取节点，每条钢束一张表；\n否：只取第一条（与以前相同）。"}}},
      {"Command3", "", kPolylineCount},
      {"Command1", kSymmetricPick, kPolylineCount},
      {"Check1", kSymmetricPick, kPolylineCount},
      {"Command1", kThreePicks, kPolylineCount}},
     {{1, 0, 0, 0, 1},
      {2, -30, 5, 0, 3},
      {3, -20, 2, 0, 3},
      {4, -10, 0, 0, 3},
      {5, 100, 50, 0, 1},
      {6, 90, 55, 0, 3},
      {7, 110, 60, 0, 3},
      {8, 120, 55, 0, 3},
      {9, 130, 50, 0, 3}},
     {{"Point#1", "Point#2", "Point#3", "Point#4"},
      {"Point#5", "Point#6", "Point#7", "Point#8", "Point#9"}}},
    {"NotRunningStartedThroughLocalServer32",
     Start::ThroughLocalServer,
     "point 0 0\n"
     "select 24 -30 5 -20 2 -10 0 0 0\n",
     {{"Command3", "", ""}, {"Command4", kPolylineTable, kPolylineCount}},
     {{1, 0, 0, 0, 1}, {2, -30, 5, 0, 3}, {3, -20, 2, 0, 3}, {4, -10, 0, 0, 3}},
     {{"Point#1", "Point#2", "Point#3", "Point#4"}}},
    {"NotRunningThenSlowToStart",
     Start::ThroughLocalServer,
     "starting 1500 500\n"
     "point 100 50\n"
     "point 90 55\n",
     {{"Command3", "", ""}, {"Command1", kSymmetricPick, ""}},
     {{1, 100, 50, 0, 1}, {2, 90, 55, 0, 3}},
     {{"Point#1", "Point#2"}},
     1},
    {"BusyForTwoSecondsThenAnswers",
     Start::Running,
     "busy 2000\n"
     "point 100 50\n"
     "point 90 55\n"
     "end\n",
     {{"Command3", "", ""}, {"Command1", kSymmetricPick, ""}},
     {{1, 100, 50, 0, 1}, {2, 90, 55, 0, 3}},
     {{"Point#1", "Point#2"}},
     1},
    {"NeitherRunningNorInstalled",
     Start::NotInstalled,
     "",
     {{"Command3", "", "", {kNoCadMessage, kUnknownError}}},
     {},
     {},
     0,
     ""},
    {"FilletAnsweredYesThenNo",
     Start::Running,
     kFilletScript,
     {{"Command3", "", ""},
      {"Command4",
       "-30.000\t10.000\t0\r\n-30.000\t0.000\t2.000\r\n30.000\t0.000\t2.000\r\n"
       "30.000\t10.000\t0\r\n",
       "角点个数：4",
       {kArcQuestion},
       false,
       {},
       true},
      {"Command4",
       "-30.000\t10.000\t0\r\n-30.000\t2.000\t15\r\n-28.000\t0.000\t15\r\n"
       "28.000\t0.000\t15\r\n30.000\t2.000\t15\r\n30.000\t10.000\t0\r\n",
       "角点个数：6",
       {kArcQuestion, {"提示", "请检查：\n节点 2–3：半径过大，两端切线长之和超过直线段长"}}}},
     {{1, 0, 0, 0, 1},
      {2, -30, 10, 0, 3},
      {3, -30, 0, 0, 3},
      {4, -30, 10, 0, 3},
      {5, -30, 2, 0, 3},
      {6, -28, 0, 0, 3}},
     {{"Point#1", "Point#2", "Point#3", "Point#4", "Point#5", "Point#6"}},
     0,
     "I2 3",
     kAutoCadProgId,
     0},
    {"TwoLabelledTendonsAnsweredYes",
     Start::Running,
     kTwoTendonsScript,
     {{"Command3", "", ""},
      {"Command4",
       kTwoTendonsTable,
       "钢束数：2，角点个数：12",
       {kTwoPolylinesQuestion},
       false,
       {},
       true}},
     kTwoTendonsMarkers,
     {kTwoTendonsGroup},
     0,
     "I2 3",
     kAutoCadProgId,
     0},
    {"PiecesAndAnOldStylePolylineAnsweredYes",
     Start::Running,
     kPiecesAndOldPolylineScript,
     {{"Command3", "", ""},
      {"Command4",
       kPiecesAndOldPolylineTable,
       "钢束数：2，角点个数：10",
       {kPolylineAndChainQuestion, kArcQuestion},
       false,
       {},
       true}},
     {{1, 0, 0, 0, 1},
      {2, -30, 10, 0, 3},
      {3, -30, 0, 0, 3},
      {4, -30, -15, 0, 3},
      {5, -20, -18, 0, 3},
      {6, -10, -20, 0, 3}},
     {{"Point#1", "Point#2", "Point#3", "Point#4", "Point#5", "Point#6"}},
     0,
     "I2 3",
     kAutoCadProgId,
     0},
    {"TwoLabelledTendonsAsMidasMct",
     Start::Running,
     kTwoTendonsScript,
     {{"Combo1", "", "", {}, false, {}, false, kMctTyped},
      {"Command3", "", ""},
      {"Command4",
       kTwoTendonsMct,
       "钢束数：2，角点个数：12",
       {kTwoPolylinesQuestion},
       false,
       {},
       true}},
     kTwoTendonsMarkers,
     {kTwoTendonsGroup},
     0,
     "I2 3",
     kAutoCadProgId,
     0},
    {"KilledDuringAPickThenStartedAgain",
     Start::Running,
     "point 100 50\n"
     "point 90 55\n"
     "hang\n",
     {{"Command3", "", ""},
      {"Command1", "", "", {kUnknownError}, true},
      {"Command3", "", "", {}, false, "point 0 0\n"}},
     {{1, 0, 0, 0, 1}},
     {{"Point#1"}}},
    // ZWCAD ends a pick under a number of its own, and still answers after it:
    // the ended origin pick keeps the origin, the ended picking writes its table.
    {"CompatibleCadEndsPicksWithANumberOfItsOwn",
     Start::Running,
     "point 100 50\n"
     "end 0x80040201\n"
     "point 90 55\n"
     "end 0x80040201\n",
     {{"Command3", "", ""}, {"Command3", "", ""}, {"Command1", kSymmetricPick, ""}},
     {{1, 100, 50, 0, 1}, {2, 90, 55, 0, 3}},
     {{"Point#1", "Point#2"}},
     0,
     "I2 3",
     L"ZWCAD.Application"},
};

void PrintTo(const Scenario& scenario, std::ostream* out) {
    *out << scenario.name;
}

// --- The two ways of driving the commands ------------------------------------

class Front {
  public:
    virtual ~Front() = default;
    // Starts the front end; false when it cannot run here.
    virtual bool open() = 0;
    // Runs one step against the stand-in and reports what the window then shows.
    virtual void run(const Step& step, StandIn& standIn) = 0;
    virtual std::string text8() = 0;
    virtual std::string label4() = 0;
    // The messages shown since the last call.
    virtual std::vector<Shown> takeMessages() = 0;
};

void killWhenPicking(StandIn& standIn) {
    ASSERT_TRUE(standIn.waitForReport([](const StandInReport& report) {
        return report.state == "picking";
    })) << "the stand-in never waited in a pick";
    standIn.process().kill();
}

// The core's commands in this process, over the COM backend.
class CoreFront final : public Front {
  public:
    bool open() override { return true; }

    void run(const Step& step, StandIn& standIn) override {
        const std::string control = step.control;
        std::thread killer;
        if (step.killDuringPick) {
            killer = std::thread([&] { killWhenPicking(standIn); });
        }
        if (control == "Command3") {
            commands_.initialiseOrigin();
        } else if (control == "Command4") {
            form_.answerYes = step.yes;
            commands_.extractPolylineNodes();
        } else if (control == "Command1") {
            commands_.pickNodes();
        } else if (control == "Check1") {
            form_.options[Option::Check1] = !form_.options[Option::Check1];
        } else if (control == "Combo1") {
            form_.format = OutputFormat::MidasMct;
            form_.mct = checkMctFields(step.parameters).parameters;
        } else {
            ADD_FAILURE() << "no control " << control;
        }
        if (killer.joinable()) {
            killer.join();
        }
    }
    std::string text8() override { return form_.output; }
    std::string label4() override { return form_.status; }
    // A click asks its question before it shows any message.
    std::vector<Shown> takeMessages() override {
        std::vector<Shown> shown;
        for (const auto& question : form_.questions) {
            shown.push_back({question.title, question.text});
        }
        for (const auto& message : form_.messages) {
            shown.push_back({message.title, message.text});
        }
        form_.questions.clear();
        form_.messages.clear();
        return shown;
    }

  private:
    cad::com::ComApartment apartment_;
    cad::com::ComPlatform platform_;
    FakeForm form_;
    cad::Module1 module1_{platform_, form_};
    cad::NameMaker names_;
    DrawingCommands commands_{module1_, form_, names_};
};

const wchar_t* const kTendraProgram = L"app/win32/tendra.exe";

// The real program, seen only through its windows.
class TendraFront final : public Front {
  public:
    bool open() override {
        const std::wstring program = inBuildTree(kTendraProgram);
        if (!fileExists(program)) {
            return false;
        }
        endStrayProcesses(L"tendra.exe");
        process_ = Process(L"\"" + program + L"\"");
        EXPECT_TRUE(
            waitUntil([&] { return (form1_ = topWindowOf(process_.id(), L"Tendra V2.0")); }, 20s))
            << "no Tendra V2.0 window";
        return true;
    }

    void run(const Step& step, StandIn& standIn) override {
        HWND control = controlNamed(form1_, step.control);
        ASSERT_TRUE(control) << "no control " << step.control;
        // The previous handler may still be finishing what enables this one.
        ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(control) != FALSE; }, 5s))
            << step.control << " is disabled";
        if (std::string(step.control) == "Combo1") {
            chooseMidasMct(control, step.parameters);
            return;
        }
        const bool toggle = std::string(step.control).starts_with("Check");
        const std::optional<bool> tickBefore = tickOf(control);
        const StandInReport before = standIn.report();
        yes_ = step.yes;
        click(control);
        if (step.killDuringPick) {
            killWhenPicking(standIn);
        }
        if (toggle) {
            EXPECT_TRUE(waitUntil([&] { return tickOf(control) != tickBefore; }))
                << step.control << " did not toggle";
            return;
        }
        // A command has run when it has reached the stand-in (or shown a
        // message, where there is none), the window shows what the step
        // expects with every expected message seen (each closed as it shows),
        // and the stand-in has heard nothing for a while; or when time is up,
        // and the checks below say what differs.
        EXPECT_TRUE(waitUntil([&] {
            return !(standIn.report() == before) || messageBoxOf(process_.id()).has_value();
        })) << step.control
            << " never reached the stand-in";
        StandInReport last = standIn.report();
        auto quietSince = std::chrono::steady_clock::now();
        waitUntil(
            [&] {
                closeMessageBoxes();
                StandInReport now = standIn.report();
                if (!(now == last)) {
                    last = std::move(now);
                    quietSince = std::chrono::steady_clock::now();
                }
                return messages_.size() >= step.messages.size() && text8() == step.text8 &&
                       label4() == step.label4 &&
                       std::chrono::steady_clock::now() - quietSince > 500ms;
            },
            20s);
        closeMessageBoxes();
    }
    std::string text8() override { return read("Text8"); }
    std::string label4() override { return read("Label4"); }
    std::vector<Shown> takeMessages() override { return std::exchange(messages_, {}); }

  private:
    // The arrow key moves the closed list to "midas MCT", which asks for the
    // parameters; they are typed and accepted with "确定".
    void chooseMidasMct(HWND combo1, const MctFieldTexts& parameters) {
        PostMessageW(combo1, WM_KEYDOWN, VK_DOWN, 0);
        HWND mctfrm = nullptr;
        ASSERT_TRUE(waitUntil([&] { return (mctfrm = topWindowOf(process_.id(), L"midas MCT")); }))
            << "no midas MCT window";
        const std::string* texts[] = {&parameters.property, &parameters.elements, &parameters.group,
                                      &parameters.insertion};
        for (int i = 0; i < 4; ++i) {
            HWND field = controlNamed(mctfrm, "Text" + std::to_string(i + 1));
            ASSERT_TRUE(field) << "no field Text" << i + 1;
            const std::wstring text = utf16(*texts[i]);
            DWORD_PTR result = 0;
            SendMessageTimeoutW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()),
                                SMTO_ABORTIFHUNG, 5000, &result);
        }
        click(controlNamed(mctfrm, "Command1"));
        EXPECT_TRUE(waitUntil([&] { return !IsWindow(mctfrm); })) << "the parameters were refused";
        EXPECT_EQ(textOf(combo1), "midas MCT");
    }
    void closeMessageBoxes() {
        if (auto box = messageBoxOf(process_.id())) {
            messages_.push_back({box->title, box->text});
            const bool question =
                box->text.starts_with("所选对象含") || box->text.starts_with("所选多段线含");
            if (yes_ && question) {
                press(*box, IDYES);
            } else {
                dismiss(*box);
            }
            waitUntil([&] { return !IsWindow(box->window); }, 5s);
        }
    }
    std::string read(const char* name) {
        HWND control = controlNamed(form1_, name);
        return control ? textOf(control).value_or("<no answer>") : std::string("<no ") + name + ">";
    }

    Process process_;
    HWND form1_ = nullptr;
    std::vector<Shown> messages_;
    bool yes_ = false;
};

enum class Driver { Core, Tendra };

void PrintTo(Driver driver, std::ostream* out) {
    *out << (driver == Driver::Core ? "Core" : "Tendra");
}

std::unique_ptr<Front> frontFor(Driver driver) {
    if (driver == Driver::Core) {
        return std::make_unique<CoreFront>();
    }
    return std::make_unique<TendraFront>();
}

class EndToEnd : public ::testing::TestWithParam<std::tuple<Scenario, Driver>> {};

TEST_P(EndToEnd, TablesAndDrawingAsTheCoreExpects) {
    const auto& [scenario, driver] = GetParam();
    StandIn standIn(scenario.script, scenario.progId);
    if (scenario.start == Start::Running) {
        ASSERT_TRUE(standIn.start()) << "the stand-in did not start";
    } else if (scenario.start == Start::NotInstalled) {
        standIn.uninstall();
    }
    std::unique_ptr<Front> front = frontFor(driver);
    if (!front->open()) {
#ifdef TENDRA_WITH_WIN32_APP
        FAIL() << "tendra.exe is missing from the build";
#else
        GTEST_SKIP() << "this build has no tendra.exe";
#endif
    }
    for (std::size_t i = 0; i < scenario.steps.size(); ++i) {
        const Step& step = scenario.steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1) + ": " + step.control);
        if (!step.scriptBefore.empty()) {
            standIn.restartWith(step.scriptBefore);
        }
        front->run(step, standIn);
        EXPECT_EQ(front->text8(), step.text8);
        EXPECT_EQ(front->label4(), step.label4);
        EXPECT_EQ(front->takeMessages(), step.messages);
    }
    // The stand-in writes its report after each call it serves; the last may
    // come in after the window shows its result.
    const auto groupsOf = [](const StandInReport& report) {
        std::vector<std::vector<std::string>> groups;
        for (const auto& group : report.groups) {
            groups.push_back(group.second);
        }
        return groups;
    };
    const auto pdmodeOf = [](const StandInReport& report) {
        const auto found = report.variables.find("pdmode");
        return found == report.variables.end() ? std::string() : found->second;
    };
    standIn.waitForReport([&](const StandInReport& report) {
        return report.points == scenario.points && groupsOf(report) == scenario.groups &&
               pdmodeOf(report) == scenario.pdmode;
    });
    const StandInReport report = standIn.report();
    EXPECT_EQ(report.points, scenario.points);
    EXPECT_EQ(groupsOf(report), scenario.groups);
    EXPECT_EQ(pdmodeOf(report), scenario.pdmode);
    EXPECT_GE(report.rejectedCalls, scenario.minimumRejected);
    EXPECT_EQ(report.servedWhileBusy, 0) << "calls got through while the stand-in was busy";
    if (scenario.selectionSetsLeft) {
        EXPECT_EQ(report.selectionSets.size(), *scenario.selectionSetsLeft);
    }
}

INSTANTIATE_TEST_SUITE_P(Scenarios, EndToEnd,
                         ::testing::Combine(::testing::ValuesIn(kScenarios),
                                            ::testing::Values(Driver::Core, Driver::Tendra)),
                         [](const auto& info) {
                             return std::string(std::get<0>(info.param).name) +
                                    (std::get<1>(info.param) == Driver::Core ? "_Core" : "_Tendra");
                         });

// --- While a pick waits ------------------------------------------------------

// What the user, or another program, does to tendra.exe while it waits in a
// pick of "  点取节点", and whether the program is still running once the
// table has been written.
struct DuringAPick {
    const char* name;
    std::function<void(HWND form1)> act;
    bool stillRunning;
};

// A click on a control of Form1 by its designed name; a name that finds no
// control fails the test rather than clicking nothing.
void mouseClickOn(HWND form1, const char* name) {
    HWND control = controlNamed(form1, name);
    ASSERT_TRUE(control) << "no control " << name;
    mouseClick(control);
}

const DuringAPick kDuringAPick[] = {
    {"ClicksOnExitAndOriginAreDropped",
     [](HWND form1) {
         mouseClickOn(form1, "Command2");
         mouseClickOn(form1, "Command3");
     },
     true},
    {"TheCloseButtonClosesOnceTheTableIsWritten",
     [](HWND form1) { PostMessageW(form1, WM_NCLBUTTONDOWN, HTCLOSE, 0); }, false},
    {"ACloseRequestWaitsUntilTheTableIsWritten",
     [](HWND form1) {
         DWORD_PTR result = 0;
         SendMessageTimeoutW(form1, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
     },
     false},
};

class WhileAPickWaits : public ::testing::TestWithParam<DuringAPick> {};

TEST_P(WhileAPickWaits, NothingFiresLateAndTheTableIsWritten) {
    const DuringAPick& row = GetParam();
    // The pick waits long enough for the test to act during it, even on a loaded machine.
    StandIn standIn("point 0 0\nwait 4000\npoint 100 50\nend\n");
    ASSERT_TRUE(standIn.start()) << "the stand-in did not start";
    const std::wstring program = inBuildTree(kTendraProgram);
    if (!fileExists(program)) {
#ifdef TENDRA_WITH_WIN32_APP
        FAIL() << "tendra.exe is missing from the build";
#else
        GTEST_SKIP() << "this build has no tendra.exe";
#endif
    }
    endStrayProcesses(L"tendra.exe");
    Process tendra(L"\"" + program + L"\"");
    HWND form1 = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (form1 = topWindowOf(tendra.id(), L"Tendra V2.0")); }, 20s));
    HWND command3 = controlNamed(form1, "Command3");
    ASSERT_TRUE(command3) << "no control Command3";
    click(command3);
    HWND command1 = controlNamed(form1, "Command1");
    ASSERT_TRUE(command1) << "no control Command1";
    ASSERT_TRUE(waitUntil([&] { return IsWindowEnabled(command1) != FALSE; }));

    click(command1);
    ASSERT_TRUE(standIn.waitForReport([](const StandInReport& report) {
        return report.state == "picking";
    })) << "the stand-in never waited in a pick";
    row.act(form1);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(standIn.report().state, "picking") << "the pick was over before the test acted";
    EXPECT_TRUE(IsWindow(form1)) << "the window went while its command waited";

    // The markers join their group after the table is written: the command's end.
    EXPECT_TRUE(standIn.waitForReport([](const StandInReport& report) {
        return report.groups.size() == 1 && report.groups[0].second.size() == 2;
    })) << "the command did not run to its end";
    if (row.stillRunning) {
        EXPECT_TRUE(waitUntil([&] {
            return textOf(controlNamed(form1, "Text8")) ==
                   "100.000\t50.000\t0\r\n-100.000\t50.000\t0\r\n";
        }));
        std::this_thread::sleep_for(1s);
        EXPECT_TRUE(tendra.running()) << "a click on exit made during the pick ended the program";
        const StandInReport report = standIn.report();
        const auto origins = std::count_if(
            report.calls.begin(), report.calls.end(),
            [](const std::string& call) { return call.find("点取坐标原点") != std::string::npos; });
        EXPECT_EQ(origins, 1) << "a click on the origin button made during the pick ran later";
    } else {
        EXPECT_TRUE(waitUntil([&] { return !tendra.running(); })) << "the close never happened";
    }
}

INSTANTIATE_TEST_SUITE_P(Rows, WhileAPickWaits, ::testing::ValuesIn(kDuringAPick),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tendra::testing::e2e
