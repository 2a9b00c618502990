#include "modules/normal/ui/clsgrafiekunit.h"

#include "common/numformat.h"
#include "common/ui/accessibility.h"
#include "common/ui/dialogservice.h"
#include "modules/normal/ui/clsunit.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace tarvik::normal::ui {

// --- TCLSGraphWindow -----------------------------------------------------------------

TCLSGraphWindow::TCLSGraphWindow(TCLS* owner, const QString& name, const QString& caption, int width,
                                 int height)
    : TCLSWindow(owner, name, caption), Picture(NewPicture(width, height)) {
    PictureBox = new TPictureBox(&Picture, this);
    PictureBox->setFixedSize(Picture.size());
    PictureBox->setObjectName(QStringLiteral("PictureBox"));
    tarvik::ui::DescribePicture(PictureBox, caption + QStringLiteral(": nothing drawn yet"));
}

// --- TCLSGrafiek -------------------------------------------------------------------------

TCLSGrafiek::TCLSGrafiek(TCLS* owner, int count)
    : TCLSGraphWindow(owner, QStringLiteral("CLSGrafiek%1").arg(count),
                      count == 1 ? QStringLiteral("Histogram") : QStringLiteral("Histograms"),
                      count == 1 ? kOneWidth : kManyWidth,
                      count == 1 ? kOneHeight : (count == 2 ? kTwoHeight : kFourHeight)),
      count_(count) {
    TerugBtn = NewButton(QStringLiteral("Previous"), QStringLiteral("TerugBtn"));
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
        for (int i = 0; i < labels; ++i) {
            // Each caption has two lines (length; mean and deviation): the
            // window is sized for them, so that they stay below the picture.
            TextLabels[i]->setMinimumHeight(
                TextLabels[i]->fontMetrics().boundingRect(QRect(), 0, QStringLiteral("A\nA")).height());
            grid->addWidget(TextLabels[i], i / 2, i % 2);
        }
        main->addLayout(grid);
        AddButtonRow(main, {TerugBtn});
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
    // What the picture shows, for screen readers: every histogram's figures.
    QStringList panels;
    for (int i = 0; i < count_; ++i) {
        const HistogramTexts t = TextsFor(p, n[i]);
        panels << QString::fromStdString(t.length + ", " + t.mean + ", " + t.deviation);
    }
    tarvik::ui::DescribePicture(PictureBox, windowTitle() + QStringLiteral(" of the sum of the faces; ") +
                                                panels.join(QStringLiteral("; ")));
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
    OpnieuwBtn = NewButton(QStringLiteral("Again"), QStringLiteral("OpnieuwBtn"));
    TerugBtn = NewButton(QStringLiteral("Previous"), QStringLiteral("TerugBtn"));
    auto* main = new QVBoxLayout(this);
    main->addWidget(PictureBox);
    WithinHeadingLabel = new QLabel(QString::fromStdString(WithinHeading()), this);
    WithinHeadingLabel->setObjectName(QStringLiteral("WithinHeading"));
    main->addWidget(WithinHeadingLabel);
    // One label under each column of the picture, centred on it.
    auto* shares = new QHBoxLayout;
    shares->setSpacing(0);
    shares->setContentsMargins(GroupColumn(1) - 50, 0, 0, 0);
    for (int g = 1; g <= 4; ++g) {
        auto* l = new QLabel(this);
        l->setObjectName(QStringLiteral("WithinLabel%1").arg(g));
        l->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
        l->setFixedWidth(GroupColumn(2) - GroupColumn(1));
        l->setMinimumHeight(2 * l->fontMetrics().height());
        shares->addWidget(l);
        WithinLabels[static_cast<std::size_t>(g - 1)] = l;
    }
    shares->addStretch();
    main->addLayout(shares);
    AddButtonRow(main, {OpnieuwBtn, TerugBtn});
    connect(OpnieuwBtn, &QPushButton::clicked, this, &TCLSWortelN::OpnieuwBtnClick);
    connect(TerugBtn, &QPushButton::clicked, this, &TCLSWortelN::TerugBtnClick);
    setFixedSize(sizeHint());
    Clear();
}

void TCLSWortelN::Clear() {
    Picture = NewPicture(kSqrtWidth, kSqrtHeight);
    DrawSqrtFrame(Picture);
    pointsDrawn = 0;
    tally_.clear();
    Describe();
    PictureBox->update();
}

void TCLSWortelN::Describe() {
    for (int g = 1; g <= 4; ++g)
        WithinLabels[static_cast<std::size_t>(g - 1)]->setText(QString::fromStdString(tally_.shareText(g)));
    tarvik::ui::DescribePicture(
        PictureBox, QStringLiteral("Square root law: sample means of groups of n throws against n, with the "
                                   "bounds plus and minus 2 divided by the square root of n; %1 points drawn")
                        .arg(pointsDrawn));
}

void TCLSWortelN::DrawPoint(const SqrtPoint& point, bool big) {
    DrawSqrtPoint(Picture, point, big);
    if (point.drawn) ++pointsDrawn;
    tally_.add(point);
}

void TCLSWortelN::Refresh() {
    Describe();
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
    TerugBtn = NewButton(QStringLiteral("Previous"), QStringLiteral("TerugBtn"));
    OpnieuwBtn = NewButton(QStringLiteral("Again"), QStringLiteral("OpnieuwBtn"));
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
    MissLabel1 = new QLabel(this);
    MissLabel1->setObjectName(QStringLiteral("MissLabel1"));
    MissLabel2 = new QLabel(this);
    MissLabel2->setObjectName(QStringLiteral("MissLabel2"));
    auto* missRow = new QHBoxLayout;
    missRow->setContentsMargins(kCiPanelLeft[0], 0, 0, 0);
    MissLabel1->setFixedWidth(kCiPanelLeft[1] - kCiPanelLeft[0]);
    missRow->addWidget(MissLabel1);
    missRow->addWidget(MissLabel2);
    missRow->addStretch();
    main->addLayout(missRow);
    AddButtonRow(main, {OpnieuwBtn, TerugBtn});
    tarvik::ui::SetTabOrder({OpnieuwBtn, TerugBtn});
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
    p_ = settings.p;
    pairsDrawn_ = 0;
    missed_ = {};
    MissLabel1->setText(QString::fromStdString(MissText(0, 0, settings.level)));
    MissLabel2->setText(MissLabel1->text());
    Describe();
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

void TCLSBTIPlot::ShowMisses(const IntervalRun& run) {
    pairsDrawn_ = run.completed();
    missed_ = run.misses();
    const std::array<std::string, 2> texts = run.missTexts();
    MissLabel1->setText(QString::fromStdString(texts[0]));
    MissLabel2->setText(QString::fromStdString(texts[1]));
}

void TCLSBTIPlot::EndRun() {
    OpnieuwBtn->setEnabled(true);
    TerugBtn->setText(QStringLiteral("Previous"));
    Describe();
    PictureBox->update();
}

void TCLSBTIPlot::Describe() {
    // Per panel: the intervals drawn and how many of them miss p.
    tarvik::ui::DescribePicture(
        PictureBox,
        QStringLiteral(
            "%1 around p = %2; %3: %4 intervals, %5 not holding p; %6: %7 intervals, %8 not holding p")
            .arg(windowTitle(), QString::fromStdString(FormatGeneral(p_, 4)), Label1->text())
            .arg(pairsDrawn_)
            .arg(missed_[0])
            .arg(Label2->text())
            .arg(pairsDrawn_)
            .arg(missed_[1]));
}

void TCLSBTIPlot::Refresh() {
    Describe();
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
