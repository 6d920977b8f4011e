// Addresses opened with the user's default program, through the shell.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tendra::ui::win32 {

// Opens an address with the user's default program. A seam: the default asks
// the shell, ShellExecuteA with "Open" and show command 0, and does not look
// at the result.
using ShellOpener = std::function<void(HWND owner, const std::string& address)>;
void shellOpen(HWND owner, const std::string& address);

}  // namespace tendra::ui::win32
