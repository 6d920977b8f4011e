#include "ui/win32/designed_window.h"

#include <commctrl.h>

#include <algorithm>

#include "ui/twips.h"
#include "ui/vendor.h"
#include "ui/win32/colours.h"
#include "ui/win32/designed_names.h"
#include "ui/win32/end_program.h"
#include "ui/win32/fonts.h"
#include "ui/win32/message_loops.h"
#include "ui/win32/tab_leaves_box.h"
#include "ui/win32/window_classes.h"
#include "win32/text.h"

namespace tendra::ui::win32 {

namespace {

using tendra::win32::toUtf16;

DWORD frameStyle(Frame frame) {
    switch (frame) {
        case Frame::FixedSingle:
            return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
        case Frame::FixedDialog:
            return WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        case Frame::None:
            return WS_POPUP;
    }
    return WS_POPUP;
}

DWORD frameExStyle(const WindowDesign& design) {
    DWORD exStyle = design.frame == Frame::FixedDialog ? WS_EX_DLGMODALFRAME : 0;
    return exStyle | WS_EX_CONTROLPARENT;
}

bool isTextBox(ControlKind kind) {
    return kind == ControlKind::TextBox || kind == ControlKind::MultiLineTextBox;
}

// A drop-down list's window is as high as its closed box; the height it is
// given beyond that is its open list's, which shows every entry. The closed
// box is as high as its selection field and frame, and the field is made to
// fit the designed height. Wine answers the field's height two pixels higher
// than it was set, so the field is set, measured, and set once more by the
// difference; a resize sets the field back to the font's height, so it comes
// after the resize.
void placeDropDownList(HWND list, const PixelRect& px) {
    const auto entries = static_cast<int>(SendMessageW(list, CB_GETCOUNT, 0, 0));
    const auto entry = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, 0, 0));
    SetWindowPos(list, nullptr, px.left, px.top, px.width, px.height + entries * entry + 2,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    const auto closedHeight = [list] {
        RECT closed{};
        GetWindowRect(list, &closed);
        return static_cast<int>(closed.bottom - closed.top);
    };
    const auto answered = static_cast<int>(SendMessageW(list, CB_GETITEMHEIGHT, WPARAM(-1), 0));
    int field = px.height - (closedHeight() - answered);
    for (int tries = 0; tries < 2 && closedHeight() != px.height; ++tries) {
        SendMessageW(list, CB_SETITEMHEIGHT, WPARAM(-1), std::max(field, 1));
        field += px.height - closedHeight();
    }
}

}  // namespace

DesignedWindow* DesignedWindow::containing(HWND control) {
    HWND root = GetAncestor(control, GA_ROOT);
    return root ? reinterpret_cast<DesignedWindow*>(GetWindowLongPtrW(root, GWLP_USERDATA))
                : nullptr;
}

DesignedWindow::DesignedWindow(const WindowDesign& design) : design_(design) {}

DesignedWindow::~DesignedWindow() {
    if (exists()) {
        DestroyWindow(hwnd_);
    }
    for (HFONT font : fonts_) {
        DeleteObject(font);
    }
    for (auto& [colour, handle] : brushes_) {
        DeleteObject(handle);
    }
}

bool DesignedWindow::create(HWND owner) {
    // A control without an identifier of its own could not be told from
    // another by the programs that drive the window.
    if (!identifiersComplete(design_.controls)) {
        return false;
    }
    registerClasses();
    const DWORD style = frameStyle(design_.frame) | WS_CLIPCHILDREN;
    DWORD exStyle = frameExStyle(design_);
    // A window owned by a topmost one is topmost too, or it would sit in the
    // band below its owner and could end up hidden behind it.
    const bool ownerTopmost = owner && (GetWindowLongPtrW(owner, GWL_EXSTYLE) & WS_EX_TOPMOST);
    if (design_.topmost || ownerTopmost) {
        exStyle |= WS_EX_TOPMOST;
    }
    hwnd_ = CreateWindowExW(exStyle, kWindowClass, toUtf16(design_.caption).c_str(), style, 0, 0,
                            100, 100, owner, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) {
        return false;
    }
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(windowProc));
    setDesignedName(hwnd_, design_.name);
    dpi_ = windowDpi(hwnd_);
    const SIZE outer = outerSize(style, exStyle, twipsToPixels(design_.clientWidth, dpi_),
                                 twipsToPixels(design_.clientHeight, dpi_), dpi_);
    SetWindowPos(hwnd_, nullptr, 0, 0, outer.cx, outer.cy,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    windowFont_ = makeWindowFont();
    createControls();
    formLoad();
    return true;
}

