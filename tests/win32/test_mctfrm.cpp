// The MCT parameters window as a Win32 window, opened from Form1 as the user
// opens it: its layout in twips, its place above the topmost main window,
// the focus, and what its buttons and keys leave behind.
#include <gtest/gtest.h>

#include <array>
#include <sstream>
#include <string>
#include <vector>

#include "app/win32/form1.h"
#include "cad/no_cad.h"
#include "tests/win32/win32_testing.h"
#include "ui/win32/designed_names.h"
#include "win32/text.h"
#include "windows/win32/mctfrm.h"

namespace tendra {
namespace {

using testing::controlTwips;
using testing::Twips;
using ui::win32::designedName;
using ui::win32::findDesigned;
using ui::win32::windowText;

HWND mctWindow() {
    return FindWindowW(L"TendraWindow", L"midas MCT");
}

// What one press does in mctfrm: the fields typed first (nullptr keeps one),
// then a button clicked or a key pressed: "Command1", "Command2", "Enter",
// "Esc" or "Close" (the title bar's close button).
struct Press {
    std::array<const char*, 4> texts;
    const char* press;
};

// One opening of mctfrm: by choosing "midas MCT" in Combo1, or by Command7.
struct Opening {
    const char* by;
    std::vector<Press> presses;
};

// What the timer saw while the modal loops ran, in order: "open" with the
// fields' texts, "box" with a message box's title and text, "focus" with the
// field focused after it. And where each opening came up.
struct Driver {
    const std::vector<Press>* presses = nullptr;
    std::size_t next = 0;
    bool fresh = false, afterBox = false;
    int waited = 0;  // timer ticks spent waiting for the focus after a box
    std::vector<std::string> seen, places;
    HWND form1 = nullptr;
};
Driver* driver = nullptr;

std::string text(HWND window, const char* name) {
    return windowText(findDesigned(window, name));
}

// Focus, owner, topmost, and whether it is what lies under its centre and in
// front of its owner in the z-order: the X11 driver enforces neither without
// a window manager, so they are asked of the window list.
std::string placeOf(HWND mct, HWND form1) {
    RECT r{};
    GetWindowRect(mct, &r);
    const bool atCentre =
        GetAncestor(WindowFromPoint({(r.left + r.right) / 2, (r.top + r.bottom) / 2}), GA_ROOT) ==
        mct;
    bool inFront = false;
    for (HWND below = mct; below; below = GetWindow(below, GW_HWNDNEXT)) {
        inFront = inFront || below == form1;
    }
    const bool topmost = GetWindowLongW(mct, GWL_EXSTYLE) & WS_EX_TOPMOST;
    return designedName(GetFocus()) + (IsWindowEnabled(form1) ? " owner-enabled" : "") +
           (topmost ? " topmost" : "") + (GetWindow(mct, GW_OWNER) == form1 ? " owned" : "") +
           (atCentre ? " at-centre" : "") + (inFront ? " in-front" : "");
}

void CALLBACK drive(HWND, UINT, UINT_PTR, DWORD) {
    Driver& d = *driver;
    HWND box = FindWindowW(L"#32770", nullptr);
    if (box && GetWindowThreadProcessId(box, nullptr) == GetCurrentThreadId()) {
        d.seen.push_back("box " + windowText(box) + ": " + windowText(GetDlgItem(box, 0xFFFF)));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        d.afterBox = true;
        return;
    }
    HWND mct = mctWindow();
    if (!mct || !IsWindowVisible(mct)) {
        return;
    }
    // The focus comes back to the window a moment after the box has gone:
    // wait for it (a second at the most) rather than read it on the way.
    if (d.afterBox && GetAncestor(GetFocus(), GA_ROOT) != mct && ++d.waited < 100) {
        return;
    }
    d.waited = 0;
    if (d.fresh || d.afterBox) {
        d.seen.push_back(d.fresh ? "open " + text(mct, "Text1") + "|" + text(mct, "Text2") + "|" +
                                       text(mct, "Text3") + "|" + text(mct, "Text4")
                                 : "focus " + designedName(GetFocus()));
        if (d.fresh) {
            d.places.push_back(placeOf(mct, d.form1));
        }
        d.fresh = d.afterBox = false;
    }
    if (d.next >= d.presses->size()) {
        DestroyWindow(mct);  // the row left it open: the checks tell
        return;
    }
    const Press& p = (*d.presses)[d.next++];
    for (int i = 0; i < 4; ++i) {
        if (p.texts[i]) {
            SetWindowTextW(findDesigned(mct, ("Text" + std::to_string(i + 1)).c_str()),
                           win32::toUtf16(p.texts[i]).c_str());
        }
    }
    const std::string press = p.press;
    if (press == "Enter" || press == "Esc") {
        PostMessageW(GetFocus(), WM_KEYDOWN, press == "Enter" ? VK_RETURN : VK_ESCAPE, 0);
    } else if (press == "Close") {
        PostMessageW(mct, WM_CLOSE, 0, 0);
    } else {
        PostMessageW(findDesigned(mct, p.press), BM_CLICK, 0, 0);
    }
}

class MctWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        form_ = std::make_unique<Form1>(platform_);
        form_->setScreenSource([] { return ui::win32::ScreenSize{1024, 768}; });
        ASSERT_TRUE(form_->create());
        form_->show();
    }
    void TearDown() override { testing::quitRequested(); }

