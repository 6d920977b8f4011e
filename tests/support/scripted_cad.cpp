#include "tests/support/scripted_cad.h"

#include <algorithm>
#include <cstdio>
#include <optional>

namespace tendra::testing {

namespace {

constexpr std::int32_t kUnavailable = -2147221021;  // MK_E_UNAVAILABLE
// AutoCAD's answer to ActiveDocument with no drawing open (0x8021003C).
constexpr std::int32_t kNoDocument = -2145320900;
constexpr std::int32_t kMemberNotFound = -2147352573;   // DISP_E_MEMBERNOTFOUND
constexpr std::int32_t kInvalidArgument = -2147024809;  // E_INVALIDARG

std::string quoted(const std::string& text) {
    return "\"" + text + "\"";
}

std::string number(double value) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", value);
    return buffer;
}

}  // namespace

std::string pointText(const cad::Point& point) {
    return "(" + number(point[0]) + ", " + number(point[1]) + ", " + number(point[2]) + ")";
}

Selectable polyline(std::vector<double> coordinates) {
    return polyline(std::move(coordinates), {});
}

Selectable polyline(std::vector<double> coordinates, std::vector<double> bulges,
                    cad::Point normal) {
    return {cad::entity_type::kLightweightPolyline, std::move(coordinates), std::move(bulges),
            normal};
}

Selectable entityOfType(int type) {
    return {type, {}, {}, {0, 0, 1}};
}

Selectable line(double x1, double y1, double x2, double y2) {
    Selectable piece = entityOfType(cad::entity_type::kLine);
    piece.start = {x1, y1, 0};
    piece.end = {x2, y2, 0};
    return piece;
}

Selectable arc(double cx, double cy, cad::Point start, cad::Point end, cad::Point normal) {
    Selectable piece = entityOfType(cad::entity_type::kArc);
    piece.center = {cx, cy, 0};
    piece.start = start;
    piece.end = end;
    piece.normal = normal;
    return piece;
}

Selectable polyline2d(const std::vector<double>& xy, std::vector<double> bulges, int polylineType) {
    std::vector<double> coordinates;
    for (std::size_t i = 0; i + 1 < xy.size(); i += 2) {
        coordinates.insert(coordinates.end(), {xy[i], xy[i + 1], 0});
    }
    Selectable polyline = entityOfType(cad::entity_type::kPolyline);
    polyline.coordinates = std::move(coordinates);
    polyline.bulges = std::move(bulges);
    polyline.polylineType = polylineType;
    return polyline;
}

Selectable onLayer(Selectable entity, std::string layer) {
    entity.layer = std::move(layer);
    return entity;
}

Selectable text(std::string string, double x, double y) {
    Selectable label = entityOfType(cad::entity_type::kText);
    label.text = std::move(string);
    label.at = {x, y, 0};
    return label;
}

Selectable mtext(std::string string, double x, double y) {
    Selectable label = text(std::move(string), x, y);
    label.type = cad::entity_type::kMText;
    return label;
}

namespace {

std::string objectNameOfType(int type) {
    switch (type) {
        case cad::entity_type::kArc:
            return "AcDbArc";
        case cad::entity_type::kCircle:
            return "AcDbCircle";
        case cad::entity_type::kLine:
            return "AcDbLine";
        case cad::entity_type::kMText:
            return "AcDbMText";
        case cad::entity_type::kPoint:
            return "AcDbPoint";
        case cad::entity_type::kPolyline:
            return "AcDb2dPolyline";
        case cad::entity_type::kLightweightPolyline:
            return "AcDbPolyline";
        case cad::entity_type::kText:
            return "AcDbText";
        default:
            return "AcDbEntity";
    }
}

}  // namespace

// Entities carry a label for the call log and for group membership.
class ScriptedEntity : public cad::Entity {
  public:
    virtual std::string label() const = 0;
    virtual int memberId() const = 0;
};