void DesignedWindow::createControls() {
    for (const ControlDesign& c : design_.controls) {
        if (HWND control = createControl(c)) {
            controls_.emplace_back(control, &c);
        }
    }
}

HFONT DesignedWindow::makeWindowFont() {
    HFONT font = nullptr;
    if (design_.font) {
        font = createDesignedFont(*design_.font, dpi_);
    } else {
        // The default GUI font, made for the system's DPI, at this window's.
        LOGFONTW logFont{};
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof logFont, &logFont);
        HDC screen = GetDC(nullptr);
        const int systemDpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
        if (screen) {
            ReleaseDC(nullptr, screen);
        }
        logFont.lfHeight = MulDiv(logFont.lfHeight, static_cast<int>(dpi_), systemDpi);
        font = CreateFontIndirectW(&logFont);
    }
    fonts_.push_back(font);
    return font;
}

HFONT DesignedWindow::fontFor(const ControlDesign& c) {
    if (!c.font) {
        return windowFont_;
    }
    HFONT font = createDesignedFont(*c.font, dpi_);
    fonts_.push_back(font);
    return font;
}

PixelRect DesignedWindow::controlPixels(const ControlDesign& c) const {
    TwipsRect rect = c.rect;
    if (c.parent) {
        if (const ControlDesign* outer = design_.control(c.parent)) {
            rect.left -= outer->rect.left;
            rect.top -= outer->rect.top;
        }
    }
    PixelRect px = pixelRect(rect, dpi_);
    if (c.kind == ControlKind::Line) {
        px.height = std::max(px.height, 1);
        px.width = std::max(px.width, 1);
    }
    return px;
}

