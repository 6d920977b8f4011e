// The screen windows are placed on: the one seam through which tests give
// the windows screens of any size.
#pragma once

#include <QRect>
#include <QSize>

class QWidget;

namespace tendra {

// The geometry of the screen a window is on (the primary screen when it has
// none yet), in pixels; or a screen of the size set for tests, at (0, 0).
QRect screenGeometry(const QWidget* window = nullptr);
inline QSize screenSize() {
    return screenGeometry().size();
}

// Lets tests place windows on screens of any size; an empty size returns to
// the real screen.
void setScreenSizeForTests(const QSize& size);

}  // namespace tendra
