#include "cad/board/model/drawing.h"

#include <algorithm>
#include <cmath>

#include "cad/board/model/blocks.h"
#include "cad/board/model/geometry.h"
#include "cad/board/model/spatial_index.h"
#include "cad/board/model/text_layout.h"
#include "cad/object_names.h"

namespace tendra::board {

namespace {

std::string upper(const std::string& text) {
    std::string result = text;
    for (char& c : result) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return result;
}

char upperChar(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool sameName(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upperChar(a[i]) != upperChar(b[i])) {
            return false;
        }
    }
    return true;
}

Box normalized(const Box& box) {
    return {{std::min(box.min.x, box.max.x), std::min(box.min.y, box.max.y)},
            {std::max(box.min.x, box.max.x), std::max(box.min.y, box.max.y)}};
}

[[noreturn]] void invalid(const std::string& what) {
    throw cad::CadError(kInvalidArgument, what);
}

}  // namespace

int entityTypeOf(const Geometry& geometry) {
    struct Type {
        int operator()(const Line&) const { return cad::entity_type::kLine; }
        int operator()(const Arc&) const { return cad::entity_type::kArc; }
        int operator()(const Circle&) const { return cad::entity_type::kCircle; }
        int operator()(const LightweightPolyline&) const {
            return cad::entity_type::kLightweightPolyline;
        }
        int operator()(const Polyline2d&) const { return cad::entity_type::kPolyline; }
        int operator()(const Polyline3d&) const { return entity_kind::k3dPolyline; }
        int operator()(const PointEntity&) const { return cad::entity_type::kPoint; }
        int operator()(const Text&) const { return cad::entity_type::kText; }
        int operator()(const MText&) const { return cad::entity_type::kMText; }
        int operator()(const Ellipse&) const { return entity_kind::kEllipse; }
        int operator()(const Spline&) const { return entity_kind::kSpline; }
        int operator()(const Solid& s) const {
            return s.trace ? entity_kind::kTrace : entity_kind::kSolid;
        }
        int operator()(const Hatch&) const { return entity_kind::kHatch; }
        int operator()(const Leader&) const { return entity_kind::kLeader; }
        int operator()(const BlockReference& r) const {
            return r.columns > 1 || r.rows > 1 ? entity_kind::kMInsertBlock
                                               : entity_kind::kBlockReference;
        }
        int operator()(const Dimension& d) const {
            switch (d.kind) {
                case 1:
                    return entity_kind::kDimensionAligned;
                case 2:
                    return entity_kind::kDimensionAngular;
                case 3:
                    return entity_kind::kDimensionDiametric;
                case 4:
                    return entity_kind::kDimensionRadial;
                case 5:
                    return entity_kind::kDimension3PointAngular;
                case 6:
                    return entity_kind::kDimensionOrdinate;
                default:
                    return entity_kind::kDimensionRotated;
            }
        }
    };
    return std::visit(Type{}, geometry);
}

std::string objectNameOf(int entityType) {
    if (const std::string_view name = cad::objectNameOfType(entityType); !name.empty()) {
        return std::string(name);
    }
    // The kinds only the board draws.
    struct Known {
        int type;
        const char* objectName;
    };
    static constexpr Known kKnown[] = {
        {entity_kind::kBlockReference, "AcDbBlockReference"},
        {entity_kind::kDimensionAligned, "AcDbAlignedDimension"},
        {entity_kind::kDimensionAngular, "AcDb2LineAngularDimension"},
        {entity_kind::kDimensionDiametric, "AcDbDiametricDimension"},
        {entity_kind::kDimensionOrdinate, "AcDbOrdinateDimension"},
        {entity_kind::kDimensionRadial, "AcDbRadialDimension"},
        {entity_kind::kDimensionRotated, "AcDbRotatedDimension"},
        {entity_kind::kEllipse, "AcDbEllipse"},
        {entity_kind::kHatch, "AcDbHatch"},
        {entity_kind::kLeader, "AcDbLeader"},
        {entity_kind::kSolid, "AcDbSolid"},
        {entity_kind::kSpline, "AcDbSpline"},
        {entity_kind::kTrace, "AcDbTrace"},
        {entity_kind::kMInsertBlock, "AcDbMInsertBlock"},
        {entity_kind::kDimension3PointAngular, "AcDb3PointAngularDimension"},
        {entity_kind::k3dPolyline, "AcDb3dPolyline"},
    };
    for (const Known& known : kKnown) {
        if (known.type == entityType) {
            return known.objectName;
        }
    }
    return "AcDbEntity";
}

