#include "modules/simulation/ui/simunit.h"

#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/moduledialog.h"
#include "common/ui/seed.h"
#include "modules/simulation/simchecks.h"
#include "modules/simulation/simreport.h"
#include "modules/simulation/ui/simdialoog1.h"
#include "modules/simulation/ui/simgrafiek.h"
#include "modules/simulation/ui/simmodule.h"
#include "modules/simulation/ui/simopties.h"
#include "modules/simulation/ui/simprogress.h"
#include "modules/simulation/ui/simstate.h"

#include <QAction>
#include <QApplication>
#include <QGroupBox>
#include <QMenu>
#include <QPushButton>
#include <QTimer>
#include <functional>

namespace tarvik::simulation::ui {

namespace {

constexpr int kHelpContext = 7;

// Draws the samples of a two-system run into its graph window.
struct PanelObserver {
    static constexpr bool kActive = true;
    void sample(int panel, int i, long long actual, double average) {
        if (graph) graph->Sample(panel, i, actual, average);
    }
    QPointer<TSimPanelGraph> graph;
};

bool UsesGraph2(Experiment e) {
    return e == Experiment::CompareMD1 || e == Experiment::CompareDM1 || e == Experiment::VaryingLoad;
}

// Draws the samples of the single-server run into the graph window.
struct SingleGraphObserver {
    static constexpr bool kActive = true;
    void sample(int, int i, long long actual, double average) {
        if (graph) graph->Sample(i, actual, average);
    }
    QPointer<TSimGrafiek> graph;
};

} // namespace

// --- TSimRun ----------------------------------------------------------------------

TSimRun::TSimRun(TSim* owner, TSimGrafiek* graph)
    : TSimResults(owner, QStringLiteral("SimRun"), SingleResults(SingleSettings{}, nullptr),
                  QStringLiteral("Close"),
                  {QStringLiteral("FTBBLabel"), QStringLiteral("FKWLabel"), QStringLiteral("GAKSLabel"),
                   QStringLiteral("GAKWLabel"), QStringLiteral("GVKLabel"), QStringLiteral("GWKLabel")}),
      owner_(owner), graph_(graph) {}

void TSimRun::StartSim() {
    tarvik::ui::SetHelpContext(this, 7);
    const QPointer<TSimRun> self(this);
    const SingleSettings set = State().single;
    ShowResults(SingleResults(set, nullptr));
    graph_->BeginRun(set.length, SingleGraphScale(set));

    SingleGraphObserver observer{graph_};
    const QPointer<TSimGrafiek> graph = graph_;
    SimProgress progress(owner_, [graph] {
        if (graph) graph->Flush();
    });
    const Outcome outcome = RunSingleKernel(set, progress, observer);
    if (!self || owner_->isClosing()) return;
    owner_->LastOutcome = outcome;
    if (graph) graph->EndRun();
    if (outcome.finished) ShowResults(SingleResults(set, &outcome));
}

// --- TSim -------------------------------------------------------------------------

TSim::TSim(QWidget* parent) : tarvik::ui::ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 7);
    setObjectName(QStringLiteral("Sim"));
    setWindowTitle(QStringLiteral("Queue simulation"));

    QMenu* file = addModuleMenu(QStringLiteral("File"));
    QAction* closeAct = file->addAction(QStringLiteral("Close queue"));
    closeAct->setObjectName(QStringLiteral("CloseQueue"));
    connect(closeAct, &QAction::triggered, this, [this] { closeModule(); });

    QMenu* options = addModuleMenu(QStringLiteral("Options"));
    options->setObjectName(QStringLiteral("OptionsMenu"));
    options->menuAction()->setVisible(false);
    QAction* settings = options->addAction(QStringLiteral("Settings"));
    settings->setObjectName(QStringLiteral("Settings1"));
    connect(settings, &QAction::triggered, this, &TSim::ShowOptions);
    Run1 = new QAction(QStringLiteral("Run"), this);
    Run1->setObjectName(QStringLiteral("Run1"));
    Run1->setShortcut(QKeySequence(Qt::Key_F10));
    options->addAction(Run1);
    connect(Run1, &QAction::triggered, this, &TSim::Run);
    tarvik::ui::AddSeedCommand(options, QStringLiteral("simulation"), this);

    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    QAction* explanation = help->addAction(QStringLiteral("Explanation"));
    explanation->setObjectName(QStringLiteral("Explanation1"));
    explanation->setShortcut(QKeySequence(Qt::Key_F1));
    connect(explanation, &QAction::triggered, this, [this] { tarvik::ui::ShowHelp(kHelpContext, this); });

    SimOpties = new TSimOpties(this);
    SimDialoog1 = new TSimDialoog1(this);
    SimDialoog2 = new TSimDialoog2(this);
    SimDialoog3 = new TSimDialoog3(this);
    SimDialoog4 = new TSimDialoog4(this);
    SimDialoogTandem = new TSimDialoogTandem(this);
    SimDialoogPriority = new TSimDialoogPriority(this);
    SimGrafiek = new TSimGrafiek(this);
    SimRun = new TSimRun(this, SimGrafiek);
    SimGrafiek2 = new TSimPanelGraph(this, {.name = QStringLiteral("SimGrafiek2"),
                                            .height = 321,
                                            .leftTitleX = 64,
                                            .rightTitleX = 369,
                                            .saveHint = QStringLiteral("Save graph to file")});
    SimGrafiek3 = new TSimPanelGraph(
        this,
        {.name = QStringLiteral("SimGrafiek3"), .leftTitleX = 120, .rightTitleX = 440, .rightNumber = true});
    SimGrafiekTandem = new TSimPanelGraph(this, {.name = QStringLiteral("SimGrafiekTandem"),
                                                 .leftTitleX = 120,
                                                 .rightTitleX = 440,
                                                 .linesAtY = true});
    SimGrafiekPriority = new TSimPanelGraph(
        this, {.name = QStringLiteral("SimGrafiekPriority"), .leftTitleX = 60, .rightTitleX = 380});
    ResultsText run2 = CompareResults(CompareSettings{}, nullptr);
    run2.columns = {"Strategy 1", "Strategy 2"};
    SimRun2 = new TSimResults(this, QStringLiteral("SimRun2"), run2, QStringLiteral("&Previous"));
    SimRun3 = new TSimResults(this, QStringLiteral("SimRun3"), PoolingResults(PoolingSettings{}, nullptr),
                              QStringLiteral("Close"));
    SimRunTandem = new TSimResults(this, QStringLiteral("SimRunTandem"),
                                   TandemResults(TandemSettings{}, nullptr), QStringLiteral("&Sluiten"));
    SimRunPriority = new TSimResults(this, QStringLiteral("SimRunPriority"),
                                     PriorityResults(PrioritySettings{}, nullptr), QStringLiteral("Close"));
    // F10 and F1 also work while one of the module's other windows is active.
    for (QWidget* w :
         {static_cast<QWidget*>(SimOpties.data()), static_cast<QWidget*>(SimDialoog1.data()),
          static_cast<QWidget*>(SimDialoog2.data()), static_cast<QWidget*>(SimDialoog3.data()),
          static_cast<QWidget*>(SimDialoog4.data()), static_cast<QWidget*>(SimDialoogTandem.data()),
          static_cast<QWidget*>(SimDialoogPriority.data())})
        w->addAction(explanation);
    for (QWidget* w :
         {static_cast<QWidget*>(SimGrafiek.data()), static_cast<QWidget*>(SimRun.data()),
          static_cast<QWidget*>(SimGrafiek2.data()), static_cast<QWidget*>(SimGrafiek3.data()),
          static_cast<QWidget*>(SimGrafiekTandem.data()), static_cast<QWidget*>(SimGrafiekPriority.data()),
          static_cast<QWidget*>(SimRun2.data()), static_cast<QWidget*>(SimRun3.data()),
          static_cast<QWidget*>(SimRunTandem.data()), static_cast<QWidget*>(SimRunPriority.data())}) {
        w->addAction(Run1);
        w->addAction(explanation);
    }
    for (Experiment e :
         {Experiment::CompareMD1, Experiment::Pooling, Experiment::Tandem, Experiment::Priority}) {
        TSimPanelGraph* g = panelGraph(e);
        connect(g, &TSimPanelGraph::sluitClicked, this, [this, e] { PanelSluitClick(e); });
        connect(g, &TSimPanelGraph::againClicked, this, [this, e] {
            if (!running()) StartRun(PanelExperiment(e));
        });
        connect(g, &TSimPanelGraph::dataClicked, this, [this, e] {
            results(e)->show();
            results(e)->raise();
        });
        connect(g, &TSimPanelGraph::closedByFrame, this, [this, e] {
            if (Running && RunningExperiment && panelGraph(*RunningExperiment) == panelGraph(e))
                RequestStop();
        });
        connect(results(e), &TSimResults::closeClicked, this, [this, e] { PanelResultsClose(e); });
    }

    connect(SimGrafiek, &TSimGrafiek::sluitClicked, this, &TSim::GraphSluitClick);
    connect(SimGrafiek, &TSimGrafiek::againClicked, this, [this] {
        if (!running()) StartRun(Experiment::Single);
    });
    connect(SimGrafiek, &TSimGrafiek::dataClicked, this, [this] {
        SimRun->show();
        SimRun->raise();
    });
    connect(SimRun, &TSimResults::closeClicked, this, &TSim::ResultsCloseClick);

    SimOpties->show();
}

