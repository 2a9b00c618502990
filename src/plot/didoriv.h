#pragma once
// TdiDoriv: the x-y graph control of the queueing models. Numbered series,
// automatically scaled linear or logarithmic axes, grid, ticks, labels and
// titles; Shift-drag zooms (a tiny rectangle undoes the zoom), the top-left
// corner moves the control and the bottom-right corner resizes it.
#include "plot/plotaxis.h"
#include "plot/plotlayout.h"
#include "plot/plotseries.h"

#include <QFont>
#include <QFrame>
#include <map>
#include <memory>

namespace tarvik::plot {

class TdiDoriv : public QFrame {
    Q_OBJECT
public:
    explicit TdiDoriv(QWidget* parent = nullptr);
    ~TdiDoriv() override;

    TAxis XAxis;
    TAxis YAxis;
    TAxis YAxis_Second;
    TDimensions Dimensions;
    TAppearance Appearance;
    bool DragAllowed = true;
    QFont TitleFont;
    QFont LabelFont;

    bool Plotting() const { return plotting_; }
    void SetPlotting(bool on);
    // The series with that number, created when absent.
    TSeries& Series(int number);
    const std::map<int, std::unique_ptr<TSeries>>& AllSeries() const { return series_; }
    // Sets fixed limits (autosizing off), repainting when something changed.
    void SetLimits(TAxis& axis, double min, double max);

    // Paints the whole control onto a painter (also used for pictures).
    void PaintGraph(QPainter& painter);
    // The plot area inside the margins.
    QRect PlotArea() const;
    // Whether the last paint found every scale valid.
    bool ScalesValid() const { return scalesValid_; }
    bool Zoomed() const { return zoom_.zoomed; }
    // What the graph shows, for screen readers: its title, the range of each
    // axis shown and the series with their numbers of points. Kept as the
    // control's accessible description, renewed whenever the graph is drawn.
    QString Description() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void Changed();
    void CollectRanges();
    void PrepareAxis(TAxis& axis, int length, std::string& error);
    void DrawXAxis(QPainter& p, const std::string& error);
    void DrawYAxis(QPainter& p, const std::string& error);
    void DrawSeries(QPainter& p, const TSeries& s);

    bool plotting_ = true;
    bool scalesValid_ = false;
    std::map<int, std::unique_ptr<TSeries>> series_;
    ZoomMemory zoom_;
    enum class Drag { None, Zoom, Move, Resize } drag_ = Drag::None;
    QPoint pressPos_, currentPos_, pressGlobal_;
    QRect startGeometry_;
};

} // namespace tarvik::plot
