#include "ui/win32/fonts.h"

#include <cmath>

#include "win32/text.h"

namespace tendra::ui::win32 {

using tendra::win32::toUtf16;

HFONT createDesignedFont(const FontDesign& font, UINT dpi) {
    const int height = -static_cast<int>(std::lround(font.pointSize * dpi / 72.0));
    const DWORD charset = font.charset == Charset::Gb2312 ? GB2312_CHARSET : DEFAULT_CHARSET;
    return CreateFontW(height, 0, 0, 0, font.weight, FALSE, font.underline ? TRUE : FALSE, FALSE,
                       charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, toUtf16(font.family).c_str());
}

}  // namespace tendra::ui::win32
