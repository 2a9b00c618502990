#pragma once
// Simulation Pi: the parameter window TMCPi and the dart board TMCPiPlot.
#include "modules/montecarlo/pi.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QImage>

class QCheckBox;
class QLineEdit;
class QToolButton;

namespace tarvik::montecarlo::ui {

class TMCPiPlot : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCPiPlot(TMC* module);
    static constexpr int kBoard = 349;
    // The empty board: red, with the aqua circle over it.
    void Clear();
    // A dart: a 3 by 3 square with a black outline at (round(349 x), round(349 y)).
    void DrawDart(double x, double y);
    const QImage& picture() const { return Picture; }
    TMCPictureBox* Board = nullptr;

private:
    QImage Picture;
};

class TMCPi : public TMCSimulateWindow {
    Q_OBJECT
public:
    TMCPi(TMC* module, TMCPiPlot* plot);

    // The chooser's "OK": defaults, outputs cleared, both windows shown.
    void Open();
    // The state after the last dart of the current or last run.
    const PiResult& lastResult() const { return Last; }

    TMCSpinEdit* DrawsEdit = nullptr;
    QCheckBox* FastBox = nullptr;
    QLineEdit* CurrentEdit = nullptr;
    QLineEdit* EstimateEdit = nullptr;
    QLineEdit* IntervalEdit = nullptr;
    QLineEdit* ActualEdit = nullptr;
    QToolButton* SaveBtn = nullptr; // the board's "Save graph to file"

private:
    void CommitFields() override { Form.commit(); }
    void Execute() override;
    void ShowState();

    TMCPiPlot* Plot;
    PiResult Last;
    MCSettingsForm<TMCPi> Form{this};
};

} // namespace tarvik::montecarlo::ui