class ScriptedPoint : public ScriptedEntity {
  public:
    ScriptedPoint(ScriptedCad& cad, int id) : cad_(cad), id_(id) {}
    std::string label() const override { return "Point#" + std::to_string(id_); }
    int memberId() const override { return id_; }
    void setColor(int color) override;
    int entityType() override {
        cad_.record(label(), "EntityType", "");
        return cad::entity_type::kPoint;
    }
    std::vector<double> coordinates() override {
        cad_.record(label(), "Coordinates", "");
        throw cad::CadError(kMemberNotFound, "Member not found");
    }
    double bulge(int index) override {
        cad_.record(label(), "GetBulge", std::to_string(index));
        throw cad::CadError(kMemberNotFound, "Member not found");
    }
    cad::Point normal() override {
        cad_.record(label(), "Normal", "");
        throw cad::CadError(kMemberNotFound, "Member not found");
    }
    std::string objectName() override {
        cad_.record(label(), "ObjectName", "");
        return "AcDbPoint";
    }
    std::string layer() override {
        cad_.record(label(), "Layer", "");
        return "0";
    }
    cad::Point startPoint() override { return notFound("StartPoint"); }
    cad::Point endPoint() override { return notFound("EndPoint"); }
    cad::Point center() override { return notFound("Center"); }
    int polylineType() override {
        notFound("Type");
        return 0;
    }
    double height() override {
        notFound("Height");
        return 0;
    }
    std::string textString() override {
        cad_.record(label(), "TextString", "");
        throw cad::CadError(kMemberNotFound, "Member not found");
    }
    cad::Point insertionPoint() override {
        cad_.record(label(), "InsertionPoint", "");
        throw cad::CadError(kMemberNotFound, "Member not found");
    }

  private:
    cad::Point notFound(const char* member) {
        cad_.record(label(), member, "");
        throw cad::CadError(kMemberNotFound, "Member not found");
    }

    ScriptedCad& cad_;
    int id_;
};

class ScriptedSelectable : public ScriptedEntity {
  public:
    ScriptedSelectable(ScriptedCad& cad, int id, Selectable what)
        : cad_(cad), id_(id), what_(std::move(what)) {}
    std::string label() const override { return "Entity#" + std::to_string(id_); }
    int memberId() const override { return -id_; }
    void setColor(int color) override { cad_.record(label(), "Color", std::to_string(color)); }
    int entityType() override {
        cad_.record(label(), "EntityType", "");
        return what_.type;
    }
    std::vector<double> coordinates() override {
        cad_.record(label(), "Coordinates", "");
        if (what_.type != cad::entity_type::kLightweightPolyline &&
            what_.type != cad::entity_type::kPolyline) {
            throw cad::CadError(kMemberNotFound, "Member not found");
        }
        return what_.coordinates;
    }
    double bulge(int index) override {
        cad_.record(label(), "GetBulge", std::to_string(index));
        if (what_.type != cad::entity_type::kLightweightPolyline &&
            what_.type != cad::entity_type::kPolyline) {
            throw cad::CadError(kMemberNotFound, "Member not found");
        }
        const std::size_t perVertex = what_.type == cad::entity_type::kPolyline ? 3 : 2;
        if (index < 0 || std::size_t(index) >= what_.coordinates.size() / perVertex) {
            throw cad::CadError(kInvalidArgument, "Invalid index");
        }
        return std::size_t(index) < what_.bulges.size() ? what_.bulges[std::size_t(index)] : 0;
    }
    cad::Point normal() override {
        cad_.record(label(), "Normal", "");
        if (what_.type != cad::entity_type::kLightweightPolyline &&
            what_.type != cad::entity_type::kPolyline && what_.type != cad::entity_type::kArc) {
            throw cad::CadError(kMemberNotFound, "Member not found");
        }
        return what_.normal;
    }
    std::string objectName() override {
        cad_.record(label(), "ObjectName", "");
        return what_.objectName.empty() ? objectNameOfType(what_.type) : what_.objectName;
    }
    std::string textString() override {
        cad_.record(label(), "TextString", "");
        if (!isText()) {
            throw cad::CadError(kMemberNotFound, "Member not found");
        }
        return what_.text;
    }
    cad::Point insertionPoint() override {
        cad_.record(label(), "InsertionPoint", "");
        if (!isText()) {
            throw cad::CadError(kMemberNotFound, "Member not found");
        }
        return what_.at;
    }
    std::string layer() override {
        cad_.record(label(), "Layer", "");
        return what_.layer;
    }
    cad::Point startPoint() override {
        cad_.record(label(), "StartPoint", "");
        requirePiece();
        return what_.start;
    }
    cad::Point endPoint() override {
        cad_.record(label(), "EndPoint", "");
        requirePiece();
        return what_.end;
    }
    cad::Point center() override {
        cad_.record(label(), "Center", "");
        if (what_.type != cad::entity_type::kArc) {
            throw cad::CadError(kMemberNotFound, "Member not found");
        }
        return what_.center;
    }
    int polylineType() override {
        cad_.record(label(), "Type", "");
        if (what_.type != cad::entity_type::kPolyline) {
            throw cad::CadError(kMemberNotFound, "Member not found");
        }
        return what_.polylineType;
    }
    double height() override {
        cad_.record(label(), "Height", "");
        if (!isText()) {
            throw cad::CadError(kMemberNotFound, "Member not found");
        }
        return what_.height;
    }

