#include "modules/montecarlo/ui/mckellyunit.h"

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
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace tarvik::montecarlo::ui {

namespace {
const QColor kLime(0, 255, 0);
constexpr int kGraphW = 660;
constexpr int kGraphH = 380;
} // namespace

// --- TMCKellyBData --------------------------------------------------------------------

TMCKellyBData::TMCKellyBData(TMC* module) : TMCWindow(module, QStringLiteral("Kelly betting")) {
    setObjectName(QStringLiteral("MCKellyBData"));
    helpContext = 65;
    setWindowModality(Qt::ApplicationModal);
    resize(600, 440);
    Report = PlaceReportView(this, QRect(8, 8, 584, 380), QStringLiteral("Kelly betting"),
                             QStringLiteral("KellyBetting"));
    OKBtn = PlaceButton(this, QStringLiteral("OK"), "OKBtn", 262, 402);
    connect(OKBtn, &QPushButton::clicked, this, &QWidget::hide);
    onFrameClose = [this] { hide(); };
}

void TMCKellyBData::Fill(const std::vector<ReportLine>& lines) {
    Report->clear();
    for (const ReportLine& l : lines) {
        QTextCharFormat f;
        QFont font(QStringLiteral("Courier New"));
        font.setStyleHint(QFont::Monospace);
        switch (l.style) {
        case ReportStyle::Title:
            font.setPointSize(10);
            font.setItalic(true);
            f.setForeground(Qt::blue);
            break;
        case ReportStyle::Heading:
            font.setPointSize(8);
            font.setBold(true);
            font.setUnderline(true);
            f.setForeground(Qt::black);
            break;
        case ReportStyle::Plain:
            font.setPointSize(8);
            f.setForeground(Qt::black);
            break;
        }
        f.setFont(font);
        Report->setCurrentCharFormat(f);
        Report->append(QString::fromStdString(l.text));
    }
}

// --- TMCKellyBPlot -------------------------------------------------------------------

TMCKellyBPlot::TMCKellyBPlot(TMC* module, TMCKellyBData* data)
    : TMCWindow(module, QStringLiteral("Kelly betting")), Data(data), Picture(NewPicture(kGraphW, kGraphH)) {
    setObjectName(QStringLiteral("MCKellyBPlot"));
    helpContext = 65;
    setFixedSize(kGraphW, kGraphH + 44);
    Graph = new TMCPictureBox(&Picture, this);
    Graph->setGeometry(0, 0, kGraphW, kGraphH);
    TerugBtn = PlaceButton(this, QStringLiteral("Previous"), "TerugBtn", 16, kGraphH + 8);
    AgainBtn = PlaceButton(this, QStringLiteral("Again"), "AgainBtn", 100, kGraphH + 8);
    DataBtn = PlaceButton(this, QStringLiteral("Data"), "DataBtn", 184, kGraphH + 8);
    SaveBtn = SaveGraphButton(this);
    SaveBtn->setGeometry(268, kGraphH + 6, 30, 28);
    connect(TerugBtn, &QPushButton::clicked, this, &TMCKellyBPlot::TerugBtnClick);
    connect(AgainBtn, &QPushButton::clicked, this, &TMCKellyBPlot::AgainBtnClick);
    connect(DataBtn, &QPushButton::clicked, this, &TMCKellyBPlot::DataBtnClick);
    connect(SaveBtn, &QToolButton::clicked, this, &TMCKellyBPlot::SaveBtnClick);
    // The frame: the drawing ends at once, then "Previous".
    onFrameClose = [this] {
        if (drawing()) FinishDrawing();
        TerugBtnClick();
    };
    Graph->setAccessibleDescription(QStringLiteral(
        "Kelly betting: capital of the Kelly strategy (green) and of the own strategy (red) per race"));
}

int TMCKellyBPlot::X(int race) const {
    return static_cast<int>(500.0 / Accepted.races * race) + 54;
}

int TMCKellyBPlot::Y(double capital) const {
    if (capital > Top) return 17;
    return 317 - static_cast<int>(std::lround(capital * 300 / Top));
}

void TMCKellyBPlot::DrawStatic() {
    Canvas.reset(ButtonFace());
    Canvas.draw([races = Accepted.races, top = Top](QPainter& p) {
        p.setFont(CanvasFont());
        LineAt(p, 54, 16, 54, 327, Qt::black);
        LineAt(p, 46, 317, 556, 317, Qt::black);
        LineAt(p, 46, 16, 54, 16, Qt::black);
        LineAt(p, 46, 167, 54, 167, Qt::black);
        LineAt(p, 294, 319, 294, 327, Qt::black);
        LineAt(p, 556, 319, 556, 327, Qt::black);
        p.setPen(Qt::black);
        TextAt(p, 50, 329, QStringLiteral("0"));
        TextAt(p, 34, 313, QStringLiteral("0"));
        TextAt(p, 456, 344, QStringLiteral("Number of races"));
        TextAt(p, 8, 32, QStringLiteral("Capital"));
        TextAt(p, 290, 329, QString::number(std::lround(races / 2.0)));
        TextAt(p, 546, 329, QString::number(races));
        LineAt(p, 14, 359, 34, 359, kLime, 3);
        p.setPen(Qt::black);
        TextAt(p, 40, 352, QStringLiteral("Capital Kelly-strategy"));
        LineAt(p, 166, 359, 186, 359, Qt::red, 3);
        p.setPen(Qt::black);
        TextAt(p, 192, 352, QStringLiteral("Own strategy   "));
        TextAt(p, 8, 11, QString::fromStdString(FormatGeneral(top, 15)));
        TextAt(p, 14, 163, QString::fromStdString(FormatGeneral(top / 2, 15)));
    });
}

void TMCKellyBPlot::StartRun(const KellyInput& input) {
    Accepted = input;
    module()->SeedRun();
    Run = std::make_unique<KellyRun>(RunKelly(input));
    double largest = 0;
    for (std::size_t i = 1; i < Run->own.size(); ++i)
        largest = std::max({largest, Run->own[i], Run->kellyPath[i]});
    Top = KellyScaleTop(largest);
    DrawStatic();
    for (QPushButton* b : {TerugBtn, AgainBtn, DataBtn}) b->setEnabled(false);
    Graph->update();
    // One race every 10 ms (1 ms beyond 1000 races), painted at most about
    // sixty times a second.
    Pacing.start(input.races, input.races > 1000 ? 1.0 : 10.0);
}

void TMCKellyBPlot::DrawUpTo(int race) {
    // The races drawn in this step: Kelly's capital and the own one, in turn.
    std::vector<QLine> lines;
    for (int i = Pacing.drawn() + 1; i <= race; ++i) {
        const auto k = static_cast<std::size_t>(i);
        lines.emplace_back(X(i - 1), Y(Run->kellyPath[k - 1]), X(i), Y(Run->kellyPath[k]));
        lines.emplace_back(X(i - 1), Y(Run->own[k - 1]), X(i), Y(Run->own[k]));
    }
    if (!lines.empty()) {
        Canvas.draw([lines = std::move(lines)](QPainter& p) {
            for (std::size_t i = 0; i < lines.size(); ++i) {
                const QLine& l = lines[i];
                LineAt(p, l.x1(), l.y1(), l.x2(), l.y2(), i % 2 == 0 ? kLime : QColor(Qt::red));
            }
        });
    }
    Graph->update();
}

void TMCKellyBPlot::FinishDrawing() {
    Pacing.finish();
}

void TMCKellyBPlot::EndRun() {
    const QString kelly = QString::fromStdString(KellyGraphCapital(Run->kellyLog10));
    const QString own = QString::fromStdString(KellyGraphCapital(Run->ownLog10));
    Canvas.draw([kelly, own](QPainter& p) {
        p.setFont(CanvasFont());
        p.setPen(Qt::black);
        TextAt(p, 560, 240, QStringLiteral("end capital"));
        TextAt(p, 560, 280, QStringLiteral("end capital"));
        p.setPen(kLime);
        TextAt(p, 560, 256, kelly);
        p.setPen(Qt::red);
        TextAt(p, 560, 296, own);
    });
    Graph->setAccessibleDescription(
        QStringLiteral(
            "Kelly betting: capital of the Kelly strategy (green) and of the own strategy (red) over "
            "%1 races; end capital Kelly-strategy %2, own strategy %3")
            .arg(Accepted.races)
            .arg(kelly, own));
    Graph->update();
    for (QPushButton* b : {TerugBtn, AgainBtn, DataBtn}) b->setEnabled(true);
}

void TMCKellyBPlot::TerugBtnClick() {
    if (drawing()) return;
    hide();
    ShowAgain(Dialog, false);
}

void TMCKellyBPlot::AgainBtnClick() {
    if (drawing()) return;
    StartRun(Accepted);
}

void TMCKellyBPlot::DataBtnClick() {
    if (drawing() || !Run) return;
    Data->Fill(KellyReport(*Run));
    Data->move(pos() + QPoint(20, 20));
    Data->show();
    Data->raise();
}

void TMCKellyBPlot::SaveBtnClick() {
    Canvas.save(QStringLiteral("KellyBetting.bmp"));
}

// --- TMCKellyBDialoog --------------------------------------------------------------

TMCKellyBDialoog::TMCKellyBDialoog(TMC* module, TMCKellyBPlot* plot)
    : TMCWindow(module, QStringLiteral("Kelly betting")), Plot(plot) {
    setObjectName(QStringLiteral("MCKellyBDialoog"));
    helpContext = 65;
    setFixedSize(720, 520);
    auto* params = new QGroupBox(QStringLiteral("Parameters"), this);
    params->setGeometry(8, 8, 260, 90);
    using D = TMCKellyBDialoog;
    using R = MCRow<D>;
    Form.add(params,
             {
                 R::Spin("Number of horses", "HorsesEdit", &D::HorsesEdit, kKellyHorses).at(150, 24, 90),
                 R::Spin("Number of races", "RacesEdit", &D::RacesEdit, kKellyRaces).at(150, 54, 90),
             },
             kLime);
    auto* note =
        new QLabel(QStringLiteral("For at least 1 horse the win probability times the pay-off should be "
                                  "greater than 1. Also, for none of the horses the value is allowed be "
                                  "greater than 2"),
                   this);
    note->setWordWrap(true);
    note->setGeometry(284, 12, 420, 48);
    auto* note2 = new QLabel(QStringLiteral("For at least one horse it should be less then 1."), this);
    note2->setGeometry(284, 64, 420, 20);

    const auto column = [this](const QString& title, int x, const QString& label, const char* name,
                               std::array<QLineEdit*, kMaxHorses>& edits,
                               std::array<QLabel*, kMaxHorses>& labels, int labelWidth) {
        auto* g = new QGroupBox(title, this);
        g->setGeometry(x, 106, 80 + labelWidth + 16, 330);
        for (int i = 0; i < kMaxHorses; ++i) {
            auto* l = new QLabel(label + QString::number(i + 1), g);
            l->setGeometry(10, 26 + 30 * i, labelWidth, 22);
            auto* e = new QLineEdit(g);
            e->setObjectName(QStringLiteral("%1%2").arg(QString::fromLatin1(name)).arg(i + 1));
            e->setGeometry(12 + labelWidth, 24 + 30 * i, 80, 24);
            ColourOnFocus(e, kLime);
            edits[static_cast<std::size_t>(i)] = e;
            labels[static_cast<std::size_t>(i)] = l;
        }
    };
    column(QStringLiteral("Win probability horses"), 8, QStringLiteral("Horse "), "ProbEdit", ProbEdit,
           ProbLabel, 60);
    column(QStringLiteral("Pay-offs"), 184, QStringLiteral("horse "), "PayEdit", PayEdit, PayLabel, 60);
    column(QStringLiteral("Fraction on horses"), 360, QStringLiteral("fraction on horse "), "FracEdit",
           FracEdit, FracLabel, 130);
    PlaceLabel(this, QStringLiteral("Sum win probabilities must be 1"), 12, 442);
    PlaceLabel(this, QStringLiteral("Sum of fractions must be equal or less than 1"), 364, 442);
    PlaceSettingsButtons(this, 478, 676, 65);
    connect(HorsesEdit, &QSpinBox::valueChanged, this, &D::HorsesChange);
    HorsesChange();
}

void TMCKellyBDialoog::HorsesChange() {
    const int h = HorsesEdit->value();
    for (int i = 0; i < kMaxHorses; ++i) {
        const bool on = i < h;
        const auto k = static_cast<std::size_t>(i);
        for (QLineEdit* e : {ProbEdit[k], PayEdit[k], FracEdit[k]}) e->setEnabled(on);
        for (QLabel* l : {ProbLabel[k], PayLabel[k], FracLabel[k]}) {
            QPalette pal = l->palette();
            pal.setColor(QPalette::WindowText,
                         on ? palette().color(QPalette::WindowText) : QColor(128, 128, 128));
            l->setPalette(pal);
        }
    }
}

void TMCKellyBDialoog::Open() {
    Form.restore();
    for (int i = 0; i < kMaxHorses; ++i) {
        const auto k = static_cast<std::size_t>(i);
        for (QLineEdit* e : {ProbEdit[k], PayEdit[k], FracEdit[k]}) e->clear();
    }
    HorsesChange();
    const QPoint at = module()->SideBySide(width(), 0);
    move(at);
    show();
    raise();
    activateWindow();
}

KellyTexts TMCKellyBDialoog::texts() const {
    KellyTexts t;
    t.horses = HorsesEdit->value();
    t.races = RacesEdit->value();
    for (std::size_t i = 0; i < kMaxHorses; ++i) {
        t.probabilities[i] = ProbEdit[i]->text().toStdString();
        t.payoffs[i] = PayEdit[i]->text().toStdString();
        t.fractions[i] = FracEdit[i]->text().toStdString();
    }
    return t;
}

void TMCKellyBDialoog::OKBtnClick() {
    if (Plot->drawing()) return;
    Form.commit();
    const auto checked = ValidateKelly(texts());
    if (const auto* e = std::get_if<KellyError>(&checked)) {
        MsgDlg(QString::fromStdString(e->message), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
        QLineEdit* field = nullptr;
        const auto k = static_cast<std::size_t>(e->horse);
        if (e->group == KellyGroup::Probability) field = ProbEdit[k];
        if (e->group == KellyGroup::Payoff) field = PayEdit[k];
        if (e->group == KellyGroup::Fraction) field = FracEdit[k];
        if (field) {
            field->setFocus();
            field->selectAll();
        }
        return;
    }
    const KellyInput& input = std::get<KellyInput>(checked);
    if (ComputeKellyFractions(input.p, input.u).allNegative)
        MsgDlg(QStringLiteral("All B-values are negative"), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
    hide();
    Plot->move(module()->SideBySide(Plot->width(), 0));
    Plot->show();
    Plot->raise();
    Plot->StartRun(input);
}

void TMCKellyBDialoog::TerugBtnClick() {
    hide();
    module()->ShowChooser();
}

std::unique_ptr<TMCExperiment> CreateKellyExperiment(TMC* module) {
    auto e = std::make_unique<TMCExperimentWindows>();
    auto* data = new TMCKellyBData(module);
    auto* plot = new TMCKellyBPlot(module, data);
    auto* dlg = new TMCKellyBDialoog(module, plot);
    plot->setDialog(dlg);
    QPointer<TMCKellyBDialoog> d(dlg);
    QPointer<TMCKellyBPlot> g(plot);
    e->open = [d] {
        if (d) d->Open();
    };
    e->stop = [g] {
        if (g) g->FinishDrawing();
    };
    e->running = [g] { return g && g->drawing(); };
    e->windows = {dlg, plot, data};
    return e;
}

} // namespace tarvik::montecarlo::ui
