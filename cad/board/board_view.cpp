#include "cad/board/board_view.h"

#include <QFontMetricsF>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

#include "cad/board/aci_colors.h"
#include "cad/board/model/geometry.h"
#include "cad/board/model/text_layout.h"
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

// Everything one paint draws. Outlines become screen segments collected by
// colour and drawn with one drawLines call per colour, which is what keeps a
// large drawing fast; fills, text and point glyphs are drawn as they come.
class Scene {
  public:
    Scene(QPainter& painter, const ViewTransform& view, const Drawing& drawing, int viewHeight)
        : painter_(painter), view_(view), drawing_(drawing), viewHeight_(viewHeight) {}

    void add(const Entity& entity, bool highlighted) {
        if (!visible(entity.layer)) {
            return;
        }
        highlighted_ = highlighted;
        color_ = drawing_.displayColor(entity);
        draw(entity);
    }

    void flush() {
        for (int pass = 0; pass < 2; ++pass) {
            auto& batches = pass == 0 ? lines_ : highlightedLines_;
            for (std::size_t color = 0; color < batches.size(); ++color) {
                if (batches[color].empty()) {
                    continue;
                }
                painter_.setPen(pen(static_cast<int>(color), pass == 1));
                painter_.drawLines(batches[color].data(), int(batches[color].size()));
                batches[color].clear();
            }
        }
    }

  private:
    QPen pen(int color, bool highlighted) const {
        const QColor c = aciColor(color);
        QPen pen(highlighted ? c.lighter(130) : c, highlighted ? 2 : 1,
                 highlighted ? Qt::DashLine : Qt::SolidLine);
        pen.setCosmetic(true);
        return pen;
    }

    bool visible(const std::string& layerName) {
        if (lastLayer_ && *lastLayer_ == layerName) {
            return lastVisible_;
        }
        const Layer* layer = drawing_.layer(layerName);
        lastLayer_ = &layerName;
        lastVisible_ = !(layer && (layer->color < 0 || layer->frozen));
        return lastVisible_;
    }

    QPointF screen(Vec2 p) const { return view_.toScreen(p.x, p.y); }
    QPointF screen(const cad::Point& p) const { return view_.toScreen(p[0], p[1]); }

    void segment(QPointF a, QPointF b) {
        (highlighted_ ? highlightedLines_ : lines_)[std::size_t(color_)].emplace_back(a, b);
    }

    void path(const std::vector<Vec2>& points, bool closed) {
        if (points.size() == 1) {
            segment(screen(points[0]), screen(points[0]));
        }
        for (std::size_t i = 0; i + 1 < points.size(); ++i) {
            segment(screen(points[i]), screen(points[i + 1]));
        }
        if (closed && points.size() > 2) {
            segment(screen(points.back()), screen(points.front()));
        }
    }

    // An elliptical curve c + u·cos t + v·sin t, in as many chords as its
    // size on screen needs; under a pixel it is a dot.
    void curve(Vec2 c, Vec2 u, Vec2 v, double start, double sweep) {
        const double pixels = std::max(std::hypot(u.x, u.y), std::hypot(v.x, v.y)) * view_.scale();
        if (!std::isfinite(pixels) || !std::isfinite(start) || !std::isfinite(sweep)) {
            return;
        }
        if (pixels < 1) {
            segment(screen(c), screen(c));
            return;
        }
        const int steps = std::clamp(int(std::ceil(std::abs(sweep) / (2 * std::numbers::pi) *
                                                   std::min(360.0, 4 * std::sqrt(pixels) + 8))),
                                     2, 360);
        QPointF previous = screen(Vec2{c.x + u.x * std::cos(start) + v.x * std::sin(start),
                                       c.y + u.y * std::cos(start) + v.y * std::sin(start)});
        for (int step = 1; step <= steps; ++step) {
            const double t = start + sweep * step / steps;
            const QPointF next = screen(Vec2{c.x + u.x * std::cos(t) + v.x * std::sin(t),
                                             c.y + u.y * std::cos(t) + v.y * std::sin(t)});
            segment(previous, next);
            previous = next;
        }
    }

