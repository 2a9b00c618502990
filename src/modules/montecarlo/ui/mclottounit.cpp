#include "modules/montecarlo/ui/mclottounit.h"

#include "common/numformat.h"
#include "common/ui/picturesave.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcreport.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cmath>

namespace tarvik::montecarlo::ui {

namespace {

constexpr int kGraphH = 250;

int BallX(int k, long long value) {
    return 12 * k + (value > 9 ? 15 : 18);
}

// The left 13 s pixels of a picture: the part that is saved.
QRect LeftPart(const QImage& picture, int balls) {
    return QRect(0, 0, std::min(13 * balls, picture.width()), picture.height());
}

void Bar(QPainter& p, int x1, int x2, int bottom, int top) {
    p.setPen(Qt::black);
    p.setBrush(Qt::red);
    p.drawRect(QRect(QPoint(x1, top), QPoint(x2, bottom)));
}

} // namespace

// --- TMCLottoHotnCold ---------------------------------------------------------------------

TMCLottoHotnCold::TMCLottoHotnCold(TMC* module)
    : TMCWindow(module, QStringLiteral("How many draws ago the number was drawn for the last time")),
      Picture(NewPicture(715, 240)) {
    setObjectName(QStringLiteral("MCLottoHotnCold"));
    setWindowModality(Qt::ApplicationModal);
    Graph = new TMCPictureBox(&Picture, this);
    Graph->setAccessibleDescription(QStringLiteral("Hot and Cold: nothing drawn yet"));
    OKBtn = PlaceButton(this, QStringLiteral("OK"), "OKBtn", 0, 248);
    SaveBtn = SaveGraphButton(this);
    connect(OKBtn, &QPushButton::clicked, this, &QWidget::hide);
    connect(SaveBtn, &QToolButton::clicked, this, &TMCLottoHotnCold::SaveBtnClick);
    onFrameClose = [this] { hide(); };
    SaveBtn->setGeometry(OKBtn->geometry().right() + 8, 248, 30, 28); // on the right of OK until drawn
}

void TMCLottoHotnCold::Draw(const LottoState& s) {
    Balls = s.balls;
    const int w = 12 * s.balls + 58;
    setFixedSize(w, 284);
    Graph->setGeometry(0, 0, w, 240);
    OKBtn->move((w - OKBtn->width()) / 2, 250);
    SaveBtn->setGeometry(12 * s.balls - 12, 248, 30, 28);
    Picture = NewPicture(715, 240);
    Canvas.reset(ButtonFace());
    int largest = 0;
    for (int k = 1; k <= s.balls; ++k) largest = std::max(largest, s.age(k));
    std::vector<int> ages;
    for (int k = 1; k <= s.balls; ++k) ages.push_back(s.age(k));
    Canvas.draw([balls = s.balls, largest, ages](QPainter& p) {
        const auto age = [&ages](int k) { return ages[static_cast<std::size_t>(k - 1)]; };
        p.setFont(CanvasFont());
        const int t = largest / 10;
        const double scale = 100.0 / (t * 5 + 5);
        p.setPen(Qt::black);
        TextAt(p, 4, 6, QString::number(t * 10 + 10));
        TextAt(p, 4, 106, QString::number(t * 5 + 5));
        TextAt(p, 4, 206, QStringLiteral("0"));
        LineAt(p, 24, 5, 24, 212, Qt::black, 2);
        LineAt(p, 26, 212, 12 * balls + 39, 212, Qt::black, 2);
        for (int y : {12, 62, 112, 162}) LineAt(p, 26, y, 12 * balls + 39, y, Qt::black);
        p.setPen(Qt::black);
        for (int k = 1; k <= balls; ++k) TextAt(p, BallX(k, k), k % 2 == 1 ? 220 : 230, QString::number(k));
        for (int k = 1; k <= balls; ++k) {
            const int h = static_cast<int>(age(k) * scale);
            if (h > 0) Bar(p, 12 * k + 19, 12 * k + 25, 212, 212 - h);
            p.setPen(Qt::black);
            TextAt(p, BallX(k, age(k)), 198 - h, QString::number(age(k)));
        }
    });
    QStringList oldest;
    for (int k = 1; k <= s.balls; ++k)
        if (s.age(k) == largest) oldest << QString::number(k);
    Graph->setAccessibleDescription(
        QStringLiteral("Hot and Cold: how many draws ago each of the %1 numbers was drawn for the last time, "
                       "after %2 draws; longest ago: %3 (%4 draws)")
            .arg(s.balls)
            .arg(s.draws)
            .arg(oldest.join(QStringLiteral(", ")))
            .arg(largest));
    Graph->update();
}

void TMCLottoHotnCold::SaveBtnClick() {
    Canvas.save(QStringLiteral("HotNCold.bmp"), false, QStringLiteral("Bitmap-bestanden (*.bmp)"),
                LeftPart(Picture, Balls));
}

// --- TMCLottoGoodnBad ----------------------------------------------------------------------

TMCLottoGoodnBad::TMCLottoGoodnBad(TMC* module)
    : TMCWindow(module, QStringLiteral("Difference between the most and least drawn numbers")),
      Picture(NewPicture(560, 330)) {
    setObjectName(QStringLiteral("MCLottoGoodnBad"));
    setFixedSize(560, 374);
    Graph = new TMCPictureBox(&Picture, this);
    Graph->setGeometry(0, 0, 560, 330);
    Graph->setAccessibleDescription(QStringLiteral("Random Walk: nothing drawn yet"));
    OKBtn = PlaceButton(this, QStringLiteral("OK"), "OKBtn", 16, 338);
    SaveBtn = SaveGraphButton(this);
    SaveBtn->setGeometry(100, 336, 30, 28);
    connect(OKBtn, &QPushButton::clicked, this, &TMCLottoGoodnBad::OKBtnClick);
    connect(SaveBtn, &QToolButton::clicked, this, &TMCLottoGoodnBad::SaveBtnClick);
    onFrameClose = [this] {
        if (OKBtn->isEnabled()) OKBtnClick();
    };
}

void TMCLottoGoodnBad::Draw(const LottoState& s) {
    OKBtn->setEnabled(false);
    SaveBtn->setEnabled(false);
    Canvas.reset(ButtonFace());
    const int n = s.draws;
    long long top = 0;
    for (int i = 0; i <= n; ++i) top = std::max(top, s.walk[static_cast<std::size_t>(i)]);
    // Raised to a multiple of 5 (at least 5, so that the scale exists).
    const long long d = std::max<long long>(5, (top + 4) / 5 * 5);
    const double step = d / 5.0;
    Canvas.draw([n, step](QPainter& p) {
        p.setFont(CanvasFont());
        LineAt(p, 26, 10, 26, 300, Qt::black, 2);
        LineAt(p, 26, 300, 526, 300, Qt::black, 2);
        for (int y = 50; y <= 250; y += 50) LineAt(p, 26, y, 526, y, Qt::black);
        p.setPen(Qt::black);
        for (int q = 0; q <= 5; ++q) TextAt(p, 8, 294 - 50 * q, QString::number(std::lround(q * step)));
        TextAt(p, 22, 310, QStringLiteral("0"));
        TextAt(p, 272, 310, QString::number(n / 2));
        TextAt(p, 514, 310, QString::number(n));
    });
    const double hs = 500.0 / n, vs = 50 / step;
    const auto y = [&](int i) { return 300 - static_cast<int>(s.walk[static_cast<std::size_t>(i)] * vs); };
    // The window refreshes as the segments come, at most about sixty times a
    // second; the segments painted between two refreshes make one step.
    std::vector<QLine> segments;
    const auto paintSegments = [this, &segments] {
        Canvas.draw([lines = std::move(segments)](QPainter& p) {
            for (const QLine& l : lines) LineAt(p, l.x1(), l.y1(), l.x2(), l.y2(), Qt::yellow, 2);
        });
        segments.clear();
    };
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < n; ++i) {
        segments.emplace_back(26 + static_cast<int>(i * hs), y(i), 26 + static_cast<int>((i + 1) * hs),
                              y(i + 1));
        if (isVisible() && clock.elapsed() >= 16) {
            paintSegments();
            Graph->repaint();
            clock.restart();
        }
    }
    paintSegments();
    const long long end = s.walk[static_cast<std::size_t>(n)];
    Canvas.draw(
        [x = 26 + static_cast<int>((n + 1) * hs), y = 294 - static_cast<int>(end * vs), end](QPainter& p) {
            p.setFont(CanvasFont());
            p.setPen(Qt::black);
            TextAt(p, x, y, QString::number(end));
        });
    Graph->setAccessibleDescription(
        QStringLiteral(
            "Random Walk: difference between the most and least drawn numbers over %1 draws; largest "
            "%2, at the end %3")
            .arg(n)
            .arg(top)
            .arg(end));
    Graph->update();
    OKBtn->setEnabled(true);
    SaveBtn->setEnabled(true);
}

