// Shows every window of the program side by side, for screenshots: Form1
// compact and expanded, the about window, the MCT parameters window and both
// promotion windows. Runs until it is ended.
#include <windows.h>

#include "app/win32/form1.h"
#include "cad/no_cad.h"
#include "ui/win32/message_loops.h"
#include "windows/win32/aboutfrm.h"
#include "windows/win32/mctfrm.h"
#include "windows/win32/promotion.h"

namespace {

void moveTo(HWND window, int left, int top) {
    SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    tendra::cad::NoCadPlatform platform;
    const auto noShell = [](HWND, const std::string&) {};
    tendra::Form1 compact(platform);
    tendra::Form1 expanded(platform);
    tendra::aboutfrm about;
    tendra::ad1frm left;
    tendra::adfrm right;
    for (tendra::ui::win32::DesignedWindow* window :
         {static_cast<tendra::ui::win32::DesignedWindow*>(&compact),
          static_cast<tendra::ui::win32::DesignedWindow*>(&expanded),
          static_cast<tendra::ui::win32::DesignedWindow*>(&about),
          static_cast<tendra::ui::win32::DesignedWindow*>(&left),
          static_cast<tendra::ui::win32::DesignedWindow*>(&right)}) {
        window->setShellOpener(noShell);
        if (!window->create()) {
            return 1;
        }
    }
    moveTo(compact.hwnd(), 150, 10);
    moveTo(expanded.hwnd(), 600, 10);
    moveTo(about.hwnd(), 150, 450);
    // Away from the screen's edges, where docking leaves them alone.
    moveTo(left.hwnd(), 1050, 10);
    moveTo(right.hwnd(), 1200, 10);
    compact.show();
    expanded.show();
    SendMessageW(expanded.control("Command6"), BM_CLICK, 0, 0);
    ShowWindow(about.hwnd(), SW_SHOWNOACTIVATE);
    left.show();
    right.show();
    compact.setStatusText("钢束数：2，角点个数：12");
    // Not modal here: every window stays live for the screenshot.
    tendra::mctfrm parameters(tendra::mctfrm::initialTexts());
    if (!parameters.create(compact.hwnd())) {
        return 1;
    }
    moveTo(parameters.hwnd(), 600, 620);
    ShowWindow(parameters.hwnd(), SW_SHOWNOACTIVATE);
    return tendra::ui::win32::runMessageLoop();
}
