#pragma once
// The normal-distribution module window: an empty window that owns the
// chooser, the settings dialogs and the graph windows of the three
// demonstrations, keeps their state and runs their computations.
#include "common/ui/modulewindow.h"
#include "modules/normal/clt.h"
#include "modules/normal/intervals.h"
#include "modules/normal/sqrtlaw.h"
#include "modules/normal/ui/clsdialogen.h"
#include "modules/normal/ui/clsgrafiekunit.h"

#include <QPointer>
#include <array>
#include <chrono>
#include <functional>
#include <memory>
#include <vector>

class QAction;

namespace tarvik::normal::ui {

inline constexpr int kHelpContext = 5;

// How long a run works between two visits to the event loop (tests set 0).
void SetYieldInterval(std::chrono::microseconds interval);
// Called whenever a run visits the event loop, just before the pending events
// are handled (tests post the user's actions from here). Empty by default.
void SetYieldObserver(std::function<void()> observer);

class TCLS : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TCLS(QWidget* parent = nullptr);
    ~TCLS() override;

    TCLSKeuzeDialoog* chooser() const { return KeuzeDialoog; }
    TCLSDialoog* dieSettings() const { return Dialoog; }
    TCLSSommatieLengte* lengths() const { return SommatieLengte; }
    // The histogram window for 1, 2 or 4 histograms.
    TCLSGrafiek* histograms(int count) const;
    TCLSWortelNAantal* sqrtCount() const { return WortelNAantal; }
    TCLSWortelN* sqrtGraph() const { return WortelN; }
    TCLSBTI* intervalSettings() const { return BTI; }
    TCLSBTIPlot* intervalPlot() const { return BTIPlot; }
    QMenu* optionsMenu() const { return Options; }

    // The hidden options menu's entries.
    QAction* CentralLimit1 = nullptr;
    QAction* SquareRoot1 = nullptr;
    QAction* ConfidenceInterval1 = nullptr;
    QAction* Settings1 = nullptr;

    // State of the central limit theorem.
    const Probabilities& probabilities() const { return P; }
    int histogramCount() const { return Histograms; }
    const std::array<int, 4>& sumLengths() const { return N; }
    const std::vector<double>& distribution(int index) const { return Dist[index]; }
    // The square-root law's stream, chosen once per program run.
    static int SqrtStream();
    // The last interval run (null before the first).
    const IntervalRun* intervalRun() const { return Run.get(); }

    bool running() const { return Running || RunPending; }
    bool stopRequested() const { return Stop; }
    void RequestStop() { Stop = true; }

    // The flow between the windows.
    void ShowChooser();
    void ShowDieSettings();
    void DieAccepted(const Probabilities& p, int histograms);
    void BackToDieSettings();
    void ShowLengths();
    void StartHistograms(const std::array<int, 4>& lengths);
    void ShowSqrtCount();
    void StartSqrtLaw();
    void SqrtBack();
    void ShowIntervalSettings();
    void StartIntervals(const IntervalRunSettings& settings);
    void IntervalsAgain();
    void IntervalsBack();
    // Closing a graph window during a run: the run stops, then its settings return.
    void StopAndGoBack();
    void BackToChooser(QWidget* from);

protected:
    void releaseModule() override;

private:
    void RunSqrtLaw();
    void RunIntervals();
    void Defer(void (TCLS::*run)());

    QMenu* Options = nullptr;
    QPointer<TCLSKeuzeDialoog> KeuzeDialoog;
    QPointer<TCLSDialoog> Dialoog;
    QPointer<TCLSSommatieLengte> SommatieLengte;
    std::array<QPointer<TCLSGrafiek>, 3> Grafiek; // 1, 2, 4 histograms
    QPointer<TCLSWortelNAantal> WortelNAantal;
    QPointer<TCLSWortelN> WortelN;
    QPointer<TCLSBTI> BTI;
    QPointer<TCLSBTIPlot> BTIPlot;

    Probabilities P = kFairDie;
    int Histograms = 1;
    std::array<int, 4> N = {4, 8, 12, 16};
    std::array<std::vector<double>, 4> Dist;

    IntervalRunSettings Interval;
    std::unique_ptr<IntervalRun> Run;

    bool Running = false;
    bool RunPending = false;
    bool Stop = false;
    bool BackAfterRun = false;
};

} // namespace tarvik::normal::ui
