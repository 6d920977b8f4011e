// The drawing board as the CAD application the connection attaches to, on
// builds without the COM backend.
//
// Start-up (app/main.cpp), after showing the main window:
//
//   tendra::board::BoardPlatform platform;          // outlives Form1's use of it
//   Form1 form(platform, ...);
//   form.show();
//   platform.setStartDrawing(path);                 // optional: a drawing instead of the sample
//   platform.openBoard(form.frameGeometry());       // the board with the sample, beside it
//
// From then on the board is "running" while its window is open. A board the
// user closed is started again, with the same drawing, by the next
// command's connection (createObject), beside the same rectangle.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <string>

#include "cad/surface.h"

namespace tendra::board {

class BoardWindow;

// Where the board's frame goes beside a window with this frame, on a screen
// with this available area: the widest of the free strips right of, below,
// left of and above the window (the first of them on a tie), each reaching
// across the screen and filling the room up to the window, when it leaves a
// usable size; else boardSize over the screen's right part, at the window's
// top edge, kept within the screen.
QRect placeBeside(const QRect& besideThis, const QRect& available, QSize boardSize);

class BoardPlatform : public cad::Platform {
  public:
    BoardPlatform();
    // Closes the board it opened, if still open.
    ~BoardPlatform() override;
    BoardPlatform(const BoardPlatform&) = delete;
    BoardPlatform& operator=(const BoardPlatform&) = delete;

    // The DXF file the board opens when it starts, instead of the sample (as
    // named on the command line). One that cannot be read is reported in a
    // message box over the board, which then shows the sample, and is not
    // tried again.
    void setStartDrawing(const QString& path) { startDrawing_ = path; }

    // Opens the board with its start drawing, zoomed to its extents, beside
    // this rectangle (a window's frame in screen pixels; empty: wherever the
    // window system puts it), without taking the activation from the caller's
    // window. An open board is only moved there. Returns the board.
    BoardWindow* openBoard(const QRect& besideThis = {});

    // The open board, or null.
    BoardWindow* window() const;

    // The board, when its window exists and is open; else CadError. Any class
    // name is answered: the board stands in for whichever CAD is asked for.
    cad::ApplicationPtr getRunningObject(const std::string& progId) override;
    // Opens the board with its start drawing, shows it, and returns it.
    cad::ApplicationPtr createObject(const std::string& progId) override;
    // Raises and activates the board when its title is exactly this one.
    void activateWindow(const std::string& title) override;

  private:
    QPointer<BoardWindow> window_;
    QRect beside_;
    QString startDrawing_;
};

// MK_E_UNAVAILABLE: what GetActiveObject reports when no such object runs.
inline constexpr std::int32_t kNotRunning = -2147221021;

}  // namespace tendra::board
