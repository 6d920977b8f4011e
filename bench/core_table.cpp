// Writing the node table against the cheapest way to write the same numbers:
// BM_NodeTable should stay within 1.5 times BM_SnprintfBaseline.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "nodes/table.h"

namespace {

// 100 nodes of a tendon, in drawing units, with an origin well away from them.
std::vector<tendra::Node> tendonNodes() {
    std::vector<tendra::Node> nodes;
    for (int i = 0; i < 100; ++i) {
        const double t = i / 99.0;
        nodes.push_back(
            {1000 + 4000 * t + i * 0.0137, 250 + 180 * (t - 0.5) * (t - 0.5) - i * 0.0071});
    }
    return nodes;
}

tendra::TableOptions tableOptions() {
    tendra::TableOptions options;
    options.originX = 3021.5;
    options.originY = 102.25;
    options.scale = 1.3;
    options.decimals = 3;
    options.radius = "15";
    options.radiusColumn = true;
    options.symmetric = true;
    return options;
}

void BM_NodeTable(benchmark::State& state) {
    const auto nodes = tendonNodes();
    const auto options = tableOptions();
    for (auto _ : state) {
        std::string text = tendra::nodeTableText(nodes, options);
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * 400);
}
BENCHMARK(BM_NodeTable);

// The same 400 coordinate fields, each written with snprintf("%.*f").
void BM_SnprintfBaseline(benchmark::State& state) {
    const auto nodes = tendonNodes();
    const auto options = tableOptions();
    std::vector<double> fields;
    for (const auto& node : nodes) {
        fields.push_back((node.x - options.originX) * options.scale);
        fields.push_back((node.y - options.originY) * options.scale);
    }
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        fields.push_back(-(it->x - options.originX) * options.scale);
        fields.push_back((it->y - options.originY) * options.scale);
    }
    for (auto _ : state) {
        std::string text;
        char buffer[64];
        for (double value : fields) {
            const int n = std::snprintf(buffer, sizeof buffer, "%.*f", 3, value);
            text.append(buffer, n);
        }
        benchmark::DoNotOptimize(text);
    }
    state.SetItemsProcessed(state.iterations() * 400);
}
BENCHMARK(BM_SnprintfBaseline);

}  // namespace
