#include "cad/board/model/blocks.h"

#include <cmath>
#include <numbers>
#include <set>
#include <type_traits>

#include "cad/board/model/geometry.h"

namespace tendra::board {

namespace {

constexpr double kRadiansPerDegree = std::numbers::pi / 180;

Vec2 flat(const cad::Point& p) {
    return {p[0], p[1]};
}

cad::Point mapped(const Transform& t, const cad::Point& p) {
    const Vec2 v = t.apply(flat(p));
    return {v.x, v.y, p[2]};
}

double length(Vec2 v) {
    return std::hypot(v.x, v.y);
}

double angleOf(Vec2 v) {
    return std::atan2(v.y, v.x);
}

// A text's direction, height and (for MTEXT) width under the transform.
template <typename TextLike>
void mapText(TextLike& text, const Transform& t) {
    const double angle = text.angle * kRadiansPerDegree;
    const Vec2 along = t.applyVector({std::cos(angle), std::sin(angle)});
    const double stretch = length(along);
    text.angle = angleOf(along) / kRadiansPerDegree;
    if (stretch > 0) {
        text.height *= std::abs(t.determinant()) / stretch;
    }
    text.at = mapped(t, text.at);
    if constexpr (std::is_same_v<TextLike, MText>) {
        text.width *= stretch;
    } else {
        text.alignAt = mapped(t, text.alignAt);
    }
}

Ellipse ellipseOfArc(const cad::Point& center, double radius, double start, double end) {
    Ellipse ellipse;
    ellipse.center = center;
    ellipse.major = {radius, 0};
    ellipse.minor = {0, radius};
    ellipse.startParameter = start;
    ellipse.endParameter = end;
    return ellipse;
}

Geometry mapGeometry(const Geometry& geometry, const Transform& t) {
    const bool circles = t.keepsCircles();
    const bool mirrored = t.determinant() < 0;
    const double scale = std::sqrt(std::abs(t.determinant()));
    auto mapPoints = [&](std::vector<Vec2>& points) {
        for (Vec2& p : points) {
            p = t.apply(p);
        }
    };
    auto mapEllipse = [&](Ellipse e) {
        e.center = mapped(t, e.center);
        e.major = t.applyVector(e.major);
        e.minor = t.applyVector(e.minor);
        return e;
    };
    auto mapShape = [&](auto shape) {
        if (circles) {
            for (PolylineVertex& v : shape.vertices) {
                const Vec2 p = t.apply({v.x, v.y});
                v = {p.x, p.y, mirrored ? -v.bulge : v.bulge};
            }
            return shape;
        }
        // Bulges do not survive an uneven scale: their arcs become straight pieces.
        auto straight = shape;
        straight.vertices.clear();
        for (Vec2 p : flattenedOutline(shape)) {
            const Vec2 q = t.apply(p);
            straight.vertices.push_back({q.x, q.y, 0});
        }
        if (shape.closed && straight.vertices.size() > 1) {
            straight.vertices.pop_back();
        }
        return straight;
    };
    return std::visit(
        [&](const auto& g) -> Geometry {
            using G = std::decay_t<decltype(g)>;
            G copy = g;
            if constexpr (std::is_same_v<G, Line>) {
                copy.start = mapped(t, g.start);
                copy.end = mapped(t, g.end);
            } else if constexpr (std::is_same_v<G, Arc>) {
                // Parts are drawn from above: a mirrored arc first becomes its plan.
                const Arc plan = arcInPlan(g);
                const double start = plan.startAngle * kRadiansPerDegree;
                double sweep = std::fmod(plan.endAngle - plan.startAngle, 360.0);
                if (!(sweep > 0)) {
                    sweep += 360;
                }
                if (!circles) {
                    return mapEllipse(ellipseOfArc(plan.center, plan.radius, start,
                                                   start + sweep * kRadiansPerDegree));
                }
                const double a1 = angleOf(t.applyVector({std::cos(start), std::sin(start)}));
                const double end = start + sweep * kRadiansPerDegree;
                const double a2 = angleOf(t.applyVector({std::cos(end), std::sin(end)}));
                copy = plan;
                copy.center = mapped(t, plan.center);
                copy.radius = g.radius * scale;
                // A mirror turns the arc clockwise: it now runs from its old end.
                copy.startAngle = (mirrored ? a2 : a1) / kRadiansPerDegree;
                copy.endAngle = (mirrored ? a1 : a2) / kRadiansPerDegree;
                if (sweep >= 360) {
                    copy.endAngle = copy.startAngle + 360;
                }
            } else if constexpr (std::is_same_v<G, Circle>) {
                if (!circles) {
                    return mapEllipse(ellipseOfArc(g.center, g.radius, 0, 2 * std::numbers::pi));
                }
                copy.center = mapped(t, g.center);
                copy.radius = g.radius * scale;
            } else if constexpr (std::is_same_v<G, LightweightPolyline> ||
                                 std::is_same_v<G, Polyline2d> || std::is_same_v<G, Polyline3d>) {
                return mapShape(g);
            } else if constexpr (std::is_same_v<G, PointEntity>) {
                copy.at = mapped(t, g.at);
            } else if constexpr (std::is_same_v<G, Text> || std::is_same_v<G, MText>) {
                mapText(copy, t);
            } else if constexpr (std::is_same_v<G, Ellipse>) {
                return mapEllipse(g);
            } else if constexpr (std::is_same_v<G, Spline>) {
                mapPoints(copy.controlPoints);
                mapPoints(copy.fitPoints);
                mapPoints(copy.shown);
            } else if constexpr (std::is_same_v<G, Solid>) {
                for (Vec2& corner : copy.corners) {
                    corner = t.apply(corner);
                }
            } else if constexpr (std::is_same_v<G, Hatch>) {
                for (auto& loop : copy.loops) {
                    mapPoints(loop);
                }
            } else if constexpr (std::is_same_v<G, Leader>) {
                mapPoints(copy.vertices);
            } else if constexpr (std::is_same_v<G, BlockReference>) {
                // Only reached for an attribute-less shell; parts are mapped one by one.
                copy.at = mapped(t, g.at);
                copy.parts.clear();
            } else if constexpr (std::is_same_v<G, Dimension>) {
                copy.definitionPoint = mapped(t, g.definitionPoint);
                copy.textPoint = mapped(t, g.textPoint);
                copy.parts.clear();
            }
            return copy;
        },
        geometry);
}

class Resolver {
  public:
    explicit Resolver(const BlockLookup& blocks) : blocks_(blocks) {}

