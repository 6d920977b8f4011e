// Tab leaves a multi-line box as it leaves every other field: the table has
// no use for a typed tab, and the dialog keys move the focus on.
#pragma once

#include <windows.h>

namespace tendra::ui::win32 {

// Subclasses a multi-line text box so that Tab moves the focus on.
void letTabLeave(HWND box);

}  // namespace tendra::ui::win32
