#include "modules/montecarlo/ui/mcbuffonunit.h"

#include "common/ui/picturesave.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <algorithm>

#include <QCheckBox>
#include <QGroupBox>
#include <QPainterPath>
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
    Board->setAccessibleDescription(
        QStringLiteral("Buffon's needle: needles crossing a line (red) and not (blue)"));
    DrawBoard();
}

void TMCBuffonPlot::DrawBoard() {
    Canvas.reset(ButtonFace());
    Canvas.draw([](QPainter& p) {
        p.setFont(CanvasFont());
        QPen frame(Qt::yellow);
        frame.setWidth(2);
        p.setPen(frame);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRect(QPoint(15, 15), QPoint(619, 439)));
        for (int k = 1; k <= 6; ++k) LineAt(p, 16, 16 + 60 * k, 616, 16 + 60 * k, Qt::black);
        PaintLabels(p);
    });
    // The needles of a run (up to a hundred thousand) are kept as one step
    // over their own compact list.
    Needles.clear();
    Canvas.keep(QStringLiteral("needles"), [this](QPainter& p) { PaintNeedles(p); });
    Board->update();
}

namespace {

// The labels under the board, each with the place of its value.
struct CountLabel {
    int x, y;
    const char* text;
    int valueX;
};
constexpr CountLabel kCountLabels[] = {{32, 456, "Number of throws:", 128},
                                       {208, 456, "Intersections:", 304},
                                       {448, 456, "Approximation of Pi:", 544},
                                       {392, 480, "95% Confidence interval:", 544}};

// Where a label's value starts: at its place, or a blank after the label
// where the label (in the font at hand) reaches further.
int ValueX(const QFontMetrics& fm, const CountLabel& l) {
    const int end =
        l.x + fm.horizontalAdvance(QLatin1String(l.text)) + fm.horizontalAdvance(QLatin1Char(' '));
    return std::max(l.valueX, end);
}

} // namespace

void TMCBuffonPlot::PaintLabels(QPainter& p) {
    p.setPen(Qt::black);
    for (const CountLabel& l : kCountLabels) TextAt(p, l.x, l.y, QLatin1String(l.text));
}

QLine TMCBuffonPlot::NeedleLine(const Needle& n) {
    return QLine(BuffonPixel(n.x1), BuffonPixel(n.y1), BuffonPixel(n.x2), BuffonPixel(n.y2));
}

void TMCBuffonPlot::DrawNeedle(const Needle& n) {
    const QLine line = NeedleLine(n);
    {
        QPainter p(&Picture);
        LineAt(p, line.x1(), line.y1(), line.x2(), line.y2(), n.crosses ? Qt::red : Qt::blue);
    }
    Needles.push_back({line, n.crosses});
}

void TMCBuffonPlot::PaintNeedles(QPainter& p) const {
    // One path per colour keeps the drawing of a long run small: the needles
    // that miss the lines first, those that cross them over them.
    for (const bool crosses : {false, true}) {
        QPainterPath path;
        for (const DrawnNeedle& n : Needles) {
            if (n.crosses != crosses) continue;
            path.moveTo(n.line.p1());
            path.lineTo(n.line.p2());
        }
        QPen pen(crosses ? Qt::red : Qt::blue);
        pen.setCapStyle(Qt::FlatCap);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawPath(path);
    }
}

void TMCBuffonPlot::DrawCounts() {
    // The counts are painted over again and again; the last painting is the one kept.
    Canvas.draw(QStringLiteral("counts"), [e = Experiment](QPainter& p) {
        p.setFont(CanvasFont());
        const QColor face = ButtonFace();
        const QFontMetrics fm(p.font());
        // Each value in a field of its own, from its place to the next label
        // (or the picture's edge): painted over, never over a label.
        const auto field = [&](int label, int w, const std::string& text) {
            const CountLabel& l = kCountLabels[label];
            const int x = ValueX(fm, l);
            p.fillRect(QRect(x, l.y, w > 0 ? w - (x - l.valueX) : kBoardW - x, 20), face);
            p.setPen(Qt::black);
            TextAt(p, x, l.y, QString::fromStdString(text));
        };
        field(0, 76, e.throwsText());
        field(1, 130, e.crossingsText());
        if (e.crossings() > 0) field(2, 0, e.estimateText());
        field(3, 0, e.intervalText());
    });
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
        self->Describe();
        self->RunState = done ? State::Finished : State::Paused;
        self->RunBtn->setText(done ? QStringLiteral("Again") : QStringLiteral("Continue"));
        self->TerugBtn->setEnabled(true);
        if (self->BackAfterRun) self->TerugBtnClick();
    });
}

void TMCBuffonPlot::Describe() {
    Board->setAccessibleDescription(
        QStringLiteral("Buffon's needle: needles crossing a line (red) and not (blue); %1 throws, %2 "
                       "intersections, approximation of Pi %3, 95% confidence interval %4")
            .arg(QString::fromStdString(Experiment.throwsText()),
                 QString::fromStdString(Experiment.crossingsText()),
                 Experiment.crossings() > 0 ? QString::fromStdString(Experiment.estimateText())
                                            : QStringLiteral("-"),
                 QString::fromStdString(Experiment.intervalText())));
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
    Canvas.save(QStringLiteral("Buffon.bmp"));
}

// --- TMCBuffonDialoog --------------------------------------------------------------

TMCBuffonDialoog::TMCBuffonDialoog(TMC* module, TMCBuffonPlot* plot)
    : TMCWindow(module, QStringLiteral("Buffon")), Plot(plot) {
    setObjectName(QStringLiteral("MCBuffonDialoog"));
    helpContext = 60;
    setFixedSize(300, 170);
    ParamGroup = new QGroupBox(QStringLiteral("Parameters"), this);
    ParamGroup->setGeometry(8, 8, 284, 110);
    using D = TMCBuffonDialoog;
    using R = MCRow<D>;
    Form.add(ParamGroup,
             {
                 R::Spin("Number of throws", "ThrowsEdit", &D::ThrowsEdit, kBuffonThrows).at(150, 26, 110),
             });
    FastBox = new QCheckBox(QStringLiteral("Fast simulation"), ParamGroup);
    FastBox->setObjectName(QStringLiteral("FastBox"));
    FastBox->setGeometry(12, 66, 200, 22);
    FastBox->setChecked(true);
    PlaceSettingsButtons(this, 130, 254, 60);
}

void TMCBuffonDialoog::Open() {
    Form.restore();
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
    auto* plot = new TMCBuffonPlot(module);
    auto* dlg = new TMCBuffonDialoog(module, plot);
    plot->setDialog(dlg);
    return ExperimentOf(dlg, plot, {dlg, plot});
}

} // namespace tarvik::montecarlo::ui
