// The picture control: picture boxes, pictures and lines of a designed
// window. It paints its background and its picture (a resource of the
// program, drawn at its size or stretched), reports clicks as a label does,
// and passes its children's notifications on to its parent.
#pragma once

#include <windows.h>

namespace tendra::ui::win32 {

// The window procedure of kPictureClass.
LRESULT CALLBACK pictureProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tendra::ui::win32
