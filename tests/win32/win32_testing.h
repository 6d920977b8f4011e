// What the Win32 window tests share: rectangles read back in twips, clicks
// sent as window messages, and the program's end drained from the queue.
#pragma once

#include <windows.h>

#include <cmath>
#include <ostream>
#include <string>
#include <vector>

#include "ui/win32/designed_window.h"

namespace tendra::testing {

// Twips of a pixel at the DPI the windows are laid out with.
inline double twipsPerPixelOf(HWND window) {
    return 1440.0 / ui::win32::windowDpi(window);
}

struct Twips {
    long left, top, width, height;
    bool operator==(const Twips&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Twips& t) {
    return out << "{" << t.left << ", " << t.top << ", " << t.width << ", " << t.height << "}";
}

// A pixel rectangle in twips at the DPI of this window.
inline Twips inTwips(const RECT& r, HWND window) {
    const double t = twipsPerPixelOf(window);
    return {std::lround(r.left * t), std::lround(r.top * t), std::lround((r.right - r.left) * t),
            std::lround((r.bottom - r.top) * t)};
}

// A control's rectangle in twips, from the top-left of its window's client
// area.
inline Twips controlTwips(HWND control) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, GetAncestor(control, GA_ROOT), reinterpret_cast<POINT*>(&r), 2);
    return inTwips(r, control);
}

// A window's outer rectangle in twips, on the screen.
inline Twips windowTwips(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return inTwips(r, window);
}

inline SIZE clientTwips(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    const double t = twipsPerPixelOf(window);
    return {std::lround(r.right * t), std::lround(r.bottom * t)};
}

// Wine's ntdll exports its version; Windows' does not.
inline bool runningUnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

inline void click(HWND control) {
    SendMessageW(control, BM_CLICK, 0, 0);
}

// Sends a control's WM_COMMAND notification to its window as the control
// would.
inline void notify(HWND control, int code) {
    SendMessageW(GetParent(control), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}

// The background and text colour a window gives a control when asked.
struct Colours {
    COLORREF background;
    COLORREF text;
};
inline Colours coloursOf(HWND control, UINT message) {
    HDC dc = GetDC(control);
    SendMessageW(GetParent(control), message, reinterpret_cast<WPARAM>(dc),
                 reinterpret_cast<LPARAM>(control));
    const Colours colours{GetBkColor(dc), GetTextColor(dc)};
    ReleaseDC(control, dc);
    return colours;
}

// Whether the program has asked to end; the request is taken off the queue.
inline bool quitRequested() {
    MSG msg;
    bool quit = false;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit = true;
        } else {
            DispatchMessageW(&msg);
        }
    }
    return quit;
}

// Every shell request a window makes, in order.
struct ShellLog {
    std::vector<std::pair<HWND, std::string>> requests;
    ui::win32::ShellOpener opener() {
        return [this](HWND owner, const std::string& address) {
            requests.emplace_back(owner, address);
        };
    }
};

}  // namespace tendra::testing
