#include "cad/board/view_transform.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tendra::board {

QPointF ViewTransform::toScreen(double x, double y) const {
    return {origin_.x() + x * scale_, origin_.y() - y * scale_};
}

QPointF ViewTransform::toDrawing(QPointF screen) const {
    return {(screen.x() - origin_.x()) / scale_, (origin_.y() - screen.y()) / scale_};
}

QRectF ViewTransform::visibleDrawingRect(QSizeF viewSize) const {
    const QPointF topLeft = toDrawing({0, 0});
    const QPointF bottomRight = toDrawing({viewSize.width(), viewSize.height()});
    return QRectF(QPointF(topLeft.x(), bottomRight.y()), QPointF(bottomRight.x(), topLeft.y()));
}

ViewTransform ViewTransform::fitting(const QRectF& drawingExtents, QSizeF viewSize, double margin) {
    ViewTransform view;
    const double usableWidth = std::max(1.0, viewSize.width() * (1 - 2 * margin));
    const double usableHeight = std::max(1.0, viewSize.height() * (1 - 2 * margin));
    double width = std::abs(drawingExtents.width());
    double height = std::abs(drawingExtents.height());
    if (width <= 0 && height <= 0) {
        // A single point: show a square of one unit around it.
        width = height = 1;
    }
    double scale = std::numeric_limits<double>::infinity();
    if (width > 0) {
        scale = usableWidth / width;
    }
    if (height > 0) {
        scale = std::min(scale, usableHeight / height);
    }
    if (!std::isfinite(scale)) {
        scale = 1;
    }
    view.scale_ = std::clamp(scale, kMinScale, kMaxScale);
    const QPointF centre = drawingExtents.normalized().center();
    view.origin_ = QPointF(viewSize.width() / 2 - centre.x() * view.scale_,
                           viewSize.height() / 2 + centre.y() * view.scale_);
    return view;
}

void ViewTransform::zoomAbout(QPointF screen, double factor) {
    if (!(factor > 0) || !std::isfinite(factor)) {
        return;
    }
    const QPointF anchor = toDrawing(screen);
    scale_ = std::clamp(scale_ * factor, kMinScale, kMaxScale);
    origin_ = QPointF(screen.x() - anchor.x() * scale_, screen.y() + anchor.y() * scale_);
}

}  // namespace tendra::board