void TMCLottoGoodnBad::OKBtnClick() {
    hide();
    ShowAgain(GraphWindow, false);
}

void TMCLottoGoodnBad::SaveBtnClick() {
    Canvas.save(QStringLiteral("GoodNBad.bmp"));
}

// --- TMCLottoData -----------------------------------------------------------------------------

TMCLottoData::TMCLottoData(TMC* module) : TMCWindow(module, QStringLiteral("Data")) {
    setObjectName(QStringLiteral("MCLottoData"));
    setFixedSize(560, 480);
    Report = PlaceReportView(this, QRect(8, 8, 544, 420), QStringLiteral("Lotto"), QStringLiteral("Lotto"));
    OKBtn = PlaceButton(this, QStringLiteral("OK"), "OKBtn", 242, 442);
    connect(OKBtn, &QPushButton::clicked, this, &TMCLottoData::OKBtnClick);
    onFrameClose = [this] { OKBtnClick(); };
}

void TMCLottoData::OKBtnClick() {
    hide();
    ShowAgain(GraphWindow, false);
}

// --- TMCLottoPlot --------------------------------------------------------------------------------

TMCLottoPlot::TMCLottoPlot(TMC* module, TMCLottoHotnCold* hot, TMCLottoGoodnBad* walk, TMCLottoData* data)
    : TMCWindow(module, QStringLiteral("Lotto")), Hot(hot), Walk(walk), Data(data),
      Picture(NewPicture(715, kGraphH)) {
    setObjectName(QStringLiteral("MCLottoPlot"));
    Graph = new TMCPictureBox(&Picture, this);
    AgainBtn = PlaceButton(this, QStringLiteral("Again"), "AgainBtn", 16, 0);
    TerugBtn = PlaceButton(this, QStringLiteral("Previous"), "TerugBtn", 96, 0);
    HotBtn = PlaceButton(this, QStringLiteral("Hot and Cold"), "HotBtn", 0, 0, 90);
    HotBtn->setToolTip(QStringLiteral("Overzicht van de Hot & Cold Numbers"));
    WalkBtn = PlaceButton(this, QStringLiteral("Random Walk"), "WalkBtn", 0, 0, 90);
    WalkBtn->setToolTip(QStringLiteral("Grafiek van verloop beste en slechtste nummer"));
    DataBtn = PlaceButton(this, QStringLiteral("Data"), "DataBtn", 0, 0, 60);
    SaveBtn = SaveGraphButton(this);
    for (QWidget* b : {static_cast<QWidget*>(HotBtn), static_cast<QWidget*>(WalkBtn),
                       static_cast<QWidget*>(DataBtn), static_cast<QWidget*>(SaveBtn)})
        b->setEnabled(false);
    connect(AgainBtn, &QPushButton::clicked, this, &TMCLottoPlot::AgainBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TMCLottoPlot::TerugBtnClick);
    connect(HotBtn, &QPushButton::clicked, this, &TMCLottoPlot::HotBtnClick);
    connect(WalkBtn, &QPushButton::clicked, this, &TMCLottoPlot::WalkBtnClick);
    connect(DataBtn, &QPushButton::clicked, this, &TMCLottoPlot::DataBtnClick);
    connect(SaveBtn, &QToolButton::clicked, this, &TMCLottoPlot::SaveBtnClick);
    // The frame acts as "Previous"; during a run it stops the run first.
    onFrameClose = [this] {
        if (Running) {
            StopFlag = true;
            BackAfterRun = true;
            return;
        }
        TerugBtnClick();
    };
    State.Reset(Balls, Drawn, Draws);
    Layout();
    Graph->setAccessibleDescription(QStringLiteral("Lotto: how often each number was drawn"));
    DrawStatic();
    setTabOrder(TerugBtn, SaveBtn); // the save button stands beside "Previous"
}

