// Form1 as a Win32 window: layout in twips, start-up state, the fields and
// option boxes, and the buttons that do not work in the drawing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/win32/form1.h"
#include "cad/no_cad.h"
#include "tests/win32/win32_testing.h"
#include "ui/win32/designed_names.h"
#include "win32/text.h"
#include "windows/win32/aboutfrm.h"

namespace tendra {
namespace {

using testing::click;
using testing::controlTwips;
using testing::Twips;
using ui::win32::ScreenSize;
using ui::win32::windowText;

class Form1Window : public ::testing::Test {
  protected:
    void SetUp() override { open({1024, 768}); }
    void TearDown() override { testing::quitRequested(); }

    void open(ScreenSize screen, bool realAboutWindow = false) {
        form_ = std::make_unique<Form1>(platform_);
        form_->setShellOpener(shell_.opener());
        form_->setScreenSource([screen] { return screen; });
        if (!realAboutWindow) {
            form_->setAboutShower([this] { aboutShownAfter_ = shell_.requests.size(); });
        }
        ASSERT_TRUE(form_->create());
        form_->show();
    }
    HWND control(const char* name) {
        HWND found = ui::win32::findDesigned(form_->hwnd(), name);
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    bool ticked(const char* name) {
        return SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
    }

    cad::NoCadPlatform platform_;
    testing::ShellLog shell_;
    std::size_t aboutShownAfter_ = 0;
    std::unique_ptr<Form1> form_;
};

struct Placed {
    const char* name;
    Twips twips;
};

TEST_F(Form1Window, EveryFixedControlLiesAtItsDesignedTwips) {
    const Placed rows[] = {
        {"Text8", {1920, 120, 4335, 4815}},   {"Text3", {1080, 240, 615, 270}},
        {"Text1", {1080, 600, 615, 270}},     {"Check1", {240, 960, 735, 255}},
        {"Text2", {1080, 1320, 615, 270}},    {"Check2", {1080, 960, 735, 255}},
        {"Check3", {240, 2760, 1575, 255}},   {"Command3", {360, 1800, 1335, 375}},
        {"Command1", {360, 2280, 1335, 375}}, {"Command6", {360, 4080, 1335, 375}},
        {"Command5", {360, 3600, 1335, 375}}, {"Command2", {360, 4560, 1335, 375}},
        {"Command4", {360, 3120, 1335, 375}}, {"Label5", {360, 5760, 5895, 1695}},
        {"Image1", {240, 7320, 6135, 960}},   {"Combo1", {1080, 5055, 1575, 330}},
        {"Command7", {2775, 5040, 975, 375}},
    };
    for (const Placed& row : rows) {
        EXPECT_EQ(controlTwips(control(row.name)), row.twips) << row.name;
    }
}

TEST_F(Form1Window, LabelsSizedToTextStartAtTheirDesignedCorner) {
    struct Row {
        const char* name;
        long left, top;
    };
    const Row rows[] = {
        {"Label3", 240, 285}, {"Label1", 240, 645}, {"Label2", 600, 1365}, {"Label6", 240, 5130}};
    for (const Row& row : rows) {
        const Twips at = controlTwips(control(row.name));
        EXPECT_EQ(at.left, row.left) << row.name;
        EXPECT_EQ(at.top, row.top) << row.name;
        EXPECT_GT(at.width, 0) << row.name << " holds its caption";
        EXPECT_GT(at.height, 0) << row.name;
    }
}

TEST_F(Form1Window, WindowHasItsCaptionFrameClientSizeAndIsTopmost) {
    HWND window = form_->hwnd();
    EXPECT_EQ(windowText(window), "Tendra V2.0");
    const SIZE client = testing::clientTwips(window);
    EXPECT_EQ(client.cx, 6465);
    EXPECT_EQ(client.cy, 5700);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    EXPECT_TRUE(style & WS_MINIMIZEBOX) << "minimise button";
    EXPECT_FALSE(style & WS_MAXIMIZEBOX) << "no maximise button";
    EXPECT_FALSE(style & WS_THICKFRAME) << "not resizable";
    EXPECT_TRUE(GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(Form1Window, ControlsCarryTheirStableIdentifiers) {
    struct Row {
        const char* name;
        int id;
    };
    // Other programs drive the window by these: they never change.
    const Row rows[] = {
        {"Text1", 101},    {"Text2", 102},    {"Text3", 103},    {"Text8", 108},
        {"Label1", 201},   {"Label2", 202},   {"Label3", 203},   {"Label4", 204},
        {"Label5", 205},   {"Check1", 301},   {"Check2", 302},   {"Check3", 303},
        {"Command1", 401}, {"Command2", 402}, {"Command3", 403}, {"Command4", 404},
        {"Command5", 405}, {"Command6", 406}, {"Image1", 501},   {"Label6", 206},
        {"Combo1", 601},   {"Command7", 407},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(GetDlgItem(form_->hwnd(), row.id), control(row.name)) << row.name;
    }
}

TEST_F(Form1Window, StartsWithTheDesignedTextsTicksAndEnabledStates) {
    struct Row {
        const char* name;
        const char* text;
        int ticked;  // -1: not a check box
        bool enabled;
    };
    const Row rows[] = {
        {"Text8", "", -1, true},
        {"Text3", "1", -1, true},
        {"Label3", "缩放因子", -1, true},
        {"Text1", "3", -1, true},
        {"Label1", "小数位数", -1, true},
        {"Check1", "对称", 1, true},
        {"Text2", "15", -1, true},
        {"Label2", "半径", -1, true},
        {"Check2", "半径", 1, true},
        {"Check3", "对称含最后节点", 0, true},
        {"Label4", "", -1, true},
        {"Command3", "  初始化原点", -1, true},
        {"Command1", "  点取节点", -1, false},
        {"Command6", "  帮  助", -1, true},
        {"Command5", "  更多软件", -1, true},
        {"Command2", "  退  出", -1, true},
        {"Command4", "  自动获取节点", -1, false},
        {"Label6", "输出格式", -1, true},
        {"Combo1", "节点表", -1, true},
        {"Command7", "参数…", -1, true},
    };
    for (const Row& row : rows) {
        HWND c = control(row.name);
        EXPECT_EQ(windowText(c), row.text) << row.name;
        EXPECT_EQ(IsWindowEnabled(c) != FALSE, row.enabled) << row.name;
        if (row.ticked >= 0) {
            EXPECT_EQ(ticked(row.name), row.ticked == 1) << row.name;
        }
    }
    EXPECT_EQ(windowText(control("Label5")), instructionsText());
    EXPECT_FALSE(IsWindowVisible(control("Label4"))) << "an empty status label is not shown";
    HWND combo1 = control("Combo1");
    EXPECT_EQ(GetWindowLongW(combo1, GWL_STYLE) & 3, CBS_DROPDOWNLIST) << "chosen, never typed";
    ASSERT_EQ(SendMessageW(combo1, CB_GETCOUNT, 0, 0), 2);
    for (int i = 0; i < 2; ++i) {
        wchar_t entry[32] = {};
        SendMessageW(combo1, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(entry));
        EXPECT_STREQ(entry, i == 0 ? L"节点表" : L"midas MCT") << "entry " << i;
    }
    EXPECT_EQ(form_->outputFormat(), OutputFormat::NodeTable);
}

TEST_F(Form1Window, ButtonsUseSongTi9GbAndTheRestTheDefaultGuiFont) {
    const HFONT defaultFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const char* name :
         {"Command3", "Command1", "Command6", "Command5", "Command2", "Command4", "Command7"}) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(name), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, L"宋体") << name;
        EXPECT_EQ(font.lfCharSet, GB2312_CHARSET) << name;
        EXPECT_EQ(font.lfWeight, 400) << name;
        // 9 points at the window's DPI.
        EXPECT_EQ(font.lfHeight, -MulDiv(9, ui::win32::windowDpi(form_->hwnd()), 72)) << name;
    }
    LOGFONTW stock{};
    GetObjectW(defaultFont, sizeof stock, &stock);
    for (const char* name : {"Text8", "Text3", "Label3", "Check1", "Label5", "Label6", "Combo1"}) {
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control(name), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, stock.lfFaceName) << name;
        EXPECT_EQ(font.lfHeight, stock.lfHeight) << name << " at the system's DPI";
    }
}

TEST_F(Form1Window, TabWalksTheEnabledControlsInTabIndexOrder) {
    const auto walk = [this] {
        std::vector<std::string> order;
        HWND first = control("Text8");
        HWND at = first;
        do {
            order.push_back(ui::win32::designedName(at));
            at = GetNextDlgTabItem(form_->hwnd(), at, FALSE);
        } while (at && at != first && order.size() < 40);
        return order;
    };
    EXPECT_EQ(walk(), (std::vector<std::string>{"Text8", "Text3", "Text1", "Check1", "Text2",
                                                "Check2", "Check3", "Command3", "Command6",
                                                "Command5", "Command2", "Combo1", "Command7"}))
        << "the disabled node buttons are skipped";
    form_->enableNodeButtons();
    EXPECT_EQ(walk(),
              (std::vector<std::string>{"Text8", "Text3", "Text1", "Check1", "Text2", "Check2",
                                        "Check3", "Command3", "Command1", "Command6", "Command5",
                                        "Command2", "Command4", "Combo1", "Command7"}));
}

TEST_F(Form1Window, FocusStartsInTheOutputBoxShownGreen) {
    HWND text8 = control("Text8");
    EXPECT_EQ(GetFocus(), text8);
    EXPECT_EQ(testing::coloursOf(text8, WM_CTLCOLOREDIT).background, RGB(192, 255, 192));
    EXPECT_EQ(testing::coloursOf(control("Text3"), WM_CTLCOLOREDIT).background,
              GetSysColor(COLOR_WINDOW));
}

TEST_F(Form1Window, EachBoxSelectsItsWholeTextAndTurnsGreenWhileFocused) {
    form_->setOutputText("1\t2\r\n3\t4\r\n");
    struct Row {
        const char* box;
        DWORD length;  // of its text
    };
    const Row rows[] = {{"Text3", 1}, {"Text1", 1}, {"Text2", 2}, {"Text8", 10}, {"Text3", 1}};
    HWND previous = control("Text8");
    for (const Row& row : rows) {
        HWND box = control(row.box);
        SendMessageW(box, EM_SETSEL, 0, 0);
        SetFocus(box);
        DWORD start = 99, end = 99;
        SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, 0u) << row.box;
        EXPECT_EQ(end, row.length) << row.box;
        EXPECT_EQ(testing::coloursOf(box, WM_CTLCOLOREDIT).background, RGB(192, 255, 192))
            << row.box;
        if (previous != box) {
            EXPECT_EQ(testing::coloursOf(previous, WM_CTLCOLOREDIT).background,
                      GetSysColor(COLOR_WINDOW))
                << "the box left before " << row.box;
        }
        previous = box;
    }
}

