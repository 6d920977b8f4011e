// The connection through COM: attach to the running AutoCAD, start one, or
// report the one failure; partial failures keep the earlier references.
#include "cad/com/com_error.h"
#include "cad/com/com_platform.h"
#include "cad/connection.h"
#include "tests/com/com_harness.h"
#include "tests/support/fake_form.h"

namespace tendra::testing::com {
namespace {

using Lines = std::vector<std::string>;

const Lines kAllSteps{"Application.Visible = BOOL true", "Application.ActiveDocument",
                      "Application.Caption"};
// A started AutoCAD is asked first whether it is ready.
const Lines kStartedSteps{"Application.GetAcadState", "State.IsQuiescent",
                          "Application.Visible = BOOL true", "Application.ActiveDocument",
                          "Application.Caption"};

struct ConnectionCase {
    const char* name;
    bool running;          // in the running-object table
    bool installed;        // a class factory is registered
    HRESULT startFailure;  // what that factory answers, if it fails
    bool hasDocument;
    Lines transcript;
    int started;
    HRESULT reported;  // the failure the one message describes, S_OK for none
    bool application;
    bool document;
};

void PrintTo(const ConnectionCase& c, std::ostream* out) {
    *out << c.name;
}

const ConnectionCase kConnectionCases[] = {
    {"AttachesToTheRunningCad", true, true, S_OK, true, kAllSteps, 0, S_OK, true, true},
    {"StartsOneWhenNoneRuns", false, true, S_OK, true, kStartedSteps, 1, S_OK, true, true},
    {"NoDrawingOpenStillActivatesTheWindow", true, false, S_OK, false, kAllSteps, 0, S_OK, true,
     false},
    {"FailingStartShowsItsDescriptionOnce",
     false,
     true,
     CO_E_SERVER_EXEC_FAILURE,
     true,
     {},
     0,
     CO_E_SERVER_EXEC_FAILURE,
     false,
     false},
    {"NothingToStartShowsItsDescriptionOnce",
     false,
     false,
     S_OK,
     true,
     {},
     0,
     REGDB_E_CLASSNOTREG,
     false,
     false},
};

class ConnectionTest : public ComTest,
                       public ::testing::WithParamInterface<std::tuple<ConnectionCase, Reach>> {};

TEST_P(ConnectionTest, FollowsTheStepsInOrder) {
    const auto& [c, reach] = GetParam();
    cad->hasDocument = c.hasDocument;
    if (c.running) {
        testClass->run(makeApplication(cad).get());
    }
    auto factory = DoubleFactory::create([this] { return makeApplication(cad); });
    factory->failure = c.startFailure;
    if (c.installed) {
        testClass->install(factory.get());
    }

    FakeForm form;
    bool application = false;
    bool document = false;
    runReaching(reach, [&] {
        cad::com::ComPlatform platform(kQuickRetry);
        cad::Module1 module1(platform, form, {testClass->progId(), {}});
        module1.connect();
        application = module1.application() != nullptr;
        document = module1.document() != nullptr;
    });

    EXPECT_EQ(cad->transcript(), c.transcript);
    EXPECT_EQ(factory->started(), c.started);
    EXPECT_EQ(cad->visible(), c.application);
    EXPECT_EQ(application, c.application);
    EXPECT_EQ(document, c.document);
    if (c.reported == S_OK) {
        EXPECT_TRUE(form.messages.empty());
    } else {
        ASSERT_EQ(form.messages.size(), 1u);
        EXPECT_EQ(form.messages[0], (ShownMessage{cad::com::describe(c.reported), kApplicationTitle,
                                                  MessageIcon::None}));
    }
}

INSTANTIATE_TEST_SUITE_P(Steps, ConnectionTest, bothReaches(kConnectionCases), caseAndReachName);

using UnknownClassTest = ComTest;

TEST_F(UnknownClassTest, AProgIdNobodyRegisteredShowsItsDescriptionOnce) {
    FakeForm form;
    cad::com::ComPlatform platform(kQuickRetry);
    cad::Module1 module1(platform, form, {testClass->progId() + "0", {}});

    module1.connect();

    ASSERT_EQ(form.messages.size(), 1u);
    EXPECT_EQ(form.messages[0].text, cad::com::describe(CO_E_CLASSSTRING));
    EXPECT_EQ(module1.application(), nullptr);
}

// A second connection in which one call fails: the reference that call would
// have set keeps its earlier value, and every later step still runs.
struct PartialCase {
    const char* name;
    int failingInvoke;
    bool documentKept;
};

void PrintTo(const PartialCase& c, std::ostream* out) {
    *out << c.name;
}

const PartialCase kPartialCases[] = {
    {"FailingVisibleStillTakesTheDocument", 1, false},
    {"FailingActiveDocumentKeepsTheEarlierOne", 2, true},
    {"FailingCaptionOnlySkipsTheActivation", 3, false},
};

class PartialConnectionTest : public ComTest,
                              public ::testing::WithParamInterface<std::tuple<PartialCase, Reach>> {
};

TEST_P(PartialConnectionTest, KeepsTheEarlierReferences) {
    const auto& [c, reach] = GetParam();
    testClass->run(makeApplication(cad).get());

    FakeForm form;
    bool documentKept = false;
    bool applicationSet = false;
    runReaching(reach, [&] {
        cad::com::ComPlatform platform(kQuickRetry);
        cad::Module1 module1(platform, form, {testClass->progId(), {}});
        module1.connect();
        const auto first = module1.document();
        cad->failInvoke(c.failingInvoke, {RPC_E_DISCONNECTED, FailureStyle::Result, L""});
        module1.connect();
        documentKept = module1.document() == first;
        applicationSet = module1.application() != nullptr;
    });

    EXPECT_EQ(documentKept, c.documentKept);
    EXPECT_TRUE(applicationSet);
    EXPECT_EQ(cad->members().size(), 2 * kAllSteps.size());
    EXPECT_EQ(cad->calls()[3 + c.failingInvoke - 1].outcome, RPC_E_DISCONNECTED);
    EXPECT_TRUE(form.messages.empty());
}

INSTANTIATE_TEST_SUITE_P(Steps, PartialConnectionTest, bothReaches(kPartialCases),
                         caseAndReachName);

// A visible top-level window of this thread, closed when it goes.
class TopLevelWindow {
  public:
    explicit TopLevelWindow(const std::wstring& title) {
        WNDCLASSW windowClass{};
        windowClass.lpfnWndProc = DefWindowProcW;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"TendraTestWindow";
        RegisterClassW(&windowClass);
        handle_ = CreateWindowExW(0, windowClass.lpszClassName, title.c_str(), WS_OVERLAPPEDWINDOW,
                                  0, 0, 300, 200, nullptr, nullptr, windowClass.hInstance, nullptr);
        ShowWindow(handle_, SW_SHOWNORMAL);
        pumpMessages();
    }
    ~TopLevelWindow() { DestroyWindow(handle_); }
    HWND handle() const { return handle_; }

