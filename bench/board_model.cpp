// Loading and snapping on a large drawing: 200,000 LINEs and 20,000
// four-vertex LWPOLYLINEs (about 34 MB, 480,000 snap points), written to
// /tmp on first use.
// BM_LoadDxf should stay within 1.5 times BM_DxflibParseBaseline (dxflib
// alone, into an adapter that keeps nothing); BM_Snap should be at least 100
// times faster than BM_SnapLinearBaseline and under a millisecond.
// dxflib's headers trip -Wdeprecated-copy.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-copy"
#include <dl_creationadapter.h>
#include <dl_dxf.h>
#pragma GCC diagnostic pop

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/large_drawing.h"
#include "cad/board/model/dxf.h"

namespace {

using tendra::board::Drawing;
using tendra::board::Vec2;

constexpr int kLines = 200000;
constexpr int kPolylines = 20000;
constexpr double kSize = 1e6;  // drawing units on each side
// Five pixels of a 1000-pixel view zoomed to the whole drawing: the largest
// pick radius the view asks for on this drawing.
constexpr double kPickRadius = kSize / 1000 * 5;

// Entities as AutoCAD 2000 writes them, with handles and subclass markers.
std::string writeLargeDrawing() {
    const std::string path =
        (std::filesystem::temp_directory_path() / "tendra_bench_board_model.dxf").string();
    std::FILE* file = std::fopen(path.c_str(), "w");
    if (!file) {
        throw std::runtime_error("cannot write " + path);
    }
    std::mt19937 random(42);
    std::uniform_real_distribution<double> coordinate(0, kSize);
    std::uniform_real_distribution<double> step(-2000, 2000);
    std::fputs(
        "  0\nSECTION\n  2\nHEADER\n  9\n$ACADVER\n  1\nAC1015\n  9\n$DWGCODEPAGE\n  3\n"
        "ANSI_936\n  0\nENDSEC\n  0\nSECTION\n  2\nENTITIES\n",
        file);
    unsigned handle = 0x100;
    for (int i = 0; i < kLines; ++i) {
        const double x = coordinate(random);
        const double y = coordinate(random);
        std::fprintf(file,
                     "  0\nLINE\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n0\n100\nAcDbLine\n"
                     " 10\n%.5f\n 20\n%.5f\n 30\n0.0\n 11\n%.5f\n 21\n%.5f\n 31\n0.0\n",
                     handle++, x, y, x + step(random), y + step(random));
    }
    for (int i = 0; i < kPolylines; ++i) {
        double x = coordinate(random);
        double y = coordinate(random);
        std::fprintf(file,
                     "  0\nLWPOLYLINE\n  5\n%X\n330\n1F\n100\nAcDbEntity\n  8\n0\n"
                     "100\nAcDbPolyline\n 90\n4\n 70\n0\n 43\n0.0\n",
                     handle++);
        for (int v = 0; v < 4; ++v) {
            std::fprintf(file, " 10\n%.5f\n 20\n%.5f\n", x, y);
            x += step(random);
            y += step(random);
        }
    }
    std::fputs("  0\nENDSEC\n  0\nEOF\n", file);
    std::fclose(file);
    return path;
}

}  // namespace

namespace tendra::bench {

const std::string& largeDrawingPath() {
    static const std::string path = writeLargeDrawing();
    return path;
}

}  // namespace tendra::bench

namespace {

using tendra::bench::largeDrawingPath;

const Drawing& largeDrawing() {
    static const Drawing drawing = [] {
        Drawing loaded = tendra::board::loadDxfFile(largeDrawingPath());
        loaded.snap({0, 0}, 1);  // builds the index before any timing
        return loaded;
    }();
    return drawing;
}

std::vector<Vec2> queryPoints() {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> coordinate(0, kSize);
    std::vector<Vec2> points(1024);
    for (Vec2& point : points) {
        point = {coordinate(random), coordinate(random)};
    }
    return points;
}

class NothingKept : public DL_CreationAdapter {};

void BM_DxflibParseBaseline(benchmark::State& state) {
    const std::string& path = largeDrawingPath();
    for (auto _ : state) {
        DL_Dxf dxf;
        NothingKept adapter;
        benchmark::DoNotOptimize(dxf.in(path, &adapter));
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_DxflibParseBaseline)->Unit(benchmark::kMillisecond)->MinTime(5);

void BM_LoadDxf(benchmark::State& state) {
    const std::string& path = largeDrawingPath();
    for (auto _ : state) {
        Drawing drawing = tendra::board::loadDxfFile(path);
        benchmark::DoNotOptimize(drawing.size());
    }
    state.SetBytesProcessed(state.iterations() *
                            static_cast<std::int64_t>(std::filesystem::file_size(path)));
}
BENCHMARK(BM_LoadDxf)->Unit(benchmark::kMillisecond)->MinTime(5);

void BM_Snap(benchmark::State& state) {
    const Drawing& drawing = largeDrawing();
    const std::vector<Vec2> points = queryPoints();
    std::size_t next = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(drawing.snap(points[next++ % points.size()], kPickRadius));
    }
}
BENCHMARK(BM_Snap)->Unit(benchmark::kMicrosecond);

// The nearest vertex or end point within the radius by looking at every one.
void BM_SnapLinearBaseline(benchmark::State& state) {
    const Drawing& drawing = largeDrawing();
    const std::vector<Vec2> points = queryPoints();
    std::size_t next = 0;
    for (auto _ : state) {
        const Vec2 at = points[next++ % points.size()];
        double best = kPickRadius;
        const tendra::board::Entity* found = nullptr;
        auto consider = [&](const tendra::board::Entity& entity, double x, double y) {
            const double d = std::hypot(x - at.x, y - at.y);
            if (d <= best) {
                best = d;
                found = &entity;
            }
        };
        for (const tendra::board::Entity& entity : drawing.entities()) {
            if (const auto* line = std::get_if<tendra::board::Line>(&entity.geometry)) {
                consider(entity, line->start[0], line->start[1]);
                consider(entity, line->end[0], line->end[1]);
            } else if (const auto* shape = entity.polyline()) {
                for (const auto& vertex : shape->vertices) {
                    consider(entity, vertex.x, vertex.y);
                }
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_SnapLinearBaseline)->Unit(benchmark::kMicrosecond);

}  // namespace
