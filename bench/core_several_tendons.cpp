// Taking a bridge's tendons in one selection against taking them one click
// each: BM_SeveralTendonsInOneSelection should stay within 1.2 times
// BM_OneTendonPerSelection for the same 60 polylines of 20 vertices, so that
// labelling and ordering add nothing that grows faster than the tendons.
// BM_SeveralTendonsAsPieces takes the same tendons drawn as LINE and ARC
// pieces and should stay within 1.5 times BM_SeveralTendonsInOneSelection:
// joining the pieces must not grow faster than reading them.
// All run against the scripted CAD, whose calls cost alike in each; the
// counter "calls" is the CAD calls one iteration makes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "nodes/tendon_pieces.h"
#include "tests/support/drawing_session.h"

namespace {

using tendra::testing::DrawingSession;
using tendra::testing::Selectable;

constexpr int kTendons = 60;
constexpr int kVertices = 20;

// Tendons one above another, each sagging over a 40 m span, with a fillet
// at every fourth vertex, drawn alternately left to right and back.
struct Drawn {
    std::vector<double> coordinates;
    std::vector<double> bulges;
};

std::vector<Drawn> tendons() {
    std::vector<Drawn> drawn;
    for (int t = 0; t < kTendons; ++t) {
        Drawn tendon;
        for (int v = 0; v < kVertices; ++v) {
            const double x = -20000 + 40000.0 * v / (kVertices - 1);
            tendon.coordinates.push_back(t % 2 ? -x : x);
            tendon.coordinates.push_back(3000.0 * t + 1200 * std::pow(x / 20000, 2));
            // A sag turns counter-clockwise left to right, clockwise back.
            tendon.bulges.push_back(v % 4 == 2 ? (t % 2 ? -0.01 : 0.01) : 0);
        }
        drawn.push_back(std::move(tendon));
    }
    return drawn;
}

std::vector<Selectable> tendonPolylines() {
    std::vector<Selectable> polylines;
    for (const Drawn& tendon : tendons()) {
        polylines.push_back(tendra::testing::polyline(tendon.coordinates, tendon.bulges));
    }
    return polylines;
}

// Each segment a LINE or an ARC, as EXPLODE leaves a polyline: an arc's
// centre lies (1 - b²) / 4b chord lengths left of its chord's middle, and it
// runs counter-clockwise from the end a positive bulge starts at.
std::vector<Selectable> tendonPieces() {
    std::vector<Selectable> pieces;
    for (const Drawn& tendon : tendons()) {
        const std::vector<double>& c = tendon.coordinates;
        for (std::size_t v = 0; v + 1 < kVertices; ++v) {
            const double x1 = c[2 * v], y1 = c[2 * v + 1], x2 = c[2 * v + 2], y2 = c[2 * v + 3];
            const double b = tendon.bulges[v];
            if (b == 0) {
                pieces.push_back(tendra::testing::line(x1, y1, x2, y2));
                continue;
            }
            const double offset = (1 - b * b) / (4 * b);
            const double cx = (x1 + x2) / 2 - offset * (y2 - y1);
            const double cy = (y1 + y2) / 2 + offset * (x2 - x1);
            pieces.push_back(b > 0 ? tendra::testing::arc(cx, cy, {x1, y1, 0}, {x2, y2, 0})
                                   : tendra::testing::arc(cx, cy, {x2, y2, 0}, {x1, y1, 0}));
        }
    }
    return pieces;
}

// Each tendon's label above its left end, named in an order other than the
// drawing's.
std::vector<Selectable> tendonLabels() {
    std::vector<Selectable> labels;
    for (int t = 0; t < kTendons; ++t) {
        labels.push_back(
            tendra::testing::mtext("{\\fSimSun;N" + std::to_string((t * 37) % kTendons + 1) + "}",
                                   -19000, 3000.0 * t + 1400));
        // 350 high, as a drawing in millimetres writes it: within reach.
        labels.back().height = 350;
    }
    return labels;
}

// The main window's state after an origin at mid-span: not symmetric, the
// radius column on, and every question answered yes (the arcs' too).
void startSession(DrawingSession& session) {
    session.startAt(0, 0);
    session.form.options[tendra::Option::Check1] = false;
    session.form.answerYes = true;
}

void BM_OneTendonPerSelection(benchmark::State& state) {
    const std::vector<Selectable> polylines = tendonPolylines();
    std::size_t calls = 0;
    for (auto _ : state) {
        DrawingSession session;
        startSession(session);
        for (const Selectable& polyline : polylines) {
            session.cad.prepareSelection({polyline});
            session.commands.extractPolylineNodes();
        }
        calls = session.cad.callCount();
        benchmark::DoNotOptimize(session.form.output.data());
    }
    state.counters["calls"] = double(calls);
}
BENCHMARK(BM_OneTendonPerSelection)->Unit(benchmark::kMillisecond);

void severalTendons(benchmark::State& state, std::vector<Selectable> selection) {
    const std::vector<Selectable> labels = tendonLabels();
    selection.insert(selection.end(), labels.begin(), labels.end());
    std::size_t calls = 0;
    for (auto _ : state) {
        DrawingSession session;
        startSession(session);
        session.cad.prepareSelection(selection);
        session.commands.extractPolylineNodes();
        calls = session.cad.callCount();
        benchmark::DoNotOptimize(session.form.output.data());
    }
    state.counters["calls"] = double(calls);
}

void BM_SeveralTendonsInOneSelection(benchmark::State& state) {
    severalTendons(state, tendonPolylines());
}
BENCHMARK(BM_SeveralTendonsInOneSelection)->Unit(benchmark::kMillisecond);

void BM_SeveralTendonsAsPieces(benchmark::State& state) {
    severalTendons(state, tendonPieces());
}
BENCHMARK(BM_SeveralTendonsAsPieces)->Unit(benchmark::kMillisecond);

// The joining alone, without the CAD: the pieces of the 60 tendons above.
void BM_ChainPieces(benchmark::State& state) {
    std::vector<tendra::Piece> pieces;
    for (const Selectable& piece : tendonPieces()) {
        pieces.push_back(
            piece.type == tendra::cad::entity_type::kLine
                ? tendra::linePiece(piece.start, piece.end)
                : *tendra::arcPiece(piece.center, piece.start, piece.end, piece.normal));
    }
    for (auto _ : state) {
        const tendra::Chaining chaining = tendra::chainPieces(pieces);
        benchmark::DoNotOptimize(chaining.chains.data());
    }
    state.counters["pieces"] = double(pieces.size());
}
BENCHMARK(BM_ChainPieces)->Unit(benchmark::kMicrosecond);

}  // namespace