    void reference(const BlockReference& ref, const Transform& outer, const Entity& owner,
                   int depth) {
        const Block* block = enter(ref.block, depth);
        if (!block) {
            return;
        }
        const int columns = std::max(1, ref.columns);
        const int rows = std::max(1, ref.rows);
        for (int row = 0; row < rows && !full(); ++row) {
            for (int column = 0; column < columns && !full(); ++column) {
                const Transform t = referenceTransform(ref, block->base, column, row).then(outer);
                entities(*block, t, owner, depth);
            }
        }
        leave(ref.block);
        for (const Attribute& attribute : ref.attributes) {
            if (!full()) {
                Entity part = inherit(owner, owner.layer, owner.color);
                part.geometry = mapGeometry(Text(attribute), outer);
                parts_.push_back(std::move(part));
            }
        }
    }

    void dimension(const Dimension& dim, const Transform& outer, const Entity& owner, int depth) {
        const Block* block = enter(dim.block, depth);
        if (!block) {
            return;
        }
        // A dimension's block holds drawing coordinates already.
        entities(*block, outer, owner, depth);
        leave(dim.block);
    }

    std::vector<Entity> take() { return std::move(parts_); }

  private:
    const Block* enter(const std::string& name, int depth) {
        if (depth >= kMaxBlockDepth || open_.count(name) || full()) {
            return nullptr;
        }
        const Block* block = blocks_(name);
        if (block) {
            open_.insert(name);
        }
        return block;
    }

