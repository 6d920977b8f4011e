// The midas MCT parameters window on Windows: the tendon property, the
// elements, the tendon group and the insertion point. "确定" checks the
// fields and closes only when all of them are valid; "取消", Esc and the
// close button leave without accepting anything.
#pragma once

#include <optional>

#include "nodes/mct_parameters.h"
#include "ui/win32/designed_window.h"
#include "windows/mctfrm_design.h"

namespace tendra {

class mctfrm : public ui::win32::DesignedWindow {
  public:
    // Its fields will hold these texts.
    explicit mctfrm(MctFieldTexts texts)
        : DesignedWindow(mctfrmDesign()), texts_(std::move(texts)) {}

    // The texts the window first shows: an empty form with the insertion
    // point at the origin.
    static MctFieldTexts initialTexts();

    // Shows the window over its owner, which takes no input meanwhile, until
    // it is closed. The parameters when "确定" closed it, else nothing.
    std::optional<MctParameters> ask(HWND owner);

    // The fields as they were when the window closed, or as typed now.
    const MctFieldTexts& texts() const { return texts_; }

  protected:
    void formLoad() override;
    void onCommand(HWND control, const ui::ControlDesign& design, int code) override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

  private:
    // Command1: closes with the parameters, or says which field is wrong and
    // why and puts the focus there with its text selected.
    void acceptFields();
    void readFields();

    MctFieldTexts texts_;
    std::optional<MctParameters> accepted_;
};

}  // namespace tendra
