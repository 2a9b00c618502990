#include "modules/montecarlo/ui/mcbdpunit.h"

#include "common/numformat.h"
#include "common/ui/picturesave.h"
#include "common/ui/picturetext.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <algorithm>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace tarvik::montecarlo::ui {
namespace {

// The probability axis's numbers: their tops and texts ("0" stands further right).
constexpr std::pair<int, const char*> kAxisLabels[] = {
    {20, "1.0"}, {89, "0.75"}, {158, "0.50"}, {226, "0.25"}, {289, "0"}};

} // namespace

// --- TMCBDPPlot ---------------------------------------------------------------------

TMCBDPPlot::TMCBDPPlot(TMC* module)
    : TMCWindow(module, QStringLiteral("Birthday Problem"), true), Picture(NewPicture(409, 321)) {
    setObjectName(QStringLiteral("MCBDPPlot"));
    helpContext = 61;
    setFixedSize(409, 360);
    Graph = new TMCPictureBox(&Picture, this);
    Graph->setGeometry(0, 0, 409, 321);
    SaveBtn = SaveGraphButton(this);
    SaveBtn->setGeometry(8, 326, 30, 28);
    connect(SaveBtn, &QToolButton::clicked, this, &TMCBDPPlot::SaveBtnClick);
    Graph->setAccessibleDescription(QStringLiteral("Birthday Problem: estimated probability per run"));
    DrawEmpty();
}

void TMCBDPPlot::DrawEmpty(double exact, int runs) {
    Canvas.reset(ButtonFace());
    Canvas.draw([exact, runs](QPainter& p) { PaintEmpty(p, exact, runs); });
    Graph->update();
}

void TMCBDPPlot::PaintEmpty(QPainter& p, double exact, int runs) {
    p.setFont(CanvasFont());
    LineAt(p, 49, 25, 49, 300, Qt::black, 2);
    LineAt(p, 50, 300, 375, 300, Qt::black, 2);
    for (int y : {25, 94, 163, 232}) LineAt(p, 44, y, 49, y, Qt::black);
    p.setPen(Qt::black);
    TextAt(p, 7, 6, QStringLiteral("Probability"));
    for (const auto& [ly, label] : kAxisLabels)
        TextAt(p, label == QLatin1String("0") ? 25 : 19, ly, QLatin1String(label));
    LineAt(p, 138, 312, 178, 312, Qt::blue);
    p.setPen(Qt::black);
    TextAt(p, 186, 306, QStringLiteral("Estimated Probability"));
    if (exact >= 0) {
        const int y = BirthdayY(exact);
        LineAt(p, 50, y, 375, y, Qt::red, 1, Qt::DashLine);
        p.setPen(Qt::red);
        // The value stands left of the axis; where it would cover an axis
        // number, after the line's right end, else over that end.
        const QString value = QString::fromStdString(FormatFixed(exact, 2));
        const QFontMetrics fm(p.font());
        std::vector<QRect> taken;
        for (const auto& [ly, label] : kAxisLabels)
            taken.push_back(
                tarvik::ui::TextBox(fm, label == QLatin1String("0") ? 25 : 19, ly, QLatin1String(label)));
        if (runs > 0) {
            const QString r = QString::number(runs);
            taken.push_back(tarvik::ui::TextBox(fm, 375 - fm.horizontalAdvance(r) / 2, 303, r));
        }
        const int w = fm.horizontalAdvance(value);
        const QPoint places[] = {{16, y - 7}, {378, y - fm.height() / 2}, {373 - w, y - fm.height() - 1}};
        QPoint at = places[2];
        for (const QPoint& place : places) {
            const QRect box = tarvik::ui::TextBox(fm, place.x(), place.y(), value);
            if (std::none_of(taken.begin(), taken.end(), [&](const QRect& t) { return t.intersects(box); })) {
                at = place;
                break;
            }
        }
        TextAt(p, at.x(), at.y(), value);
    }
    if (runs > 0) {
        p.setPen(Qt::black);
        TextCentredAt(p, 375, 303, QString::number(runs));
    }
}

void TMCBDPPlot::DrawColumn(const BirthdayColumn& c) {
    const int y1 = BirthdayY(c.previousEstimate);
    const int y2 = BirthdayY(c.estimate);
    const int x = c.column;
    // One column of the plot per step: at most the width of the X axis.
    Canvas.draw([x, y1, y2](QPainter& p) {
        p.setFont(CanvasFont());
        LineAt(p, x + 49, y1, x + 50, y2, y1 == 25 && y2 == 25 ? Qt::red : Qt::blue);
    });
}

void TMCBDPPlot::Describe(const BirthdayResult& r) {
    Graph->setAccessibleDescription(
        QStringLiteral("Birthday Problem: estimated probability over %1 runs; estimate %2, exact %3")
            .arg(r.runs)
            .arg(QString::fromStdString(r.estimateText()), QString::fromStdString(r.exactText())));
}