TEST_F(Form1Window, OptionBoxesEnableTheirDependentControlAndKeepItsState) {
    struct Row {
        const char* option;
        const char* dependent;
    };
    for (const Row& row : {Row{"Check1", "Check3"}, Row{"Check2", "Text2"}}) {
        HWND dependent = control(row.dependent);
        const std::string textBefore = windowText(dependent);
        if (std::string(row.dependent) == "Check3") {
            SendMessageW(dependent, BM_SETCHECK, BST_CHECKED, 0);
        }
        click(control(row.option));
        EXPECT_FALSE(ticked(row.option)) << row.option;
        EXPECT_FALSE(IsWindowEnabled(dependent)) << row.dependent << " greyed";
        click(control(row.option));
        EXPECT_TRUE(ticked(row.option)) << row.option;
        EXPECT_TRUE(IsWindowEnabled(dependent)) << row.dependent << " usable again";
        EXPECT_EQ(windowText(dependent), textBefore) << row.dependent << " keeps its text";
    }
    EXPECT_TRUE(ticked("Check3")) << "Check3 keeps its tick while greyed";
    EXPECT_TRUE(IsWindowEnabled(control("Label2")));
}

TEST_F(Form1Window, HelpAlternatesTheOuterHeightAtTheBottomEdge) {
    const Twips before = testing::windowTwips(form_->hwnd());
    const long heights[] = {8955, 6180, 8955};
    for (long height : heights) {
        click(control("Command6"));
        const Twips now = testing::windowTwips(form_->hwnd());
        EXPECT_EQ(now.height, height);
        EXPECT_EQ(now.left, before.left);
        EXPECT_EQ(now.top, before.top);
        EXPECT_EQ(now.width, before.width);
    }
    EXPECT_EQ(form_->helpClickCount(), 3);
}

