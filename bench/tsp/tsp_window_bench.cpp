// The animated closest-neighbour construction on 50 random cities in the
// travelling-salesman window, with the pauses between steps shortened to 1 ms
// (the event loop runs in each), so that the map is asked to show a new state
// about a thousand times a second: the wall time of the run and how often the
// map was painted (at most about sixty times a second). Offscreen, or on the X
// server QT_QPA_PLATFORM names.
#include "common/random.h"
#include "common/ui/appsetup.h"
#include "modules/tsp/ui/tspdialoogunit.h"
#include "modules/tsp/ui/tspkaartunit.h"
#include "modules/tsp/ui/tspunit.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;
using tarvik::tsp::ui::TTSP;

// Paints of the map window, counted where the application delivers them.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* w) : window_(w->window()) { qApp->installEventFilter(this); }
    ~PaintCounter() override { qApp->removeEventFilter(this); }
    bool eventFilter(QObject* o, QEvent* e) override {
        if (e->type() == QEvent::Paint && o == window_) ++paints;
        return false;
    }
    int paints = 0;

private:
    QObject* window_;
};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    tarvik::ui::SetUpApplication();
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;

    std::vector<double> wall, rate;
    int paints = 0;
    for (int r = 0; r < runs; ++r) {
        tarvik::RandSeed = 4711 + static_cast<unsigned>(r);
        QPointer<TTSP> module = new TTSP;
        module->setWaitUnitMs(2); // Wait(0.5) between candidate lines: 1 ms
        module->resize(900, 600);
        module->show();
        QCoreApplication::processEvents();
        module->zetSteden()->RandomBtn->setChecked(true);
        module->zetSteden()->AantalSpin->setValue(50);
        module->zetSteden()->OKBtn->click();
        QCoreApplication::processEvents();
        module->dialoog()->ListBox->setCurrentRow(2);
        module->dialoog()->HeuristiekBtn->click();
        module->beginstad()->FastBox->setChecked(false);
        PaintCounter counter(module->kaart()->view());
        const auto start = Clock::now();
        module->beginstad()->OKBtn->click();
        while (module && module->constructionRunning()) QCoreApplication::processEvents();
        const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        if (!module || !module->heuristicPresent()) {
            std::fprintf(stderr, "the construction did not complete\n");
            return 1;
        }
        wall.push_back(ms);
        rate.push_back(counter.paints / (ms / 1000.0));
        paints = counter.paints;
        module->closeModule();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        delete module.data();
    }
    std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
    std::printf("closest neighbour, 50 cities, animated with 1 ms pauses: median %.1f ms over %d runs\n",
                Median(wall), runs);
    std::printf("  map paints: %d in the last run, median %.0f per second\n", paints, Median(rate));
    return 0;
}
