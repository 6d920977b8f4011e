#include "ui/twips.h"

#include <cmath>

namespace tendra::ui {

int twipsToPixels(double twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

double pixelsToTwips(int pixels, double dpi) {
    return pixels * kTwipsPerInch / dpi;
}

PixelRect pixelRect(const TwipsRect& rect, double dpi) {
    const int x1 = twipsToPixels(rect.left, dpi);
    const int y1 = twipsToPixels(rect.top, dpi);
    const int x2 = twipsToPixels(static_cast<double>(rect.left) + rect.width, dpi);
    const int y2 = twipsToPixels(static_cast<double>(rect.top) + rect.height, dpi);
    return {x1, y1, x2 - x1, y2 - y1};
}

}  // namespace tendra::ui