void DesignedWindow::rescale(UINT dpi, const RECT* suggested) {
    dpi_ = dpi;
    std::vector<HFONT> oldFonts = std::move(fonts_);
    fonts_.clear();
    windowFont_ = makeWindowFont();
    for (const auto& [handle, c] : controls_) {
        const PixelRect px = controlPixels(*c);
        SetWindowPos(handle, nullptr, px.left, px.top, px.width, px.height,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        SendMessageW(handle, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(*c)), TRUE);
        if (c->kind == ControlKind::DropDownList) {
            placeDropDownList(handle, px);
        }
        if (c->sizedToText) {
            fitToText(handle);
        }
    }
    for (HFONT font : oldFonts) {
        DeleteObject(font);
    }
    if (suggested) {
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    onRescaled();
}

HWND DesignedWindow::createControl(const ControlDesign& c) {
    if (c.kind == ControlKind::Timer) {
        return nullptr;
    }
    HWND parent = c.parent ? control(c.parent) : hwnd_;
    const PixelRect px = controlPixels(c);
    if (c.kind == ControlKind::Browser) {
        createSpecialControl(c, RECT{px.left, px.top, px.left + px.width, px.top + px.height});
        return control(c.name);
    }
    const wchar_t* className = L"STATIC";
    // Siblings may overlap (the status label lies over the output box): each
    // paints only where it is not covered.
    DWORD style = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    DWORD exStyle = 0;
    switch (c.kind) {
        case ControlKind::TextBox:
            className = L"EDIT";
            style |= WS_TABSTOP | ES_AUTOHSCROLL;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::MultiLineTextBox:
            className = L"EDIT";
            style |= WS_TABSTOP | WS_VSCROLL | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
            exStyle = WS_EX_CLIENTEDGE;
            break;
        case ControlKind::Label:
            style |= SS_NOTIFY | SS_NOPREFIX | (c.wordWrap ? SS_LEFT : SS_LEFTNOWORDWRAP);
            break;
        case ControlKind::CheckBox:
            className = L"BUTTON";
            style |= WS_TABSTOP | BS_AUTOCHECKBOX;
            break;
        case ControlKind::PushButton:
            className = L"BUTTON";
            style |= WS_TABSTOP | (c.defaultButton ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
            break;
        case ControlKind::DropDownList:
            className = L"COMBOBOX";
            style |= WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWNLIST;
            break;
        case ControlKind::Picture:
        case ControlKind::Line:
            className = kPictureClass;
            style |= WS_CLIPCHILDREN;
            break;
        case ControlKind::Browser:
        case ControlKind::Timer:
            return nullptr;
    }
    if (!c.enabled) {
        style |= WS_DISABLED;
    }
    HWND control = CreateWindowExW(exStyle, className, toUtf16(c.caption).c_str(), style, px.left,
                                   px.top, px.width, px.height, parent,
                                   reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)),
                                   GetModuleHandleW(nullptr), nullptr);
    if (!control) {
        return nullptr;
    }
    setDesignedName(control, c.name);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(fontFor(c)), FALSE);
    if (c.kind == ControlKind::MultiLineTextBox) {
        letTabLeave(control);
    }
    if (c.kind == ControlKind::DropDownList) {
        for (const char* item : c.items) {
            const std::wstring entry = toUtf16(item);
            SendMessageW(control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
        }
        SendMessageW(control, CB_SETCURSEL, 0, 0);
        placeDropDownList(control, px);
    }
    if (c.kind == ControlKind::CheckBox) {
        withoutTheme(control);
        SendMessageW(control, BM_SETCHECK, c.ticked ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    if (c.tooltip) {
        if (!tooltip_) {
            tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                       WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                       CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                                       GetModuleHandleW(nullptr), nullptr);
        }
        std::wstring tip = toUtf16(c.tooltip);
        TOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
        tool.hwnd = hwnd_;
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = tip.data();
        SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    if (c.sizedToText) {
        fitToText(control);
    }
    return control;
}

void DesignedWindow::fitToText(HWND label) {
    const std::wstring text = toUtf16(windowText(label));
    HDC dc = GetDC(label);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(label, WM_GETFONT, 0, 0)));
    RECT extent{0, 0, 0, 0};
    if (!text.empty()) {
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &extent,
                  DT_CALCRECT | DT_NOPREFIX);
    }
    SelectObject(dc, old);
    ReleaseDC(label, dc);
    SetWindowPos(label, nullptr, 0, 0, extent.right, extent.bottom,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND DesignedWindow::control(std::string_view name) const {
    for (const auto& [handle, design] : controls_) {
        if (name == design->name) {
            return handle;
        }
    }
    return hwnd_ ? findDesigned(hwnd_, name) : nullptr;
}

const ControlDesign* DesignedWindow::designedButton(bool ControlDesign::*role) const {
    for (const ControlDesign& c : design_.controls) {
        if (c.kind == ControlKind::PushButton && c.*role) {
            return &c;
        }
    }
    return nullptr;
}

const ControlDesign* DesignedWindow::designOf(HWND control) const {
    for (const auto& [handle, design] : controls_) {
        if (handle == control) {
            return design;
        }
    }
    return nullptr;
}

void DesignedWindow::setCaption(std::string_view name, std::string_view text) {
    HWND target = control(name);
    if (!target) {
        return;
    }
    setWindowText(target, text);
    const ControlDesign* design = designOf(target);
    if (design && design->sizedToText) {
        fitToText(target);
    }
}

HBRUSH DesignedWindow::brush(COLORREF colour) {
    for (auto& [made, handle] : brushes_) {
        if (made == colour) {
            return handle;
        }
    }
    HBRUSH made = CreateSolidBrush(colour);
    brushes_.emplace_back(colour, made);
    return made;
}

COLORREF DesignedWindow::textBoxBackground(HWND) const {
    return GetSysColor(COLOR_WINDOW);
}

LRESULT DesignedWindow::colourControl(HDC dc, HWND control, bool textBox) {
    const ControlDesign* c = designOf(control);
    COLORREF background =
        design_.background ? colourRef(*design_.background) : GetSysColor(COLOR_BTNFACE);
    if (textBox) {
        background = textBoxBackground(control);
    } else if (c && c->background) {
        background = colourRef(*c->background);
    } else if (const ControlDesign* outer = c && c->parent ? design_.control(c->parent) : nullptr;
               outer && outer->background) {
        // Transparent: the picture box it lies in shows through.
        background = colourRef(*outer->background);
    }
    const bool plainText = !c || !c->foreground;
    SetTextColor(dc, plainText ? GetSysColor(COLOR_WINDOWTEXT) : colourRef(*c->foreground));
    SetBkColor(dc, background);
    return reinterpret_cast<LRESULT>(brush(background));
}

void DesignedWindow::openAddress(const std::string& address) {
    shellOpener_(hwnd_, address);
}

void DesignedWindow::runClickAction(ClickAction action) {
    switch (action) {
        case ClickAction::None:
        case ClickAction::DoubleClickCloses:
            break;
        case ClickAction::OpenHomePage:
            openAddress(vendor::kHomePage);
            break;
        case ClickAction::OpenOrganisationPage:
            openAddress(vendor::kOrganisationPage);
            break;
        case ClickAction::MailAuthor:
            openAddress(std::string("mailto:") + vendor::kAuthorEmail);
            break;
        case ClickAction::CloseWindow:
            DestroyWindow(hwnd_);
            break;
        case ClickAction::Minimise:
            ShowWindow(hwnd_, SW_MINIMIZE);
            break;
        case ClickAction::EndProgram:
            endProgram();
            break;
    }
}

void DesignedWindow::onCommand(HWND, const ControlDesign& design, int code) {
    if (isTextBox(design.kind)) {
        return;
    }
    if (design.click == ClickAction::DoubleClickCloses) {
        if (code == STN_DBLCLK) {
            DestroyWindow(hwnd_);
        }
        return;
    }
    if (code == BN_CLICKED) {
        runClickAction(design.click);
    }
}

LRESULT DesignedWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: {
            RECT client{};
            GetClientRect(hwnd_, &client);
            const COLORREF background =
                design_.background ? colourRef(*design_.background) : GetSysColor(COLOR_BTNFACE);
            FillRect(reinterpret_cast<HDC>(wParam), &client, brush(background));
            return 1;
        }
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN: {
            HWND control = reinterpret_cast<HWND>(lParam);
            const ControlDesign* c = designOf(control);
            if (c && isTextBox(c->kind)) {
                break;  // a disabled text box keeps the system's look
            }
            return colourControl(reinterpret_cast<HDC>(wParam), control, false);
        }
        case WM_CTLCOLOREDIT:
            return colourControl(reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam),
                                 true);
        case WM_SETCURSOR: {
            const ControlDesign* c = designOf(reinterpret_cast<HWND>(wParam));
            if (c && c->handCursor && LOWORD(lParam) == HTCLIENT) {
                static const HCURSOR hand = [] {
                    HCURSOR own = LoadCursorW(GetModuleHandleW(nullptr), L"HAND");
                    return own ? own : LoadCursorW(nullptr, IDC_HAND);
                }();
                SetCursor(hand);
                return TRUE;
            }
            break;
        }
        case WM_DPICHANGED:
            // Moved to a screen of another DPI: the twips stay, the pixels follow.
            rescale(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
            return 0;
        case WM_ACTIVATE:
            // As a dialog does: the control that had the focus when the window
            // was left gets it back when the window is active again.
            if (LOWORD(wParam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                lastFocus_ = focus && IsChild(hwnd_, focus) ? focus : nullptr;
            } else if (lastFocus_ && IsWindow(lastFocus_) && IsWindowEnabled(lastFocus_)) {
                SetFocus(lastFocus_);
                return 0;
            }
            break;
        case DM_GETDEFID:
            // Enter: the push button that has the focus, as in a dialog, else
            // the designed default button. A window without one takes no Enter.
            if (const ControlDesign* def = designedButton(&ControlDesign::defaultButton)) {
                HWND focus = GetFocus();
                const ControlDesign* focused = focus ? designOf(focus) : nullptr;
                const ControlDesign* pressed =
                    focused && focused->kind == ControlKind::PushButton ? focused : def;
                return MAKELRESULT(pressed->id, DC_HASDEFID);
            }
            break;
        case WM_COMMAND: {
            HWND control = reinterpret_cast<HWND>(lParam);
            if (const ControlDesign* c = control ? designOf(control) : nullptr) {
                onCommand(control, *c, HIWORD(wParam));
                return 0;
            }
            // Esc, or the cancel the dialog keys send: the designed cancel
            // button, as if it were clicked.
            if (!control && LOWORD(wParam) == IDCANCEL) {
                const ControlDesign* cancel = designedButton(&ControlDesign::cancelButton);
                HWND button = cancel ? this->control(cancel->name) : nullptr;
                if (button && IsWindowEnabled(button)) {
                    onCommand(button, *cancel, BN_CLICKED);
                    return 0;
                }
            }
            break;
        }
        default:
            break;
    }
    return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK DesignedWindow::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DesignedWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    if (message == WM_DESTROY) {
        // The controls still exist here; their names' atoms go with them.
        EnumChildWindows(
            hwnd,
            [](HWND child, LPARAM) {
                clearDesignedName(child);
                return TRUE;
            },
            0);
    }
    if (message == WM_NCDESTROY) {
        clearDesignedName(hwnd);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        const LRESULT result = DefWindowProcW(hwnd, message, wParam, lParam);
        self->hwnd_ = nullptr;
        self->tooltip_ = nullptr;
        self->lastFocus_ = nullptr;
        self->controls_.clear();
        return result;
    }
    return self->handleMessage(message, wParam, lParam);
}

void DesignedWindow::showModal() {
    runModal(hwnd_);
}

}  // namespace tendra::ui::win32
