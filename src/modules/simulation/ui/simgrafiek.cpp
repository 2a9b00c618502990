#include "modules/simulation/ui/simgrafiek.h"

#include "common/numformat.h"

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

TSimPicture::TSimPicture(const QImage* picture, QWidget* parent) : QWidget(parent), picture_(picture) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setObjectName(QStringLiteral("Image1"));
}

QSize TSimPicture::sizeHint() const {
    return picture_->size();
}

void TSimPicture::paintEvent(QPaintEvent* event) {
    QPainter p(this);
    p.drawImage(event->rect().topLeft(), *picture_, event->rect());
}

TSimGrafiek::TSimGrafiek(QWidget* parent)
    : QWidget(parent), Picture(NewPicture(kSingleWidth, kSingleHeight)) {
    setObjectName(QStringLiteral("SimGrafiek"));
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Graph"));
    setFixedSize(kSingleWidth + 100, kSingleHeight);

    Image1 = new TSimPicture(&Picture, this);
    Image1->setAccessibleName(QStringLiteral("Number of customers present"));
    Image1->setGeometry(0, 0, kSingleWidth, kSingleHeight);

    const int x = kSingleWidth + 10;
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
    SpeedButton2->setToolTip(QStringLiteral("Save graph to file"));
    SpeedButton2->setGeometry(x, kSingleHeight - 40, 30, 30);

    connect(SluitBtn, &QPushButton::clicked, this, &TSimGrafiek::sluitClicked);
    connect(BitBtn1, &QPushButton::clicked, this, &TSimGrafiek::againClicked);
    connect(ToonDataBtn, &QPushButton::clicked, this, &TSimGrafiek::dataClicked);
    connect(SpeedButton2, &QToolButton::clicked, this, &TSimGrafiek::SaveClick);
}

void TSimGrafiek::BeginRun(double length, int scale) {
    scale_ = scale < 1 ? 1 : scale;
    prevActual_ = 0;
    prevAverage_ = 0;
    BitBtn1->setEnabled(false);
    ToonDataBtn->setEnabled(false);
    DrawSingleFrame(Picture, length);
    Steps.clear();
    Steps.add([length](QPainter& p) { DrawSingleFrame(p, length); });
    SluitBtn->setText(QStringLiteral("Stop"));
    show();
    raise();
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

void TSimGrafiek::Flush() {
    if (!dirty_) return;
    dirty_ = false;
    Image1->update();
}

void TSimGrafiek::EndRun() {
    Flush();
    // What the picture shows, for screen readers.
    Image1->setAccessibleDescription(
        QStringLiteral("Actual (green) and average (blue) number of customers present during the simulation; "
                       "at its end %1 present, on average %2")
            .arg(prevActual_)
            .arg(QString::fromStdString(tarvik::FormatGeneral(prevAverage_, 4))));
    SluitBtn->setText(QStringLiteral("Previous"));
    BitBtn1->setEnabled(true);
    ToonDataBtn->setEnabled(true);
}

void TSimGrafiek::SaveClick() {
    tarvik::ui::SaveGraphPicture(Picture, QStringLiteral("Queue.bmp"), [this](QPainter& p) {
        p.fillRect(Picture.rect(), ButtonFace());
        Steps.paint(p);
    });
}

void TSimGrafiek::closeEvent(QCloseEvent* event) {
    // Closing by the title bar only hides the window.
    event->accept();
}

} // namespace tarvik::simulation::ui
