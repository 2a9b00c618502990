// The all-or-nothing game: SolveAllOrNothing (100, 50), the largest table, and
// "OK" in the start dialog until the results window is shown, and one step of
// the wheel animation (offscreen, or on the X server the environment names).
#include "common/ui/appsetup.h"
#include "modules/roulette/strategy.h"
#include "modules/roulette/ui/rouletteunit.h"
#include "modules/roulette/ui/wholespin.h"

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <benchmark/benchmark.h>

#include <memory>

namespace {

using namespace tarvik::roulette;

void BM_SolveAllOrNothing(benchmark::State& state) {
    auto table = std::make_unique<StrategyTable>();
    const int goal = static_cast<int>(state.range(0));
    const int bets = static_cast<int>(state.range(1));
    for (auto _ : state) {
        SolveAllOrNothing(*table, goal, bets);
        benchmark::DoNotOptimize(table->at(bets, goal - 1).value);
    }
}
BENCHMARK(BM_SolveAllOrNothing)
    ->Args({5, 2})
    ->Args({100, 10})
    ->Args({100, 50})
    ->Unit(benchmark::kMillisecond);

// From the click on "OK" (goal 100, 50 bets) until the results window is shown
// and painted; "Previous" between the rounds is not timed.
void BM_OKToResultsWindow(benchmark::State& state) {
    QPointer<ui::TRoulette> module = new ui::TRoulette;
    module->resize(900, 600);
    module->show();
    ui::TRouletteDialoog* start = module->startDialog();
    start->GameBtn->setChecked(true);
    start->StartKapitaalSpin->setValue(50);
    start->StreefKapitaalSpin->setValue(100);
    start->AantalSpin->setValue(50);
    QCoreApplication::processEvents();
    for (auto _ : state) {
        QTest::mouseClick(start->OKBtn, Qt::LeftButton);
        module->resultsWindow()->repaint();
        QCoreApplication::processEvents();
        state.PauseTiming();
        if (!module->resultsWindow()->isVisible()) state.SkipWithError("results window not shown");
        module->ShowStartDialog();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    module->closeModule();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete module.data();
}
BENCHMARK(BM_OKToResultsWindow)->Unit(benchmark::kMillisecond)->Iterations(20);

// One step of the wheel animation: the ball drawn into a copy of the clean
// wheel and the window repainted, at most once a frame (37 to 147 of these per
// spin, 50 or 100 ms apart).
void BM_WheelStep(benchmark::State& state) {
    QPointer<ui::TRoulette> module = new ui::TRoulette;
    module->show();
    ui::Troulettewiel* wheel = module->wheel();
    wheel->show();
    QCoreApplication::processEvents();
    int k = 0;
    for (auto _ : state) {
        wheel->ShowBall(k);
        wheel->ShowClean();
        k = (k + 1) % 37;
    }
    module->closeModule();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    delete module.data();
}
BENCHMARK(BM_WheelStep)->Unit(benchmark::kMicrosecond);

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
