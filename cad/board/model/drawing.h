// The drawing behind the built-in board: entities, layers, groups, selection
// sets and system variables, plus the spatial queries the view needs (snap,
// pick box, window and crossing). No Qt: the board window draws from it and
// answers the CAD surface with it.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <variant>
#include <vector>

#include "cad/surface.h"

namespace tendra::board {

// Stable for the life of the drawing; never reused, never 0.
using EntityId = std::int64_t;

// AutoCAD's "duplicate record name" (0x80200014), thrown when a group or a
// selection set with the same name exists.
inline constexpr std::int32_t kDuplicateRecordName = -2145386476;
// E_INVALIDARG: an unknown system variable, a missing entity, a bad value.
inline constexpr std::int32_t kInvalidArgument = -2147024809;

// AutoCAD's EntityType numbers of the kinds the board adds to
// cad::entity_type; commands never ask for these.
namespace entity_kind {
inline constexpr int kBlockReference = 7;
inline constexpr int kDimensionAligned = 9;
inline constexpr int kDimensionAngular = 10;
inline constexpr int kDimensionDiametric = 12;
inline constexpr int kDimensionOrdinate = 13;
inline constexpr int kDimensionRadial = 14;
inline constexpr int kDimensionRotated = 15;
inline constexpr int kEllipse = 16;
inline constexpr int kHatch = 17;
inline constexpr int kLeader = 18;
inline constexpr int kSolid = 30;
inline constexpr int kSpline = 31;
inline constexpr int kTrace = 34;
inline constexpr int kMInsertBlock = 38;
inline constexpr int kDimension3PointAngular = 41;
inline constexpr int k3dPolyline = 2;
}  // namespace entity_kind

// ACI colour numbers with a meaning of their own.
inline constexpr int kColorByBlock = 0;
inline constexpr int kColorByLayer = 256;

struct Vec2 {
    double x = 0;
    double y = 0;
    friend bool operator==(const Vec2&, const Vec2&) = default;
};

struct Box {
    Vec2 min;
    Vec2 max;
    double width() const { return max.x - min.x; }
    double height() const { return max.y - min.y; }
    friend bool operator==(const Box&, const Box&) = default;
};

// Geometry, in drawing units. Angles in degrees, counter-clockwise from +X.
struct Line {
    cad::Point start{};
    cad::Point end{};
};

// An ARC as the file holds it: centre and angles in its own coordinate
// system, which its normal (codes 210, 220, 230) decides, running
// counter-clockwise about the normal from startAngle to endAngle.
struct Arc {
    cad::Point center{};
    double radius = 0;
    double startAngle = 0;
    double endAngle = 0;  // drawn counter-clockwise from startAngle
    cad::Point normal{0, 0, 1};
};

// The arc as seen from above, in world X and Y, with the normal (0, 0, 1):
// a normal along -Z (a mirrored drawing's arcs) turns the X axis round, so
// the arc runs clockwise there. An arc tilted out of the world's plane is
// returned as it is; the board does not draw it in true projection.
Arc arcInPlan(const Arc& arc);
// A point of an entity's own coordinate system in world coordinates, by the
// arbitrary-axis algorithm of the DXF format.
cad::Point toWorld(const cad::Point& normal, const cad::Point& point);

struct Circle {
    cad::Point center{};
    double radius = 0;
};

// One vertex; the bulge (tan of a quarter of the included angle, positive
// counter-clockwise) shapes the segment to the next vertex.
struct PolylineVertex {
    double x = 0;
    double y = 0;
    double bulge = 0;
    friend bool operator==(const PolylineVertex&, const PolylineVertex&) = default;
};

struct PolylineShape {
    std::vector<PolylineVertex> vertices;
    bool closed = false;
    double elevation = 0;
};

// LWPOLYLINE, entity type 24. Its vertices are in its own coordinate system,
// which its normal (code 210) decides; the board draws them as they are.
struct LightweightPolyline : PolylineShape {
    cad::Point normal{0, 0, 1};
};
// Old-style 2D POLYLINE with VERTEX entities, entity type 23. Like a
// lightweight one it lies in its own coordinate system. fit is AutoCAD's
// Type: 0 simple, 1 curve-fit (code 70 flag 2), 2 quadratic and 3 cubic
// B-spline (flag 4, code 75 = 5 or 6); a fitted one holds the vertices of
// its fitted curve.
struct Polyline2d : PolylineShape {
    cad::Point normal{0, 0, 1};
    int fit = 0;
};
// 3D POLYLINE (code 70 flag 8): vertices in world coordinates, z one per
// vertex; no bulges. AutoCAD numbers it apart from the 2D kind.
struct Polyline3d : PolylineShape {
    std::vector<double> z;
};

struct PointEntity {
    cad::Point at{};
};

// TEXT and MTEXT: shown, and taken by selections by the rectangle their
// characters take, never snapped to. Text is UTF-8, MTEXT still holds its
// inline format codes (\P for a new line, ...).
struct Text {
    cad::Point at{};
    double height = 0;
    double angle = 0;
    std::string text;
    // 0 left, 1 centre, 2 right, 3 aligned, 4 middle, 5 fit; 0 baseline,
    // 1 bottom, 2 middle, 3 top. Unless both are 0 the text sits on alignAt.
    int horizontalAlignment = 0;
    int verticalAlignment = 0;
    cad::Point alignAt{};
};

struct MText {
    cad::Point at{};
    double height = 0;
    double angle = 0;
    double width = 0;    // reference rectangle width, 0 for none
    int attachment = 1;  // 1 top left ... 9 bottom right
    std::string text;
};

// ELLIPSE and elliptical arcs: the points center + major·cos t + minor·sin t
// for t from startParameter to endParameter (radians, counter-clockwise; a
// whole ellipse runs from 0 to 2π). A read ellipse has its minor axis at a
// right angle to the major one; inside a mirrored or unevenly scaled block
// the two are any conjugate pair.
struct Ellipse {
    cad::Point center{};
    Vec2 major;
    Vec2 minor;
    double startParameter = 0;
    double endParameter = 6.283185307179586;
};

// SPLINE: what the file holds, and the curve it shows as a fine polyline.
struct Spline {
    int degree = 3;
    int flags = 0;  // 1 closed, 2 periodic, 4 rational, 8 planar
    std::vector<double> knots;
    std::vector<Vec2> controlPoints;
    std::vector<double> weights;  // one per control point, or none
    std::vector<Vec2> fitPoints;
    std::vector<Vec2> shown;
};

// SOLID and TRACE: corners in the file's order, the outline runs 1-2-4-3.
struct Solid {
    std::array<Vec2, 4> corners{};
    bool trace = false;
};

// HATCH: its boundary loops as closed outlines (arcs and curves already
// flattened); a solid fill is drawn filled, a pattern as its outline.
struct Hatch {
    std::vector<std::vector<Vec2>> loops;
    bool solid = false;
    std::string pattern;
};

struct Leader {
    std::vector<Vec2> vertices;
    bool arrowhead = true;
};

// An ATTRIB of a block reference: a text with its tag, in drawing
// coordinates already.
struct Attribute : Text {
    std::string tag;
};

struct Entity;

// INSERT (and MINSERT): a block drawn at a point, scaled (negative mirrors),
// rotated (degrees) about its base point, repeated in rows and columns.
// parts is what it shows: its block's entities, nested references
// resolved, in drawing coordinates, colours and layers ByBlock resolved.
struct BlockReference {
    std::string block;
    cad::Point at{};
    Vec2 scale{1, 1};
    double rotation = 0;
    int columns = 1;
    int rows = 1;
    double columnSpacing = 0;
    double rowSpacing = 0;
    std::vector<Attribute> attributes;
    std::vector<Entity> parts;
};

// DIMENSION: drawn by its anonymous block, in drawing coordinates.
struct Dimension {
    std::string block;
    int kind = 0;  // code 70 & 7: 0 rotated, 1 aligned, 2 angular, 3 diameter,
                   // 4 radius, 5 three-point angular, 6 ordinate
    int flags = 0;
    cad::Point definitionPoint{};
    cad::Point textPoint{};
    std::string text;
    std::vector<Entity> parts;
};

using Geometry =
    std::variant<Line, Arc, Circle, LightweightPolyline, Polyline2d, Polyline3d, PointEntity, Text,
                 MText, Ellipse, Spline, Solid, Hatch, Leader, BlockReference, Dimension>;

// AutoCAD's EntityType number (cad::entity_type, entity_kind) of a geometry.
int entityTypeOf(const Geometry& geometry);
// AutoCAD's class name for an EntityType number ("AcDbText" for kText);
// "AcDbEntity" for a number without one.
std::string objectNameOf(int entityType);

struct Entity {
    EntityId id = 0;
    std::string layer = "0";
    int color = kColorByLayer;  // ACI 1..255, 0 ByBlock, 256 ByLayer
    Geometry geometry;

