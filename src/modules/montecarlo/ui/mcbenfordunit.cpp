#include "modules/montecarlo/ui/mcbenfordunit.h"

#include "common/numformat.h"
#include "common/ui/picturesave.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcreport.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>

namespace tarvik::montecarlo::ui {

namespace {
constexpr int kPictureW = 609;
constexpr int kPictureH = 345;
} // namespace

// --- TMCBenfordPlot ---------------------------------------------------------------

TMCBenfordPlot::TMCBenfordPlot(TMC* module)
    : TMCGraphWindow(module, QStringLiteral("Law of Benford"), kPictureW, kPictureH, false) {
    setObjectName(QStringLiteral("MCBenfordPlot"));
    Graph->setAccessibleDescription(QStringLiteral(
        "Law of Benford: share of each leading digit (red) beside the Benford approximation value (blue)"));
    DrawStatic();
}

void TMCBenfordPlot::DrawStatic() {
    Canvas.reset(ButtonFace());
    Canvas.draw([](QPainter& p) {
        p.setFont(CanvasFont());
        p.setPen(Qt::black);
        for (int d = 1; d <= 9; ++d) TextAt(p, 60 * d + 26, 312, QString::number(d));
        for (int k = 1; k <= 8; ++k)
            TextAt(p, 19, 40 * k - 28, QString::fromStdString(FormatFixed(0.40 - 0.05 * k, 2)));
        TextAt(p, 24, 328, QStringLiteral("Simulations"));
        TextAt(p, 464, 12, QStringLiteral("Simulated values"));
        {
            // The substitute font is wider than the original: the legend is
            // narrowed until it ends within the picture.
            QFont narrow = p.font();
            for (int stretch = 100; stretch >= 70; stretch -= 5) {
                narrow.setStretch(stretch);
                if (QFontMetrics(narrow).horizontalAdvance(QStringLiteral("Benford approximation value")) <=
                    kPictureW - 466)
                    break;
            }
            p.setFont(narrow);
            TextAt(p, 464, 36, QStringLiteral("Benford approximation value"));
            p.setFont(CanvasFont());
        }
        p.setPen(Qt::black);
        p.setBrush(Qt::red);
        p.drawRect(QRect(QPoint(440, 11), QPoint(457, 25)));
        p.setBrush(Qt::blue);
        p.drawRect(QRect(QPoint(440, 35), QPoint(457, 49)));
        for (int y = 16; y <= 256; y += 40) LineAt(p, 50, y, 57, y, Qt::black, 2);
        LineAt(p, 50, 296, 596, 296, Qt::black, 2);
        LineAt(p, 57, 8, 57, 296, Qt::black, 2);
        for (int d = 1; d <= 9; ++d)
            p.fillRect(QRect(QPoint(60 * d + 30, BenfordBarTop(d)), QPoint(60 * d + 50, 295)), Qt::blue);
    });
    Graph->update();
}

void TMCBenfordPlot::DrawBars(const BenfordResult& r) {
    Canvas.draw([r](QPainter& p) {
        p.setFont(CanvasFont());
        for (int d = 1; d <= 9; ++d) {
            const int top = std::max(BenfordShareTop(r.share(d)), 0);
            const int x1 = 60 * d + 6, x2 = 60 * d + 26;
            // Above the bar the column is cleared; from y = 150 on for the last
            // three digits, which keeps the legend.
            const int clearFrom = d <= 6 ? 0 : 150;
            if (top - 1 >= clearFrom)
                p.fillRect(QRect(QPoint(x1, clearFrom), QPoint(x2, top - 1)), ButtonFace());
            p.fillRect(QRect(QPoint(x1, top), QPoint(x2, 295)), Qt::red);
        }
        const QString t = QString::number(r.draws);
        const QFontMetrics fm(p.font());
        // At x = 80, or just after "Simulations" where the font is wider.
        const int x = std::max(80, 24 + fm.horizontalAdvance(QStringLiteral("Simulations")) + 6);
        p.fillRect(QRect(x, 328, std::max(fm.horizontalAdvance(t) + 30, 80), fm.height()), ButtonFace());
        p.setPen(Qt::black);
        TextAt(p, x, 328, t);
    });
}

void TMCBenfordPlot::Run(const BenfordParams& params) {
    if (Running || module()->ModuleClosing()) return;
    Params = params;
    Running = true;
    DrawStatic();
    AgainBtn->setEnabled(false);
    TerugBtn->setEnabled(false);
    module()->SeedRun();
    const int stream = ChooseStream();
    show();
    raise();
    // The picture refreshes but no user events are handled: a million draws
    // take well under a second. Repaints are limited to about sixty a second.
    QElapsedTimer clock;
    clock.start();
    qint64 lastPaint = -1000;
    tarvik::Progress progress;
    Last = RunBenford(Params, stream, progress, [&](const BenfordResult& r) {
        DrawBars(r);
        if (clock.elapsed() - lastPaint >= 16) {
            Graph->repaint();
            lastPaint = clock.elapsed();
        }
    });
    Graph->repaint();
    Describe();
    Running = false;
    AgainBtn->setEnabled(true);
    TerugBtn->setEnabled(true);
}

void TMCBenfordPlot::Describe() {
    QStringList shares;
    for (int d = 1; d <= 9; ++d)
        shares << QStringLiteral("%1: %2").arg(d).arg(QString::fromStdString(FormatFixed(Last.share(d), 3)));
    Graph->setAccessibleDescription(
        QStringLiteral(
            "Law of Benford: share of each leading digit (red) in %1 simulations beside the Benford "
            "approximation value (blue); simulated %2")
            .arg(Last.draws)
            .arg(shares.join(QStringLiteral(", "))));
}

void TMCBenfordPlot::AgainBtnClick() {
    Run(Params);
}

void TMCBenfordPlot::TerugBtnClick() {
    if (Running) return;
    hide();
    ShowAgain(Dialog, true);
}

void TMCBenfordPlot::SaveBtnClick() {
    Canvas.save(QStringLiteral("Benford.bmp"));
}

// --- TMCBenfordDialoog ----------------------------------------------------------------

TMCBenfordDialoog::TMCBenfordDialoog(TMC* module, TMCBenfordPlot* plot)
    : TMCWindow(module, QStringLiteral("Law of Benford")), Plot(plot) {
    setObjectName(QStringLiteral("MCBenfordDialoog"));
    setFixedSize(330, 500);
    auto* params = new QGroupBox(QStringLiteral("Parameters"), this);
    params->setGeometry(8, 8, 314, 90);
    using D = TMCBenfordDialoog;
    using R = MCRow<D>;
    Form.add(params, {
                         R::Spin("Number of intervals", "IntervalsEdit", &D::IntervalsEdit, kBenfordIntervals)
                             .at(170, 24, 120),
                         R::Spin("Number of draws", "DrawsEdit", &D::DrawsEdit, kBenfordDraws)
                             .at(170, 54, 120)
                             .stepBy(100),
                     });
    auto* intervals = new QGroupBox(QStringLiteral("Intervals"), this);
    intervals->setGeometry(8, 106, 314, 340);
    for (int i = 0; i < kFields; ++i) {
        const auto k = static_cast<std::size_t>(i);
        IntervalLabel[k] = PlaceLabel(intervals, QStringLiteral("Interval%1").arg(i + 1), 12, 28 + 30 * i);
        IntervalEdit[k] = new QLineEdit(intervals);
        IntervalEdit[k]->setObjectName(QStringLiteral("IntervalEdit%1").arg(i + 1));
        IntervalEdit[k]->setGeometry(110, 24 + 30 * i, 180, 24);
        ColourOnFocus(IntervalEdit[k]);
    }
    // This window has no help context of its own: the module's topic opens.
    PlaceSettingsButtons(this, 460, 284, 6);
    connect(IntervalsEdit, &QSpinBox::valueChanged, this, &D::IntervalsChange);
    IntervalsChange();
}

void TMCBenfordDialoog::IntervalsChange() {
    const int k = IntervalsEdit->value();
    for (int i = 0; i < kFields; ++i) {
        const auto j = static_cast<std::size_t>(i);
        const bool on = i < k;
        IntervalEdit[j]->setEnabled(on);
        QPalette pal = IntervalLabel[j]->palette();
        pal.setColor(QPalette::WindowText,
                     on ? palette().color(QPalette::WindowText) : QColor(128, 128, 128));
        IntervalLabel[j]->setPalette(pal);
    }
}

void TMCBenfordDialoog::Open() {
    Form.restore();
    for (QLineEdit* e : IntervalEdit) e->clear();
    IntervalsChange();
    Plot->hide();
    OpenBeside(Plot, false);
}

void TMCBenfordDialoog::OKBtnClick() {
    if (Plot->running()) return;
    const int k = IntervalsEdit->commit();
    const int draws = DrawsEdit->commit();
    std::vector<std::string> texts;
    for (int i = 0; i < k; ++i)
        texts.push_back(IntervalEdit[static_cast<std::size_t>(i)]->text().toStdString());
    std::vector<std::int64_t> bounds;
    if (const auto refused = CheckBenfordBounds(texts, bounds)) {
        RefuseInput(QString::fromStdString(refused->message),
                    IntervalEdit[static_cast<std::size_t>(refused->index)]);
        return;
    }
    hide();
    Plot->Run({.bounds = bounds, .draws = draws});
}

void TMCBenfordDialoog::TerugBtnClick() {
    hide();
    Plot->hide();
    module()->ShowChooser();
}

std::unique_ptr<TMCExperiment> CreateBenfordExperiment(TMC* module) {
    auto e = std::make_unique<TMCExperimentWindows>();
    auto* plot = new TMCBenfordPlot(module);
    auto* dlg = new TMCBenfordDialoog(module, plot);
    plot->setDialog(dlg);
    QPointer<TMCBenfordDialoog> d(dlg);
    QPointer<TMCBenfordPlot> g(plot);
    e->open = [d] {
        if (d) d->Open();
    };
    e->running = [g] { return g && g->running(); };
    e->windows = {dlg, plot};
    return e;
}

} // namespace tarvik::montecarlo::ui
