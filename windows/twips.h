// Designed geometry is in twips; Qt wants pixels.
#pragma once

#include <QRect>

class QWidget;

namespace tendra {

inline constexpr double kTwipsPerInch = 1440.0;

// px = lround(twips * dpi / 1440).
int twipsToPixels(double twips, double logicalDpi);
double pixelsToTwips(int pixels, double logicalDpi);

// A designed rectangle in pixels. Each edge is rounded on its own, never the
// size alone, so controls that touch in twips still touch.
QRect twipsRect(int left, int top, int width, int height, double logicalDpi);

// The logical DPI of the screen a widget is on (horizontal; Tendra's screens
// are square-pixelled).
double logicalDpi(const QWidget* widget);

}  // namespace tendra
