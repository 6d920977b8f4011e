// Plane geometry for snapping, picking and extents: entities as straight and
// curved pieces, distances, bounding boxes and box tests.
#pragma once

#include <cmath>
#include <optional>
#include <vector>

#include "cad/board/model/drawing.h"
#include "cad/board/model/text_layout.h"

namespace tendra::board {

// A straight segment (a point when from == to) or a circular arc. Arcs run
// counter-clockwise from startAngle through sweep (radians, 0 < sweep <= 2π)
// or clockwise when sweep is negative.
struct Piece {
    bool curved = false;
    Vec2 from;
    Vec2 to;
    Vec2 center;
    double radius = 0;
    double startAngle = 0;
    double sweep = 0;
};

// The arc a polyline segment with this bulge follows; none for a straight one.
std::optional<Piece> bulgeArc(Vec2 from, Vec2 to, double bulge);

double distance(Vec2 a, Vec2 b);
double distanceToPiece(Vec2 at, const Piece& piece);
Box boxOfPiece(const Piece& piece);
// Whether the piece has any point inside or on the box.
bool pieceTouchesBox(const Piece& piece, const Box& box);

bool contains(const Box& outer, const Box& inner);
bool contains(const Box& box, Vec2 at);
Box unite(const Box& a, const Box& b);

// A polyline's outline as points, bulges flattened into short chords; a
// closed one ends where it starts.
std::vector<Vec2> flattenedOutline(const PolylineShape& shape);
// Points along an ellipse or elliptical arc, ends included.
std::vector<Vec2> ellipsePoints(const Ellipse& ellipse, int segmentsPerTurn = 72);
// A SOLID's or TRACE's outline, 1-2-4-3, closed; a triangle when 3 and 4 meet.
std::vector<Vec2> solidOutline(const Solid& solid);

// Calls visit(const Piece&) for every piece of the entity's outline; text
// gives one point at its insertion point, a block reference or dimension
// the pieces of its parts.
template <typename Visit>
void forEachPiece(const Entity& entity, Visit&& visit);

// Bounding box of the outline; arcs and bulges exactly.
Box boxOf(const Entity& entity);
// What selections take a TEXT or MTEXT by: the rectangle its characters
// take (textOutline); none for other entities, which are taken by their
// outline.
std::optional<TextOutline> selectionOutline(const Entity& entity);
// The box selections take the entity by: boxOf, or a text's rectangle's.
Box selectionBoxOf(const Entity& entity);
// Shortest distance from at to the outline; for a text, to its rectangle,
// 0 inside it.
double distanceTo(const Entity& entity, Vec2 at);
// Any part of the outline (a text's rectangle) inside or on the box.
bool touches(const Entity& entity, const Box& box);

// Implementation of the template.
namespace detail {
Piece segment(Vec2 from, Vec2 to);
Piece circleArc(Vec2 center, double radius, double startAngle, double sweep);
Piece polylineSegment(const PolylineVertex& from, const PolylineVertex& to);
template <typename Visit>
void visitPath(const std::vector<Vec2>& points, bool closed, Visit&& visit) {
    if (points.size() == 1) {
        visit(segment(points[0], points[0]));
    }
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        visit(segment(points[i], points[i + 1]));
    }
    if (closed && points.size() > 2) {
        visit(segment(points.back(), points.front()));
    }
}
}  // namespace detail

template <typename Visit>
void forEachPiece(const Entity& entity, Visit&& visit) {
    const Geometry& g = entity.geometry;
    if (const auto* line = std::get_if<Line>(&g)) {
        visit(detail::segment({line->start[0], line->start[1]}, {line->end[0], line->end[1]}));
    } else if (const auto* drawn = std::get_if<Arc>(&g)) {
        constexpr double kRadiansPerDegree = 0.017453292519943295;
        const Arc plan = arcInPlan(*drawn);
        const Arc* arc = &plan;
        // Counter-clockwise from start to end, in (0, 360]; equal angles, or
        // angles too large to tell apart, make a whole circle.
        double sweep = std::fmod(arc->endAngle - arc->startAngle, 360.0);
        if (!std::isfinite(sweep)) {
            sweep = 360;
        } else if (sweep <= 0) {
            sweep += 360;
        }
        visit(detail::circleArc({arc->center[0], arc->center[1]}, arc->radius,
                                arc->startAngle * kRadiansPerDegree, sweep * kRadiansPerDegree));
    } else if (const auto* circle = std::get_if<Circle>(&g)) {
        visit(detail::circleArc({circle->center[0], circle->center[1]}, circle->radius, 0,
                                6.283185307179586));
    } else if (const PolylineShape* shape = entity.polyline()) {
        const auto& v = shape->vertices;
        if (v.size() == 1) {
            visit(detail::segment({v[0].x, v[0].y}, {v[0].x, v[0].y}));
        }
        for (std::size_t i = 0; i + 1 < v.size(); ++i) {
            visit(detail::polylineSegment(v[i], v[i + 1]));
        }
        if (shape->closed && v.size() >= 2) {
            visit(detail::polylineSegment(v.back(), v.front()));
        }
    } else if (const auto* point = std::get_if<PointEntity>(&g)) {
        visit(detail::segment({point->at[0], point->at[1]}, {point->at[0], point->at[1]}));
    } else if (const auto* text = std::get_if<Text>(&g)) {
        visit(detail::segment({text->at[0], text->at[1]}, {text->at[0], text->at[1]}));
    } else if (const auto* mtext = std::get_if<MText>(&g)) {
        visit(detail::segment({mtext->at[0], mtext->at[1]}, {mtext->at[0], mtext->at[1]}));
    } else if (const auto* ellipse = std::get_if<Ellipse>(&g)) {
        detail::visitPath(ellipsePoints(*ellipse), false, visit);
    } else if (const auto* spline = std::get_if<Spline>(&g)) {
        detail::visitPath(spline->shown, false, visit);
    } else if (const auto* solid = std::get_if<Solid>(&g)) {
        detail::visitPath(solidOutline(*solid), false, visit);
    } else if (const auto* hatch = std::get_if<Hatch>(&g)) {
        for (const std::vector<Vec2>& loop : hatch->loops) {
            detail::visitPath(loop, true, visit);
        }
    } else if (const auto* leader = std::get_if<Leader>(&g)) {
        detail::visitPath(leader->vertices, false, visit);
    } else if (const auto* reference = std::get_if<BlockReference>(&g)) {
        for (const Entity& part : reference->parts) {
            forEachPiece(part, visit);
        }
    } else if (const auto* dimension = std::get_if<Dimension>(&g)) {
        for (const Entity& part : dimension->parts) {
            forEachPiece(part, visit);
        }
    }
}

}  // namespace tendra::board
