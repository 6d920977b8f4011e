// The about window on Windows, built from its design: links opened through
// the shell, a hand cursor and tooltips over them, placed by CenterForm.
#pragma once

#include "ui/win32/designed_window.h"
#include "windows/aboutfrm_design.h"

namespace tendra {

class aboutfrm : public ui::win32::DesignedWindow {
  public:
    aboutfrm() : DesignedWindow(aboutfrmDesign()) {}

    // Moves a window so that it is centred across the screen with a third of
    // the free height above it; its size is kept and nothing is clamped.
    void CenterForm(HWND frm);

  protected:
    void formLoad() override { CenterForm(hwnd()); }
};

}  // namespace tendra
