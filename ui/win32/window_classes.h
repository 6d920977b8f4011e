// The window classes designed windows and their pictures are made of,
// registered once for the program with the common controls they use, and
// the themes those controls are drawn without.
#pragma once

#include <windows.h>

#include <vector>

namespace tendra::ui::win32 {

inline constexpr wchar_t kWindowClass[] = L"TendraWindow";
inline constexpr wchar_t kPictureClass[] = L"TendraPicture";

// Registers both classes and the common controls; only the first call does.
void registerClasses();

// Drawn themed, a check box ignores the text colour its parent gives it.
void withoutTheme(HWND control);

// The designed windows of this thread.
std::vector<HWND> threadWindows();

}  // namespace tendra::ui::win32
