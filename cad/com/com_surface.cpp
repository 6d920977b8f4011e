#include "cad/com/com_surface.h"

#include "cad/com/com_error.h"
#include "cad/object_names.h"

namespace tendra::cad::com {

namespace {

// A point as AutoCAD hands it out: three doubles.
Point pointResult(const VARIANT& value) {
    const std::vector<double> numbers = doublesResult(value);
    if (numbers.size() != 3) {
        throw systemError(DISP_E_TYPEMISMATCH);
    }
    return {numbers[0], numbers[1], numbers[2]};
}

// Color is documented as obsolete and EntityType is hidden in newer type
// libraries; where an object no longer knows them by name, the colour goes
// through TrueColor and the type is told by the class name.
class ComEntity final : public Entity {
  public:
    explicit ComEntity(Dispatch object) : object_(std::move(object)) {}

    void setColor(int aciColor) override {
        if (object_.knows(L"Color")) {
            object_.putProperty(L"Color", int32Argument(aciColor));
            return;
        }
        // The colour object is a copy: it takes effect once assigned back.
        Dispatch color = object_.child(object_.getProperty(L"TrueColor"), ObjectKind::Color);
        color.putProperty(L"ColorIndex", int32Argument(aciColor));
        object_.putProperty(L"TrueColor", dispatchArgument(color.get()));
    }
    // The type is kept: it tells which class's DISPIDs the other members have.
    int entityType() override {
        type_ = object_.knows(L"EntityType") ? integerResult(object_.getProperty(L"EntityType"))
                                             : entityTypeOfObjectName(objectName());
        return type_;
    }
    std::string layer() override { return textResult(object_.getProperty(L"Layer")); }
    std::vector<double> coordinates() override {
        return doublesResult(ofClass().getProperty(L"Coordinates"));
    }
    double bulge(int index) override {
        return numberResult(ofClass().callMethod(L"GetBulge", argumentList(int32Argument(index))));
    }
    Point normal() override { return pointResult(ofClass().getProperty(L"Normal")); }
    Point startPoint() override { return pointResult(ofClass().getProperty(L"StartPoint")); }
    Point endPoint() override { return pointResult(ofClass().getProperty(L"EndPoint")); }
    Point center() override { return pointResult(ofClass().getProperty(L"Center")); }
    // AutoCAD's Type of a 2D polyline: 0 simple, 1 curve-fit, 2 and 3 splined.
    int polylineType() override { return integerResult(ofClass().getProperty(L"Type")); }
    double height() override { return numberResult(ofClass().getProperty(L"Height")); }
    // The name is kept, as the type is.
    std::string objectName() override {
        objectName_ = textResult(object_.getProperty(L"ObjectName"));
        return objectName_;
    }
    std::string textString() override { return textResult(ofClass().getProperty(L"TextString")); }
    Point insertionPoint() override {
        return pointResult(ofClass().getProperty(L"InsertionPoint"));
    }

    IDispatch* dispatch() const { return object_.get(); }

  private:
    // Each class answers its own members under DISPIDs of its own (a
    // lightweight and an old-style polyline both have Normal, a LINE and an
    // ARC both have StartPoint, a point has Coordinates): once the type or
    // the object name has told the class, its members are kept per class;
    // before that, and for other classes, they are looked up afresh.
    Dispatch ofClass() const {
        switch (type_ ? type_ : entityTypeOfObjectName(objectName_)) {
            case entity_type::kLightweightPolyline:
                return object_.asKind(ObjectKind::LightweightPolyline);
            case entity_type::kPolyline:
                return object_.asKind(ObjectKind::Polyline);
            case entity_type::kLine:
                return object_.asKind(ObjectKind::Line);
            case entity_type::kArc:
                return object_.asKind(ObjectKind::Arc);
            case entity_type::kText:
                return object_.asKind(ObjectKind::Text);
            case entity_type::kMText:
                return object_.asKind(ObjectKind::MText);
            default:
                return object_.uncached();
        }
    }

    Dispatch object_;
    int type_ = 0;
    std::string objectName_;
};

// An entity handed back by a member, sharing the parent's retry policy.
EntityPtr entityResult(const Dispatch& parent, const VARIANT& value) {
    return std::make_shared<ComEntity>(parent.child(value, ObjectKind::Entity));
}

class ComGroup final : public Group {
  public:
    explicit ComGroup(Dispatch object) : object_(std::move(object)) {}