  private:
    void requirePiece() const {
        if (what_.type != cad::entity_type::kLine && what_.type != cad::entity_type::kArc) {
            throw cad::CadError(kMemberNotFound, "Member not found");
        }
    }
    bool isText() const {
        return what_.type == cad::entity_type::kText || what_.type == cad::entity_type::kMText;
    }

    ScriptedCad& cad_;
    int id_;
    Selectable what_;
};

struct ScriptedCad::Impl {
    explicit Impl(ScriptedCad& owner);
    ScriptedCad& cad;
    std::shared_ptr<cad::Platform> platform;
    std::shared_ptr<cad::Application> application;
    int nextSelectable = 1;
};

namespace {

class Platform : public cad::Platform {
  public:
    explicit Platform(ScriptedCad& cad) : cad_(cad) {}
    cad::ApplicationPtr getRunningObject(const std::string& progId) override;
    cad::ApplicationPtr createObject(const std::string& progId) override;
    std::vector<std::string> versionedProgIds(const std::string& progId) override;
    void activateWindow(const std::string& title) override;

  private:
    ScriptedCad& cad_;
};

class Application : public cad::Application {
  public:
    explicit Application(ScriptedCad& cad) : cad_(cad) {}
    void setVisible(bool visible) override;
    cad::DocumentPtr activeDocument() override;
    std::string caption() override {
        cad_.record("Application", "Caption", "");
        return cad_.caption;
    }

  private:
    ScriptedCad& cad_;
};

class Utility : public cad::Utility {
  public:
    explicit Utility(ScriptedCad& cad) : cad_(cad) {}
    cad::Point getPoint(const std::string& prompt) override;

  private:
    ScriptedCad& cad_;
};

class ModelSpace : public cad::ModelSpace {
  public:
    explicit ModelSpace(ScriptedCad& cad) : cad_(cad) {}
    cad::EntityPtr addPoint(const cad::Point& at) override;

  private:
    ScriptedCad& cad_;
};

class Group : public cad::Group {
  public:
    Group(ScriptedCad& cad, std::string name) : cad_(cad), name_(std::move(name)) {}
    void appendItems(const std::vector<cad::EntityPtr>& entities) override;

  private:
    ScriptedCad& cad_;
    std::string name_;
};

class Groups : public cad::Groups {
  public:
    explicit Groups(ScriptedCad& cad) : cad_(cad) {}
    cad::GroupPtr add(const std::string& name) override;

  private:
    ScriptedCad& cad_;
};

class SelectionSet : public cad::SelectionSet {
  public:
    SelectionSet(ScriptedCad& cad, std::string name) : cad_(cad), name_(std::move(name)) {}
    void selectOnScreen() override;
    int count() override {
        use("Count", "");
        return static_cast<int>(members_.size());
    }
    cad::EntityPtr item(int index) override {
        use("Item", std::to_string(index));
        if (index < 0 || index >= static_cast<int>(members_.size())) {
            throw cad::CadError(-2147352565, "Invalid index");  // DISP_E_BADINDEX
        }
        return members_[static_cast<std::size_t>(index)];
    }
    void deleteSet() override;

  private:
    std::string label() const { return "SelectionSet:" + name_; }
    // Records a call; a deleted set answers none.
    void use(const std::string& member, const std::string& args) {
        cad_.record(label(), member, args);
        if (deleted_) {
            throw cad::CadError(ScriptedCad::kSetDeleted, "The selection set was deleted");
        }
    }
    ScriptedCad& cad_;
    std::string name_;
    std::vector<cad::EntityPtr> members_;
    bool deleted_ = false;
};

class SelectionSets : public cad::SelectionSets {
  public:
    explicit SelectionSets(ScriptedCad& cad) : cad_(cad) {}
    cad::SelectionSetPtr add(const std::string& name) override;

  private:
    ScriptedCad& cad_;
};

class Document : public cad::Document {
  public:
    explicit Document(ScriptedCad& cad) : cad_(cad) {}
    std::shared_ptr<cad::ModelSpace> modelSpace() override {
        cad_.record("Document", "ModelSpace", "");
        return std::make_shared<ModelSpace>(cad_);
    }
    std::shared_ptr<cad::Utility> utility() override {
        cad_.record("Document", "Utility", "");
        return std::make_shared<Utility>(cad_);
    }
    std::shared_ptr<cad::Groups> groups() override {
        cad_.record("Document", "Groups", "");
        return std::make_shared<Groups>(cad_);
    }
    std::shared_ptr<cad::SelectionSets> selectionSets() override {
        cad_.record("Document", "SelectionSets", "");
        return std::make_shared<SelectionSets>(cad_);
    }
    void setVariable(const std::string& name, std::int16_t value) override;

