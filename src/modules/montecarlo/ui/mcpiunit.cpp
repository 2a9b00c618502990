#include "modules/montecarlo/ui/mcpiunit.h"

#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcunit.h"

#include "common/ui/picturesave.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace tarvik::montecarlo::ui {

// --- TMCPiPlot ----------------------------------------------------------------------

TMCPiPlot::TMCPiPlot(TMC* module)
    : TMCWindow(module, QStringLiteral("Pi via dart game board"), true),
      Picture(kBoard, kBoard, QImage::Format_RGB32) {
    setObjectName(QStringLiteral("MCPiPlot"));
    helpContext = 62;
    setFixedSize(kBoard, kBoard);
    Board = new TMCPictureBox(&Picture, this);
    Board->setGeometry(0, 0, kBoard, kBoard);
    Board->setAccessibleDescription(
        QStringLiteral("Pi via dart game board: darts thrown at a square with a quarter circle"));
    Clear();
}

void TMCPiPlot::Clear() {
    Picture.fill(Qt::red);
    QPainter p(&Picture);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(Qt::black);
    p.setBrush(QColor(0, 255, 255));
    p.drawEllipse(QRect(0, -8, 350, 350));
    p.end();
    Board->update();
}

void TMCPiPlot::DrawDart(double x, double y) {
    const int cx = static_cast<int>(std::lround(kBoard * x));
    const int cy = static_cast<int>(std::lround(kBoard * y));
    const QRgb black = qRgb(0, 0, 0);
    for (int dy = -1; dy <= 1; ++dy) {
        const int py = cy + dy;
        if (py < 0 || py >= kBoard) continue;
        auto* line = reinterpret_cast<QRgb*>(Picture.scanLine(py));
        for (int dx = -1; dx <= 1; ++dx) {
            const int px = cx + dx;
            if (px < 0 || px >= kBoard || (dx == 0 && dy == 0)) continue;
            line[px] = black;
        }
    }
}

// --- TMCPi ------------------------------------------------------------------------------

TMCPi::TMCPi(TMC* module, TMCPiPlot* plot)
    : TMCSimulateWindow(module, QStringLiteral("Graphical estimate pi"), plot), Plot(plot) {
    setObjectName(QStringLiteral("MCPi"));
    helpContext = 62;
    setFixedSize(350, 300);
    using D = TMCPi;
    using R = MCRow<D>;
    Form.add(this, {
                       R::Spin("Number of draws", "DrawsEdit", &D::DrawsEdit, kPiDraws).at(180, 16, 100, 16),
                   });
    FastBox = new QCheckBox(QStringLiteral("Fast simulation"), this);
    FastBox->setObjectName(QStringLiteral("FastBox"));
    FastBox->setGeometry(16, 50, 200, 22);
    FastBox->setChecked(true);
    Form.add(
        this,
        {
            R::Output("Current draws", "CurrentEdit", &D::CurrentEdit).at(180, 90, 150, 16),
            R::Output("Estimation Pi", "EstimateEdit", &D::EstimateEdit).at(180, 122, 150, 16),
            R::Output("95 % Confidence interval", "IntervalEdit", &D::IntervalEdit).at(180, 154, 150, 16),
            R::Output("Actual Pi", "ActualEdit", &D::ActualEdit).at(180, 186, 150, 16),
        });
    ActualEdit->setText(QString::fromStdString(PiResult::actualPiText()));
    PlaceRunButtons(250);
    SaveBtn = SaveGraphButton(this);
    SaveBtn->setGeometry(264, 250, 30, 25);
    QToolButton* help = ExplanationButton(this, 62);
    help->setGeometry(300, 250, 30, 25);
    connect(SaveBtn, &QToolButton::clicked, this,
            [this] { tarvik::ui::SaveGraphBitmap(Plot->picture(), QStringLiteral("Pi.bmp")); });
    // The frame hides both windows (and stops a run) without the chooser.
    onFrameClose = [this] {
        StopFlag = true;
        hide();
        Plot->hide();
    };
}

void TMCPi::Open() {
    Form.restore();
    FastBox->setChecked(true);
    for (QLineEdit* e : {CurrentEdit, EstimateEdit, IntervalEdit}) e->clear();
    Plot->Clear();
    OpenBeside(Plot, true);
}

void TMCPi::ShowState() {
    CurrentEdit->setText(QString::fromStdString(Last.drawsText()));
    EstimateEdit->setText(QString::fromStdString(Last.estimateText()));
    IntervalEdit->setText(QString::fromStdString(Last.intervalText()));
    Plot->Board->repaint();
}

void TMCPi::Execute() {
    if (!BeginRun()) return;
    const QPointer<TMCPi> self(this);
    DrawsEdit->setEnabled(false);
    FastBox->setEnabled(false);
    SaveBtn->setEnabled(false);
    Plot->Clear();
    for (QLineEdit* e : {CurrentEdit, EstimateEdit, IntervalEdit}) e->clear();
    const PiParams params{.draws = DrawsEdit->value(), .fast = FastBox->isChecked()};
    module()->SeedRun();
    const int stream = ChooseStream();
    Last = PiResult{.stream = stream};

    // Slow mode hands over after every dart; fast mode after every 100th,
    // at most about every 10 ms.
    MCRunProgress progress(module(), &StopFlag, [this] { ShowState(); });
    struct Pacer : Progress {
        MCRunProgress& inner;
        bool slow;
        Pacer(MCRunProgress& p, bool s) : inner(p), slow(s) {}
        void yield() override { slow ? inner.handOver() : inner.yield(); }
        bool stopRequested() const override { return inner.stopRequested(); }
    } pacer(progress, !params.fast);
    RunPi(params, stream, pacer, [this, stream](const PiStep& step) {
        Plot->DrawDart(step.x, step.y);
        Last = PiStateAfter(step, stream);
    });
    if (!self || module()->ModuleClosing()) return;
    ShowState();
    Plot->Board->setAccessibleDescription(
        QStringLiteral("Pi via dart game board: darts thrown at a square with a quarter circle; %1 draws, "
                       "estimation Pi %2, 95 % confidence interval %3, actual Pi %4")
            .arg(QString::fromStdString(Last.drawsText()), QString::fromStdString(Last.estimateText()),
                 QString::fromStdString(Last.intervalText()),
                 QString::fromStdString(PiResult::actualPiText())));
    EndRun();
    DrawsEdit->setEnabled(true);
    FastBox->setEnabled(true);
    SaveBtn->setEnabled(true);
}

std::unique_ptr<TMCExperiment> CreatePiExperiment(TMC* module) {
    auto* plot = new TMCPiPlot(module);
    auto* dlg = new TMCPi(module, plot);
    return ExperimentOf(dlg, dlg, {dlg, plot});
}

} // namespace tarvik::montecarlo::ui
