#include "ui/win32/message_loops.h"

#include <vector>

#include "ui/win32/window_classes.h"

namespace tendra::ui::win32 {

int runMessageLoop() {
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        HWND root = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
        if (root && IsDialogMessageW(root, &msg)) {
            continue;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return static_cast<int>(msg.wParam);
}

void runModal(HWND window) {
    // The window that gets the activation back once this one is gone.
    HWND owner = GetWindow(window, GW_OWNER);
    std::vector<HWND> disabled;
    for (HWND other : threadWindows()) {
        if (other != window && IsWindowEnabled(other)) {
            EnableWindow(other, FALSE);
            disabled.push_back(other);
        }
    }
    ShowWindow(window, SW_SHOW);
    MSG msg;
    while (IsWindow(window)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // The program is ending: the outer loop must see it too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (!IsDialogMessageW(window, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    for (HWND other : disabled) {
        if (IsWindow(other)) {
            EnableWindow(other, TRUE);
        }
    }
    if (!owner && !disabled.empty()) {
        owner = disabled.front();
    }
    if (owner && IsWindow(owner)) {
        SetActiveWindow(owner);
    }
}

}  // namespace tendra::ui::win32
