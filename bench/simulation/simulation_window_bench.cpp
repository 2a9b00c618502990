// Runs in the module window with the live graph, from "Run" to the end of the
// run: every experiment at its start values with a simulation length of
// 1,000,000 minutes, and the heaviest admissible rates (near 100 per minute;
// pooling and priority over 100,000 minutes, a tenth of their longest run).
// Prints wall and CPU seconds and events per CPU second.
#include "common/random.h"
#include "common/ui/appsetup.h"
#include "modules/simulation/ui/simstate.h"
#include "modules/simulation/ui/simunit.h"

#include <QApplication>
#include <QRadioButton>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <functional>

namespace {

using Clock = std::chrono::steady_clock;
using namespace tarvik::simulation;
using namespace tarvik::simulation::ui;

void Measure(TSim* module, const char* name, Experiment e, const std::function<void()>& settings) {
    ResetState();
    settings();
    module->options()->Keuze[static_cast<int>(e)]->setChecked(true);
    tarvik::RandSeed = 12345;
    const auto t0 = Clock::now();
    const std::clock_t c0 = std::clock();
    module->Run();
    while (module->running()) QCoreApplication::processEvents();
    const double secs = std::chrono::duration<double>(Clock::now() - t0).count();
    const double cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    const double events = static_cast<double>(module->lastOutcome()->events);
    // Wall time is what the user waits; CPU time is comparable with the bare
    // kernels' benchmark on a machine shared with other work.
    std::printf("%-34s %7.3f s wall %7.3f s cpu %11.0f events %6.2f M events/s (cpu)\n", name, secs, cpu,
                events, events / cpu / 1e6);
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvik::ui::SetUpApplication();
    auto* module = new TSim;
    module->show();
    QCoreApplication::processEvents();
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    const double L = 1000000;
    Measure(module, "single, defaults", Experiment::Single, [&] { State().single.length = L; });
    Measure(module, "compare M/D/1, defaults", Experiment::CompareMD1, [&] { State().single.length = L; });
    Measure(module, "compare D/M/1, defaults", Experiment::CompareDM1, [&] {
        State().single.length = L;
        State().single.detArrivals = true;
    });
    Measure(module, "varying load, defaults", Experiment::VaryingLoad, [&] { State().single.length = L; });
    Measure(module, "pooling, defaults", Experiment::Pooling, [&] { State().pooling.length = L; });
    Measure(module, "tandem, defaults", Experiment::Tandem, [&] { State().tandem.length = L; });
    Measure(module, "priority, defaults", Experiment::Priority, [&] { State().priority.length = L; });
    Measure(module, "single, 97.9 / 99.9", Experiment::Single,
            [&] { State().single = {.lambda = 97.9, .mu = 99.9, .length = L}; });
    Measure(module, "pooling, 97.9 / 99.9 (x2), 100000", Experiment::Pooling, [&] {
        State().pooling = {.lambda1 = 97.9, .lambda2 = 97.9, .mu1 = 99.9, .mu2 = 99.9, .length = L / 10};
    });
    Measure(module, "priority, 48.9 / 99.9 (x2), 100000", Experiment::Priority, [&] {
        State().priority = {.lambda1 = 48.9, .lambda2 = 48.9, .mu1 = 99.9, .mu2 = 99.9, .length = L / 10};
    });
    module->closeModule();
    QCoreApplication::processEvents();
    return 0;
}
