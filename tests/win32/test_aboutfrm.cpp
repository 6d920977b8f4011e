// The about window as a Win32 window: geometry, identifiers, placement on
// screens of several sizes, links, cursors, tooltips and colours.
#include <gtest/gtest.h>
#include <windows.h>

#include <commctrl.h>

#include <string>

#include "tests/win32/win32_testing.h"
#include "ui/win32/designed_names.h"
#include "windows/win32/aboutfrm.h"

namespace tendra {
namespace {

using testing::controlTwips;
using testing::Twips;
using ui::win32::findDesigned;
using ui::win32::ScreenSize;

class AboutWindow : public ::testing::Test {
  protected:
    void TearDown() override { testing::quitRequested(); }
    void open(ScreenSize screen = {1024, 768}) {
        about_ = std::make_unique<aboutfrm>();
        about_->setShellOpener(shell_.opener());
        about_->setScreenSource([screen] { return screen; });
        ASSERT_TRUE(about_->create());
        ShowWindow(about_->hwnd(), SW_SHOWNOACTIVATE);
    }
    HWND control(const char* name) {
        HWND found = findDesigned(about_->hwnd(), name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }

    testing::ShellLog shell_;
    std::unique_ptr<aboutfrm> about_;
};

TEST_F(AboutWindow, ControlsLieAtTheirDesignedTwips) {
    open();
    struct Row {
        const char* name;
        Twips twips;
    };
    const Row rows[] = {
        {"picBGHead", {0, 0, 5790, 615}},          {"picBGHeadIcon", {240, 120, 480, 480}},
        {"lblBGHeadInfo1", {960, 240, 3855, 255}}, {"Label2", {600, 720, 600, 210}},
        {"Label7", {1320, 720, 540, 195}},         {"Label3", {600, 1080, 600, 210}},
        {"Label9", {1320, 1080, 1800, 195}},       {"Label5", {555, 1440, 645, 210}},
        {"lblHomepage", {1320, 1440, 1950, 180}},  {"Label6", {300, 1800, 900, 210}},
        {"Label4", {1320, 1800, 1395, 180}},       {"Command1", {3480, 1440, 1335, 375}},
        {"linBorder", {0, 615, 5760, 15}},  // one pixel high
    };
    for (const Row& row : rows) {
        EXPECT_EQ(controlTwips(control(row.name)), row.twips) << row.name;
    }
    const SIZE client = testing::clientTwips(about_->hwnd());
    EXPECT_EQ(client.cx, 5100);
    EXPECT_EQ(client.cy, 2160);
    EXPECT_EQ(ui::win32::windowText(about_->hwnd()), "Corvane");
    const LONG style = GetWindowLongW(about_->hwnd(), GWL_STYLE);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
}

TEST_F(AboutWindow, ControlsCarryTheirStableIdentifiers) {
    open();
    struct Row {
        const char* name;
        int id;
    };
    const Row rows[] = {
        {"picBGHead", 601}, {"picBGHeadIcon", 602}, {"lblBGHeadInfo1", 603}, {"linBorder", 604},
        {"Label2", 702},    {"Label3", 703},        {"Label4", 704},         {"Label5", 705},
        {"Label6", 706},    {"Label7", 707},        {"Label9", 709},         {"lblHomepage", 710},
        {"Command1", 801},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(GetDlgCtrlID(control(row.name)), row.id) << row.name;
    }
}

TEST_F(AboutWindow, CenterFormPlacesItAThirdDownEvenOffAScreenTooSmall) {
    struct Row {
        const char* what;
        ScreenSize screen;
    };
    const Row rows[] = {{"normal screen", {1024, 768}}, {"tiny screen", {160, 100}}};
    for (const Row& row : rows) {
        open(row.screen);
        RECT r{};
        GetWindowRect(about_->hwnd(), &r);
        const double width = r.right - r.left, height = r.bottom - r.top;
        EXPECT_EQ(r.left, std::lround((row.screen.width - width) / 2)) << row.what;
        EXPECT_EQ(r.top, std::lround((row.screen.height - height) / 3)) << row.what;
        if (row.screen.width < width) {
            EXPECT_LT(r.left, 0) << row.what;
            EXPECT_LT(r.top, 0) << row.what;
        }
        // Closed and opened again, it is placed again.
        about_.reset();
    }
}

TEST_F(AboutWindow, LinksOpenTheirAddressesAndLeaveTheWindowOpen) {
    open();
    struct Row {
        const char* control;
        const char* address;
    };
    const Row rows[] = {
        {"picBGHead", "https://corvane.example/"},
        {"picBGHeadIcon", "https://corvane.example/"},
        {"lblBGHeadInfo1", "https://corvane.example/"},
        {"Label4", "https://corvane.example/"},
        {"lblHomepage", "mailto:linqiao@corvane.example"},
        {"Label9", "https://studio.corvane.example/"},
    };
    for (const Row& row : rows) {
        shell_.requests.clear();
        HWND link = control(row.control);
        // A real click: the button goes down and up over the control.
        SendMessageW(link, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        SendMessageW(link, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        ASSERT_EQ(shell_.requests.size(), 1u) << row.control;
        EXPECT_EQ(shell_.requests[0].second, row.address) << row.control;
        EXPECT_EQ(shell_.requests[0].first, about_->hwnd()) << row.control;
        EXPECT_TRUE(about_->exists()) << row.control;
    }
    shell_.requests.clear();
    SendMessageW(control("Label2"), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(shell_.requests.empty()) << "a caption is no link";
}

TEST_F(AboutWindow, HandCursorOverTheLinksOnly) {
    open();
    const auto setsCursor = [this](const char* name) {
        return SendMessageW(about_->hwnd(), WM_SETCURSOR, reinterpret_cast<WPARAM>(control(name)),
                            MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)) == TRUE;
    };
    struct Row {
        const char* name;
        bool hand;
    };
    const Row rows[] = {{"Label9", true},  {"lblHomepage", true}, {"Label4", true},
                        {"Label2", false}, {"Label7", false},     {"Command1", false}};
    for (const Row& row : rows) {
        EXPECT_EQ(setsCursor(row.name), row.hand) << row.name;
    }
}

TEST_F(AboutWindow, TooltipsNameTheAddresses) {
    open();
    HWND tooltip = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM found) {
            wchar_t name[64];
            GetClassNameW(window, name, 64);
            if (std::wstring_view(name) == TOOLTIPS_CLASSW) {
                *reinterpret_cast<HWND*>(found) = window;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&tooltip));
    ASSERT_NE(tooltip, nullptr);
    struct Row {
        const char* name;
        const wchar_t* tip;
    };
    const Row rows[] = {{"lblBGHeadInfo1", L"https://studio.corvane.example/"},
                        {"Label9", L"https://studio.corvane.example/"},
                        {"Label4", L"Corvane"}};
    EXPECT_EQ(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0), 3);
    for (const Row& row : rows) {
        wchar_t text[128] = {};
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.hwnd = about_->hwnd();
        tool.uId = reinterpret_cast<UINT_PTR>(control(row.name));
        tool.lpszText = text;
        SendMessageW(tooltip, TTM_GETTEXTW, 128, reinterpret_cast<LPARAM>(&tool));
        EXPECT_STREQ(text, row.tip) << row.name;
    }
}

TEST_F(AboutWindow, OkClosesTheWindowAndEndsItsModalLoop) {
    open();
    HWND window = about_->hwnd();
    // Clicked from inside the modal loop, as the user would.
    PostMessageW(control("Command1"), BM_CLICK, 0, 0);
    about_->showModal();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(testing::quitRequested());
}

TEST_F(AboutWindow, HeaderAndCaptionColours) {
    open();
    EXPECT_EQ(testing::coloursOf(control("lblBGHeadInfo1"), WM_CTLCOLORSTATIC).background,
              RGB(255, 255, 255))
        << "the header's white shows through the slogan";
    EXPECT_EQ(testing::coloursOf(control("Label2"), WM_CTLCOLORSTATIC).text, RGB(255, 0, 0));
    EXPECT_EQ(testing::coloursOf(control("Label7"), WM_CTLCOLORSTATIC).text, RGB(0, 0, 255));
}

}  // namespace
}  // namespace tendra
