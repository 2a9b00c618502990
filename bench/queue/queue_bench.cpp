// The queue module's figures: an M/M/c run with c = 2500 for every output (the
// graphs included), painting a graph of 10000 points, and opening the window
// with its ten pages. Offscreen unless QT_QPA_PLATFORM says otherwise.
#include "common/ui/appsetup.h"
#include "modules/queue/queuemodel.h"
#include "modules/queue/ui/queue1.h"
#include "modules/queue/ui/queuemodule.h"
#include "plot/didoriv.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <cmath>

namespace {

using namespace tarvik::queue;

void BM_MMC(benchmark::State& state) {
    static const char* const outputs[] = {"standard", "wait", "percentiles", "states", "graphs"};
    PageInput in;
    in.fields = {{"c", "2500"}, {"rho", "0.999"}};
    in.choices = {{"output", outputs[state.range(0)]}};
    in.tvalues = {"0", "0.1", "1", "2", "5", "10", "20", "50", "100", "500", "1000", "2500"};
    in.pvalues = {"0.5", "0.9", "0.99", "0.999", "0.999999"};
    in.nvalues = {"0", "10", "100", "1000", "2000", "2499", "2500", "2501", "3000", "4000", "4500", "5000"};
    for (auto _ : state) {
        RunResult r = RunPage(Page::MMC, in);
        benchmark::DoNotOptimize(r.report.lines.data());
    }
    state.SetLabel(outputs[state.range(0)]);
}
BENCHMARK(BM_MMC)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

void BM_PaintGraph(benchmark::State& state) {
    tarvik::plot::TdiDoriv g;
    g.resize(600, 450);
    g.YAxis.LogScale = true;
    g.YAxis.Min = 0.001;
    g.YAxis.Max = 1;
    g.XAxis.AutoSizing = true;
    g.XAxis.AutoStepping = true;
    g.SetPlotting(false);
    auto& s = g.Series(1);
    s.ShowPoints = state.range(1) != 0;
    const int n = static_cast<int>(state.range(0));
    for (int i = 0; i < n; ++i) s.Add(i, std::exp(-6.9 * i / n) * (1 + 0.3 * std::sin(i * 0.37)) / 1.3);
    g.SetPlotting(true);
    QImage img(g.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&img);
        g.PaintGraph(p);
    }
}
BENCHMARK(BM_PaintGraph)->Args({10000, 0})->Args({10000, 1})->Unit(benchmark::kMillisecond);

void BM_OpenWindow(benchmark::State& state) {
    for (auto _ : state) {
        auto* w = static_cast<tarvik::queue::ui::TQueueMainForm*>(CreateQueueWindow(nullptr));
        w->resize(1150, 760);
        w->show();
        QApplication::processEvents();
        state.PauseTiming();
        w->closeModule();
        delete w;
        QApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenWindow)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvik::ui::SetUpApplication();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
