// Twips and pixels on Windows: the DPI a window is shown with, the screen it
// is placed on, and the rules by which designed windows are placed.
#pragma once

#include <windows.h>

#include <functional>

#include "ui/placement.h"

namespace tendra::ui::win32 {

// The DPI of the monitor a window is on (GetDpiForWindow where the system has
// it), else the screen's LOGPIXELSX; 96 when neither answers.
UINT windowDpi(HWND window);
inline double twipsPerPixel(UINT dpi) {
    return 1440.0 / dpi;
}

// The screen windows are placed on, in pixels. A seam: tests give windows
// screens of other sizes.
struct ScreenSize {
    int width = 0;
    int height = 0;
};
using ScreenSource = std::function<ScreenSize()>;
// The primary screen.
ScreenSize primaryScreen();

// A window's outer rectangle in twips, single precision, as the window
// reports it.
struct TwipsGeometry {
    float left = 0, top = 0, width = 0, height = 0;
};
TwipsGeometry windowTwips(HWND window, UINT dpi);

// Moves a window to where placedTopLeft puts it on this screen; its size is
// kept.
void placeWindow(HWND window, UINT dpi, ScreenSize screen, Across across);

// The pixel rectangle a topmost request passes. Two conversions are in use:
// the main window takes the left to the nearest pixel and cuts the others;
// the promotion windows also take the left to the nearest pixel, and for the
// others divide the rounded twips by the rounded twips per pixel, dropping the
// fraction.
enum class TopmostRounding { CutAfterDividing, RoundThenCut };
RECT topmostPixels(const TwipsGeometry& twips, double twipsPerPixelX, double twipsPerPixelY,
                   TopmostRounding rounding);
// SetWindowPos with the topmost insert-after value and flags 0.
void makeTopmost(HWND window, UINT dpi, TopmostRounding rounding);

// The outer size, in pixels, of a window of this style with this client size.
SIZE outerSize(DWORD style, DWORD exStyle, int clientWidth, int clientHeight, UINT dpi);

}  // namespace tendra::ui::win32
