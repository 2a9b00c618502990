#include "screenshots/shots.h"

#include "common/random.h"
#include "modules/simulation/ui/simfields.h"
#include "modules/simulation/ui/simstate.h"
#include "modules/simulation/ui/simunit.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPointer>
#include <QRadioButton>
#include <functional>

using namespace tarvik::simulation;
using namespace tarvik::simulation::ui;

namespace {

// Takes a shot at the first repaint of the live picture during a run.
class SimDuringRun : public QObject {
public:
    SimDuringRun(TSim* module, std::function<void()> take) : module_(module), take_(std::move(take)) {
        module->grafiek()->Image1->installEventFilter(this);
    }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint && !taken_ && module_ && module_->running()) {
            taken_ = true;
            take_();
        }
        return false;
    }

private:
    QPointer<TSim> module_;
    std::function<void()> take_;
    bool taken_ = false;
};

void WaitForSim(TSim* module) {
    while (module->running()) QCoreApplication::processEvents();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

} // namespace

TARVIK_SCREENSHOT(simulation_windows) {
    ResetState();
    QPointer<TSim> module = new TSim;
    module->resize(800, 560);
    module->show();
    shot.save(module->options(), "simulation-options");

    module->options()->OKBtnClick();
    TSimDialoog1* dlg = module->dialoog1();
    shot.save(dlg, "simulation-settings");

    // The defaults: λ = 1, μ = 1.25 over 10000 minutes.
    tarvik::RandSeed = 20261209;
    dlg->OKBtnClick();
    WaitForSim(module);
    shot.save(module->grafiek(), "simulation-graph");
    module->simRun()->show();
    shot.save(module->simRun(), "simulation-results");

    // A long run, photographed while it goes.
    dlg->StopTimeEdit->setText("1000000");
    State().single.length = 1000000;
    SimDuringRun during(module, [&] {
        shot.save(module->grafiek(), "simulation-graph-running");
        module->simRun()->show();
        shot.save(module->simRun(), "simulation-results-running");
    });
    module->Run();
    WaitForSim(module);

    // Heavy load: the curves reach the top and turn red there.
    State().single = SingleSettings{.lambda = 0.98, .mu = 1, .length = 20000, .initial = 300};
    tarvik::RandSeed = 7;
    module->Run();
    WaitForSim(module);
    shot.save(module->grafiek(), "simulation-graph-heavy-load");
    shot.save(module->simRun(), "simulation-results-heavy-load");

    // Few events: the curves end early. D/M/1 heading.
    State().single = SingleSettings{.lambda = 0.02, .mu = 0.1, .length = 400, .detArrivals = true};
    module->Run();
    WaitForSim(module);
    shot.save(module->grafiek(), "simulation-graph-short-run");
    shot.save(module->simRun(), "simulation-results-short-run");

    module->closeModule();
    for (int i = 0; i < 5 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    delete module.data();
    ResetState();
}
