#include "modules/normal/ui/clsunit.h"

#include "common/random.h"
#include "common/ui/help.h"
#include "common/ui/liverepaint.h"
#include "common/ui/seed.h"
#include "modules/normal/ui/clsdialogen.h"
#include "modules/normal/ui/clsgrafiekunit.h"
#include "modules/normal/ui/normalmodule.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTimer>
#include <optional>

namespace tarvik::normal::ui {
namespace {

using Clock = std::chrono::steady_clock;

std::chrono::microseconds gYieldInterval{10000};
std::function<void()> gYieldObserver;

// What a run sees of the module: at most every 10 ms of work the picture is
// shown (at most about 60 times a second) and pending user events are
// handled; a stop when "Stop" was pressed or the module is closing (or gone).
class WindowProgress : public Progress {
public:
    WindowProgress(TCLS* owner, std::function<void()> refresh)
        : owner_(owner), refresh_(std::move(refresh)), live_([this] { refresh_(); }) {
        lastYield_ = Clock::now();
    }

    void yield() override {
        if (!alive()) return;
        const auto now = Clock::now();
        if (now - lastYield_ < gYieldInterval) return;
        if (refresh_) live_.request();
        if (gYieldObserver) {
            const auto observer = gYieldObserver; // it may replace itself
            observer();
        }
        QCoreApplication::processEvents();
        lastYield_ = Clock::now();
    }
    // The run's last state is shown even when its last refresh fell inside a frame.
    ~WindowProgress() override {
        if (alive()) live_.flush();
    }
    bool stopRequested() const override { return !alive() || owner_->stopRequested(); }

private:
    bool alive() const { return owner_ && !owner_->isClosing(); }

