#include "modules/dice/ui/dobbelwandelingunit.h"

#include "common/ui/accessibility.h"
#include "common/ui/help.h"

#include "common/numformat.h"
#include "common/ui/dialogservice.h"
#include "common/ui/modulewindow.h"
#include "common/ui/picturesave.h"
#include "modules/dice/ui/dobbelbarunit.h"
#include "modules/dice/ui/dobbelpictures.h"

#include <QLabel>
#include <QPainter>
#include <QPointer>
#include <QStyle>
#include <QToolButton>

namespace tarvik::dice::ui {

TWandelingForm::TWandelingForm(QWidget* owner) : QWidget(owner), Picture(NewWalkImage()) {
    tarvik::ui::SetHelpContext(this, 2);
    setObjectName(QStringLiteral("WandelingForm"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Random walk"));
    setFixedSize(kWalkWidth, 332);

    PictureBox = new TPictureBox(&Picture, this);
    PictureBox->setObjectName(QStringLiteral("WalkBox"));
    PictureBox->setAccessibleName(QStringLiteral("Random walk"));
    tarvik::ui::DescribePicture(PictureBox, QStringLiteral("Random walk: nothing thrown yet"));
    PictureBox->setGeometry(0, 0, kWalkWidth, kWalkPictureHeight);

    PercentLabel = new QLabel(QStringLiteral("Percentage above zero axis"), this);
    PercentLabel->setObjectName(QStringLiteral("PercentLabel"));
    PercentLabel->setGeometry(8, 306, 230, 20);
    RunLabel = new QLabel(QStringLiteral("Longest run of 1's: "), this);
    RunLabel->setObjectName(QStringLiteral("RunLabel"));
    RunLabel->setGeometry(244, 306, 190, 20);
    SaveBtn = new QToolButton(this);
    SaveBtn->setObjectName(QStringLiteral("SaveBtn"));
    SaveBtn->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SaveBtn->setToolTip(QStringLiteral("Save graph to file"));
    SaveBtn->setGeometry(kWalkWidth - 34, 302, 28, 28);
    connect(SaveBtn, &QToolButton::clicked, this, &TWandelingForm::SaveBtnClick);
}

bool TWandelingForm::DrawWalk(const DiceRun& run) {
    Layout = LayoutWalk(run.walkSamples(), run.settings().throws);
    if (!Layout.possible) {
        QPointer<TWandelingForm> self(this);
        StdMsgDlg(QStringLiteral("Random walk not possible"), tarvik::ui::MsgKind::Error, tarvik::ui::mbOK,
                  0);
        if (self) hide();
        return false;
    }
    WalkThrows = run.settings().throws;
    tarvik::dice::ui::DrawWalk(Picture, Layout, WalkThrows);
    PictureBox->update();
    PercentLabel->setText(QStringLiteral("Percentage above zero axis") +
                          QString::fromStdString(Format(" %.2f", run.percentageAbove())) +
                          QStringLiteral("%"));
    RunLabel->setText(QStringLiteral("Longest run of 1's:  ") + QString::number(run.longestRun()));
    PictureBox->setAccessibleDescription(
        QStringLiteral(
            "Actual number of ones minus the expected number over %1 throws, from %2 to %3; %4 above "
            "the zero axis; longest run of ones %5")
            .arg(WalkThrows)
            .arg(QString::fromStdString(FormatFixed(Layout.lo, 2)),
                 QString::fromStdString(FormatFixed(Layout.hi, 2)),
                 QString::fromStdString(Format("%.2f%%", run.percentageAbove())))
            .arg(run.longestRun()));
    return true;
}

void TWandelingForm::SaveBtnClick() {
    tarvik::ui::SaveGraphPicture(Picture, QStringLiteral("DiceWalk.bmp"), [this](QPainter& p) {
        if (WalkThrows < 0)
            p.fillRect(Picture.rect(), WindowColour());
        else
            tarvik::dice::ui::DrawWalk(p, Layout, WalkThrows);
    });
}

} // namespace tarvik::dice::ui
