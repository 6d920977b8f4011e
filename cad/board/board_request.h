// A request the board is waiting on (a point or an on-screen selection) and
// the error numbers the board's side of the CAD surface throws.
#pragma once

#include <QEventLoop>
#include <cstdint>
#include <vector>

#include "cad/board/model/drawing.h"
#include "cad/surface.h"

namespace tendra::board {

// RPC_E_CALL_REJECTED: AutoCAD rejects a call while it waits for the user;
// the board does the same with a second request.
inline constexpr std::int32_t kCallRejected = -2147418111;
// RPC_E_DISCONNECTED: the board or the drawing behind an object is gone
// (closed, or another drawing was opened); also ends a request that was
// waiting when that happened.
inline constexpr std::int32_t kDisconnected = -2147417848;

// Lives on the stack of the call that waits for it; the board window only
// points at it while it waits and answers it through finish().
struct PendingRequest {
    enum class Kind { Point, Selection };
    enum class Outcome {
        Waiting,    // the loop returned without an answer: the application is quitting
        Answered,   // a point was picked, or the selection was completed
        Ended,      // Enter, Space, Esc or a right click ended a point request
        Cancelled,  // Esc ended a selection
        Failed      // the board closed or its drawing was replaced
    };

    explicit PendingRequest(Kind kind) : kind(kind) {}

    void finish(Outcome result) {
        if (outcome == Outcome::Waiting) {
            outcome = result;
        }
        loop.quit();
    }

    const Kind kind;
    Outcome outcome = Outcome::Waiting;
    cad::Point point{};
    std::vector<EntityId> selection;  // in the order the user selected
    QEventLoop loop;
};

}  // namespace tendra::board
