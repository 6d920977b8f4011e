#include "ui/win32/end_program.h"

#include <windows.h>

#include "ui/win32/window_classes.h"

namespace tendra::ui::win32 {

void endProgram() {
    for (HWND window : threadWindows()) {
        if (IsWindow(window)) {
            DestroyWindow(window);
        }
    }
    PostQuitMessage(0);
}

}  // namespace tendra::ui::win32
