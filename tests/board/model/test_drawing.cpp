// The drawing model: entity types, colours, coordinates, groups, selection
// sets, system variables and extents.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "cad/board/model/drawing.h"
#include "tests/board/model/answers.h"

namespace tendra::board {
namespace {

LightweightPolyline polyline(std::vector<PolylineVertex> vertices, bool closed = false) {
    LightweightPolyline shape;
    shape.vertices = std::move(vertices);
    shape.closed = closed;
    return shape;
}

std::int32_t errorNumberOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const cad::CadError& error) {
        return error.number();
    }
    return 0;
}

TEST(DrawingTest, EntityTypesAreAutoCADs) {
    struct Row {
        const char* name;
        Geometry geometry;
        int type;
        bool text;
    };
    Polyline2d old;
    old.vertices = {{0, 0, 0}, {1, 0, 0}};
    const Row rows[] = {
        {"arc", Arc{{0, 0, 0}, 1, 0, 90}, 4, false},
        {"circle", Circle{{0, 0, 0}, 1}, 8, false},
        {"line", Line{{0, 0, 0}, {1, 1, 0}}, 19, false},
        {"mtext is drawn apart from the outlines", MText{}, 21, true},
        {"point", PointEntity{{1, 2, 0}}, 22, false},
        {"old-style polyline is not taken as a lightweight one", old, 23, false},
        {"3D polyline is numbered apart from the 2D kind", Polyline3d{}, 2, false},
        {"lightweight polyline", polyline({{0, 0, 0}, {1, 0, 0}}), 24, false},
        {"text is drawn apart from the outlines", Text{}, 32, true},
    };
    for (const Row& row : rows) {
        Drawing drawing;
        const Entity& entity = drawing.entity(drawing.add(row.geometry));
        EXPECT_EQ(entity.entityType(), row.type) << row.name;
        EXPECT_EQ(entity.isText(), row.text) << row.name;
    }
}

TEST(DrawingTest, IdsAreStableAndFoundAfterManyAdditions) {
    Drawing drawing;
    std::vector<EntityId> ids;
    for (int i = 0; i < 1000; ++i) {
        ids.push_back(drawing.addPoint(i, -i));
    }
    for (int i = 0; i < 1000; i += 37) {
        const auto* point = std::get_if<PointEntity>(&drawing.entity(ids[i]).geometry);
        ASSERT_NE(point, nullptr);
        EXPECT_EQ(point->at[0], i);
    }
    EXPECT_EQ(drawing.find(0), nullptr);
    EXPECT_EQ(drawing.find(ids.back() + 1), nullptr);
    EXPECT_NE(ids.front(), 0);
}

TEST(DrawingTest, CoordinatesBulgesAndNormalOnlyForPolylines) {
    Drawing drawing;
    const EntityId tendon =
        drawing.add(polyline({{-20000, 1200, 0}, {0, 200, 0.1}, {20000, 1200, 0}}));
    EXPECT_EQ(drawing.coordinates(tendon),
              (std::vector<double>{-20000, 1200, 0, 200, 20000, 1200}));
    EXPECT_EQ(drawing.bulge(tendon, 1), 0.1);
    EXPECT_EQ(drawing.normal(tendon), (cad::Point{0, 0, 1}));
    EXPECT_EQ(errorNumberOf([&] { drawing.bulge(tendon, 3); }), kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { drawing.bulge(tendon, -1); }), kInvalidArgument);

    // An old-style one gives three numbers a vertex.
    Polyline2d old;
    old.vertices = {{0, 0, 0}, {1, 1, 0}};
    const EntityId oldId = drawing.add(old);
    const EntityId point = drawing.addPoint(1, 2);
    EXPECT_EQ(drawing.coordinates(oldId), (std::vector<double>{0, 0, 0, 1, 1, 0}));
    EXPECT_EQ(errorNumberOf([&] { drawing.coordinates(point); }), kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { drawing.bulge(oldId, 2); }), kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { drawing.normal(point); }), kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { drawing.coordinates(999); }), kInvalidArgument);
}