TEST_F(Form1Window, ExitEndsTheProgramAtOnce) {
    HWND window = form_->hwnd();
    click(control("Command2"));
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(testing::quitRequested());
}

TEST_F(Form1Window, ClosingTheWindowEndsTheProgram) {
    HWND window = form_->hwnd();
    SendMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_TRUE(testing::quitRequested());
}

TEST_F(Form1Window, MoreSoftwareOpensTheHomePageThenTheAboutWindow) {
    click(control("Command5"));
    ASSERT_EQ(shell_.requests.size(), 1u);
    EXPECT_EQ(shell_.requests[0].first, form_->hwnd()) << "the main window owns the request";
    EXPECT_EQ(shell_.requests[0].second, "https://corvane.example/");
    EXPECT_EQ(aboutShownAfter_, 1u) << "the about window comes after the request";
}

// The main window is topmost: an about window that were not owned by it
// would lie behind it, out of reach, while the main window waits for it.
// What a look at the about window from inside its modal loop found.
struct AboutSeen {
    HWND about = nullptr;
    HWND owner = nullptr;
    HWND atCentre = nullptr;  // the top-level window under its centre
};
AboutSeen* aboutSeen = nullptr;

void CALLBACK lookAtAboutThenClose(HWND, UINT, UINT_PTR timer, DWORD) {
    KillTimer(nullptr, timer);
    HWND about = FindWindowW(nullptr, L"Corvane");
    if (!about) {
        return;
    }
    aboutSeen->about = about;
    aboutSeen->owner = GetWindow(about, GW_OWNER);
    RECT r{};
    GetWindowRect(about, &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    aboutSeen->atCentre = GetAncestor(WindowFromPoint(centre), GA_ROOT);
    click(ui::win32::findDesigned(about, "Command1"));
}

TEST_F(Form1Window, TheAboutWindowIsOwnedByTheMainWindowAndInFrontOfIt) {
    open({1024, 768}, true);
    AboutSeen seen;
    aboutSeen = &seen;
    SetTimer(nullptr, 0, 10, lookAtAboutThenClose);

    click(control("Command5"));

    aboutSeen = nullptr;
    ASSERT_NE(seen.about, nullptr) << "no about window came up";
    EXPECT_EQ(seen.owner, form_->hwnd());
    EXPECT_EQ(seen.atCentre, seen.about);
    EXPECT_TRUE(IsWindowEnabled(form_->hwnd())) << "the main window takes input again";
}

TEST_F(Form1Window, OutputBoxHandsOutItsTableWithCrLf) {
    const std::string table = "0.000\t0.000\t15\r\n1.500\t-2.250\t15\r\n";
    form_->setOutputText(table);
    wchar_t buffer[128] = {};
    SendMessageW(control("Text8"), WM_GETTEXT, 128, reinterpret_cast<LPARAM>(buffer));
    EXPECT_STREQ(buffer, L"0.000\t0.000\t15\r\n1.500\t-2.250\t15\r\n");
}

TEST_F(Form1Window, StatusLabelShowsInTheFormatRowOnlyWithAText) {
    HWND label4 = control("Label4");
    form_->setStatusText("12");
    EXPECT_EQ(windowText(label4), "12");
    EXPECT_TRUE(IsWindowVisible(label4));
    const Twips at = controlTwips(label4);
    EXPECT_EQ(at.left, 3870);
    EXPECT_EQ(at.top, 5130);
    EXPECT_GT(at.width, 0);
    EXPECT_EQ(GetNextWindow(label4, GW_HWNDPREV), nullptr) << "on top of its siblings";
    EXPECT_EQ(testing::coloursOf(label4, WM_CTLCOLORSTATIC).text, RGB(255, 0, 0));
    form_->setStatusText("");
    EXPECT_FALSE(IsWindowVisible(label4));
}

TEST_F(Form1Window, LabelsAndBoxesHaveTheirDesignedTextColours) {
    struct Row {
        const char* name;
        COLORREF text;
    };
    const Row rows[] = {{"Label3", RGB(0, 0, 255)},
                        {"Check1", RGB(0, 0, 255)},
                        {"Check3", RGB(0, 0, 255)},
                        {"Label6", RGB(0, 0, 255)},
                        {"Label5", GetSysColor(COLOR_WINDOWTEXT)}};
    for (const Row& row : rows) {
        EXPECT_EQ(testing::coloursOf(control(row.name), WM_CTLCOLORSTATIC).text, row.text)
            << row.name;
    }
}

TEST_F(Form1Window, FieldsAndOptionsReachTheCommands) {
    SetWindowTextW(control("Text1"), L"2");
    SetWindowTextW(control("Text2"), L"半径 7");
    SetWindowTextW(control("Text3"), L"0.5");
    click(control("Check2"));
    EXPECT_EQ(form_->fieldText(Field::Text1), "2");
    EXPECT_EQ(form_->fieldText(Field::Text2), "半径 7");
    EXPECT_EQ(form_->fieldText(Field::Text3), "0.5");
    EXPECT_TRUE(form_->optionTicked(Option::Check1));
    EXPECT_FALSE(form_->optionTicked(Option::Check2));
    EXPECT_FALSE(form_->optionTicked(Option::Check3));
    EXPECT_FALSE(form_->decimalSeparator().empty());
}

TEST_F(Form1Window, CenterForm1PlacesAcrossTheCentreAndAThirdDownUnclamped) {
    struct Row {
        const char* what;
        ScreenSize screen;
    };
    const Row rows[] = {{"normal screen", {1024, 768}},
                        {"wide screen", {1920, 1080}},
                        {"screen smaller than the window", {200, 150}}};
    for (const Row& row : rows) {
        open(row.screen);
        RECT r{};
        GetWindowRect(form_->hwnd(), &r);
        const double width = r.right - r.left, height = r.bottom - r.top;
        EXPECT_EQ(r.left, std::lround((row.screen.width - width) / 2)) << row.what;
        EXPECT_EQ(r.top, std::lround((row.screen.height - height) / 3)) << row.what;
    }
}

TEST_F(Form1Window, EveryChineseCaptionHasGlyphsInItsFont) {
    for (const char* name : {"Label3", "Label1", "Check1", "Check2", "Check3", "Label2", "Command3",
                             "Command1", "Command6", "Command5", "Command2", "Command4", "Label5",
                             "Label6", "Combo1", "Command7"}) {
        HWND c = control(name);
        const std::wstring text = win32::toUtf16(windowText(c));
        HDC dc = GetDC(c);
        HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
        std::vector<WORD> glyphs(text.size());
        GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS);
        SelectObject(dc, old);
        ReleaseDC(c, dc);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (text[i] > 0x7f) {
                EXPECT_NE(glyphs[i], 0xFFFF) << name << ": character " << i << " has no glyph";
            }
        }
    }
}

