// Where the main, about and promotion windows go on their screen.
#pragma once

namespace tendra {

// Where a window goes across its screen. Down, it always leaves a third of
// the free height above it, so that it sits above the screen's centre.
enum class Across { Centre, LeftEdge, RightEdge };

template <class Real>
struct TopLeft {
    Real left;
    Real top;
};

// The top-left, in twips, of a window of this outer size on a screen of this
// size, both in twips. Nothing is clamped: a window larger than the screen
// gets a negative left or top. Real is the precision the window places in.
template <class Real>
TopLeft<Real> placedTopLeft(Real screenWidth, Real screenHeight, Real width, Real height,
                            Across across) {
    const Real left = across == Across::Centre     ? (screenWidth - width) / 2
                      : across == Across::LeftEdge ? Real(0)
                                                   : screenWidth - width;
    return {left, (screenHeight - height) / 3};
}

}  // namespace tendra
