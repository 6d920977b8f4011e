// Taking a bridge's tendons in one selection against taking them one click
// each: BM_SeveralTendonsInOneSelection should stay within 1.2 times
// BM_OneTendonPerSelection for the same 60 polylines of 20 vertices, so that
// labelling and ordering add nothing that grows faster than the tendons.
// Both run against the scripted CAD, whose calls cost alike in the two; the
// counter "calls" is the CAD calls one iteration makes.
#include <benchmark/benchmark.h>

#include <cmath>
#include <string>
#include <vector>

#include "tests/support/drawing_session.h"

namespace {

using tendra::testing::DrawingSession;
using tendra::testing::Selectable;

constexpr int kTendons = 60;
constexpr int kVertices = 20;

// Tendons one above another, each sagging over a 40 m span, with a fillet
// at every fourth vertex, drawn alternately left to right and back.
std::vector<Selectable> tendonPolylines() {
    std::vector<Selectable> polylines;
    for (int t = 0; t < kTendons; ++t) {
        std::vector<double> coordinates;
        std::vector<double> bulges;
        for (int v = 0; v < kVertices; ++v) {
            const double x = -20000 + 40000.0 * v / (kVertices - 1);
            coordinates.push_back(t % 2 ? -x : x);
            coordinates.push_back(3000.0 * t + 1200 * std::pow(x / 20000, 2));
            // A sag turns counter-clockwise left to right, clockwise back.
            bulges.push_back(v % 4 == 2 ? (t % 2 ? -0.01 : 0.01) : 0);
        }
        polylines.push_back(tendra::testing::polyline(coordinates, bulges));
    }
    return polylines;
}

// Each tendon's label above its left end, named in an order other than the
// drawing's.
std::vector<Selectable> tendonLabels() {
    std::vector<Selectable> labels;
    for (int t = 0; t < kTendons; ++t) {
        labels.push_back(
            tendra::testing::mtext("{\\fSimSun;N" + std::to_string((t * 37) % kTendons + 1) + "}",
                                   -19000, 3000.0 * t + 1400));
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

void BM_SeveralTendonsInOneSelection(benchmark::State& state) {
    std::vector<Selectable> selection = tendonPolylines();
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
BENCHMARK(BM_SeveralTendonsInOneSelection)->Unit(benchmark::kMillisecond);

}  // namespace
