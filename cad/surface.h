// The CAD surface: every operation Tendra asks of a CAD application, as
// abstract classes. AutoCAD by COM, the built-in drawing board and the
// scripted test double each implement it.
//
// Every call may fail by throwing CadError, which carries the error number an
// automation client sees. Callers decide by that number, never by the text.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tendra::cad {

// The generic failure (0x80004005). AutoCAD reports an ended prompt with it.
inline constexpr std::int32_t kEFail = -2147467259;
// 0x80210020: AutoCAD's "user input is a keyword / input ended" for GetPoint.
inline constexpr std::int32_t kInputEnded = -2145320928;
// A call made through a reference that was never set (no connection).
inline constexpr std::int32_t kObjectNotSet = 91;

class CadError : public std::runtime_error {
  public:
    CadError(std::int32_t number, const std::string& description)
        : std::runtime_error(description), number_(number) {}
    std::int32_t number() const noexcept { return number_; }
    std::string description() const { return what(); }

  private:
    std::int32_t number_;
};

// The failure of a call made through a reference that holds no object.
inline CadError objectNotSetError() {
    return CadError(kObjectNotSet, "Object variable not set");
}

// The object a CAD call returned; a call that returned no object fails as a
// reference that was never set.
template <class T>
T& required(const std::shared_ptr<T>& object) {
    if (!object) {
        throw objectNotSetError();
    }
    return *object;
}

using Point = std::array<double, 3>;

// Entity types as AutoCAD numbers them.
namespace entity_type {
inline constexpr int kArc = 4;
inline constexpr int kCircle = 8;
inline constexpr int kLine = 19;
inline constexpr int kMText = 21;
inline constexpr int kPoint = 22;
inline constexpr int kPolyline = 23;  // old-style 2D polyline
inline constexpr int kLightweightPolyline = 24;
inline constexpr int kText = 32;
}  // namespace entity_type

class Entity {
  public:
    virtual ~Entity() = default;
    virtual void setColor(int aciColor) = 0;
    virtual int entityType() = 0;
    // The name of the layer the entity lies on.
    virtual std::string layer() = 0;
    // Flat X0, Y0, X1, Y1, ... of a lightweight polyline, X0, Y0, Z0, X1, ...
    // of an old-style 2D polyline; fails on other entities. They are in the
    // polyline's own coordinate system (see normal()); a 2D polyline's third
    // number is no part of its plan.
    virtual std::vector<double> coordinates() = 0;
    // The bulge of a polyline's vertex (from 0), lightweight or old-style:
    // the tangent of a quarter of the included angle of the segment to the
    // next vertex, positive counter-clockwise, 0 for a straight one. Fails on
    // other entities and for an index past the last vertex.
    virtual double bulge(int index) = 0;
    // The unit normal of a polyline's or an arc's plane, which decides its
    // own coordinate system: (0, 0, 1) where that is the world's. An arc
    // runs counter-clockwise about it.
    virtual Point normal() = 0;
    // Where a LINE or an ARC starts and ends, in world coordinates; fails on
    // other entities.
    virtual Point startPoint() = 0;
    virtual Point endPoint() = 0;
    // An ARC's centre, in world coordinates; fails on other entities.
    virtual Point center() = 0;
    // An old-style 2D polyline's fitting: 0 when its vertices are its
    // segments' ends, otherwise curve-fit or splined; fails on other entities.
    virtual int polylineType() = 0;
    // A TEXT's or MTEXT's character height; fails on other entities.
    virtual double height() = 0;
    // The entity's class as the CAD names it ("AcDbText", "AcDbMText",
    // "AcDbPolyline", ...).
    virtual std::string objectName() = 0;
    // The text of a TEXT or MTEXT, an MTEXT's with its inline format codes;
    // fails on other entities.
    virtual std::string textString() = 0;
    // Where a TEXT or MTEXT is inserted, in world coordinates; fails on other
    // entities.
    virtual Point insertionPoint() = 0;
};
using EntityPtr = std::shared_ptr<Entity>;

class Group {
  public:
    virtual ~Group() = default;
    virtual void appendItems(const std::vector<EntityPtr>& entities) = 0;
};
using GroupPtr = std::shared_ptr<Group>;

class Groups {
  public:
    virtual ~Groups() = default;
    virtual GroupPtr add(const std::string& name) = 0;
};

class SelectionSet {
  public:
    virtual ~SelectionSet() = default;
    // Lets the user select on screen, with no filter; returns when done.
    virtual void selectOnScreen() = 0;
    virtual int count() = 0;
    // Members in selection order, from 0.
    virtual EntityPtr item(int index) = 0;
    // AutoCAD's Delete: removes the set from the document's selection sets,
    // which a session holds only so many of (kMaxSelectionSets). The
    // entities stay in the drawing; the set can no longer be used.
    virtual void deleteSet() = 0;
};
using SelectionSetPtr = std::shared_ptr<SelectionSet>;

// The most selection sets AutoCAD keeps open in one session; adding one
// more fails.
inline constexpr int kMaxSelectionSets = 128;

class SelectionSets {
  public:
    virtual ~SelectionSets() = default;
    virtual SelectionSetPtr add(const std::string& name) = 0;
};

class ModelSpace {
  public:
    virtual ~ModelSpace() = default;
    virtual EntityPtr addPoint(const Point& at) = 0;
};

class Utility {
  public:
    virtual ~Utility() = default;
    // No base point. Returns the picked point; an ended prompt throws.
    virtual Point getPoint(const std::string& prompt) = 0;
};

class Document {
  public:
    virtual ~Document() = default;
    virtual std::shared_ptr<ModelSpace> modelSpace() = 0;
    virtual std::shared_ptr<Utility> utility() = 0;
    virtual std::shared_ptr<Groups> groups() = 0;
    virtual std::shared_ptr<SelectionSets> selectionSets() = 0;
    virtual void setVariable(const std::string& name, std::int16_t value) = 0;
};
using DocumentPtr = std::shared_ptr<Document>;

class Application {
  public:
    virtual ~Application() = default;
    virtual void setVisible(bool visible) = 0;
    virtual DocumentPtr activeDocument() = 0;
    virtual std::string caption() = 0;
};
using ApplicationPtr = std::shared_ptr<Application>;

// What the connection needs from the operating system.
class Platform {
  public:
    virtual ~Platform() = default;
    // The running object of a class; throws when none runs.
    virtual ApplicationPtr getRunningObject(const std::string& progId) = 0;
    // A new object of a class; throws with the system's description on failure.
    virtual ApplicationPtr createObject(const std::string& progId) = 0;
    // The version-dependent ProgIDs the system lists for a version-independent
    // one ("AutoCAD.Application.17.1", "AutoCAD.Application.17"), newest
    // first. A platform without such a list has none.
    virtual std::vector<std::string> versionedProgIds(const std::string& progId) {
        static_cast<void>(progId);
        return {};
    }
    // Brings the top-level window with this exact title to the front, without
    // waiting. A missing window is not an error.
    virtual void activateWindow(const std::string& title) = 0;
};

}  // namespace tendra::cad