TSim::~TSim() = default;

void TSim::ShowOptions() {
    tarvik::ui::ShowInFront(SimOpties);
}

TSimSettingsDialog* TSim::settingsDialog(Experiment e) const {
    switch (e) {
    case Experiment::CompareMD1:
    case Experiment::CompareDM1:
        return SimDialoog2;
    case Experiment::VaryingLoad:
        return SimDialoog3;
    case Experiment::Pooling:
        return SimDialoog4;
    case Experiment::Tandem:
        return SimDialoogTandem;
    case Experiment::Priority:
        return SimDialoogPriority;
    case Experiment::Single:
        break;
    }
    return nullptr;
}

TSimPanelGraph* TSim::panelGraph(Experiment e) const {
    switch (e) {
    case Experiment::CompareMD1:
    case Experiment::CompareDM1:
    case Experiment::VaryingLoad:
        return SimGrafiek2;
    case Experiment::Pooling:
        return SimGrafiek3;
    case Experiment::Tandem:
        return SimGrafiekTandem;
    case Experiment::Priority:
        return SimGrafiekPriority;
    case Experiment::Single:
        break;
    }
    return nullptr;
}

TSimResults* TSim::results(Experiment e) const {
    switch (e) {
    case Experiment::CompareMD1:
    case Experiment::CompareDM1:
    case Experiment::VaryingLoad:
        return SimRun2;
    case Experiment::Pooling:
        return SimRun3;
    case Experiment::Tandem:
        return SimRunTandem;
    case Experiment::Priority:
        return SimRunPriority;
    case Experiment::Single:
        break;
    }
    return SimRun;
}

