// The pointing hand shown over the about window's links.
#pragma once

#include <QCursor>

namespace tendra {

// A 32 x 32 black-and-white hand, its hot spot at the tip of the index finger
// (6 pixels from the left on the top row).
QCursor handCursor();

}  // namespace tendra
