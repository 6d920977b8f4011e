#include "cad/com/com_surface.h"

#include "cad/com/com_error.h"

namespace tendra::cad::com {

namespace {

class ComEntity final : public Entity {
  public:
    explicit ComEntity(Dispatch object) : object_(std::move(object)) {}

    void setColor(int aciColor) override { object_.putProperty(L"Color", int32Argument(aciColor)); }
    int entityType() override { return integerResult(object_.getProperty(L"EntityType")); }
    std::vector<double> coordinates() override {
        return doublesResult(object_.getProperty(L"Coordinates"));
    }

    IDispatch* dispatch() const { return object_.get(); }

  private:
    Dispatch object_;
};

// An entity handed back by a member, sharing the parent's retry policy.
EntityPtr entityResult(const VARIANT& value, const RetryPolicy& policy) {
    return std::make_shared<ComEntity>(Dispatch(objectResult(value), policy));
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
        return std::make_shared<ComGroup>(Dispatch(objectResult(group), object_.policy()));
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
        return entityResult(object_.callMethod(L"Item", argumentList(int32Argument(index))),
                            object_.policy());
    }

  private:
    Dispatch object_;
};

class ComSelectionSets final : public SelectionSets {
  public:
    explicit ComSelectionSets(Dispatch object) : object_(std::move(object)) {}

    SelectionSetPtr add(const std::string& name) override {
        const Variant set = object_.callMethod(L"Add", argumentList(bstrArgument(name)));
        return std::make_shared<ComSelectionSet>(Dispatch(objectResult(set), object_.policy()));
    }

  private:
    Dispatch object_;
};

class ComModelSpace final : public ModelSpace {
  public:
    explicit ComModelSpace(Dispatch object) : object_(std::move(object)) {}

    EntityPtr addPoint(const Point& at) override {
        auto arguments = argumentList(doubleArrayArgument(at.data(), at.size()));
        return entityResult(object_.callMethod(L"AddPoint", std::move(arguments)),
                            object_.policy());
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
        const std::vector<double> numbers = doublesResult(
            object_.callMethod(L"GetPoint", argumentList(missingArgument(), bstrArgument(prompt))));
        if (numbers.size() != 3) {
            throw systemError(DISP_E_TYPEMISMATCH);
        }
        return {numbers[0], numbers[1], numbers[2]};
    }

  private:
    Dispatch object_;
};

class ComDocument final : public Document {
  public:
    explicit ComDocument(Dispatch object) : object_(std::move(object)) {}

    std::shared_ptr<ModelSpace> modelSpace() override {
        return std::make_shared<ComModelSpace>(member(L"ModelSpace"));
    }
    std::shared_ptr<Utility> utility() override {
        return std::make_shared<ComUtility>(member(L"Utility"));
    }
    std::shared_ptr<Groups> groups() override {
        return std::make_shared<ComGroups>(member(L"Groups"));
    }
    std::shared_ptr<SelectionSets> selectionSets() override {
        return std::make_shared<ComSelectionSets>(member(L"SelectionSets"));
    }
    // System variables are typed: PDMODE takes a 16-bit integer and nothing else.
    void setVariable(const std::string& name, std::int16_t value) override {
        object_.callMethod(L"SetVariable", argumentList(bstrArgument(name), int16Argument(value)));
    }

  private:
    Dispatch member(std::wstring_view name) {
        return Dispatch(objectResult(object_.getProperty(name)), object_.policy());
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
            Dispatch(objectResult(object_.getProperty(L"ActiveDocument")), object_.policy()));
    }
    std::string caption() override { return textResult(object_.getProperty(L"Caption")); }

  private:
    Dispatch object_;
};

}  // namespace

ApplicationPtr wrapApplication(ComPtr<IDispatch> application, RetryPolicy policy) {
    return std::make_shared<ComApplication>(Dispatch(std::move(application), policy));
}

}  // namespace tendra::cad::com