Experiment TSim::PanelExperiment(Experiment e) const {
    return UsesGraph2(e) ? Grafiek2Experiment : e;
}

void TSim::ShowSettings(Experiment e) {
    QDialog* d = SimDialoog1;
    if (e != Experiment::Single) {
        if (e == Experiment::CompareMD1 || e == Experiment::CompareDM1)
            SimDialoog2->SetComparison(e == Experiment::CompareMD1);
        d = settingsDialog(e);
    }
    tarvik::ui::ShowInFront(d);
}

void TSim::Run() {
    if (running() || isClosing()) return;
    const Experiment e = SimOpties->choice();
    if (e == Experiment::Single)
        if (auto m = ProcessMessage(State().single)) {
            MsgDlg(QString::fromStdString(*m), tarvik::ui::MsgKind::Warning, tarvik::ui::mbOK);
            return;
        }
    StartRun(e);
}

void TSim::StartRun(Experiment e) {
    if (running() || isClosing()) return;
    // The run starts from the event loop, not inside the click that asked for
    // it, so that no window's handler is on the stack while the run hands
    // control to the event loop.
    RunPending = true;
    QTimer::singleShot(0, qApp, [self = QPointer<TSim>(this), e] {
        if (self) self->Execute(e);
    });
}

void TSim::Execute(Experiment e) {
    RunPending = false;
    if (Running || isClosing()) return;
    const QPointer<TSim> self(this);
    Running = true;
    Stop = false;
    RunningExperiment = e;
    tarvik::ui::BeginSeededRun(QStringLiteral("simulation"), this);
    if (e == Experiment::Single) {
        if (SimRun) SimRun->StartSim();
    } else {
        RunPanels(e);
    }
    if (!self) return;
    Running = false;
    Stop = false;
    RunningExperiment.reset();
}

