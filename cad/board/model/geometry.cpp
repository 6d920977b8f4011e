#include "cad/board/model/geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace tendra::board {

namespace {

constexpr double kTwoPi = 2 * std::numbers::pi;

// Whether the direction angle lies on the arc.
bool onArc(const Piece& arc, double angle) {
    if (std::abs(arc.sweep) >= kTwoPi) {
        return true;
    }
    double offset = arc.sweep >= 0 ? angle - arc.startAngle : arc.startAngle - angle;
    offset = std::fmod(offset, kTwoPi);
    if (offset < 0) {
        offset += kTwoPi;
    }
    return offset <= std::abs(arc.sweep);
}

Vec2 pointAt(Vec2 center, double radius, double angle) {
    return {center.x + radius * std::cos(angle), center.y + radius * std::sin(angle)};
}

double distanceToSegment(Vec2 at, Vec2 a, Vec2 b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double lengthSquared = dx * dx + dy * dy;
    if (lengthSquared == 0) {
        return distance(at, a);
    }
    double t = ((at.x - a.x) * dx + (at.y - a.y) * dy) / lengthSquared;
    t = std::clamp(t, 0.0, 1.0);
    return distance(at, {a.x + t * dx, a.y + t * dy});
}

// Liang-Barsky: whether the segment a-b has a point inside or on the box.
bool segmentTouchesBox(Vec2 a, Vec2 b, const Box& box) {
    double t0 = 0;
    double t1 = 1;
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.min.x, box.max.x - a.x, a.y - box.min.y, box.max.y - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) {
                return false;
            }
            continue;
        }
        const double t = q[i] / p[i];
        if (p[i] < 0) {
            t0 = std::max(t0, t);
        } else {
            t1 = std::min(t1, t);
        }
        if (t0 > t1) {
            return false;
        }
    }
    return true;
}