  private:
    HWND handle_;
};

using ActivationTest = ComTest;

TEST_F(ActivationTest, TheWindowBearingTheCaptionComesToTheFront) {
    cad->caption = L"AutoCAD 2004 - [桥梁.dwg]";
    testClass->run(makeApplication(cad).get());
    TopLevelWindow autocad(cad->caption);
    TopLevelWindow similar(cad->caption + L" (2)");
    TopLevelWindow other(L"Tendra");
    SetForegroundWindow(other.handle());
    pumpMessages();
    ASSERT_EQ(GetForegroundWindow(), other.handle());

    FakeForm form;
    {
        cad::com::ComPlatform platform(kQuickRetry);
        cad::Module1 module1(platform, form, {testClass->progId(), {}});
        module1.connect();
    }
    pumpMessages();

    EXPECT_EQ(GetForegroundWindow(), autocad.handle());
}

TEST_F(ActivationTest, NoWindowWithTheTitleIsNoError) {
    TopLevelWindow other(L"Tendra");
    SetForegroundWindow(other.handle());
    pumpMessages();
    cad::com::ComPlatform platform(kQuickRetry);

    EXPECT_NO_THROW(platform.activateWindow("AutoCAD 2000 - [Drawing1.dwg]"));
    pumpMessages();
    EXPECT_EQ(GetForegroundWindow(), other.handle());
}

}  // namespace
}  // namespace tendra::testing::com
