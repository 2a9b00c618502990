#pragma once
// The queue-simulation module window ("Queue simulation"): owns the options
// dialog, the settings dialogs, the results and graph windows, and runs the
// experiments one at a time.
#include "common/ui/modulewindow.h"
#include "modules/simulation/simkernels.h"
#include "modules/simulation/simsettings.h"
#include "modules/simulation/ui/simdialogs.h"
#include "modules/simulation/ui/simdialoog1.h"
#include "modules/simulation/ui/simgrafiek.h"
#include "modules/simulation/ui/simopties.h"
#include "modules/simulation/ui/simpanelgraph.h"
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
    TSimDialoog2* dialoog2() const { return SimDialoog2; }
    TSimDialoog3* dialoog3() const { return SimDialoog3; }
    TSimDialoog4* dialoog4() const { return SimDialoog4; }
    TSimDialoogTandem* dialoogTandem() const { return SimDialoogTandem; }
    TSimDialoogPriority* dialoogPriority() const { return SimDialoogPriority; }
    // The settings dialog, graph and results window of an experiment.
    TSimSettingsDialog* settingsDialog(Experiment e) const;
    TSimPanelGraph* panelGraph(Experiment e) const;
    TSimResults* results(Experiment e) const;

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
    void RunPanels(Experiment e);
    void GraphSluitClick();
    void ResultsCloseClick();
    // The two-panel windows' buttons; `e` is an experiment the window shows.
    void PanelSluitClick(Experiment e);
    void PanelResultsClose(Experiment e);
    // The experiment a two-panel window last ran (the comparison graph serves three).
    Experiment PanelExperiment(Experiment e) const;

    QPointer<TSimOpties> SimOpties;
    QPointer<TSimDialoog1> SimDialoog1;
    QPointer<TSimGrafiek> SimGrafiek;
    QPointer<TSimRun> SimRun;
    QPointer<TSimDialoog2> SimDialoog2;
    QPointer<TSimDialoog3> SimDialoog3;
    QPointer<TSimDialoog4> SimDialoog4;
    QPointer<TSimDialoogTandem> SimDialoogTandem;
    QPointer<TSimDialoogPriority> SimDialoogPriority;
    QPointer<TSimPanelGraph> SimGrafiek2, SimGrafiek3, SimGrafiekTandem, SimGrafiekPriority;
    QPointer<TSimResults> SimRun2, SimRun3, SimRunTandem, SimRunPriority;
    QAction* Run1 = nullptr;
    Experiment Grafiek2Experiment = Experiment::CompareMD1;
    std::optional<Experiment> RunningExperiment;

    bool Running = false;
    bool RunPending = false;
    bool Stop = false;
    std::optional<Outcome> LastOutcome;
};

} // namespace tarvik::simulation::ui
