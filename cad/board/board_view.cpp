#include "cad/board/board_view.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <numbers>

#include "cad/board/aci_colors.h"
#include "cad/board/point_style.h"

namespace tendra::board {

namespace {

template <class... Ts>
struct Overloaded : Ts... {
    using Ts::operator()...;
};

// Above this many entities the view draws without antialiasing and only what
// it shows, so a large drawing still pans smoothly.
constexpr std::size_t kLargeDrawing = 20000;
const QColor kSnapMarker{255, 200, 0};
const QColor kWindowColor{80, 140, 255};
const QColor kCrossingColor{80, 220, 120};

double wheelFactor(const QWheelEvent* event) {
    const int steps =
        event->angleDelta().y() != 0 ? event->angleDelta().y() : event->angleDelta().x();
    return std::pow(1.2, steps / 120.0);
}

Box boxOf(QPointF a, QPointF b) {
    return Box{{std::min(a.x(), b.x()), std::min(a.y(), b.y())},
               {std::max(a.x(), b.x()), std::max(a.y(), b.y())}};
}

// MTEXT's inline format codes reduced to the plain text they show.
QString plainMText(const std::string& text) {
    const QString source = QString::fromStdString(text);
    QString plain;
    for (qsizetype i = 0; i < source.size(); ++i) {
        const QChar c = source[i];
        if (c == '{' || c == '}') {
            continue;
        }
        if (c != '\\' || i + 1 >= source.size()) {
            plain += c;
            continue;
        }
        const QChar code = source[++i];
        if (code == 'P') {
            plain += '\n';
        } else if (code == '~') {
            plain += ' ';
        } else if (code == '\\' || code == '{' || code == '}') {
            plain += code;
        } else if (QStringLiteral("ACFfHQTWpS").contains(code)) {
            while (i + 1 < source.size() && source[i + 1] != ';') {
                ++i;
            }
            ++i;  // the ';'
        }
        // Other codes (\L, \O, \K and their ends) only switch a style.
    }
    return plain;
}

Qt::Alignment mtextAlignment(int attachment) {
    const int row = (std::clamp(attachment, 1, 9) - 1) / 3;
    const int column = (std::clamp(attachment, 1, 9) - 1) % 3;
    const Qt::Alignment vertical = row == 0   ? Qt::AlignTop
                                   : row == 1 ? Qt::AlignVCenter
                                              : Qt::AlignBottom;
    const Qt::Alignment horizontal = column == 0   ? Qt::AlignLeft
                                     : column == 1 ? Qt::AlignHCenter
                                                   : Qt::AlignRight;
    return vertical | horizontal;
}

// Where a TEXT's baseline starts relative to its anchor, for its DXF
// alignment codes (horizontal 0 left, 1 centre, 2 right, 4 middle; vertical
// 0 baseline, 1 bottom, 2 middle, 3 top). Aligned and fit texts start at
// the anchor.
QPointF textOffset(const QFontMetricsF& metrics, const QString& text, int horizontal,
                   int vertical) {
    const double width = metrics.horizontalAdvance(text);
    double x = 0;
    if (horizontal == 1 || horizontal == 4) {
        x = -width / 2;
    } else if (horizontal == 2) {
        x = -width;
    }
    double y = 0;
    if (horizontal == 4 || vertical == 2) {
        y = metrics.capHeight() / 2;
    } else if (vertical == 1) {
        y = -metrics.descent();
    } else if (vertical == 3) {
        y = metrics.capHeight();
    }
    return {x, y};
}

}  // namespace

BoardView::BoardView(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::CrossCursor);
    setAutoFillBackground(false);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMinimumSize(200, 150);
}

void BoardView::setDrawing(std::shared_ptr<const Drawing> drawing) {
    drawing_ = std::move(drawing);
    highlighted_.clear();
    highlightedSet_.clear();
    snap_.reset();
    rectangleFrom_.reset();
    zoomExtents();
}

void BoardView::setMode(Mode mode) {
    mode_ = mode;
    snap_.reset();
    rectangleFrom_.reset();
    rectangleDragging_ = false;
    if (mode_ == Mode::Point && cursor_) {
        updateSnap(*cursor_);
    }
    update();
}

void BoardView::setHighlighted(std::vector<EntityId> entities) {
    highlighted_ = std::move(entities);
    highlightedSet_ = std::unordered_set<EntityId>(highlighted_.begin(), highlighted_.end());
    update();
}

bool BoardView::isHighlighted(EntityId id) const {
    return highlightedSet_.count(id) != 0;
}