TEST_F(Form1Window, TabKeyMovesOnFromTheOutputBoxAndSelectsTheNextField) {
    const struct {
        const char* from;
        const char* to;
    } rows[] = {{"Text8", "Text3"}, {"Text3", "Text1"}, {"Text1", "Check1"}};
    form_->setOutputText("1\t2\r\n");
    for (const auto& row : rows) {
        SetFocus(control(row.from));
        MSG key{};
        key.hwnd = control(row.from);
        key.message = WM_KEYDOWN;
        key.wParam = VK_TAB;
        EXPECT_TRUE(IsDialogMessageW(form_->hwnd(), &key)) << row.from;
        EXPECT_EQ(GetFocus(), control(row.to)) << row.from;
    }
    EXPECT_EQ(windowText(control("Text8")), "1\t2\r\n") << "no tab typed into the table";
}

// The about window the button opens, seen from inside its modal loop.
struct ModalCheck {
    HWND form = nullptr;
    bool sawAbout = false;
    bool formEnabledMeanwhile = true;
};
ModalCheck* modalCheck = nullptr;

void CALLBACK closeAbout(HWND, UINT, UINT_PTR timer, DWORD) {
    HWND about = FindWindowW(L"TendraWindow", L"Corvane");
    if (!about) {
        return;
    }
    KillTimer(nullptr, timer);
    modalCheck->sawAbout = true;
    modalCheck->formEnabledMeanwhile = IsWindowEnabled(modalCheck->form) != FALSE;
    click(ui::win32::findDesigned(about, "Command1"));
}

