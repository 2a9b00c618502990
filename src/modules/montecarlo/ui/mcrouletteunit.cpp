#include "modules/montecarlo/ui/mcrouletteunit.h"

#include "common/numformat.h"
#include "common/ui/dialogservice.h"
#include "common/ui/picturesave.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcreport.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace tarvik::montecarlo::ui {

namespace {

const QColor kSystemColour[kSystems] = {QColor(Qt::yellow), QColor(Qt::red), QColor(Qt::blue)};
constexpr int kRunW = 570, kRunH = 369;
constexpr int kDistW = 659, kDistH = 481;
// The whole realisation is drawn within about three seconds.
constexpr double kMaxDrawingMs = 3000;

QLineEdit* ReadOnly(QWidget* parent, int x, int y, int w) {
    auto* e = new QLineEdit(parent);
    e->setReadOnly(true);
    e->setGeometry(x, y, w, 22);
    return e;
}

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

} // namespace

// --- TMCRouletteData ------------------------------------------------------------------

TMCRouletteData::TMCRouletteData(TMC* module) : TMCWindow(module, QStringLiteral("Data")) {
    setObjectName(QStringLiteral("MCRouletteData"));
    helpContext = 64;
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(520, 190);
    const char* rows[3] = {"Number of rounds played", "Total staked chips", "Largest stake during game"};
    for (int r = 0; r < 3; ++r) PlaceLabel(this, QString::fromLatin1(rows[r]), 12, 44 + 32 * r);
    for (int s = 0; s < kSystems; ++s) {
        PlaceLabel(this, QString::fromUtf8(SystemName(s)), 200 + 105 * s, 16);
        const auto k = static_cast<std::size_t>(s);
        Rounds[k] = ReadOnly(this, 200 + 105 * s, 40, 95);
        Staked[k] = ReadOnly(this, 200 + 105 * s, 72, 95);
        Largest[k] = ReadOnly(this, 200 + 105 * s, 104, 95);
    }
    OKBtn = PlaceButton(this, QStringLiteral("OK"), "OKBtn", 222, 148);
    connect(OKBtn, &QPushButton::clicked, this, &QWidget::hide);
    SaveBtn = AddDataSaving(this, OKBtn, QStringLiteral("Realisations for the various strategies"),
                            QStringLiteral("Roulette1"), [this] { return ReportText; });
    onFrameClose = [this] { hide(); };
}

void TMCRouletteData::Fill(const RouletteRealisation& r) {
    const RouletteRunData d = RouletteRunTexts(r);
    ReportText = QString::fromStdString(RouletteRunReport(r));
    for (std::size_t s = 0; s < kSystems; ++s) {
        Rounds[s]->setText(Q(d.rounds[s]));
        Staked[s]->setText(Q(d.staked[s]));
        Largest[s]->setText(Q(d.largest[s]));
    }
}

// --- TMCRoulettePlot ------------------------------------------------------------------

TMCRoulettePlot::TMCRoulettePlot(TMC* module, TMCRouletteData* data)
    : TMCGraphWindow(module, QStringLiteral("Realisations for the various strategies"), kRunW, kRunH, true),
      Data(data) {
    setObjectName(QStringLiteral("MCRoulettePlot"));
    helpContext = 64;
    onFrameClose = [this] {
        FinishDrawing();
        TerugBtnClick();
    };
    Graph->setAccessibleDescription(
        QStringLiteral("Realisations for the various strategies: capital per round of each strategy"));
}

void TMCRoulettePlot::DrawStatic() {
    Canvas.reset(ButtonFace());
    Canvas.draw([desired = Desired](QPainter& p) {
        p.setFont(CanvasFont());
        LineAt(p, 53, 16, 53, 329, Qt::black, 3);
        LineAt(p, 46, 15, 554, 15, Qt::black, 3);
        LineAt(p, 46, 319, 554, 319, Qt::black, 3);
        LineAt(p, 46, 167, 54, 167, Qt::black, 3);
        LineAt(p, 294, 322, 294, 330, Qt::black, 3);
        LineAt(p, 554, 322, 554, 330, Qt::black, 3);
        p.setPen(Qt::black);
        TextAt(p, 24, 11, QString::number(desired));
        TextAt(p, 22, 163, QString::number(desired / 2));
        TextAt(p, 34, 313, QStringLiteral("0"));
        TextAt(p, 8, 32, QStringLiteral("Capital"));
        TextAt(p, 456, 328, QStringLiteral("Number of rounds"));
        const char* legend[kSystems] = {"Big Martingale strategy", "D'Alembert strategy", "Flat strategy"};
        const int lx[kSystems] = {14, 166, 302};
        for (int s = 0; s < kSystems; ++s) {
            LineAt(p, lx[s], 359, lx[s] + 20, 359, kSystemColour[s], 3);
            p.setPen(Qt::black);
            TextAt(p, lx[s] + 26, 352, QString::fromLatin1(legend[s]));
        }
    });
}

