#include "modules/normal/ui/clsgrafiekunit.h"

#include "common/numformat.h"
#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "modules/normal/ui/clsunit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik::normal::ui {

namespace {

QPushButton* Button(const QString& text, const QString& name, QWidget* parent) {
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

} // namespace

// --- TCLSGraphWindow -----------------------------------------------------------------

TCLSGraphWindow::TCLSGraphWindow(TCLS* owner, const QString& name, const QString& caption, int width,
                                 int height)
    : QDialog(owner), owner_(owner), Picture(NewPicture(width, height)) {
    tarvik::ui::SetHelpContext(this, 5);
    setObjectName(name);
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(caption);
    PictureBox = new TPictureBox(&Picture, this);
    PictureBox->setObjectName(QStringLiteral("PictureBox"));
}

void TCLSGraphWindow::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    if (event->key() == Qt::Key_F1) {
        event->accept();
        tarvik::ui::ShowHelp(kHelpContext, this);
        return;
    }
    QDialog::keyPressEvent(event);
}

void TCLSGraphWindow::reject() {
    hide();
    if (!owner_->isClosing()) frameClose();
}

// --- TCLSGrafiek -------------------------------------------------------------------------

TCLSGrafiek::TCLSGrafiek(TCLS* owner, int count)
    : TCLSGraphWindow(owner, QStringLiteral("CLSGrafiek%1").arg(count),
                      count == 1 ? QStringLiteral("Histogram") : QStringLiteral("Histograms"),
                      count == 1 ? kOneWidth : kManyWidth,
                      count == 1 ? kOneHeight : (count == 2 ? kTwoHeight : kFourHeight)),
      count_(count) {
    TerugBtn = Button(QStringLiteral("Previous"), QStringLiteral("TerugBtn"), this);
    connect(TerugBtn, &QPushButton::clicked, this, &TCLSGrafiek::TerugBtnClick);
    const int labels = count == 1 ? kFaces + 3 : count;
    for (int i = 0; i < labels; ++i) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("TextLabel%1").arg(i + 1));
        TextLabels.push_back(l);
    }
    if (count == 1) {
        auto* main = new QHBoxLayout(this);
        main->addWidget(PictureBox);
        auto* side = new QVBoxLayout;
        for (int i = 0; i < labels; ++i) {
            if (i == kFaces) side->addSpacing(12);
            side->addWidget(TextLabels[i]);
        }
        side->addStretch();
        side->addWidget(TerugBtn);
        main->addLayout(side);
        setFixedSize(kOneWidth + 200, kOneHeight + 24);
    } else {
        auto* main = new QVBoxLayout(this);
        main->addWidget(PictureBox);
        auto* grid = new QGridLayout;
        for (int i = 0; i < labels; ++i) grid->addWidget(TextLabels[i], i / 2, i % 2);
        main->addLayout(grid);
        auto* row = new QHBoxLayout;
        row->addStretch();
        row->addWidget(TerugBtn);
        main->addLayout(row);
        setFixedSize(sizeHint().expandedTo(QSize(kManyWidth + 24, 0)));
    }
}

bool TCLSGrafiek::ShowHistograms(const Probabilities& p, const std::array<int, 4>& n,
                                 const std::array<std::vector<double>, 4>& dist) {
    layouts_.clear();
    bool widthZero = false;
    for (int i = 0; i < count_; ++i) {
        const Panel panel = PanelFor(count_, i);
        layouts_.push_back(LayoutHistogram(dist[i], n[i], panel.left, panel.width, panel.baseY,
                                           panel.maxHeight, panel.colour));
        widthZero = widthZero || layouts_.back().barWidth == 0;
    }
    if (widthZero && count_ > 1)
        MsgDlg(QString::fromLatin1(kBarWidthZero), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK, 0);
    Picture = NewPicture(Picture.width(), Picture.height());
    for (const HistogramLayout& h : layouts_) DrawHistogram(Picture, h);
    if (count_ == 1) {
        const HistogramTexts t = TextsFor(p, n[0]);
        for (int j = 0; j < kFaces; ++j) TextLabels[j]->setText(QString::fromStdString(t.probabilities[j]));
        TextLabels[kFaces]->setText(QString::fromStdString(t.length));
        TextLabels[kFaces + 1]->setText(QString::fromStdString(t.mean));
        TextLabels[kFaces + 2]->setText(QString::fromStdString(t.deviation));
    } else {
        for (int i = 0; i < count_; ++i) {
            const HistogramTexts t = TextsFor(p, n[i]);
            TextLabels[i]->setText(QString::fromStdString(t.length + "\n" + t.mean + "   " + t.deviation));
            QPalette pal = TextLabels[i]->palette();
            pal.setColor(QPalette::WindowText, ToColour(PanelFor(count_, i).colour));
            TextLabels[i]->setPalette(pal);
        }
    }
    PictureBox->update();
    return !widthZero;
}

void TCLSGrafiek::TerugBtnClick() {
    hide();
    owner_->ShowLengths();
}

void TCLSGrafiek::frameClose() {
    owner_->ShowLengths();
}

// --- TCLSWortelN ---------------------------------------------------------------------------

