#include "ui/win32/tab_leaves_box.h"

#include <commctrl.h>

namespace tendra::ui::win32 {

namespace {

LRESULT CALLBACK tabLeavesBox(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR) {
    LRESULT result = DefSubclassProc(hwnd, message, wParam, lParam);
    if (message == WM_GETDLGCODE && lParam) {
        const MSG* msg = reinterpret_cast<const MSG*>(lParam);
        if (msg->message == WM_KEYDOWN && msg->wParam == VK_TAB) {
            result &= ~(DLGC_WANTTAB | DLGC_WANTALLKEYS | DLGC_WANTMESSAGE);
        }
    }
    return result;
}

}  // namespace

void letTabLeave(HWND box) {
    SetWindowSubclass(box, tabLeavesBox, 1, 0);
}

}  // namespace tendra::ui::win32
