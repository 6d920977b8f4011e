#include "cad/board/board_surface.h"

#include <algorithm>
#include <map>

#include "cad/board/board_request.h"
#include "cad/board/board_requests.h"
#include "cad/board/board_window.h"

namespace tendra::board {

namespace {

[[noreturn]] void disconnected() {
    throw cad::CadError(kDisconnected, "绘图板已关闭或图形已更换");
}

class BoardUtility : public cad::Utility {
  public:
    explicit BoardUtility(BoardLink link) : link_(std::move(link)) {}
    cad::Point getPoint(const std::string& prompt) override {
        link_.drawing();
        return requestPoint(link_.window(), prompt);
    }

  private:
    BoardLink link_;
};

class BoardModelSpace : public cad::ModelSpace {
  public:
    explicit BoardModelSpace(BoardLink link) : link_(std::move(link)) {}
    cad::EntityPtr addPoint(const cad::Point& at) override {
        const EntityId id = link_.drawing().addPoint(at[0], at[1], at[2]);
        link_.window().drawingChanged();
        return std::make_shared<BoardEntity>(link_, id);
    }

  private:
    BoardLink link_;
};

class BoardGroup : public cad::Group {
  public:
    BoardGroup(BoardLink link, std::string name) : link_(std::move(link)), name_(std::move(name)) {}
    void appendItems(const std::vector<cad::EntityPtr>& entities) override {
        Drawing& drawing = link_.drawing();
        const std::shared_ptr<Drawing> own = link_.lockDrawing();
        std::vector<EntityId> ids;
        ids.reserve(entities.size());
        for (const cad::EntityPtr& entity : entities) {
            const auto* boardEntity = dynamic_cast<const BoardEntity*>(entity.get());
            // An entity of another drawing, or of no board at all, is no member.
            if (!boardEntity || boardEntity->link().lockDrawing() != own) {
                throw cad::CadError(kInvalidArgument, "对象不属于此图形");
            }
            ids.push_back(boardEntity->id());
        }
        drawing.appendToGroup(name_, ids);
    }

  private:
    BoardLink link_;
    std::string name_;
};

class BoardGroups : public cad::Groups {
  public:
    explicit BoardGroups(BoardLink link) : link_(std::move(link)) {}
    cad::GroupPtr add(const std::string& name) override {
        link_.drawing().addGroup(name);
        return std::make_shared<BoardGroup>(link_, name);
    }

  private:
    BoardLink link_;
};

// The selection sets open in each drawing, as the session counts them against
// its limit. The drawing keeps every set it was given; a deleted one is
// emptied there and leaves this list.
std::vector<std::string>& openSelectionSets(const std::shared_ptr<Drawing>& drawing) {
    static std::map<std::weak_ptr<Drawing>, std::vector<std::string>, std::owner_less<>> open;
    std::erase_if(open, [](const auto& entry) { return entry.first.expired(); });
    return open[drawing];
}

class BoardSelectionSet : public cad::SelectionSet {
  public:
    BoardSelectionSet(BoardLink link, std::string name)
        : link_(std::move(link)), name_(std::move(name)) {}
    void selectOnScreen() override {
        requireOpen();
        const std::vector<EntityId> selected = requestSelection(link_.window());
        // The drawing may have gone while the user was selecting.
        link_.drawing().appendToSelectionSet(name_, selected);
    }
    int count() override { return int(requireOpen().selectionSet(name_).size()); }
    void deleteSet() override {
        Drawing& drawing = requireOpen();
        drawing.clearSelectionSet(name_);
        std::erase(openSelectionSets(link_.lockDrawing()), name_);
    }
    cad::EntityPtr item(int index) override {
        const std::vector<EntityId>& members = requireOpen().selectionSet(name_);
        if (index < 0 || std::size_t(index) >= members.size()) {
            throw cad::CadError(kInvalidArgument, "索引超出范围");
        }
        return std::make_shared<BoardEntity>(link_, members[std::size_t(index)]);
    }

  private:
    // The drawing, while this set is open in it.
    Drawing& requireOpen() const {
        Drawing& drawing = link_.drawing();
        const auto& open = openSelectionSets(link_.lockDrawing());
        if (std::find(open.begin(), open.end(), name_) == open.end()) {
            throw cad::CadError(kInvalidArgument, "选择集已删除");
        }
        return drawing;
    }