void BoardView::zoomExtents() {
    followExtents_ = true;
    std::optional<Box> extents;
    if (drawing_) {
        extents = drawing_->extents();
    }
    const QRectF rect = extents ? QRectF(QPointF(extents->min.x, extents->min.y),
                                         QPointF(extents->max.x, extents->max.y))
                                : QRectF(0, 0, 100, 100);
    transform_ = ViewTransform::fitting(rect, size());
    update();
}

void BoardView::resizeEvent(QResizeEvent*) {
    if (followExtents_) {
        zoomExtents();
    }
}

// --- Drawing ------------------------------------------------------------------

namespace {

void addBulgeSegment(QPainterPath& path, const ViewTransform& view, const PolylineVertex& from,
                     const PolylineVertex& to) {
    const double dx = to.x - from.x;
    const double dy = to.y - from.y;
    const double chord = std::hypot(dx, dy);
    if (from.bulge == 0 || chord == 0) {
        path.lineTo(view.toScreen(to.x, to.y));
        return;
    }
    const double included = 4 * std::atan(from.bulge);  // signed, counter-clockwise positive
    const double radius = chord / (2 * std::sin(std::abs(included) / 2));
    const double toCentre = std::atan2(dy, dx) + (included > 0 ? 1 : -1) * (std::numbers::pi / 2 -
                                                                            std::abs(included) / 2);
    const double cx = from.x + radius * std::cos(toCentre);
    const double cy = from.y + radius * std::sin(toCentre);
    const double start = std::atan2(from.y - cy, from.x - cx) * 180 / std::numbers::pi;
    const QRectF rect(view.toScreen(cx - radius, cy + radius),
                      view.toScreen(cx + radius, cy - radius));
    path.arcTo(rect, start, included * 180 / std::numbers::pi);
}

QPainterPath polylinePath(const PolylineShape& shape, const ViewTransform& view) {
    QPainterPath path;
    const auto& vertices = shape.vertices;
    if (vertices.empty()) {
        return path;
    }
    path.moveTo(view.toScreen(vertices[0].x, vertices[0].y));
    const std::size_t segments = shape.closed ? vertices.size() : vertices.size() - 1;
    for (std::size_t i = 0; i < segments; ++i) {
        addBulgeSegment(path, view, vertices[i], vertices[(i + 1) % vertices.size()]);
    }
    return path;
}

}  // namespace

void BoardView::drawEntity(QPainter& painter, const Entity& entity, bool highlighted) const {
    if (const Layer* layer = drawing_->layer(entity.layer);
        layer && (layer->color < 0 || layer->frozen)) {
        return;
    }
    const QColor color = aciColor(drawing_->displayColor(entity));
    QPen pen(highlighted ? color.lighter(130) : color, highlighted ? 2 : 1,
             highlighted ? Qt::DashLine : Qt::SolidLine);
    pen.setCosmetic(true);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const ViewTransform& view = transform_;
    std::visit(
        Overloaded{
            [&](const Line& line) {
                painter.drawLine(view.toScreen(line.start[0], line.start[1]),
                                 view.toScreen(line.end[0], line.end[1]));
            },
            [&](const Arc& arc) {
                const double cx = arc.center[0];
                const double cy = arc.center[1];
                const double r = arc.radius;
                const QRectF rect(view.toScreen(cx - r, cy + r), view.toScreen(cx + r, cy - r));
                double sweep = std::fmod(arc.endAngle - arc.startAngle, 360.0);
                if (sweep <= 0) {
                    sweep += 360;
                }
                QPainterPath path;
                path.arcMoveTo(rect, arc.startAngle);
                path.arcTo(rect, arc.startAngle, sweep);
                painter.drawPath(path);
            },
            [&](const Circle& circle) {
                const double r = circle.radius * view.scale();
                painter.drawEllipse(view.toScreen(circle.center[0], circle.center[1]), r, r);
            },
            [&](const LightweightPolyline& polyline) {
                painter.drawPath(polylinePath(polyline, view));
            },
            [&](const Polyline2d& polyline) { painter.drawPath(polylinePath(polyline, view)); },
            [&](const PointEntity& point) {
                const int mode = drawing_->pointDisplayMode();
                const double size =
                    pointGlyphPixels(drawing_->pointDisplaySize(), height(), view.scale());
                const QPainterPath glyph =
                    pointGlyph(mode, view.toScreen(point.at[0], point.at[1]), size);
                if ((mode & 0x1f) == 0) {
                    painter.fillPath(glyph, pen.color());
                }
                QPen glyphPen = pen;
                glyphPen.setWidthF(highlighted ? 2.5 : 1.5);
                painter.setPen(glyphPen);
                painter.drawPath(glyph);
            },
            [&](const Text& text) {
                const double pixels = text.height * view.scale();
                if (pixels < 2 || pixels > 4000) {
                    return;
                }
                QFont font = painter.font();
                font.setPixelSize(std::max(1, int(std::lround(pixels))));
                const QString content = QString::fromStdString(text.text);
                const bool aligned = text.horizontalAlignment != 0 || text.verticalAlignment != 0;
                const cad::Point& anchor = aligned ? text.alignAt : text.at;
                painter.save();
                painter.setFont(font);
                painter.translate(view.toScreen(anchor[0], anchor[1]));
                painter.rotate(-text.angle);
                painter.drawText(textOffset(QFontMetricsF(font), content, text.horizontalAlignment,
                                            text.verticalAlignment),
                                 content);
                painter.restore();
            },
            [&](const MText& text) {
                const double pixels = text.height * view.scale();
                if (pixels < 2 || pixels > 4000) {
                    return;
                }
                QFont font = painter.font();
                font.setPixelSize(std::max(1, int(std::lround(pixels))));
                painter.save();
                painter.setFont(font);
                painter.translate(view.toScreen(text.at[0], text.at[1]));
                painter.rotate(-text.angle);
                // A box around the insertion point, large enough for the text,
                // aligned by the attachment point.
                const double big = 100000;
                const Qt::Alignment align = mtextAlignment(text.attachment);
                const double left = align & Qt::AlignLeft    ? 0
                                    : align & Qt::AlignRight ? -big
                                                             : -big / 2;
                const double top = align & Qt::AlignTop      ? 0
                                   : align & Qt::AlignBottom ? -big
                                                             : -big / 2;
                painter.drawText(QRectF(left, top, big, big), int(align), plainMText(text.text));
                painter.restore();
            },
        },
        entity.geometry);
}

