#include "modules/montecarlo/ui/mclegiounit.h"

#include "common/numformat.h"
#include "common/ui/picturesave.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcreport.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <cmath>

namespace tarvik::montecarlo::ui {

namespace {
constexpr int kPictureW = 561;
constexpr int kPictureH = 361;
const QColor kAqua(0, 255, 255);

int R(double v) {
    return static_cast<int>(std::lround(v));
}
} // namespace

// --- TMCLegioRiskProgress -----------------------------------------------------------

TMCLegioRiskProgress::TMCLegioRiskProgress(TMC* module)
    : TMCWindow(module, QStringLiteral("Simulation progress")) {
    setObjectName(QStringLiteral("MCLegioRiskProgress"));
    helpContext = 70;
    setFixedSize(320, 90);
    Bar = new QProgressBar(this);
    Bar->setObjectName(QStringLiteral("Bar"));
    Bar->setGeometry(12, 12, 296, 22);
    StopBtn = PlaceButton(this, QStringLiteral("Stop"), "StopBtn", 122, 50);
    connect(StopBtn, &QPushButton::clicked, this, [this] { StopFlag = true; });
    onFrameClose = [this] { StopFlag = true; };
}

// --- TMCLegioRiskPlot --------------------------------------------------------------

TMCLegioRiskPlot::TMCLegioRiskPlot(TMC* module, TMCLegioRiskProgress* progress)
    : TMCGraphWindow(module, QStringLiteral("Legio risk"), kPictureW, kPictureH, false), Progress(progress) {
    setObjectName(QStringLiteral("MCLegioRiskPlot"));
    helpContext = 70;
    Graph->setAccessibleDescription(QStringLiteral("Legio risk: distribution of the capital after the term"));
    DrawStatic();
}

void TMCLegioRiskPlot::DrawStatic() {
    Canvas.reset(ButtonFace());
    Canvas.draw([](QPainter& p) {
        p.setFont(CanvasFont());
        LineAt(p, 30, 30, 30, 250, Qt::black, 2);
        LineAt(p, 30, 250, 550, 250, Qt::black, 2);
        p.setPen(Qt::black);
        p.setBrush(kAqua);
        p.drawRect(QRect(QPoint(300, 278), QPoint(310, 288)));
        p.setBrush(Qt::red);
        p.drawRect(QRect(QPoint(300, 292), QPoint(310, 302)));
        for (int c = 0; c <= 12; ++c) {
            const int x = R(c * 500.0 / 12) + 40;
            LineAt(p, x, 250, x, 255, Qt::black, 2);
        }
        p.setPen(Qt::black);
        TextAt(p, 56, 255, QStringLiteral("0"));
        TextAt(p, 93, 255, QStringLiteral("0-10"));
        for (int c = 1; c <= 8; ++c)
            TextAt(p, R((c + 1) * 500.0 / 12) + 47, 255,
                   QStringLiteral("%1-%2").arg(10 * c).arg(10 * c + 10));
        TextAt(p, 461, 255, QStringLiteral("90-100"));
        TextAt(p, 505, 255, QStringLiteral(">100"));
        QFont bold = p.font();
        bold.setBold(true);
        p.setFont(bold);
        TextAt(p, 475, 275, QStringLiteral("x1000"));
        p.setFont(CanvasFont());
        TextAt(p, 300, 326, QStringLiteral("Chance of running out of capital:"));
        TextAt(p, 300, 340, QStringLiteral("Capital lasts on average:"));
        TextAt(p, 20, 278, QStringLiteral("Rate of return"));
        TextAt(p, 20, 292, QStringLiteral("Term of investment:"));
        TextAt(p, 20, 306, QStringLiteral("Amount to be withdrawn"));
        TextAt(p, 20, 320, QStringLiteral("P(same rate of return)"));
        TextAt(p, 20, 334, QStringLiteral("Fluctuation factor:"));
        TextAt(p, 20, 348, QStringLiteral("Number of runs :"));
    });
    Graph->update();
}

void TMCLegioRiskPlot::DrawResult(const LegioResult& r) {
    Canvas.draw([r](QPainter& p) {
        p.setFont(CanvasFont());
        p.setPen(Qt::black);
        const double m = std::max(r.largestPercentage(), 1e-9);
        const double scale = 220 / m;
        TextAt(p, 330, 276, QStringLiteral("Capital after %1 years.").arg(r.years[0]));
        TextAt(p, 330, 290, QStringLiteral("Capital after %1 years.").arg(r.years[1]));
        const int step = m >= 50 ? 10 : m > 25 ? 4 : 2;
        for (int q = 0; q <= m; q += step) {
            p.setPen(Qt::black);
            TextAt(p, 8, 244 - R(q * scale), QString::number(q) + QStringLiteral("%"));
            LineAt(p, 30, 250 - R(q * scale), 550, 250 - R(q * scale), Qt::black);
        }
        const auto bar = [&](int x1, int x2, double pct, QColor colour) {
            const int h = R(pct * scale);
            if (h > 0 && x2 >= x1) p.fillRect(QRect(QPoint(x1, 250 - h), QPoint(x2, 249)), colour);
        };
        for (int c = 0; c < kLegioClasses; ++c) {
            bar(R(c * 500.0 / 12) + 40, R(c * 500.0 / 12 + 250.0 / 12) + 39, r.percentage(0, c), kAqua);
            bar(R(c * 500.0 / 12 + 250.0 / 12) + 41, R((c + 1) * 500.0 / 12) + 39, r.percentage(1, c),
                Qt::red);
        }
        p.setPen(Qt::black);
        const LegioParams& q = r.params;
        TextAt(p, 484, 326,
               QString::fromStdString(FormatFixed(r.chanceOfRunningOut(), 2)) + QStringLiteral("%"));
        TextAt(p, 484, 340,
               QString::fromStdString(FormatFixed(r.averageLifetime(), 2)) + QStringLiteral(" year"));
        TextAt(p, 180, 278, QString::fromStdString(FormatFixed(q.rate, 1)) + QStringLiteral("%"));
        TextAt(p, 180, 292, QString::number(q.term) + QStringLiteral(" year"));
        TextAt(p, 180, 306,
               QString::fromStdString(FormatFixed(static_cast<double>(q.withdrawal), 0)) +
                   QStringLiteral(" dollars"));
        TextAt(p, 180, 320, QString::fromStdString(FormatGeneral(q.same, 10)));
        TextAt(p, 180, 334, QString::fromStdString(FormatGeneral(q.fluctuation, 10)));
        TextAt(p, 180, 348, QString::number(q.runs));
    });
}

void TMCLegioRiskPlot::Run(const LegioParams& params) {
    if (Running || Pending || module()->ModuleClosing()) return;
    Params = params;
    Pending = true;
    // The run starts from the event loop, never inside the click.
    QTimer::singleShot(0, this, [this] { Execute(); });
}

void TMCLegioRiskPlot::Stop() {
    Progress->StopFlag = true;
    Pending = false;
}

void TMCLegioRiskPlot::Execute() {
    if (!Pending || Running || module()->ModuleClosing()) return;
    Pending = false;
    const QPointer<TMCLegioRiskPlot> self(this);
    Running = true;
    Progress->StopFlag = false;
    Progress->Bar->setRange(0, Params.runs);
    Progress->Bar->setValue(0);
    Progress->move(pos() + QPoint((width() - Progress->width()) / 2, 100));
    Progress->show();
    Progress->raise();
    Progress->StopBtn->setFocus();
    DrawStatic();
    MCRunProgress progress(module(), &Progress->StopFlag);
    module()->SeedRun();
    const LegioResult r = RunLegio(Params, progress, [this](int i) { Progress->Bar->setValue(i); });
    if (!self || module()->ModuleClosing()) return;
    Running = false;
    Progress->hide();
    if (r.stopped) {
        // A stopped run leaves no result: back to the settings.
        hide();
        ShowAgain(Dialog, false);
        return;
    }
    Last = r;
    DrawResult(r);
    Graph->setAccessibleDescription(
        QStringLiteral(
            "Legio risk: capital after %1 years (aqua) and after %2 years (red) in %3 runs; chance of "
            "running out of capital %4%, capital lasts on average %5 year")
            .arg(r.years[0])
            .arg(r.years[1])
            .arg(r.params.runs)
            .arg(QString::fromStdString(FormatFixed(r.chanceOfRunningOut(), 2)),
                 QString::fromStdString(FormatFixed(r.averageLifetime(), 2))));
    show();
    raise();
    Graph->update();
}

void TMCLegioRiskPlot::AgainBtnClick() {
    if (Running) return;
    hide();
    Run(Params);
}

void TMCLegioRiskPlot::TerugBtnClick() {
    if (Running) return;
    hide();
    ShowAgain(Dialog, true);
}

void TMCLegioRiskPlot::SaveBtnClick() {
    Canvas.save(QStringLiteral("Legio risk.bmp"));
}

// --- TMCLegioRiskDialoog --------------------------------------------------------------

TMCLegioRiskDialoog::TMCLegioRiskDialoog(TMC* module, TMCLegioRiskPlot* plot)
    : TMCWindow(module, QStringLiteral("Legio risk")), Plot(plot) {
    setObjectName(QStringLiteral("MCLegioRiskDialoog"));
    helpContext = 70;
    setFixedSize(420, 320);
    auto* params = new QGroupBox(QStringLiteral("Parameters"), this);
    params->setGeometry(8, 8, 404, 264);
    using D = TMCLegioRiskDialoog;
    using T = LegioTexts;
    using R = MCRow<D, T, LegioField>;
    Form.add(params, {
                         R::Text("Rate of return", "RateEdit", &D::RateEdit, &T::rate, LegioField::Rate)
                             .at(200, 24, 90)
                             .withUnit("percent", 296),
                     });
    PlaceLabel(params, QStringLiteral("Term of investment"), 12, 60);
    TermBox = new QComboBox(params);
    TermBox->setObjectName(QStringLiteral("TermBox"));
    TermBox->addItems({QStringLiteral("10"), QStringLiteral("15"), QStringLiteral("20")});
    TermBox->setGeometry(200, 56, 90, 24);
    Form.add(
        params,
        {
            R::Label("Investment is 100,000 dollars", 88),
            R::Text("Yearly withdrawal:", "WithdrawalEdit", &D::WithdrawalEdit, &T::withdrawal,
                    LegioField::Withdrawal)
                .at(200, 120, 90)
                .withUnit("dollars", 296)
                .keepLabel(&D::WithdrawalLabel),
            R::Text("P(same rate of return)", "SameEdit", &D::SameEdit, &T::same, LegioField::Same)
                .at(200, 152, 90),
            R::Text("Fluctuation factor", "FluctuationEdit", &D::FluctuationEdit, &T::fluctuation,
                    LegioField::Fluctuation)
                .at(200, 184, 90),
            R::Text("Number of runs ", "RunsEdit", &D::RunsEdit, &T::runs, LegioField::Runs).at(200, 216, 90),
        });
    WithdrawalLabel->setObjectName(QStringLiteral("WithdrawalLabel"));
    WithdrawalLabel->setFixedWidth(186);
    PlaceSettingsButtons(this, 284, 374, 70);
    Refresh = new QTimer(this);
    Refresh->setInterval(500);
    connect(Refresh, &QTimer::timeout, this, &TMCLegioRiskDialoog::RefreshTick);
}

void TMCLegioRiskDialoog::RefreshTick() {
    const int term = TermBox->currentText().toInt();
    if (RateEdit->text() == LastRate && term == LastTerm) return;
    LastRate = RateEdit->text();
    LastTerm = term;
    const LegioWithdrawalLabel t = LegioWithdrawalTexts(LastRate.toStdString(), term);
    WithdrawalLabel->setText(QString::fromStdString(t.label));
    WithdrawalEdit->setText(QString::fromStdString(t.field));
}

void TMCLegioRiskDialoog::Open() {
    const LegioTexts d;
    Form.restore(d);
    TermBox->setCurrentText(QString::number(d.term));
    LastRate.clear();
    LastTerm = -1;
    RefreshTick();
    Refresh->start();
    Plot->hide();
    move(module()->SideBySide(width(), 0));
    show();
    raise();
    activateWindow();
}

LegioTexts TMCLegioRiskDialoog::texts() const {
    LegioTexts t;
    Form.read(t);
    t.term = TermBox->currentText().toInt();
    return t;
}

void TMCLegioRiskDialoog::OKBtnClick() {
    if (Plot->running()) return;
    // The limit comes from the fields as they are now, whatever the timer
    // last showed.
    const LegioCheck check = CheckLegio(texts());
    if (!check.params) {
        RefuseInput(QString::fromStdString(check.message), Form.widget(check.field));
        return;
    }
    hide();
    Plot->move(module()->SideBySide(Plot->width(), 0));
    Plot->Run(*check.params);
}

void TMCLegioRiskDialoog::TerugBtnClick() {
    Refresh->stop();
    hide();
    Plot->hide();
    module()->ShowChooser();
}

std::unique_ptr<TMCExperiment> CreateLegioRiskExperiment(TMC* module) {
    auto* progress = new TMCLegioRiskProgress(module);
    auto* plot = new TMCLegioRiskPlot(module, progress);
    auto* dlg = new TMCLegioRiskDialoog(module, plot);
    plot->setDialog(dlg);
    auto e = ExperimentOf(dlg, plot, {dlg, plot, progress});
    // Stopping also ends the settings window's timer that refreshes the withdrawal.
    e->stop = [g = QPointer<TMCLegioRiskPlot>(plot), d = QPointer<TMCLegioRiskDialoog>(dlg)] {
        if (g) g->Stop();
        if (d) d->Refresh->stop();
    };
    return e;
}

} // namespace tarvik::montecarlo::ui
