#include "modules/simulation/ui/simpanelgraph.h"

#include "common/numformat.h"
#include "common/ui/accessibility.h"

#include <QCloseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStringList>

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
    titles_ = {leftTitle, rightTitle};
    tarvik::ui::DescribePicture(Image1,
                                QStringLiteral("Actual (green) and average (blue) number of customers "
                                               "present, left: %1, right: %2; running")
                                    .arg(leftTitle, rightTitle));
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
    // What the picture shows, for screen readers: both panels at the end of the run.
    QStringList panels;
    for (std::size_t k = 0; k < 2; ++k)
        panels << QStringLiteral("%1: at the end %2 present, on average %3")
                      .arg(titles_[k])
                      .arg(prevActual_[k])
                      .arg(QString::fromStdString(tarvik::FormatGeneral(prevAverage_[k], 4)));
    tarvik::ui::DescribePicture(Image1,
                                QStringLiteral("Actual (green) and average (blue) number of customers "
                                               "present during the simulation; ") +
                                    panels.join(QStringLiteral("; ")));
    ToonDataBtn->setEnabled(true);
    SluitBtn->setText(QStringLiteral("Previous"));
}

void TSimPanelGraph::closeEvent(QCloseEvent* event) {
    // Closing by the title bar hides the window and stops a run.
    event->accept();
    emit closedByFrame();
}

} // namespace tarvik::simulation::ui