TEST_F(Form1Window, MoreSoftwareHoldsTheMainWindowUntilTheAboutWindowCloses) {
    form_->setAboutShower([] {
        aboutfrm about;
        ASSERT_TRUE(about.create());
        about.showModal();
    });
    ModalCheck check{form_->hwnd()};
    modalCheck = &check;
    SetTimer(nullptr, 0, 10, closeAbout);
    click(control("Command5"));
    modalCheck = nullptr;
    EXPECT_TRUE(check.sawAbout);
    EXPECT_FALSE(check.formEnabledMeanwhile) << "the main window takes no input meanwhile";
    EXPECT_TRUE(IsWindowEnabled(form_->hwnd())) << "and takes it again afterwards";
    EXPECT_EQ(FindWindowW(L"TendraWindow", L"Corvane"), nullptr);
    EXPECT_EQ(shell_.requests.size(), 1u);
}

TEST_F(Form1Window, LeavingTheWindowAndComingBackKeepsTheBoxFocusedGreenAndSelected) {
    HWND text3 = control("Text3");
    SetWindowTextW(text3, L"2.5");
    SetFocus(text3);
    SendMessageW(text3, EM_SETSEL, 1, 2);  // the user has moved the caret since
    HWND elsewhere = CreateWindowExW(0, L"STATIC", L"elsewhere", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                     50, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(elsewhere, nullptr);
    SetActiveWindow(elsewhere);
    EXPECT_NE(GetFocus(), text3);
    EXPECT_EQ(testing::coloursOf(text3, WM_CTLCOLOREDIT).background, RGB(192, 255, 192))
        << "another program taking the focus is no move between the fields";
    SetActiveWindow(form_->hwnd());
    EXPECT_EQ(GetFocus(), text3);
    DWORD start = 0, end = 0;
    SendMessageW(text3, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 1u);
    EXPECT_EQ(end, 2u);
    DestroyWindow(elsewhere);
}

TEST_F(Form1Window, MovedToAScreenOfAnotherDpiItsControlsFollowInPixels) {
    // 144 dots per inch: 10 twips make a pixel.
    RECT suggested{100, 50, 100 + 700, 50 + 560};
    SendMessageW(form_->hwnd(), WM_DPICHANGED, MAKEWPARAM(144, 144),
                 reinterpret_cast<LPARAM>(&suggested));
    struct Row {
        const char* name;
        RECT pixels;  // left, top, right, bottom in the client area
    };
    const Row rows[] = {
        {"Text8", {192, 12, 626, 494}},
        {"Command3", {36, 180, 170, 218}},
        {"Image1", {24, 732, 638, 828}},
        {"Combo1", {108, 506, 266, 539}},  // its closed box
    };
    for (const Row& row : rows) {
        RECT r{};
        GetWindowRect(control(row.name), &r);
        MapWindowPoints(nullptr, form_->hwnd(), reinterpret_cast<POINT*>(&r), 2);
        EXPECT_EQ(r.left, row.pixels.left) << row.name;
        EXPECT_EQ(r.top, row.pixels.top) << row.name;
        EXPECT_EQ(r.right, row.pixels.right) << row.name;
        EXPECT_EQ(r.bottom, row.pixels.bottom) << row.name;
    }
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control("Command3"), WM_GETFONT, 0, 0)),
               sizeof font, &font);
    EXPECT_EQ(font.lfHeight, -18) << "9 points at 144 dots per inch";
    RECT window{};
    GetWindowRect(form_->hwnd(), &window);
    EXPECT_EQ(window.left, 100);
    EXPECT_EQ(window.right - window.left, 700) << "the system's suggested rectangle";
}

