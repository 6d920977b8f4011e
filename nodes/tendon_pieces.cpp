#include "nodes/tendon_pieces.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>

#include "nodes/arc_nodes.h"
#include "nodes/fixed_point.h"

namespace tendra {

namespace {

struct EndPoint {
    double x = 0, y = 0;
};

// End 2i is piece i's start, end 2i + 1 its end.
EndPoint endOf(const std::vector<Piece>& pieces, std::size_t end) {
    const Piece& piece = pieces[end / 2];
    return end % 2 == 0 ? EndPoint{piece.startX, piece.startY} : EndPoint{piece.endX, piece.endY};
}

double distance(EndPoint a, EndPoint b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

class DisjointSets {
  public:
    explicit DisjointSets(std::size_t count) : parent_(count) {
        std::iota(parent_.begin(), parent_.end(), std::size_t{0});
    }
    std::size_t find(std::size_t i) {
        while (parent_[i] != i) {
            parent_[i] = parent_[parent_[i]];
            i = parent_[i];
        }
        return i;
    }
    void join(std::size_t a, std::size_t b) { parent_[find(a)] = find(b); }

  private:
    std::vector<std::size_t> parent_;
};

// The diagonal of the box round every piece's ends.
double sizeOf(const std::vector<Piece>& pieces) {
    if (pieces.empty()) {
        return 0;
    }
    double minX = pieces[0].startX, maxX = minX, minY = pieces[0].startY, maxY = minY;
    for (const Piece& piece : pieces) {
        for (const auto& [x, y] :
             {EndPoint{piece.startX, piece.startY}, EndPoint{piece.endX, piece.endY}}) {
            minX = std::min(minX, x);
            maxX = std::max(maxX, x);
            minY = std::min(minY, y);
            maxY = std::max(maxY, y);
        }
    }
    return std::hypot(maxX - minX, maxY - minY);
}

// A number of a refusal: at most three decimals, no trailing zeros.
std::string pointNumber(double value) {
    std::string text;
    appendFixed(text, value, DecimalPattern{3, true}, ".");
    while (text.back() == '0') {
        text.pop_back();
    }
    if (text.back() == '.') {
        text.pop_back();
    }
    return text;
}

}  // namespace

Piece linePiece(const cad::Point& start, const cad::Point& end) {
    return {start[0], start[1], end[0], end[1], 0};
}

std::optional<Piece> arcPiece(const cad::Point& center, const cad::Point& start,
                              const cad::Point& end, const cad::Point& normal) {
    if (!inWorldPlane(normal)) {
        return std::nullopt;
    }
    const double ax = start[0] - center[0], ay = start[1] - center[1];
    const double bx = end[0] - center[0], by = end[1] - center[1];
    // About a normal pointing down, counter-clockwise is clockwise in the plan.
    const double turn = normal[2] < 0 ? -1.0 : 1.0;
    double sweep = std::atan2(turn * (ax * by - ay * bx), ax * bx + ay * by);
    if (sweep <= 0) {
        sweep += 2 * std::numbers::pi;
    }
    return Piece{start[0], start[1], end[0], end[1], turn * std::tan(sweep / 4)};
}

// FILLET and EXPLODE leave ends that agree to within rounding of the
// coordinates, some 1e-12 of the drawing's extent; a millionth of the
// selection's size joins them with room to spare and is still a thousand
// times below a gap anyone could see.
double joinTolerance(double selectionSize) {
    return 1e-6 * selectionSize;
}

double visibleGap(double selectionSize) {
    return 1e-3 * selectionSize;
}

Chaining chainPieces(const std::vector<Piece>& all) {
    const double size = sizeOf(all);
    const double tolerance = joinTolerance(size);
    const double gap = visibleGap(size);
    // A piece shorter than the tolerance has no course of its own.
    std::vector<std::size_t> kept;
    std::vector<Piece> pieces;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (distance({all[i].startX, all[i].startY}, {all[i].endX, all[i].endY}) > tolerance) {
            kept.push_back(i);
            pieces.push_back(all[i]);
        }
    }
    const std::size_t ends = 2 * pieces.size();

