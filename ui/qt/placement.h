// Placing Qt windows on their screen by the designed rule.
#pragma once

#include "ui/placement.h"

class QWidget;

namespace tendra {

// The precision a window computes its place in.
enum class Precision { Single, Double };

// Moves frm, keeping its size, to where placedTopLeft puts it on the screen
// screenGeometry() gives for it.
void placeOnScreen(QWidget* frm, Across across, Precision precision = Precision::Single);

}  // namespace tendra
