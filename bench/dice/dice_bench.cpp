// 100000 throws in fast mode with the frequency diagram visible, offscreen:
// from "Throw" to the end of the run (table and walk included), the median over
// repeated runs; and the throwing alone, without any window.
#include "common/ui/appsetup.h"
#include "modules/dice/dobbel.h"
#include "modules/dice/ui/dobbelunit.h"

#include <QApplication>
#include <QCheckBox>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvik::ui::SetUpApplication();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 9;
    using namespace tarvik::dice;

    auto* module = new ui::TDobbel;
    module->show();
    ui::TDobbelDlg* dlg = module->dialog();
    dlg->setChoice(Choice::FairDie);
    dlg->FastBox->setChecked(true);
    dlg->ThrowsEdit->setValue(kMaxThrows);

    std::vector<double> window, cpu;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        const std::clock_t cpuStart = std::clock();
        module->Repeat();
        while (module->running()) QCoreApplication::processEvents();
        window.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
        cpu.push_back(1000.0 * static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC);
        if (!module->lastRun() || module->lastRun()->throwsMade() != kMaxThrows ||
            !module->diagram()->isVisible()) {
            std::fprintf(stderr, "the run did not complete\n");
            return 1;
        }
    }

    std::vector<double> plain;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        DiceRun run(RunSettings{Choice::FairDie, kMaxThrows, {1, 1, 1, 1, 1, 1}, true});
        tarvik::Progress none;
        RunThrows(run, none);
        plain.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
    }

    std::printf("100000 throws, fast, diagram visible: median %.1f ms (min %.1f, max %.1f) over %d runs\n",
                Median(window), *std::min_element(window.begin(), window.end()),
                *std::max_element(window.begin(), window.end()), runs);
    std::printf("  processor time of such a run: median %.1f ms\n", Median(cpu));
    std::printf("100000 throws without windows: median %.2f ms\n", Median(plain));
    module->closeModule();
    delete module;
    return 0;
}