  private:
    ScriptedCad& cad_;
};

}  // namespace

// The scripted objects reach the double's records through these helpers.
struct Access {
    static std::vector<DrawnPoint>& points(ScriptedCad& cad) { return cad.points_; }
    static auto& groups(ScriptedCad& cad) { return cad.groups_; }
    static auto& selectionSets(ScriptedCad& cad) { return cad.selectionSets_; }
    static auto& variables(ScriptedCad& cad) { return cad.variables_; }
    static auto& activated(ScriptedCad& cad) { return cad.activated_; }
    static auto& picks(ScriptedCad& cad) { return cad.picks_; }
    static auto& selection(ScriptedCad& cad) { return cad.selection_; }
    static int& started(ScriptedCad& cad) { return cad.started_; }
    static bool& visible(ScriptedCad& cad) { return cad.visible_; }
};

void ScriptedPoint::setColor(int color) {
    cad_.record(label(), "Color", std::to_string(color));
    for (auto& point : Access::points(cad_)) {
        if (point.id == id_) {
            point.color = color;
        }
    }
}

namespace {

cad::ApplicationPtr Platform::getRunningObject(const std::string& progId) {
    cad_.record("Platform", "GetActiveObject", quoted(progId));
    const auto& as = cad_.runningAs;
    if (!cad_.running || (!as.empty() && std::find(as.begin(), as.end(), progId) == as.end())) {
        throw cad::CadError(kUnavailable, "Operation unavailable");
    }
    return cad_.impl().application;
}

cad::ApplicationPtr Platform::createObject(const std::string& progId) {
    cad_.record("Platform", "CreateObject", quoted(progId));
    if (!cad_.installed) {
        throw cad::CadError(-2147221005, cad_.startFailure);  // CO_E_CLASSSTRING
    }
    ++Access::started(cad_);
    cad_.running = true;
    return cad_.impl().application;
}

std::vector<std::string> Platform::versionedProgIds(const std::string& progId) {
    cad_.record("Platform", "VersionedProgIds", quoted(progId));
    return cad_.versions;
}

void Platform::activateWindow(const std::string& title) {
    cad_.record("Platform", "AppActivate", quoted(title));
    Access::activated(cad_).push_back(title);
}

// Each fetch hands out a new object, as an automation server hands out a
// new reference, so a test can tell a reference kept from one fetched again.
cad::DocumentPtr Application::activeDocument() {
    cad_.record("Application", "ActiveDocument", "");
    if (!cad_.hasDocument) {
        throw cad::CadError(kNoDocument, "无法获取 Document 对象");
    }
    return std::make_shared<Document>(cad_);
}

void Application::setVisible(bool visible) {
    cad_.record("Application", "Visible", visible ? "True" : "False");
    Access::visible(cad_) = visible;
}

cad::Point Utility::getPoint(const std::string& prompt) {
    cad_.record("Utility", "GetPoint", quoted(prompt));
    auto& picks = Access::picks(cad_);
    if (picks.empty()) {
        throw cad::CadError(cad::kEFail, "The user ended the input");
    }
    const cad::Point next = picks.front();
    picks.pop_front();
    return next;
}

cad::EntityPtr ModelSpace::addPoint(const cad::Point& at) {
    cad_.record("ModelSpace", "AddPoint", pointText(at));
    auto& points = Access::points(cad_);
    const int id = static_cast<int>(points.size()) + 1;
    points.push_back({id, at, 256});
    return std::make_shared<ScriptedPoint>(cad_, id);
}

std::string listText(const std::vector<cad::EntityPtr>& entities) {
    std::string text = "[";
    for (const auto& entity : entities) {
        auto* scripted = dynamic_cast<ScriptedEntity*>(entity.get());
        text += (text.size() > 1 ? ", " : "") + (scripted ? scripted->label() : "?");
    }
    return text + "]";
}

void Group::appendItems(const std::vector<cad::EntityPtr>& entities) {
    cad_.record("Group:" + name_, "AppendItems", listText(entities));
    for (auto& [name, members] : Access::groups(cad_)) {
        if (name == name_) {
            for (const auto& entity : entities) {
                auto* scripted = dynamic_cast<ScriptedEntity*>(entity.get());
                if (!scripted) {
                    throw cad::CadError(-2147024809, "Not an entity of this drawing");
                }
                members.push_back(scripted->memberId());
            }
            return;
        }
    }
    throw cad::CadError(-2145386484, "The group has been erased");
}

cad::GroupPtr Groups::add(const std::string& name) {
    cad_.record("Groups", "Add", quoted(name));
    auto& groups = Access::groups(cad_);
    for (const auto& group : groups) {
        if (group.first == name) {
            throw cad::CadError(ScriptedCad::kNameTaken, "Duplicate record name");
        }
    }
    groups.emplace_back(name, std::vector<int>{});
    return std::make_shared<Group>(cad_, name);
}

void SelectionSet::selectOnScreen() {
    use("SelectOnScreen", "");
    members_.clear();
    for (auto& what : Access::selection(cad_)) {
        members_.push_back(
            std::make_shared<ScriptedSelectable>(cad_, cad_.impl().nextSelectable++, what));
    }
}

void SelectionSet::deleteSet() {
    use("Delete", "");
    auto& sets = Access::selectionSets(cad_);
    sets.erase(std::remove(sets.begin(), sets.end(), name_), sets.end());
    deleted_ = true;
}

cad::SelectionSetPtr SelectionSets::add(const std::string& name) {
    cad_.record("SelectionSets", "Add", quoted(name));
    auto& sets = Access::selectionSets(cad_);
    if (std::find(sets.begin(), sets.end(), name) != sets.end()) {
        throw cad::CadError(ScriptedCad::kNameTaken, "Duplicate record name");
    }
    if (sets.size() >= static_cast<std::size_t>(cad::kMaxSelectionSets)) {
        throw cad::CadError(ScriptedCad::kTooManySelectionSets, "Too many selection sets");
    }
    sets.push_back(name);
    return std::make_shared<SelectionSet>(cad_, name);
}

void Document::setVariable(const std::string& name, std::int16_t value) {
    cad_.record("Document", "SetVariable", quoted(name) + ", " + std::to_string(value));
    Access::variables(cad_)[name] = value;
}

}  // namespace

