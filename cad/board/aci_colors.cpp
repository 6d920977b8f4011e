#include "cad/board/aci_colors.h"

#include <array>

namespace tendra::board {

namespace {

// 1..9 are named colours; 250..255 a grey ramp.
constexpr std::array<QRgb, 10> kNamed{0xffffff, 0xff0000, 0xffff00, 0x00ff00, 0x00ffff,
                                      0x0000ff, 0xff00ff, 0xffffff, 0x808080, 0xc0c0c0};
constexpr std::array<QRgb, 6> kGreys{0x333333, 0x505050, 0x696969, 0x828282, 0xbebebe, 0xffffff};

}  // namespace

QColor aciColor(int aci) {
    if (aci >= 1 && aci <= 9) {
        return QColor(kNamed[aci]);
    }
    if (aci >= 250 && aci <= 255) {
        return QColor(kGreys[aci - 250]);
    }
    if (aci >= 10 && aci <= 249) {
        // Twenty-four hues 15 degrees apart, ten shades each: even numbers are
        // full colours, odd ones the paler variant, getting darker in pairs.
        const int hue = (aci / 10 - 1) * 15;
        const int shade = aci % 10;
        static constexpr std::array<int, 5> kValues{255, 165, 127, 76, 38};
        const int value = kValues[shade / 2];
        const int saturation = shade % 2 == 0 ? 255 : 127;
        return QColor::fromHsv(hue, saturation, value).toRgb();
    }
    return QColor(kNamed[7]);
}

}  // namespace tendra::board