// What the commands read of lines, arcs, old-style polylines and labels, in
// world coordinates where AutoCAD gives them so.
TEST(DrawingTest, PiecesOldPolylinesAndLabelsAnswerAsAutoCadDoes) {
    using testing::Read;
    Polyline2d old;
    old.vertices = {{-30, 5, 0}, {-20, 2, 0.25}, {-10, 0, 0}};
    old.elevation = 7;
    old.normal = {0, 0, -1};
    Polyline2d splined = old;
    splined.fit = 3;
    Polyline3d spatial;
    spatial.vertices = {{1, 2, 0}, {3, 4, 0}};
    spatial.z = {5, 6};
    MText note;
    note.height = 3.5;
    const Arc quarter{{10, 20, 0}, 5, 0, 90};
    const Arc mirrored{{10, 20, 0}, 5, 0, 90, {0, 0, -1}};
    const Arc onAWall{{2, 3, 4}, 1, 0, 90, {1, 0, 0}};  // own X is world Y, own Y world Z
    struct Row {
        const char* name;
        Geometry geometry;
        Read read;
        std::vector<double> expected;  // none: fails with kInvalidArgument
    };
    const Row rows[] = {
        {"line end", Line{{1, 2, 3}, {4, 5, 6}}, Read::End, {4, 5, 6}},
        {"arc starts at its start angle", quarter, Read::Start, {15, 20, 0}},
        {"arc ends at its end angle", quarter, Read::End, {10, 25, 0}},
        {"mirrored arc starts with X turned round", mirrored, Read::Start, {-15, 20, 0}},
        {"mirrored arc centre", mirrored, Read::Centre, {-10, 20, 0}},
        {"mirrored arc keeps its normal", mirrored, Read::Normal, {0, 0, -1}},
        {"arc on a wall: centre by the arbitrary axis", onAWall, Read::Centre, {4, 2, 3}},
        {"old-style polyline: X, Y and elevation",
         old,
         Read::Coordinates,
         {-30, 5, 7, -20, 2, 7, -10, 0, 7}},
        {"old-style polyline normal", old, Read::Normal, {0, 0, -1}},
        {"simple old-style polyline", old, Read::Type, {0}},
        {"splined old-style polyline", splined, Read::Type, {3}},
        {"3D polyline: each vertex its own Z", spatial, Read::Coordinates, {1, 2, 5, 3, 4, 6}},
        {"3D polyline has no 2D type", spatial, Read::Type, {}},
        {"mtext height", note, Read::Height, {3.5}},
        {"no start point on a polyline", old, Read::Start, {}},
        {"no centre on a line", Line{}, Read::Centre, {}},
        {"no height on a line", Line{}, Read::Height, {}},
    };
    for (const Row& row : rows) {
        Drawing drawing;
        const EntityId id = drawing.add(row.geometry, "AT1");
        EXPECT_EQ(drawing.layerOf(id), "AT1") << row.name;
        std::vector<double> actual;
        EXPECT_EQ(errorNumberOf([&] { actual = testing::answer(drawing, id, row.read); }),
                  row.expected.empty() ? kInvalidArgument : 0)
            << row.name;
        ASSERT_EQ(actual.size(), row.expected.size()) << row.name;
        for (std::size_t i = 0; i < actual.size(); ++i) {
            EXPECT_NEAR(actual[i], row.expected[i], 1e-12) << row.name << " [" << i << "]";
        }
    }
}

