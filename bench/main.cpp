// Benchmarks that show windows need a QApplication; the offscreen platform
// lets them run without a display.
#include <benchmark/benchmark.h>

#ifdef TENDRA_BENCH_WITH_QT
#include <QApplication>
#endif

int main(int argc, char** argv) {
#ifdef TENDRA_BENCH_WITH_QT
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication app(argc, argv);
#endif
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) {
        return 1;
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
