#include "modules/montecarlo/ui/mcbuffonunit.h"

#include "common/ui/picturesave.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

namespace tarvik::montecarlo::ui {

namespace {
// The board's area is 632 pixels wide; the picture is wider so that the
// interval written at x = 544 fits whole.
constexpr int kBoardW = 672;
} // namespace

// --- TMCBuffonPlot ------------------------------------------------------------------

TMCBuffonPlot::TMCBuffonPlot(TMC* module)
    : TMCWindow(module, QStringLiteral("MC")), Picture(NewPicture(kBoardW, 562)) {
    setObjectName(QStringLiteral("MCBuffonPlot"));
    helpContext = 60;
    setFixedSize(kBoardW, 562);
    Board = new TMCPictureBox(&Picture, this);
    Board->setGeometry(0, 0, kBoardW, 562);
    RunBtn = PlaceButton(this, QStringLiteral("Stop"), "RunBtn", 32, 512);
    TerugBtn = PlaceButton(this, QStringLiteral("Previous"), "TerugBtn", 128, 512);
    SaveBtn = SaveGraphButton(this);
    SaveBtn->setGeometry(224, 510, 30, 28);
    connect(RunBtn, &QPushButton::clicked, this, &TMCBuffonPlot::RunBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TMCBuffonPlot::TerugBtnClick);
    connect(SaveBtn, &QToolButton::clicked, this, &TMCBuffonPlot::SaveBtnClick);
    // The frame stops a run, then acts as "Previous".
    onFrameClose = [this] {
        if (running()) {
            StopFlag = true;
            BackAfterRun = true;
        } else {
            TerugBtnClick();
        }
    };
    DrawBoard();
}

void TMCBuffonPlot::DrawBoard() {
    Picture.fill(ButtonFace());
    QPainter p(&Picture);
    p.setFont(CanvasFont());
    QPen frame(Qt::yellow);
    frame.setWidth(2);
    p.setPen(frame);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(QPoint(15, 15), QPoint(619, 439)));
    for (int k = 1; k <= 6; ++k) LineAt(p, 16, 16 + 60 * k, 616, 16 + 60 * k, Qt::black);
    p.setPen(Qt::black);
    TextAt(p, 32, 456, QStringLiteral("Number of throws:"));
    TextAt(p, 208, 456, QStringLiteral("Intersections:"));
    TextAt(p, 448, 456, QStringLiteral("Approximation of Pi:"));
    TextAt(p, 392, 480, QStringLiteral("95% Confidence interval:"));
    p.end();
    Board->update();
}

void TMCBuffonPlot::DrawNeedle(const Needle& n) {
    QPainter p(&Picture);
    p.setFont(CanvasFont());
    LineAt(p, BuffonPixel(n.x1), BuffonPixel(n.y1), BuffonPixel(n.x2), BuffonPixel(n.y2),
           n.crosses ? Qt::red : Qt::blue);
}

void TMCBuffonPlot::DrawCounts() {
    QPainter p(&Picture);
    p.setFont(CanvasFont());
    const QColor face = ButtonFace();
    const auto field = [&](int x, int y, int w, const std::string& text) {
        p.fillRect(QRect(x, y, w, 20), face);
        p.setPen(Qt::black);
        TextAt(p, x, y, QString::fromStdString(text));
    };
    field(128, 456, 76, Experiment.throwsText());
    field(304, 456, 130, Experiment.crossingsText());
    if (Experiment.crossings() > 0) field(544, 456, kBoardW - 544, Experiment.estimateText());
    field(544, 480, kBoardW - 544, Experiment.intervalText());
    // The labels again, over anything a long value left behind.
    p.setPen(Qt::black);
    TextAt(p, 32, 456, QStringLiteral("Number of throws:"));
    TextAt(p, 208, 456, QStringLiteral("Intersections:"));
    TextAt(p, 448, 456, QStringLiteral("Approximation of Pi:"));
    TextAt(p, 392, 480, QStringLiteral("95% Confidence interval:"));
    p.end();
    Board->repaint();
}

void TMCBuffonPlot::StartRun(int throws, bool fast) {
    Fast = fast;
    module()->SeedRun();
    Experiment.Start(throws);
    DrawBoard();
    Go();
}

