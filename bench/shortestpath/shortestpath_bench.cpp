// The optimal value of a 10 x 10 network by backward recursion, the two
// heuristics, and one repaint of the network window (the picture drawn afresh
// with both paths and every arc length, then painted on the window).
#include "common/random.h"
#include "common/ui/appsetup.h"
#include "modules/shortestpath/network.h"
#include "modules/shortestpath/ui/kpadunit.h"

#include <QApplication>
#include <QListWidget>
#include <benchmark/benchmark.h>

namespace {

using namespace tarvik::shortestpath;

Network TenByTen() {
    tarvik::RandSeed = 2026;
    Network n;
    DrawRandomLengths(n);
    return n;
}

void BM_OptimalValue10x10(benchmark::State& state) {
    const Network n = TenByTen();
    for (auto _ : state) {
        OptimalValues v = ComputeOptimal(n);
        benchmark::DoNotOptimize(v);
    }
}
BENCHMARK(BM_OptimalValue10x10);

void BM_Heuristics10x10(benchmark::State& state) {
    const Network n = TenByTen();
    for (auto _ : state) {
        OwnPath a = RunHeuristic(n, Heuristic::Myopic);
        OwnPath b = RunHeuristic(n, Heuristic::NearlyMyopic);
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
    }
}
BENCHMARK(BM_Heuristics10x10);

void BM_NetworkPicture10x10(benchmark::State& state) {
    const Network n = TenByTen();
    const OptimalValues v = ComputeOptimal(n);
    ui::NetworkPicture p{&n, OptimalPath(n, v), RunHeuristic(n, Heuristic::Myopic).moves(), true};
    QImage image = ui::NewNetworkImage();
    for (auto _ : state) {
        ui::DrawNetwork(image, p);
        benchmark::DoNotOptimize(image.constBits());
    }
}
BENCHMARK(BM_NetworkPicture10x10)->Unit(benchmark::kMicrosecond);

void BM_NetworkWindowRepaint10x10(benchmark::State& state) {
    auto* module = new ui::TKPad;
    module->show();
    tarvik::RandSeed = 2026;
    module->SettingsOK(10, 10, true, 10);
    module->OptPadBtnClick();
    module->dialog()->HeuristiekList->setCurrentRow(1);
    module->UitvoerBtnClick();
    QCoreApplication::processEvents();
    ui::TKPadNetwerk* window = module->networkWindow();
    for (auto _ : state) {
        // "Hide distances" / "Show distances": the picture drawn afresh, then painted at once.
        module->ToonLengtesBtnClick();
        window->repaint();
    }
    module->closeModule();
    QCoreApplication::processEvents();
    delete module;
}
BENCHMARK(BM_NetworkWindowRepaint10x10)->Unit(benchmark::kMicrosecond);

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