void TMCLottoPlot::Layout() {
    const int w = 12 * Balls + 58;
    setFixedSize(w, kGraphH + 44);
    Graph->setGeometry(0, 0, w, kGraphH);
    const int y = kGraphH + 8;
    AgainBtn->move(16, y);
    TerugBtn->move(96, y);
    SaveBtn->setGeometry(176, y - 2, 30, 28);
    DataBtn->move(w - 10 - DataBtn->width(), y);
    WalkBtn->move(DataBtn->x() - 4 - WalkBtn->width(), y);
    HotBtn->move(WalkBtn->x() - 4 - HotBtn->width(), y);
}

void TMCLottoPlot::DrawStatic() {
    Canvas.reset(ButtonFace());
    Canvas.draw([s = State.balls, draws = State.draws](QPainter& p) {
        p.setFont(CanvasFont());
        LineAt(p, 26, 192, 12 * s + 39, 192, Qt::black, 3);
        LineAt(p, 24, 5, 24, 193, Qt::black, 2);
        for (int y = 12; y <= 162; y += 30) LineAt(p, 26, y, 12 * s + 39, y, Qt::black, 2);
        p.setPen(Qt::black);
        for (int k = 1; k <= s; ++k) TextAt(p, BallX(k, k), k % 2 == 1 ? 200 : 210, QString::number(k));
        TextAt(p, 8, 232, QStringLiteral("Number of draws:"));
        const double v = draws / 5.0;
        TextAt(p, 4, 6, QString::number(static_cast<int>(v)));
        TextAt(p, 4, 66, QString::number(static_cast<int>(2 * v / 3)));
        TextAt(p, 4, 126, QString::number(static_cast<int>(v / 3)));
        TextAt(p, 4, 186, QStringLiteral("0"));
    });
}