void TSim::RunPanels(Experiment e) {
    const QPointer<TSim> self(this);
    const QPointer<TSimPanelGraph> graph = panelGraph(e);
    const QPointer<TSimResults> res = results(e);
    if (!graph || !res) return;
    if (UsesGraph2(e)) Grafiek2Experiment = e;

    // What the run needs of its experiment: the empty results, the scale, the
    // panel titles, the kernel and the filled results.
    ResultsText empty;
    int scale = 1;
    double length = 0;
    QString left, right;
    std::function<Outcome(Progress&, PanelObserver&)> kernel;
    std::function<ResultsText(const Outcome*)> filled;
    const SingleSettings& single = State().single;
    switch (e) {
    case Experiment::CompareMD1:
    case Experiment::CompareDM1: {
        const CompareSettings s{.deterministicService = e == Experiment::CompareMD1,
                                .lambda = single.lambda,
                                .mu = single.mu,
                                .length = single.length,
                                .initial = single.initial};
        scale = CompareGraphScale(s);
        length = s.length;
        left = s.deterministicService ? QStringLiteral("M/D/1") : QStringLiteral("D/M/1");
        right = QStringLiteral("M/M/1");
        kernel = [s](Progress& p, PanelObserver& o) { return RunCompareKernel(s, p, o); };
        filled = [s](const Outcome* o) { return CompareResults(s, o); };
        break;
    }
    case Experiment::VaryingLoad: {
        VaryingLoadSettings s = State().varying;
        s.length = single.length;
        s.initial = single.initial;
        scale = VaryingLoadGraphScale(s);
        length = s.length;
        left = QStringLiteral("M/M/1 with Rho = ") + QString::fromStdString(s.rho1Text).trimmed();
        right = QStringLiteral("M/M/1 with Rho = ") + QString::fromStdString(s.rho2Text).trimmed();
        kernel = [s](Progress& p, PanelObserver& o) { return RunVaryingLoadKernel(s, p, o); };
        filled = [s](const Outcome* o) { return VaryingLoadResults(s, o); };
        break;
    }
    case Experiment::Pooling: {
        const PoolingSettings s = State().pooling;
        scale = PoolingGraphScale(s);
        length = s.length;
        left = QStringLiteral("2 Queues");
        right = QStringLiteral("Pooling");
        kernel = [s](Progress& p, PanelObserver& o) { return RunPoolingKernel(s, p, o); };
        filled = [s](const Outcome* o) { return PoolingResults(s, o); };
        break;
    }
    case Experiment::Tandem: {
        const TandemSettings s = State().tandem;
        scale = TandemGraphScale(s);
        length = s.length;
        left = QStringLiteral("Station 1");
        right = QStringLiteral("Station 2");
        kernel = [s](Progress& p, PanelObserver& o) { return RunTandemKernel(s, p, o); };
        filled = [s](const Outcome* o) { return TandemResults(s, o); };
        break;
    }
    case Experiment::Priority: {
        const PrioritySettings s = State().priority;
        scale = PriorityGraphScale(s);
        length = s.length;
        left = QStringLiteral("Queue without priorities");
        right = QStringLiteral("Priority queue");
        kernel = [s](Progress& p, PanelObserver& o) { return RunPriorityKernel(s, p, o); };
        filled = [s](const Outcome* o) { return PriorityResults(s, o); };
        break;
    }
    case Experiment::Single:
        return;
    }

    graph->BitBtn1->setEnabled(false);
    empty = filled(nullptr);
    res->ShowResults(empty);
    res->ParaBox->setObjectName(e == Experiment::VaryingLoad ? QStringLiteral("RhoBox")
                                                             : QStringLiteral("ParaBox"));
    if (res == SimRun2) res->SluitenBtn->setText(QStringLiteral("&Stop"));
    graph->BeginRun(length, scale, left, right);

    PanelObserver observer{graph};
    SimProgress progress(this, [graph] {
        if (graph) graph->Flush();
    });
    const Outcome outcome = kernel(progress, observer);
    if (!self || isClosing()) return;
    LastOutcome = outcome;
    if (graph) graph->EndRun();
    if (res) {
        if (res == SimRun2) res->SluitenBtn->setText(QStringLiteral("&Previous"));
        if (outcome.finished) res->ShowResults(filled(&outcome));
    }
    if (graph) graph->BitBtn1->setEnabled(true);
}

