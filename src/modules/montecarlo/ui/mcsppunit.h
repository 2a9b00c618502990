#pragma once
// St Petersburg paradox: the parameter window TMCSPPDialoog and the graph TMCSPPPlot.
#include "modules/montecarlo/stpetersburg.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QImage>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLineEdit;

namespace tarvik::montecarlo::ui {

class TMCSPPDialoog;

class TMCSPPPlot : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCSPPPlot(TMC* module);
    void setDialog(TMCSPPDialoog* d) { Dialog = d; }
    // The axes, texts and legend; with runs > 0 the "N Runs" text, with m > 0
    // the dashed line at the expected pay-out m.
    void DrawEmpty(int runs = 0, int m = 0);
    void DrawColumn(const SppColumn& c);
    void SaveBtnClick();
    const QImage& picture() const { return Picture; }

    TMCPictureBox* Graph = nullptr;
    QToolButton* SaveBtn = nullptr;

private:
    TMCSPPDialoog* Dialog = nullptr;
    QImage Picture;
    MCCanvas Canvas{Picture};
    // The values written above the plot where the curve left it: a value that
    // would cover one of them is left out, so that each stays readable.
    std::vector<QRect> OffScale;
};

class TMCSPPDialoog : public TMCSimulateWindow {
    Q_OBJECT
public:
    TMCSPPDialoog(TMC* module, TMCSPPPlot* plot);
    void Open();
    void TerugBtnClick() override;
    // The graph window closed by its frame: a run stops, then "Previous".
    void GraphClosed();
    const SppResult& lastResult() const { return Last; }

    TMCSpinEdit* MEdit = nullptr;
    TMCSpinEdit* RunsEdit = nullptr;
    QCheckBox* LineBox = nullptr;
    QLineEdit* AverageEdit = nullptr;
    QLineEdit* IntervalEdit = nullptr;

private:
    void CommitFields() override { Form.commit(); }
    void Execute() override;

    TMCSPPPlot* Plot;
    bool BackAfterRun = false;
    SppResult Last;
    MCSettingsForm<TMCSPPDialoog> Form{this};
};

} // namespace tarvik::montecarlo::ui
