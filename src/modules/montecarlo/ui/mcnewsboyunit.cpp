#include "modules/montecarlo/ui/mcnewsboyunit.h"

#include "common/numformat.h"
#include "common/ui/picturesave.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcreport.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTextEdit>
#include <QToolButton>
#include <cmath>

namespace tarvik::montecarlo::ui {

namespace {
constexpr int kPictureW = 561;
constexpr int kPictureH = 305;

int R(double v) {
    return static_cast<int>(std::lround(v));
}
} // namespace

// --- TMCNewsBoyData -----------------------------------------------------------------

TMCNewsBoyData::TMCNewsBoyData(TMC* module) : TMCWindow(module, QStringLiteral("Data")) {
    setObjectName(QStringLiteral("MCNewsBoyData"));
    helpContext = 67;
    setWindowModality(Qt::ApplicationModal);
    resize(560, 480);
    Report =
        PlaceReportView(this, QRect(8, 8, 544, 420), QStringLiteral("Newsboy"), QStringLiteral("Newsboy"));
    OKBtn = PlaceButton(this, QStringLiteral("OK"), "OKBtn", 242, 442);
    connect(OKBtn, &QPushButton::clicked, this, &QWidget::hide);
    onFrameClose = [this] { hide(); };
}

// --- TMCNewsboyPlot -----------------------------------------------------------------

TMCNewsboyPlot::TMCNewsboyPlot(TMC* module, TMCNewsBoyData* data)
    : TMCGraphWindow(module, QStringLiteral("Newsboy"), kPictureW, kPictureH, true), Data(data) {
    setObjectName(QStringLiteral("MCNewsboyPlot"));
    helpContext = 67;
    Graph->setAccessibleDescription(
        QStringLiteral("Newsboy: distribution of the profit per order quantity (yellow Q1, blue Q2)"));
    DrawStatic();
}

void TMCNewsboyPlot::DrawStatic() {
    Canvas.reset(ButtonFace());
    Canvas.draw([](QPainter& p) {
        p.setFont(CanvasFont());
        LineAt(p, 30, 30, 30, 250, Qt::black, 2);
        LineAt(p, 30, 250, 550, 250, Qt::black, 2);
        p.setPen(Qt::black);
        p.setBrush(Qt::yellow);
        p.drawRect(QRect(QPoint(16, 278), QPoint(26, 288)));
        p.setBrush(Qt::blue);
        p.drawRect(QRect(QPoint(16, 292), QPoint(26, 302)));
        TextAt(p, 30, 276, QStringLiteral("Q1"));
        TextAt(p, 30, 290, QStringLiteral("Q2"));
    });
    Graph->update();
}

void TMCNewsboyPlot::DrawResult(const NewsboyResult& r) {
    Canvas.draw([r](QPainter& p) {
        p.setFont(CanvasFont());
        const QFontMetrics fm(p.font());
        // The legends with their expected profits replace "Q1" and "Q2".
        p.fillRect(QRect(30, 276, 520, 28), ButtonFace());
        p.setPen(Qt::black);
        TextAt(p, 30, 276, QString::fromStdString(r.legend(0)));
        TextAt(p, 30, 290, QString::fromStdString(r.legend(1)));
        const int k = r.params.bins;
        const double m = std::max(r.largestPercentage(), 1e-9);
        const double scale = 220 / m;
        const double hs = 500.0 / k;
        const int step = m >= 30 ? 4 : 2;
        for (int q = 0; q < m; q += step) {
            p.setPen(Qt::black);
            TextAt(p, 8, 244 - R(q * scale), QString::number(q) + QStringLiteral("%"));
            LineAt(p, 30, 250 - R(q * scale), 550, 250 - R(q * scale), Qt::black);
        }
        const auto bar = [&](int x1, int x2, double pct, QColor colour) {
            const int h = R(pct * scale);
            if (h <= 0 || x2 < x1) return;
            p.fillRect(QRect(QPoint(x1, 250 - h), QPoint(x2, 249)), colour);
        };
        for (int j = 1; j <= k; ++j) {
            const auto i = static_cast<std::size_t>(j - 1);
            bar(R((j - 1) * hs) + 40, R((j - 1) * hs + hs / 2) + 39, r.percentages[0][i], Qt::yellow);
            bar(R((j - 1) * hs + hs / 2) + 41, R(j * hs) + 39, r.percentages[1][i], Qt::blue);
            const double low = r.binLow(j);
            const int y = (k > 15 && j % 2 == 1) ? 268 : 255;
            p.setPen(Qt::black);
            TextAt(p, R((j - 1) * hs) + (low > 99.9 ? 26 : 30), y,
                   QString::fromStdString(FormatFixed(low, 1)));
            LineAt(p, R((j - 1) * hs) + 40, 250, R((j - 1) * hs) + 40, 255, Qt::black, 2);
        }
        p.setPen(Qt::black);
        TextAt(p, r.hi > 99.9 ? 526 : 530, (k > 15 && k % 2 == 0) ? 268 : 255,
               QString::fromStdString(FormatFixed(r.hi, 1)));
        LineAt(p, R(k * hs) + 40, 250, R(k * hs) + 40, 255, Qt::black, 2);
        (void)fm;
    });
}

void TMCNewsboyPlot::Run(const NewsboyParams& params) {
    if (module()->ModuleClosing()) return;
    Params = params;
    DrawStatic();
    module()->SeedRun();
    Last = RunNewsboy(params);
    DrawResult(*Last);
    Graph->setAccessibleDescription(
        QStringLiteral("Newsboy: distribution of the profit per order quantity (yellow "
                       "Q1, blue Q2) in %1 runs; %2; %3")
            .arg(Last->params.runs)
            .arg(QString::fromStdString(Last->legend(0)), QString::fromStdString(Last->legend(1))));
    Graph->update();
}

void TMCNewsboyPlot::AgainBtnClick() {
    Run(Params);
}

void TMCNewsboyPlot::TerugBtnClick() {
    hide();
    Data->hide();
    ShowAgain(Dialog, true);
}

void TMCNewsboyPlot::DataBtnClick() {
    if (!Last) return;
    FillReport(Data->Report, NewsboyReport(*Last));
    Data->move(pos());
    Data->show();
    Data->raise();
}

void TMCNewsboyPlot::SaveBtnClick() {
    Canvas.save(QStringLiteral("Newsboy.bmp"));
}

// --- TMCNewsboyDialoog ----------------------------------------------------------------

TMCNewsboyDialoog::TMCNewsboyDialoog(TMC* module, TMCNewsboyPlot* plot)
    : TMCWindow(module, QStringLiteral("Newsboy")), Plot(plot) {
    setObjectName(QStringLiteral("MCNewsboyDialoog"));
    helpContext = 67;
    setFixedSize(520, 560);
    auto* params = new QGroupBox(QStringLiteral("Parameters"), this);
    params->setGeometry(8, 8, 504, 250);
    using D = TMCNewsboyDialoog;
    using T = NewsboyTexts;
    using F = NewsboyField;
    using R = MCRow<D, T, F>;
    Form.add(
        params,
        {
            R::Label("Stock quantities", 24),
            R::Text("Q1:", "Q1Edit", &D::Q1Edit, &T::q1, F::Q1).at(256, 24, 70, 230),
            R::Text("Q2:", "Q2Edit", &D::Q2Edit, &T::q2, F::Q2).at(366, 24, 70, 340),
            R::Text("Selling price per unit", "PriceEdit", &D::PriceEdit, &T::price, F::Price)
                .at(256, 56, 70)
                .withUnit("dollars", 334),
            R::Text("Salvage value per unit left over", "SalvageEdit", &D::SalvageEdit, &T::salvage,
                    F::Salvage)
                .at(256, 88, 70)
                .withUnit("dollars", 334),
            R::Text("Penalty cost per unit shortage", "PenaltyEdit", &D::PenaltyEdit, &T::penalty, F::Penalty)
                .at(256, 120, 70)
                .withUnit("dollars", 334),
            R::Label("Acquisition cost is normalized as $ 1", 150),
            R::Spin("Number of bins", "BinsEdit", &D::BinsEdit, kNewsboyBins).at(256, 180, 70),
            R::Text("Number of runs ", "RunsEdit", &D::RunsEdit, &T::runs, F::Runs).at(256, 212, 70),
        });

    auto* dist = new QGroupBox(QStringLiteral("Distribution"), this);
    dist->setGeometry(8, 266, 504, 240);
    UniformBtn = new QRadioButton(QStringLiteral("Discrete uniform distribution"), dist);
    UniformBtn->setObjectName(QStringLiteral("UniformBtn"));
    UniformBtn->setGeometry(12, 24, 260, 22);
    Form.add(
        dist,
        {
            R::Text("a:", "UniformAEdit", &D::UniformAEdit, &T::uniformA, F::UniformA).at(60, 50, 70, 40),
            R::Text("b:", "UniformBEdit", &D::UniformBEdit, &T::uniformB, F::UniformB).at(170, 50, 70, 150),
        });
    TriangularBtn = new QRadioButton(QStringLiteral("Discrete triangular distribution"), dist);
    TriangularBtn->setObjectName(QStringLiteral("TriangularBtn"));
    TriangularBtn->setGeometry(12, 84, 260, 22);
    Form.add(dist, {
                       R::Text("a:", "TriangularAEdit", &D::TriangularAEdit, &T::triangularA, F::TriangularA)
                           .at(60, 110, 70, 40),
                       R::Text("b:", "TriangularBEdit", &D::TriangularBEdit, &T::triangularB, F::TriangularB)
                           .at(170, 110, 70, 150),
                       R::Text("m:", "TriangularMEdit", &D::TriangularMEdit, &T::triangularM, F::TriangularM)
                           .at(280, 110, 70, 260),
                   });
    OwnBtn = new QRadioButton(QStringLiteral("Own distribution"), dist);
    OwnBtn->setObjectName(QStringLiteral("OwnBtn"));
    OwnBtn->setGeometry(12, 144, 260, 22);
    OwnGrid = new QTableWidget(2, kNewsboyOwnDemands, dist);
    OwnGrid->setObjectName(QStringLiteral("OwnGrid"));
    OwnGrid->setGeometry(12, 172, 482, 56);
    OwnGrid->horizontalHeader()->hide();
    OwnGrid->verticalHeader()->hide();
    OwnGrid->setToolTip(QStringLiteral("Kansen mogen hooguit 2 decimalen hebben."));
    for (int c = 0; c < kNewsboyOwnDemands; ++c) {
        OwnGrid->setColumnWidth(c, 43);
        auto* head = new QTableWidgetItem(QString::number(c));
        head->setFlags(Qt::ItemIsEnabled);
        head->setBackground(ButtonFace());
        head->setTextAlignment(Qt::AlignCenter);
        OwnGrid->setItem(0, c, head);
        OwnGrid->setItem(1, c, new QTableWidgetItem(QStringLiteral("0")));
    }
    OwnGrid->setRowHeight(0, 26);
    OwnGrid->setRowHeight(1, 26);

    PlaceSettingsButtons(this, 520, 474, 67, "&Ok");
    for (QRadioButton* b : {UniformBtn, TriangularBtn, OwnBtn})
        connect(b, &QRadioButton::toggled, this, &TMCNewsboyDialoog::DistributionChange);
    Open();
    hide();
}

void TMCNewsboyDialoog::DistributionChange() {
    const bool uniform = UniformBtn->isChecked(), triangular = TriangularBtn->isChecked(),
               own = OwnBtn->isChecked();
    UniformAEdit->setEnabled(uniform);
    UniformBEdit->setEnabled(uniform);
    TriangularAEdit->setEnabled(triangular);
    TriangularBEdit->setEnabled(triangular);
    TriangularMEdit->setEnabled(triangular);
    // The grid is edited only for the own distribution, grey otherwise.
    OwnGrid->setEditTriggers(own ? QAbstractItemView::AllEditTriggers : QAbstractItemView::NoEditTriggers);
    for (int c = 0; c < kNewsboyOwnDemands; ++c) {
        QTableWidgetItem* item = OwnGrid->item(1, c);
        item->setForeground(own ? QColor(Qt::black) : QColor(128, 128, 128));
        item->setFlags(own ? Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable
                           : Qt::ItemIsEnabled);
    }
}

void TMCNewsboyDialoog::Open() {
    Form.restore();
    for (int c = 0; c < kNewsboyOwnDemands; ++c) OwnGrid->item(1, c)->setText(QStringLiteral("0"));
    UniformBtn->setChecked(true);
    DistributionChange();
    Plot->hide();
    OpenBeside(Plot, false);
}

NewsboyTexts TMCNewsboyDialoog::texts() const {
    NewsboyTexts t;
    Form.read(t);
    t.bins = BinsEdit->value();
    t.distribution = OwnBtn->isChecked()          ? NewsboyDistribution::Own
                     : TriangularBtn->isChecked() ? NewsboyDistribution::Triangular
                                                  : NewsboyDistribution::Uniform;
    for (int c = 0; c < kNewsboyOwnDemands; ++c)
        t.own[static_cast<std::size_t>(c)] = OwnGrid->item(1, c)->text().toStdString();
    return t;
}

QWidget* TMCNewsboyDialoog::field(NewsboyField f) const {
    return f == NewsboyField::Own ? OwnGrid : Form.widget(f);
}

void TMCNewsboyDialoog::OKBtnClick() {
    BinsEdit->commit();
    const NewsboyCheck check = CheckNewsboy(texts());
    if (!check.params) {
        RefuseInput(QString::fromStdString(check.message), field(check.field));
        if (check.field == NewsboyField::Own) OwnGrid->setCurrentCell(1, check.ownColumn);
        return;
    }
    hide();
    Plot->show();
    Plot->raise();
    Plot->Run(*check.params);
}

void TMCNewsboyDialoog::TerugBtnClick() {
    hide();
    Plot->hide();
    module()->ShowChooser();
}

std::unique_ptr<TMCExperiment> CreateNewsboyExperiment(TMC* module) {
    auto e = std::make_unique<TMCExperimentWindows>();
    auto* data = new TMCNewsBoyData(module);
    auto* plot = new TMCNewsboyPlot(module, data);
    auto* dlg = new TMCNewsboyDialoog(module, plot);
    plot->setDialog(dlg);
    QPointer<TMCNewsboyDialoog> d(dlg);
    e->open = [d] {
        if (d) d->Open();
    };
    e->running = [] { return false; };
    e->windows = {dlg, plot, data};
    return e;
}

} // namespace tarvik::montecarlo::ui