    void leave(const std::string& name) { open_.erase(name); }

    bool full() const { return parts_.size() >= kMaxPartsPerReference; }

    // A part as its owner passes it on: layer 0 and ByBlock take the owner's.
    static Entity inherit(const Entity& owner, const std::string& layer, int color) {
        Entity part;
        part.id = owner.id;
        part.layer = layer == "0" ? owner.layer : layer;
        part.color = color == kColorByBlock ? owner.color : color;
        if (color == kColorByBlock && owner.color == kColorByLayer) {
            part.layer = owner.layer;
        }
        return part;
    }

    void entities(const Block& block, const Transform& t, const Entity& owner, int depth) {
        for (const Entity& entity : block.entities) {
            if (full()) {
                return;
            }
            Entity holder = inherit(owner, entity.layer, entity.color);
            if (const auto* nested = std::get_if<BlockReference>(&entity.geometry)) {
                reference(*nested, t, holder, depth + 1);
            } else if (const auto* dim = std::get_if<Dimension>(&entity.geometry)) {
                dimension(*dim, t, holder, depth + 1);
            } else {
                holder.geometry = mapGeometry(entity.geometry, t);
                parts_.push_back(std::move(holder));
            }
        }
    }

    const BlockLookup& blocks_;
    std::set<std::string> open_;
    std::vector<Entity> parts_;
};

}  // namespace

Transform Transform::then(const Transform& o) const {
    return {o.xx * xx + o.xy * yx, o.xx * xy + o.xy * yy,        o.yx * xx + o.yy * yx,
            o.yx * xy + o.yy * yy, o.xx * dx + o.xy * dy + o.dx, o.yx * dx + o.yy * dy + o.dy};
}

bool Transform::keepsCircles() const {
    const double columnX = xx * xx + yx * yx;
    const double columnY = xy * xy + yy * yy;
    const double tolerance = 1e-9 * std::max(columnX, columnY);
    return std::abs(columnX - columnY) <= tolerance && std::abs(xx * xy + yx * yy) <= tolerance;
}

Transform Transform::rotation(double degrees) {
    const double radians = degrees * kRadiansPerDegree;
    const double c = std::cos(radians);
    const double s = std::sin(radians);
    return {c, -s, s, c, 0, 0};
}

Transform referenceTransform(const BlockReference& ref, Vec2 base, int column, int row) {
    const double sx = std::isfinite(ref.scale.x) ? ref.scale.x : 1;
    const double sy = std::isfinite(ref.scale.y) ? ref.scale.y : 1;
    const double angle = std::isfinite(ref.rotation) ? ref.rotation : 0;
    const double cellX = std::isfinite(ref.columnSpacing) ? column * ref.columnSpacing : 0;
    const double cellY = std::isfinite(ref.rowSpacing) ? row * ref.rowSpacing : 0;
    return Transform::translation(-base.x, -base.y)
        .then(Transform::scaling(sx, sy))
        .then(Transform::translation(cellX, cellY))
        .then(Transform::rotation(angle))
        .then(Transform::translation(ref.at[0], ref.at[1]));
}

Entity transformed(const Entity& entity, const Transform& transform) {
    Entity result;
    result.id = entity.id;
    result.layer = entity.layer;
    result.color = entity.color;
    result.geometry = mapGeometry(entity.geometry, transform);
    return result;
}

std::vector<Entity> resolveParts(const Entity& owner, const BlockLookup& blocks) {
    Resolver resolver(blocks);
    if (const auto* ref = std::get_if<BlockReference>(&owner.geometry)) {
        resolver.reference(*ref, Transform{}, owner, 0);
    } else if (const auto* dim = std::get_if<Dimension>(&owner.geometry)) {
        resolver.dimension(*dim, Transform{}, owner, 0);
    }
    return resolver.take();
}

}  // namespace tendra::board
