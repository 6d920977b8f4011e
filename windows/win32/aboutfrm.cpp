#include "windows/win32/aboutfrm.h"

namespace tendra {

void aboutfrm::CenterForm(HWND frm) {
    ui::win32::placeWindow(frm, dpi(), screen(), Across::Centre);
}

}  // namespace tendra
