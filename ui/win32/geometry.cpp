#include "ui/win32/geometry.h"

#include <cmath>

#include "ui/twips.h"

namespace tendra::ui::win32 {

namespace {

// Functions of newer systems, looked up once; null where the system lacks them.
template <class Function>
Function user32Function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    return user32
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(user32, name)))
               : nullptr;
}

}  // namespace

UINT windowDpi(HWND window) {
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = user32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (getDpiForWindow && window) {
        if (const UINT dpi = getDpiForWindow(window); dpi != 0) {
            return dpi;
        }
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? static_cast<UINT>(dpi) : 96;
}

ScreenSize primaryScreen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

TwipsGeometry windowTwips(HWND window, UINT dpi) {
    RECT r{};
    GetWindowRect(window, &r);
    const auto twips = [dpi](LONG pixels) {
        return static_cast<float>(pixelsToTwips(static_cast<int>(pixels), dpi));
    };
    return {twips(r.left), twips(r.top), twips(r.right - r.left), twips(r.bottom - r.top)};
}

void placeWindow(HWND window, UINT dpi, ScreenSize screen, Across across) {
    const TwipsGeometry now = windowTwips(window, dpi);
    const auto screenTwips = [dpi](int pixels) {
        return static_cast<float>(pixelsToTwips(pixels, dpi));
    };
    const TopLeft<float> at = placedTopLeft<float>(
        screenTwips(screen.width), screenTwips(screen.height), now.width, now.height, across);
    SetWindowPos(window, nullptr, twipsToPixels(at.left, dpi), twipsToPixels(at.top, dpi), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

RECT topmostPixels(const TwipsGeometry& twips, double twipsPerPixelX, double twipsPerPixelY,
                   TopmostRounding rounding) {
    const auto cut = [rounding](double value, double perPixel) {
        if (rounding == TopmostRounding::RoundThenCut) {
            return static_cast<LONG>(std::lround(value) / std::lround(perPixel));
        }
        return static_cast<LONG>(std::trunc(value / perPixel));
    };
    const LONG left = std::lround(twips.left / twipsPerPixelX);
    const LONG top = cut(twips.top, twipsPerPixelY);
    const LONG width = cut(twips.width, twipsPerPixelX);
    const LONG height = cut(twips.height, twipsPerPixelY);
    return {left, top, left + width, top + height};
}

void makeTopmost(HWND window, UINT dpi, TopmostRounding rounding) {
    const double perPixel = twipsPerPixel(dpi);
    const RECT r = topmostPixels(windowTwips(window, dpi), perPixel, perPixel, rounding);
    SetWindowPos(window, HWND_TOPMOST, r.left, r.top, r.right - r.left, r.bottom - r.top, 0);
}

SIZE outerSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, UINT dpi) {
    using AdjustForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    static const auto adjustForDpi = user32Function<AdjustForDpiFn>("AdjustWindowRectExForDpi");
    RECT r{0, 0, clientWidth, clientHeight};
    if (!adjustForDpi || !adjustForDpi(&r, style, FALSE, exStyle, dpi)) {
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    }
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace tendra::ui::win32
