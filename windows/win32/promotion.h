// The promotion windows on Windows: borderless topmost strips showing one
// page of the vendor's site in the system's WebBrowser control, docking at a
// screen edge.
#pragma once

#include <functional>
#include <memory>

#include "ui/win32/designed_window.h"
#include "windows/promotion_design.h"
#include "windows/win32/browser_host.h"

namespace tendra {

class PromotionWindow : public ui::win32::DesignedWindow {
  public:
    explicit PromotionWindow(const PromotionDesign& design);
    ~PromotionWindow() override;

    // Shows the window without taking the focus.
    void show();
    // Moves a window to this window's screen edge with a third of the free
    // height above it; its size is kept.
    void CenterForm1(HWND frm);
    // One docking step: what a Timer1 tick does.
    void dockingStep();

    // Where the pointer is, in screen pixels; a seam: the default asks
    // GetCursorPos.
    void setPointerSource(std::function<POINT()> source) { pointer_ = std::move(source); }
    // Timer1's interval in milliseconds: 0 until Timer2 first ticks.
    int timer1Interval() const { return timer1Interval_; }
    // Whether the system's WebBrowser control shows the page; when it could
    // not be created a plain placeholder with the address stands in.
    bool browserActive() const { return browser_.active(); }
    // The address the WebBrowser control reports it was sent to.
    std::string browserLocation() const { return browser_.location(); }
    std::string pageAddress() const;

  protected:
    void formLoad() override;
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void createSpecialControl(const ui::ControlDesign& design, const RECT& pixels) override;
    // The browser's window is the control's, not ours: it is fitted by hand.
    void onRescaled() override { browser_.fit(); }

  private:
    void startDocking();

    const PromotionDesign& promotion_;
    BrowserHost browser_;
    std::function<POINT()> pointer_;
    int timer1Interval_ = 0;
};

// bdownload.htm, starting at the left edge.
class ad1frm : public PromotionWindow {
  public:
    ad1frm() : PromotionWindow(ad1frmDesign()) {}
};

// gdownload.htm, starting at the right edge.
class adfrm : public PromotionWindow {
  public:
    adfrm() : PromotionWindow(adfrmDesign()) {}
};

}  // namespace tendra
