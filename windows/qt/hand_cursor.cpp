#include "windows/qt/hand_cursor.h"

#include <QBitmap>
#include <QImage>
#include <array>
#include <cstring>

namespace tendra {

namespace {

constexpr int kSize = 32;
constexpr int kHotX = 6;
constexpr int kHotY = 0;

// 'X' black, '.' white, anything else transparent. Rows shorter than 32
// columns are transparent to the right.
// clang-format off
constexpr std::array<const char*, 21> kHand = {
    "      XX",
    "     X..X",
    "     X..X",
    "     X..X",
    "     X..X",
    "     X..XXX",
    "     X..X..XXX",
    "     X..X..X..XXX",
    "     X..X..X..X..X",
    " XXX X..X..X..X..X",
    " X..XX..X..X..X..X",
    " X...X...........X",
    "  X..............X",
    "  X..............X",
    "   X.............X",
    "   X............X",
    "    X...........X",
    "    X..........X",
    "     X.........X",
    "     X.........X",
    "     XXXXXXXXXXX",
};
// clang-format on

QImage monochrome() {
    QImage image(kSize, kSize, QImage::Format_MonoLSB);
    // Index 1 is black, which QBitmap takes as color1 (set).
    image.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image.fill(0);
    return image;
}

}  // namespace

QCursor handCursor() {
    QImage shape = monochrome();
    QImage mask = monochrome();
    for (int y = 0; y < static_cast<int>(kHand.size()); ++y) {
        const int length = static_cast<int>(std::strlen(kHand[y]));
        for (int x = 0; x < length && x < kSize; ++x) {
            const char pixel = kHand[y][x];
            if (pixel == 'X' || pixel == '.') {
                mask.setPixel(x, y, 1);
                shape.setPixel(x, y, pixel == 'X' ? 1 : 0);
            }
        }
    }
    return QCursor(QBitmap::fromImage(shape), QBitmap::fromImage(mask), kHotX, kHotY);
}

}  // namespace tendra
