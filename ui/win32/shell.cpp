#include "ui/win32/shell.h"

#include <shellapi.h>

namespace tendra::ui::win32 {

void shellOpen(HWND owner, const std::string& address) {
    ShellExecuteA(owner, "Open", address.c_str(), nullptr, nullptr, 0);
}

}  // namespace tendra::ui::win32
