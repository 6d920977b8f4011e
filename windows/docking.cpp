#include "windows/docking.h"

namespace tendra {

namespace {

// A window counts as touching the top or the left edge within 4 pixels, but
// the right edge only within 4 twips.
constexpr int kEdgePixels = 4;
constexpr float kRightEdgeTwips = 4;

// On the border counts as outside.
bool strictlyInside(const DockingInput& in) {
    return in.rectLeft < in.pointerX && in.pointerX < in.rectRight && in.rectTop < in.pointerY &&
           in.pointerY < in.rectBottom;
}

}  // namespace

DockingMove dockingStep(const DockingInput& in) {
    DockingMove move{in.left, in.top, false};
    if (in.minimised) {
        return move;
    }
    const float rightEdge = in.width + in.left;
    if (strictlyInside(in)) {
        if (in.top < 0) {
            move.top = -kShownOverhangTwips;
            move.show = true;
        } else if (in.left < 0) {
            move.left = -kShownOverhangTwips;
            move.show = true;
        } else if (rightEdge >= in.screenWidth) {
            move.left = in.screenWidth - in.width + kShownOverhangTwips;
            move.show = true;
        }
        return move;
    }
    if (in.rectTop <= kEdgePixels) {
        move.top = kHiddenStripTwips - in.height;
    } else if (in.rectLeft <= kEdgePixels) {
        move.left = kHiddenStripTwips - in.width;
    } else if (in.screenWidth - kRightEdgeTwips <= rightEdge) {
        move.left = in.screenWidth - kHiddenStripTwips;
    }
    return move;
}

}  // namespace tendra
