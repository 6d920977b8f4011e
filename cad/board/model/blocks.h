// Block references and dimensions resolved into what they show: the block's
// entities moved, scaled, rotated and repeated into drawing coordinates,
// nested references resolved to any depth, with ByBlock colours and layer 0
// taken from the reference.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "cad/board/model/drawing.h"

namespace tendra::board {

// x' = xx·x + xy·y + dx, y' = yx·x + yy·y + dy.
struct Transform {
    double xx = 1, xy = 0, yx = 0, yy = 1, dx = 0, dy = 0;

    Vec2 apply(Vec2 p) const { return {xx * p.x + xy * p.y + dx, yx * p.x + yy * p.y + dy}; }
    Vec2 applyVector(Vec2 v) const { return {xx * v.x + xy * v.y, yx * v.x + yy * v.y}; }
    double determinant() const { return xx * yy - xy * yx; }
    // This transform first, then outer.
    Transform then(const Transform& outer) const;
    // Keeps circles circles: a rotation, mirror and uniform scale.
    bool keepsCircles() const;

    static Transform translation(double x, double y) { return {1, 0, 0, 1, x, y}; }
    static Transform rotation(double degrees);
    static Transform scaling(double x, double y) { return {x, 0, 0, y, 0, 0}; }
};

// Where a block's point lands for one cell of a reference's array: the base
// point moved to the origin, scaled, moved by the cell's row and column,
// rotated, moved to the insertion point.
Transform referenceTransform(const BlockReference& reference, Vec2 base, int column, int row);

// An entity of one of the plain kinds (not a reference or dimension) under a
// transform. Curves a transform does not keep circular become ellipses.
Entity transformed(const Entity& entity, const Transform& transform);

using BlockLookup = std::function<const Block*(const std::string& name)>;

// No reference shows more than this many entities; a larger one (a huge
// array, blocks nesting many copies of each other) shows this many.
inline constexpr std::size_t kMaxPartsPerReference = 250000;
// Nesting deeper than this is taken as a loop and not followed.
inline constexpr int kMaxBlockDepth = 64;

// The parts of a reference or dimension owned by the entity given (its
// layer and colour stand for ByBlock); other kinds have none.
std::vector<Entity> resolveParts(const Entity& owner, const BlockLookup& blocks);

}  // namespace tendra::board