void TMCRoulettePlot::StartRun(int start, int desired) {
    Start = start;
    Desired = desired;
    module()->SeedRun();
    Run = std::make_unique<RouletteRealisation>(RunRouletteRealisation(start, desired));
    DrawStatic();
    const int L = std::max(1, Run->longest());
    Canvas.draw([L](QPainter& p) {
        p.setFont(CanvasFont());
        p.setPen(Qt::black);
        TextAt(p, 50, 329, QStringLiteral("0"));
        TextAt(p, 286, 329, QString::number(std::lround(L / 2.0)));
        TextAt(p, 545, 329, QString::number(L));
    });
    for (QPushButton* b : {AgainBtn, TerugBtn, DataBtn}) b->setEnabled(false);
    Graph->update();
    Pacing.start(Run->longest(), std::min(10.0, kMaxDrawingMs / L));
}

void TMCRoulettePlot::DrawUpTo(int round) {
    const int L = std::max(1, Run->longest());
    const auto x = [L](int i) { return static_cast<int>(static_cast<long long>(i) * 500 / L) + 54; };
    const auto y = [this](int v) { return 318 - static_cast<int>(std::lround(v * 304.0 / Desired)); };
    // The rounds drawn in this step, each line with its strategy.
    std::vector<std::pair<QLine, int>> lines;
    for (int i = Pacing.drawn() + 1; i <= round; ++i) {
        for (int s = 0; s < kSystems; ++s) {
            const auto& c = Run->systems[static_cast<std::size_t>(s)].capital;
            if (static_cast<int>(c.size()) <= i) continue; // did not play round i
            lines.emplace_back(QLine(x(i - 1), y(c[static_cast<std::size_t>(i - 1)]), x(i),
                                     y(c[static_cast<std::size_t>(i)])),
                               s);
        }
    }
    if (!lines.empty()) {
        Canvas.draw([lines = std::move(lines)](QPainter& p) {
            for (const auto& [l, s] : lines) LineAt(p, l.x1(), l.y1(), l.x2(), l.y2(), kSystemColour[s]);
        });
    }
    Graph->update();
}

void TMCRoulettePlot::FinishDrawing() {
    Pacing.finish();
}

void TMCRoulettePlot::EndRun() {
    QStringList ends;
    const char* names[kSystems] = {"Big Martingale", "D'Alembert", "Flat"};
    for (int s = 0; s < kSystems; ++s) {
        const auto& c = Run->systems[static_cast<std::size_t>(s)].capital;
        ends << QStringLiteral("%1 %2 after %3 rounds")
                    .arg(QString::fromLatin1(names[s]))
                    .arg(c.empty() ? 0 : c.back())
                    .arg(c.empty() ? 0 : static_cast<int>(c.size()) - 1);
    }
    Graph->setAccessibleDescription(
        QStringLiteral("Realisations for the various strategies: capital per round from %1 towards %2; end "
                       "capital %3")
            .arg(Start)
            .arg(Desired)
            .arg(ends.join(QStringLiteral(", "))));
    Graph->update();
    for (QPushButton* b : {AgainBtn, TerugBtn, DataBtn}) b->setEnabled(true);
}

void TMCRoulettePlot::AgainBtnClick() {
    if (!drawing()) StartRun(Start, Desired);
}

void TMCRoulettePlot::TerugBtnClick() {
    if (drawing()) return;
    hide();
    ShowAgain(Dialog, false);
}

void TMCRoulettePlot::DataBtnClick() {
    if (drawing() || !Run) return;
    Data->Fill(*Run);
    Data->move(pos() + QPoint(20, 20));
    Data->show();
    Data->raise();
}

void TMCRoulettePlot::SaveBtnClick() {
    Canvas.save(QStringLiteral("Roulette1.bmp"), true);
}

// --- TMCRouletteDialoog -----------------------------------------------------------------

