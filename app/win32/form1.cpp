#include "app/win32/form1.h"

#include <string_view>

#include "cad/com/message_filter.h"
#include "ui/twips.h"
#include "ui/vendor.h"
#include "ui/win32/colours.h"
#include "ui/win32/designed_names.h"
#include "ui/win32/end_program.h"
#include "win32/text.h"
#include "windows/win32/aboutfrm.h"
#include "windows/win32/mctfrm.h"

namespace tendra {

namespace {

using ui::ControlKind;
using ui::win32::colourRef;
using ui::win32::windowText;

constexpr const char* kFocusBoxes[] = {"Text1", "Text2", "Text3", "Text8"};

bool isFocusBox(std::string_view name) {
    for (const char* box : kFocusBoxes) {
        if (name == box) {
            return true;
        }
    }
    return false;
}

}  // namespace

Form1::Form1(cad::Platform& platform)
    : DesignedWindow(form1Design()),
      module1_(platform, *this),
      commands_(module1_, *this, names_),
      mctTexts_(mctfrm::initialTexts()) {
    aboutShower_ = [this] {
        // Owned by the main window, so it stays above it: the main window is
        // topmost, and an about window behind it could never be reached.
        aboutfrm about;
        if (about.create(hwnd())) {
            about.showModal();
        }
    };
}

void Form1::formLoad() {
    CenterForm1(hwnd());
    ui::win32::makeTopmost(hwnd(), dpi(), ui::win32::TopmostRounding::CutAfterDividing);
    setCaption("Label5", instructionsText());
    // The output box takes a table of any length.
    SendMessageW(control("Text8"), EM_SETLIMITTEXT, 0, 0);
    // The status label is above its siblings, and shows only with a text.
    HWND label4 = control("Label4");
    SetWindowPos(label4, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ShowWindow(label4, SW_HIDE);
}

void Form1::show() {
    ShowWindow(hwnd(), SW_SHOW);
    SetFocus(control("Text8"));
}

void Form1::CenterForm1(HWND frm) {
    ui::win32::placeWindow(frm, dpi(), screen(), Across::Centre);
}

LRESULT Form1::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        // Closing the main window ends the program, as "  退  出" does.
        requestClose();
        return 0;
    }
    // While busy the wait cursor stays over the window, whatever control
    // the mouse is over.
    if (message == WM_SETCURSOR && busy_) {
        SetCursor(LoadCursorW(nullptr, IDC_WAIT));
        return TRUE;
    }
    return DesignedWindow::handleMessage(message, wParam, lParam);
}

void Form1::onCommand(HWND control, const ui::ControlDesign& design, int code) {
    const std::string_view name = design.name;
    if (design.kind == ControlKind::TextBox || design.kind == ControlKind::MultiLineTextBox) {
        if (!isFocusBox(name)) {
            return;
        }
        // Only a move of the focus between this window's controls counts: when
        // the user goes to AutoCAD and comes back, the box keeps its colour
        // and its selection.
        if (code == EN_SETFOCUS) {
            if (focusedBox_ == control) {
                return;
            }
            if (focusedBox_) {
                InvalidateRect(focusedBox_, nullptr, TRUE);
            }
            // The whole text is selected, so typing replaces it.
            SendMessageW(control, EM_SETSEL, 0, GetWindowTextLengthW(control));
            focusedBox_ = control;
            InvalidateRect(control, nullptr, TRUE);
        } else if (code == EN_KILLFOCUS) {
            HWND next = GetFocus();
            if (focusedBox_ == control && next && IsChild(hwnd(), next)) {
                focusedBox_ = nullptr;
                InvalidateRect(control, nullptr, TRUE);
            }
        }
        return;
    }
    if (name == "Combo1") {
        if (code == CBN_SELCHANGE) {
            outputFormatChosen();
        }
        return;
    }
    if (code != BN_CLICKED) {
        return;
    }
    if (name == "Check1") {
        EnableWindow(this->control("Check3"), ticked("Check1"));
    } else if (name == "Check2") {
        EnableWindow(this->control("Text2"), ticked("Check2"));
    } else if (name == "Command3") {
        runCommand(&DrawingCommands::initialiseOrigin);
    } else if (name == "Command1") {
        runCommand(&DrawingCommands::pickNodes);
    } else if (name == "Command4") {
        runCommand(&DrawingCommands::extractPolylineNodes);
    } else if (name == "Command2") {
        requestClose();
    } else if (name == "Command5") {
        // Only a click another program sends reaches here during a command.
        if (!commandRunning_) {
            showMoreSoftware();
        }
    } else if (name == "Command6") {
        toggleInstructions();
    } else if (name == "Command7") {
        // Only a click another program sends reaches here during a command.
        if (!commandRunning_) {
            askMctParameters();
        }
    }
}

COLORREF Form1::textBoxBackground(HWND control) const {
    return control == focusedBox_ ? colourRef(ui::kFocusGreen) : GetSysColor(COLOR_WINDOW);
}

