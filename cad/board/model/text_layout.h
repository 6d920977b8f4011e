// How the board lays out TEXT and MTEXT, apart from any painter: MTEXT's
// inline format codes reduced to lines of plain text with their heights,
// lines wrapped to the reference rectangle, and where each line starts
// relative to the insertion point for the alignment codes. Lengths are in
// drawing units; y grows upwards, as in the drawing.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "cad/board/model/drawing.h"

namespace tendra::board {

// AutoCAD's %%d, %%p, %%c and %%% control codes as the characters they show.
std::string plainText(std::string_view text);

struct MTextLine {
    std::string text;   // UTF-8, no format codes
    double height = 0;  // the tallest character of the line
};

// MTEXT's text to its lines: \P and line feeds break lines; \H sets the
// height (\H2; absolute, \H1.5x; relative), scoped by braces; \~ is a
// space; \S a^b; shows a/b; \\ \{ \} are the characters; other codes
// (\A \C \f \F \Q \T \W \p \L \O \K ...) only change style and are dropped.
std::vector<MTextLine> mtextLines(std::string_view formatted, double height);

// Width of a text at a height, in drawing units; the painter measures.
using TextMeasure = std::function<double(std::string_view text, double height)>;

// Lines longer than width broken at spaces, or between characters where a
// word alone is too long (Chinese text has no spaces). width <= 0 wraps
// nothing.
std::vector<MTextLine> wrapLines(const std::vector<MTextLine>& lines, double width,
                                 const TextMeasure& measure);

// MTEXT line spacing: one line's height and the gap to the next.
inline constexpr double kMTextLineSpacing = 5.0 / 3.0;

struct PlacedLine {
    std::string text;
    double height = 0;
    Vec2 baseline;  // start of the baseline, relative to the insertion point, unrotated
};

// Places MTEXT lines for its attachment point (1 top left ... 9 bottom
// right). The block is as wide as its widest line, or the reference width
// when one is given; lines are aligned inside it by the attachment's column.
std::vector<PlacedLine> placeMText(const std::vector<MTextLine>& lines, int attachment,
                                   double referenceWidth, const TextMeasure& measure);

// Where a TEXT's baseline starts relative to its anchor, for its horizontal
// (0 left, 1 centre, 2 right, 3 aligned, 4 middle, 5 fit) and vertical
// (0 baseline, 1 bottom, 2 middle, 3 top) codes. capHeight and descent are
// the font's, both positive.
Vec2 textOffset(double width, double capHeight, double descent, int horizontal, int vertical);

// MTEXT rotation in degrees: the direction vector (codes 11, 21) when it has
// a length, else the rotation code 50 (degrees).
double mtextAngle(double directionX, double directionY, double angleDegrees);

// The rectangle a TEXT's or MTEXT's characters take, for selecting it: its
// corners in drawing coordinates, lower left, lower right, upper right, upper
// left as the text reads. The model has no font, so widths are estimated: a
// wide (CJK) character as wide as the text is high, any other
// kNarrowCharacterWidth of that; the rectangle reaches kTextDescent below the
// baseline and the full height above it.
using TextOutline = std::array<Vec2, 4>;
inline constexpr double kNarrowCharacterWidth = 0.6;
inline constexpr double kTextDescent = 0.25;
double estimatedTextWidth(std::string_view text, double height);
TextOutline textOutline(const Text& text);
TextOutline textOutline(const MText& text);

}  // namespace tendra::board
