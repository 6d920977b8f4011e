#include "cad/board/model/spatial_index.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "cad/board/model/geometry.h"

namespace tendra::board {

namespace {

// About two snap points a cell keeps both the cell walk and the scan short.
constexpr double kItemsPerCell = 2;
constexpr int kMaxCellsPerAxis = 4096;
// An entity whose box spans more cells than this is checked on every query
// rather than filed in every cell it spans.
constexpr std::size_t kMaxCellsPerEntity = 64;
// Entities added since the last build are scanned directly until there are
// this many, or an eighth of the built ones.
constexpr std::size_t kMinPendingBeforeRebuild = 1024;

bool isFinite(const Box& box) {
    return std::isfinite(box.min.x) && std::isfinite(box.min.y) && std::isfinite(box.max.x) &&
           std::isfinite(box.max.y);
}

bool overlaps(const Box& a, const Box& b) {
    return a.min.x <= b.max.x && b.min.x <= a.max.x && a.min.y <= b.max.y && b.min.y <= a.max.y;
}

// Clamped, and safe for NaN and infinities.
int cellIndex(double offset, int count) {
    if (!(offset >= 0)) {
        return 0;
    }
    if (offset >= count - 1) {
        return count - 1;
    }
    return static_cast<int>(offset);
}

// The cells along an axis of this length. A drawing whose size overflows
// (coordinates near the double range) gets the most cells, never an int
// conversion out of range.
int cellsAlong(double length, double size) {
    const double cells = length / size;
    if (!(cells >= 0)) {
        return 1;
    }
    return cells < kMaxCellsPerAxis - 1 ? static_cast<int>(cells) + 1 : kMaxCellsPerAxis;
}

}  // namespace

SpatialIndex::SpatialIndex(const std::vector<Entity>& entities) {
    build(entities);
}

void SpatialIndex::collectSnapItems(const Entity& entity, std::uint32_t position,
                                    std::vector<SnapItem>& into) {
    std::uint32_t index = 0;
    auto put = [&](Vec2 at, SnapKind kind) {
        into.push_back({at.x, at.y, position, index++, kind});
    };
    auto ends = [&](const std::vector<Vec2>& points) {
        if (!points.empty()) {
            put(points.front(), SnapKind::EndPoint);
            put(points.back(), SnapKind::EndPoint);
        }
    };
    auto vertices = [&](const std::vector<Vec2>& points) {
        for (Vec2 point : points) {
            put(point, SnapKind::Vertex);
        }
    };
    const Geometry& g = entity.geometry;
    if (const auto* line = std::get_if<Line>(&g)) {
        put({line->start[0], line->start[1]}, SnapKind::EndPoint);
        put({line->end[0], line->end[1]}, SnapKind::EndPoint);
    } else if (std::holds_alternative<Arc>(g)) {
        forEachPiece(entity, [&](const Piece& arc) {
            put(arc.from, SnapKind::EndPoint);
            put(arc.to, SnapKind::EndPoint);
        });
    } else if (const PolylineShape* shape = entity.polyline()) {
        for (const PolylineVertex& vertex : shape->vertices) {
            put({vertex.x, vertex.y}, SnapKind::Vertex);
        }
    } else if (const auto* point = std::get_if<PointEntity>(&g)) {
        put({point->at[0], point->at[1]}, SnapKind::Point);
    } else if (const auto* ellipse = std::get_if<Ellipse>(&g)) {
        const double sweep =
            std::fmod(ellipse->endParameter - ellipse->startParameter, 6.283185307179586);
        if (sweep > 1e-9 || sweep < -1e-9) {
            ends(ellipsePoints(*ellipse, 4));
        }
    } else if (const auto* spline = std::get_if<Spline>(&g)) {
        ends(spline->shown);
        vertices(spline->fitPoints);
    } else if (const auto* solid = std::get_if<Solid>(&g)) {
        std::vector<Vec2> corners = solidOutline(*solid);
        corners.pop_back();
        vertices(corners);
    } else if (const auto* hatch = std::get_if<Hatch>(&g)) {
        for (const std::vector<Vec2>& loop : hatch->loops) {
            vertices(loop);
        }
    } else if (const auto* leader = std::get_if<Leader>(&g)) {
        vertices(leader->vertices);
    } else if (const auto* reference = std::get_if<BlockReference>(&g)) {
        collectPartSnapItems(reference->parts, position, into);
    } else if (const auto* dimension = std::get_if<Dimension>(&g)) {
        collectPartSnapItems(dimension->parts, position, into);
    }
}

void SpatialIndex::collectPartSnapItems(const std::vector<Entity>& parts, std::uint32_t position,
                                        std::vector<SnapItem>& into) {
    // Snap points inside a reference are numbered through all its parts.
    const std::size_t first = into.size();
    for (const Entity& part : parts) {
        collectSnapItems(part, position, into);
    }
    for (std::size_t i = first; i < into.size(); ++i) {
        into[i].vertex = static_cast<std::uint32_t>(i - first);
    }
}

void SpatialIndex::build(const std::vector<Entity>& entities) {
    boxes_.clear();
    boxes_.reserve(entities.size());
    isText_.assign(entities.size(), false);
    snapItems_.clear();
    snapPending_.clear();
    entityPending_.clear();
    large_.clear();

    std::optional<Box> bounds;
    auto include = [&](const Box& box) {
        if (isFinite(box)) {
            bounds = bounds ? unite(*bounds, box) : box;
        }
    };
    for (std::size_t position = 0; position < entities.size(); ++position) {
        const Entity& entity = entities[position];
        boxes_.push_back(selectionBoxOf(entity));
        isText_[position] = entity.isText();
        collectSnapItems(entity, static_cast<std::uint32_t>(position), snapItems_);
        include(boxes_.back());
    }
    for (const SnapItem& item : snapItems_) {
        include(Box{{item.x, item.y}, {item.x, item.y}});
    }

    // Grid geometry: square cells, about kItemsPerCell items each.
    origin_ = bounds ? bounds->min : Vec2{};
    const double width = bounds ? bounds->width() : 0;
    const double height = bounds ? bounds->height() : 0;
    const double cellsWanted =
        std::max(1.0, static_cast<double>(snapItems_.size() + entities.size()) / kItemsPerCell);
    double size = width > 0 && height > 0 ? std::sqrt(width * height / cellsWanted)
                                          : std::max(width, height) / cellsWanted;
    size = std::max({size, width / (kMaxCellsPerAxis - 1), height / (kMaxCellsPerAxis - 1)});
    if (!(size > 0) || !std::isfinite(size)) {
        size = 1;
    }
    cellSize_ = size;
    columns_ = cellsAlong(width, size);
    rows_ = cellsAlong(height, size);
    const std::size_t cells = static_cast<std::size_t>(columns_) * rows_;

    // Snap points as sorted buckets.
    auto cellOfItem = [&](const SnapItem& item) {
        return static_cast<std::size_t>(row(item.y)) * columns_ + column(item.x);
    };
    snapStart_.assign(cells + 1, 0);
    for (const SnapItem& item : snapItems_) {
        ++snapStart_[cellOfItem(item) + 1];
    }
    for (std::size_t cell = 0; cell < cells; ++cell) {
        snapStart_[cell + 1] += snapStart_[cell];
    }
    {
        std::vector<SnapItem> sorted(snapItems_.size());
        std::vector<std::uint32_t> next(snapStart_.begin(), snapStart_.end() - 1);
        for (const SnapItem& item : snapItems_) {
            sorted[next[cellOfItem(item)]++] = item;
        }
        snapItems_ = std::move(sorted);
    }

    // Selectable entities by the cells their box spans.
    entityStart_.assign(cells + 1, 0);
    for (int pass = 0; pass < 2; ++pass) {
        std::vector<std::uint32_t> next;
        if (pass == 1) {
            for (std::size_t cell = 0; cell < cells; ++cell) {
                entityStart_[cell + 1] += entityStart_[cell];
            }
            entityItems_.assign(entityStart_[cells], 0);
            next.assign(entityStart_.begin(), entityStart_.end() - 1);
        }
        for (std::size_t position = 0; position < entities.size(); ++position) {
            const Cells span = cellsOf(boxes_[position]);
            if (isLarge(span)) {
                if (pass == 0) {
                    large_.push_back(static_cast<std::uint32_t>(position));
                }
                continue;
            }
            for (int y = span.firstY; y <= span.lastY; ++y) {
                for (int x = span.firstX; x <= span.lastX; ++x) {
                    const std::size_t cell = static_cast<std::size_t>(y) * columns_ + x;
                    if (pass == 0) {
                        ++entityStart_[cell + 1];
                    } else {
                        entityItems_[next[cell]++] = static_cast<std::uint32_t>(position);
                    }
                }
            }
        }
    }
    builtFor_ = entities.size();
}

void SpatialIndex::added(const std::vector<Entity>& entities, std::size_t position) {
    const Entity& entity = entities[position];
    boxes_.push_back(selectionBoxOf(entity));
    isText_.push_back(entity.isText());
    collectSnapItems(entity, static_cast<std::uint32_t>(position), snapPending_);
    entityPending_.push_back(static_cast<std::uint32_t>(position));
    const std::size_t limit = std::max(kMinPendingBeforeRebuild, builtFor_ / 8);
    if (snapPending_.size() > limit || entityPending_.size() > limit) {
        build(entities);
    }
}

int SpatialIndex::column(double x) const {
    return cellIndex((x - origin_.x) / cellSize_, columns_);
}

int SpatialIndex::row(double y) const {
    return cellIndex((y - origin_.y) / cellSize_, rows_);
}

SpatialIndex::Cells SpatialIndex::cellsOf(const Box& box) const {
    return {column(box.min.x), row(box.min.y), column(box.max.x), row(box.max.y)};
}

std::size_t SpatialIndex::cellCount(const Cells& cells) const {
    if (cells.lastX < cells.firstX || cells.lastY < cells.firstY) {
        return 0;
    }
    return static_cast<std::size_t>(cells.lastX - cells.firstX + 1) *
           static_cast<std::size_t>(cells.lastY - cells.firstY + 1);
}

bool SpatialIndex::isLarge(const Cells& cells) const {
    return cellCount(cells) > kMaxCellsPerEntity;
}

std::optional<Snap> SpatialIndex::snap(const std::vector<Entity>& entities, Vec2 at,
                                       double radius) const {
    if (!(radius >= 0) || !std::isfinite(at.x) || !std::isfinite(at.y)) {
        return std::nullopt;
    }
    std::optional<Snap> best;
    std::uint32_t bestPosition = 0;
    auto consider = [&](const SnapItem& item) {
        const double d = std::hypot(item.x - at.x, item.y - at.y);
        if (!(d <= radius)) {
            return;
        }
        if (best &&
            (d > best->distance || (d == best->distance &&
                                    (item.position > bestPosition ||
                                     (item.position == bestPosition &&
                                      item.vertex >= static_cast<std::uint32_t>(best->vertex)))))) {
            return;
        }
        best = Snap{{item.x, item.y},
                    entities[item.position].id,
                    static_cast<int>(item.vertex),
                    item.kind,
                    d};
        bestPosition = item.position;
    };

    const Cells span = cellsOf({{at.x - radius, at.y - radius}, {at.x + radius, at.y + radius}});
    if (cellCount(span) >= snapItems_.size()) {
        for (const SnapItem& item : snapItems_) {
            consider(item);
        }
    } else {
        for (int y = span.firstY; y <= span.lastY; ++y) {
            const std::size_t rowStart = static_cast<std::size_t>(y) * columns_;
            const std::uint32_t first = snapStart_[rowStart + span.firstX];
            const std::uint32_t last = snapStart_[rowStart + span.lastX + 1];
            for (std::uint32_t i = first; i < last; ++i) {
                consider(snapItems_[i]);
            }
        }
    }
    for (const SnapItem& item : snapPending_) {
        consider(item);
    }
    return best;
}

std::vector<std::size_t> SpatialIndex::candidates(const Box& box, bool withText) const {
    std::vector<std::size_t> found;
    auto consider = [&](std::uint32_t position) {
        if (overlaps(boxes_[position], box) && (withText || !isText_[position])) {
            found.push_back(position);
        }
    };
    const Cells span = cellsOf(box);
    if (cellCount(span) >= entityItems_.size()) {
        for (std::uint32_t position : entityItems_) {
            consider(position);
        }
    } else {
        for (int y = span.firstY; y <= span.lastY; ++y) {
            const std::size_t rowStart = static_cast<std::size_t>(y) * columns_;
            const std::uint32_t first = entityStart_[rowStart + span.firstX];
            const std::uint32_t last = entityStart_[rowStart + span.lastX + 1];
            for (std::uint32_t i = first; i < last; ++i) {
                consider(entityItems_[i]);
            }
        }
    }
    for (std::uint32_t position : large_) {
        consider(position);
    }
    for (std::uint32_t position : entityPending_) {
        consider(position);
    }
    std::sort(found.begin(), found.end());
    found.erase(std::unique(found.begin(), found.end()), found.end());
    return found;
}

std::optional<std::size_t> SpatialIndex::pick(const std::vector<Entity>& entities, Vec2 at,
                                              double radius) const {
    if (!(radius >= 0) || !std::isfinite(at.x) || !std::isfinite(at.y)) {
        return std::nullopt;
    }
    std::optional<std::size_t> best;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t position :
         candidates({{at.x - radius, at.y - radius}, {at.x + radius, at.y + radius}}, true)) {
        const double d = distanceTo(entities[position], at);
        // Later entities are drawn on top, so they win ties.
        if (d <= radius && d <= bestDistance) {
            best = position;
            bestDistance = d;
        }
    }
    return best;
}

}  // namespace tendra::board
