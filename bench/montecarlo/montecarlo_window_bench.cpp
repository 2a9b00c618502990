// The runs in their windows, offscreen, fast mode: pi with 400000 darts and
// the roulette distributions with 100000 runs of 100 bets, from the button to
// the end of the run (median of repeated runs); and how long "Stop" takes to
// end a running roulette simulation; Benford with a million draws and its
// hundred picture updates; the scratch lottery with a million weeks, and how
// long "Stop" takes to end it.
#include "common/ui/appsetup.h"
#include "modules/montecarlo/ui/mcbenfordunit.h"
#include "modules/montecarlo/ui/mckrasunit.h"
#include "modules/montecarlo/ui/mcpiunit.h"
#include "modules/montecarlo/ui/mcrouletteunit.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace tarvik::montecarlo::ui;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Ms(Clock::time_point a, Clock::time_point b) {
    return std::chrono::duration<double, std::milli>(b - a).count();
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvik::ui::SetUpApplication();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;

    auto* module = new TMC;
    module->show();

    module->OpenChoice(MCChoice::Pi);
    auto* pi = module->findChild<TMCPi*>();
    pi->DrawsEdit->setValue(400000);
    pi->FastBox->setChecked(true);
    std::vector<double> piTimes;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        pi->SimulateBtnClick();
        while (pi->running()) QCoreApplication::processEvents();
        piTimes.push_back(Ms(start, Clock::now()));
        if (pi->lastResult().draws != 400000) {
            std::fprintf(stderr, "the pi run did not complete\n");
            return 1;
        }
    }
    pi->TerugBtnClick();

    module->OpenChoice(MCChoice::Roulette);
    auto* dist = module->findChild<TMCRouletteDialoog2*>();
    auto* progress = module->findChild<TMCRouletteProgress*>();
    dist->StartEdit->setValue(100);
    dist->BetsEdit->setValue(100);
    dist->RunsEdit->setValue(100000);
    std::vector<double> distTimes;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        dist->OKBtnClick();
        while (dist->running()) QCoreApplication::processEvents();
        distTimes.push_back(Ms(start, Clock::now()));
        if (!dist->lastResult() || dist->lastResult()->completed != 100000) {
            std::fprintf(stderr, "the roulette run did not complete\n");
            return 1;
        }
    }

    // "Stop" pressed 200 ms into a run: the time until the run has ended.
    std::vector<double> stopTimes;
    for (int r = 0; r < runs; ++r) {
        Clock::time_point pressed{};
        QTimer::singleShot(200, progress, [&] {
            pressed = Clock::now();
            progress->StopBtn->click();
        });
        dist->OKBtnClick();
        while (dist->running()) QCoreApplication::processEvents();
        stopTimes.push_back(Ms(pressed, Clock::now()));
    }

    dist->TerugBtnClick();

    module->OpenChoice(MCChoice::Benford);
    auto* benford = module->findChild<TMCBenfordDialoog*>();
    auto* benfordPlot = module->findChild<TMCBenfordPlot*>();
    benford->IntervalsEdit->setValue(10);
    benford->DrawsEdit->setValue(1000000);
    const char* bounds[] = {"100",      "1000",      "10000",      "100000",        "1000000",
                            "10000000", "100000000", "1000000000", "1000000000000", "1000000000000000"};
    for (int i = 0; i < 10; ++i)
        benford->IntervalEdit[static_cast<std::size_t>(i)]->setText(QString::fromLatin1(bounds[i]));
    std::vector<double> benfordTimes;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        if (r == 0)
            benford->OKBtnClick();
        else
            benfordPlot->AgainBtnClick();
        while (benfordPlot->running()) QCoreApplication::processEvents();
        benfordTimes.push_back(Ms(start, Clock::now()));
        if (benfordPlot->lastResult().draws != 1000000) {
            std::fprintf(stderr, "the Benford run did not complete\n");
            return 1;
        }
    }
    benfordPlot->TerugBtnClick();
    benford->TerugBtnClick();

    module->OpenChoice(MCChoice::Scratch);
    auto* kras = module->findChild<TMCKrasOpties*>();
    auto* krasPlot = module->findChild<TMCKrasPlot*>();
    kras->TicketsEdit->setValue(10000);
    kras->WeeksEdit->setValue(1000000);
    std::vector<double> krasTimes;
    const int krasRuns = std::min(runs, 3);
    for (int r = 0; r < krasRuns; ++r) {
        const auto start = Clock::now();
        if (r > 0) krasPlot->TerugBtnClick();
        kras->OKBtnClick();
        QCoreApplication::processEvents();
        while (krasPlot->running()) QCoreApplication::processEvents();
        krasTimes.push_back(Ms(start, Clock::now()));
        if (krasPlot->lastResult().completed != 1000000) {
            std::fprintf(stderr, "the scratch lottery run did not complete\n");
            return 1;
        }
    }
    // "Stop" 100 ms into a run of a million weeks of a million tickets.
    kras->TicketsEdit->setValue(1000000);
    std::vector<double> krasStop;
    for (int r = 0; r < runs; ++r) {
        krasPlot->TerugBtnClick();
        Clock::time_point pressed{};
        QTimer::singleShot(100, krasPlot, [&] {
            pressed = Clock::now();
            krasPlot->TerugBtn->click();
        });
        kras->OKBtnClick();
        QCoreApplication::processEvents();
        while (krasPlot->running()) QCoreApplication::processEvents();
        krasStop.push_back(Ms(pressed, Clock::now()));
        if (krasPlot->lastResult().completed == 1000000) {
            std::fprintf(stderr, "the scratch lottery run ended before Stop\n");
            return 1;
        }
    }

    std::printf("pi 400000 darts, fast, in the window:            median %.0f ms\n", Median(piTimes));
    std::printf("roulette distributions 100000 x 100, in window:   median %.0f ms\n", Median(distTimes));
    std::printf("roulette distributions, Stop to end of the run:   median %.1f ms, max %.1f ms\n",
                Median(stopTimes), *std::max_element(stopTimes.begin(), stopTimes.end()));
    std::printf("Benford 1000000 draws, 100 picture updates:       median %.0f ms\n", Median(benfordTimes));
    std::printf("scratch lottery 1000000 weeks of 10000 tickets:   median %.0f ms\n", Median(krasTimes));
    std::printf("scratch lottery, Stop to end of the run:          median %.2f ms, max %.2f ms\n",
                Median(krasStop), *std::max_element(krasStop.begin(), krasStop.end()));
    delete module;
    return 0;
}
