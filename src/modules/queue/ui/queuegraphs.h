#pragma once
// The graph windows of the queue module: TMG1_GraphForm (two graphs),
// TDG1_Graph1 and TGMC_Graph1 (one graph each). Captioned "Graph", not modal,
// placed by the cascade rule and destroyed when closed.
#include "modules/queue/queuemodel.h"
#include "plot/didoriv.h"

#include <QWidget>

class QImage;
class QLabel;
class QPainter;
class QPushButton;

namespace tarvik::queue::ui {

class TQueueGraphForm : public QWidget {
    Q_OBJECT
public:
    // The window of a design, filled with the model's graphs and labels.
    // `helpContext`: the topic of the page that drew the graphs (F1 and "&Help").
    static TQueueGraphForm* Create(const GraphWindowData& data, QWidget* owner, int helpContext);

    QLabel* titleLabel() const { return title_; }
    QLabel* label(int i) const { return labels_[static_cast<std::size_t>(i)]; } // 0..2
    QLabel* serviceLabel() const { return service_; }
    QPushButton* closeButton() const { return close_; }
    QPushButton* helpButton() const { return help_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* printButton() const { return print_; }
    // The window's picture (title, labels and graphs, without the buttons),
    // painted on any painter in window coordinates.
    void DrawPicture(QPainter& p);
    QImage Picture();
    const std::vector<tarvik::plot::TdiDoriv*>& graphs() const { return graphs_; }
    QPoint designPosition() const { return design_; }

    // Places the window by the cascade rule: the k-th window of the module.
    void Place(int k, QSize screen);

protected:
    TQueueGraphForm(QWidget* owner, int graphCount, QPoint design, bool threeLabels, int helpContext);

private:
    void Fill(const GraphWindowData& data);

    QLabel* title_;
    std::vector<QLabel*> labels_;
    QLabel* service_;
    QPushButton* close_;
    QPushButton* help_;
    QPushButton* save_;
    QPushButton* print_;
    std::vector<tarvik::plot::TdiDoriv*> graphs_;
    QPoint design_;
};

// Sets a graph's design: "Time t" on a linear autosized x-axis, "Probability"
// on a fixed logarithmic y-axis from 0.001 to 1, white, left margin 50.
void DesignGraph(tarvik::plot::TdiDoriv& g, const QString& graphTitle);
// Fills series 1: symbols below 25 points, a blue line from 25 on.
void FillGraph(tarvik::plot::TdiDoriv& g, const GraphData& data);

// The cascade counter of the module's graph windows (counts from 0 for the
// whole run of the program); returns the current value and increments it.
int TakeCascadeIndex();

} // namespace tarvik::queue::ui