void Form1::runCommand(void (DrawingCommands::*command)()) {
    // A click sent by another program, not by the user, can arrive while a
    // command waits on AutoCAD: one command at a time.
    if (commandRunning_) {
        return;
    }
    commandRunning_ = true;
    (commands_.*command)();
    commandRunning_ = false;
    // Whichever way the command ended, the window is not busy after it.
    if (busy_) {
        setBusy(false);
    }
    cad::com::discardQueuedInput();
    if (closeRequested_) {
        ui::win32::endProgram();
    }
}

void Form1::requestClose() {
    if (commandRunning_) {
        closeRequested_ = true;
        return;
    }
    ui::win32::endProgram();
}

void Form1::toggleInstructions() {
    helpClickCount_ = nextHelpClickCount(helpClickCount_);
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const int height = ui::twipsToPixels(helpOuterHeightTwips(helpClickCount_), dpi());
    SetWindowPos(hwnd(), nullptr, 0, 0, r.right - r.left, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::showMoreSoftware() {
    // Whether the shell could open the page is not looked at: the about
    // window comes up either way.
    openAddress(vendor::kHomePage);
    aboutShower_();
}

void Form1::outputFormatChosen() {
    const OutputFormat before = chosenFormat_;
    chosenFormat_ = outputFormat();
    // A choice another program makes while a command runs waits for no window.
    if (chosenFormat_ != OutputFormat::MidasMct || before == OutputFormat::MidasMct ||
        commandRunning_) {
        return;
    }
    if (!askMctParameters() && !mctParameters_) {
        SendMessageW(control("Combo1"), CB_SETCURSEL, static_cast<WPARAM>(OutputFormat::NodeTable),
                     0);
        chosenFormat_ = OutputFormat::NodeTable;
    }
}

bool Form1::askMctParameters() {
    // Owned by the main window, so it stays above it: the main window is
    // topmost, and a window behind it could never be reached.
    mctfrm parameters(mctTexts_);
    const std::optional<MctParameters> accepted = parameters.ask(hwnd());
    if (!accepted) {
        return false;
    }
    mctTexts_ = parameters.texts();
    mctParameters_ = accepted;
    return true;
}

OutputFormat Form1::outputFormat() {
    return SendMessageW(control("Combo1"), CB_GETCURSEL, 0, 0) ==
                   static_cast<LRESULT>(OutputFormat::MidasMct)
               ? OutputFormat::MidasMct
               : OutputFormat::NodeTable;
}

MctParameters Form1::mctParameters() {
    return mctParameters_.value_or(MctParameters{});
}

bool Form1::ticked(const char* name) const {
    return SendMessageW(control(name), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string Form1::fieldText(Field field) {
    switch (field) {
        case Field::Text1:
            return windowText(control("Text1"));
        case Field::Text2:
            return windowText(control("Text2"));
        case Field::Text3:
            return windowText(control("Text3"));
    }
    return {};
}

bool Form1::optionTicked(Option option) {
    switch (option) {
        case Option::Check1:
            return ticked("Check1");
        case Option::Check2:
            return ticked("Check2");
        case Option::Check3:
            return ticked("Check3");
    }
    return false;
}

std::string Form1::decimalSeparator() {
    wchar_t separator[8] = {};
    if (GetLocaleInfoEx(LOCALE_NAME_USER_DEFAULT, LOCALE_SDECIMAL, separator, 8) <= 1) {
        return ".";
    }
    return win32::toUtf8(separator);
}

void Form1::setOutputText(const std::string& text) {
    ui::win32::setWindowText(control("Text8"), text);
}

void Form1::setStatusText(const std::string& text) {
    setCaption("Label4", text);
    HWND label4 = control("Label4");
    SetWindowPos(label4, HWND_TOP, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE |
                     (text.empty() ? SWP_HIDEWINDOW : SWP_SHOWWINDOW));
}

void Form1::enableNodeButtons() {
    EnableWindow(control("Command1"), TRUE);
    EnableWindow(control("Command4"), TRUE);
}

// A box waits for the user, not for the CAD: while it shows, the arrow does,
// over the box and over this window alike; the wait cursor comes back after.
int Form1::messageBox(const std::string& text, const std::string& title, UINT style) {
    const std::wstring body = win32::toUtf16(text);
    const std::wstring caption = win32::toUtf16(title.empty() ? kApplicationTitle : title);
    const bool wasBusy = busy_;
    if (wasBusy) {
        setBusy(false);
    }
    const int answer = MessageBoxW(hwnd(), body.c_str(), caption.c_str(), style);
    if (wasBusy) {
        setBusy(true);
    }
    return answer;
}

void Form1::showMessage(const std::string& text, const std::string& title, MessageIcon icon) {
    const UINT shown = icon == MessageIcon::Stop          ? MB_ICONSTOP
                       : icon == MessageIcon::Information ? MB_ICONINFORMATION
                                                          : 0;
    messageBox(text, title, MB_OK | shown);
}

void Form1::setBusy(bool busy) {
    busy_ = busy;
    SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

// Whatever closes the box other than Yes answers No.
bool Form1::askYesNo(const std::string& text, const std::string& title) {
    return messageBox(text, title, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace tendra
