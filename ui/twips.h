// Designed geometry is in twips; windows are placed in pixels.
#pragma once

#include "ui/design.h"

namespace tendra::ui {

inline constexpr double kTwipsPerInch = 1440.0;

// px = lround(twips * dpi / 1440).
int twipsToPixels(double twips, double dpi);
double pixelsToTwips(int pixels, double dpi);

struct PixelRect {
    int left = 0, top = 0, width = 0, height = 0;
    friend constexpr bool operator==(const PixelRect&, const PixelRect&) = default;
};

// A designed rectangle in pixels. Each edge is rounded on its own, never the
// size alone, so controls that touch in twips still touch.
PixelRect pixelRect(const TwipsRect& rect, double dpi);

}  // namespace tendra::ui
