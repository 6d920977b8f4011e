// While a command waits in a call into AutoCAD, the user's clicks and keys on
// Tendra's window are dropped, so no command starts after the first has
// ended; the window still repaints, and a press on its title bar still
// reaches it, so it can be moved aside.
#include <mutex>

#include "cad/com/com_platform.h"
#include "cad/com/message_filter.h"
#include "cad/connection.h"
#include "cad/names.h"
#include "nodes/commands.h"
#include "tests/com/com_harness.h"
#include "tests/support/fake_form.h"

namespace tendra::testing::com {
namespace {

using Lines = std::vector<std::string>;

// Tendra's window on the client's UI thread: a click runs a command, a paint
// is noted. Nothing here knows whether a call is waiting.
struct Ui {
    std::mutex mutex;
    Lines events;
    HANDLE painted = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    std::function<void()> onClick;

    void note(const std::string& event) {
        std::lock_guard lock(mutex);
        events.push_back(event);
    }
    ~Ui() { CloseHandle(painted); }
};

Ui* ui = nullptr;

LRESULT CALLBACK windowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: {
            PAINTSTRUCT paint;
            BeginPaint(window, &paint);
            EndPaint(window, &paint);
            ui->note("paint");
            SetEvent(ui->painted);
            return 0;
        }
        case WM_LBUTTONDOWN:
            ui->onClick();
            return 0;
        case WM_KEYDOWN:
            ui->note("key");
            return 0;
        case WM_NCLBUTTONDOWN:
            // Not passed on: the system's move loop would wait for a real mouse.
            ui->note("title bar " + std::to_string(wParam));
            return 0;
        case WM_SYSCOMMAND:
            if (wParam == SC_CLOSE) {
                ui->note("close asked");
                return 0;
            }
            return DefWindowProcW(window, message, wParam, lParam);
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// A click on Tendra's window initialises the origin; a second click, or other
// input, arrives while that waits on AutoCAD. A second click that got through
// would pick nodes.
class PendingInputTest : public ComTest {
  protected:
    PendingInputTest() {
        ui = &state;
        cad->queuePoint(100, 50);  // the origin
        cad->queuePoint(110, 60);  // the second command's node
        testClass->run(makeApplication(cad).get());
    }
    ~PendingInputTest() override { ui = nullptr; }

    // During the first call to this member the user gives this input to
    // Tendra's window and uncovers part of it; then, still inside that call,
    // meanwhile runs.
    void inputDuringFirst(const std::string& member, UINT message, WPARAM wParam, LPARAM lParam,
                          std::function<void()> meanwhile) {
        cad->onInvoke = [this, member, message, wParam, lParam, meanwhile,
                         given = false](const DoubleCall& call) mutable {
            if (call.member != member || given) {
                return;
            }
            given = true;
            PostMessageW(window, message, wParam, lParam);
            InvalidateRect(window, nullptr, TRUE);
            meanwhile();
        };
    }
    void clickDuringFirst(const std::string& member, std::function<void()> meanwhile) {
        inputDuringFirst(member, WM_LBUTTONDOWN, MK_LBUTTON, 0, std::move(meanwhile));
    }

    void clickOnce() {
        runInOtherApartment([&](cad::com::ComApartment& apartment) {
            WNDCLASSW windowClass{};
            windowClass.lpfnWndProc = windowProcedure;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = L"TendraPendingInput";
            RegisterClassW(&windowClass);
            window =
                CreateWindowExW(0, windowClass.lpszClassName, L"Tendra", WS_OVERLAPPEDWINDOW, 0, 0,
                                400, 300, nullptr, nullptr, windowClass.hInstance, nullptr);
            ShowWindow(window, SW_SHOWNORMAL);
            UpdateWindow(window);
            ResetEvent(state.painted);
            state.events.clear();

            FakeForm form;
            form.options[Option::Check1] = false;
            cad::com::ComPlatform platform(kQuickRetry);
            cad::Module1 module1(platform, form, {testClass->progId(), {}});
            cad::NameMaker names([] { return 36000.25; });
            DrawingCommands commands(module1, form, names);
            int clicks = 0;
            state.onClick = [&] {
                if (++clicks == 1) {
                    state.note("origin starts");
                    commands.initialiseOrigin();
                    state.note("origin ends");
                } else {
                    state.note("picking starts");
                    commands.pickNodes();
                    state.note("picking ends");
                }
                // Anything still queued comes before the quit.
                PostQuitMessage(0);
            };

            PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            DestroyWindow(window);
            UnregisterClassW(windowClass.lpszClassName, windowClass.hInstance);
            pendingMessages = apartment.messageFilter().pendingMessages();
            output = form.output;
        });
    }

