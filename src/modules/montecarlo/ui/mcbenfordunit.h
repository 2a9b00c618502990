#pragma once
// Benford's law: the settings TMCBenfordDialoog and the bar graph TMCBenfordPlot.
#include "modules/montecarlo/benford.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QImage>
#include <array>

class QLabel;
class QLineEdit;

namespace tarvik::montecarlo::ui {

class TMCBenfordDialoog;

class TMCBenfordPlot : public TMCGraphWindow {
    Q_OBJECT
public:
    explicit TMCBenfordPlot(TMC* module);
    void setDialog(TMCBenfordDialoog* d) { Dialog = d; }
    // Draws the static picture and runs D draws over the bounds.
    void Run(const BenfordParams& params);
    bool running() const { return Running; }
    const BenfordResult& lastResult() const { return Last; }
    // The static picture: scale, axes, legend and the blue Benford bars.
    void DrawStatic();

    void AgainBtnClick() override;
    void TerugBtnClick() override;
    void SaveBtnClick() override;

private:
    void DrawBars(const BenfordResult& r);
    // What the picture shows after a run, for screen readers.
    void Describe();

    TMCBenfordDialoog* Dialog = nullptr;
    BenfordParams Params;
    BenfordResult Last;
    bool Running = false;
};

class TMCBenfordDialoog : public TMCWindow {
    Q_OBJECT
public:
    static constexpr int kFields = 10;
    TMCBenfordDialoog(TMC* module, TMCBenfordPlot* plot);
    void Open();
    void OKBtnClick();
    void TerugBtnClick();
    // Enables the fields 1 .. k.
    void IntervalsChange();

    TMCSpinEdit* IntervalsEdit = nullptr;
    TMCSpinEdit* DrawsEdit = nullptr;
    std::array<QLineEdit*, kFields> IntervalEdit{};
    std::array<QLabel*, kFields> IntervalLabel{};
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

private:
    TMCBenfordPlot* Plot;
    MCSettingsForm<TMCBenfordDialoog> Form{this};
};

} // namespace tarvik::montecarlo::ui
