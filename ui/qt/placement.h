// Placing Qt windows on their screen by the designed rule.
#pragma once

#include "ui/placement.h"

class QWidget;

namespace tendra {

// Moves frm, keeping its size, to where placedTopLeft puts it on the screen
// screenSize() reports, computed in single precision.
void placeOnScreen(QWidget* frm, Across across);

}  // namespace tendra