void TMCBDPPlot::SaveBtnClick() {
    Canvas.save(QStringLiteral("Birthday Problem.bmp"));
}

// --- TMCBDP -------------------------------------------------------------------------

TMCBDP::TMCBDP(TMC* module, TMCBDPPlot* plot)
    : TMCSimulateWindow(module, QStringLiteral("Birthday Problem"), plot), Plot(plot) {
    setObjectName(QStringLiteral("MCBDP"));
    helpContext = 61;
    setFixedSize(350, 360);
    KindGroup = new QGroupBox(QStringLiteral("Kind and parameters"), this);
    KindGroup->setGeometry(8, 8, 334, 180);
    KindBox = new QComboBox(KindGroup);
    KindBox->setObjectName(QStringLiteral("KindBox"));
    KindBox->addItems({QStringLiteral("Birthday Problem"), QStringLiteral("Almost birthday problem")});
    KindBox->setToolTip(QStringLiteral("Kies soort"));
    KindBox->setGeometry(12, 24, 200, 24);
    using D = TMCBDP;
    using R = MCRow<D>;
    Form.add(
        KindGroup,
        {
            R::Spin("Number of persons", "PersonsEdit", &D::PersonsEdit, kBirthdayPersons).at(200, 58, 100),
            R::Spin("Day difference", "DaysEdit", &D::DaysEdit, kBirthdayDays).at(200, 88, 100),
            R::Spin("Number of runs ", "RunsEdit", &D::RunsEdit, kBirthdayRuns).at(200, 118, 100),
        });
    DaysEdit->setEnabled(false);
    LineBox = new QCheckBox(QStringLiteral("Show line"), KindGroup);
    LineBox->setObjectName(QStringLiteral("LineBox"));
    LineBox->setGeometry(12, 150, 150, 22);
    Form.add(this,
             {
                 R::Output("Simulated probability", "EstimateEdit", &D::EstimateEdit).at(160, 200, 170, 16),
                 R::Output("95% BTI", "IntervalEdit", &D::IntervalEdit).at(160, 232, 170, 16),
                 R::Output("Exact probability", "ExactEdit", &D::ExactEdit).at(160, 264, 170, 16),
             });
    PlaceRunButtons(310);
    QToolButton* help = ExplanationButton(this, 61);
    help->setGeometry(300, 310, 30, 25);
    connect(KindBox, &QComboBox::currentIndexChanged, this, &D::KindChange);
    // The frame hides both windows; a run goes on unseen.
    onFrameClose = [this] {
        hide();
        Plot->hide();
    };
}

void TMCBDP::KindChange(int index) {
    const bool almost = index == 1;
    DaysEdit->setValue(almost ? 1 : 0);
    DaysEdit->setEnabled(almost && !running());
}

void TMCBDP::Open() {
    Form.restore();
    KindBox->setCurrentIndex(0);
    KindChange(0);
    LineBox->setChecked(false);
    for (QLineEdit* e : {EstimateEdit, IntervalEdit, ExactEdit}) e->clear();
    Plot->DrawEmpty();
    OpenBeside(Plot, true);
}

void TMCBDP::Execute() {
    if (!BeginRun()) return;
    const QPointer<TMCBDP> self(this);
    const BirthdayParams params{
        .persons = PersonsEdit->value(), .dayDifference = DaysEdit->value(), .runs = RunsEdit->value()};
    const double exact = ExactBirthdayProbability(params.persons, params.dayDifference);
    Plot->DrawEmpty(LineBox->isChecked() ? exact : -1, params.runs);
    EstimateEdit->clear();
    IntervalEdit->clear();
    Last = BirthdayResult{};
    Last.exact = exact;
    ExactEdit->setText(QString::fromStdString(Last.exactText()));

    module()->SeedRun();
    MCRunProgress progress(module(), &StopFlag, [this] { Plot->Graph->repaint(); });
    Last = RunBirthday(params, ChooseStream(), progress, [this, exact](const BirthdayColumn& c) {
        Plot->DrawColumn(c);
        BirthdayResult now;
        now.runs = c.run;
        now.successes = c.successes;
        now.exact = exact;
        EstimateEdit->setText(QString::fromStdString(now.estimateText()));
        IntervalEdit->setText(QString::fromStdString(now.intervalText()));
    });
    if (!self || module()->ModuleClosing()) return;
    EstimateEdit->setText(QString::fromStdString(Last.estimateText()));
    IntervalEdit->setText(QString::fromStdString(Last.intervalText()));
    Plot->Describe(Last);
    Plot->Graph->update();
    EndRun();
}

std::unique_ptr<TMCExperiment> CreateBirthdayExperiment(TMC* module) {
    auto* plot = new TMCBDPPlot(module);
    auto* dlg = new TMCBDP(module, plot);
    return ExperimentOf(dlg, dlg, {dlg, plot});
}

} // namespace tarvik::montecarlo::ui