    void polyline(const PolylineShape& shape) {
        const auto& v = shape.vertices;
        if (v.size() == 1) {
            segment(screen(Vec2{v[0].x, v[0].y}), screen(Vec2{v[0].x, v[0].y}));
        }
        const std::size_t segments = shape.closed ? v.size() : (v.empty() ? 0 : v.size() - 1);
        for (std::size_t i = 0; i < segments; ++i) {
            const PolylineVertex& from = v[i];
            const PolylineVertex& to = v[(i + 1) % v.size()];
            if (auto arc = bulgeArc({from.x, from.y}, {to.x, to.y}, from.bulge)) {
                curve(arc->center, {arc->radius, 0}, {0, arc->radius}, arc->startAngle, arc->sweep);
            } else {
                segment(screen(Vec2{from.x, from.y}), screen(Vec2{to.x, to.y}));
            }
        }
    }

    void fill(const std::vector<std::vector<Vec2>>& loops) {
        QPainterPath area;
        area.setFillRule(Qt::OddEvenFill);
        for (const std::vector<Vec2>& loop : loops) {
            QPolygonF polygon;
            for (Vec2 p : loop) {
                polygon << screen(p);
            }
            area.addPolygon(polygon);
            area.closeSubpath();
        }
        painter_.fillPath(area, aciColor(color_));
    }

    void draw(const Entity& entity) {
        std::visit(Overloaded{
                       [&](const Line& line) { segment(screen(line.start), screen(line.end)); },
                       [&](const Arc& drawn) {
                           const Arc arc = arcInPlan(drawn);
                           double sweep = std::fmod(arc.endAngle - arc.startAngle, 360.0);
                           if (!(sweep > 0)) {
                               sweep += 360;
                           }
                           curve(Vec2{arc.center[0], arc.center[1]}, {arc.radius, 0},
                                 {0, arc.radius}, arc.startAngle * std::numbers::pi / 180,
                                 sweep * std::numbers::pi / 180);
                       },
                       [&](const Circle& circle) {
                           curve(Vec2{circle.center[0], circle.center[1]}, {circle.radius, 0},
                                 {0, circle.radius}, 0, 2 * std::numbers::pi);
                       },
                       [&](const LightweightPolyline& shape) { polyline(shape); },
                       [&](const Polyline2d& shape) { polyline(shape); },
                       [&](const Polyline3d& shape) { polyline(shape); },
                       [&](const PointEntity& point) { drawPoint(point); },
                       [&](const Text& text) { drawText(text); },
                       [&](const MText& text) { drawMText(text); },
                       [&](const Ellipse& e) {
                           double sweep =
                               std::fmod(e.endParameter - e.startParameter, 2 * std::numbers::pi);
                           if (!(sweep > 1e-12)) {
                               sweep += 2 * std::numbers::pi;
                           }
                           curve(Vec2{e.center[0], e.center[1]}, e.major, e.minor, e.startParameter,
                                 sweep);
                       },
                       [&](const Spline& spline) { path(spline.shown, false); },
                       [&](const Solid& solid) {
                           const std::vector<Vec2> outline = solidOutline(solid);
                           fill({outline});
                           path(outline, false);
                       },
                       [&](const Hatch& hatch) {
                           if (hatch.solid) {
                               fill(hatch.loops);
                           }
                           for (const std::vector<Vec2>& loop : hatch.loops) {
                               path(loop, true);
                           }
                       },
                       [&](const Leader& leader) {
                           path(leader.vertices, false);
                           drawArrowhead(leader);
                       },
                       [&](const BlockReference& reference) { drawParts(reference.parts); },
                       [&](const Dimension& dimension) { drawParts(dimension.parts); },
                   },
                   entity.geometry);
    }

    void drawParts(const std::vector<Entity>& parts) {
        const int owner = color_;
        for (const Entity& part : parts) {
            if (visible(part.layer)) {
                color_ = drawing_.displayColor(part);
                draw(part);
            }
        }
        color_ = owner;
    }

    void drawArrowhead(const Leader& leader) {
        if (!leader.arrowhead || leader.vertices.size() < 2) {
            return;
        }
        const QPointF tip = screen(leader.vertices[0]);
        const QPointF from = screen(leader.vertices[1]);
        const QLineF shaft(tip, from);
        if (shaft.length() < 1) {
            return;
        }
        const QPointF along = (from - tip) / shaft.length();
        const QPointF across(-along.y(), along.x());
        const double size = std::min(12.0, shaft.length() / 2);
        segment(tip, tip + along * size + across * size / 3);
        segment(tip, tip + along * size - across * size / 3);
    }

