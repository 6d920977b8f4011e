// tendra.exe: the main window, driving AutoCAD through COM.
#include <windows.h>

#include "app/win32/form1.h"
#include "cad/com/com_platform.h"
#include "ui/win32/message_loops.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    // COM on this, the UI thread, from before the first AutoCAD reference
    // until after the last: Form1, made below, goes first.
    tendra::cad::com::ComApartment apartment;
    tendra::cad::com::ComPlatform platform;
    tendra::Form1 form(platform);
    if (!form.create()) {
        return 1;
    }
    form.show();
    return tendra::ui::win32::runMessageLoop();
}
