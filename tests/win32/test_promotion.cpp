// The promotion windows as Win32 windows: placement at their edge,
// identifiers, docking, the pictures and the label, the page they show.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/win32/win32_testing.h"
#include "ui/win32/designed_names.h"
#include "windows/win32/promotion.h"

namespace tendra {
namespace {

using testing::controlTwips;
using testing::Twips;
using ui::win32::findDesigned;
using ui::win32::ScreenSize;

constexpr ScreenSize kScreen{1280, 1024};

class PromotionWindowTest : public ::testing::Test {
  protected:
    void TearDown() override { testing::quitRequested(); }
    template <class Window>
    std::unique_ptr<PromotionWindow> open() {
        auto window = std::make_unique<Window>();
        window->setScreenSource([] { return kScreen; });
        window->setPointerSource([this] { return pointer_; });
        EXPECT_TRUE(window->create());
        window->show();
        return window;
    }

    POINT pointer_{640, 10};
};

TEST_F(PromotionWindowTest, StartsAtItsEdgeAThirdDownBorderlessAndTopmost) {
    struct Row {
        const char* what;
        bool left;
    };
    for (const Row& row : {Row{"ad1frm", true}, Row{"adfrm", false}}) {
        auto window = row.left ? open<ad1frm>() : open<adfrm>();
        HWND hwnd = window->hwnd();
        RECT r{};
        GetWindowRect(hwnd, &r);
        EXPECT_EQ(r.right - r.left, 131) << row.what << ": 1965 twips";
        EXPECT_EQ(r.bottom - r.top, 609) << row.what << ": 9135 twips";
        EXPECT_EQ(r.left, row.left ? 0 : 1280 - 131) << row.what;
        EXPECT_EQ(r.top, std::lround((1024 - 609) / 3.0)) << row.what;
        EXPECT_EQ(GetWindowLongW(hwnd, GWL_STYLE) & (WS_CAPTION | WS_BORDER | WS_THICKFRAME), 0)
            << row.what;
        EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) << row.what;
        EXPECT_EQ(ui::win32::windowText(hwnd), "休息一下，马上回来！");
        EXPECT_EQ(controlTwips(findDesigned(hwnd, "WebBrowser1")), (Twips{-105, -195, 2400, 9690}))
            << "pixel edges of (-100, -200, 2400, 9690)";
        EXPECT_EQ(controlTwips(findDesigned(hwnd, "Label1")), (Twips{0, 8760, 495, 420}));
    }
}

TEST_F(PromotionWindowTest, ControlsCarryTheirStableIdentifiers) {
    auto window = open<adfrm>();
    struct Row {
        const char* name;
        int id;
    };
    for (const Row& row :
         {Row{"WebBrowser1", 901}, Row{"Image1", 902}, Row{"Image2", 903}, Row{"Label1", 904}}) {
        EXPECT_EQ(GetDlgItem(window->hwnd(), row.id), findDesigned(window->hwnd(), row.name))
            << row.name;
    }
}

TEST_F(PromotionWindowTest, Timer2StartsTheDockingTimer) {
    auto window = open<ad1frm>();
    EXPECT_EQ(window->timer1Interval(), 0);
    SendMessageW(window->hwnd(), WM_TIMER, 2, 0);
    EXPECT_EQ(window->timer1Interval(), 1);
}

TEST_F(PromotionWindowTest, DockingMovesTheRealWindow) {
    struct Step {
        const char* what;
        POINT pointer;  // in screen pixels; the window's left edge is at 0 at first
        bool relativeToWindow;
        long expectLeftPixels;
    };
    // ad1frm, 131 pixels wide: hidden it keeps 40 twips (about 3 pixels) on
    // the screen, shown it overhangs the left edge by 10 twips (a pixel).
    const Step steps[] = {
        {"pointer elsewhere: hides to the left", {640, 500}, false, -128},
        {"pointer on the strip: back in one step", {1, 20}, true, -1},
        {"pointer still inside: stays", {5, 20}, true, -1},
        {"pointer on the left border counts as outside", {0, 20}, true, -128},
    };
    auto window = open<ad1frm>();
    HWND hwnd = window->hwnd();
    for (const Step& step : steps) {
        RECT r{};
        GetWindowRect(hwnd, &r);
        pointer_ = step.pointer;
        if (step.relativeToWindow) {
            pointer_.x += r.left;
            pointer_.y += r.top;
        }
        SendMessageW(hwnd, WM_TIMER, 1, 0);
        GetWindowRect(hwnd, &r);
        EXPECT_EQ(r.left, step.expectLeftPixels) << step.what;
        EXPECT_EQ(r.right - r.left, 131) << step.what << ": size kept";
    }
}

TEST_F(PromotionWindowTest, DockingHidesAtTheRightAndNotWhileMinimised) {
    auto window = open<adfrm>();
    HWND hwnd = window->hwnd();
    pointer_ = {10, 500};
    window->dockingStep();
    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 1280 - 3) << "40 twips, about 3 pixels, stay on the screen";
    ShowWindow(hwnd, SW_MINIMIZE);
    RECT before{};
    GetWindowRect(hwnd, &before);
    pointer_ = {before.left + 1, before.top + 1};
    window->dockingStep();
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, before.left) << "a minimised window does not move";
}

TEST_F(PromotionWindowTest, Label1DoubleClickClosesOnlyThisWindow) {
    auto left = open<ad1frm>();
    auto right = open<adfrm>();
    HWND label1 = findDesigned(left->hwnd(), "Label1");
    SendMessageW(label1, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_FALSE(left->exists());
    EXPECT_TRUE(right->exists());
    EXPECT_FALSE(testing::quitRequested());
}

TEST_F(PromotionWindowTest, PicturesMinimiseAndEndTheProgram) {
    auto window = open<ad1frm>();
    HWND hwnd = window->hwnd();
    SendMessageW(findDesigned(hwnd, "Image1"), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(IsIconic(hwnd));
    SendMessageW(findDesigned(hwnd, "Image2"), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_FALSE(IsWindow(hwnd));
    EXPECT_TRUE(testing::quitRequested());
}

TEST_F(PromotionWindowTest, ShowsThePageOrAPlaceholderNamingIt) {
    auto window = open<adfrm>();
    EXPECT_EQ(window->pageAddress(), "https://corvane.example/gdownload.htm");
    HWND browser = findDesigned(window->hwnd(), "WebBrowser1");
    ASSERT_NE(browser, nullptr);
    // Wine's own WebBrowser control comes up; on Windows either may happen.
    if (testing::runningUnderWine()) {
        EXPECT_TRUE(window->browserActive()) << "Wine's WebBrowser control did not come up";
    }
    if (window->browserActive()) {
        EXPECT_EQ(window->browserLocation(), window->pageAddress());
    } else {
        EXPECT_EQ(ui::win32::windowText(browser), window->pageAddress());
    }
}

}  // namespace
}  // namespace tendra
