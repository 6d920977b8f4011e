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

    // Ends in columns a gap wide, each column sorted by Y, so that each end
    // meets only the few within a gap of it: those further up its own
    // column and those beside it in the next.
    struct Located {
        double column = 0, x = 0, y = 0;
        std::size_t end = 0;
        bool operator<(const Located& other) const {
            return column < other.column || (column == other.column && y < other.y);
        }
    };
    std::vector<Located> located(ends);
    for (std::size_t e = 0; e < ends; ++e) {
        const EndPoint at = endOf(pieces, e);
        located[e] = {gap > 0 ? std::floor(at.x / gap) : 0, at.x, at.y, e};
    }
    std::sort(located.begin(), located.end());
    DisjointSets meeting(ends);
    std::vector<std::pair<std::size_t, std::size_t>> nearMisses;
    const auto meet = [&](const Located& a, const Located& b) {
        if (a.end / 2 == b.end / 2) {
            return;
        }
        const double dx = a.x - b.x, dy = a.y - b.y;
        const double squared = dx * dx + dy * dy;
        if (squared <= tolerance * tolerance) {
            meeting.join(a.end, b.end);
        } else if (squared < gap * gap) {
            nearMisses.emplace_back(std::min(a.end, b.end), std::max(a.end, b.end));
        }
    };
    for (std::size_t i = 0; i < ends; ++i) {
        const Located& a = located[i];
        for (std::size_t j = i + 1;
             j < ends && located[j].column == a.column && located[j].y - a.y < gap; ++j) {
            meet(a, located[j]);
        }
        const Located lowest{a.column + 1, 0, a.y - gap, 0};
        for (auto next =
                 std::upper_bound(located.begin() + std::ptrdiff_t(i), located.end(), lowest);
             next != located.end() && next->column == lowest.column && next->y - a.y < gap;
             ++next) {
            meet(a, *next);
        }
    }

    // Per end, the one other end that meets it, if any; more make a branch.
    constexpr std::size_t kNone = static_cast<std::size_t>(-1);
    std::vector<std::size_t> first(ends, kNone), count(ends, 0), partnerOf(ends, kNone);
    for (std::size_t e = 0; e < ends; ++e) {
        const std::size_t point = meeting.find(e);
        if (++count[point] == 1) {
            first[point] = e;
        } else if (count[point] == 2) {
            partnerOf[e] = first[point];
            partnerOf[first[point]] = e;
        }
    }
    // The first fault in the selection's order of the pieces. Two ends that
    // almost meet are a gap only when neither meets another end: the joints
    // at either end of a piece shorter than a visible gap are no gap.
    const auto free = [&](std::size_t e) { return count[meeting.find(e)] == 1; };
    std::optional<std::size_t> gapEnd;
    for (const auto& [a, b] : nearMisses) {
        if (free(a) && free(b) && (!gapEnd || a < *gapEnd)) {
            gapEnd = a;
        }
    }
    for (std::size_t e = 0; e < ends; ++e) {
        if (gapEnd && *gapEnd == e) {
            const EndPoint at = endOf(pieces, e);
            return {{}, ChainFault{ChainFault::Kind::Gap, at.x, at.y}};
        }
        if (count[meeting.find(e)] >= 3) {
            const EndPoint at = endOf(pieces, e);
            return {{}, ChainFault{ChainFault::Kind::Branch, at.x, at.y}};
        }
    }

    const auto partner = [&](std::size_t e) -> std::optional<std::size_t> {
        if (partnerOf[e] == kNone) {
            return std::nullopt;
        }
        return partnerOf[e];
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