    Ui state;
    HWND window = nullptr;
    long pendingMessages = 0;
    std::string output;
};

struct InputRow {
    const char* name;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    Lines events;  // from the start of the origin pick on
};

constexpr LPARAM kAltDown = 1 << 29;

// What becomes of input given during the pick.
const InputRow kInputDuringAPick[] = {
    {"ClickOnTheWindowIsDropped",
     WM_LBUTTONDOWN,
     MK_LBUTTON,
     0,
     {"paint", "pick answered", "origin ends"}},
    {"KeyIsDropped", WM_KEYDOWN, VK_RETURN, 0, {"paint", "pick answered", "origin ends"}},
    {"TitleBarPressMovesTheWindowMeanwhile",
     WM_NCLBUTTONDOWN,
     HTCAPTION,
     0,
     {"title bar " + std::to_string(HTCAPTION), "paint", "pick answered", "origin ends"}},
    {"CloseButtonAsksToCloseOnceTheCommandHasEnded",
     WM_NCLBUTTONDOWN,
     HTCLOSE,
     0,
     {"paint", "pick answered", "origin ends", "close asked"}},
    {"AltF4AsksToCloseOnceTheCommandHasEnded",
     WM_SYSKEYDOWN,
     VK_F4,
     kAltDown,
     {"paint", "pick answered", "origin ends", "close asked"}},
    {"F4WithoutAltIsDropped", WM_SYSKEYDOWN, VK_F4, 0, {"paint", "pick answered", "origin ends"}},
};

class InputDuringAPick : public PendingInputTest, public ::testing::WithParamInterface<InputRow> {};

TEST_P(InputDuringAPick, IsDroppedWhileTheWindowStillPaintsAndMoves) {
    const InputRow& row = GetParam();
    bool painted = false;
    inputDuringFirst("GetPoint", row.message, row.wParam, row.lParam, [&] {
        painted = WaitForSingleObject(state.painted, 10000) == WAIT_OBJECT_0;
        state.note("pick answered");
    });

    clickOnce();

    EXPECT_TRUE(painted) << "no paint while the pick waited";
    Lines expected{"origin starts"};
    expected.insert(expected.end(), row.events.begin(), row.events.end());
    EXPECT_EQ(state.events, expected);
    EXPECT_GT(pendingMessages, 0);
    EXPECT_EQ(output, "");
}

INSTANTIATE_TEST_SUITE_P(Rows, InputDuringAPick, ::testing::ValuesIn(kInputDuringAPick),
                         [](const auto& info) { return std::string(info.param.name); });

// The same while the backend waits to try again a call AutoCAD turned away.
TEST_F(PendingInputTest, AClickWhileABusyCallWaitsToBeRetriedIsDropped) {
    clickDuringFirst("Utility", [&] { cad->rejectCalls(20); });

    clickOnce();

    EXPECT_EQ(cad->rejectedCalls(), 20);
    EXPECT_EQ(state.events, (Lines{"origin starts", "paint", "origin ends"}));
    EXPECT_EQ(output, "");
}

// And while the connection waits for the AutoCAD it started to be ready.
TEST_F(PendingInputTest, AClickWhileAStartedAutoCadIsWaitedForIsDropped) {
    testClass = std::make_unique<TestClass>();
    auto factory = DoubleFactory::create([this] {
        ComPtr<IDispatch> application = makeApplication(cad);
        testClass->run(application.get());
        cad->startUp(std::chrono::milliseconds(300));
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        return application;
    });
    testClass->install(factory.get());

    clickOnce();

    EXPECT_EQ(factory->started(), 1);
    EXPECT_GT(cad->rejectedCalls(), 0);
    EXPECT_EQ(state.events, (Lines{"origin starts", "origin ends"}));
    EXPECT_EQ(output, "");
}

}  // namespace
}  // namespace tendra::testing::com
