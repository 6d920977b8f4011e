// Snapping, the pick box, and window and crossing selection.
#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <random>

#include "cad/board/model/drawing.h"
#include "cad/board/model/geometry.h"

namespace tendra::board {
namespace {

LightweightPolyline polyline(std::vector<PolylineVertex> vertices) {
    LightweightPolyline shape;
    shape.vertices = std::move(vertices);
    return shape;
}

// One of each kind, spread out so that each row below meets only what it means to.
struct Scene {
    Drawing drawing;
    EntityId line = drawing.add(Line{{0, 0, 0}, {100, 0, 0}});
    EntityId arc = drawing.add(Arc{{200, 0, 0}, 50, 0, 90});  // ends (250,0), (200,50)
    EntityId tendon = drawing.add(polyline({{300, 0, 1}, {400, 0, 0}, {500, 100, 0}}));
    EntityId point = drawing.addPoint(600, 0);
    EntityId circle = drawing.add(Circle{{800, 0, 0}, 50});
    EntityId text = drawing.add(Text{{900, 0, 0}, 10, 0, "钢束N1"});
    EntityId twin = drawing.addPoint(1000, 10);
    EntityId twin2 = drawing.addPoint(1000, -10);
};

TEST(SnapTest, NearestVertexEndPointOrPoint) {
    Scene scene;
    struct Row {
        const char* name;
        Vec2 at;
        double radius;
        std::optional<Snap> expected;
    };
    const Row rows[] = {
        {"polyline vertex", {401, 1}, 5, Snap{{400, 0}, scene.tendon, 1, SnapKind::Vertex}},
        {"line end point", {98, 2}, 5, Snap{{100, 0}, scene.line, 1, SnapKind::EndPoint}},
        {"arc end point", {201, 49}, 5, Snap{{200, 50}, scene.arc, 1, SnapKind::EndPoint}},
        {"point entity", {603, 0}, 5, Snap{{600, 0}, scene.point, 0, SnapKind::Point}},
        {"exactly at the radius", {600, 4}, 4, Snap{{600, 0}, scene.point, 0, SnapKind::Point}},
        {"just outside the radius", {600, 4.001}, 4, std::nullopt},
        {"the nearer of two", {99, 0}, 200, Snap{{100, 0}, scene.line, 1, SnapKind::EndPoint}},
        {"a tie goes to the entity added first",
         {1000, 0},
         10,
         Snap{{1000, 10}, scene.twin, 0, SnapKind::Point}},
        {"circle centres do not snap", {800, 0}, 5, std::nullopt},
        {"text does not snap", {900, 0}, 5, std::nullopt},
        {"middle of a segment does not snap", {50, 0}, 5, std::nullopt},
        {"negative radius", {600, 0}, -1, std::nullopt},
    };
    for (const Row& row : rows) {
        const auto snap = scene.drawing.snap(row.at, row.radius);
        ASSERT_EQ(snap.has_value(), row.expected.has_value()) << row.name;
        if (!snap) {
            continue;
        }
        EXPECT_EQ(snap->at, row.expected->at) << row.name;
        EXPECT_EQ(snap->entity, row.expected->entity) << row.name;
        EXPECT_EQ(snap->vertex, row.expected->vertex) << row.name;
        EXPECT_EQ(snap->kind, row.expected->kind) << row.name;
        EXPECT_NEAR(snap->distance, distance(row.at, snap->at), 1e-12) << row.name;
    }
}

TEST(SnapTest, PointsAddedAfterTheFirstQuerySnap) {
    Scene scene;
    ASSERT_FALSE(scene.drawing.snap({5000, 5000}, 1));
    const EntityId far = scene.drawing.addPoint(5000, 5000);
    const EntityId inside = scene.drawing.addPoint(50, 50);
    EXPECT_EQ(scene.drawing.snap({5000, 5000.5}, 1)->entity, far);
    EXPECT_EQ(scene.drawing.snap({50, 50}, 1)->entity, inside);
    // Enough points to make the index rebuild itself on the way.
    std::vector<EntityId> markers;
    for (int i = 0; i < 5000; ++i) {
        markers.push_back(scene.drawing.addPoint(-10000 - i * 3.0, 7));
    }
    for (int i = 0; i < 5000; i += 499) {
        EXPECT_EQ(scene.drawing.snap({-10000 - i * 3.0, 7.5}, 1)->entity, markers[i]) << i;
    }
    EXPECT_EQ(scene.drawing.snap({5000, 5000}, 1)->entity, far);
}

// The index must give what a scan of every snap point gives.
TEST(SnapTest, AgreesWithALinearScan) {
    std::mt19937 random(20240601);
    std::uniform_real_distribution<double> coordinate(-50000, 50000);
    Drawing drawing;
    std::vector<std::pair<Vec2, EntityId>> snapPoints;
    for (int i = 0; i < 3000; ++i) {
        const double x = coordinate(random);
        const double y = coordinate(random);
        const EntityId id =
            drawing.add(polyline({{x, y, 0}, {x + 100, y, 0.3}, {x + 100, y + 60, 0}}));
        snapPoints.push_back({{x, y}, id});
        snapPoints.push_back({{x + 100, y}, id});
        snapPoints.push_back({{x + 100, y + 60}, id});
    }
    // Clustered points too, so that some cells hold many.
    for (int i = 0; i < 2000; ++i) {
        const double x = 777 + (i % 50) * 0.01;
        const double y = 333 + (i / 50) * 0.01;
        snapPoints.push_back({{x, y}, drawing.addPoint(x, y)});
    }
    std::uniform_real_distribution<double> radius(0, 3000);
    for (int query = 0; query < 1500; ++query) {
        const Vec2 at =
            query % 5 == 0 ? Vec2{777.2, 333.1} : Vec2{coordinate(random), coordinate(random)};
        const double r = query % 100 == 0 ? 1e6 : radius(random);
        std::optional<std::pair<double, EntityId>> nearest;
        for (const auto& [where, id] : snapPoints) {
            const double d = distance(at, where);
            if (d <= r && (!nearest || d < nearest->first)) {
                nearest = std::pair{d, id};
            }
        }
        const auto snap = drawing.snap(at, r);
        ASSERT_EQ(snap.has_value(), nearest.has_value()) << query;
        if (snap) {
            EXPECT_DOUBLE_EQ(snap->distance, nearest->first) << query;
        }
    }
}

TEST(PickTest, NearestOutlineByTrueDistance) {
    Scene scene;
    struct Row {
        const char* name;
        Vec2 at;
        double radius;
        std::optional<EntityId> expected;
    };
    const Row rows[] = {
        {"middle of a line", {50, 3}, 5, scene.line},
        {"beyond a line's end", {106, 0}, 5, std::nullopt},
        {"on an arc", {200 + 50 * std::cos(0.7), 50 * std::sin(0.7) + 2}, 5, scene.arc},
        {"on the arc's circle but off its sweep", {150, 0}, 5, std::nullopt},
        {"bulge: far from the chord, on the arc", {350, -49}, 3, scene.tendon},
        {"bulge: on the chord, far from the arc", {350, 0}, 3, std::nullopt},
        {"circle outline", {850, 1}, 3, scene.circle},
        {"circle centre is not on it", {800, 0}, 3, std::nullopt},
        {"point", {601, 1}, 3, scene.point},
        // "钢束N1" at height 10: x 900 to 932, y -2.5 to 10.
        {"text at its insertion point", {900, 0}, 20, scene.text},
        {"text inside its characters, away from its insertion point", {925, 6}, 1, scene.text},
        {"text: beyond its last character", {940, 5}, 3, std::nullopt},
        {"a tie goes to the entity drawn on top", {1000, 0}, 10, scene.twin2},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(scene.drawing.pick(row.at, row.radius), row.expected) << row.name;
    }
}

TEST(SelectionTest, WindowTakesWhollyInsideCrossingTakesTouching) {
    Drawing drawing;
    const EntityId inside = drawing.add(Line{{1, 1, 0}, {2, 2, 0}});
    const EntityId across = drawing.add(Line{{5, 5, 0}, {15, 5, 0}});
    // The circle's box covers the window, but the circle runs around it.
    const EntityId around = drawing.add(Circle{{5, 5, 0}, 20});
    // Vertices inside, the bulge leaves the box through the bottom.
    const EntityId bulging = drawing.add(polyline({{2, 1, 1}, {8, 1, 0}}));
    const EntityId marker = drawing.addPoint(9, 9);
    // x 5 to 7.4, y 4.75 to 6.
    const EntityId text = drawing.add(Text{{5, 5, 0}, 1, 0, "text"});
    const EntityId outside = drawing.add(Line{{20, 20, 0}, {30, 30, 0}});
    const EntityId arcOutside = drawing.add(Arc{{5, 5, 0}, 8, 0, 90});  // box corner inside

    struct Row {
        const char* name;
        Box box;
        std::vector<EntityId> window;
        std::vector<EntityId> crossing;
    };
    const Row rows[] = {
        {"left to right box",
         {{0, 0}, {10, 10}},
         {inside, marker, text},
         {inside, across, bulging, marker, text}},
        {"corners in either order",
         {{10, 10}, {0, 0}},
         {inside, marker, text},
         {inside, across, bulging, marker, text}},
        {"box taking the bulge",
         {{0, -3}, {10, 10}},
         {inside, bulging, marker, text},
         {inside, across, bulging, marker, text}},
        {"box inside the arc's box but off the arc, over the text's end",
         {{5.5, 5.5}, {8, 8}},
         {},
         {text}},
        {"window over a text's insertion point but not its end",
         {{4, 4}, {6, 7}},
         {},
         {across, text}},
        {"crossing wholly inside a text's rectangle", {{6, 5.5}, {6.5, 5.8}}, {}, {text}},
        {"box the arc crosses", {{10, 8}, {14, 12}}, {}, {arcOutside}},
        {"everything",
         {{-100, -100}, {100, 100}},
         {inside, across, around, bulging, marker, text, outside, arcOutside},
         {inside, across, around, bulging, marker, text, outside, arcOutside}},
        {"empty space", {{40, 40}, {50, 50}}, {}, {}},
        {"a box of zero size on a line", {{10, 5}, {10, 5}}, {}, {across}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(drawing.window(row.box), row.window) << row.name;
        EXPECT_EQ(drawing.crossing(row.box), row.crossing) << row.name;
    }
}

// The grid must not lose entities: compare with testing every entity.
TEST(SelectionTest, CrossingAgreesWithTestingEveryEntity) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(-1000, 1000);
    std::uniform_real_distribution<double> length(0, 400);
    Drawing drawing;
    for (int i = 0; i < 4000; ++i) {
        const double x = coordinate(random);
        const double y = coordinate(random);
        if (i % 3 == 0) {
            drawing.add(Line{{x, y, 0}, {x + length(random), y - length(random), 0}});
        } else if (i % 3 == 1) {
            drawing.add(Arc{{x, y, 0}, length(random), coordinate(random), coordinate(random)});
        } else if (i % 7 == 0) {
            drawing.add(Text{{x, y, 0}, length(random) / 10, coordinate(random), "钢束N1"});
        } else {
            drawing.addPoint(x, y);
        }
    }
    drawing.add(Line{{-1e5, 0, 0}, {1e5, 1, 0}});  // spans the whole grid
    for (int query = 0; query < 200; ++query) {
        const Vec2 a{coordinate(random), coordinate(random)};
        const Box box{a, {a.x + length(random), a.y + length(random)}};
        std::vector<EntityId> window;
        std::vector<EntityId> crossing;
        for (const Entity& entity : drawing.entities()) {
            if (contains(box, selectionBoxOf(entity))) {
                window.push_back(entity.id);
            }
            if (contains(box, selectionBoxOf(entity)) || touches(entity, box)) {
                crossing.push_back(entity.id);
            }
        }
        EXPECT_EQ(drawing.window(box), window) << query;
        EXPECT_EQ(drawing.crossing(box), crossing) << query;
    }
}

}  // namespace
}  // namespace tendra::board