void BoardView::drawOverlay(QPainter& painter) const {
    painter.setBrush(Qt::NoBrush);
    if (mode_ == Mode::Point && snap_) {
        const QPointF at = transform_.toScreen(snap_->at.x, snap_->at.y);
        painter.setPen(QPen(kSnapMarker, 2));
        const double half = 6;
        if (snap_->kind == SnapKind::Point) {
            painter.drawEllipse(at, half, half);
        } else {
            painter.drawRect(QRectF(at.x() - half, at.y() - half, 2 * half, 2 * half));
        }
    }
    if (mode_ == Mode::Selection && rectangleFrom_ && cursor_) {
        const bool window = cursor_->x() >= rectangleFrom_->x();
        const QColor color = window ? kWindowColor : kCrossingColor;
        QColor fill = color;
        fill.setAlpha(40);
        painter.setPen(QPen(color, 1, window ? Qt::SolidLine : Qt::DashLine));
        painter.setBrush(fill);
        painter.drawRect(QRectF(*rectangleFrom_, *cursor_).normalized());
        painter.setBrush(Qt::NoBrush);
    }
    if (mode_ == Mode::Selection && cursor_ && !rectangleFrom_) {
        painter.setPen(QPen(Qt::white, 1));
        painter.drawRect(QRectF(cursor_->x() - kPickBoxPixels, cursor_->y() - kPickBoxPixels,
                                2 * kPickBoxPixels, 2 * kPickBoxPixels));
    }
}

void BoardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kBackground);
    if (!drawing_) {
        return;
    }
    const bool large = drawing_->size() > kLargeDrawing;
    painter.setRenderHint(QPainter::Antialiasing, !large);
    const double margin = transform_.toDrawingLength(kMaximumGlyphPixels / 2 + 2);
    const QRectF shown =
        transform_.visibleDrawingRect(size()).adjusted(-margin, -margin, margin, margin);
    const std::optional<Box> extents = drawing_->extents();
    const bool allShown =
        extents && shown.contains(QRectF(QPointF(extents->min.x, extents->min.y),
                                         QPointF(extents->max.x, extents->max.y)));
    if (!large || allShown) {
        for (const Entity& entity : drawing_->entities()) {
            if (!isHighlighted(entity.id)) {
                drawEntity(painter, entity, false);
            }
        }
    } else {
        // Only what the view shows: the spatial index finds the outlines near
        // it (with room for point glyphs); text is not indexed.
        for (EntityId id : drawing_->crossing(
                 Box{{shown.left(), shown.top()}, {shown.right(), shown.bottom()}})) {
            const Entity* entity = drawing_->find(id);
            if (entity && !isHighlighted(id)) {
                drawEntity(painter, *entity, false);
            }
        }
        for (const Entity& entity : drawing_->entities()) {
            if (!entity.selectable()) {
                drawEntity(painter, entity, false);
            }
        }
    }
    // Highlighted entities on top, so their dashes are not hidden.
    for (EntityId id : highlighted_) {
        if (const Entity* entity = drawing_->find(id)) {
            drawEntity(painter, *entity, true);
        }
    }
    drawOverlay(painter);
}

