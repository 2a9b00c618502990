#include "modules/simulation/ui/simunit.h"

#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
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
#include <QMenu>
#include <QTimer>

namespace tarvik::simulation::ui {

namespace {

constexpr int kHelpContext = 7;

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

    QMenu* help = addModuleMenu(QStringLiteral("Help"));
    QAction* explanation = help->addAction(QStringLiteral("Explanation"));
    explanation->setObjectName(QStringLiteral("Explanation1"));
    connect(explanation, &QAction::triggered, this, [this] { tarvik::ui::ShowHelp(kHelpContext, this); });

    SimOpties = new TSimOpties(this);
    SimDialoog1 = new TSimDialoog1(this);
    SimGrafiek = new TSimGrafiek(this);
    SimRun = new TSimRun(this, SimGrafiek);
    for (QWidget* w : {static_cast<QWidget*>(SimGrafiek.data()), static_cast<QWidget*>(SimRun.data())})
        w->addAction(Run1);

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
    SimOpties->show();
    SimOpties->raise();
    SimOpties->activateWindow();
}

void TSim::ShowSettings(Experiment e) {
    if (e != Experiment::Single) return; // the other experiments' dialogs are not built
    SimDialoog1->show();
    SimDialoog1->raise();
    SimDialoog1->activateWindow();
}

void TSim::Run() {
    if (running() || isClosing()) return;
    const Experiment e = SimOpties->choice();
    if (e != Experiment::Single) return;
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
    if (e == Experiment::Single && SimRun) SimRun->StartSim();
    if (!self) return;
    Running = false;
    Stop = false;
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
    for (QWidget* w : {static_cast<QWidget*>(SimOpties.data()), static_cast<QWidget*>(SimDialoog1.data()),
                       static_cast<QWidget*>(SimGrafiek.data()), static_cast<QWidget*>(SimRun.data())}) {
        if (!w) continue;
        w->hide();
        w->deleteLater();
    }
}

} // namespace tarvik::simulation::ui

tarvik::ui::ModuleWindow* CreateSimWindow(QWidget* parent) {
    return new tarvik::simulation::ui::TSim(parent);
}
