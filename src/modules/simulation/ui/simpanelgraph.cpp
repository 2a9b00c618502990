#include "modules/simulation/ui/simpanelgraph.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>

namespace tarvik::simulation::ui {

TSimPanelGraph::TSimPanelGraph(QWidget* parent, const PanelGraphStyle& style)
    : TSimGraphWindow(parent, style.name, QSize(kPanelWidth, style.height), std::max(style.height, 200),
                      style.saveHint),
      style_(style) {}

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
    prevActual_ = {};
    prevAverage_ = {};
    ShowRunning(scale);
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

void TSimPanelGraph::EndRun() {
    Flush();
    ToonDataBtn->setEnabled(true);
    SluitBtn->setText(QStringLiteral("Previous"));
}

void TSimPanelGraph::closeEvent(QCloseEvent* event) {
    // Closing by the title bar hides the window and stops a run.
    event->accept();
    emit closedByFrame();
}

} // namespace tarvik::simulation::ui
