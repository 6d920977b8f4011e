// Showing the main window, against showing an empty window of the same size:
// building and laying out the controls should add little to what the window
// system costs anyway.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QWidget>
#include <QWindow>

#include "app/qt/form1.h"
#include "cad/no_cad.h"
#include "ui/qt/twips.h"

namespace {

// Shows the window and returns once it is exposed and painted.
bool showUntilExposed(QWidget& window) {
    window.show();
    const QDeadlineTimer deadline(5000);
    while (!(window.windowHandle() && window.windowHandle()->isExposed())) {
        if (deadline.hasExpired()) {
            return false;
        }
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    QCoreApplication::processEvents();
    return true;
}

void BM_MainWindowShown(benchmark::State& state) {
    tendra::cad::NoCadPlatform platform;
    for (auto _ : state) {
        auto* form = new tendra::Form1(platform);
        if (!showUntilExposed(*form)) {
            state.SkipWithError("the window was never exposed");
        }
        delete form;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_MainWindowShown)->Unit(benchmark::kMicrosecond);

void BM_EmptyWindowShown(benchmark::State& state) {
    const double dpi = QWidget().logicalDpiX();
    const QSize size =
        tendra::twipsRect(0, 0, tendra::kClientWidthTwips, tendra::kCompactClientHeightTwips, dpi)
            .size();
    for (auto _ : state) {
        auto* window = new QWidget;
        window->setFixedSize(size);
        if (!showUntilExposed(*window)) {
            state.SkipWithError("the window was never exposed");
        }
        delete window;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}
BENCHMARK(BM_EmptyWindowShown)->Unit(benchmark::kMicrosecond);

}  // namespace
