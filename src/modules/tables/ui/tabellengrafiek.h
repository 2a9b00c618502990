#pragma once
// The graph window of the tables module: a distribution drawn in red against
// the normal density with the same mean and standard deviation in green.
#include "modules/tables/distributions.h"

#include <QWidget>

class QPainter;
class QPushButton;

namespace tarvik::tables {

class TTabellenGrafiek : public QWidget {
    Q_OBJECT
public:
    explicit TTabellenGrafiek(QWidget* owner = nullptr);

    // Replaces the graph, sets the caption and repaints.
    void setGraph(GraphData data);
    const GraphData& graph() const { return data_; }
    QPushButton* closeButton() const { return SluitBtn; }

    // Draws the graph as the window shows it, on any 480 x 360 surface.
    static void Paint(QPainter& painter, const GraphData& data);
    // The picture of the current graph.
    QImage picture() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    GraphData data_;
    QPushButton* SluitBtn = nullptr;
};

} // namespace tarvik::tables
