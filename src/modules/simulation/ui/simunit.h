#pragma once
// The queue-simulation module window ("Queue simulation"): owns the options
// dialog, the settings dialogs, the results and graph windows, and runs the
// experiments one at a time.
#include "common/ui/modulewindow.h"
#include "modules/simulation/simkernels.h"
#include "modules/simulation/simsettings.h"
#include "modules/simulation/ui/simdialoog1.h"
#include "modules/simulation/ui/simgrafiek.h"
#include "modules/simulation/ui/simopties.h"
#include "modules/simulation/ui/simresults.h"

#include <QPointer>
#include <optional>

class QAction;

namespace tarvik::simulation::ui {

class TSim;

// The results window of the single-server queue; StartSim performs a run.
class TSimRun : public TSimResults {
    Q_OBJECT
public:
    TSimRun(TSim* owner, TSimGrafiek* graph);
    void StartSim();

private:
    TSim* owner_;
    QPointer<TSimGrafiek> graph_;
};

class TSim : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TSim(QWidget* parent = nullptr);
    ~TSim() override;

    TSimOpties* options() const { return SimOpties; }
    TSimDialoog1* dialoog1() const { return SimDialoog1; }
    TSimRun* simRun() const { return SimRun; }
    TSimGrafiek* grafiek() const { return SimGrafiek; }
    QAction* runAction() const { return Run1; }

    // A run is going, or accepted and about to start.
    bool running() const { return Running || RunPending; }
    bool stopRequested() const { return Stop; }
    // "Stop": no new arrivals; the customers present are still served.
    void RequestStop() { Stop = true; }
    // The outcome of the last run (for the windows' tests).
    const std::optional<Outcome>& lastOutcome() const { return LastOutcome; }

    // "Run" (F10): the chosen experiment with the stored settings, ignored while running.
    void Run();
    void ShowOptions();
    void ShowSettings(Experiment e);

protected:
    void releaseModule() override;

private:
    friend class TSimRun;
    void StartRun(Experiment e);
    void Execute(Experiment e);
    void GraphSluitClick();
    void ResultsCloseClick();

    QPointer<TSimOpties> SimOpties;
    QPointer<TSimDialoog1> SimDialoog1;
    QPointer<TSimGrafiek> SimGrafiek;
    QPointer<TSimRun> SimRun;
    QAction* Run1 = nullptr;

    bool Running = false;
    bool RunPending = false;
    bool Stop = false;
    std::optional<Outcome> LastOutcome;
};

} // namespace tarvik::simulation::ui
