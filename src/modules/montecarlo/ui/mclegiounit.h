#pragma once
// Legio risk: the settings TMCLegioRiskDialoog with its refreshed withdrawal
// limit, the progress window TMCLegioRiskProgress and the graph TMCLegioRiskPlot.
#include "modules/montecarlo/legio.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QImage>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QTimer;

namespace tarvik::montecarlo::ui {

class TMCLegioRiskDialoog;

class TMCLegioRiskProgress : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCLegioRiskProgress(TMC* module);
    QProgressBar* Bar = nullptr;
    QPushButton* StopBtn = nullptr;
    bool StopFlag = false;
};

class TMCLegioRiskPlot : public TMCGraphWindow {
    Q_OBJECT
public:
    TMCLegioRiskPlot(TMC* module, TMCLegioRiskProgress* progress);
    void setDialog(TMCLegioRiskDialoog* d) { Dialog = d; }
    // Runs with these parameters behind the progress window; the graph shows
    // when the run completes, the settings when it is stopped.
    void Run(const LegioParams& params);
    bool running() const { return Running; }
    void Stop();
    const std::optional<LegioResult>& lastResult() const { return Last; }

    void AgainBtnClick() override;
    void TerugBtnClick() override;
    void SaveBtnClick() override;

private:
    void DrawStatic();
    void DrawResult(const LegioResult& r);
    void Execute();

    TMCLegioRiskDialoog* Dialog = nullptr;
    TMCLegioRiskProgress* Progress;
    LegioParams Params;
    std::optional<LegioResult> Last;
    bool Running = false;
    bool Pending = false;
};

class TMCLegioRiskDialoog : public TMCWindow {
    Q_OBJECT
public:
    TMCLegioRiskDialoog(TMC* module, TMCLegioRiskPlot* plot);
    void Open();
    void OKBtnClick();
    void TerugBtnClick();
    // The timer's tick: the withdrawal limit anew when the rate or the term changed.
    void RefreshTick();
    LegioTexts texts() const;

    QLineEdit* RateEdit = nullptr;
    QComboBox* TermBox = nullptr;
    QLabel* WithdrawalLabel = nullptr;
    QLineEdit* WithdrawalEdit = nullptr;
    QLineEdit* SameEdit = nullptr;
    QLineEdit* FluctuationEdit = nullptr;
    QLineEdit* RunsEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;
    QTimer* Refresh = nullptr;

private:
    TMCLegioRiskPlot* Plot;
    MCSettingsForm<TMCLegioRiskDialoog, LegioTexts, LegioField> Form{this};
    QString LastRate;
    int LastTerm = -1;
};

} // namespace tarvik::montecarlo::ui
