#include "ui/qt/twips.h"

#include <QWidget>

namespace tendra {

QRect twipsRect(const ui::TwipsRect& rect, double logicalDpi) {
    const ui::PixelRect pixels = ui::pixelRect(rect, logicalDpi);
    return QRect(pixels.left, pixels.top, pixels.width, pixels.height);
}

QRect twipsRect(int left, int top, int width, int height, double logicalDpi) {
    return twipsRect(ui::TwipsRect{left, top, width, height}, logicalDpi);
}

double logicalDpi(const QWidget* widget) {
    if (widget) {
        return widget->logicalDpiX();
    }
    return 96.0;
}

}  // namespace tendra