    // AutoCAD's EntityType number (cad::entity_type).
    int entityType() const;
    // TEXT or MTEXT, whose shown size depends on the font: the view draws
    // them apart from the spatial index's outlines.
    bool isText() const;
    // The vertices and bulges of any polyline kind, else null.
    const PolylineShape* polyline() const;
};

// A block definition: entities about its base point, nested references
// kept as references (their parts empty).
struct Block {
    std::string name;
    Vec2 base;
    std::vector<Entity> entities;
};

// An entity kind a loaded file held that the board does not show, and how
// many of it.
struct SkippedKind {
    std::string name;
    std::size_t count = 0;
    friend bool operator==(const SkippedKind&, const SkippedKind&) = default;
};

struct Layer {
    std::string name;
    int color = 7;  // negative: the layer is off
    bool frozen = false;
};

enum class SnapKind { Vertex, EndPoint, Point };

struct Snap {
    Vec2 at;
    EntityId entity = 0;
    int vertex = 0;  // index of the vertex (0 start, 1 end of lines and arcs)
    SnapKind kind = SnapKind::Vertex;
    double distance = 0;
};

class SpatialIndex;

class Drawing {
  public:
    Drawing();
    ~Drawing();
    Drawing(Drawing&&) noexcept;
    Drawing& operator=(Drawing&&) noexcept;
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    // Entities, in drawing order. Adding returns the new id.
    EntityId add(Geometry geometry, const std::string& layer = "0", int color = kColorByLayer);
    EntityId addPoint(double x, double y, double z = 0);
    // Room for this many entities in all, ahead of adding them.
    void reserve(std::size_t entities) { entities_.reserve(entities); }
    const std::vector<Entity>& entities() const { return entities_; }
    std::size_t size() const { return entities_.size(); }
    bool empty() const { return entities_.empty(); }
    // Null when no entity has this id.
    const Entity* find(EntityId id) const;
    // These three throw cad::CadError(kInvalidArgument) for an unknown id.
    const Entity& entity(EntityId id) const;
    void setColor(EntityId id, int aciColor);
    // Flat X0, Y0, X1, Y1, ... of a lightweight polyline; X0, Y0, Z0, X1, ...
    // of an old-style 2D polyline (its own coordinate system, Z its
    // elevation) and of a 3D one (world); any other entity throws
    // cad::CadError(kInvalidArgument), as AutoCAD has no such property.
    std::vector<double> coordinates(EntityId id) const;
    // A 2D polyline's (lightweight or old-style) bulge at a vertex; any other
    // entity, or a vertex it does not have, throws
    // cad::CadError(kInvalidArgument).
    double bulge(EntityId id, int index) const;
    // The normal of a 2D polyline or an arc; others throw as above.
    cad::Point normal(EntityId id) const;
    // The layer's name, of any entity.
    std::string layerOf(EntityId id) const;
    // Where a LINE or an ARC starts and ends, and an ARC's centre, in world
    // coordinates; others throw as above.
    cad::Point startPoint(EntityId id) const;
    cad::Point endPoint(EntityId id) const;
    cad::Point center(EntityId id) const;
    // An old-style 2D polyline's Type (Polyline2d::fit); others throw.
    int polylineType(EntityId id) const;
    // A TEXT's or MTEXT's height; others throw.
    double textHeight(EntityId id) const;
    // The entity's class as AutoCAD names it ("AcDbText", "AcDbPolyline", ...).
    std::string objectName(EntityId id) const;
    // A TEXT's or MTEXT's text as the board shows it (UTF-8, %%-codes as
    // their characters, an MTEXT's with its format codes) and insertion
    // point; any other entity throws cad::CadError(kInvalidArgument).
    std::string textString(EntityId id) const;
    cad::Point insertionPoint(EntityId id) const;

