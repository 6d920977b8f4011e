// The board's blocking requests. Each runs a nested event loop until the
// user answers, as a call into AutoCAD blocks until AutoCAD answers; the rest
// of the application takes no input meanwhile, so no command re-enters.
#pragma once

#include <string>
#include <vector>

#include "cad/board/model/drawing.h"
#include "cad/surface.h"

namespace tendra::board {

class BoardWindow;

// Shows the prompt and returns the point the user clicks, snapped to a
// vertex, end point or point near the cursor; Z is 0. Enter, Space, Esc or a
// right click throw cad::CadError(cad::kEFail). A second request while one
// waits throws CadError(kCallRejected); closing the board, or opening another
// drawing, while it waits throws CadError(kDisconnected).
cad::Point requestPoint(BoardWindow& window, const std::string& prompt);

// Lets the user select by clicks and window or crossing rectangles until
// Enter, Space or a right click; returns the entities in the order selected.
// Esc returns an empty selection. Fails as requestPoint does.
std::vector<EntityId> requestSelection(BoardWindow& window);

}  // namespace tendra::board