// Labels: a text's class, string and insertion point, as AutoCAD answers them.
TEST(DrawingTest, TextsAnswerTheirClassStringAndInsertionPoint) {
    Text text;
    text.at = {-12500, 750, 0};
    text.text = "钢束N1 30%%d %%p1 %%c20 100%%%";
    MText mtext;
    mtext.at = {-20000, 3600, 0};
    mtext.text = "{\\fSimSun;N2}\\P%%d";
    Drawing drawing;
    const EntityId textId = drawing.add(text);
    const EntityId mtextId = drawing.add(mtext);
    const EntityId line = drawing.add(Line{{0, 0, 0}, {1, 1, 0}});
    const EntityId tendon = drawing.add(polyline({{0, 0, 0}, {1, 0, 0}}));

    EXPECT_EQ(drawing.objectName(textId), "AcDbText");
    EXPECT_EQ(drawing.objectName(mtextId), "AcDbMText");
    EXPECT_EQ(drawing.objectName(line), "AcDbLine");
    EXPECT_EQ(drawing.objectName(tendon), "AcDbPolyline");
    // Control codes as the board shows them; an MTEXT keeps its format codes.
    EXPECT_EQ(drawing.textString(textId), "钢束N1 30° ±1 ⌀20 100%");
    EXPECT_EQ(drawing.textString(mtextId), "{\\fSimSun;N2}\\P°");
    EXPECT_EQ(drawing.insertionPoint(textId), (cad::Point{-12500, 750, 0}));
    EXPECT_EQ(drawing.insertionPoint(mtextId), (cad::Point{-20000, 3600, 0}));
    EXPECT_EQ(errorNumberOf([&] { drawing.textString(line); }), kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { drawing.insertionPoint(tendon); }), kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { drawing.objectName(999); }), kInvalidArgument);
}

TEST(DrawingTest, ColoursAndLayers) {
    Drawing drawing;
    drawing.setLayer({"钢束", 4, false});
    drawing.setLayer({"off", -5, false});
    const EntityId byLayer = drawing.add(Line{}, "钢束");
    const EntityId offLayer = drawing.add(Line{}, "off");
    const EntityId unknownLayer = drawing.add(Line{}, "nowhere");
    const EntityId marker = drawing.addPoint(0, 0);

    drawing.setColor(marker, 3);
    EXPECT_EQ(drawing.entity(marker).color, 3);
    EXPECT_EQ(drawing.displayColor(drawing.entity(marker)), 3);
    EXPECT_EQ(drawing.displayColor(drawing.entity(byLayer)), 4);
    EXPECT_EQ(drawing.displayColor(drawing.entity(offLayer)), 5);
    EXPECT_EQ(drawing.displayColor(drawing.entity(unknownLayer)), 7);

    const auto before = drawing.revision();
    EXPECT_EQ(errorNumberOf([&] { drawing.setColor(marker, 257); }), kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { drawing.setColor(12345, 1); }), kInvalidArgument);
    EXPECT_EQ(drawing.entity(marker).color, 3);
    drawing.setColor(marker, 1);
    EXPECT_GT(drawing.revision(), before);

    drawing.setLayer({"钢束", 2, false});
    EXPECT_EQ(drawing.layers().size(), 2u);
    EXPECT_EQ(drawing.layer("钢束")->color, 2);
}

TEST(DrawingTest, GroupsKeepOrderAndRefuseDuplicateNames) {
    Drawing drawing;
    const EntityId origin = drawing.addPoint(0, 0);
    const EntityId a = drawing.addPoint(1, 0);
    const EntityId b = drawing.addPoint(2, 0);

    drawing.addGroup(".4709594");
    drawing.appendToGroup(".4709594", {origin});
    drawing.appendToGroup(".4709594", {b, a, origin});
    EXPECT_EQ(drawing.group(".4709594"), (std::vector<EntityId>{origin, b, a}));

    EXPECT_EQ(errorNumberOf([&] { drawing.addGroup(".4709594"); }), -2145386476);
    EXPECT_EQ(errorNumberOf([&] { drawing.addGroup("Markers"); }), 0);
    EXPECT_EQ(errorNumberOf([&] { drawing.addGroup("MARKERS"); }), kDuplicateRecordName);
    EXPECT_EQ(drawing.groupNames(), (std::vector<std::string>{".4709594", "Markers"}));

    // A missing member changes nothing.
    EXPECT_EQ(errorNumberOf([&] { drawing.appendToGroup("Markers", {a, 999}); }), kInvalidArgument);
    EXPECT_TRUE(drawing.group("markers").empty());
    EXPECT_EQ(errorNumberOf([&] { drawing.appendToGroup("none", {a}); }), kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { drawing.group("none"); }), kInvalidArgument);
}

