#include "modules/dice/ui/dobbelbarunit.h"

#include "common/numformat.h"
#include "common/ui/accessibility.h"
#include "common/ui/help.h"

#include "common/ui/modulewindow.h"
#include "common/ui/picturesave.h"
#include "modules/dice/ui/dobbelpictures.h"
#include "modules/dice/ui/dobbelunit.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStringList>
#include <QStyle>
#include <QToolButton>
#include <algorithm>

namespace tarvik::dice::ui {

// --- TDobbelBar -------------------------------------------------------------------

TDobbelBar::TDobbelBar(TDobbel* owner)
    : QWidget(owner), owner_(owner), Picture(NewDiagramImage()), live_([this] { PaintLabels(); }) {
    tarvik::ui::SetHelpContext(this, 2);
    setObjectName(QStringLiteral("DobbelBar"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Frequency diagram"));
    setFixedSize(490, 228);
    DrawEmptyDiagram(Picture);
    Tops.fill(kBarBase);

    PictureBox = new TPictureBox(&Picture, this);
    PictureBox->setObjectName(QStringLiteral("DiagramBox"));
    PictureBox->setAccessibleName(QStringLiteral("Frequency diagram"));
    tarvik::ui::DescribePicture(PictureBox, QStringLiteral("Frequency diagram: nothing thrown yet"));
    PictureBox->setGeometry(0, 0, kDiagramWidth, kDiagramHeight);

    TerugBtn = new QPushButton(QStringLiteral("Previous"), this);
    TerugBtn->setObjectName(QStringLiteral("TerugBtn"));
    TerugBtn->setGeometry(406, 12, 78, 27);
    RepeatBtn = new QPushButton(QStringLiteral("Repeat"), this);
    RepeatBtn->setObjectName(QStringLiteral("RepeatBtn"));
    RepeatBtn->setGeometry(406, 48, 78, 27);
    SaveBtn = new QToolButton(this);
    SaveBtn->setObjectName(QStringLiteral("SaveBtn"));
    SaveBtn->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SaveBtn->setToolTip(QStringLiteral("Save graph to file"));
    SaveBtn->setGeometry(406, 190, 30, 30);

    connect(TerugBtn, &QPushButton::clicked, this, &TDobbelBar::TerugBtnClick);
    connect(RepeatBtn, &QPushButton::clicked, this, &TDobbelBar::RepeatBtnClick);
    connect(SaveBtn, &QToolButton::clicked, this, &TDobbelBar::SaveBtnClick);
}

void TDobbelBar::BeginRun(bool paced) {
    running_ = true;
    paced_ = paced;
    live_.reset();
    TerugBtn->setText(QStringLiteral("Stop"));
    DrawEmptyDiagram(Picture);
    Tops.fill(kBarBase);
    Capped.fill(false);
    LabelThrows = -1;
    show();
    PictureBox->update();
    RepeatBtn->setEnabled(false);
}

void TDobbelBar::DrawThrow(const ThrowStep& step) {
    if (step.capped) DrawBarCap(Picture, step.face);
    if (step.grew) DrawBar(Picture, step.face, step.top);
    const auto k = static_cast<std::size_t>(step.face - 1);
    if (step.capped) Capped[k] = true;
    if (step.grew) Tops[k] = std::min(Tops[k], step.top);
}

void TDobbelBar::Draw(QPainter& p) const {
    DrawEmptyDiagram(p);
    for (int k = 1; k <= kFaces; ++k) {
        const auto i = static_cast<std::size_t>(k - 1);
        if (Capped[i]) DrawBarCap(p, k);
        if (Tops[i] < kBarBase) DrawBar(p, k, Tops[i]);
    }
    if (LabelThrows >= 0) DrawDiagramLabels(p, LabelCounts, LabelThrows);
}

void TDobbelBar::Refresh(const Counts& counts, int throwsMade) {
    LabelCounts = counts;
    LabelThrows = throwsMade;
    live_.request();
    if (!running_ || !paced_) live_.flush();
}

void TDobbelBar::PaintLabels() {
    const Counts& counts = LabelCounts;
    const int throwsMade = LabelThrows;
    DrawDiagramLabels(Picture, counts, throwsMade);
    // What the picture shows, for screen readers: the throws and every face's count.
    QStringList faces;
    for (int k = 1; k <= kFaces; ++k) {
        const int c = counts[static_cast<std::size_t>(k - 1)];
        const double f = throwsMade > 0 ? static_cast<double>(c) / throwsMade : 0.0;
        faces << QStringLiteral("%1: %2 (%3)").arg(k).arg(c).arg(QString::fromStdString(FormatFixed(f, 3)));
    }
    PictureBox->setAccessibleDescription(QStringLiteral("%1 throws; counts and relative frequencies %2")
                                             .arg(throwsMade)
                                             .arg(faces.join(QStringLiteral(", "))));
    if (PictureBox->isVisible()) PictureBox->repaint();
}

void TDobbelBar::EndRun() {
    running_ = false;
    live_.flush();
    RepeatBtn->setEnabled(true);
    TerugBtn->setText(QStringLiteral("Previous"));
}

void TDobbelBar::TerugBtnClick() {
    if (owner_->running())
        owner_->RequestStop();
    else
        owner_->BackToSettings();
}

void TDobbelBar::RepeatBtnClick() {
    owner_->Repeat();
}

void TDobbelBar::SaveBtnClick() {
    tarvik::ui::SaveGraphPicture(Picture, QStringLiteral("Dice.bmp"), [this](QPainter& p) { Draw(p); });
}

void TDobbelBar::closeEvent(QCloseEvent* event) {
    event->accept();
    if (owner_->isClosing()) return;
    if (owner_->running())
        owner_->StopAndGoBack();
    else
        owner_->BackToSettings();
}

} // namespace tarvik::dice::ui