    // Ends sorted by X, so each meets only the few within a gap of it.
    std::vector<std::size_t> byX(ends);
    std::iota(byX.begin(), byX.end(), std::size_t{0});
    std::sort(byX.begin(), byX.end(), [&](std::size_t a, std::size_t b) {
        return endOf(pieces, a).x < endOf(pieces, b).x;
    });
    DisjointSets meeting(ends);
    std::vector<std::pair<std::size_t, std::size_t>> nearMisses;
    for (std::size_t i = 0; i < ends; ++i) {
        const EndPoint a = endOf(pieces, byX[i]);
        for (std::size_t j = i + 1; j < ends; ++j) {
            const EndPoint b = endOf(pieces, byX[j]);
            if (b.x - a.x >= gap) {
                break;
            }
            if (byX[i] / 2 == byX[j] / 2) {
                continue;
            }
            const double d = distance(a, b);
            if (d <= tolerance) {
                meeting.join(byX[i], byX[j]);
            } else if (d < gap) {
                nearMisses.emplace_back(std::min(byX[i], byX[j]), std::max(byX[i], byX[j]));
            }
        }
    }

    std::vector<std::vector<std::size_t>> atPoint(ends);
    for (std::size_t e = 0; e < ends; ++e) {
        atPoint[meeting.find(e)].push_back(e);
    }
    // The first fault in the selection's order of the pieces.
    std::optional<std::size_t> gapEnd;
    for (const auto& [a, b] : nearMisses) {
        if (meeting.find(a) != meeting.find(b) && (!gapEnd || a < *gapEnd)) {
            gapEnd = a;
        }
    }
    for (std::size_t e = 0; e < ends; ++e) {
        if (gapEnd && *gapEnd == e) {
            const EndPoint at = endOf(pieces, e);
            return {{}, ChainFault{ChainFault::Kind::Gap, at.x, at.y}};
        }
        if (atPoint[meeting.find(e)].size() >= 3) {
            const EndPoint at = endOf(pieces, e);
            return {{}, ChainFault{ChainFault::Kind::Branch, at.x, at.y}};
        }
    }

    // The other end that meets this one, if any.
    const auto partner = [&](std::size_t e) -> std::optional<std::size_t> {
        for (const std::size_t other : atPoint[meeting.find(e)]) {
            if (other != e) {
                return other;
            }
        }
        return std::nullopt;
    };
    Chaining result;
    std::vector<bool> taken(pieces.size(), false);
    for (std::size_t first = 0; first < pieces.size(); ++first) {
        if (taken[first]) {
            continue;
        }
        // Back from the first piece to a free end; none on an outline.
        std::size_t start = 2 * first;
        bool closed = false;
        for (;;) {
            const std::optional<std::size_t> before = partner(start);
            if (!before) {
                break;
            }
            if (*before / 2 == first) {
                closed = true;
                break;
            }
            start = *before ^ 1;
        }
        // The chain's two free ends; the walk starts at the leftmost.
        std::vector<std::size_t> course;
        std::size_t end = start;
        for (std::size_t e = start;;) {
            course.push_back(e);
            taken[e / 2] = true;
            end = e ^ 1;
            const std::optional<std::size_t> next = partner(end);
            if (!next || *next == start) {
                break;
            }
            e = *next;
        }
        if (closed || course.size() < 2) {
            continue;
        }
        const EndPoint from = endOf(pieces, start), to = endOf(pieces, end);
        if (to.x < from.x || (to.x == from.x && to.y < from.y)) {
            std::reverse(course.begin(), course.end());
            for (std::size_t& e : course) {
                e ^= 1;
            }
        }
        Chain chain;
        chain.firstPiece = all.size();
        for (const std::size_t e : course) {
            const EndPoint at = endOf(pieces, e);
            const Piece& piece = pieces[e / 2];
            chain.coordinates.insert(chain.coordinates.end(), {at.x, at.y});
            chain.bulges.push_back(e % 2 == 0 ? piece.bulge : -piece.bulge);
            chain.pieces.push_back(kept[e / 2]);
            chain.firstPiece = std::min(chain.firstPiece, kept[e / 2]);
        }
        const EndPoint last = endOf(pieces, course.back() ^ 1);
        chain.coordinates.insert(chain.coordinates.end(), {last.x, last.y});
        result.chains.push_back(std::move(chain));
    }
    std::sort(result.chains.begin(), result.chains.end(),
              [](const Chain& a, const Chain& b) { return a.firstPiece < b.firstPiece; });
    return result;
}

std::string faultText(const ChainFault& fault) {
    return "钢束图元在 (" + pointNumber(fault.x) + ", " + pointNumber(fault.y) + ") 处" +
           (fault.kind == ChainFault::Kind::Gap ? "未连接！" : "分叉！");
}

}  // namespace tendra