int Entity::entityType() const {
    return entityTypeOf(geometry);
}

bool Entity::isText() const {
    return std::holds_alternative<Text>(geometry) || std::holds_alternative<MText>(geometry);
}

const PolylineShape* Entity::polyline() const {
    if (const auto* lightweight = std::get_if<LightweightPolyline>(&geometry)) {
        return lightweight;
    }
    if (const auto* old = std::get_if<Polyline2d>(&geometry)) {
        return old;
    }
    if (const auto* spatial = std::get_if<Polyline3d>(&geometry)) {
        return spatial;
    }
    return nullptr;
}

namespace {

// A normal along the world's Z axis, up or down.
bool alongZ(const cad::Point& normal) {
    return normal[2] != 0 && std::hypot(normal[0], normal[1]) <= 1e-9 * std::abs(normal[2]);
}

cad::Point crossProduct(const cad::Point& a, const cad::Point& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

// The vector scaled to length 1; a zero vector stays as it is.
cad::Point unitVector(const cad::Point& v) {
    const double length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    return length > 0 ? cad::Point{v[0] / length, v[1] / length, v[2] / length} : v;
}

cad::Point arcPoint(const Arc& arc, double degrees) {
    const double radians = degrees * 0.017453292519943295;
    return toWorld(arc.normal, {arc.center[0] + arc.radius * std::cos(radians),
                                arc.center[1] + arc.radius * std::sin(radians), arc.center[2]});
}

}  // namespace

Arc arcInPlan(const Arc& arc) {
    if (!alongZ(arc.normal) || arc.normal[2] > 0) {
        return arc;
    }
    // Seen from above, the arc's X runs the other way: its centre's X turns
    // round, and the counter-clockwise span from start to end becomes the one
    // from 180° − end to 180° − start.
    Arc plan = arc;
    plan.center = {-arc.center[0], arc.center[1], -arc.center[2]};
    plan.startAngle = 180 - arc.endAngle;
    plan.endAngle = 180 - arc.startAngle;
    plan.normal = {0, 0, 1};
    return plan;
}

cad::Point toWorld(const cad::Point& normal, const cad::Point& point) {
    const cad::Point n = unitVector(normal);
    if (n == cad::Point{0, 0, 1}) {
        return point;
    }
    // The own X axis is the world's Y or Z axis crossed with the normal, Y
    // lies crosswise to both.
    constexpr double kNearZ = 1.0 / 64;
    const cad::Point axisX =
        unitVector(std::abs(n[0]) < kNearZ && std::abs(n[1]) < kNearZ ? crossProduct({0, 1, 0}, n)
                                                                      : crossProduct({0, 0, 1}, n));
    const cad::Point axisY = unitVector(crossProduct(n, axisX));
    cad::Point world{};
    for (int i = 0; i < 3; ++i) {
        world[i] = point[0] * axisX[i] + point[1] * axisY[i] + point[2] * n[i];
    }
    return world;
}

Drawing::Drawing() {
    variables_["PDMODE"] = 0;
    variables_["PDSIZE"] = 0;
}

Drawing::~Drawing() = default;
Drawing::Drawing(Drawing&&) noexcept = default;
Drawing& Drawing::operator=(Drawing&&) noexcept = default;

EntityId Drawing::add(Geometry geometry, const std::string& layer, int color) {
    Entity entity;
    entity.id = nextId_++;
    entity.layer = layer;
    entity.color = color;
    entity.geometry = std::move(geometry);
    if (auto* reference = std::get_if<BlockReference>(&entity.geometry)) {
        reference->parts =
            resolveParts(entity, [this](const std::string& name) { return block(name); });
    } else if (auto* dimension = std::get_if<Dimension>(&entity.geometry)) {
        dimension->parts =
            resolveParts(entity, [this](const std::string& name) { return block(name); });
    }
    entities_.push_back(std::move(entity));
    if (entities_.back().isText()) {
        texts_.push_back(entities_.size() - 1);
    }
    const Box box = boxOf(entities_.back());
    extents_ = extents_ ? unite(*extents_, box) : box;
    if (index_) {
        index_->added(entities_, entities_.size() - 1);
    }
    changed();
    return entities_.back().id;
}

EntityId Drawing::addPoint(double x, double y, double z) {
    return add(PointEntity{{x, y, z}});
}

std::size_t Drawing::indexOf(EntityId id) const {
    // Ids only grow and entities are never removed, so they are sorted.
    auto it = std::lower_bound(entities_.begin(), entities_.end(), id,
                               [](const Entity& e, EntityId wanted) { return e.id < wanted; });
    if (it == entities_.end() || it->id != id) {
        return entities_.size();
    }
    return static_cast<std::size_t>(it - entities_.begin());
}

const Entity* Drawing::find(EntityId id) const {
    const std::size_t index = indexOf(id);
    return index < entities_.size() ? &entities_[index] : nullptr;
}

const Entity& Drawing::entity(EntityId id) const {
    const Entity* found = find(id);
    if (!found) {
        invalid("no such entity");
    }
    return *found;
}

void Drawing::setColor(EntityId id, int aciColor) {
    if (aciColor < 0 || aciColor > 256) {
        invalid("colour out of range");
    }
    const std::size_t index = indexOf(id);
    if (index == entities_.size()) {
        invalid("no such entity");
    }
    entities_[index].color = aciColor;
    changed();
}

double Drawing::bulge(EntityId id, int index) const {
    const Geometry& geometry = entity(id).geometry;
    const PolylineShape* shape = std::get_if<LightweightPolyline>(&geometry);
    if (!shape) {
        shape = std::get_if<Polyline2d>(&geometry);
    }
    if (!shape) {
        invalid("the entity has no GetBulge method");
    }
    if (index < 0 || std::size_t(index) >= shape->vertices.size()) {
        invalid("no such vertex");
    }
    return shape->vertices[std::size_t(index)].bulge;
}

cad::Point Drawing::normal(EntityId id) const {
    const Geometry& geometry = entity(id).geometry;
    if (const auto* lightweight = std::get_if<LightweightPolyline>(&geometry)) {
        return lightweight->normal;
    }
    if (const auto* old = std::get_if<Polyline2d>(&geometry)) {
        return old->normal;
    }
    if (const auto* arc = std::get_if<Arc>(&geometry)) {
        return arc->normal;
    }
    invalid("the entity has no Normal property");
}

std::string Drawing::layerOf(EntityId id) const {
    return entity(id).layer;
}

cad::Point Drawing::startPoint(EntityId id) const {
    const Geometry& geometry = entity(id).geometry;
    if (const auto* line = std::get_if<Line>(&geometry)) {
        return line->start;
    }
    if (const auto* arc = std::get_if<Arc>(&geometry)) {
        return arcPoint(*arc, arc->startAngle);
    }
    invalid("the entity has no StartPoint property");
}

cad::Point Drawing::endPoint(EntityId id) const {
    const Geometry& geometry = entity(id).geometry;
    if (const auto* line = std::get_if<Line>(&geometry)) {
        return line->end;
    }
    if (const auto* arc = std::get_if<Arc>(&geometry)) {
        return arcPoint(*arc, arc->endAngle);
    }
    invalid("the entity has no EndPoint property");
}

cad::Point Drawing::center(EntityId id) const {
    const auto* arc = std::get_if<Arc>(&entity(id).geometry);
    if (!arc) {
        invalid("the entity has no Center property");
    }
    return toWorld(arc->normal, arc->center);
}

int Drawing::polylineType(EntityId id) const {
    const auto* old = std::get_if<Polyline2d>(&entity(id).geometry);
    if (!old) {
        invalid("the entity has no Type property");
    }
    return old->fit;
}

double Drawing::textHeight(EntityId id) const {
    const Geometry& geometry = entity(id).geometry;
    if (const auto* text = std::get_if<Text>(&geometry)) {
        return text->height;
    }
    if (const auto* mtext = std::get_if<MText>(&geometry)) {
        return mtext->height;
    }
    invalid("the entity has no Height property");
}

std::string Drawing::objectName(EntityId id) const {
    return objectNameOf(entity(id).entityType());
}

std::string Drawing::textString(EntityId id) const {
    const Geometry& geometry = entity(id).geometry;
    // %%d, %%p, %%c and %%% as the characters the board shows for them.
    if (const auto* text = std::get_if<Text>(&geometry)) {
        return plainText(text->text);
    }
    if (const auto* mtext = std::get_if<MText>(&geometry)) {
        return plainText(mtext->text);
    }
    invalid("the entity has no TextString property");
}

cad::Point Drawing::insertionPoint(EntityId id) const {
    const Geometry& geometry = entity(id).geometry;
    if (const auto* text = std::get_if<Text>(&geometry)) {
        return text->at;
    }
    if (const auto* mtext = std::get_if<MText>(&geometry)) {
        return mtext->at;
    }
    invalid("the entity has no InsertionPoint property");
}

std::vector<double> Drawing::coordinates(EntityId id) const {
    const Geometry& geometry = entity(id).geometry;
    std::vector<double> flat;
    if (const auto* lightweight = std::get_if<LightweightPolyline>(&geometry)) {
        flat.reserve(lightweight->vertices.size() * 2);
        for (const PolylineVertex& vertex : lightweight->vertices) {
            flat.push_back(vertex.x);
            flat.push_back(vertex.y);
        }
        return flat;
    }
    const PolylineShape* shape = std::get_if<Polyline2d>(&geometry);
    const auto* spatial = std::get_if<Polyline3d>(&geometry);
    if (spatial) {
        shape = spatial;
    }
    if (!shape) {
        invalid("the entity has no Coordinates property");
    }
    flat.reserve(shape->vertices.size() * 3);
    for (std::size_t i = 0; i < shape->vertices.size(); ++i) {
        flat.push_back(shape->vertices[i].x);
        flat.push_back(shape->vertices[i].y);
        flat.push_back(spatial && i < spatial->z.size() ? spatial->z[i] : shape->elevation);
    }
    return flat;
}

void Drawing::defineBlock(Block block) {
    const std::string key = upper(block.name);
    auto it = blockIndex_.find(key);
    if (it == blockIndex_.end()) {
        blockIndex_.emplace(key, blocks_.size());
        blocks_.push_back(std::move(block));
    } else {
        blocks_[it->second] = std::move(block);
    }
    changed();
}

const Block* Drawing::block(const std::string& name) const {
    auto it = blockIndex_.find(upper(name));
    return it == blockIndex_.end() ? nullptr : &blocks_[it->second];
}

void Drawing::setLayer(const Layer& layer) {
    auto it = std::find_if(layers_.begin(), layers_.end(),
                           [&](const Layer& l) { return sameName(l.name, layer.name); });
    if (it == layers_.end()) {
        layers_.push_back(layer);
    } else {
        *it = layer;
    }
    changed();
}

const Layer* Drawing::layer(const std::string& name) const {
    auto it = std::find_if(layers_.begin(), layers_.end(),
                           [&](const Layer& l) { return sameName(l.name, name); });
    return it == layers_.end() ? nullptr : &*it;
}

int Drawing::displayColor(const Entity& entity) const {
    int color = entity.color;
    if (color == kColorByLayer || color == kColorByBlock || color < 0 || color > 256) {
        const Layer* owner = layer(entity.layer);
        color = owner ? std::abs(owner->color) : 7;
    }
    return color >= 1 && color <= 255 ? color : 7;
}

Drawing::NamedList* Drawing::findList(std::vector<NamedList>& lists, const std::string& name) {
    auto it = std::find_if(lists.begin(), lists.end(),
                           [&](const NamedList& list) { return sameName(list.name, name); });
    return it == lists.end() ? nullptr : &*it;
}

const Drawing::NamedList* Drawing::findList(const std::vector<NamedList>& lists,
                                            const std::string& name) const {
    auto it = std::find_if(lists.begin(), lists.end(),
                           [&](const NamedList& list) { return sameName(list.name, name); });
    return it == lists.end() ? nullptr : &*it;
}

const Drawing::NamedList& Drawing::requireList(const std::vector<NamedList>& lists,
                                               const std::string& name) const {
    const NamedList* list = findList(lists, name);
    if (!list) {
        invalid("no such name: " + name);
    }
    return *list;
}

namespace {

// Appends the ids not yet present, keeping their order; throws before
// changing anything if one of them is not in the drawing.
template <typename Exists>
void appendMembers(std::vector<EntityId>& members, const std::vector<EntityId>& added,
                   Exists exists) {
    for (EntityId id : added) {
        if (!exists(id)) {
            invalid("no such entity");
        }
    }
    for (EntityId id : added) {
        if (std::find(members.begin(), members.end(), id) == members.end()) {
            members.push_back(id);
        }
    }
}

}  // namespace

void Drawing::addGroup(const std::string& name) {
    if (findList(groups_, name)) {
        throw cad::CadError(kDuplicateRecordName, "Duplicate record name");
    }
    groups_.push_back({name, {}});
    changed();
}

void Drawing::appendToGroup(const std::string& name, const std::vector<EntityId>& members) {
    NamedList* list = findList(groups_, name);
    if (!list) {
        invalid("no such group: " + name);
    }
    appendMembers(list->members, members, [&](EntityId id) { return find(id) != nullptr; });
    changed();
}

bool Drawing::hasGroup(const std::string& name) const {
    return findList(groups_, name);
}

const std::vector<EntityId>& Drawing::group(const std::string& name) const {
    return requireList(groups_, name).members;
}

std::vector<std::string> Drawing::groupNames() const {
    std::vector<std::string> names;
    for (const NamedList& list : groups_) {
        names.push_back(list.name);
    }
    return names;
}

void Drawing::addSelectionSet(const std::string& name) {
    if (findList(selectionSets_, name)) {
        throw cad::CadError(kDuplicateRecordName, "Duplicate record name");
    }
    selectionSets_.push_back({name, {}});
    changed();
}

void Drawing::appendToSelectionSet(const std::string& name, const std::vector<EntityId>& members) {
    NamedList* list = findList(selectionSets_, name);
    if (!list) {
        invalid("no such selection set: " + name);
    }
    appendMembers(list->members, members, [&](EntityId id) { return find(id) != nullptr; });
    changed();
}

void Drawing::clearSelectionSet(const std::string& name) {
    NamedList* list = findList(selectionSets_, name);
    if (!list) {
        invalid("no such selection set: " + name);
    }
    list->members.clear();
    changed();
}

bool Drawing::hasSelectionSet(const std::string& name) const {
    return findList(selectionSets_, name);
}

const std::vector<EntityId>& Drawing::selectionSet(const std::string& name) const {
    return requireList(selectionSets_, name).members;
}

void Drawing::setVariable(const std::string& name, double value) {
    if (name.empty() || !std::isfinite(value)) {
        invalid("bad system variable");
    }
    variables_[upper(name)] = value;
    changed();
}

double Drawing::variable(const std::string& name) const {
    auto it = variables_.find(upper(name));
    if (it == variables_.end()) {
        invalid("no such system variable: " + name);
    }
    return it->second;
}

int Drawing::pointDisplayMode() const {
    return static_cast<int>(variable("PDMODE"));
}

double Drawing::pointDisplaySize() const {
    return variable("PDSIZE");
}

std::optional<Box> Drawing::extents() const {
    return extents_;
}

const SpatialIndex& Drawing::index() const {
    if (!index_) {
        index_ = std::make_unique<SpatialIndex>(entities_);
    }
    return *index_;
}

std::optional<Snap> Drawing::snap(Vec2 at, double radius) const {
    return index().snap(entities_, at, radius);
}

std::vector<std::size_t> Drawing::near(const Box& box) const {
    return index().candidates(normalized(box), false);
}

std::optional<EntityId> Drawing::pick(Vec2 at, double radius) const {
    const auto position = index().pick(entities_, at, radius);
    if (!position) {
        return std::nullopt;
    }
    return entities_[*position].id;
}

std::vector<EntityId> Drawing::window(const Box& corners) const {
    const Box box = normalized(corners);
    const SpatialIndex& grid = index();
    std::vector<EntityId> inside;
    for (std::size_t position : grid.candidates(box, true)) {
        if (contains(box, grid.boxAt(position))) {
            inside.push_back(entities_[position].id);
        }
    }
    return inside;
}

std::vector<EntityId> Drawing::crossing(const Box& corners) const {
    const Box box = normalized(corners);
    const SpatialIndex& grid = index();
    std::vector<EntityId> touching;
    for (std::size_t position : grid.candidates(box, true)) {
        if (contains(box, grid.boxAt(position)) || touches(entities_[position], box)) {
            touching.push_back(entities_[position].id);
        }
    }
    return touching;
}

}  // namespace tendra::board