    void drawPoint(const PointEntity& point) {
        const int mode = drawing_.pointDisplayMode();
        const double size =
            pointGlyphPixels(drawing_.pointDisplaySize(), viewHeight_, view_.scale());
        const QPainterPath glyph = pointGlyph(mode, screen(point.at), size);
        QPen glyphPen = pen(color_, highlighted_);
        if ((mode & 0x1f) == 0) {
            painter_.fillPath(glyph, glyphPen.color());
        }
        glyphPen.setWidthF(highlighted_ ? 2.5 : 1.5);
        painter_.setPen(glyphPen);
        painter_.setBrush(Qt::NoBrush);
        painter_.drawPath(glyph);
    }

    // Text too small or too large to read on screen is left out.
    static bool readable(double pixels) { return pixels >= 2 && pixels <= 4000; }

    QFont fontOf(double pixels) const {
        QFont font = painter_.font();
        font.setPixelSize(std::max(1, int(std::lround(pixels))));
        return font;
    }

    void drawText(const Text& text) {
        const double pixels = text.height * view_.scale();
        if (!readable(pixels)) {
            return;
        }
        const QFont font = fontOf(pixels);
        const QFontMetricsF metrics(font);
        const QString content = QString::fromStdString(plainText(text.text));
        const bool aligned = text.horizontalAlignment != 0 || text.verticalAlignment != 0;
        const Vec2 offset =
            textOffset(metrics.horizontalAdvance(content), metrics.capHeight(), metrics.descent(),
                       text.horizontalAlignment, text.verticalAlignment);
        painter_.save();
        painter_.setPen(pen(color_, highlighted_));
        painter_.setFont(font);
        painter_.translate(screen(aligned ? text.alignAt : text.at));
        painter_.rotate(-text.angle);
        painter_.drawText(QPointF(offset.x, -offset.y), content);
        painter_.restore();
    }

    void drawMText(const MText& text) {
        const double scale = view_.scale();
        const std::vector<MTextLine> lines = mtextLines(text.text, text.height);
        double tallest = 0;
        for (const MTextLine& line : lines) {
            tallest = std::max(tallest, line.height);
        }
        if (!readable(tallest * scale)) {
            return;
        }
        // Widths are measured once at the nominal height and scaled.
        const double nominal = text.height > 0 ? text.height : tallest;
        const QFontMetricsF metrics(fontOf(nominal * scale));
        const TextMeasure measure = [&](std::string_view part, double height) {
            return metrics.horizontalAdvance(
                       QString::fromUtf8(part.data(), qsizetype(part.size()))) /
                   scale * (height / nominal);
        };
        const std::vector<PlacedLine> placed =
            placeMText(wrapLines(lines, text.width, measure), text.attachment, text.width, measure);
        painter_.save();
        painter_.setPen(pen(color_, highlighted_));
        painter_.translate(screen(text.at));
        painter_.rotate(-text.angle);
        for (const PlacedLine& line : placed) {
            if (!readable(line.height * scale)) {
                continue;
            }
            painter_.setFont(fontOf(line.height * scale));
            painter_.drawText(QPointF(line.baseline.x * scale, -line.baseline.y * scale),
                              QString::fromStdString(line.text));
        }
        painter_.restore();
    }

    QPainter& painter_;
    const ViewTransform& view_;
    const Drawing& drawing_;
    int viewHeight_;
    int color_ = 7;
    bool highlighted_ = false;
    const std::string* lastLayer_ = nullptr;
    bool lastVisible_ = true;
    std::array<std::vector<QLineF>, 256> lines_;
    std::array<std::vector<QLineF>, 256> highlightedLines_;
};

}  // namespace

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

void BoardView::paintDrawing(QPainter& painter) const {
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
    Scene scene(painter, transform_, *drawing_, height());
    const std::vector<Entity>& entities = drawing_->entities();
    if (allShown) {
        for (const Entity& entity : entities) {
            if (!isHighlighted(entity.id)) {
                scene.add(entity, false);
            }
        }
    } else {
        // Only what the view shows: the spatial index finds the outlines near
        // it (with room for point glyphs); text, whose size the font decides,
        // is drawn whatever the view shows.
        for (std::size_t position :
             drawing_->near(Box{{shown.left(), shown.top()}, {shown.right(), shown.bottom()}})) {
            if (!isHighlighted(entities[position].id)) {
                scene.add(entities[position], false);
            }
        }
        for (std::size_t position : drawing_->texts()) {
            if (!isHighlighted(entities[position].id)) {
                scene.add(entities[position], false);
            }
        }
    }
    // Highlighted entities on top, so their dashes are not hidden.
    for (EntityId id : highlighted_) {
        if (const Entity* entity = drawing_->find(id)) {
            scene.add(*entity, true);
        }
    }
    scene.flush();
}

void BoardView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintDrawing(painter);
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
