#pragma once
// Roulette systems: the choice window TMCRouletteKeuze; a single realisation
// (TMCRouletteDialoog, TMCRoulettePlot, TMCRouletteData); distributions over
// many runs (TMCRouletteDialoog2, TMCRouletteProgress, TMCRoulettePlot2,
// TMCRouletteData2).
#include "modules/montecarlo/roulettesystems.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QElapsedTimer>
#include <QImage>
#include <array>
#include <memory>

class QLineEdit;
class QProgressBar;
class QRadioButton;
class QTimer;

namespace tarvik::montecarlo::ui {

class TMCRouletteKeuze;
class TMCRouletteDialoog;
class TMCRouletteDialoog2;

class TMCRouletteData : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCRouletteData(TMC* module);
    void Fill(const RouletteRealisation& r);
    // The figures as text, as the command line prints them.
    const QString& reportText() const { return ReportText; }
    std::array<QLineEdit*, kSystems> Rounds{}, Staked{}, Largest{};
    QPushButton* OKBtn = nullptr;
    QPushButton* SaveBtn = nullptr;

private:
    QString ReportText;
};

class TMCRoulettePlot : public TMCGraphWindow {
    Q_OBJECT
public:
    TMCRoulettePlot(TMC* module, TMCRouletteData* data);
    void setDialog(TMCRouletteDialoog* d) { Dialog = d; }
    void StartRun(int start, int desired);
    void FinishDrawing();
    bool drawing() const { return Pacing.drawing(); }
    const RouletteRealisation* lastRun() const { return Run.get(); }

    void AgainBtnClick() override;
    void TerugBtnClick() override;
    void DataBtnClick() override;
    void SaveBtnClick() override;

private:
    void DrawStatic();
    void DrawUpTo(int round);
    void EndRun();

    TMCRouletteDialoog* Dialog = nullptr;
    TMCRouletteData* Data;
    std::unique_ptr<RouletteRealisation> Run;
    int Start = 100, Desired = 200;
    MCPacing Pacing{this, [this](int round) { DrawUpTo(round); }, [this] { EndRun(); }};
};

class TMCRouletteDialoog : public TMCWindow {
    Q_OBJECT
public:
    TMCRouletteDialoog(TMC* module, TMCRoulettePlot* plot);
    void setChooser(TMCRouletteKeuze* k) { Keuze = k; }
    void Open();
    void OKBtnClick();
    void TerugBtnClick();

    TMCSpinEdit* StartEdit = nullptr;
    TMCSpinEdit* DesiredEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

private:
    TMCRoulettePlot* Plot;
    TMCRouletteKeuze* Keuze = nullptr;
    MCSettingsForm<TMCRouletteDialoog> Form{this};
};

class TMCRouletteProgress : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCRouletteProgress(TMC* module);
    QProgressBar* Bar = nullptr;
    QPushButton* StopBtn = nullptr;
    bool StopFlag = false;
};

class TMCRouletteData2 : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCRouletteData2(TMC* module);
    void Fill(const RouletteDistResult& r);
    // The figures as text, as the command line prints them.
    const QString& reportText() const { return ReportText; }
    QLineEdit *StartText = nullptr, *BetsText = nullptr, *RunsText = nullptr;
    std::array<QLineEdit*, kSystems> Estimate{}, Staked{}, Lost{}, Fraction{}, Bets{};
    QPushButton* OKBtn = nullptr;
    QPushButton* SaveBtn = nullptr;

private:
    QString ReportText;
};

class TMCRoulettePlot2 : public TMCGraphWindow {
    Q_OBJECT
public:
    TMCRoulettePlot2(TMC* module, TMCRouletteData2* data);
    void setDialog(TMCRouletteDialoog2* d) { Dialog = d; }
    void DrawAxes();
    void DrawBars(const RouletteDistResult& r);

    void AgainBtnClick() override;
    void TerugBtnClick() override;
    void DataBtnClick() override;
    void SaveBtnClick() override;

private:
    TMCRouletteDialoog2* Dialog = nullptr;
    TMCRouletteData2* Data;
};

class TMCRouletteDialoog2 : public TMCWindow {
    Q_OBJECT
public:
    TMCRouletteDialoog2(TMC* module, TMCRoulettePlot2* plot, TMCRouletteProgress* progress);
    void setChooser(TMCRouletteKeuze* k) { Keuze = k; }
    void Open();
    void OKBtnClick();
    void TerugBtnClick();
    // Runs again with the values of the last run.
    void RunAgain();
    bool running() const { return Running || Pending; }
    void Stop();
    const RouletteDistResult* lastResult() const { return Last.get(); }

    TMCSpinEdit* StartEdit = nullptr;
    TMCSpinEdit* BetsEdit = nullptr;
    TMCSpinEdit* RunsEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

private:
    void Execute();

    TMCRoulettePlot2* Plot;
    TMCRouletteProgress* ProgressWin;
    TMCRouletteKeuze* Keuze = nullptr;
    MCSettingsForm<TMCRouletteDialoog2> Form{this};
    RouletteDistParams Params;
    std::unique_ptr<RouletteDistResult> Last;
    bool Running = false;
    bool Pending = false;
};

class TMCRouletteKeuze : public TMCWindow {
    Q_OBJECT
public:
    TMCRouletteKeuze(TMC* module, TMCRouletteDialoog* single, TMCRouletteDialoog2* dist);
    void Open();
    void OKBtnClick();
    void TerugBtnClick();
    QRadioButton* SingleBtn = nullptr;
    QRadioButton* DistBtn = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

private:
    TMCRouletteDialoog* Single;
    TMCRouletteDialoog2* Dist;
};

} // namespace tarvik::montecarlo::ui
