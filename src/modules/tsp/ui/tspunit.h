#pragma once
// The travelling-salesman module window: owns the placement dialog, the map,
// the choice dialog, the start-city dialog, the branch-and-bound windows and
// the tour data report, keeps the cities and the tours, and drives the
// constructions and the exact search.
#include "common/ui/modulewindow.h"
#include "modules/tsp/tspbb.h"
#include "modules/tsp/tspcities.h"
#include "modules/tsp/tsponetree.h"
#include "modules/tsp/tsptour.h"
#include "modules/tsp/ui/tspbbunit.h"
#include "modules/tsp/ui/tspdataunit.h"
#include "modules/tsp/ui/tspdialoogunit.h"
#include "modules/tsp/ui/tspkaartunit.h"

#include <QPointer>
#include <QString>
#include <optional>

namespace tarvik::tsp::ui {

class TTSP : public tarvik::ui::ModuleWindow {
    Q_OBJECT
public:
    explicit TTSP(QWidget* parent = nullptr);
    ~TTSP() override;

    TTSPZetSteden* zetSteden() const { return ZetSteden; }
    TTSPKaart* kaart() const { return Kaart; }
    TTSPDialoog* dialoog() const { return Dialoog; }
    TTSPBeginstad* beginstad() const { return Beginstad; }
    TTSPBB* bb() const { return BB; }
    TTSPBBDlg* bbDlg() const { return BBDlg; }
    TTSPData* data() const { return Data; }

    // State, for the windows and for tests.
    const Cities& cities() const { return Steden; }
    int cityCount() const { return N; }
    bool citiesComplete() const { return CitiesComplete; }
    bool placingByClicks() const { return PlacingByClicks; }
    bool heuristicPresent() const { return HeuristicPresent; }
    bool optimalPresent() const { return OptimalPresent; }
    bool constructionRunning() const { return Constructing; }
    bool searchRunning() const { return Searching; }
    bool animating() const { return Animate; }
    const Tour& heuristicTour() const { return Heuristic; }
    const Tour& optimalTour() const { return Optimal; }
    double tourLength() const { return TourLen; }
    const QString& description() const { return Description; }
    const TourReport& report() const { return Report; }
    // Milliseconds of one wait unit (0.864 s; tests may shorten it).
    void setWaitUnitMs(int ms) { WaitUnitMs = ms; }

    // File menu: city files in the form tarvik-solve reads. Opening starts
    // its dialog in `folder` (the user's folder of city files when empty)
    // and places the file's cities as "Own choice" would.
    void OpenCitiesClick(const QString& folder = {});
    void SaveCitiesClick();
    void LoadCities(const Cities& cities);
    // The bound the exact method uses (the choice dialog's "Bound").
    ExactBound exactBound() const;

    // Placement dialog.
    void ZetStedenOK(bool random, int n);
    void ShowPlacement();
    // Map.
    void MapPress(int x, int y, Qt::MouseButton button);
    void MapMove(int x, int y);
    // Choice dialog.
    void HeuristiekBtnClick();
    void TweeOptBtnClick();
    void WisBtnClick();
    void CancelBtnClick();
    void DialoogClosed();
    void ExactBtnClick();
    void DataBtnClick();
    void SaveBtnClick();
    // Start-city dialog answered.
    void BeginstadOK(int start, bool fast);
    // Upper-bound dialog answered.
    void BBDlgOK(double upper);
    void BBDlgPrevious();
    // Progress window's button.
    void BBButtonClick();

signals:
    // After every step of a construction (tests follow the run with it).
    void constructionStep();

protected:
    void releaseModule() override;

private:
    // No tour any more: the result cleared and the methods offered again.
    void ForgetTours();
    void DrawMap();
    MapScene Scene() const;
    // A pause of `units` wait units that keeps the interface running and ends
    // early on cancel (or when the animation is switched off).
    void Wait(double units);
    // Hands control to the interface, at most every 10 ms.
    void Yield();
    bool Stopped() const;
    // Tells the windows a construction step is made, then pauses (two wait
    // units while animating); false when the module went meanwhile.
    bool ShowStep();

    void BeginConstruction(int entry);
    void RunClosestNeighbour(int start);
    void RunGreatestAngle();
    void StartOwnTour();
    void AddToPath(int c);
    void ShowRunningLength();
    void ShowFinishedTour();
    void Cancelled(const QString& message);
    // The exact method from its step 1; the button also offers the 1-tree
    // bound for many cities.
    void StartExact(bool fromButton);
    // The first mouse move after the last city (or an opened file) ends click placement.
    void EndClickPlacement();
    void PrepareExactResult();
    void RunSearch(double upper);
    void RestartReport();

    QPointer<TTSPInfo> Info;
    QPointer<TTSPZetSteden> ZetSteden;
    QPointer<TTSPKaart> Kaart;
    QPointer<TTSPDialoog> Dialoog;
    QPointer<TTSPBeginstad> Beginstad;
    QPointer<TTSPBB> BB;
    QPointer<TTSPBBDlg> BBDlg;
    QPointer<TTSPData> Data;

    // Cities.
    Cities Steden;
    DistanceTable D;
    int N = 10;
    int Placed = 0; // cities with a position (click placement)
    bool CitiesComplete = false;
    bool PlacingByClicks = false;

    // Tours.
    Tour Heuristic; // the tour or the path under construction
    bool HeuristicClosed = false;
    int EndDisc = 0;
    Tour Optimal;
    double TourLen = 0;
    QString Description;
    QString ExactDescription;
    bool HeuristicPresent = false;
    bool OptimalPresent = false;
    std::optional<PathBuilder> OwnPath; // the own tour being clicked
    const PathBuilder* Path = nullptr;  // the closest-neighbour path being built

    // Runs.
    bool Cancel = false;
    bool Animate = false;
    bool Constructing = false;
    bool Searching = false;
    int WaitUnitMs = 864;
    qint64 LastYield = 0;

    TourReport Report;
};

} // namespace tarvik::tsp::ui