TEST(DrawingTest, SelectionSetsAreSeparateFromGroups) {
    Drawing drawing;
    const EntityId a = drawing.addPoint(1, 0);
    const EntityId b = drawing.addPoint(2, 0);
    drawing.addGroup("same");
    drawing.addSelectionSet("same");
    EXPECT_EQ(errorNumberOf([&] { drawing.addSelectionSet("Same"); }), kDuplicateRecordName);

    drawing.appendToSelectionSet("same", {b, a, b});
    EXPECT_EQ(drawing.selectionSet("same"), (std::vector<EntityId>{b, a}));
    EXPECT_TRUE(drawing.group("same").empty());
    drawing.clearSelectionSet("same");
    EXPECT_TRUE(drawing.selectionSet("same").empty());
    EXPECT_FALSE(drawing.hasSelectionSet("other"));
}

TEST(DrawingTest, SystemVariables) {
    Drawing drawing;
    EXPECT_EQ(drawing.pointDisplayMode(), 0);
    EXPECT_EQ(drawing.pointDisplaySize(), 0);
    drawing.setVariable("pdmode", 3);
    EXPECT_EQ(drawing.pointDisplayMode(), 3);
    EXPECT_EQ(drawing.variable("PdMode"), 3);
    drawing.setVariable("PDSIZE", -5);
    EXPECT_EQ(drawing.pointDisplaySize(), -5);
    EXPECT_EQ(errorNumberOf([&] { drawing.variable("NOSUCHVAR"); }), kInvalidArgument);
    EXPECT_EQ(errorNumberOf([&] { drawing.setVariable("PDMODE", NAN); }), kInvalidArgument);
}

TEST(DrawingTest, ExtentsFollowCurvesExactly) {
    struct Row {
        const char* name;
        Geometry geometry;
        Box expected;
    };
    const Row rows[] = {
        {"line", Line{{-1, 2, 0}, {3, -4, 0}}, {{-1, -4}, {3, 2}}},
        {"circle", Circle{{10, 10, 0}, 5}, {{5, 5}, {15, 15}}},
        {"quarter arc from 0 to 90", Arc{{0, 0, 0}, 2, 0, 90}, {{0, 0}, {2, 2}}},
        {"arc across 180", Arc{{0, 0, 0}, 1, 90, 270}, {{-1, -1}, {0, 1}}},
        {"arc across 0 (end below start)", Arc{{0, 0, 0}, 1, 270, 90}, {{0, -1}, {1, 1}}},
        {"arc with equal, absurd angles is a whole circle",
         Arc{{0, 0, 0}, 1, 1e300, 1e300},
         {{-1, -1}, {1, 1}}},
        {"arc of a mirrored drawing is drawn from above, X turned round",
         Arc{{10, 0, 0}, 5, 0, 90, {0, 0, -1}},
         {{-15, 0}, {-10, 5}}},
        {"mirrored arc across its own 0 spans the plan's 180",
         Arc{{0, 0, 0}, 1, 270, 90, {0, 0, -1}},
         {{-1, -1}, {0, 1}}},
        {"semicircle bulge below the chord", polyline({{0, 0, 1}, {2, 0, 0}}), {{0, -1}, {2, 0}}},
        {"clockwise bulge above the chord", polyline({{0, 0, -1}, {2, 0, 0}}), {{0, 0}, {2, 1}}},
        {"closing segment bulges too", polyline({{0, 0, 1}, {2, 0, 1}}, true), {{0, -1}, {2, 1}}},
    };
    for (const Row& row : rows) {
        Drawing drawing;
        drawing.add(row.geometry);
        const auto extents = drawing.extents();
        ASSERT_TRUE(extents) << row.name;
        EXPECT_NEAR(extents->min.x, row.expected.min.x, 1e-9) << row.name;
        EXPECT_NEAR(extents->min.y, row.expected.min.y, 1e-9) << row.name;
        EXPECT_NEAR(extents->max.x, row.expected.max.x, 1e-9) << row.name;
        EXPECT_NEAR(extents->max.y, row.expected.max.y, 1e-9) << row.name;
    }
    EXPECT_FALSE(Drawing().extents());
}

TEST(DrawingTest, ExtentsGrowWithAddedPoints) {
    Drawing drawing;
    drawing.add(Line{{0, 0, 0}, {10, 10, 0}});
    drawing.addPoint(-5, 20);
    EXPECT_EQ(drawing.extents(), (Box{{-5, 0}, {10, 20}}));
}

}  // namespace
}  // namespace tendra::board