void TMCBuffonPlot::Go() {
    if (running()) return;
    RunState = State::Running;
    RunBtn->setText(QStringLiteral("Stop"));
    TerugBtn->setEnabled(false);
    Pending = true;
    QTimer::singleShot(0, this, [self = QPointer<TMCBuffonPlot>(this)] {
        if (!self) return;
        self->Pending = false;
        if (self->module()->ModuleClosing()) return;
        self->StopFlag = false;
        self->BackAfterRun = false;
        MCRunProgress progress(self->module(), &self->StopFlag, [p = self.data()] { p->DrawCounts(); });
        const bool fast = self->Fast;
        const bool done = RunBuffon(self->Experiment, progress, [&](const Needle& n) {
            self->DrawNeedle(n);
            if (!fast) progress.pause(10);
        });
        if (!self || self->module()->ModuleClosing()) return;
        self->DrawCounts();
        self->RunState = done ? State::Finished : State::Paused;
        self->RunBtn->setText(done ? QStringLiteral("Again") : QStringLiteral("Continue"));
        self->TerugBtn->setEnabled(true);
        if (self->BackAfterRun) self->TerugBtnClick();
    });
}

void TMCBuffonPlot::RunBtnClick() {
    switch (RunState) {
    case State::Running:
        StopFlag = true;
        break;
    case State::Paused:
        Go();
        break;
    case State::Finished:
    case State::Idle:
        StartRun(Experiment.target(), Fast);
        break;
    }
}

void TMCBuffonPlot::TerugBtnClick() {
    if (running()) return;
    hide();
    if (Dialog) {
        Dialog->show();
        Dialog->raise();
    }
}

void TMCBuffonPlot::SaveBtnClick() {
    tarvik::ui::SaveGraphBitmap(Picture, QStringLiteral("Buffon.bmp"));
}

// --- TMCBuffonDialoog --------------------------------------------------------------

TMCBuffonDialoog::TMCBuffonDialoog(TMC* module, TMCBuffonPlot* plot)
    : TMCWindow(module, QStringLiteral("Buffon")), Plot(plot) {
    setObjectName(QStringLiteral("MCBuffonDialoog"));
    helpContext = 60;
    setFixedSize(300, 170);
    ParamGroup = new QGroupBox(QStringLiteral("Parameters"), this);
    ParamGroup->setGeometry(8, 8, 284, 110);
    PlaceLabel(ParamGroup, QStringLiteral("Number of throws"), 12, 30);
    ThrowsEdit = new TMCSpinEdit(kBuffonThrows, ParamGroup);
    ThrowsEdit->setObjectName(QStringLiteral("ThrowsEdit"));
    ThrowsEdit->setGeometry(150, 26, 110, 24);
    FastBox = new QCheckBox(QStringLiteral("Fast simulation"), ParamGroup);
    FastBox->setObjectName(QStringLiteral("FastBox"));
    FastBox->setGeometry(12, 66, 200, 22);
    FastBox->setChecked(true);
    OKBtn = PlaceButton(this, QStringLiteral("OK"), "OKBtn", 16, 130);
    TerugBtn = PlaceButton(this, QStringLiteral("Previous"), "TerugBtn", 110, 130);
    QToolButton* help = ExplanationButton(this, 60);
    help->setGeometry(254, 130, 30, 25);
    connect(OKBtn, &QPushButton::clicked, this, &TMCBuffonDialoog::OKBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TMCBuffonDialoog::TerugBtnClick);
    onFrameClose = [this] { TerugBtnClick(); };
}

void TMCBuffonDialoog::Open() {
    ThrowsEdit->restoreDefault();
    FastBox->setChecked(true);
    const QPoint at = module()->SideBySide(width(), 0);
    move(at);
    show();
    raise();
    activateWindow();
}

void TMCBuffonDialoog::OKBtnClick() {
    if (Plot->running()) return;
    const int throws = ThrowsEdit->commit();
    hide();
    const QPoint at = module()->SideBySide(Plot->width(), 0);
    Plot->move(at);
    Plot->show();
    Plot->raise();
    Plot->StartRun(throws, FastBox->isChecked());
}

void TMCBuffonDialoog::TerugBtnClick() {
    hide();
    module()->ShowChooser();
}

std::unique_ptr<TMCExperiment> CreateBuffonExperiment(TMC* module) {
    auto e = std::make_unique<TMCExperimentWindows>();
    auto* plot = new TMCBuffonPlot(module);
    auto* dlg = new TMCBuffonDialoog(module, plot);
    plot->setDialog(dlg);
    QPointer<TMCBuffonDialoog> d(dlg);
    QPointer<TMCBuffonPlot> g(plot);
    e->open = [d] {
        if (d) d->Open();
    };
    e->stop = [g] {
        if (g) g->Stop();
    };
    e->running = [g] { return g && g->running(); };
    e->windows = {dlg, plot};
    return e;
}

} // namespace tarvik::montecarlo::ui
