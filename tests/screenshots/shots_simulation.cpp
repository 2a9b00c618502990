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

// Takes a shot at the first repaint of a live picture during a run.
class SimDuringRun : public QObject {
public:
    SimDuringRun(TSim* module, std::function<void()> take, QWidget* picture = nullptr)
        : module_(module), take_(std::move(take)) {
        (picture ? picture : module->grafiek()->Image1)->installEventFilter(this);
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

    // The six two-system experiments: dialog, graph during and after a run, results.
    struct Exp {
        Experiment e;
        const char* name;
    };
    for (const Exp& x :
         {Exp{Experiment::CompareMD1, "compare-md1"}, Exp{Experiment::CompareDM1, "compare-dm1"},
          Exp{Experiment::VaryingLoad, "varying-load"}, Exp{Experiment::Pooling, "pooling"},
          Exp{Experiment::Tandem, "tandem"}, Exp{Experiment::Priority, "priority"}}) {
        State().single = SingleSettings{};
        module->grafiek()->hide();
        module->simRun()->hide();
        module->options()->Keuze[static_cast<int>(x.e)]->setChecked(true);
        module->options()->OKBtnClick();
        TSimSettingsDialog* d = module->settingsDialog(x.e);
        const QString base = QStringLiteral("simulation-") + QString::fromLatin1(x.name);
        shot.save(d, base + "-settings");
        tarvik::RandSeed = 20261209;
        d->OKBtnClick();
        WaitForSim(module);
        TSimPanelGraph* g = module->panelGraph(x.e);
        shot.save(g, base + "-graph");
        module->results(x.e)->show();
        shot.save(module->results(x.e), base + "-results");
        {
            // A long run, photographed while it goes.
            const double keep = State().single.length;
            State().single.length = 1000000;
            State().pooling.length = State().tandem.length = State().priority.length = 1000000;
            SimDuringRun during(
                module, [&] { shot.save(g, base + "-graph-running"); }, g->Image1);
            module->Run();
            WaitForSim(module);
            State().single.length = keep;
            State().pooling.length = State().tandem.length = State().priority.length = 10000;
        }
        g->hide();
        module->results(x.e)->hide();
    }
    // The priority scale that would be 0, and the options dialog with every choice.
    State().priority =
        PrioritySettings{.lambda1 = 0.978, .lambda2 = 0.011, .mu1 = 1, .mu2 = 99, .length = 2000};
    module->Run();
    WaitForSim(module);
    shot.save(module->panelGraph(Experiment::Priority), "simulation-priority-graph-scale-one");
    module->panelGraph(Experiment::Priority)->hide();
    module->settingsDialog(Experiment::Priority)->hide();
    module->ShowOptions();
    shot.save(module->options(), "simulation-options-all");

    module->closeModule();
    for (int i = 0; i < 5 && module; ++i) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }
    delete module.data();
    ResetState();
}