TMCRouletteDialoog::TMCRouletteDialoog(TMC* module, TMCRoulettePlot* plot)
    : TMCWindow(module, QStringLiteral("Settings")), Plot(plot) {
    setObjectName(QStringLiteral("MCRouletteDialoog"));
    helpContext = 64;
    setFixedSize(320, 160);
    auto* g = new QGroupBox(QStringLiteral("Parameters"), this);
    g->setGeometry(8, 8, 304, 96);
    using D = TMCRouletteDialoog;
    using R = MCRow<D>;
    Form.add(g, {
                    R::Spin("Starting capital", "StartEdit", &D::StartEdit, kRouletteStart).at(190, 26, 90),
                    R::Spin("Desired capital in chips", "DesiredEdit", &D::DesiredEdit, kRouletteDesired)
                        .at(190, 58, 90),
                });
    PlaceSettingsButtons(this, 120, 276, 64);
}

void TMCRouletteDialoog::Open() {
    Form.restore();
    move(module()->SideBySide(width(), 0));
    show();
    raise();
    activateWindow();
}

void TMCRouletteDialoog::OKBtnClick() {
    if (Plot->drawing()) return;
    const int s = StartEdit->commit();
    const int t = DesiredEdit->commit();
    if (const std::string problem = CheckRouletteRun(s, t); !problem.empty()) {
        MsgDlg(Q(problem), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
        return;
    }
    hide();
    Plot->move(module()->SideBySide(Plot->width(), 0));
    Plot->show();
    Plot->raise();
    Plot->StartRun(s, t);
}

void TMCRouletteDialoog::TerugBtnClick() {
    hide();
    ShowAgain(Keuze, false);
}

// --- TMCRouletteProgress ----------------------------------------------------------------

TMCRouletteProgress::TMCRouletteProgress(TMC* module)
    : TMCWindow(module, QStringLiteral("Simulatievoortgang")) {
    setObjectName(QStringLiteral("MCRouletteProgress"));
    helpContext = 64;
    setFixedSize(300, 90);
    Bar = new QProgressBar(this);
    Bar->setRange(0, 100);
    Bar->setValue(0);
    Bar->setGeometry(12, 12, 276, 22);
    StopBtn = PlaceButton(this, QStringLiteral("&Stop"), "StopBtn", 112, 50);
    connect(StopBtn, &QPushButton::clicked, this, [this] { StopFlag = true; });
    onFrameClose = [this] { StopFlag = true; };
}

// --- TMCRouletteData2 -------------------------------------------------------------------

TMCRouletteData2::TMCRouletteData2(TMC* module) : TMCWindow(module, QStringLiteral("Data")) {
    setObjectName(QStringLiteral("MCRouletteData2"));
    helpContext = 64;
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(600, 520);
    auto* input = new QGroupBox(QStringLiteral("Input"), this);
    input->setGeometry(8, 8, 584, 110);
    PlaceLabel(input, QStringLiteral("Starting capital "), 12, 28);
    StartText = ReadOnly(input, 260, 24, 100);
    PlaceLabel(input, QStringLiteral("Maximum number of bets per round"), 12, 54);
    BetsText = ReadOnly(input, 260, 50, 100);
    PlaceLabel(input, QStringLiteral("Number of runs "), 12, 80);
    RunsText = ReadOnly(input, 260, 76, 100);

    auto* output = new QGroupBox(QStringLiteral("output"), this);
    output->setGeometry(8, 124, 584, 350);
    PlaceLabel(output, QStringLiteral("Estimate expected value of end capital with 95% confidence interval"),
               12, 22);
    for (int s = 0; s < kSystems; ++s) {
        PlaceLabel(output, QString::fromUtf8(SystemName(s)), 24, 48 + 26 * s);
        Estimate[static_cast<std::size_t>(s)] = ReadOnly(output, 150, 44 + 26 * s, 300);
    }
    auto* profit = new QGroupBox(QStringLiteral("Profit/Loss figures"), output);
    profit->setGeometry(8, 126, 568, 130);
    const char* rows[3] = {"Total number of staked chips", "Total number of lost chips",
                           "Fraction lost chips"};
    for (int r = 0; r < 3; ++r) PlaceLabel(profit, QString::fromLatin1(rows[r]), 12, 48 + 26 * r);
    for (int s = 0; s < kSystems; ++s) {
        const auto k = static_cast<std::size_t>(s);
        PlaceLabel(profit, QString::fromUtf8(SystemName(s)), 230 + 110 * s, 22);
        Staked[k] = ReadOnly(profit, 230 + 110 * s, 44, 100);
        Lost[k] = ReadOnly(profit, 230 + 110 * s, 70, 100);
        Fraction[k] = ReadOnly(profit, 230 + 110 * s, 96, 100);
    }
    auto* bets = new QGroupBox(QStringLiteral("Average number of bets per round"), output);
    bets->setGeometry(8, 262, 568, 80);
    for (int s = 0; s < kSystems; ++s) {
        PlaceLabel(bets, QString::fromUtf8(SystemName(s)), 12 + 185 * s, 22);
        Bets[static_cast<std::size_t>(s)] = ReadOnly(bets, 12 + 185 * s, 44, 100);
    }
    OKBtn = PlaceButton(this, QStringLiteral("OK"), "OKBtn", 262, 484);
    connect(OKBtn, &QPushButton::clicked, this, &QWidget::hide);
    SaveBtn = AddDataSaving(this, OKBtn, QStringLiteral("Realisations for the various strategies"),
                            QStringLiteral("Roulette2"), [this] { return ReportText; });
    onFrameClose = [this] { hide(); };
}

void TMCRouletteData2::Fill(const RouletteDistResult& r) {
    const RouletteDistData d = RouletteDistTexts(r);
    ReportText = QString::fromStdString(RouletteDistReport(r));
    StartText->setText(QString::number(r.params.start));
    BetsText->setText(QString::number(r.params.bets));
    RunsText->setText(QString::number(r.params.runs));
    for (std::size_t s = 0; s < kSystems; ++s) {
        Estimate[s]->setText(Q(d.estimate[s]));
        Staked[s]->setText(Q(d.staked[s]));
        Lost[s]->setText(Q(d.lost[s]));
        Fraction[s]->setText(Q(d.fractionLost[s]));
        Bets[s]->setText(Q(d.averageBets[s]));
    }
}

// --- TMCRoulettePlot2 -------------------------------------------------------------------

TMCRoulettePlot2::TMCRoulettePlot2(TMC* module, TMCRouletteData2* data)
    : TMCGraphWindow(module, QStringLiteral("Realisations for the various strategies"), kDistW, kDistH, true),
      Data(data) {
    setObjectName(QStringLiteral("MCRoulettePlot2"));
    helpContext = 64;
    Graph->setAccessibleDescription(QStringLiteral("Realisations for the various strategies: distribution of "
                                                   "the capital of each system after the bets"));
    DrawAxes();
}

void TMCRoulettePlot2::DrawAxes() {
    Canvas.reset(ButtonFace());
    Canvas.draw([](QPainter& p) {
        p.setFont(CanvasFont());
        const int axis[kSystems] = {137, 289, 441};
        const int topY[kSystems] = {8, 160, 312};
        const QColor grid(160, 160, 160);
        for (int y : {114, 92, 70, 48, 266, 244, 222, 200, 420, 400, 380, 360, 340, 320})
            LineAt(p, 36, y, 656, y, grid);
        for (int s = 0; s < kSystems; ++s) {
            LineAt(p, 34, topY[s], 34, axis[s], Qt::black, 2);
            LineAt(p, 34, axis[s], 654, axis[s], Qt::black, 2);
        }
        p.setPen(Qt::black);
        for (int t = 0; t <= 4; ++t) {
            TextAt(p, 2, 132 - 22 * t, QStringLiteral("10^-%1").arg(4 - t));
            TextAt(p, 2, 284 - 22 * t, QStringLiteral("10^-%1").arg(4 - t));
        }
        const char* flat[4] = {"0", "0.1", "0.2", "0.3"};
        for (int t = 0; t < 4; ++t) TextAt(p, 10, 435 - 40 * t, QString::fromLatin1(flat[t]));
        QFont title = p.font();
        title.setPointSize(14);
        title.setBold(true);
        p.setFont(title);
        TextAt(p, 40, 6, QStringLiteral("Big Martingale system"));
        TextAt(p, 40, 158, QStringLiteral("D'Alembert system"));
        TextAt(p, 40, 310, QStringLiteral("Flat system"));
    });
}

void TMCRoulettePlot2::DrawBars(const RouletteDistResult& r) {
    DrawAxes();
    Canvas.draw([r](QPainter& p) {
        p.setFont(CanvasFont());
        const int S = r.params.start;
        const int w = 600 / (3 * S);
        const int base[kSystems] = {136, 288, 440};
        const auto& flat = r.systems[2].frequencies;
        const bool wide = std::any_of(flat.begin(), flat.end(), [](double f) { return f > 0.3; });
        const int k = wide ? 200 : 400;
        if (wide) {
            const char* labels[4] = {"0", "0.2", "0.4", "0.6"};
            for (int t = 0; t < 4; ++t) {
                p.fillRect(QRect(2, 435 - 40 * t, 30, 16), ButtonFace());
                p.setPen(Qt::black);
                TextAt(p, 10, 435 - 40 * t, QString::fromLatin1(labels[t]));
            }
        }
        p.setPen(Qt::red);
        p.setBrush(Qt::red);
        for (int s = 0; s < kSystems; ++s) {
            const auto& freq = r.systems[static_cast<std::size_t>(s)].frequencies;
            for (int c = 0; c <= 3 * S && c < static_cast<int>(freq.size()); ++c) {
                const double f = freq[static_cast<std::size_t>(c)];
                int h = s < 2 ? LogBarHeight(f) : static_cast<int>(k * f);
                if (h <= 0) continue;
                const int x1 = 36 + w * c;
                const int x2 = 35 + w * (c + 1);
                p.drawRect(QRect(QPoint(x1, base[s] - h), QPoint(x2, base[s])));
            }
        }
        p.setBrush(Qt::NoBrush);
        for (int s = 0; s < kSystems; ++s) {
            for (int c : {0, S, 2 * S, 3 * S}) {
                const int centre = 36 + w * c + w / 2;
                LineAt(p, centre, base[s] + 1, centre, base[s] + 7, Qt::black);
                p.setPen(Qt::black);
                TextCentredAt(p, centre, base[s] + 8, QString::number(c));
            }
        }
    });
    const RouletteDistData texts = RouletteDistTexts(r);
    Graph->setAccessibleDescription(
        QStringLiteral(
            "Realisations for the various strategies: distribution of the capital after %1 bets from %2 "
            "in %3 runs; Big Martingale system %4; D'Alembert system %5; Flat system %6")
            .arg(r.params.bets)
            .arg(r.params.start)
            .arg(r.completed)
            .arg(QString::fromStdString(texts.estimate[0]), QString::fromStdString(texts.estimate[1]),
                 QString::fromStdString(texts.estimate[2])));
}

void TMCRoulettePlot2::AgainBtnClick() {
    if (Dialog) Dialog->RunAgain();
}

void TMCRoulettePlot2::TerugBtnClick() {
    hide();
    ShowAgain(Dialog, false);
}

void TMCRoulettePlot2::DataBtnClick() {
    if (!Dialog || !Dialog->lastResult()) return;
    Data->Fill(*Dialog->lastResult());
    Data->move(pos() + QPoint(20, 20));
    Data->show();
    Data->raise();
}

void TMCRoulettePlot2::SaveBtnClick() {
    Canvas.save(QStringLiteral("Roulette2.bmp"), true);
}

// --- TMCRouletteDialoog2 ----------------------------------------------------------------

TMCRouletteDialoog2::TMCRouletteDialoog2(TMC* module, TMCRoulettePlot2* plot, TMCRouletteProgress* progress)
    : TMCWindow(module, QStringLiteral("Settings")), Plot(plot), ProgressWin(progress) {
    setObjectName(QStringLiteral("MCRouletteDialoog2"));
    helpContext = 64;
    setFixedSize(320, 190);
    auto* g = new QGroupBox(QStringLiteral("Parameters"), this);
    g->setGeometry(8, 8, 304, 126);
    using D = TMCRouletteDialoog2;
    using R = MCRow<D>;
    Form.add(g,
             {
                 R::Spin("Starting capital ", "StartEdit", &D::StartEdit, kRouletteDistStart).at(190, 26, 90),
                 R::Spin("Number of bets", "BetsEdit", &D::BetsEdit, kRouletteBets).at(190, 58, 90),
                 R::Spin("Number of runs ", "RunsEdit", &D::RunsEdit, kRouletteRuns).at(190, 90, 90),
             });
    PlaceSettingsButtons(this, 150, 276, 64);
}

void TMCRouletteDialoog2::Open() {
    move(module()->SideBySide(width(), 0));
    show();
    raise();
    activateWindow();
}

void TMCRouletteDialoog2::Stop() {
    ProgressWin->StopFlag = true;
}

void TMCRouletteDialoog2::OKBtnClick() {
    if (running()) return;
    Params = {.start = StartEdit->commit(), .bets = BetsEdit->commit(), .runs = RunsEdit->commit()};
    hide();
    RunAgain();
}

void TMCRouletteDialoog2::RunAgain() {
    if (running()) return;
    Plot->hide();
    Pending = true;
    QTimer::singleShot(0, this, [this] { Execute(); });
}

void TMCRouletteDialoog2::TerugBtnClick() {
    hide();
    ShowAgain(Keuze, false);
}

void TMCRouletteDialoog2::Execute() {
    Pending = false;
    if (Running || module()->ModuleClosing()) return;
    const QPointer<TMCRouletteDialoog2> self(this);
    Running = true;
    ProgressWin->StopFlag = false;
    Plot->DrawAxes();
    ProgressWin->Bar->setValue(0);
    ProgressWin->move(module()->SideBySide(ProgressWin->width(), 0, 200));
    ProgressWin->show();
    ProgressWin->raise();
    module()->SeedRun();
    MCRunProgress progress(module(), &ProgressWin->StopFlag);
    auto result = std::make_unique<RouletteDistResult>(RunRouletteDistributions(
        Params, progress, [this](int percent) { ProgressWin->Bar->setValue(percent); }));
    if (!self || module()->ModuleClosing()) return;
    Running = false;
    Last = std::move(result);
    ProgressWin->hide();
    ProgressWin->Bar->setValue(0);
    Plot->DrawBars(*Last);
    Plot->move(module()->SideBySide(Plot->width(), 0));
    Plot->show();
    Plot->raise();
    Plot->Graph->update();
}

// --- TMCRouletteKeuze -------------------------------------------------------------------

TMCRouletteKeuze::TMCRouletteKeuze(TMC* module, TMCRouletteDialoog* single, TMCRouletteDialoog2* dist)
    : TMCWindow(module, QStringLiteral("Choice")), Single(single), Dist(dist) {
    setObjectName(QStringLiteral("MCRouletteKeuze"));
    helpContext = 64;
    setFixedSize(280, 140);
    SingleBtn = new QRadioButton(QStringLiteral("Single run for simulation"), this);
    SingleBtn->setObjectName(QStringLiteral("SingleBtn"));
    SingleBtn->setGeometry(16, 16, 250, 22);
    SingleBtn->setChecked(true);
    DistBtn = new QRadioButton(QStringLiteral("Probability distributions"), this);
    DistBtn->setObjectName(QStringLiteral("DistBtn"));
    DistBtn->setGeometry(16, 46, 250, 22);
    PlaceSettingsButtons(this, 96, 236, 64, "&Ok");
}

void TMCRouletteKeuze::Open() {
    SingleBtn->setChecked(true);
    move(module()->SideBySide(width(), 0));
    show();
    raise();
    activateWindow();
}

void TMCRouletteKeuze::OKBtnClick() {
    hide();
    if (SingleBtn->isChecked())
        Single->Open();
    else
        Dist->Open();
}

void TMCRouletteKeuze::TerugBtnClick() {
    hide();
    module()->ShowChooser();
}

std::unique_ptr<TMCExperiment> CreateRouletteExperiment(TMC* module) {
    auto e = std::make_unique<TMCExperimentWindows>();
    auto* data = new TMCRouletteData(module);
    auto* plot = new TMCRoulettePlot(module, data);
    auto* single = new TMCRouletteDialoog(module, plot);
    plot->setDialog(single);
    auto* data2 = new TMCRouletteData2(module);
    auto* plot2 = new TMCRoulettePlot2(module, data2);
    auto* progress = new TMCRouletteProgress(module);
    auto* dist = new TMCRouletteDialoog2(module, plot2, progress);
    plot2->setDialog(dist);
    auto* keuze = new TMCRouletteKeuze(module, single, dist);
    single->setChooser(keuze);
    dist->setChooser(keuze);
    QPointer<TMCRouletteKeuze> k(keuze);
    QPointer<TMCRoulettePlot> g(plot);
    QPointer<TMCRouletteDialoog2> d(dist);
    e->open = [k] {
        if (k) k->Open();
    };
    e->stop = [g, d] {
        if (g) g->FinishDrawing();
        if (d) d->Stop();
    };
    e->running = [g, d] { return (g && g->drawing()) || (d && d->running()); };
    e->windows = {keuze, single, plot, data, dist, progress, plot2, data2};
    return e;
}

} // namespace tarvik::montecarlo::ui
