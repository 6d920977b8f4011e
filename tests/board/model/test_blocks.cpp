// Block references and dimensions: where a block's points land, what a
// reference passes on to its parts, guards against runaway nesting, and how
// the queries see a reference as one entity.
#include <gtest/gtest.h>

#include <cmath>

#include "cad/board/model/blocks.h"
#include "cad/board/model/drawing.h"

namespace tendra::board {
namespace {

Entity lineEntity(Vec2 a, Vec2 b, const std::string& layer = "0", int color = kColorByLayer) {
    return Entity{0, layer, color, Line{{a.x, a.y, 0}, {b.x, b.y, 0}}};
}

Entity referenceEntity(const std::string& block, Vec2 at, Vec2 scale = {1, 1}, double rotation = 0,
                       int color = kColorByLayer) {
    BlockReference ref;
    ref.block = block;
    ref.at = {at.x, at.y, 0};
    ref.scale = scale;
    ref.rotation = rotation;
    return Entity{0, "0", color, ref};
}

const std::vector<Entity>& partsOf(const Drawing& drawing, EntityId id) {
    return std::get<BlockReference>(drawing.entity(id).geometry).parts;
}

Vec2 firstLineStart(const std::vector<Entity>& parts) {
    const auto& line = std::get<Line>(parts.at(0).geometry);
    return {line.start[0], line.start[1]};
}

void expectNear(Vec2 actual, Vec2 expected, const char* row) {
    EXPECT_NEAR(actual.x, expected.x, 1e-9) << row;
    EXPECT_NEAR(actual.y, expected.y, 1e-9) << row;
}

// Worked out by hand: the block's point (1, 1) about a base point, through
// scale, array cell, rotation and insertion point.
TEST(BlockTransformTest, PointThroughOneReference) {
    struct Row {
        const char* name;
        Vec2 base;
        Vec2 at;
        Vec2 scale;
        double rotation;
        int column, row;
        Vec2 spacing;
        Vec2 expected;
    };
    const Row rows[] = {
        {"moved by the insertion point", {0, 0}, {10, 20}, {1, 1}, 0, 0, 0, {0, 0}, {11, 21}},
        {"base point lands on the insertion point",
         {1, 1},
         {10, 20},
         {1, 1},
         0,
         0,
         0,
         {0, 0},
         {10, 20}},
        {"rotated a quarter turn", {0, 0}, {10, 20}, {1, 1}, 90, 0, 0, {0, 0}, {9, 21}},
        {"negative X scale mirrors", {0, 0}, {10, 20}, {-1, 1}, 0, 0, 0, {0, 0}, {9, 21}},
        {"uneven scale", {0, 0}, {10, 20}, {2, 3}, 0, 0, 0, {0, 0}, {12, 23}},
        {"scale about the base point", {2, 0}, {0, 0}, {2, 2}, 0, 0, 0, {0, 0}, {-2, 2}},
        {"array cell, unrotated", {0, 0}, {0, 0}, {1, 1}, 0, 2, 1, {5, 7}, {11, 8}},
        {"array cell turns with the rotation", {0, 0}, {0, 0}, {1, 1}, 90, 1, 1, {5, 7}, {-8, 6}},
        {"spacing is not scaled", {0, 0}, {0, 0}, {2, 2}, 0, 1, 0, {5, 7}, {7, 2}},
    };
    for (const Row& row : rows) {
        BlockReference ref;
        ref.at = {row.at.x, row.at.y, 0};
        ref.scale = row.scale;
        ref.rotation = row.rotation;
        ref.columnSpacing = row.spacing.x;
        ref.rowSpacing = row.spacing.y;
        const Transform t = referenceTransform(ref, row.base, row.column, row.row);
        expectNear(t.apply({1, 1}), row.expected, row.name);
    }
}

// Three blocks deep: OUTER holds MIDDLE at (100, 0) turned 90°, MIDDLE holds
// INNER at (10, 0) scaled 2, INNER's line starts at (1, 0).
TEST(BlockTransformTest, PointThroughNestedReferences) {
    struct Row {
        const char* name;
        Vec2 at;
        Vec2 scale;
        double rotation;
        Vec2 expected;
    };
    const Row rows[] = {
        {"outer at the origin", {0, 0}, {1, 1}, 0, {100, 12}},
        {"outer moved", {5, 5}, {1, 1}, 0, {105, 17}},
        {"outer mirrored", {0, 0}, {-1, 1}, 0, {-100, 12}},
        {"outer turned back", {0, 0}, {1, 1}, -90, {12, -100}},
    };
    for (const Row& row : rows) {
        Drawing drawing;
        drawing.defineBlock({"INNER", {0, 0}, {lineEntity({1, 0}, {2, 0})}});
        drawing.defineBlock({"MIDDLE", {0, 0}, {referenceEntity("INNER", {10, 0}, {2, 2})}});
        drawing.defineBlock({"OUTER", {0, 0}, {referenceEntity("MIDDLE", {100, 0}, {1, 1}, 90)}});
        const Entity top = referenceEntity("OUTER", row.at, row.scale, row.rotation);
        const EntityId id = drawing.add(top.geometry);
        expectNear(firstLineStart(partsOf(drawing, id)), row.expected, row.name);
    }
}

TEST(BlockTransformTest, CurvesUnderMirrorAndUnevenScale) {
    Drawing drawing;
    drawing.defineBlock({"ARC", {0, 0}, {Entity{0, "0", kColorByLayer, Arc{{0, 0, 0}, 1, 0, 90}}}});
    drawing.defineBlock({"CIRCLE", {0, 0}, {Entity{0, "0", kColorByLayer, Circle{{0, 0, 0}, 1}}}});

    // Mirrored in X, the quarter from 0° to 90° becomes the one from 90° to 180°.
    const auto& mirrored =
        partsOf(drawing, drawing.add(referenceEntity("ARC", {0, 0}, {-1, 1}).geometry));
    const auto& arc = std::get<Arc>(mirrored.at(0).geometry);
    EXPECT_NEAR(arc.startAngle, 90, 1e-9);
    EXPECT_NEAR(arc.endAngle, 180, 1e-9);

    // Scaled 2 by 1, a circle becomes an ellipse with those half axes.
    const auto& stretched =
        partsOf(drawing, drawing.add(referenceEntity("CIRCLE", {5, 0}, {2, 1}).geometry));
    const auto& ellipse = std::get<Ellipse>(stretched.at(0).geometry);
    EXPECT_NEAR(ellipse.center[0], 5, 1e-9);
    EXPECT_NEAR(std::hypot(ellipse.major.x, ellipse.major.y), 2, 1e-9);
    EXPECT_NEAR(std::hypot(ellipse.minor.x, ellipse.minor.y), 1, 1e-9);
}

// What a part shows in: its own layer and colour, or the reference's where
// it has layer 0 or ByBlock.
TEST(BlockPartsTest, ByBlockAndLayerZeroComeFromTheReference) {
    struct Row {
        const char* name;
        std::string partLayer;
        int partColor;
        std::string expectedLayer;
        int expectedColor;
    };
    const Row rows[] = {
        {"ByBlock takes the reference's colour", "A", kColorByBlock, "A", 5},
        {"own colour stays", "A", 3, "A", 3},
        {"layer 0 takes the reference's layer", "0", 3, "REF", 3},
        {"ByLayer on layer 0 shows the reference's layer", "0", kColorByLayer, "REF",
         kColorByLayer},
    };
    for (const Row& row : rows) {
        Drawing drawing;
        drawing.defineBlock(
            {"B", {0, 0}, {lineEntity({0, 0}, {1, 0}, row.partLayer, row.partColor)}});
        const EntityId id = drawing.add(referenceEntity("B", {0, 0}).geometry, "REF", 5);
        const Entity& part = partsOf(drawing, id).at(0);
        EXPECT_EQ(part.layer, row.expectedLayer) << row.name;
        EXPECT_EQ(part.color, row.expectedColor) << row.name;
        EXPECT_EQ(part.id, id) << row.name;
    }
}

TEST(BlockPartsTest, ByBlockPassesThroughNestedReferences) {
    Drawing drawing;
    drawing.defineBlock({"LEAF", {0, 0}, {lineEntity({0, 0}, {1, 0}, "0", kColorByBlock)}});
    drawing.defineBlock(
        {"MID", {0, 0}, {referenceEntity("LEAF", {0, 0}, {1, 1}, 0, kColorByBlock)}});
    const EntityId id = drawing.add(referenceEntity("MID", {0, 0}).geometry, "0", 4);
    EXPECT_EQ(partsOf(drawing, id).at(0).color, 4);
}

TEST(BlockPartsTest, RunawayNestingStops) {
    struct Row {
        const char* name;
        std::vector<Block> blocks;
        std::string inserted;
        std::size_t expectedParts;
    };
    BlockReference huge;
    huge.block = "DOT";
    huge.columns = 2000;
    huge.rows = 2000;
    const Row rows[] = {
        {"a block that inserts itself",
         {{"SELF", {0, 0}, {lineEntity({0, 0}, {1, 0}), referenceEntity("SELF", {5, 0})}}},
         "SELF",
         1},
        {"two blocks that insert each other",
         {{"A", {0, 0}, {lineEntity({0, 0}, {1, 0}), referenceEntity("B", {5, 0})}},
          {"B", {0, 0}, {lineEntity({0, 0}, {1, 0}), referenceEntity("A", {5, 0})}}},
         "A",
         2},
        {"a missing block shows nothing", {}, "NOWHERE", 0},
        {"a huge array stops at the limit",
         {{"DOT", {0, 0}, {lineEntity({0, 0}, {1, 0})}},
          {"ARRAY", {0, 0}, {Entity{0, "0", kColorByLayer, huge}}}},
         "ARRAY",
         kMaxPartsPerReference},
    };
    for (const Row& row : rows) {
        Drawing drawing;
        for (const Block& block : row.blocks) {
            drawing.defineBlock(block);
        }
        const EntityId id = drawing.add(referenceEntity(row.inserted, {0, 0}).geometry);
        EXPECT_EQ(partsOf(drawing, id).size(), row.expectedParts) << row.name;
    }
}

// A reference is one entity to pick, select and snap to; a 10 × 10 square
// block is inserted at (100, 100), beside a line of its own.
TEST(BlockQueryTest, ReferenceIsPickedAndSelectedAsAWhole) {
    Drawing drawing;
    LightweightPolyline square;
    square.vertices = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    square.closed = true;
    drawing.defineBlock({"SQUARE", {0, 0}, {Entity{0, "0", kColorByLayer, square}}});
    const EntityId reference = drawing.add(referenceEntity("SQUARE", {100, 100}).geometry);
    const EntityId line = drawing.add(Line{{0, 0, 0}, {50, 0, 0}});
    EXPECT_EQ(drawing.entity(reference).entityType(), entity_kind::kBlockReference);

    struct Row {
        const char* name;
        Box box;
        std::vector<EntityId> window;
        std::vector<EntityId> crossing;
    };
    const Row rows[] = {
        {"around the whole block", {{95, 95}, {115, 115}}, {reference}, {reference}},
        {"over half the block", {{95, 95}, {105, 115}}, {}, {reference}},
        {"inside the square, touching no edge", {{102, 102}, {108, 108}}, {}, {}},
        {"around everything", {{-1, -1}, {120, 120}}, {reference, line}, {reference, line}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(drawing.window(row.box), row.window) << row.name;
        EXPECT_EQ(drawing.crossing(row.box), row.crossing) << row.name;
    }

    EXPECT_EQ(drawing.pick({100.5, 105}, 1), reference);
    EXPECT_EQ(drawing.pick({105, 105}, 1), std::nullopt);
    const auto snap = drawing.snap({109.5, 110.2}, 1);
    ASSERT_TRUE(snap);
    EXPECT_EQ(snap->entity, reference);
    EXPECT_EQ(snap->at, (Vec2{110, 110}));
    EXPECT_EQ(snap->vertex, 2);
}

TEST(BlockQueryTest, DimensionsAreOneEntityOfTheirKind) {
    struct Row {
        int kind;
        int entityType;
    };
    const Row rows[] = {
        {0, entity_kind::kDimensionRotated},  {1, entity_kind::kDimensionAligned},
        {2, entity_kind::kDimensionAngular},  {3, entity_kind::kDimensionDiametric},
        {4, entity_kind::kDimensionRadial},   {5, entity_kind::kDimension3PointAngular},
        {6, entity_kind::kDimensionOrdinate},
    };
    for (const Row& row : rows) {
        Drawing drawing;
        drawing.defineBlock(
            {"*D1", {0, 0}, {lineEntity({0, 0}, {10, 0}), lineEntity({0, 0}, {0, 5})}});
        Dimension dim;
        dim.block = "*D1";
        dim.kind = row.kind;
        const EntityId id = drawing.add(dim);
        EXPECT_EQ(drawing.entity(id).entityType(), row.entityType) << row.kind;
        EXPECT_EQ(drawing.pick({5, 0.1}, 0.5), id) << row.kind;
        EXPECT_EQ(drawing.window({{-1, -1}, {11, 6}}), std::vector<EntityId>{id}) << row.kind;
    }
}

}  // namespace
}  // namespace tendra::board
