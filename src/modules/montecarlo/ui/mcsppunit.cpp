#include "modules/montecarlo/ui/mcsppunit.h"

#include "common/ui/picturetext.h"

#include "common/numformat.h"
#include "common/ui/picturesave.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace tarvik::montecarlo::ui {

// --- TMCSPPPlot ---------------------------------------------------------------------

TMCSPPPlot::TMCSPPPlot(TMC* module)
    : TMCWindow(module, QStringLiteral("St Petersburg Paradox")), Picture(NewPicture(409, 321)) {
    setObjectName(QStringLiteral("MCSPPPlot"));
    helpContext = 63;
    setFixedSize(409, 360);
    Graph = new TMCPictureBox(&Picture, this);
    Graph->setGeometry(0, 0, 409, 321);
    SaveBtn = SaveGraphButton(this);
    SaveBtn->setGeometry(8, 326, 30, 28);
    connect(SaveBtn, &QToolButton::clicked, this, &TMCSPPPlot::SaveBtnClick);
    onFrameClose = [this] {
        if (Dialog) Dialog->GraphClosed();
    };
    Graph->setAccessibleDescription(QStringLiteral("St Petersburg Paradox: average pay-out per run"));
    DrawEmpty();
}

void TMCSPPPlot::DrawEmpty(int runs, int m) {
    Canvas.reset(ButtonFace());
    OffScale.clear();
    Canvas.draw([runs, m](QPainter& p) {
        p.setFont(CanvasFont());
        LineAt(p, 49, 25, 49, 300, Qt::black, 2);
        LineAt(p, 50, 300, 375, 300, Qt::black, 2);
        LineAt(p, 375, 295, 375, 305, Qt::black);
        for (int y = 55; y <= 265; y += 35) LineAt(p, 45, y, 55, y, Qt::black);
        p.setPen(Qt::black);
        for (int k = 0; k <= 7; ++k) TextAt(p, 24, 294 - 35 * k, QString::number(5 * k));
        QFont big = p.font();
        const QFont normal = big;
        big.setPointSize(14);
        p.setFont(big);
        TextAt(p, 20, 17, QStringLiteral("$"));
        p.setFont(normal);
        LineAt(p, 138, 312, 178, 312, Qt::blue);
        p.setPen(Qt::black);
        TextAt(p, 186, 306, QStringLiteral("Average pay-out"));
        if (runs > 0) TextAt(p, 336, 305, QString::number(runs) + QStringLiteral(" Runs"));
        if (m > 0) {
            const int y = 300 - 7 * m;
            LineAt(p, 50, y, 375, y, Qt::red, 1, Qt::DashLine);
        }
    });
    Graph->update();
}

void TMCSPPPlot::DrawColumn(const SppColumn& c) {
    bool label = SppY(c.previousAverage) > 25 && SppY(c.average) == 25;
    if (label) {
        const QRect box = tarvik::ui::TextBox(QFontMetrics(CanvasFont()), c.column + 39, 10,
                                              QString::fromStdString(FormatGeneral(c.average, 4)));
        for (const QRect& shown : OffScale) label = label && !box.intersects(shown);
        if (label) OffScale.push_back(box);
    }
    Canvas.draw([c, label](QPainter& p) {
        p.setFont(CanvasFont());
        const int y1 = SppY(c.previousAverage);
        const int y2 = SppY(c.average);
        const QColor pen = y1 == 25 && y2 == 25 ? QColor(Qt::red) : QColor(Qt::blue);
        if (label) {
            // The curve leaves the visible range: its value above the column.
            const QString text = QString::fromStdString(FormatGeneral(c.average, 4));
            const QFontMetrics fm(p.font());
            p.fillRect(QRect(c.column + 39, 10, fm.horizontalAdvance(text), fm.height()),
                       QColor(192, 192, 192));
            p.setPen(Qt::black);
            TextAt(p, c.column + 39, 10, text);
        }
        if (c.column > 1) LineAt(p, c.column + 49, y1, c.column + 50, y2, pen);
    });
}

void TMCSPPPlot::SaveBtnClick() {
    Canvas.save(QStringLiteral("StPetersburgParadox.bmp"));
}

// --- TMCSPPDialoog ---------------------------------------------------------------

