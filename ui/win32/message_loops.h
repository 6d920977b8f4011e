// The program's message loop, and the loop a modal window runs inside it.
#pragma once

#include <windows.h>

namespace tendra::ui::win32 {

// Runs the thread's messages, with the dialog keys (Tab, arrows) handled for
// the window that has them, until WM_QUIT. Returns its exit code.
int runMessageLoop();

// Shows a window and runs messages until it is destroyed, with every other
// designed window of the thread disabled meanwhile; then its owner (or the
// first window it disabled) is active again.
void runModal(HWND window);

}  // namespace tendra::ui::win32
