#pragma once
// Buffon's needle: the parameter window TMCBuffonDialoog and the board
// TMCBuffonPlot with its Stop / Continue / Again button.
#include "modules/montecarlo/buffon.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QImage>
#include <QLine>
#include <vector>

class QCheckBox;
class QGroupBox;

namespace tarvik::montecarlo::ui {

class TMCBuffonDialoog;

class TMCBuffonPlot : public TMCWindow {
    Q_OBJECT
public:
    enum class State { Idle, Running, Paused, Finished };

    TMCBuffonPlot(TMC* module);
    void setDialog(TMCBuffonDialoog* dialog) { Dialog = dialog; }

    // A fresh run: board redrawn, counts reset.
    void StartRun(int throws, bool fast);
    void RunBtnClick();
    void TerugBtnClick();
    void SaveBtnClick();
    void Stop() { StopFlag = true; }
    bool running() const { return RunState == State::Running || Pending; }
    State state() const { return RunState; }
    const BuffonExperiment& experiment() const { return Experiment; }
    const QImage& picture() const { return Picture; }

    TMCPictureBox* Board = nullptr;
    QPushButton* RunBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
    QToolButton* SaveBtn = nullptr;

private:
    void DrawBoard();
    void DrawNeedle(const Needle& n);
    void DrawCounts();
    void Go();
    // What the picture shows after a run, for screen readers.
    void Describe();
    static void PaintLabels(QPainter& p);
    static QLine NeedleLine(const Needle& n);
    void PaintNeedles(QPainter& p) const;

    struct DrawnNeedle {
        QLine line;
        bool crosses;
    };

    TMCBuffonDialoog* Dialog = nullptr;
    QImage Picture;
    MCCanvas Canvas{Picture};
    std::vector<DrawnNeedle> Needles; // those on the board, in the order thrown
    BuffonExperiment Experiment;
    State RunState = State::Idle;
    bool Fast = true;
    bool StopFlag = false;
    bool Pending = false;
    bool BackAfterRun = false;
};

class TMCBuffonDialoog : public TMCWindow {
    Q_OBJECT
public:
    TMCBuffonDialoog(TMC* module, TMCBuffonPlot* plot);
    void Open();
    void OKBtnClick();
    void TerugBtnClick();

    QGroupBox* ParamGroup = nullptr;
    TMCSpinEdit* ThrowsEdit = nullptr;
    QCheckBox* FastBox = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

private:
    TMCBuffonPlot* Plot;
    MCSettingsForm<TMCBuffonDialoog> Form{this};
};

} // namespace tarvik::montecarlo::ui