    // Blocks by name (ASCII case ignored); defining a name again replaces
    // it. Block references and dimensions added later show the blocks
    // defined by then.
    void defineBlock(Block block);
    const Block* block(const std::string& name) const;
    const std::vector<Block>& blocks() const { return blocks_; }

    // What loading skipped, in the order first met.
    void setSkipped(std::vector<SkippedKind> skipped) { skipped_ = std::move(skipped); }
    const std::vector<SkippedKind>& skipped() const { return skipped_; }

    // Layers. An entity's layer that was never added reads as colour 7.
    void setLayer(const Layer& layer);  // adds or replaces by name
    const Layer* layer(const std::string& name) const;
    const std::vector<Layer>& layers() const { return layers_; }
    // The ACI colour an entity shows in: ByLayer and ByBlock resolved, 1..255.
    int displayColor(const Entity& entity) const;

    // Groups and selection sets: name -> ordered members. Names compare
    // without regard to ASCII case. Adding an existing name throws
    // cad::CadError(kDuplicateRecordName); the other calls throw
    // cad::CadError(kInvalidArgument) for a missing name or entity.
    void addGroup(const std::string& name);
    void appendToGroup(const std::string& name, const std::vector<EntityId>& members);
    bool hasGroup(const std::string& name) const;
    const std::vector<EntityId>& group(const std::string& name) const;
    // Names in the order the groups were added.
    std::vector<std::string> groupNames() const;

