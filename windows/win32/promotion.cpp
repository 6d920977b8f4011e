#include "windows/win32/promotion.h"

#include "ui/twips.h"
#include "ui/vendor.h"
#include "ui/win32/designed_names.h"
#include "win32/text.h"
#include "windows/docking.h"

namespace tendra {

namespace {

constexpr UINT_PTR kTimer1 = 1;
constexpr UINT_PTR kTimer2 = 2;

POINT cursorPosition() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

}  // namespace

PromotionWindow::PromotionWindow(const PromotionDesign& design)
    : DesignedWindow(design.window), promotion_(design), pointer_(cursorPosition) {}

PromotionWindow::~PromotionWindow() {
    browser_.close();
}

std::string PromotionWindow::pageAddress() const {
    return std::string(vendor::kHomePage) + promotion_.page;
}

void PromotionWindow::createSpecialControl(const ui::ControlDesign& design, const RECT& pixels) {
    // The browser's own window goes inside this one, which carries the name.
    HWND container = CreateWindowExW(
        0, L"STATIC", win32::toUtf16(pageAddress()).c_str(),
        WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | SS_CENTER | SS_CENTERIMAGE,
        pixels.left, pixels.top, pixels.right - pixels.left, pixels.bottom - pixels.top, hwnd(),
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(design.id)), GetModuleHandleW(nullptr),
        nullptr);
    if (!container) {
        return;
    }
    ui::win32::setDesignedName(container, design.name);
    SendMessageW(container, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont()), FALSE);
    // It covers the pictures and the label, which lie beneath it.
    SetWindowPos(container, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    browser_.create(container);
}

void PromotionWindow::formLoad() {
    CenterForm1(hwnd());
    ui::win32::makeTopmost(hwnd(), dpi(), ui::win32::TopmostRounding::RoundThenCut);
    browser_.navigate(pageAddress());
    SetTimer(hwnd(), kTimer2, kTimer2IntervalMs, nullptr);
}

void PromotionWindow::show() {
    ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
}

void PromotionWindow::CenterForm1(HWND frm) {
    ui::win32::placeWindow(frm, dpi(), screen(), promotion_.startEdge);
}

void PromotionWindow::startDocking() {
    timer1Interval_ = kDockingIntervalMs;
    SetTimer(hwnd(), kTimer1, static_cast<UINT>(timer1Interval_), nullptr);
}

void PromotionWindow::dockingStep() {
    const POINT pointer = pointer_();
    RECT r{};
    GetWindowRect(hwnd(), &r);
    const ui::win32::TwipsGeometry now = ui::win32::windowTwips(hwnd(), dpi());
    DockingInput in;
    in.pointerX = pointer.x;
    in.pointerY = pointer.y;
    in.rectLeft = r.left;
    in.rectTop = r.top;
    in.rectRight = r.right;
    in.rectBottom = r.bottom;
    in.left = now.left;
    in.top = now.top;
    in.width = now.width;
    in.height = now.height;
    in.screenWidth = static_cast<float>(ui::pixelsToTwips(screen().width, dpi()));
    in.minimised = IsIconic(hwnd()) != FALSE;
    const DockingMove move = tendra::dockingStep(in);
    if (move.left != in.left || move.top != in.top) {
        SetWindowPos(hwnd(), nullptr, ui::twipsToPixels(move.left, dpi()),
                     ui::twipsToPixels(move.top, dpi()), 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (move.show) {
        ShowWindow(hwnd(), SW_SHOW);
    }
}

LRESULT PromotionWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            if (wParam == kTimer2) {
                startDocking();
            } else if (wParam == kTimer1) {
                dockingStep();
            }
            return 0;
        case WM_DESTROY:
            KillTimer(hwnd(), kTimer1);
            KillTimer(hwnd(), kTimer2);
            browser_.close();
            break;
        default:
            break;
    }
    return DesignedWindow::handleMessage(message, wParam, lParam);
}

}  // namespace tendra