// --- The wait cursor -----------------------------------------------------

// The cursor that shows once the mouse moves over this control: Windows asks
// the control, and the control asks its parent first.
HCURSOR cursorOver(HWND control) {
    SendMessageW(control, WM_SETCURSOR, reinterpret_cast<WPARAM>(control),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
}

HCURSOR systemCursor(const wchar_t* id) {
    return LoadCursorW(nullptr, id);
}

struct CursorCase {
    const char* name;
    const char* control;
    bool busy;
    const wchar_t* cursor;
};

TEST_F(Form1Window, WhileBusyTheWaitCursorShowsOverEveryControl) {
    const CursorCase rows[] = {
        {"BusyOverTheOutputBox", "Text8", true, IDC_WAIT},
        {"BusyOverAButton", "Command4", true, IDC_WAIT},
        {"BusyOverAnOptionBox", "Check1", true, IDC_WAIT},
        {"NotBusyTheOutputBoxHasItsIBeam", "Text8", false, IDC_IBEAM},
        {"NotBusyAButtonHasTheArrow", "Command4", false, IDC_ARROW},
    };
    for (const CursorCase& row : rows) {
        form_->setBusy(row.busy);
        EXPECT_EQ(GetCursor(), systemCursor(row.busy ? IDC_WAIT : IDC_ARROW))
            << row.name << ": at once";
        EXPECT_EQ(cursorOver(control(row.control)), systemCursor(row.cursor)) << row.name;
    }
}

// What a look from inside a message box's modal loop found.
struct BoxSeen {
    HWND box = nullptr;
    HCURSOR atOnce = nullptr;
    HCURSOR overForm1 = nullptr;
};
BoxSeen* boxSeen = nullptr;

// Looks at the first box it finds and closes every box that shows.
void CALLBACK lookAtBoxThenClose(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = FindWindowW(L"#32770", nullptr);
    if (!box || GetWindowThreadProcessId(box, nullptr) != GetCurrentThreadId()) {
        return;
    }
    if (boxSeen && !boxSeen->box) {
        boxSeen->box = box;
        boxSeen->atOnce = GetCursor();
        boxSeen->overForm1 = cursorOver(GetWindow(box, GW_OWNER));
    }
    PostMessageW(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Form1Window, AMessageBoxShownWhileBusyShowsTheArrowThenTheWaitCursorComesBack) {
    BoxSeen seen;
    boxSeen = &seen;
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, lookAtBoxThenClose);
    form_->setBusy(true);

    form_->showMessage("请检查：", "提示", MessageIcon::Information);

    KillTimer(nullptr, timer);
    boxSeen = nullptr;
    ASSERT_NE(seen.box, nullptr) << "no box came up";
    EXPECT_EQ(seen.atOnce, systemCursor(IDC_ARROW)) << "over the box";
    EXPECT_EQ(seen.overForm1, systemCursor(IDC_ARROW)) << "over the main window behind the box";
    EXPECT_EQ(GetCursor(), systemCursor(IDC_WAIT)) << "after the box";
    EXPECT_EQ(cursorOver(control("Text8")), systemCursor(IDC_WAIT)) << "after the box";
}

// Without a CAD the origin command ends in its message boxes; a command that
// left the window busy would leave the wait cursor over it for good.
TEST_F(Form1Window, NothingIsLeftBusyAfterACommand) {
    const UINT_PTR timer = SetTimer(nullptr, 0, 10, lookAtBoxThenClose);
    form_->setBusy(true);

    click(control("Command3"));

    KillTimer(nullptr, timer);
    EXPECT_EQ(GetCursor(), systemCursor(IDC_ARROW));
    EXPECT_EQ(cursorOver(control("Text8")), systemCursor(IDC_IBEAM));
}

}  // namespace
}  // namespace tendra
