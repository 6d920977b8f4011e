// AutoCAD Colour Index numbers as screen colours on the board's dark background.
#pragma once

#include <QColor>

namespace tendra::board {

// The board's background.
inline const QColor kBackground{33, 40, 48};

// The colour of ACI 1..255. 7 is white, as on a dark background. ByBlock (0),
// ByLayer (256) and numbers outside the index resolve to 7.
QColor aciColor(int aci);

}  // namespace tendra::board
