#pragma once
// The newsboy problem: the settings TMCNewsboyDialoog, the profit histogram
// TMCNewsboyPlot and the report TMCNewsBoyData.
#include "modules/montecarlo/newsboy.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QImage>
#include <optional>

class QLineEdit;
class QRadioButton;
class QTableWidget;
class QTextEdit;

namespace tarvik::montecarlo::ui {

class TMCNewsboyDialoog;

class TMCNewsBoyData : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCNewsBoyData(TMC* module);
    QTextEdit* Report = nullptr;
    QPushButton* OKBtn = nullptr;
};

class TMCNewsboyPlot : public TMCGraphWindow {
    Q_OBJECT
public:
    TMCNewsboyPlot(TMC* module, TMCNewsBoyData* data);
    void setDialog(TMCNewsboyDialoog* d) { Dialog = d; }
    // Computes the runs and draws the histogram at once.
    void Run(const NewsboyParams& params);
    const std::optional<NewsboyResult>& lastResult() const { return Last; }

    void AgainBtnClick() override;
    void TerugBtnClick() override;
    void DataBtnClick() override;
    void SaveBtnClick() override;

private:
    void DrawStatic();
    void DrawResult(const NewsboyResult& r);

    TMCNewsboyDialoog* Dialog = nullptr;
    TMCNewsBoyData* Data;
    NewsboyParams Params;
    std::optional<NewsboyResult> Last;
};

class TMCNewsboyDialoog : public TMCWindow {
    Q_OBJECT
public:
    TMCNewsboyDialoog(TMC* module, TMCNewsboyPlot* plot);
    void Open();
    void OKBtnClick();
    void TerugBtnClick();
    // Enables the fields of the chosen distribution.
    void DistributionChange();
    NewsboyTexts texts() const;
    QWidget* field(NewsboyField f) const;

    QLineEdit *Q1Edit = nullptr, *Q2Edit = nullptr;
    QLineEdit *PriceEdit = nullptr, *SalvageEdit = nullptr, *PenaltyEdit = nullptr;
    TMCSpinEdit* BinsEdit = nullptr;
    QLineEdit* RunsEdit = nullptr;
    QRadioButton *UniformBtn = nullptr, *TriangularBtn = nullptr, *OwnBtn = nullptr;
    QLineEdit *UniformAEdit = nullptr, *UniformBEdit = nullptr;
    QLineEdit *TriangularAEdit = nullptr, *TriangularBEdit = nullptr, *TriangularMEdit = nullptr;
    QTableWidget* OwnGrid = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

private:
    TMCNewsboyPlot* Plot;
    MCSettingsForm<TMCNewsboyDialoog, NewsboyTexts, NewsboyField> Form{this};
};

} // namespace tarvik::montecarlo::ui