void TMCLottoPlot::DrawBar(int ball) {
    const int x1 = 12 * ball + 19, x2 = 12 * ball + 25;
    const int h = static_cast<int>(std::lround(State.counts[static_cast<std::size_t>(ball)] * State.scale()));
    // Grid lines under a shrinking bar never occur: counts only grow, and the
    // last bar of a ball covers those before it, so it is all the drawing keeps.
    Canvas.draw(QStringLiteral("bar%1").arg(ball), [x1, x2, h](QPainter& p) {
        if (h > 0) Bar(p, x1, x2, 192, std::max(192 - h, 0));
    });
}

void TMCLottoPlot::Start(int balls, int drawn, int draws) {
    if (running()) return;
    Balls = balls;
    Drawn = drawn;
    Draws = draws;
    Continuing = false;
    Pending = true;
    QTimer::singleShot(0, this, [this] { Execute(1); });
}

void TMCLottoPlot::Execute(int from) {
    if (!Pending || Running || module()->ModuleClosing()) return;
    Pending = false;
    const QPointer<TMCLottoPlot> self(this);
    Running = true;
    Finished = false;
    StopFlag = false;
    BackAfterRun = false;
    for (QWidget* b :
         {static_cast<QWidget*>(TerugBtn), static_cast<QWidget*>(HotBtn), static_cast<QWidget*>(WalkBtn),
          static_cast<QWidget*>(DataBtn), static_cast<QWidget*>(SaveBtn)})
        b->setEnabled(false);
    AgainBtn->setText(QStringLiteral("Stop"));
    if (!Continuing) {
        module()->SeedRun();
        State.Reset(Balls, Drawn, Draws);
    }
    Layout();
    DrawStatic();
    for (int k = 1; k <= State.balls; ++k) DrawBar(k);
    Graph->update();
    const int d = State.barStep();
    MCRunProgress progress(module(), &StopFlag, [this] { Graph->repaint(); });
    RunLotto(State, from, progress, [this, d](int i, const std::vector<int>& balls) {
        if (i % d == 0)
            for (int b : balls) DrawBar(b);
        Canvas.draw(QStringLiteral("draw"), [i](QPainter& p) {
            p.setFont(CanvasFont());
            const QFontMetrics fm(p.font());
            p.fillRect(QRect(112, 232, 60, fm.height()), ButtonFace());
            p.setPen(Qt::red);
            TextAt(p, 112, 232, QString::number(i));
        });
    });
    if (!self || module()->ModuleClosing()) return;
    Running = false;
    if (State.current <= 500) {
        Canvas.draw([counts = State.counts, balls = State.balls, scale = State.scale()](QPainter& p) {
            p.setFont(CanvasFont());
            p.setPen(Qt::black);
            for (int k = 1; k <= balls; ++k) {
                const long long c = counts[static_cast<std::size_t>(k)];
                TextAt(p, BallX(k, c), 178 - static_cast<int>(std::lround(c * scale)), QString::number(c));
            }
            for (int y = 12; y <= 162; y += 30) LineAt(p, 26, y, 12 * balls + 39, y, Qt::black, 2);
        });
    }
    Describe();
    if (State.finished()) {
        Finished = true;
        Continuing = false;
        for (QWidget* b : {static_cast<QWidget*>(HotBtn), static_cast<QWidget*>(WalkBtn),
                           static_cast<QWidget*>(DataBtn), static_cast<QWidget*>(SaveBtn)})
            b->setEnabled(true);
        AgainBtn->setText(QStringLiteral("Again"));
    } else {
        AgainBtn->setText(QStringLiteral("Continue"));
        SaveBtn->setEnabled(true);
    }
    TerugBtn->setEnabled(true);
    Graph->update();
    if (BackAfterRun) {
        BackAfterRun = false;
        TerugBtnClick();
    }
}