    // Opens mctfrm as the row says and runs its presses from inside its loop.
    void open(const Opening& opening) {
        driver_.presses = &opening.presses;
        driver_.next = 0;
        driver_.fresh = true;
        driver_.form1 = form_->hwnd();
        driver = &driver_;
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, drive);
        HWND by = findDesigned(form_->hwnd(), opening.by);
        if (std::string(opening.by) == "Combo1") {
            SendMessageW(by, CB_SETCURSEL, 1, 0);
            testing::notify(by, CBN_SELCHANGE);
        } else {
            testing::click(by);
        }
        KillTimer(nullptr, timer);
        driver = nullptr;
    }

    cad::NoCadPlatform platform_;
    std::unique_ptr<Form1> form_;
    Driver driver_;
};

TEST_F(MctWindow, ControlsLieAtTheirDesignedTwipsWithTheirIdentifiers) {
    mctfrm window(mctfrm::initialTexts());
    ASSERT_TRUE(window.create(form_->hwnd()));
    struct Row {
        const char* name;
        int id;
        Twips twips;  // a label sized to its text: width and height 0
    };
    const Row rows[] = {
        {"Label1", 1201, {240, 285, 0, 0}},          {"Text1", 1101, {1200, 240, 3240, 270}},
        {"Label2", 1202, {240, 765, 0, 0}},          {"Text2", 1102, {1200, 720, 3240, 270}},
        {"Label3", 1203, {240, 1245, 0, 0}},         {"Text3", 1103, {1200, 1200, 3240, 270}},
        {"Label4", 1204, {240, 1725, 0, 0}},         {"Text4", 1104, {1200, 1680, 3240, 270}},
        {"Command1", 1401, {2040, 2160, 1095, 375}}, {"Command2", 1402, {3345, 2160, 1095, 375}},
    };
    for (const Row& row : rows) {
        HWND c = findDesigned(window.hwnd(), row.name);
        ASSERT_NE(c, nullptr) << row.name;
        EXPECT_EQ(GetDlgCtrlID(c), row.id) << row.name;
        Twips at = controlTwips(c);
        if (row.twips.width == 0) {
            EXPECT_GT(at.width, 0) << row.name << " holds its caption";
            at.width = at.height = 0;
        }
        EXPECT_EQ(at, row.twips) << row.name;
    }
    const SIZE client = testing::clientTwips(window.hwnd());
    EXPECT_EQ(client.cx, 4680);
    EXPECT_EQ(client.cy, 2775);
    EXPECT_FALSE(GetWindowLongW(window.hwnd(), GWL_STYLE) &
                 (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_EQ(text(window.hwnd(), "Command1") + text(window.hwnd(), "Command2"), "确定取消");
    std::vector<std::string> order;
    for (HWND at = findDesigned(window.hwnd(), "Text1"); at && order.size() < 7;
         at = GetNextDlgTabItem(window.hwnd(), at, FALSE)) {
        order.push_back(designedName(at));
    }
    EXPECT_EQ(order, (std::vector<std::string>{"Text1", "Text2", "Text3", "Text4", "Command1",
                                               "Command2", "Text1"}))
        << "tab order";
}

struct Behaviour {
    const char* name;
    std::vector<Opening> openings;
    std::vector<std::string> seen;
    std::string after;  // Combo1, then the parameters mctParameters() gives
};

const std::array<const char*, 4> kValid{"15-12", "1to40", "G1", "1, 2.5, -3"};
const std::array<const char*, 4> kKept{nullptr, nullptr, nullptr, nullptr};
const char* const kOpenedFirst = "open |||0, 0, 0";
const char* const kNothingAccepted = "节点表 ||| 0 0 0";
const char* const kValidAccepted = "midas MCT 15-12|1to40|G1| 1 2.5 -3";

const Behaviour kBehaviours[] = {
    {"CancelledTheFirstTimeTheNodeTableIsChosenAgain",
     {{"Combo1", {{kKept, "Command2"}}}},
     {kOpenedFirst},
     kNothingAccepted},
    {"AcceptedTheFormatStaysAndTheValuesAreKept",
     {{"Combo1", {{kValid, "Command1"}}}},
     {kOpenedFirst},
     kValidAccepted},
    {"EnterInAFieldAccepts", {{"Combo1", {{kValid, "Enter"}}}}, {kOpenedFirst}, kValidAccepted},
    {"EscCancels", {{"Combo1", {{kValid, "Esc"}}}}, {kOpenedFirst}, kNothingAccepted},
    {"TheCloseButtonCancels", {{"Combo1", {{kValid, "Close"}}}}, {kOpenedFirst}, kNothingAccepted},
    {"EachInvalidFieldIsNamedWithWhyAndGetsTheFocus",
     {{"Combo1",
       {{kKept, "Command1"},
        {{"15,12", "1to40", nullptr, nullptr}, "Command1"},
        {{"15-12", "1to", nullptr, nullptr}, "Command1"},
        {{nullptr, "1to40", "G;1", nullptr}, "Command1"},
        {{nullptr, nullptr, "G1", "1, 2"}, "Command1"},
        {{nullptr, nullptr, nullptr, "1, x, 3"}, "Enter"},
        {kValid, "Command1"}}}},
     {kOpenedFirst, "box midas MCT: 钢束特性：不能为空", "focus Text1",
      "box midas MCT: 钢束特性：不能含逗号或分号", "focus Text1",
      "box midas MCT: 分配单元：“1to”不是单元号、NtoM 或 NtoMbyK", "focus Text2",
      "box midas MCT: 钢束组：不能含逗号或分号", "focus Text3",
      "box midas MCT: 插入点：须为 x, y, z 三个数", "focus Text4",
      "box midas MCT: 插入点：“x”不是数值", "focus Text4"},
     kValidAccepted},
    {"CancelledAfterAcceptingKeepsTheFormatAndTheValues",
     {{"Combo1", {{kValid, "Command1"}}},
      {"Command7", {{{"other", "2", "", "0 0 0"}, "Command2"}}}},
     {kOpenedFirst, "open 15-12|1to40|G1|1, 2.5, -3"},
     kValidAccepted},
    {"ParametersAcceptedWithTheNodeTableLeaveTheFormat",
     {{"Command7", {{kValid, "Command1"}}}},
     {kOpenedFirst},
     "节点表 15-12|1to40|G1| 1 2.5 -3"},
};

TEST_F(MctWindow, WhatItsButtonsAndKeysLeaveBehind) {
    for (const Behaviour& row : kBehaviours) {
        SetUp();
        driver_ = {};
        for (const Opening& opening : row.openings) {
            open(opening);
        }
        EXPECT_EQ(mctWindow(), nullptr) << row.name << ": still open";
        EXPECT_EQ(driver_.seen, row.seen) << row.name;
        EXPECT_EQ(
            driver_.places,
            std::vector<std::string>(row.openings.size(), "Text1 topmost owned at-centre in-front"))
            << row.name;
        const MctParameters p = form_->mctParameters();
        std::ostringstream after;
        after << text(form_->hwnd(), "Combo1") << " " << p.property << "|" << p.elements << "|"
              << p.group << "| " << p.insertionX << " " << p.insertionY << " " << p.insertionZ;
        EXPECT_EQ(after.str(), row.after) << row.name;
        EXPECT_EQ(form_->outputFormat() == OutputFormat::MidasMct,
                  row.after.starts_with("midas MCT"))
            << row.name;
    }
}

}  // namespace
}  // namespace tendra
