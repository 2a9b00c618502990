#pragma once
// The scratch lottery: the settings TMCKrasOpties, the bar graph TMCKrasPlot
// and the table TMCKrasTabel.
#include "modules/montecarlo/scratch.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcsettingsform.h"
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QImage>
#include <array>

class QLabel;

namespace tarvik::montecarlo::ui {

class TMCKrasOpties;

class TMCKrasTabel : public TMCWindow {
    Q_OBJECT
public:
    explicit TMCKrasTabel(TMC* module);
    void setGraph(QWidget* g) { GraphWindow = g; }
    // Draws the table of a completed run.
    void Draw(const ScratchResult& r, double z);
    const QImage& picture() const { return Picture; }
    void TerugBtnClick();
    void SaveBtnClick();

    TMCPictureBox* Graph = nullptr;
    QPushButton* TerugBtn = nullptr;
    QToolButton* SaveBtn = nullptr;
    // "Save as PDF…" and "Save as text…" of the table's figures.
    QPushButton* ReportBtn = nullptr;

private:
    QWidget* GraphWindow = nullptr;
    QString ReportText;
    QImage Picture;
    MCCanvas Canvas{Picture};
};

class TMCKrasPlot : public TMCWindow {
    Q_OBJECT
public:
    TMCKrasPlot(TMC* module, TMCKrasTabel* table);
    void setDialog(TMCKrasOpties* d) { Dialog = d; }
    // Starts a run of W weeks of N tickets from the event loop.
    void Run(int tickets, int weeks);
    bool running() const { return Running || Pending; }
    void Stop() {
        StopFlag = true;
        Pending = false;
    }
    const QImage& picture() const { return Picture; }
    const ScratchResult& lastResult() const { return Last; }
    double scaleFactor() const { return Z; }

    void TerugBtnClick();
    void TabelBtnClick();
    void SaveBtnClick();

    TMCPictureBox* Graph = nullptr;
    QPushButton* TerugBtn = nullptr;
    QPushButton* TabelBtn = nullptr;
    QToolButton* SaveBtn = nullptr;
    std::array<QLabel*, kScratchClasses> CountLabel{};

private:
    void Execute();
    void DrawStatic();
    void DrawBar(int c, long long count);
    void ShowCounts();
    int S(double v) const;

    TMCKrasOpties* Dialog = nullptr;
    TMCKrasTabel* Table;
    QImage Picture;
    MCCanvas Canvas{Picture};
    double Z = 1;
    int Tickets = 0, Weeks = 0;
    ScratchResult Last;
    std::array<int, kScratchClasses> LastTop{};
    bool StopFlag = false;
    bool Running = false;
    bool Pending = false;
};

class TMCKrasOpties : public TMCWindow {
    Q_OBJECT
public:
    TMCKrasOpties(TMC* module, TMCKrasPlot* plot, TMCKrasTabel* table);
    void Open();
    void OKBtnClick();
    void TerugBtnClick();

    TMCSpinEdit* TicketsEdit = nullptr;
    TMCSpinEdit* WeeksEdit = nullptr;
    QPushButton* OKBtn = nullptr;
    QPushButton* TerugBtn = nullptr;

private:
    TMCKrasPlot* Plot;
    TMCKrasTabel* Table;
    MCSettingsForm<TMCKrasOpties> Form{this};
};

} // namespace tarvik::montecarlo::ui
