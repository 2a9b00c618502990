// Runs in the module window with the live graph: the start values with a
// simulation length of 1,000,000 minutes (from "OK" to the end of the run), and
// the heaviest admissible single-server run (rates near 100 per minute).
// Prints seconds and events per second.
#include "common/random.h"
#include "common/ui/appsetup.h"
#include "modules/simulation/ui/simstate.h"
#include "modules/simulation/ui/simunit.h"

#include <QApplication>
#include <chrono>
#include <cstdio>
#include <ctime>

namespace {

using Clock = std::chrono::steady_clock;
using namespace tarvik::simulation;
using namespace tarvik::simulation::ui;

void Measure(TSim* module, const char* name, const SingleSettings& s) {
    State().single = s;
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
    std::printf("%-38s %7.3f s wall %7.3f s cpu %11.0f events %6.2f M events/s (cpu)\n", name, secs, cpu,
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
    for (int i = 0; i < 3; ++i) Measure(module, "single, defaults, length 1000000", {.length = 1000000});
    Measure(module, "single, 97.9 / 99.9, length 1000000", {.lambda = 97.9, .mu = 99.9, .length = 1000000});
    module->closeModule();
    QCoreApplication::processEvents();
    return 0;
}
