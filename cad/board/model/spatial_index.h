// A uniform grid over the drawing for the view's queries: snap points
// (vertices, end points, points) and entities by the box selections take
// them by (a text's by its rectangle).
// Cells are stored as sorted buckets (one offsets array, one items array),
// built in one pass; entities added later go to a short list that is
// scanned directly until it is large enough to be worth a rebuild.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "cad/board/model/drawing.h"

namespace tendra::board {

class SpatialIndex {
  public:
    explicit SpatialIndex(const std::vector<Entity>& entities);

    // The entity at this position of the drawing was just added.
    void added(const std::vector<Entity>& entities, std::size_t position);

    std::optional<Snap> snap(const std::vector<Entity>& entities, Vec2 at, double radius) const;
    std::optional<std::size_t> pick(const std::vector<Entity>& entities, Vec2 at,
                                    double radius) const;
    // Positions of entities whose box meets this box, ascending; texts only
    // withText.
    std::vector<std::size_t> candidates(const Box& box, bool withText) const;
    // The box selections take the entity at this position by.
    const Box& boxAt(std::size_t position) const { return boxes_[position]; }

  private:
    struct SnapItem {
        double x;
        double y;
        std::uint32_t position;
        std::uint32_t vertex;
        SnapKind kind;
    };
    struct Cells {
        int firstX, firstY, lastX, lastY;
    };

    void build(const std::vector<Entity>& entities);
    static void collectSnapItems(const Entity& entity, std::uint32_t position,
                                 std::vector<SnapItem>& into);
    static void collectPartSnapItems(const std::vector<Entity>& parts, std::uint32_t position,
                                     std::vector<SnapItem>& into);
    int column(double x) const;
    int row(double y) const;
    Cells cellsOf(const Box& box) const;
    std::size_t cellCount(const Cells& cells) const;
    bool isLarge(const Cells& cells) const;

    // Grid geometry.
    Vec2 origin_;
    double cellSize_ = 1;
    int columns_ = 1;
    int rows_ = 1;

    // Snap points by cell, and those added since the last build.
    std::vector<std::uint32_t> snapStart_;
    std::vector<SnapItem> snapItems_;
    std::vector<SnapItem> snapPending_;

    // Entities by cell (positions in the drawing), those whose box spans too
    // many cells, and those added since the last build.
    std::vector<std::uint32_t> entityStart_;
    std::vector<std::uint32_t> entityItems_;
    std::vector<Box> boxes_;    // by position
    std::vector<bool> isText_;  // by position
    std::vector<std::uint32_t> large_;
    std::vector<std::uint32_t> entityPending_;
    std::size_t builtFor_ = 0;
};

}  // namespace tendra::board
