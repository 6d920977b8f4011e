// The screen the about and promotion windows are placed on.
#pragma once

#include <QSize>

namespace tendra {

// The primary screen's size in pixels, or the size set for tests.
QSize screenSize();

// Lets tests place windows on screens of any size; an empty size returns to
// the real screen.
void setScreenSizeForTests(const QSize& size);

}  // namespace tendra
