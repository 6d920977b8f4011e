// Tendons drawn in pieces: LINE and ARC entities that meet end to end, as
// FILLET leaves a line-arc-line tendon or EXPLODE leaves a polyline. The
// pieces of a selection are joined into chains, each chain one tendon with
// the vertices and bulges a polyline of the same course would have. Pure
// geometry in world X and Y; no CAD calls.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "cad/surface.h"

namespace tendra {

inline constexpr const char* kFittedPolylineText = "所选多段线经过拟合或样条化，无法处理！";

// A LINE or an ARC in the world's plan: from its start to its end, an arc
// with the bulge a polyline segment along it would have (positive
// counter-clockwise).
struct Piece {
    double startX = 0, startY = 0, endX = 0, endY = 0;
    double bulge = 0;
};

Piece linePiece(const cad::Point& start, const cad::Point& end);
// An ARC from its centre and ends in world coordinates; it runs
// counter-clockwise about its normal, so clockwise in the plan when the
// normal points down (a mirrored drawing). None when the arc does not lie
// in a plane parallel to the world's XY plane.
std::optional<Piece> arcPiece(const cad::Point& center, const cad::Point& start,
                              const cad::Point& end, const cad::Point& normal);

// One tendon made of pieces.
struct Chain {
    // The pieces, as positions in the list handed to chainPieces, in the
    // order the chain runs.
    std::vector<std::size_t> pieces;
    // Flat X0, Y0, X1, Y1, ... from the end with the smaller X (the smaller Y
    // on a tie), and one bulge per segment.
    std::vector<double> coordinates;
    std::vector<double> bulges;
    // The smallest position among its pieces: where the chain stands in the
    // selection's order.
    std::size_t firstPiece = 0;
};

// Why the pieces of a selection cannot be taken, and where.
struct ChainFault {
    enum class Kind { Gap, Branch } kind = Kind::Gap;
    double x = 0, y = 0;
};

struct Chaining {
    // The open chains of two or more pieces, by their first piece. Closed
    // chains (outlines) and lone pieces are no tendons and are left out.
    std::vector<Chain> chains;
    // Set when two ends almost meet or three or more meet at one point;
    // then there are no chains.
    std::optional<ChainFault> fault;
};

// How close two ends must lie to meet, and how far apart two ends must lie
// not to look joined, for pieces whose ends span a box of this diagonal.
double joinTolerance(double selectionSize);
double visibleGap(double selectionSize);

// Joins pieces whose ends lie within joinTolerance of each other, judged
// from the size of the box round every piece's ends.
Chaining chainPieces(const std::vector<Piece>& pieces);

// The refusal of a fault: "钢束图元在 (x, y) 处未连接！" or "…处分叉！", the
// point in drawing units.
std::string faultText(const ChainFault& fault);

}  // namespace tendra