    // AutoCAD rejects AppendItems unless the array's element type is VT_DISPATCH.
    void appendItems(const std::vector<EntityPtr>& entities) override {
        std::vector<IDispatch*> objects;
        objects.reserve(entities.size());
        for (const auto& entity : entities) {
            const auto* com = dynamic_cast<const ComEntity*>(entity.get());
            if (!com) {
                throw systemError(DISP_E_TYPEMISMATCH);
            }
            objects.push_back(com->dispatch());
        }
        object_.callMethod(L"AppendItems", argumentList(dispatchArrayArgument(objects)));
    }

  private:
    Dispatch object_;
};

class ComGroups final : public Groups {
  public:
    explicit ComGroups(Dispatch object) : object_(std::move(object)) {}

    GroupPtr add(const std::string& name) override {
        const Variant group = object_.callMethod(L"Add", argumentList(bstrArgument(name)));
        return std::make_shared<ComGroup>(object_.child(group, ObjectKind::Group));
    }

  private:
    Dispatch object_;
};

class ComSelectionSet final : public SelectionSet {
  public:
    explicit ComSelectionSet(Dispatch object) : object_(std::move(object)) {}

    // No filter arguments at all: AutoCAD then lets the user pick anything.
    void selectOnScreen() override { object_.callMethod(L"SelectOnScreen"); }
    int count() override { return integerResult(object_.getProperty(L"Count")); }
    EntityPtr item(int index) override {
        return entityResult(object_,
                            object_.callMethod(L"Item", argumentList(int32Argument(index))));
    }
    void deleteSet() override { object_.callMethod(L"Delete"); }

  private:
    Dispatch object_;
};

class ComSelectionSets final : public SelectionSets {
  public:
    explicit ComSelectionSets(Dispatch object) : object_(std::move(object)) {}

    SelectionSetPtr add(const std::string& name) override {
        const Variant set = object_.callMethod(L"Add", argumentList(bstrArgument(name)));
        return std::make_shared<ComSelectionSet>(object_.child(set, ObjectKind::SelectionSet));
    }

  private:
    Dispatch object_;
};

class ComModelSpace final : public ModelSpace {
  public:
    explicit ComModelSpace(Dispatch object) : object_(std::move(object)) {}

    EntityPtr addPoint(const Point& at) override {
        auto arguments = argumentList(doubleArrayArgument(at.data(), at.size()));
        return entityResult(object_, object_.callMethod(L"AddPoint", std::move(arguments)));
    }

  private:
    Dispatch object_;
};

class ComUtility final : public Utility {
  public:
    explicit ComUtility(Dispatch object) : object_(std::move(object)) {}

    // The base point is left out as a missing optional argument, so AutoCAD
    // draws no rubber band.
    Point getPoint(const std::string& prompt) override {
        return pointResult(
            object_.callMethod(L"GetPoint", argumentList(missingArgument(), bstrArgument(prompt))));
    }

  private:
    Dispatch object_;
};

class ComDocument final : public Document {
  public:
    explicit ComDocument(Dispatch object) : object_(std::move(object)) {}

    std::shared_ptr<ModelSpace> modelSpace() override {
        return std::make_shared<ComModelSpace>(member(L"ModelSpace", ObjectKind::ModelSpace));
    }
    std::shared_ptr<Utility> utility() override {
        return std::make_shared<ComUtility>(member(L"Utility", ObjectKind::Utility));
    }
    std::shared_ptr<Groups> groups() override {
        return std::make_shared<ComGroups>(member(L"Groups", ObjectKind::Groups));
    }
    std::shared_ptr<SelectionSets> selectionSets() override {
        return std::make_shared<ComSelectionSets>(
            member(L"SelectionSets", ObjectKind::SelectionSets));
    }
    // System variables are typed: PDMODE takes a 16-bit integer and nothing else.
    void setVariable(const std::string& name, std::int16_t value) override {
        object_.callMethod(L"SetVariable", argumentList(bstrArgument(name), int16Argument(value)));
    }

  private:
    Dispatch member(std::wstring_view name, ObjectKind kind) {
        return object_.child(object_.getProperty(name), kind);
    }

    Dispatch object_;
};

class ComApplication final : public Application {
  public:
    explicit ComApplication(Dispatch object) : object_(std::move(object)) {}

    void setVisible(bool visible) override {
        object_.putProperty(L"Visible", boolArgument(visible));
    }
    DocumentPtr activeDocument() override {
        return std::make_shared<ComDocument>(
            object_.child(object_.getProperty(L"ActiveDocument"), ObjectKind::Document));
    }
    std::string caption() override { return textResult(object_.getProperty(L"Caption")); }

  private:
    Dispatch object_;
};

}  // namespace

ApplicationPtr wrapApplication(Dispatch application) {
    return std::make_shared<ComApplication>(std::move(application));
}

}  // namespace tendra::cad::com
