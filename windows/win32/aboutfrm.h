// The about window on Windows, built from its design: links opened through
// the shell, a hand cursor and tooltips over them, placed by CenterForm.
#pragma once

#include "ui/win32/designed_window.h"
#include "windows/aboutfrm_design.h"

namespace tendra {

inline constexpr ui::win32::ControlId kAboutfrmControlIds[] = {
    {"picBGHead", 601}, {"picBGHeadIcon", 602}, {"lblBGHeadInfo1", 603}, {"linBorder", 604},
    {"Label2", 702},    {"Label3", 703},        {"Label4", 704},         {"Label5", 705},
    {"Label6", 706},    {"Label7", 707},        {"Label9", 709},         {"lblHomepage", 710},
    {"Command1", 801},
};

class aboutfrm : public ui::win32::DesignedWindow {
  public:
    aboutfrm() : DesignedWindow(aboutfrmDesign(), kAboutfrmControlIds) {}

    // Moves a window so that it is centred across the screen with a third of
    // the free height above it; its size is kept and nothing is clamped.
    void CenterForm(HWND frm);

  protected:
    void formLoad() override { CenterForm(hwnd()); }
};

}  // namespace tendra
