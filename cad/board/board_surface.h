// The CAD surface answered by the drawing board: the application is the
// board window, the document its open drawing.
//
// Every object keeps only a guarded pointer to the window and a weak
// reference to the drawing it belongs to. Once the window is closed or the
// drawing replaced by another, every call on it throws
// cad::CadError(kDisconnected), as a COM client sees once AutoCAD has gone;
// no object ever touches a freed window or drawing.
#pragma once

#include <QPointer>
#include <memory>

#include "cad/board/model/drawing.h"
#include "cad/surface.h"

namespace tendra::board {

class BoardWindow;

// What every surface object holds: the window and the drawing it was made for.
class BoardLink {
  public:
    BoardLink(BoardWindow* window, const std::shared_ptr<Drawing>& drawing)
        : window_(window), drawing_(drawing) {}

    // The window, still open, or CadError(kDisconnected).
    BoardWindow& window() const;
    // The drawing, still the window's open drawing, or CadError(kDisconnected).
    Drawing& drawing() const;
    std::shared_ptr<Drawing> lockDrawing() const { return drawing_.lock(); }

  private:
    QPointer<BoardWindow> window_;
    std::weak_ptr<Drawing> drawing_;
};

// An entity of the drawing, by its id.
class BoardEntity : public cad::Entity {
  public:
    BoardEntity(BoardLink link, EntityId id) : link_(std::move(link)), id_(id) {}
    void setColor(int aciColor) override;
    int entityType() override;
    std::vector<double> coordinates() override;
    double bulge(int index) override;
    cad::Point normal() override;
    std::string objectName() override;
    std::string textString() override;
    cad::Point insertionPoint() override;
    std::string layer() override;
    cad::Point startPoint() override;
    cad::Point endPoint() override;
    cad::Point center() override;
    int polylineType() override;
    double height() override;

    EntityId id() const { return id_; }
    const BoardLink& link() const { return link_; }

  private:
    BoardLink link_;
    EntityId id_;
};

class BoardApplication : public cad::Application {
  public:
    explicit BoardApplication(BoardWindow* window) : window_(window) {}
    void setVisible(bool visible) override;
    // Fails with cad::kEFail when no drawing is open.
    cad::DocumentPtr activeDocument() override;
    // The board window's title.
    std::string caption() override;

  private:
    BoardWindow& window() const;
    QPointer<BoardWindow> window_;
};

// The error number of activeDocument when the board has no drawing open.
inline constexpr std::int32_t kNoDocument = cad::kEFail;
// The error number of adding a selection set while cad::kMaxSelectionSets are open.
inline constexpr std::int32_t kTooManySelectionSets = cad::kEFail;

}  // namespace tendra::board
