// Designed colours as Windows takes them.
#pragma once

#include <windows.h>

#include "ui/design.h"

namespace tendra::ui::win32 {

inline COLORREF colourRef(Rgb rgb) {
    return RGB(rgb.red, rgb.green, rgb.blue);
}

}  // namespace tendra::ui::win32
