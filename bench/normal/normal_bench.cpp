// The normal-distribution demonstrations with their windows, offscreen (or on
// the display QT_QPA_PLATFORM names): four histograms of n = 30 computed and
// drawn, the square-root law with 1000 experiments shown as they come, and an
// interval run of n = 2500 (1.25 million trials) with the window live. Each
// figure is the median over repeated runs, with the longest stretch between
// two visits to the event loop; then the computations alone.
#include "common/progress.h"
#include "common/random.h"
#include "common/ui/appsetup.h"
#include "modules/normal/ui/clsunit.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using namespace tarvik::normal;
using namespace tarvik::normal::ui;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double Ms(Clock::time_point from) {
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// Times `start` until the module's run is over, and the longest gap between
// two visits of the run to the event loop.
struct Timing {
    double total = 0, maxGap = 0;
};

Timing TimeRun(TCLS* module, const std::function<void()>& start) {
    Timing t;
    auto last = Clock::now();
    SetYieldObserver([&] {
        const auto now = Clock::now();
        t.maxGap = std::max(t.maxGap, std::chrono::duration<double, std::milli>(now - last).count());
        last = now;
    });
    const auto begin = Clock::now();
    last = begin;
    start();
    while (module->running()) QCoreApplication::processEvents();
    t.total = Ms(begin);
    SetYieldObserver({});
    return t;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvik::ui::SetUpApplication();
    tarvik::Randomize();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;

    auto* module = new TCLS;
    module->show();

    // Four histograms of n = 30.
    module->chooser()->OKBtnClick();
    module->dieSettings()->HistBtn[2]->setChecked(true);
    module->dieSettings()->OKBtnClick();
    for (int i = 0; i < 4; ++i) module->lengths()->LengthEdit[i]->setValue(30);
    std::vector<double> hist;
    for (int r = 0; r < runs; ++r) {
        const auto start = Clock::now();
        module->lengths()->StartBtnClick();
        module->histograms(4)->PictureBox->repaint();
        hist.push_back(Ms(start));
        module->histograms(4)->TerugBtnClick();
    }
    module->lengths()->TerugBtnClick();
    module->dieSettings()->TerugBtnClick();

    // Square-root law, 1000 experiments.
    module->chooser()->SqrtBtn->setChecked(true);
    module->chooser()->OKBtnClick();
    module->sqrtCount()->CountEdit->setValue(1000);
    std::vector<double> sqrtTotal, sqrtGap;
    for (int r = 0; r < runs; ++r) {
        module->ShowSqrtCount();
        const Timing t = TimeRun(module, [&] { module->sqrtCount()->StartBtnClick(); });
        sqrtTotal.push_back(t.total);
        sqrtGap.push_back(t.maxGap);
        if (module->sqrtGraph()->pointsDrawn < 3900) {
            std::fprintf(stderr, "the square-root run did not complete\n");
            return 1;
        }
    }
    module->sqrtGraph()->TerugBtnClick();
    module->sqrtCount()->TerugBtnClick();

    // Intervals, n = 2500.
    module->chooser()->IntervalBtn->setChecked(true);
    module->chooser()->OKBtnClick();
    module->intervalSettings()->NEdit->setValue(2500);
    std::vector<double> ciTotal, ciGap;
    for (int r = 0; r < runs; ++r) {
        const Timing t = TimeRun(module, [&] {
            if (r == 0)
                module->intervalSettings()->OKBtnClick();
            else
                module->IntervalsAgain();
        });
        ciTotal.push_back(t.total);
        ciGap.push_back(t.maxGap);
        if (!module->intervalRun() || module->intervalRun()->pairs().size() != 100) {
            std::fprintf(stderr, "the interval run did not complete\n");
            return 1;
        }
    }

    // The computations alone.
    std::vector<double> conv, sqrtPlain, ciPlain;
    tarvik::Progress never;
    for (int r = 0; r < runs; ++r) {
        auto start = Clock::now();
        for (int i = 0; i < 4; ++i) (void)SumDistribution(kFairDie, 30);
        conv.push_back(Ms(start));
        start = Clock::now();
        RunSqrtLaw(1000, 1, never, {});
        sqrtPlain.push_back(Ms(start));
        start = Clock::now();
        IntervalRun run({.p = 0.4, .n = 2500, .level = Level::P95});
        run.runAll(never);
        ciPlain.push_back(Ms(start));
    }

    std::printf("normal distribution, median of %d runs (%s)\n", runs,
                qPrintable(QGuiApplication::platformName()));
    std::printf("  four histograms n = 30, computed and drawn:   %8.2f ms   (convolution alone %.3f ms)\n",
                Median(hist), Median(conv));
    std::printf(
        "  square-root law, 1000 experiments, window:    %8.2f ms   longest gap %.2f ms   (alone %.2f ms)\n",
        Median(sqrtTotal), Median(sqrtGap), Median(sqrtPlain));
    std::printf(
        "  intervals n = 2500 (1.25M trials), window:    %8.2f ms   longest gap %.2f ms   (alone %.2f ms)\n",
        Median(ciTotal), Median(ciGap), Median(ciPlain));
    module->closeModule();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return 0;
}
