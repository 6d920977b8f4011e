// Designed twips geometry as Qt pixels, at a widget's logical DPI.
#pragma once

#include <QRect>

#include "ui/twips.h"

class QWidget;

namespace tendra {

using ui::kTwipsPerInch;
using ui::pixelsToTwips;
using ui::twipsToPixels;

// A designed rectangle in pixels, each edge rounded on its own.
QRect twipsRect(const ui::TwipsRect& rect, double logicalDpi);
QRect twipsRect(int left, int top, int width, int height, double logicalDpi);

// The logical DPI of the screen a widget is on (horizontal; Tendra's screens
// are square-pixelled).
double logicalDpi(const QWidget* widget);

}  // namespace tendra
