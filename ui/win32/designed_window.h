// A top-level Win32 window built by reading a WindowDesign: its frame, its
// controls with their designed names, rectangles, fonts and colours, link
// cursors, tooltips and the click actions the design gives them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "ui/design.h"
#include "ui/twips.h"
#include "ui/win32/geometry.h"
#include "ui/win32/shell.h"

namespace tendra::ui::win32 {

class DesignedWindow {
  public:
    explicit DesignedWindow(const WindowDesign& design);
    virtual ~DesignedWindow();
    DesignedWindow(const DesignedWindow&) = delete;
    DesignedWindow& operator=(const DesignedWindow&) = delete;

    // Creates the window, hidden, at the top-left of the screen, with its
    // designed client size and all its controls; owned by `owner` when one is
    // given, and topmost when the design or a topmost owner says so. False
    // when Windows refused, or when a control of the design has no
    // identifier of its own.
    bool create(HWND owner = nullptr);

    HWND hwnd() const { return hwnd_; }
    bool exists() const { return hwnd_ && IsWindow(hwnd_); }
    const WindowDesign& design() const { return design_; }
    UINT dpi() const { return dpi_; }
    // The control of this designed name; null when there is none.
    HWND control(std::string_view name) const;
    // The design of a control of this window; null for other windows.
    const ControlDesign* designOf(HWND control) const;
    // The designed window a control belongs to, through its top-level
    // window; null for a control of another window.
    static DesignedWindow* containing(HWND control);

    // Sets a control's caption; a label sized to its text is fitted again.
    void setCaption(std::string_view name, std::string_view text);

    // Shows the window and runs messages until it is destroyed, with every
    // other window of the thread disabled meanwhile.
    void showModal();

    // Lays the window out again for another DPI: fonts, control rectangles,
    // and the window's rectangle where the system suggests one.
    void rescale(UINT dpi, const RECT* suggested);

    void setShellOpener(ShellOpener opener) { shellOpener_ = std::move(opener); }
    void setScreenSource(ScreenSource source) { screenSource_ = std::move(source); }
    ScreenSize screen() const { return screenSource_(); }

  protected:
    // After the controls exist, before the window is shown: the window's
    // start-up handler.
    virtual void formLoad() {}
    // Window messages; the default does the designed colours, cursors, clicks.
    virtual LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // A command from a control: a push button or check box clicked, a label
    // clicked or double-clicked, a text box's notifications. The default
    // carries out the click actions of the design.
    virtual void onCommand(HWND control, const ControlDesign& design, int code);
    // The background a text box is drawn with; default: the system's window
    // colour.
    virtual COLORREF textBoxBackground(HWND control) const;
    // Children the design does not cover (the web browser): created here,
    // with the design's identifier.
    virtual void createSpecialControl(const ControlDesign& design, const RECT& pixels) {
        (void)design, (void)pixels;
    }
    // After rescale: for children the design does not cover.
    virtual void onRescaled() {}
    void runClickAction(ClickAction action);
    void openAddress(const std::string& address);
    HFONT windowFont() const { return windowFont_; }
    // Fits a label that is sized to its text to its caption.
    void fitToText(HWND label);

  private:
    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    HWND createControl(const ControlDesign& c);
    HFONT makeWindowFont();
    // The control's own font, made for the current DPI, or the window's.
    HFONT fontFor(const ControlDesign& c);
    // A control's rectangle in its parent's client area at the current DPI.
    PixelRect controlPixels(const ControlDesign& c) const;
    HBRUSH brush(COLORREF colour);
    // The push button the design makes the default (or the cancel) button.
    const ControlDesign* designedButton(bool ControlDesign::*role) const;
    LRESULT colourControl(HDC dc, HWND control, bool textBox);

    const WindowDesign& design_;
    HWND hwnd_ = nullptr;
    UINT dpi_ = 96;
    HFONT windowFont_ = nullptr;
    HWND tooltip_ = nullptr;
    HWND lastFocus_ = nullptr;
    std::vector<HFONT> fonts_;  // made by this window, the window font among them
    std::vector<std::pair<COLORREF, HBRUSH>> brushes_;
    std::vector<std::pair<HWND, const ControlDesign*>> controls_;
    ShellOpener shellOpener_ = shellOpen;
    ScreenSource screenSource_ = primaryScreen;
};

}  // namespace tendra::ui::win32
