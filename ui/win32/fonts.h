// Designed fonts as Windows makes them, at a window's DPI.
#pragma once

#include <windows.h>

#include "ui/design.h"

namespace tendra::ui::win32 {

// A font as designed, for this DPI. The caller owns it.
HFONT createDesignedFont(const FontDesign& font, UINT dpi);

}  // namespace tendra::ui::win32
