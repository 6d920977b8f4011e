// While a command waits in a call into AutoCAD, a click on Tendra's window
// stays queued and its command starts only after the first has ended; the
// window still repaints meanwhile.
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
        default:
            return DefWindowProcW(window, message, wParam, lParam);
    }
}

// Two clicks on Tendra's window: the first initialises the origin, the
// second picks nodes. The second arrives while the first waits on AutoCAD.
class PendingInputTest : public ComTest {
  protected:
    PendingInputTest() {
        ui = &state;
        cad->queuePoint(100, 50);  // the origin
        cad->queuePoint(110, 60);  // the second command's node
        testClass->run(makeApplication(cad).get());
    }
    ~PendingInputTest() override { ui = nullptr; }

    // During the first call to this member the user clicks Tendra's window
    // again and uncovers part of it; then, still inside that call, meanwhile runs.
    void clickDuringFirst(const std::string& member, std::function<void()> meanwhile) {
        cad->onInvoke = [this, member, meanwhile, clicked = false](const DoubleCall& call) mutable {
            if (call.member != member || clicked) {
                return;
            }
            clicked = true;
            PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            InvalidateRect(window, nullptr, TRUE);
            meanwhile();
        };
    }

    void clickTwice() {
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
                    PostQuitMessage(0);
                }
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

TEST_F(PendingInputTest, AClickDuringAPickWaitsUntilTheCommandHasEnded) {
    bool paintedDuringPick = false;
    clickDuringFirst("GetPoint", [&] {
        paintedDuringPick = WaitForSingleObject(state.painted, 10000) == WAIT_OBJECT_0;
        state.note("pick answered");
    });

    clickTwice();

    EXPECT_TRUE(paintedDuringPick);
    EXPECT_EQ(state.events, (Lines{"origin starts", "paint", "pick answered", "origin ends",
                                   "picking starts", "picking ends"}));
    EXPECT_GT(pendingMessages, 0);
    EXPECT_EQ(output, "10.000\t10.000\t0\r\n");
}

// The same while the backend waits to try again a call AutoCAD turned away.
TEST_F(PendingInputTest, AClickWhileABusyCallWaitsToBeRetriedWaitsToo) {
    clickDuringFirst("Utility", [&] { cad->rejectCalls(20); });

    clickTwice();

    EXPECT_EQ(cad->rejectedCalls(), 20);
    EXPECT_EQ(state.events,
              (Lines{"origin starts", "paint", "origin ends", "picking starts", "picking ends"}));
    EXPECT_EQ(output, "10.000\t10.000\t0\r\n");
}

// And while the connection waits for the AutoCAD it started to be ready.
TEST_F(PendingInputTest, AClickWhileAStartedAutoCadIsWaitedForWaitsToo) {
    testClass = std::make_unique<TestClass>();
    auto factory = DoubleFactory::create([this] {
        ComPtr<IDispatch> application = makeApplication(cad);
        testClass->run(application.get());
        cad->startUp(std::chrono::milliseconds(300));
        PostMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, 0);
        return application;
    });
    testClass->install(factory.get());

    clickTwice();

    EXPECT_EQ(factory->started(), 1);
    EXPECT_GT(cad->rejectedCalls(), 0);
    EXPECT_EQ(state.events,
              (Lines{"origin starts", "origin ends", "picking starts", "picking ends"}));
    EXPECT_EQ(output, "10.000\t10.000\t0\r\n");
}

}  // namespace
}  // namespace tendra::testing::com
