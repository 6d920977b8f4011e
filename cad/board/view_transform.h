// The board's mapping between drawing coordinates (Y up) and the view's
// pixels (Y down): a uniform scale and the pixel position of the drawing's
// origin. Pure, so zooming and fitting are tested without a window.
#pragma once

#include <QPointF>
#include <QRectF>
#include <QSizeF>

namespace tendra::board {

class ViewTransform {
  public:
    // Pixels per drawing unit.
    double scale() const { return scale_; }
    // Where the drawing's origin (0, 0) falls in the view.
    QPointF origin() const { return origin_; }

    QPointF toScreen(double x, double y) const;
    QPointF toScreen(QPointF drawing) const { return toScreen(drawing.x(), drawing.y()); }
    QPointF toDrawing(QPointF screen) const;
    // A length on screen in drawing units.
    double toDrawingLength(double pixels) const { return pixels / scale_; }
    // The drawing rectangle the view shows (normalised, Y up).
    QRectF visibleDrawingRect(QSizeF viewSize) const;

    // Shows the drawing rectangle centred in a view of this size, leaving a
    // margin of this fraction of the view on each side. A degenerate rectangle
    // (a single point, a horizontal or vertical line) still gets a finite scale.
    static ViewTransform fitting(const QRectF& drawingExtents, QSizeF viewSize,
                                 double margin = 0.05);

    // Scales by factor, keeping the drawing point under this screen point where it is.
    void zoomAbout(QPointF screen, double factor);
    void pan(QPointF screenDelta) { origin_ += screenDelta; }

    // The scale stays within these bounds, so a wheel held down never reaches
    // zero or infinity.
    static constexpr double kMinScale = 1e-9;
    static constexpr double kMaxScale = 1e9;

  private:
    double scale_ = 1.0;
    QPointF origin_{0, 0};
};

}  // namespace tendra::board
