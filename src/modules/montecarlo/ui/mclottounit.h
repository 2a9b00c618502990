#pragma once
// The lotto: the settings TMCLottoDialoog, the count graph TMCLottoPlot and its
// result windows TMCLottoHotnCold, TMCLottoGoodnBad and TMCLottoData.
#include "modules/montecarlo/lotto.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QImage>

class QTextEdit;

namespace tarvik::montecarlo::ui {

class TMCLottoDialoog;

class TMCLottoHotnCold : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCLottoHotnCold(TMC* module);
    // The ages of the balls after the run.
    void Draw(const LottoState& state);
    const QImage& picture() const { return Picture; }
    void SaveBtnClick();

    TMCPictureBox* Graph = nullptr;
    QPushButton* OKBtn = nullptr;
    QToolButton* SaveBtn = nullptr;

private:
    QImage Picture;
    MCCanvas Canvas{Picture};
    int Balls = 45;
};

class TMCLottoGoodnBad : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCLottoGoodnBad(TMC* module);
    void setGraph(QWidget* g) { GraphWindow = g; }
    // Draws the walk segment by segment.
    void Draw(const LottoState& state);
    const QImage& picture() const { return Picture; }
    void OKBtnClick();
    void SaveBtnClick();

    TMCPictureBox* Graph = nullptr;
    QPushButton* OKBtn = nullptr;
    QToolButton* SaveBtn = nullptr;

private:
    QWidget* GraphWindow = nullptr;
    QImage Picture;
    MCCanvas Canvas{Picture};
};

class TMCLottoData : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCLottoData(TMC* module);
    void setGraph(QWidget* g) { GraphWindow = g; }
    void OKBtnClick();
    QTextEdit* Report = nullptr;
    QPushButton* OKBtn = nullptr;

private:
    QWidget* GraphWindow = nullptr;
};

class TMCLottoPlot : public TMCWindow {
    Q_OBJECT
public:
    TMCLottoPlot(TMC* module, TMCLottoHotnCold* hot, TMCLottoGoodnBad* walk, TMCLottoData* data);
    void setDialog(TMCLottoDialoog* d) { Dialog = d; }
    // A run from draw 1 with these settings, started from the event loop.
    void Start(int balls, int drawn, int draws);
    bool running() const { return Running || Pending; }
    void Stop() {
        StopFlag = true;
        Pending = false;
    }
    const QImage& picture() const { return Picture; }
    const LottoState& state() const { return State; }

    void AgainBtnClick(); // "Again", "Stop" and "Continue"
    void TerugBtnClick();
    void HotBtnClick();
    void WalkBtnClick();
    void DataBtnClick();
    void SaveBtnClick();

    TMCPictureBox* Graph = nullptr;
    QPushButton* AgainBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
    QPushButton* HotBtn = nullptr;
    QPushButton* WalkBtn = nullptr;
    QPushButton* DataBtn = nullptr;
    QToolButton* SaveBtn = nullptr;

private:
    void Execute(int from);
    void DrawStatic();
    void DrawBar(int ball);
    void Layout();
    // What the picture shows after a run, for screen readers.
    void Describe();

    TMCLottoDialoog* Dialog = nullptr;
    TMCLottoHotnCold* Hot;
    TMCLottoGoodnBad* Walk;
    TMCLottoData* Data;
    QImage Picture;
    MCCanvas Canvas{Picture};
    LottoState State;
    int Balls = 45, Drawn = 6, Draws = 300;
    bool StopFlag = false;
    bool Continuing = false;
    bool Running = false;
    bool Pending = false;
    bool Finished = false;
    bool BackAfterRun = false;
};

class TMCLottoDialoog : public TMCWindow {
    Q_OBJECT
public:
    TMCLottoDialoog(TMC* module, TMCLottoPlot* plot);
    void Open();
    void OKBtnClick();
    void TerugBtnClick();

    TMCSpinEdit* BallsEdit = nullptr;
    TMCSpinEdit* DrawnEdit = nullptr;
    TMCSpinEdit* DrawsEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

private:
    TMCLottoPlot* Plot;
    MCSettingsForm<TMCLottoDialoog> Form{this};
};

} // namespace tarvik::montecarlo::ui
