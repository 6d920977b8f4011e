// Painting the large drawing in a 1000 × 700 view, against the floor of a
// bare QPainter::drawLines of the same segments, already transformed, in one
// call into an image of the view's size.
// BM_PaintFullView should stay within 2 × BM_PaintFloor, and
// BM_PaintZoomedView (a tenth of the drawing across) within 0.1 ×
// BM_PaintFullView.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>
#include <memory>
#include <vector>

#include "bench/large_drawing.h"
#include "cad/board/board_view.h"
#include "cad/board/model/dxf.h"
#include "cad/board/view_transform.h"

namespace {

using tendra::board::Drawing;

const QSize kViewSize(1000, 700);

std::shared_ptr<const Drawing> drawing() {
    static const std::shared_ptr<const Drawing> loaded = std::make_shared<const Drawing>(
        tendra::board::loadDxfFile(tendra::bench::largeDrawingPath()));
    return loaded;
}

QImage viewImage() {
    return QImage(kViewSize, QImage::Format_ARGB32_Premultiplied);
}

void BM_PaintFloor(benchmark::State& state) {
    const auto shown = drawing();
    const auto extents = shown->extents();
    const auto view = tendra::board::ViewTransform::fitting(
        QRectF(QPointF(extents->min.x, extents->min.y), QPointF(extents->max.x, extents->max.y)),
        kViewSize);
    std::vector<QLineF> segments;
    for (const auto& entity : shown->entities()) {
        if (const auto* line = std::get_if<tendra::board::Line>(&entity.geometry)) {
            segments.emplace_back(view.toScreen(line->start[0], line->start[1]),
                                  view.toScreen(line->end[0], line->end[1]));
        } else if (const auto* shape = entity.polyline()) {
            for (std::size_t i = 0; i + 1 < shape->vertices.size(); ++i) {
                segments.emplace_back(
                    view.toScreen(shape->vertices[i].x, shape->vertices[i].y),
                    view.toScreen(shape->vertices[i + 1].x, shape->vertices[i + 1].y));
            }
        }
    }
    QImage image = viewImage();
    for (auto _ : state) {
        image.fill(Qt::black);
        QPainter painter(&image);
        QPen pen(Qt::white, 1);
        pen.setCosmetic(true);
        painter.setPen(pen);
        painter.drawLines(segments.data(), int(segments.size()));
    }
    state.counters["segments"] = double(segments.size());
}
BENCHMARK(BM_PaintFloor)->Unit(benchmark::kMillisecond);

// A view of the drawing, zoomed in about its centre by this factor.
std::unique_ptr<tendra::board::BoardView> viewOf(double zoom) {
    auto view = std::make_unique<tendra::board::BoardView>();
    view->resize(kViewSize);
    view->setDrawing(drawing());
    if (zoom != 1) {
        // One wheel step of 120 zooms by 1.2.
        const int delta = int(std::lround(120 * std::log(zoom) / std::log(1.2)));
        const QPointF centre(kViewSize.width() / 2.0, kViewSize.height() / 2.0);
        QWheelEvent wheel(centre, centre, QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.get(), &wheel);
    }
    return view;
}

void paint(benchmark::State& state, double zoom) {
    const auto view = viewOf(zoom);
    QImage image = viewImage();
    // The first paint of a zoomed view builds the drawing's spatial index.
    view->render(&image);
    for (auto _ : state) {
        view->render(&image);
    }
}

void BM_PaintFullView(benchmark::State& state) {
    paint(state, 1);
}
BENCHMARK(BM_PaintFullView)->Unit(benchmark::kMillisecond);

void BM_PaintZoomedView(benchmark::State& state) {
    paint(state, 10);
}
BENCHMARK(BM_PaintZoomedView)->Unit(benchmark::kMillisecond);

}  // namespace