    void addSelectionSet(const std::string& name);
    // Appends members not yet in the set, in the given order.
    void appendToSelectionSet(const std::string& name, const std::vector<EntityId>& members);
    void clearSelectionSet(const std::string& name);
    bool hasSelectionSet(const std::string& name) const;
    const std::vector<EntityId>& selectionSet(const std::string& name) const;

    // System variables by case-insensitive name; PDMODE and PDSIZE exist
    // from the start (both 0). Reading an unknown name throws
    // cad::CadError(kInvalidArgument); setting one adds it.
    void setVariable(const std::string& name, double value);
    double variable(const std::string& name) const;
    int pointDisplayMode() const;     // PDMODE
    double pointDisplaySize() const;  // PDSIZE

    // Bounding box of all entities (arcs and bulges exactly, curves by their
    // flattened outline, text by its insertion point); none for an empty
    // drawing.
    std::optional<Box> extents() const;

    // Snap: the nearest polyline vertex, line or arc end point, or POINT
    // (also inside block references, where snap.entity is the reference)
    // within radius (drawing units) of at. Ties go to the entity added first,
    // then the lower vertex index.
    std::optional<Snap> snap(Vec2 at, double radius) const;
    // Positions in entities() of entities other than text whose bounding box
    // meets the box, ascending; for drawing only what a view shows.
    std::vector<std::size_t> near(const Box& box) const;
    // Positions of the entities near() never returns (text), ascending.
    const std::vector<std::size_t>& texts() const { return texts_; }
    // Pick box: the entity nearest to at by true distance to its outline
    // (segments, arcs, bulges, circles, points; a text's rectangle, 0 inside
    // it), within radius. Ties go to the entity added last, which is drawn on
    // top.
    std::optional<EntityId> pick(Vec2 at, double radius) const;
    // Window: entities wholly inside the box. Crossing: inside or touching
    // it. Both in drawing order; the corners may come in any order. A text
    // counts by its rectangle.
    std::vector<EntityId> window(const Box& box) const;
    std::vector<EntityId> crossing(const Box& box) const;

    // Grows with every change, so a view can tell when to repaint.
    std::uint64_t revision() const { return revision_; }

  private:
    struct NamedList {
        std::string name;
        std::vector<EntityId> members;
    };
    NamedList* findList(std::vector<NamedList>& lists, const std::string& name);
    const NamedList* findList(const std::vector<NamedList>& lists, const std::string& name) const;
    const NamedList& requireList(const std::vector<NamedList>& lists,
                                 const std::string& name) const;
    std::size_t indexOf(EntityId id) const;
    const SpatialIndex& index() const;
    void changed() { ++revision_; }

    std::vector<Entity> entities_;
    std::vector<Layer> layers_;
    std::vector<Block> blocks_;
    std::vector<std::size_t> texts_;
    std::unordered_map<std::string, std::size_t> blockIndex_;  // upper-case name -> position
    std::vector<SkippedKind> skipped_;
    std::vector<NamedList> groups_;
    std::vector<NamedList> selectionSets_;
    std::map<std::string, double> variables_;  // upper-case names
    EntityId nextId_ = 1;
    std::uint64_t revision_ = 0;
    std::optional<Box> extents_;
    // Built on the first query, then kept up to date by add().
    mutable std::unique_ptr<SpatialIndex> index_;
};

}  // namespace tendra::board