void TMCLottoPlot::Describe() {
    QStringList most;
    const std::vector<int> ranking = State.ranking();
    for (std::size_t i = 0; i < std::min<std::size_t>(ranking.size(), 3); ++i)
        most << QStringLiteral("%1 (%2 times)")
                    .arg(ranking[i])
                    .arg(State.counts[static_cast<std::size_t>(ranking[i])]);
    Graph->setAccessibleDescription(
        QStringLiteral("Lotto: how often each of the %1 numbers was drawn in %2 of %3 draws of %4 numbers; "
                       "expected %5 each; most drawn %6")
            .arg(State.balls)
            .arg(State.current)
            .arg(State.draws)
            .arg(State.drawn)
            .arg(QString::fromStdString(FormatFixed(State.expectation(), 2)),
                 most.join(QStringLiteral(", "))));
}

void TMCLottoPlot::AgainBtnClick() {
    if (Running) {
        // "Stop": the run leaves its loop before the next draw.
        StopFlag = true;
        AgainBtn->setText(QStringLiteral("Continue"));
        SaveBtn->setEnabled(true);
        return;
    }
    if (Pending) return;
    if (AgainBtn->text() == QStringLiteral("Continue")) {
        Continuing = true;
        SaveBtn->setEnabled(false);
        Pending = true;
        const int from = State.current + 1;
        QTimer::singleShot(0, this, [this, from] { Execute(from); });
        return;
    }
    Continuing = false;
    Pending = true;
    QTimer::singleShot(0, this, [this] { Execute(1); });
}