// Whether the arc meets the straight edge a-b (axis-parallel edges only need
// the general case here).
bool arcMeetsSegment(const Piece& arc, Vec2 a, Vec2 b) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double fx = a.x - arc.center.x;
    const double fy = a.y - arc.center.y;
    const double qa = dx * dx + dy * dy;
    if (qa == 0) {
        return false;
    }
    const double qb = 2 * (fx * dx + fy * dy);
    const double qc = fx * fx + fy * fy - arc.radius * arc.radius;
    const double discriminant = qb * qb - 4 * qa * qc;
    if (discriminant < 0) {
        return false;
    }
    const double root = std::sqrt(discriminant);
    for (double t : {(-qb - root) / (2 * qa), (-qb + root) / (2 * qa)}) {
        if (t >= 0 && t <= 1) {
            const Vec2 hit{a.x + t * dx, a.y + t * dy};
            if (onArc(arc, std::atan2(hit.y - arc.center.y, hit.x - arc.center.x))) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace

namespace detail {

Piece segment(Vec2 from, Vec2 to) {
    Piece piece;
    piece.from = from;
    piece.to = to;
    return piece;
}

Piece circleArc(Vec2 center, double radius, double startAngle, double sweep) {
    Piece piece;
    piece.curved = true;
    piece.center = center;
    piece.radius = radius;
    piece.startAngle = startAngle;
    piece.sweep = sweep;
    piece.from = pointAt(center, radius, startAngle);
    piece.to = pointAt(center, radius, startAngle + sweep);
    return piece;
}

Piece polylineSegment(const PolylineVertex& from, const PolylineVertex& to) {
    const Vec2 a{from.x, from.y};
    const Vec2 b{to.x, to.y};
    if (auto arc = bulgeArc(a, b, from.bulge)) {
        return *arc;
    }
    return segment(a, b);
}

}  // namespace detail

std::optional<Piece> bulgeArc(Vec2 from, Vec2 to, double bulge) {
    const double chord = distance(from, to);
    if (bulge == 0 || !std::isfinite(bulge) || chord == 0 || !std::isfinite(chord)) {
        return std::nullopt;
    }
    // The included angle is 4·atan(bulge); the centre lies on the chord's
    // perpendicular bisector, to the left for a positive bulge.
    const double sweep = 4 * std::atan(bulge);
    const double radius = chord * (1 + bulge * bulge) / (4 * std::abs(bulge));
    const double sagittaToCenter = chord * (1 - bulge * bulge) / (4 * bulge);
    const Vec2 middle{(from.x + to.x) / 2, (from.y + to.y) / 2};
    const Vec2 left{-(to.y - from.y) / chord, (to.x - from.x) / chord};
    const Vec2 center{middle.x + left.x * sagittaToCenter, middle.y + left.y * sagittaToCenter};
    Piece piece;
    piece.curved = true;
    piece.from = from;
    piece.to = to;
    piece.center = center;
    piece.radius = radius;
    piece.startAngle = std::atan2(from.y - center.y, from.x - center.x);
    piece.sweep = sweep;
    return piece;
}

double distance(Vec2 a, Vec2 b) {
    return std::hypot(a.x - b.x, a.y - b.y);
}

double distanceToPiece(Vec2 at, const Piece& piece) {
    if (!piece.curved) {
        return distanceToSegment(at, piece.from, piece.to);
    }
    const double angle = std::atan2(at.y - piece.center.y, at.x - piece.center.x);
    if (onArc(piece, angle)) {
        return std::abs(distance(at, piece.center) - piece.radius);
    }
    return std::min(distance(at, piece.from), distance(at, piece.to));
}

Box boxOfPiece(const Piece& piece) {
    Box box{{std::min(piece.from.x, piece.to.x), std::min(piece.from.y, piece.to.y)},
            {std::max(piece.from.x, piece.to.x), std::max(piece.from.y, piece.to.y)}};
    if (!piece.curved) {
        return box;
    }
    // The arc reaches past its end points where it crosses an axis direction.
    for (int quarter = 0; quarter < 4; ++quarter) {
        const double angle = quarter * std::numbers::pi / 2;
        if (onArc(piece, angle)) {
            const Vec2 extreme = pointAt(piece.center, piece.radius, angle);
            box = unite(box, Box{extreme, extreme});
        }
    }
    return box;
}

bool pieceTouchesBox(const Piece& piece, const Box& box) {
    if (!piece.curved) {
        return segmentTouchesBox(piece.from, piece.to, box);
    }
    if (contains(box, piece.from) || contains(box, piece.to)) {
        return true;
    }
    const Vec2 corners[4] = {box.min, {box.max.x, box.min.y}, box.max, {box.min.x, box.max.y}};
    for (int i = 0; i < 4; ++i) {
        if (arcMeetsSegment(piece, corners[i], corners[(i + 1) % 4])) {
            return true;
        }
    }
    return false;
}

bool contains(const Box& outer, const Box& inner) {
    return inner.min.x >= outer.min.x && inner.max.x <= outer.max.x && inner.min.y >= outer.min.y &&
           inner.max.y <= outer.max.y;
}

bool contains(const Box& box, Vec2 at) {
    return at.x >= box.min.x && at.x <= box.max.x && at.y >= box.min.y && at.y <= box.max.y;
}

Box unite(const Box& a, const Box& b) {
    return {{std::min(a.min.x, b.min.x), std::min(a.min.y, b.min.y)},
            {std::max(a.max.x, b.max.x), std::max(a.max.y, b.max.y)}};
}

std::vector<Vec2> flattenedOutline(const PolylineShape& shape) {
    std::vector<Vec2> points;
    const auto& v = shape.vertices;
    if (v.empty()) {
        return points;
    }
    points.push_back({v[0].x, v[0].y});
    const std::size_t segments = shape.closed ? v.size() : v.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        const PolylineVertex& from = v[i];
        const PolylineVertex& to = v[(i + 1) % v.size()];
        if (auto arc = bulgeArc({from.x, from.y}, {to.x, to.y}, from.bulge)) {
            const int steps =
                std::max(2, static_cast<int>(std::ceil(std::abs(arc->sweep) / kTwoPi * 72)));
            for (int step = 1; step < steps; ++step) {
                points.push_back(
                    pointAt(arc->center, arc->radius, arc->startAngle + arc->sweep * step / steps));
            }
        }
        points.push_back({to.x, to.y});
    }
    return points;
}

std::vector<Vec2> ellipsePoints(const Ellipse& e, int segmentsPerTurn) {
    double sweep = e.endParameter - e.startParameter;
    if (!std::isfinite(sweep)) {
        sweep = kTwoPi;
    }
    sweep = std::fmod(sweep, kTwoPi);
    if (sweep <= 1e-12) {
        sweep += kTwoPi;
    }
    const int steps = std::max(4, static_cast<int>(std::ceil(sweep / kTwoPi * segmentsPerTurn)));
    const double start = std::isfinite(e.startParameter) ? e.startParameter : 0;
    std::vector<Vec2> points;
    points.reserve(static_cast<std::size_t>(steps) + 1);
    for (int step = 0; step <= steps; ++step) {
        const double t = start + sweep * step / steps;
        points.push_back({e.center[0] + e.major.x * std::cos(t) + e.minor.x * std::sin(t),
                          e.center[1] + e.major.y * std::cos(t) + e.minor.y * std::sin(t)});
    }
    return points;
}

std::vector<Vec2> solidOutline(const Solid& solid) {
    const auto& c = solid.corners;
    if (c[2] == c[3]) {
        return {c[0], c[1], c[2], c[0]};
    }
    return {c[0], c[1], c[3], c[2], c[0]};
}

Box boxOf(const Entity& entity) {
    std::optional<Box> box;
    forEachPiece(entity, [&](const Piece& piece) {
        const Box pieceBox = boxOfPiece(piece);
        box = box ? unite(*box, pieceBox) : pieceBox;
    });
    if (!box) {
        // A polyline without vertices: nowhere in particular.
        return Box{};
    }
    return *box;
}

std::optional<TextOutline> selectionOutline(const Entity& entity) {
    if (const auto* text = std::get_if<Text>(&entity.geometry)) {
        return textOutline(*text);
    }
    if (const auto* mtext = std::get_if<MText>(&entity.geometry)) {
        return textOutline(*mtext);
    }
    return std::nullopt;
}

Box selectionBoxOf(const Entity& entity) {
    const std::optional<TextOutline> outline = selectionOutline(entity);
    if (!outline) {
        return boxOf(entity);
    }
    Box box{(*outline)[0], (*outline)[0]};
    for (Vec2 corner : *outline) {
        box = unite(box, Box{corner, corner});
    }
    return box;
}

namespace {

// Whether at lies inside or on the convex quadrilateral.
bool insideOutline(const TextOutline& outline, Vec2 at) {
    bool anyLeft = false;
    bool anyRight = false;
    for (std::size_t i = 0; i < outline.size(); ++i) {
        const Vec2 a = outline[i];
        const Vec2 b = outline[(i + 1) % outline.size()];
        const double cross = (b.x - a.x) * (at.y - a.y) - (b.y - a.y) * (at.x - a.x);
        anyLeft = anyLeft || cross > 0;
        anyRight = anyRight || cross < 0;
    }
    return !(anyLeft && anyRight);
}

}  // namespace

double distanceTo(const Entity& entity, Vec2 at) {
    if (const std::optional<TextOutline> outline = selectionOutline(entity)) {
        if (insideOutline(*outline, at)) {
            return 0;
        }
        double nearest = std::numeric_limits<double>::infinity();
        for (std::size_t i = 0; i < outline->size(); ++i) {
            nearest = std::min(nearest, distanceToSegment(at, (*outline)[i],
                                                          (*outline)[(i + 1) % outline->size()]));
        }
        return nearest;
    }
    double nearest = std::numeric_limits<double>::infinity();
    forEachPiece(entity, [&](const Piece& piece) {
        nearest = std::min(nearest, distanceToPiece(at, piece));
    });
    return nearest;
}

bool touches(const Entity& entity, const Box& box) {
    if (const std::optional<TextOutline> outline = selectionOutline(entity)) {
        // The rectangle's edges cross the box, or the box lies inside it.
        for (std::size_t i = 0; i < outline->size(); ++i) {
            if (segmentTouchesBox((*outline)[i], (*outline)[(i + 1) % outline->size()], box)) {
                return true;
            }
        }
        return insideOutline(*outline, box.min);
    }
    bool touching = false;
    forEachPiece(entity,
                 [&](const Piece& piece) { touching = touching || pieceTouchesBox(piece, box); });
    return touching;
}

}  // namespace tendra::board
