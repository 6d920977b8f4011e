// The designed names windows carry, and the texts of windows, as UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tendra::ui::win32 {

// Every designed control (and every designed window) carries its designed name
// in this window property, as a global atom, so that tests and other
// processes can find it: GlobalGetAtomNameW(GetPropW(hwnd, kNameProperty)).
inline constexpr const wchar_t* kNameProperty = L"TendraName";

void setDesignedName(HWND window, const char* name);
// Takes the name off again and gives its atom back; for a window that goes.
void clearDesignedName(HWND window);
// The designed name, or "" for a window without one.
std::string designedName(HWND window);
// The window itself or the descendant of this designed name; null when none.
HWND findDesigned(HWND window, std::string_view name);

// The text of a window, as UTF-8, and the other way round.
std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view text);

}  // namespace tendra::ui::win32
