#pragma once
// Birthday Problem: the parameter window TMCBDP and the graph TMCBDPPlot.
#include "modules/montecarlo/birthday.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QImage>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;

namespace tarvik::montecarlo::ui {

class TMCBDPPlot : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCBDPPlot(TMC* module);
    // The axes and texts; with `exact` >= 0 the dashed line at it; the
    // number of runs under the right end of the X axis (when > 0).
    void DrawEmpty(double exact = -1, int runs = 0);
    void DrawColumn(const BirthdayColumn& c);
    // What the picture shows after a run, for screen readers.
    void Describe(const BirthdayResult& r);
    void SaveBtnClick();
    const QImage& picture() const { return Picture; }

    TMCPictureBox* Graph = nullptr;
    QToolButton* SaveBtn = nullptr;

private:
    static void PaintEmpty(QPainter& p, double exact, int runs);
    QImage Picture;
    MCCanvas Canvas{Picture};
};

class TMCBDP : public TMCSimulateWindow {
    Q_OBJECT
public:
    TMCBDP(TMC* module, TMCBDPPlot* plot);

    void Open();
    void KindChange(int index);
    const BirthdayResult& lastResult() const { return Last; }

    QGroupBox* KindGroup = nullptr;
    QComboBox* KindBox = nullptr;
    TMCSpinEdit* PersonsEdit = nullptr;
    TMCSpinEdit* DaysEdit = nullptr;
    TMCSpinEdit* RunsEdit = nullptr;
    QCheckBox* LineBox = nullptr;
    QLineEdit* EstimateEdit = nullptr;
    QLineEdit* IntervalEdit = nullptr;
    QLineEdit* ExactEdit = nullptr;

private:
    void CommitFields() override { Form.commit(); }
    void Execute() override;

    TMCBDPPlot* Plot;
    BirthdayResult Last;
    MCSettingsForm<TMCBDP> Form{this};
};

} // namespace tarvik::montecarlo::ui
