#include "modules/simulation/ui/simgrafiek.h"

#include "common/numformat.h"
#include "common/ui/accessibility.h"
#include "common/ui/help.h"
#include "common/ui/modulewindow.h"
#include "common/ui/picturesave.h"
#include "modules/simulation/ui/simpictures.h"

#include <QCloseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace tarvik::simulation::ui {

TSimGraphWindow::TSimGraphWindow(QWidget* parent, const QString& name, QSize pictureSize, int windowHeight,
                                 const QString& saveHint)
    : QWidget(parent), Picture(NewPicture(pictureSize.width(), pictureSize.height())) {
    tarvik::ui::SetHelpContext(this, 7);
    setObjectName(name);
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Graph"));
    setFixedSize(pictureSize.width() + 100, windowHeight);

    Image1 = new tarvik::ui::TPictureBox(&Picture, this);
    Image1->setObjectName(QStringLiteral("Image1"));
    tarvik::ui::DescribePicture(Image1, QStringLiteral("Number of customers present: no run drawn yet"));
    Image1->setGeometry(QRect(QPoint(0, 0), pictureSize));

    const int x = pictureSize.width() + 10;
    SluitBtn = new QPushButton(QStringLiteral("Previous"), this);
    SluitBtn->setObjectName(QStringLiteral("SluitBtn"));
    SluitBtn->setGeometry(x, 12, 80, 27);
    BitBtn1 = new QPushButton(QStringLiteral("Again"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setGeometry(x, 48, 80, 27);
    ToonDataBtn = new QPushButton(QStringLiteral("Data"), this);
    ToonDataBtn->setObjectName(QStringLiteral("ToonDataBtn"));
    ToonDataBtn->setGeometry(x, 84, 80, 27);
    SpeedButton2 = new QToolButton(this);
    SpeedButton2->setObjectName(QStringLiteral("SpeedButton2"));
    SpeedButton2->setIcon(style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton2->setToolTip(saveHint);
    SpeedButton2->setGeometry(x, pictureSize.height() - 40, 30, 30);

    connect(SluitBtn, &QPushButton::clicked, this, &TSimGraphWindow::sluitClicked);
    connect(BitBtn1, &QPushButton::clicked, this, &TSimGraphWindow::againClicked);
    connect(ToonDataBtn, &QPushButton::clicked, this, &TSimGraphWindow::dataClicked);
    connect(SpeedButton2, &QToolButton::clicked, this, &TSimGraphWindow::SaveClick);
}

void TSimGraphWindow::ShowRunning(int scale) {
    scale_ = scale < 1 ? 1 : scale;
    SluitBtn->setText(QStringLiteral("Stop"));
    show();
    raise();
}

void TSimGraphWindow::Flush() {
    if (!dirty_) return;
    dirty_ = false;
    Image1->update();
}

void TSimGraphWindow::SaveClick() {
    tarvik::ui::SaveGraphPicture(Picture, QStringLiteral("Queue.bmp"), [this](QPainter& p) {
        p.fillRect(Picture.rect(), ButtonFace());
        Steps.paint(p);
    });
}

TSimGrafiek::TSimGrafiek(QWidget* parent)
    : TSimGraphWindow(parent, QStringLiteral("SimGrafiek"), QSize(kSingleWidth, kSingleHeight), kSingleHeight,
                      QStringLiteral("Save graph to file")) {
    Image1->setAccessibleName(QStringLiteral("Number of customers present"));
}

void TSimGrafiek::BeginRun(double length, int scale) {
    prevActual_ = 0;
    prevAverage_ = 0;
    BitBtn1->setEnabled(false);
    ToonDataBtn->setEnabled(false);
    DrawSingleFrame(Picture, length);
    Steps.clear();
    Steps.add([length](QPainter& p) { DrawSingleFrame(p, length); });
    ShowRunning(scale);
    DrawSingleGrid(Picture, scale_);
    Steps.add([scale = scale_](QPainter& p) { DrawSingleGrid(p, scale); });
    Image1->update();
}

void TSimGrafiek::Sample(int i, long long actual, double average) {
    DrawSingleSample(Picture, scale_, i, prevActual_, actual, prevAverage_, average);
    if (i > 2)
        Steps.add([scale = scale_, i, a0 = prevActual_, actual, m0 = prevAverage_, average](QPainter& p) {
            DrawSingleSample(p, scale, i, a0, actual, m0, average);
        });
    prevActual_ = actual;
    prevAverage_ = average;
    dirty_ = true;
}

void TSimGrafiek::EndRun() {
    Flush();
    // What the picture shows, for screen readers.
    tarvik::ui::DescribePicture(
        Image1,
        QStringLiteral("Actual (green) and average (blue) number of customers present during the simulation; "
                       "at its end %1 present, on average %2")
            .arg(prevActual_)
            .arg(QString::fromStdString(tarvik::FormatGeneral(prevAverage_, 4))));
    SluitBtn->setText(QStringLiteral("Previous"));
    BitBtn1->setEnabled(true);
    ToonDataBtn->setEnabled(true);
}

void TSimGrafiek::closeEvent(QCloseEvent* event) {
    // Closing by the title bar only hides the window.
    event->accept();
}

} // namespace tarvik::simulation::ui
