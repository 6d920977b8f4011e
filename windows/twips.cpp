#include "windows/twips.h"

#include <QScreen>
#include <QWidget>
#include <cmath>

namespace tendra {

int twipsToPixels(double twips, double logicalDpi) {
    return static_cast<int>(std::lround(twips * logicalDpi / kTwipsPerInch));
}

double pixelsToTwips(int pixels, double logicalDpi) {
    return pixels * kTwipsPerInch / logicalDpi;
}

QRect twipsRect(int left, int top, int width, int height, double logicalDpi) {
    const int x1 = twipsToPixels(left, logicalDpi);
    const int y1 = twipsToPixels(top, logicalDpi);
    const int x2 = twipsToPixels(static_cast<double>(left) + width, logicalDpi);
    const int y2 = twipsToPixels(static_cast<double>(top) + height, logicalDpi);
    return QRect(x1, y1, x2 - x1, y2 - y1);
}

double logicalDpi(const QWidget* widget) {
    if (widget) {
        return widget->logicalDpiX();
    }
    return 96.0;
}

}  // namespace tendra
