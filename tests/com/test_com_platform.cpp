// Finding the CAD as users meet it: a starting AutoCAD that rejects calls for
// a while, several releases installed, only a compatible program running.
// Time runs on a fake clock, so the bounds are measured, not waited out.
#include <optional>

#include "cad/com/com_platform.h"
#include "cad/com/dispatch.h"
#include "cad/com/message_filter.h"
#include "cad/connection.h"
#include "tests/com/com_harness.h"
#include "tests/support/fake_form.h"

namespace tendra::testing::com {
namespace {

using cad::com::kBusyCallWait;
using cad::com::kStartUpWait;
using std::chrono::milliseconds;
using std::chrono::seconds;
using Lines = std::vector<std::string>;

const Lines kAllSteps{"Application.Visible = BOOL true", "Application.ActiveDocument",
                      "Application.Caption"};

// The classes of one case: AutoCAD's own, its versions, a compatible program.
struct Classes {
    TestClass autoCad;
    TestClass release16{autoCad.progId() + ".16"};
    TestClass release17{autoCad.progId() + ".17"};
    TestClass release18{autoCad.progId() + ".18"};
    TestClass compatible;
};

enum class Runs { Nothing, Release17, Compatible };

struct FindCase {
    const char* name;
    Runs runs;
    milliseconds startUp;   // how long a started AutoCAD rejects calls
    milliseconds settling;  // then how long it is not yet quiescent
    bool reportsState;
    // Expected:
    int started;
    bool documentTaken;
    milliseconds waited;  // on the fake clock
    Lines ends;           // the last calls the CAD that was found received
};

void PrintTo(const FindCase& c, std::ostream* out) {
    *out << c.name;
}

const FindCase kFindCases[] = {
    {"StartingAutoCadReadyAfterThreeSeconds",
     Runs::Nothing,
     seconds(2),
     seconds(1),
     true,
     1,
     true,
     seconds(3),
     {"State.IsQuiescent", "Application.Visible = BOOL true", "Application.ActiveDocument",
      "Application.Caption"}},
    {"StartingAutoCadWithoutGetAcadStateAnswersVisibleWhenReady",
     Runs::Nothing,
     seconds(3),
     seconds(0),
     false,
     1,
     true,
     seconds(3),
     {"Application.Visible", "Application.Visible = BOOL true", "Application.ActiveDocument",
      "Application.Caption"}},
    // The start-up wait ends at its bound; then each step is tried again for
    // the ordinary bound and fails, and the command meets the failure.
    {"StartUpThatNeverEndsIsGivenUpAtTheBound",
     Runs::Nothing,
     seconds(1000),
     seconds(0),
     true,
     1,
     false,
     kStartUpWait + 3 * kBusyCallWait,
     {}},
    {"RunningReleaseFoundThoughNotTheNewest", Runs::Release17, seconds(0), seconds(0), true, 0,
     true, seconds(0), kAllSteps},
    {"OnlyACompatibleCadRunning", Runs::Compatible, seconds(0), seconds(0), true, 0, true,
     seconds(0), kAllSteps},
};

class FindTest : public ComTest,
                 public ::testing::WithParamInterface<std::tuple<FindCase, Reach>> {};

TEST_P(FindTest, AttachesToWhatRunsOrWaitsForTheOneItStarts) {
    const auto& [c, reach] = GetParam();
    FakeClock clock;
    Classes classes;
    auto running = std::make_shared<DoubleCad>();
    if (c.runs == Runs::Release17) {
        classes.release17.run(makeApplication(running).get());
    } else if (c.runs == Runs::Compatible) {
        classes.compatible.run(makeApplication(running).get());
    }
    auto started = std::make_shared<DoubleCad>();
    started->clock = [&clock] { return clock.now(); };
    started->reportsState = c.reportsState;
    auto factory = DoubleFactory::create([&] {
        started->startUp(c.startUp, c.settling);
        return makeApplication(started);
    });
    classes.autoCad.install(factory.get());
    // Only one cursor is the wait cursor: the one every start-up wait shows.
    std::vector<bool> waitCursor;
    clock.onWait = [&] { waitCursor.push_back(GetCursor() == LoadCursorW(nullptr, IDC_WAIT)); };

    FakeForm form;
    bool document = false;
    bool cursorAfter = true;
    runReaching(reach, [&] {
        cad::com::ComPlatform platform(clock.policy());
        cad::Module1 module1(platform, form,
                             {classes.autoCad.progId(), {classes.compatible.progId()}});
        module1.connect();
        document = module1.document() != nullptr;
        cursorAfter = GetCursor() == LoadCursorW(nullptr, IDC_WAIT);
    });

    const DoubleCad& found = c.started ? *started : *running;
    EXPECT_EQ(factory->started(), c.started);
    EXPECT_EQ(document, c.documentTaken);
    EXPECT_TRUE(form.messages.empty());
    EXPECT_EQ(clock.now(), c.waited);
    const Lines transcript = found.transcript();
    ASSERT_GE(transcript.size(), c.ends.size());
    EXPECT_EQ(Lines(transcript.end() - static_cast<long>(c.ends.size()), transcript.end()), c.ends);
    if (c.started && c.documentTaken) {
        EXPECT_TRUE(started->visible());
        ASSERT_FALSE(waitCursor.empty());
        EXPECT_EQ(std::count(waitCursor.begin(), waitCursor.end(), true),
                  static_cast<long>(waitCursor.size()));
    }
    EXPECT_FALSE(cursorAfter);
}

INSTANTIATE_TEST_SUITE_P(Connection, FindTest, bothReaches(kFindCases), caseAndReachName);

// Ordinary calls on a running AutoCAD that rejects them for a while.
struct BoundCase {
    const char* name;
    milliseconds busyFor;
    bool succeeds;
    milliseconds waited;
};

void PrintTo(const BoundCase& c, std::ostream* out) {
    *out << c.name;
}

const BoundCase kBoundCases[] = {
    {"AnAutosaveOfTwentyNineSecondsIsWaitedOut", seconds(29), true, seconds(29)},
    {"BusyBeyondTheBoundFailsAtTheBound", seconds(45), false, kBusyCallWait},
};

class BoundTest : public ComTest,
                  public ::testing::WithParamInterface<std::tuple<BoundCase, Reach>> {};

TEST_P(BoundTest, AnOrdinaryCallIsTriedAgainForThirtySeconds) {
    const auto& [c, reach] = GetParam();
    FakeClock clock;
    cad->clock = [&clock] { return clock.now(); };
    testClass->run(makeApplication(cad).get());

    std::int32_t failure = 0;
    std::string caption;
    runReaching(reach, [&] {
        cad::com::ComPlatform platform(clock.policy());
        auto application = platform.getRunningObject(testClass->progId());
        cad->startUp(c.busyFor);
        try {
            caption = application->caption();
        } catch (const cad::CadError& error) {
            failure = error.number();
        }
    });

    EXPECT_EQ(failure, c.succeeds ? 0 : RPC_E_CALL_REJECTED);
    EXPECT_EQ(caption, c.succeeds ? "AutoCAD 2000 - [Drawing1.dwg]" : "");
    EXPECT_EQ(clock.now(), c.waited);
}

INSTANTIATE_TEST_SUITE_P(Busy, BoundTest, bothReaches(kBoundCases), caseAndReachName);

// What the message filter tells COM for a call the server turned away, by
// how long the call has waited (COM's own count of milliseconds).
struct FilterCase {
    const char* name;
    DWORD waited;
    DWORD rejectType;
    bool handingBack;
    DWORD answer;  // a delay tries again; -1 gives up
};

void PrintTo(const FilterCase& c, std::ostream* out) {
    *out << c.name;
}

constexpr DWORD kGiveUp = static_cast<DWORD>(-1);

const FilterCase kFilterCases[] = {
    {"FreshRejectionIsTriedAgain", 0, SERVERCALL_RETRYLATER, false, 100},
    {"JustInsideTheBoundIsTriedAgain", 29999, SERVERCALL_RETRYLATER, false, 100},
    {"AtTheBoundItGivesUp", 30000, SERVERCALL_RETRYLATER, false, kGiveUp},
    {"RejectedOutrightIsTriedAgainToo", 10, SERVERCALL_REJECTED, false, 100},
    {"OtherAnswersAreNotTriedAgain", 10, SERVERCALL_ISHANDLED, false, kGiveUp},
    {"AStartUpWaitPollsByItself", 10, SERVERCALL_RETRYLATER, true, kGiveUp},
};

class FilterTest : public ::testing::TestWithParam<FilterCase> {};

TEST_P(FilterTest, TriesRejectedCallsAgainWithinTheBound) {
    const FilterCase& c = GetParam();
    cad::com::ComApartment apartment;
    std::optional<cad::com::MessageFilter::HandBackRejections> handBack;
    if (c.handingBack) {
        handBack.emplace();
    }
    EXPECT_EQ(apartment.messageFilter().RetryRejectedCall(nullptr, c.waited, c.rejectType),
              c.answer);
}

INSTANTIATE_TEST_SUITE_P(Bounds, FilterTest, ::testing::ValuesIn(kFilterCases),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tendra::testing::com