    BoardLink link_;
    std::string name_;
};

class BoardSelectionSets : public cad::SelectionSets {
  public:
    explicit BoardSelectionSets(BoardLink link) : link_(std::move(link)) {}
    cad::SelectionSetPtr add(const std::string& name) override {
        Drawing& drawing = link_.drawing();
        auto& open = openSelectionSets(link_.lockDrawing());
        if (open.size() >= std::size_t(cad::kMaxSelectionSets)) {
            throw cad::CadError(kTooManySelectionSets, "选择集过多");
        }
        drawing.addSelectionSet(name);
        open.push_back(name);
        return std::make_shared<BoardSelectionSet>(link_, name);
    }

  private:
    BoardLink link_;
};

class BoardDocument : public cad::Document {
  public:
    explicit BoardDocument(BoardLink link) : link_(std::move(link)) {}
    std::shared_ptr<cad::ModelSpace> modelSpace() override {
        link_.drawing();
        return std::make_shared<BoardModelSpace>(link_);
    }
    std::shared_ptr<cad::Utility> utility() override {
        link_.drawing();
        return std::make_shared<BoardUtility>(link_);
    }
    std::shared_ptr<cad::Groups> groups() override {
        link_.drawing();
        return std::make_shared<BoardGroups>(link_);
    }
    std::shared_ptr<cad::SelectionSets> selectionSets() override {
        link_.drawing();
        return std::make_shared<BoardSelectionSets>(link_);
    }
    void setVariable(const std::string& name, std::int16_t value) override {
        link_.drawing().setVariable(name, value);
        link_.window().drawingChanged();
    }

  private:
    BoardLink link_;
};

}  // namespace

BoardWindow& BoardLink::window() const {
    if (!window_ || window_->isClosed()) {
        disconnected();
    }
    return *window_;
}

Drawing& BoardLink::drawing() const {
    BoardWindow& board = window();
    const std::shared_ptr<Drawing> drawing = drawing_.lock();
    if (!drawing || drawing != board.drawing()) {
        disconnected();
    }
    // The window keeps the drawing alive as long as it is its drawing.
    return *drawing;
}

void BoardEntity::setColor(int aciColor) {
    link_.drawing().setColor(id_, aciColor);
    link_.window().drawingChanged();
}

int BoardEntity::entityType() {
    return link_.drawing().entity(id_).entityType();
}

std::vector<double> BoardEntity::coordinates() {
    return link_.drawing().coordinates(id_);
}

double BoardEntity::bulge(int index) {
    return link_.drawing().bulge(id_, index);
}

cad::Point BoardEntity::normal() {
    return link_.drawing().normal(id_);
}

std::string BoardEntity::objectName() {
    return link_.drawing().objectName(id_);
}

std::string BoardEntity::textString() {
    return link_.drawing().textString(id_);
}

cad::Point BoardEntity::insertionPoint() {
    return link_.drawing().insertionPoint(id_);
}

std::string BoardEntity::layer() {
    return link_.drawing().layerOf(id_);
}

cad::Point BoardEntity::startPoint() {
    return link_.drawing().startPoint(id_);
}

cad::Point BoardEntity::endPoint() {
    return link_.drawing().endPoint(id_);
}

cad::Point BoardEntity::center() {
    return link_.drawing().center(id_);
}

int BoardEntity::polylineType() {
    return link_.drawing().polylineType(id_);
}

double BoardEntity::height() {
    return link_.drawing().textHeight(id_);
}

BoardWindow& BoardApplication::window() const {
    if (!window_ || window_->isClosed()) {
        disconnected();
    }
    return *window_;
}

void BoardApplication::setVisible(bool visible) {
    window().setVisible(visible);
}

cad::DocumentPtr BoardApplication::activeDocument() {
    BoardWindow& board = window();
    if (!board.drawing()) {
        throw cad::CadError(kNoDocument, "没有打开的图形");
    }
    return std::make_shared<BoardDocument>(BoardLink(&board, board.drawing()));
}

std::string BoardApplication::caption() {
    return window().windowTitle().toStdString();
}

}  // namespace tendra::board
