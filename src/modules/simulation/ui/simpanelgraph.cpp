#include "modules/simulation/ui/simpanelgraph.h"

#include "common/ui/modulewindow.h"
#include "common/ui/picturesave.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

namespace tarvik::simulation::ui {

TSimPanelGraph::TSimPanelGraph(QWidget* parent, const PanelGraphStyle& style)
    : QWidget(parent), style_(style), Picture(NewPicture(kPanelWidth, style.height)) {
    setObjectName(style.name);
    tarvik::ui::MakeStayOnTopTool(this);
    setWindowTitle(QStringLiteral("Graph"));
    setFixedSize(kPanelWidth + 100, std::max(style.height, 200));

    Image1 = new TSimPicture(&Picture, this);
    Image1->setGeometry(0, 0, kPanelWidth, style.height);
    const int x = kPanelWidth + 10;
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
    SpeedButton2->setIcon(QWidget::style()->standardIcon(QStyle::SP_DialogSaveButton));
    SpeedButton2->setToolTip(style_.saveHint);
    SpeedButton2->setGeometry(x, style.height - 40, 30, 30);

    connect(SluitBtn, &QPushButton::clicked, this, &TSimPanelGraph::sluitClicked);
    connect(BitBtn1, &QPushButton::clicked, this, &TSimPanelGraph::againClicked);
    connect(ToonDataBtn, &QPushButton::clicked, this, &TSimPanelGraph::dataClicked);
    connect(SpeedButton2, &QToolButton::clicked, this, &TSimPanelGraph::SaveClick);
}

void TSimPanelGraph::BeginRun(double length, int scale, const QString& leftTitle, const QString& rightTitle) {
    BitBtn1->setEnabled(false);
    ToonDataBtn->setEnabled(false);
    PanelFrame frame{.height = style_.height,
                     .leftTitle = leftTitle,
                     .rightTitle = rightTitle,
                     .leftTitleX = style_.leftTitleX,
                     .rightTitleX = style_.rightTitleX,
                     .rightNumber = style_.rightNumber};
    DrawPanelFrame(Picture, frame, length);
    Steps.clear();
    Steps.add([frame, length](QPainter& p) { DrawPanelFrame(p, frame, length); });
    gridDrawn_ = false;
    scale_ = scale < 1 ? 1 : scale;
    prevActual_ = {};
    prevAverage_ = {};
    SluitBtn->setText(QStringLiteral("Stop"));
    show();
    raise();
    DrawPanelGrid(Picture, scale_, style_.linesAtY);
    Steps.add([scale = scale_, atY = style_.linesAtY](QPainter& p) { DrawPanelGrid(p, scale, atY); });
    gridDrawn_ = true;
    Image1->update();
}

void TSimPanelGraph::Sample(int panel, int i, long long actual, double average) {
    const auto k = static_cast<std::size_t>(panel);
    DrawPanelSample(Picture, panel, scale_, i, prevActual_[k], actual, prevAverage_[k], average);
    if (i > 2)
        Steps.add([panel, scale = scale_, i, a0 = prevActual_[k], actual, m0 = prevAverage_[k],
                   average](QPainter& p) { DrawPanelSample(p, panel, scale, i, a0, actual, m0, average); });
    prevActual_[k] = actual;
    prevAverage_[k] = average;
    dirty_ = true;
}

void TSimPanelGraph::Flush() {
    if (!dirty_) return;
    dirty_ = false;
    Image1->update();
}

void TSimPanelGraph::EndRun() {
    Flush();
    ToonDataBtn->setEnabled(true);
    SluitBtn->setText(QStringLiteral("Previous"));
}

void TSimPanelGraph::SaveClick() {
    tarvik::ui::SaveGraphPicture(Picture, QStringLiteral("Queue.bmp"), [this](QPainter& p) {
        p.fillRect(Picture.rect(), ButtonFace());
        Steps.paint(p);
    });
}

void TSimPanelGraph::closeEvent(QCloseEvent* event) {
    // Closing by the title bar hides the window and stops a run.
    event->accept();
    emit closedByFrame();
}

} // namespace tarvik::simulation::ui
