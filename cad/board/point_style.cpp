#include "cad/board/point_style.h"

#include <algorithm>

namespace tendra::board {

namespace {
constexpr double kMinimumPixels = 5;
}  // namespace

double pointGlyphPixels(double pdsize, double viewHeight, double scale) {
    double pixels = 0;
    if (pdsize > 0) {
        pixels = pdsize * scale;
    } else {
        const double percent = pdsize == 0 ? 5 : -pdsize;
        pixels = viewHeight * percent / 100;
    }
    return std::clamp(pixels, kMinimumPixels, kMaximumGlyphPixels);
}

QPainterPath pointGlyph(int pdmode, QPointF at, double size) {
    QPainterPath path;
    const double half = size / 2;
    const double x = at.x();
    const double y = at.y();
    switch (pdmode & 0x1f) {
        case 0:
            path.addRect(x - 1, y - 1, 2, 2);
            break;
        case 2:
            path.moveTo(x - half, y);
            path.lineTo(x + half, y);
            path.moveTo(x, y - half);
            path.lineTo(x, y + half);
            break;
        case 3:
            path.moveTo(x - half, y - half);
            path.lineTo(x + half, y + half);
            path.moveTo(x - half, y + half);
            path.lineTo(x + half, y - half);
            break;
        case 4:
            path.moveTo(x, y);
            path.lineTo(x, y - half);
            break;
        default:  // 1 and unknown figures: nothing but the frames below
            break;
    }
    if (pdmode & 32) {
        path.addEllipse(at, half, half);
    }
    if (pdmode & 64) {
        path.addRect(x - half, y - half, size, size);
    }
    return path;
}

}  // namespace tendra::board
