// The board's drawing area: draws the drawing in its ACI colours on a dark
// background, zooms with the wheel about the cursor, pans with the middle
// button, and turns clicks and keys into answers for the request the board
// is waiting on (snapped points, picks, window and crossing rectangles).
#pragma once

#include <QPointF>
#include <QWidget>
#include <memory>
#include <optional>
#include <unordered_set>
#include <vector>

#include "cad/board/model/drawing.h"
#include "cad/board/view_transform.h"

class QPainter;

namespace tendra::board {

class BoardView : public QWidget {
    Q_OBJECT

  public:
    enum class Mode { Idle, Point, Selection };

    // Snap and pick box radius, in pixels.
    static constexpr double kSnapPixels = 10;
    static constexpr double kPickBoxPixels = 5;
    // A press and release further apart than this make a dragged rectangle.
    static constexpr double kDragPixels = 4;

    explicit BoardView(QWidget* parent = nullptr);

    void setDrawing(std::shared_ptr<const Drawing> drawing);
    void setMode(Mode mode);
    Mode mode() const { return mode_; }
    // Entities drawn highlighted (dashed).
    void setHighlighted(std::vector<EntityId> entities);
    const std::vector<EntityId>& highlighted() const { return highlighted_; }

    const ViewTransform& transform() const { return transform_; }
    void zoomExtents();
    // Background and drawing, without the cursor's marks: what a paint shows
    // with no request going on.
    void paintDrawing(QPainter& painter) const;

    // The snap the next left click of a point request takes, if any.
    const std::optional<Snap>& currentSnap() const { return snap_; }

  signals:
    void cursorMoved(QPointF drawingPoint);
    // A point request: the picked point (snapped, or where the cursor is).
    void pointPicked(QPointF drawingPoint);
    // Enter, Space, a right click or Esc during a point request.
    void pointInputEnded();
    // A selection: entities picked by one click or one rectangle, in order.
    void entitiesPicked(const std::vector<tendra::board::EntityId>& entities);
    // Enter, Space or a right click: the selection is complete.
    void selectionCompleted();
    // Esc during a selection.
    void selectionCancelled();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void leaveEvent(QEvent* event) override;

  private:
    void drawOverlay(QPainter& painter) const;
    void updateSnap(QPointF screen);
    void finishRectangle(QPointF corner);
    void endInput(bool cancelled);
    bool isHighlighted(EntityId id) const;

    std::shared_ptr<const Drawing> drawing_;
    ViewTransform transform_;
    bool followExtents_ = true;  // refit on resize until the user zooms or pans
    Mode mode_ = Mode::Idle;
    std::vector<EntityId> highlighted_;
    std::unordered_set<EntityId> highlightedSet_;
    std::optional<Snap> snap_;
    std::optional<QPointF> cursor_;
    // Panning with the middle button.
    std::optional<QPointF> panFrom_;
    // A selection rectangle: its first corner, and whether it was started by
    // the press now held (a drag) or by an earlier click (two clicks).
    std::optional<QPointF> rectangleFrom_;
    bool rectangleDragging_ = false;
};

}  // namespace tendra::board