ScriptedCad::Impl::Impl(ScriptedCad& owner)
    : cad(owner),
      platform(std::make_shared<Platform>(owner)),
      application(std::make_shared<Application>(owner)) {}

ScriptedCad::ScriptedCad() : impl_(std::make_unique<Impl>(*this)) {}
ScriptedCad::~ScriptedCad() = default;

void ScriptedCad::queuePoint(double x, double y, double z) {
    picks_.push_back({x, y, z});
}
void ScriptedCad::prepareSelection(std::vector<Selectable> entities) {
    selection_ = std::move(entities);
}
void ScriptedCad::failCall(int k, std::int32_t number) {
    failures_[calls_.size() + static_cast<std::size_t>(k) - 1] = number;
}

cad::Platform& ScriptedCad::platform() {
    return *impl_->platform;
}

std::vector<std::string> ScriptedCad::members() const {
    std::vector<std::string> result;
    for (const auto& call : calls_) {
        result.push_back(call.text());
    }
    return result;
}

std::vector<std::string> ScriptedCad::transcript() const {
    std::vector<std::string> result;
    for (const auto& call : calls_) {
        result.push_back(call.line());
    }
    return result;
}

std::size_t ScriptedCad::countOf(const std::string& member) const {
    return static_cast<std::size_t>(std::count_if(
        calls_.begin(), calls_.end(),
        [&](const Call& call) { return call.member == member || call.text() == member; }));
}

const DrawnPoint* ScriptedCad::point(int id) const {
    for (const auto& point : points_) {
        if (point.id == id) {
            return &point;
        }
    }
    return nullptr;
}

const std::vector<int>* ScriptedCad::group(const std::string& name) const {
    for (const auto& group : groups_) {
        if (group.first == name) {
            return &group.second;
        }
    }
    return nullptr;
}

void ScriptedCad::record(const std::string& object, const std::string& member,
                         const std::string& args) {
    const std::size_t index = calls_.size();
    calls_.push_back({object, member, args, false});
    std::optional<std::int32_t> failure;
    if (auto found = failures_.find(index); found != failures_.end()) {
        failure = found->second;
        failures_.erase(found);
    }
    if (failure) {
        calls_.back().failed = true;
    }
    if (onCall) {
        onCall(calls_.back());
    }
    if (failure) {
        throw cad::CadError(*failure, "Scripted failure");
    }
}

}  // namespace tendra::testing