TMCSPPDialoog::TMCSPPDialoog(TMC* module, TMCSPPPlot* plot)
    : TMCSimulateWindow(module, QStringLiteral("St Petersburg Paradox"), plot), Plot(plot) {
    setObjectName(QStringLiteral("MCSPPDialoog"));
    helpContext = 63;
    setFixedSize(360, 340);
    QLabel* casino = PlaceLabel(this, QStringLiteral("Casino has a limited capital 2"), 16, 14);
    QLabel* power = PlaceLabel(this, QStringLiteral("m"), casino->x() + casino->width() + 1, 8);
    QFont small = power->font();
    small.setPointSizeF(small.pointSizeF() * 0.75);
    power->setFont(small);
    power->adjustSize();

    auto* group = new QGroupBox(QStringLiteral("Simulation parameters"), this);
    group->setGeometry(8, 40, 344, 130);
    using D = TMCSPPDialoog;
    using R = MCRow<D>;
    Form.add(group, {
                        R::Spin("m:", "MEdit", &D::MEdit, kSppM).at(150, 26, 90).withUnit("(<= 25)", 250),
                        R::Spin("Number of runs ", "RunsEdit", &D::RunsEdit, kSppRuns)
                            .at(150, 60, 90)
                            .withUnit("(<= 1E5)", 250),
                    });
    LineBox = new QCheckBox(QStringLiteral("Show line"), group);
    LineBox->setObjectName(QStringLiteral("LineBox"));
    LineBox->setGeometry(12, 96, 150, 22);

    auto* result = new QGroupBox(QStringLiteral("Simulation result"), this);
    result->setGeometry(8, 178, 344, 100);
    Form.add(result, {
                         R::Output("Average pay-out", "AverageEdit", &D::AverageEdit).at(150, 26, 180),
                         R::Output("95% BTI", "IntervalEdit", &D::IntervalEdit).at(150, 60, 180),
                     });

    PlaceRunButtons(294);
    QToolButton* help = ExplanationButton(this, 63);
    help->setGeometry(312, 294, 30, 25);
    // The frame stops a run and hides both windows; the chooser stays hidden.
    onFrameClose = [this] {
        StopFlag = true;
        hide();
        Plot->hide();
        ShowIdle();
    };
}

void TMCSPPDialoog::Open() {
    Form.restore();
    LineBox->setChecked(false);
    AverageEdit->clear();
    IntervalEdit->clear();
    Plot->DrawEmpty();
    OpenBeside(Plot, true);
}

void TMCSPPDialoog::TerugBtnClick() {
    // "Stop": the current game is finished first; the button reads "Previous" at once.
    if (running()) TerugBtn->setText(QStringLiteral("Previous"));
    TMCSimulateWindow::TerugBtnClick();
}

void TMCSPPDialoog::GraphClosed() {
    if (running()) {
        StopFlag = true;
        BackAfterRun = true;
        return;
    }
    TerugBtnClick();
}

void TMCSPPDialoog::Execute() {
    if (!BeginRun()) return;
    const QPointer<TMCSPPDialoog> self(this);
    BackAfterRun = false;
    const SppParams params{.m = MEdit->value(), .runs = RunsEdit->value()};
    Plot->DrawEmpty(params.runs, LineBox->isChecked() ? params.m : 0);
    AverageEdit->clear();
    IntervalEdit->clear();
    module()->SeedRun();
    MCRunProgress progress(module(), &StopFlag, [this] { Plot->Graph->repaint(); });
    Last = RunStPetersburg(params, ChooseStream(), progress,
                           [this](const SppColumn& c) { Plot->DrawColumn(c); });
    if (!self || module()->ModuleClosing()) return;
    Running = false;
    AverageEdit->setText(QString::fromStdString(Last.averageText()));
    IntervalEdit->setText(QString::fromStdString(Last.intervalText()));
    Plot->Graph->setAccessibleDescription(
        QStringLiteral(
            "St Petersburg Paradox: average pay-out over %1 runs (m = %2); average %3, interval %4")
            .arg(static_cast<qlonglong>(Last.payouts.size()))
            .arg(params.m)
            .arg(QString::fromStdString(Last.averageText()), QString::fromStdString(Last.intervalText())));
    Plot->Graph->update();
    ShowIdle();
    if (BackAfterRun) TerugBtnClick();
}

std::unique_ptr<TMCExperiment> CreateStPetersburgExperiment(TMC* module) {
    auto* plot = new TMCSPPPlot(module);
    auto* dlg = new TMCSPPDialoog(module, plot);
    plot->setDialog(dlg);
    return ExperimentOf(dlg, dlg, {dlg, plot});
}

} // namespace tarvik::montecarlo::ui