void TSim::PanelSluitClick(Experiment e) {
    TSimPanelGraph* g = panelGraph(e);
    if (Running && RunningExperiment && panelGraph(*RunningExperiment) == g) {
        RequestStop();
        g->SluitBtn->setText(QStringLiteral("Previous"));
        g->BitBtn1->setEnabled(true);
        return;
    }
    g->hide();
    results(e)->hide();
    Experiment back = PanelExperiment(e);
    if (UsesGraph2(e) && UsesGraph2(SimOpties->choice())) back = SimOpties->choice();
    ShowSettings(back);
}

void TSim::PanelResultsClose(Experiment e) {
    TSimResults* r = results(e);
    if (Running && RunningExperiment && results(*RunningExperiment) == r) {
        RequestStop();
        if (r == SimRun2) r->SluitenBtn->setText(QStringLiteral("&Previous"));
        return;
    }
    r->hide();
    if (!panelGraph(e)->isVisible()) ShowSettings(PanelExperiment(e));
}

void TSim::GraphSluitClick() {
    if (Running) {
        RequestStop();
        return;
    }
    SimGrafiek->hide();
    SimRun->hide();
    ShowSettings(Experiment::Single);
}

void TSim::ResultsCloseClick() {
    if (Running) {
        RequestStop();
        return;
    }
    SimRun->hide();
    if (!SimGrafiek->isVisible()) ShowSettings(Experiment::Single);
}

void TSim::releaseModule() {
    // A run going stops creating arrivals at once, serves the few customers
    // present and leaves its loop; the windows go once control is back in the
    // event loop, and the run touches them only through guarded pointers.
    Stop = true;
    for (QWidget* w :
         {static_cast<QWidget*>(SimOpties.data()), static_cast<QWidget*>(SimDialoog1.data()),
          static_cast<QWidget*>(SimDialoog2.data()), static_cast<QWidget*>(SimDialoog3.data()),
          static_cast<QWidget*>(SimDialoog4.data()), static_cast<QWidget*>(SimDialoogTandem.data()),
          static_cast<QWidget*>(SimDialoogPriority.data()), static_cast<QWidget*>(SimGrafiek.data()),
          static_cast<QWidget*>(SimRun.data()), static_cast<QWidget*>(SimGrafiek2.data()),
          static_cast<QWidget*>(SimGrafiek3.data()), static_cast<QWidget*>(SimGrafiekTandem.data()),
          static_cast<QWidget*>(SimGrafiekPriority.data()), static_cast<QWidget*>(SimRun2.data()),
          static_cast<QWidget*>(SimRun3.data()), static_cast<QWidget*>(SimRunTandem.data()),
          static_cast<QWidget*>(SimRunPriority.data())}) {
        if (!w) continue;
        w->hide();
        w->deleteLater();
    }
}

} // namespace tarvik::simulation::ui

tarvik::ui::ModuleWindow* CreateSimWindow(QWidget* parent) {
    return new tarvik::simulation::ui::TSim(parent);
}