TCLSWortelN::TCLSWortelN(TCLS* owner)
    : TCLSGraphWindow(owner, QStringLiteral("CLSWortelN"), QStringLiteral("Square root law"), kSqrtWidth,
                      kSqrtHeight) {
    OpnieuwBtn = Button(QStringLiteral("Again"), QStringLiteral("OpnieuwBtn"), this);
    TerugBtn = Button(QStringLiteral("Previous"), QStringLiteral("TerugBtn"), this);
    auto* main = new QVBoxLayout(this);
    main->addWidget(PictureBox);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OpnieuwBtn);
    row->addWidget(TerugBtn);
    main->addLayout(row);
    connect(OpnieuwBtn, &QPushButton::clicked, this, &TCLSWortelN::OpnieuwBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TCLSWortelN::TerugBtnClick);
    setFixedSize(sizeHint());
    Clear();
}

void TCLSWortelN::Clear() {
    Picture = NewPicture(kSqrtWidth, kSqrtHeight);
    DrawSqrtFrame(Picture);
    pointsDrawn = 0;
    PictureBox->update();
}

void TCLSWortelN::DrawPoint(const SqrtPoint& point, bool big) {
    DrawSqrtPoint(Picture, point, big);
    if (point.drawn) ++pointsDrawn;
}

void TCLSWortelN::Refresh() {
    PictureBox->update();
}

void TCLSWortelN::SetRunning(bool running) {
    OpnieuwBtn->setEnabled(!running);
    TerugBtn->setEnabled(!running);
}

void TCLSWortelN::OpnieuwBtnClick() {
    owner_->StartSqrtLaw();
}

void TCLSWortelN::TerugBtnClick() {
    owner_->SqrtBack();
}

void TCLSWortelN::frameClose() {
    if (owner_->running())
        owner_->StopAndGoBack();
    else
        owner_->SqrtBack();
}

// --- TCLSBTIPlot --------------------------------------------------------------------------------

TCLSBTIPlot::TCLSBTIPlot(TCLS* owner)
    : TCLSGraphWindow(owner, QStringLiteral("CLSBTIPlot"), QStringLiteral("95%  confidence intervals"),
                      kCiWidth, kCiHeight) {
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2 = new QLabel(this);
    Label2->setObjectName(QStringLiteral("Label2"));
    TerugBtn = Button(QStringLiteral("Previous"), QStringLiteral("TerugBtn"), this);
    OpnieuwBtn = Button(QStringLiteral("Again"), QStringLiteral("OpnieuwBtn"), this);
    auto* main = new QVBoxLayout(this);
    main->setSpacing(2);
    auto* labels = new QHBoxLayout;
    labels->setContentsMargins(kCiPanelLeft[0], 0, 0, 0);
    Label1->setFixedWidth(kCiPanelLeft[1] - kCiPanelLeft[0]);
    labels->addWidget(Label1);
    labels->addWidget(Label2);
    labels->addStretch();
    main->addLayout(labels);
    main->addWidget(PictureBox);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(OpnieuwBtn);
    row->addWidget(TerugBtn);
    main->addLayout(row);
    connect(TerugBtn, &QPushButton::clicked, this, &TCLSBTIPlot::TerugBtnClick);
    connect(OpnieuwBtn, &QPushButton::clicked, this, &TCLSBTIPlot::OpnieuwBtnClick);
    setFixedSize(sizeHint());
}

void TCLSBTIPlot::BeginRun(const IntervalRunSettings& settings) {
    setWindowTitle(QString::fromStdString(
        Format("%s confidence intervals", settings.level == Level::P95 ? "95% " : "90% ")));
    Label1->setText(QStringLiteral("Sample size: %1").arg(settings.n));
    Label2->setText(QStringLiteral("Sample size: %1").arg(4 * settings.n));
    Picture = NewPicture(kCiWidth, kCiHeight);
    DrawIntervalFrame(Picture, settings.p);
    lines.clear();
    TerugBtn->setText(QStringLiteral("Stop"));
    OpnieuwBtn->setEnabled(false);
    PictureBox->update();
}

void TCLSBTIPlot::DrawPair(const IntervalPair& pair, double p, double e) {
    for (int k = 0; k < 2; ++k) {
        const IntervalLine line = PlaceInterval(pair.panel[k], p, e, k, pair.run);
        DrawIntervalLine(Picture, line);
        lines.push_back(line);
    }
}

void TCLSBTIPlot::EndRun() {
    OpnieuwBtn->setEnabled(true);
    TerugBtn->setText(QStringLiteral("Previous"));
    PictureBox->update();
}

void TCLSBTIPlot::Refresh() {
    PictureBox->update();
}

void TCLSBTIPlot::TerugBtnClick() {
    if (owner_->running())
        owner_->RequestStop();
    else
        owner_->IntervalsBack();
}

void TCLSBTIPlot::OpnieuwBtnClick() {
    owner_->IntervalsAgain();
}

void TCLSBTIPlot::frameClose() {
    if (owner_->running())
        owner_->StopAndGoBack();
    else
        owner_->IntervalsBack();
}

} // namespace tarvik::normal::ui