// --- Input ----------------------------------------------------------------------

void BoardView::updateSnap(QPointF screen) {
    snap_.reset();
    if (drawing_) {
        const QPointF at = transform_.toDrawing(screen);
        snap_ = drawing_->snap(Vec2{at.x(), at.y()}, transform_.toDrawingLength(kSnapPixels));
    }
}

void BoardView::endInput(bool cancelled) {
    if (mode_ == Mode::Point) {
        emit pointInputEnded();
    } else if (mode_ == Mode::Selection) {
        rectangleFrom_.reset();
        update();
        if (cancelled) {
            emit selectionCancelled();
        } else {
            emit selectionCompleted();
        }
    }
}

void BoardView::finishRectangle(QPointF corner) {
    const QPointF from = *rectangleFrom_;
    rectangleFrom_.reset();
    rectangleDragging_ = false;
    update();
    if (!drawing_) {
        return;
    }
    const Box box = boxOf(transform_.toDrawing(from), transform_.toDrawing(corner));
    // Left to right: a window takes what lies wholly inside; right to left:
    // a crossing also takes what it touches.
    emit entitiesPicked(corner.x() >= from.x() ? drawing_->window(box) : drawing_->crossing(box));
}

void BoardView::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    cursor_ = at;
    setFocus(Qt::MouseFocusReason);
    switch (event->button()) {
        case Qt::MiddleButton:
            panFrom_ = at;
            setCursor(Qt::ClosedHandCursor);
            break;
        case Qt::RightButton:
            endInput(false);
            break;
        case Qt::LeftButton:
            if (mode_ == Mode::Point) {
                updateSnap(at);
                emit pointPicked(snap_ ? QPointF(snap_->at.x, snap_->at.y)
                                       : transform_.toDrawing(at));
            } else if (mode_ == Mode::Selection) {
                if (rectangleFrom_ && !rectangleDragging_) {
                    finishRectangle(at);
                    break;
                }
                std::optional<EntityId> picked;
                if (drawing_) {
                    const QPointF point = transform_.toDrawing(at);
                    picked = drawing_->pick(Vec2{point.x(), point.y()},
                                            transform_.toDrawingLength(kPickBoxPixels));
                }
                if (picked) {
                    emit entitiesPicked({*picked});
                } else {
                    rectangleFrom_ = at;
                    rectangleDragging_ = true;
                    update();
                }
            }
            break;
        default:
            break;
    }
}

void BoardView::mouseReleaseEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    if (event->button() == Qt::MiddleButton && panFrom_) {
        panFrom_.reset();
        setCursor(Qt::CrossCursor);
    } else if (event->button() == Qt::LeftButton && mode_ == Mode::Selection && rectangleFrom_ &&
               rectangleDragging_) {
        if (QLineF(*rectangleFrom_, at).length() > kDragPixels) {
            finishRectangle(at);
        } else {
            rectangleDragging_ = false;  // a click: the next click closes the rectangle
        }
    }
}

void BoardView::mouseMoveEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    cursor_ = at;
    if (panFrom_) {
        transform_.pan(at - *panFrom_);
        panFrom_ = at;
        followExtents_ = false;
    }
    if (mode_ == Mode::Point) {
        updateSnap(at);
    }
    emit cursorMoved(transform_.toDrawing(at));
    update();
}

void BoardView::leaveEvent(QEvent*) {
    cursor_.reset();
    snap_.reset();
    update();
}

void BoardView::wheelEvent(QWheelEvent* event) {
    transform_.zoomAbout(event->position(), wheelFactor(event));
    followExtents_ = false;
    if (mode_ == Mode::Point) {
        updateSnap(event->position());
    }
    update();
    event->accept();
}

void BoardView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Escape:
            if (mode_ != Mode::Idle) {
                endInput(true);
                return;
            }
            break;
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (mode_ != Mode::Idle) {
                endInput(false);
                return;
            }
            break;
        default:
            break;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace tendra::board
