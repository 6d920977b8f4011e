// How POINT entities look on the board: the PDMODE glyph at a constant size
// on screen, whatever the zoom.
#pragma once

#include <QPainterPath>
#include <QPointF>

namespace tendra::board {

// A point glyph is never larger than this, in pixels.
inline constexpr double kMaximumGlyphPixels = 200;

// The glyph's size in pixels for PDSIZE: 0 is 5 % of the view's height,
// a negative value that percentage, a positive value a size in drawing units
// at this scale (pixels per unit). Never below a few pixels, so a marker
// stays visible.
double pointGlyphPixels(double pdsize, double viewHeight, double scale);

// The outline of a point's glyph centred at `at`: PDMODE's low bits choose
// the figure (0 a dot, 1 nothing, 2 a plus, 3 an X, 4 a short tick upwards),
// 32 adds a circle and 64 a square around it. The dot is a tiny filled square.
QPainterPath pointGlyph(int pdmode, QPointF at, double size);

}  // namespace tendra::board
