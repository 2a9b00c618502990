#pragma once
// Kelly betting: the parameter window TMCKellyBDialoog, the capital graph
// TMCKellyBPlot and the report TMCKellyBData.
#include "modules/montecarlo/kelly.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QElapsedTimer>
#include <QImage>
#include <array>
#include <memory>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTextEdit;
class QTimer;

namespace tarvik::montecarlo::ui {

class TMCKellyBDialoog;

class TMCKellyBData : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCKellyBData(TMC* module);
    void Fill(const std::vector<ReportLine>& lines);
    QTextEdit* Report = nullptr;
    QPushButton* OKBtn = nullptr;
};

class TMCKellyBPlot : public TMCWindow {
    Q_OBJECT
public:
    TMCKellyBPlot(TMC* module, TMCKellyBData* data);
    void setDialog(TMCKellyBDialoog* d) { Dialog = d; }

    // Runs the races with these values and draws them race by race.
    void StartRun(const KellyInput& input);
    // Draws what is left at once (the end of the pacing).
    void FinishDrawing();
    bool drawing() const { return Pacing.drawing(); }
    const KellyRun* lastRun() const { return Run.get(); }
    const QImage& picture() const { return Picture; }

    void TerugBtnClick();
    void AgainBtnClick();
    void DataBtnClick();
    void SaveBtnClick();

    TMCPictureBox* Graph = nullptr;
    QPushButton* TerugBtn = nullptr;
    QPushButton* AgainBtn = nullptr;
    QPushButton* DataBtn = nullptr;
    QToolButton* SaveBtn = nullptr;

private:
    void DrawStatic();
    void DrawUpTo(int race);
    void EndRun();
    int X(int race) const;
    int Y(double capital) const;

    TMCKellyBDialoog* Dialog = nullptr;
    TMCKellyBData* Data;
    QImage Picture;
    MCCanvas Canvas{Picture};
    std::unique_ptr<KellyRun> Run;
    KellyInput Accepted;
    double Top = 10;
    MCPacing Pacing{this, [this](int race) { DrawUpTo(race); }, [this] { EndRun(); }};
};

class TMCKellyBDialoog : public TMCWindow {
    Q_OBJECT
public:
    TMCKellyBDialoog(TMC* module, TMCKellyBPlot* plot);
    void Open();
    void HorsesChange();
    void OKBtnClick();
    void TerugBtnClick();
    KellyTexts texts() const;

    TMCSpinEdit* HorsesEdit = nullptr;
    TMCSpinEdit* RacesEdit = nullptr;
    std::array<QLineEdit*, kMaxHorses> ProbEdit{}, PayEdit{}, FracEdit{};
    std::array<QLabel*, kMaxHorses> ProbLabel{}, PayLabel{}, FracLabel{};
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

private:
    TMCKellyBPlot* Plot;
    MCSettingsForm<TMCKellyBDialoog> Form{this};
};

} // namespace tarvik::montecarlo::ui
