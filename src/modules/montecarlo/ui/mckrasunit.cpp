#include "modules/montecarlo/ui/mckrasunit.h"

#include "common/ui/picturesave.h"
#include "modules/montecarlo/ui/mcdraw.h"
#include "modules/montecarlo/ui/mcexperiments.h"
#include "modules/montecarlo/ui/mcreport.h"
#include "modules/montecarlo/ui/mcunit.h"

#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QToolButton>
#include <cmath>

namespace tarvik::montecarlo::ui {

namespace {

QFont TitleFont(double z) {
    QFont f(QStringLiteral("Arial"));
    f.setPixelSize(static_cast<int>(std::lround(40 * z)));
    f.setBold(true);
    return f;
}

QFont SmallFont(double z) {
    QFont f = CanvasFont();
    f.setPixelSize(std::max(1, static_cast<int>(std::lround(10 * z))));
    return f;
}

// Pixels per inch / 96 of the screen the window is on.
double ScreenScale(const QWidget* w) {
    const QScreen* s = w->screen();
    return s ? s->logicalDotsPerInchX() / 96.0 : 1.0;
}

} // namespace

// --- TMCKrasTabel ------------------------------------------------------------------------

TMCKrasTabel::TMCKrasTabel(TMC* module)
    : TMCWindow(module, QStringLiteral("Table")), Picture(NewPicture(456, 310)) {
    setObjectName(QStringLiteral("MCKrasTabel"));
    helpContext = 69;
    Graph = new TMCPictureBox(&Picture, this);
    TerugBtn = PlaceButton(this, QStringLiteral("Previous"), "TerugBtn", 16, 0);
    SaveBtn = SaveGraphButton(this);
    connect(TerugBtn, &QPushButton::clicked, this, &TMCKrasTabel::TerugBtnClick);
    connect(SaveBtn, &QToolButton::clicked, this, &TMCKrasTabel::SaveBtnClick);
    ReportBtn = AddDataSaving(this, TerugBtn, QStringLiteral("Scratch lottery"),
                              QStringLiteral("Scratch lottery"), [this] { return ReportText; });
    onFrameClose = [this] { TerugBtnClick(); };
    Graph->setAccessibleDescription(QStringLiteral("Scratch lottery table"));
}

void TMCKrasTabel::Draw(const ScratchResult& r, double z) {
    const auto S = [z](double v) { return static_cast<int>(std::lround(v * z)); };
    Picture = NewPicture(S(456), S(310));
    Canvas.reset(ButtonFace());
    Canvas.draw([r, z, S](QPainter& p) {
        p.setPen(Qt::black);
        p.setFont(TitleFont(z));
        TextAt(p, S(20), S(10), QStringLiteral("Scratch lottery"));
        p.setFont(SmallFont(z));
        LabelValueAt(p, S(300), S(10), QStringLiteral("Number of lottery tickets"),
                     QString::number(r.tickets));
        TextAt(p, S(300), S(30), QStringLiteral("Number of runs ") + QString::number(r.weeks));
        TextAt(p, S(20), S(60), QStringLiteral("x := # winners"));
        {
            // The substitute font is wider than the original: this head is
            // narrowed until it ends before the next column.
            QFont narrow = SmallFont(z);
            for (int stretch = 100; stretch >= 70; stretch -= 5) {
                narrow.setStretch(stretch);
                if (QFontMetrics(narrow).horizontalAdvance(QStringLiteral("Simulated probability")) <= S(101))
                    break;
            }
            p.setFont(narrow);
            TextAt(p, S(115), S(60), QStringLiteral("Simulated probability"));
            p.setFont(SmallFont(z));
        }
        TextAt(p, S(220), S(60), QStringLiteral("Confidence interval"));
        TextAt(p, S(365), S(60), QStringLiteral("Exact probability"));
        LineAt(p, S(20) - 5, S(80), S(365) + 80, S(80), Qt::black);
        p.setPen(Qt::black);
        for (int c = 0; c < kScratchClasses; ++c) {
            const int y = S(25 * c + 85);
            TextAt(p, S(20), y, QString::fromStdString(r.classText(c)));
            TextAt(p, S(115), y, QString::fromStdString(r.simulatedText(c)));
            TextAt(p, S(220), y, QString::fromStdString(r.intervalText(c)));
            TextAt(p, S(365), y, QString::fromStdString(r.exactText(c)));
        }
    });
    QStringList rows;
    for (int c = 0; c < kScratchClasses; ++c)
        rows << QStringLiteral("%1: %2 (exact %3)")
                    .arg(QString::fromStdString(r.classText(c)), QString::fromStdString(r.simulatedText(c)),
                         QString::fromStdString(r.exactText(c)));
    Graph->setAccessibleDescription(
        QStringLiteral(
            "Scratch lottery table: simulated and exact probability of x winners, %1 tickets, %2 runs; %3")
            .arg(r.tickets)
            .arg(r.weeks)
            .arg(rows.join(QStringLiteral("; "))));
    Graph->setGeometry(0, 0, Picture.width(), Picture.height());
    TerugBtn->move(16, Picture.height() + 8);
    SaveBtn->setGeometry(110, Picture.height() + 6, 30, 28);
    ReportBtn->move(150, Picture.height() + 8);
    setFixedSize(Picture.width(), Picture.height() + 44);
    ReportText = QString::fromStdString(ScratchReport(r));
    Graph->update();
}

void TMCKrasTabel::TerugBtnClick() {
    hide();
    ShowAgain(GraphWindow, false);
}

void TMCKrasTabel::SaveBtnClick() {
    Canvas.save(QStringLiteral("KraslotTabel.bmp"));
}

// --- TMCKrasPlot ----------------------------------------------------------------------------

TMCKrasPlot::TMCKrasPlot(TMC* module, TMCKrasTabel* table)
    : TMCWindow(module, QStringLiteral("Scratch lottery")), Table(table), Picture(NewPicture(510, 315)) {
    setObjectName(QStringLiteral("MCKrasPlot"));
    helpContext = 69;
    Graph = new TMCPictureBox(&Picture, this);
    TerugBtn = PlaceButton(this, QStringLiteral("Previous"), "TerugBtn", 16, 0);
    TabelBtn = PlaceButton(this, QStringLiteral("Table"), "TabelBtn", 100, 0);
    SaveBtn = SaveGraphButton(this);
    SaveBtn->setToolTip(QStringLiteral("Naar Klembord"));
    for (int c = 0; c < kScratchClasses; ++c) {
        auto* l = new QLabel(QStringLiteral("0"), this);
        l->setObjectName(QStringLiteral("CountLabel%1").arg(c));
        l->setAutoFillBackground(true);
        QPalette pal = l->palette();
        pal.setColor(QPalette::Window, QColor(192, 192, 192));
        l->setPalette(pal);
        l->setAlignment(Qt::AlignCenter);
        CountLabel[static_cast<std::size_t>(c)] = l;
    }
    TabelBtn->setEnabled(false);
    SaveBtn->setEnabled(false);
    connect(TerugBtn, &QPushButton::clicked, this, &TMCKrasPlot::TerugBtnClick);
    connect(TabelBtn, &QPushButton::clicked, this, &TMCKrasPlot::TabelBtnClick);
    connect(SaveBtn, &QToolButton::clicked, this, &TMCKrasPlot::SaveBtnClick);
    onFrameClose = [this] {
        StopFlag = true;
        hide();
        if (Dialog) Dialog->show();
    };
    Graph->setAccessibleDescription(QStringLiteral("Scratch lottery: number of runs with x winners"));
    DrawStatic();
}

int TMCKrasPlot::S(double v) const {
    return static_cast<int>(std::lround(v * Z));
}

void TMCKrasPlot::DrawStatic() {
    Picture = NewPicture(S(510), S(315));
    Graph->setGeometry(0, 0, Picture.width(), Picture.height());
    for (int c = 0; c < kScratchClasses; ++c)
        CountLabel[static_cast<std::size_t>(c)]->setGeometry(S(50 * c + 25), Picture.height() + 4, S(48), 18);
    TerugBtn->move(16, Picture.height() + 30);
    TabelBtn->move(100, Picture.height() + 30);
    SaveBtn->setGeometry(184, Picture.height() + 28, 30, 28);
    setFixedSize(Picture.width(), Picture.height() + 64);
    Canvas.reset(ButtonFace());
    Canvas.draw([z = Z, tickets = Tickets, weeks = Weeks](QPainter& p) {
        const auto S = [z](double v) { return static_cast<int>(std::lround(v * z)); };
        p.setPen(Qt::black);
        p.setFont(TitleFont(z));
        TextAt(p, S(20), S(10), QStringLiteral("Scratch lottery"));
        p.setFont(SmallFont(z));
        LabelValueAt(p, S(360), S(10), QStringLiteral("Number of lottery tickets"), QString::number(tickets));
        TextAt(p, S(360), S(30), QStringLiteral("Number of runs ") + QString::number(weeks));
        TextAt(p, S(360), S(50), QStringLiteral("x := # winners"));
        for (int c = 0; c < 8; ++c) TextAt(p, S(40 + 50 * c), S(285), QStringLiteral("x=%1").arg(c));
        TextAt(p, S(436), S(285), QStringLiteral("x>=8"));
        const struct {
            double y, share;
            double textY;
        } lines[] = {{145, 0.25, 135}, {77.5, 0.375, 67.5}, {212.5, 0.125, 202.5}};
        for (const auto& l : lines) {
            LineAt(p, S(15), S(l.y), S(465), S(l.y), Qt::black, 1, Qt::DashDotLine);
            p.setPen(Qt::black);
            TextAt(p, S(475), S(l.textY), QString::number(std::lround(weeks * l.share)));
        }
    });
    Graph->update();
}

void TMCKrasPlot::DrawBar(int c, long long count) {
    const int h = Weeks > 0 ? ScratchBarHeight(count, Weeks) : 0;
    const int top = h == 0 ? 279 : 280 - h;
    auto& last = LastTop[static_cast<std::size_t>(c)];
    if (top == last) return;
    last = top;
    const QRect bar(QPoint(S(50 * c + 30), S(top)), QPoint(S(50 * c + 30) + 40, S(280)));
    // Counts only grow: the new bar covers the one drawn before, so the last
    // bar of each class is all the drawing keeps of it.
    Canvas.draw(QStringLiteral("bar%1").arg(c), [bar](QPainter& p) {
        p.setPen(Qt::black);
        p.setBrush(Qt::red);
        p.drawRect(bar);
    });
}

void TMCKrasPlot::ShowCounts() {
    for (int c = 0; c < kScratchClasses; ++c)
        CountLabel[static_cast<std::size_t>(c)]->setText(
            QString::number(Last.counts[static_cast<std::size_t>(c)]));
}

void TMCKrasPlot::Run(int tickets, int weeks) {
    if (running() || module()->ModuleClosing()) return;
    Tickets = tickets;
    Weeks = weeks;
    Pending = true;
    QTimer::singleShot(0, this, [this] { Execute(); });
}

void TMCKrasPlot::Execute() {
    if (!Pending || Running || module()->ModuleClosing()) return;
    Pending = false;
    const QPointer<TMCKrasPlot> self(this);
    Running = true;
    StopFlag = false;
    Z = ScreenScale(this);
    DrawStatic();
    TerugBtn->setText(QStringLiteral("Stop"));
    TabelBtn->setEnabled(false);
    SaveBtn->setEnabled(false);
    Last = ScratchResult{.tickets = Tickets, .weeks = Weeks};
    LastTop.fill(-1);
    for (int c = 0; c < kScratchClasses; ++c) DrawBar(c, 0);
    ShowCounts();
    module()->SeedRun();
    MCRunProgress progress(module(), &StopFlag, [this] { Graph->repaint(); });
    const ScratchResult r =
        RunScratch(Tickets, Weeks, progress, [this](int week, int c, const ScratchResult& now) {
            Last = now;
            DrawBar(c, now.counts[static_cast<std::size_t>(c)]);
            if (Weeks <= 1000 || week % 100 == 0) ShowCounts();
        });
    if (!self || module()->ModuleClosing()) return;
    Last = r;
    Running = false;
    const bool complete = r.finished();
    TabelBtn->setEnabled(complete);
    SaveBtn->setEnabled(complete);
    ShowCounts();
    QStringList counts;
    for (int c = 0; c < kScratchClasses; ++c)
        counts << QStringLiteral("x=%1: %2").arg(c).arg(r.counts[static_cast<std::size_t>(c)]);
    Graph->setAccessibleDescription(
        QStringLiteral("Scratch lottery: number of runs with x winners, %1 tickets, %2 of %3 runs; %4")
            .arg(Tickets)
            .arg(r.completed)
            .arg(Weeks)
            .arg(counts.join(QStringLiteral(", "))));
    TerugBtn->setText(QStringLiteral("Previous"));
    Graph->update();
}

void TMCKrasPlot::TerugBtnClick() {
    if (Running) {
        StopFlag = true;
        return;
    }
    hide();
    Table->hide();
    ShowAgain(Dialog, true);
}

void TMCKrasPlot::TabelBtnClick() {
    if (Running || !Last.finished()) return;
    Table->Draw(Last, Z);
    Table->move(pos() + QPoint(40, 40));
    Table->show();
    Table->raise();
}

void TMCKrasPlot::SaveBtnClick() {
    Canvas.save(QStringLiteral("Scratch lottery.bmp"), false, QStringLiteral("Bitmap-files (*.bmp)"));
}

// --- TMCKrasOpties --------------------------------------------------------------------------

TMCKrasOpties::TMCKrasOpties(TMC* module, TMCKrasPlot* plot, TMCKrasTabel* table)
    : TMCWindow(module, QStringLiteral("Settings")), Plot(plot), Table(table) {
    setObjectName(QStringLiteral("MCKrasOpties"));
    helpContext = 69;
    setFixedSize(500, 200);
    QLabel* title = PlaceLabel(this, QStringLiteral("Scratch lottery"), 16, 8);
    QFont f = title->font();
    f.setPointSize(16);
    f.setBold(true);
    title->setFont(f);
    title->adjustSize();
    using D = TMCKrasOpties;
    using R = MCRow<D>;
    Form.add(this, {
                       R::Spin("Sold per week", "TicketsEdit", &D::TicketsEdit, kScratchTickets)
                           .at(190, 60, 100, 16)
                           .withUnit("( 5 <= # tickets <= 10000 )", 298),
                       R::Spin("Number of simulated weeks", "WeeksEdit", &D::WeeksEdit, kScratchWeeks)
                           .at(190, 96, 100, 16)
                           .withUnit("( 100 <= # weeks <= 1E6 )", 300),
                   });
    PlaceSettingsButtons(this, 156, 456, 69);
    OKBtn->setDefault(true);
}

void TMCKrasOpties::Open() {
    Form.restore();
    Plot->hide();
    Table->hide();
    move(module()->SideBySide(width(), 0));
    show();
    raise();
    activateWindow();
    OKBtn->setFocus();
}

void TMCKrasOpties::OKBtnClick() {
    if (Plot->running()) return;
    const int tickets = TicketsEdit->commit();
    const int weeks = WeeksEdit->commit();
    if (const auto refused = CheckScratch(tickets, weeks)) {
        RefuseInput(QString::fromStdString(refused->message), refused->tickets ? TicketsEdit : WeeksEdit);
        return;
    }
    hide();
    Plot->move(module()->SideBySide(Plot->width(), 0));
    Plot->show();
    Plot->raise();
    Plot->Run(tickets, weeks);
}

void TMCKrasOpties::TerugBtnClick() {
    hide();
    Plot->hide();
    Table->hide();
    module()->ShowChooser();
}

std::unique_ptr<TMCExperiment> CreateScratchExperiment(TMC* module) {
    auto* table = new TMCKrasTabel(module);
    auto* plot = new TMCKrasPlot(module, table);
    auto* dlg = new TMCKrasOpties(module, plot, table);
    plot->setDialog(dlg);
    table->setGraph(plot);
    return ExperimentOf(dlg, plot, {dlg, plot, table});
}

} // namespace tarvik::montecarlo::ui