void TMCLottoPlot::TerugBtnClick() {
    if (Running) return;
    Continuing = false;
    Pending = false;
    hide();
    Hot->hide();
    Walk->hide();
    Data->hide();
    ShowAgain(Dialog, true);
}

void TMCLottoPlot::HotBtnClick() {
    if (!Finished) return;
    Hot->Draw(State);
    Hot->move(pos() + QPoint(0, 40));
    Hot->show();
    Hot->raise();
}

void TMCLottoPlot::WalkBtnClick() {
    if (!Finished) return;
    hide();
    Walk->move(pos());
    Walk->show();
    Walk->raise();
    Walk->Draw(State);
}

void TMCLottoPlot::DataBtnClick() {
    if (!Finished) return;
    FillReport(Data->Report, LottoReport(State));
    hide();
    Data->move(pos());
    Data->show();
    Data->raise();
}

void TMCLottoPlot::SaveBtnClick() {
    Canvas.save(QStringLiteral("Lotto.bmp"), false, QStringLiteral("Bitmap-bestanden (*.bmp)"),
                LeftPart(Picture, State.balls));
}

// --- TMCLottoDialoog ----------------------------------------------------------------------------

TMCLottoDialoog::TMCLottoDialoog(TMC* module, TMCLottoPlot* plot)
    : TMCWindow(module, QStringLiteral("Settings")), Plot(plot) {
    setObjectName(QStringLiteral("MCLottoDialoog"));
    setFixedSize(300, 170);
    auto* params = new QGroupBox(QStringLiteral("Parameters"), this);
    params->setGeometry(8, 8, 284, 116);
    using D = TMCLottoDialoog;
    using R = MCRow<D>;
    Form.add(
        params,
        {
            R::Spin("Number of balls", "BallsEdit", &D::BallsEdit, kLottoBalls).at(180, 24, 80),
            R::Spin("Number of drawn balls", "DrawnEdit", &D::DrawnEdit, kLottoDrawn).at(180, 54, 80),
            R::Spin("Number of draws", "DrawsEdit", &D::DrawsEdit, kLottoDraws).at(180, 84, 80).stepBy(10),
        });
    // The settings have no help context of their own: the module's topic opens.
    PlaceSettingsButtons(this, 134, 256, 6);
}

void TMCLottoDialoog::Open() {
    Form.restore();
    Plot->hide();
    move(module()->SideBySide(width(), 0));
    show();
    raise();
    activateWindow();
}

void TMCLottoDialoog::OKBtnClick() {
    if (Plot->running()) return;
    const int balls = BallsEdit->commit();
    const int drawn = DrawnEdit->commit();
    const int draws = DrawsEdit->commit();
    hide();
    Plot->move(module()->SideBySide(12 * balls + 58, 0));
    Plot->show();
    Plot->raise();
    Plot->Start(balls, drawn, draws);
}

void TMCLottoDialoog::TerugBtnClick() {
    hide();
    Plot->hide();
    module()->ShowChooser();
}

std::unique_ptr<TMCExperiment> CreateLottoExperiment(TMC* module) {
    auto* hot = new TMCLottoHotnCold(module);
    auto* walk = new TMCLottoGoodnBad(module);
    auto* data = new TMCLottoData(module);
    auto* plot = new TMCLottoPlot(module, hot, walk, data);
    auto* dlg = new TMCLottoDialoog(module, plot);
    plot->setDialog(dlg);
    walk->setGraph(plot);
    data->setGraph(plot);
    return ExperimentOf(dlg, plot, {dlg, plot, hot, walk, data});
}

} // namespace tarvik::montecarlo::ui