    QPointer<TCLS> owner_;
    std::function<void()> refresh_;
    tarvik::ui::LiveRepaint live_;
    Clock::time_point lastYield_;
};

std::optional<int> gSqrtStream;

} // namespace

void SetYieldInterval(std::chrono::microseconds interval) {
    gYieldInterval = interval;
}

void SetYieldObserver(std::function<void()> observer) {
    gYieldObserver = std::move(observer);
}

int TCLS::SqrtStream() {
    // Chosen on the first opening of the module, after the system generator
    // was seeded at start; kept for the whole run of the program.
    if (!gSqrtStream) gSqrtStream = ChooseSqrtLawStream();
    return *gSqrtStream;
}

TCLS::TCLS(QWidget* parent) : tarvik::ui::ModuleWindow(parent) {
    tarvik::ui::SetHelpContext(this, 5);
    setObjectName(QStringLiteral("CLS"));
    setWindowTitle(QStringLiteral("Normal distribution"));
    SqrtStream();

    QMenu* file = addModuleMenu(QStringLiteral("File"));
    QAction* exit = file->addAction(QStringLiteral("Exit normal distribution"));
    exit->setObjectName(QStringLiteral("Exit1"));
    connect(exit, &QAction::triggered, this, [this] { closeModule(); });

    // The options menu is not shown; the chooser invokes its entries.
    Options = addModuleMenu(QStringLiteral("Options"));
    Options->menuAction()->setVisible(false);
    CentralLimit1 = Options->addAction(QStringLiteral("Central limit theorem"));
    CentralLimit1->setObjectName(QStringLiteral("CentralLimit1"));
    SquareRoot1 = Options->addAction(QStringLiteral("Square root law"));
    SquareRoot1->setObjectName(QStringLiteral("SquareRoot1"));
    ConfidenceInterval1 = Options->addAction(QStringLiteral("Confidence interval"));
    ConfidenceInterval1->setObjectName(QStringLiteral("ConfidenceInterval1"));
    Settings1 = Options->addAction(QStringLiteral("Settings"));
    Settings1->setObjectName(QStringLiteral("Settings1"));
    tarvik::ui::AddSeedCommand(Options, QStringLiteral("normal"), this);
    connect(CentralLimit1, &QAction::triggered, this, &TCLS::ShowDieSettings);
    connect(SquareRoot1, &QAction::triggered, this, &TCLS::ShowSqrtCount);
    connect(ConfidenceInterval1, &QAction::triggered, this, &TCLS::ShowIntervalSettings);
    connect(Settings1, &QAction::triggered, this, &TCLS::ShowChooser);

    addHelpMenu(kHelpContext);

    KeuzeDialoog = new TCLSKeuzeDialoog(this);
    Dialoog = new TCLSDialoog(this);
    SommatieLengte = new TCLSSommatieLengte(this);
    Grafiek[0] = new TCLSGrafiek1(this);
    Grafiek[1] = new TCLSGrafiek2(this);
    Grafiek[2] = new TCLSGrafiek4(this);
    WortelNAantal = new TCLSWortelNAantal(this);
    WortelN = new TCLSWortelN(this);
    BTI = new TCLSBTI(this);
    BTIPlot = new TCLSBTIPlot(this);

    KeuzeDialoog->show();
}

TCLS::~TCLS() = default;

TCLSGrafiek* TCLS::histograms(int count) const {
    return Grafiek[count == 4 ? 2 : (count == 2 ? 1 : 0)];
}

void TCLS::ShowChooser() {
    if (running()) return;
    for (QWidget* w : std::initializer_list<QWidget*>{Dialoog, SommatieLengte, Grafiek[0], Grafiek[1],
                                                      Grafiek[2], WortelNAantal, WortelN, BTI, BTIPlot})
        if (w) w->hide();
    KeuzeDialoog->show();
    KeuzeDialoog->raise();
}

void TCLS::BackToChooser(QWidget* from) {
    if (running()) return;
    if (from == BTI) BTIPlot->hide();
    if (from == WortelNAantal) WortelN->hide();
    from->hide();
    KeuzeDialoog->show();
    KeuzeDialoog->raise();
}

// --- Central limit theorem ----------------------------------------------------------

void TCLS::ShowDieSettings() {
    Dialoog->show();
    Dialoog->raise();
}

void TCLS::DieAccepted(const Probabilities& p, int histograms) {
    P = p;
    Histograms = histograms;
    Dialoog->hide();
    SommatieLengte->Configure(Histograms, N);
    ShowLengths();
}

void TCLS::BackToDieSettings() {
    SommatieLengte->hide();
    ShowDieSettings();
}

void TCLS::ShowLengths() {
    SommatieLengte->show();
    SommatieLengte->raise();
}

void TCLS::StartHistograms(const std::array<int, 4>& lengths) {
    if (running() || isClosing()) return;
    const QPointer<TCLS> self(this);
    Running = true;
    Stop = false;
    for (int i = 0; i < 4; ++i) N[i] = std::clamp(lengths[i], 1, MaxSumLength(Histograms));
    WindowProgress progress(this, {});
    for (int i = 0; i < Histograms; ++i) {
        auto dist = SumDistribution(P, N[i], progress);
        if (!self) return;
        if (!dist) {
            Running = false;
            return;
        }
        Dist[i] = std::move(*dist);
    }
    Running = false;
    if (isClosing()) return;
    SommatieLengte->hide();
    TCLSGrafiek* graph = histograms(Histograms);
    graph->show();
    graph->raise();
    graph->ShowHistograms(P, N, Dist);
}

// --- Square-root law ------------------------------------------------------------------

void TCLS::ShowSqrtCount() {
    WortelNAantal->show();
    WortelNAantal->raise();
}

void TCLS::StartSqrtLaw() {
    if (running() || isClosing()) return;
    WortelN->show();
    WortelN->raise();
    WortelN->SetRunning(true);
    WortelNAantal->SetRunning(true);
    WortelN->Clear();
    Defer(&TCLS::RunSqrtLaw);
}

void TCLS::RunSqrtLaw() {
    const QPointer<TCLS> self(this);
    const QPointer<TCLSWortelN> graph = WortelN;
    const int count = WortelNAantal->count();
    const bool big = WortelNAantal->bigPoints();
    WindowProgress progress(this, [graph] {
        if (graph) graph->Refresh();
    });
    tarvik::ui::BeginSeededRun(QStringLiteral("normal"), this);
    // A fixed seed repeats a run from its start: the stream is chosen afresh
    // from it, as the command line does; else the module's stream draws on.
    const int stream = tarvik::ui::FixedSeed(QStringLiteral("normal")) ? ChooseSqrtLawStream() : SqrtStream();
    tarvik::normal::RunSqrtLaw(count, stream, progress, [&graph, big](const SqrtPoint& pt) {
        if (graph) graph->DrawPoint(pt, big);
    });
    if (!self) return;
    Running = false;
    if (isClosing()) return;
    WortelN->Refresh();
    WortelN->SetRunning(false);
    WortelNAantal->SetRunning(false);
    if (BackAfterRun) {
        BackAfterRun = false;
        SqrtBack();
        return;
    }
    WortelNAantal->hide();
}

void TCLS::SqrtBack() {
    if (running()) return;
    WortelN->hide();
    ShowSqrtCount();
}

// --- Confidence intervals ---------------------------------------------------------------

void TCLS::ShowIntervalSettings() {
    BTI->show();
    BTI->raise();
}

void TCLS::StartIntervals(const IntervalRunSettings& settings) {
    if (running() || isClosing()) return;
    Interval = settings;
    BTI->hide();
    BTIPlot->BeginRun(Interval);
    BTIPlot->show();
    BTIPlot->raise();
    Defer(&TCLS::RunIntervals);
}

void TCLS::IntervalsAgain() {
    if (running() || isClosing()) return;
    IntervalRunSettings settings;
    if (!BTI->ReadSettings(settings)) return;
    StartIntervals(settings);
}

void TCLS::RunIntervals() {
    const QPointer<TCLS> self(this);
    const QPointer<TCLSBTIPlot> plot = BTIPlot;
    tarvik::ui::BeginSeededRun(QStringLiteral("normal"), this);
    // A fixed seed repeats a run from its start: the streams begin afresh too.
    if (tarvik::ui::FixedSeed(QStringLiteral("normal"))) RndReset();
    auto run = std::make_unique<IntervalRun>(Interval);
    IntervalRun* r = run.get();
    Run = std::move(run);
    WindowProgress progress(this, [plot] {
        if (plot) plot->Refresh();
    });
    r->runAll(progress, [&plot, r](const IntervalPair& pair) {
        if (!plot) return;
        plot->DrawPair(pair, r->settings().p, r->scaleWidth());
        plot->ShowMisses(*r);
    });
    if (!self) return;
    Running = false;
    if (isClosing()) return;
    BTIPlot->EndRun();
    if (BackAfterRun) {
        BackAfterRun = false;
        IntervalsBack();
    }
}

void TCLS::IntervalsBack() {
    if (running()) return;
    BTIPlot->hide();
    ShowIntervalSettings();
}

void TCLS::StopAndGoBack() {
    Stop = true;
    BackAfterRun = true;
}

// --- Runs ---------------------------------------------------------------------------------

void TCLS::Defer(void (TCLS::*run)()) {
    // The run starts from the event loop, never inside the click that asked
    // for it, so that no window's handler is on the stack while the run hands
    // control to the event loop.
    RunPending = true;
    Stop = false;
    BackAfterRun = false;
    QTimer::singleShot(0, qApp, [self = QPointer<TCLS>(this), run] {
        if (!self) return;
        self->RunPending = false;
        if (self->isClosing()) return;
        self->Running = true;
        (self->*run)();
    });
}

void TCLS::releaseModule() {
    // A run going stops at its next test of the flag, before anything it
    // draws on is released; the windows go once control is back in the event loop.
    Stop = true;
    for (QWidget* w :
         std::initializer_list<QWidget*>{KeuzeDialoog, Dialoog, SommatieLengte, Grafiek[0], Grafiek[1],
                                         Grafiek[2], WortelNAantal, WortelN, BTI, BTIPlot}) {
        if (!w) continue;
        w->hide();
        w->deleteLater();
    }
}

} // namespace tarvik::normal::ui

tarvik::ui::ModuleWindow* CreateNormalWindow(QWidget* parent) {
    return new tarvik::normal::ui::TCLS(parent);
}
