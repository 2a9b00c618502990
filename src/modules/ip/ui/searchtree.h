#pragma once
// The search tree window: the branch-and-bound tree of the last run, drawn
// top-down while the search runs and complete afterwards, with the details of
// the selected node beside it and the same nodes as a keyboard list below.
#include "common/ui/liverepaint.h"
#include "modules/ip/nodelog.h"
#include "modules/ip/treelayout.h"

#include <QAbstractScrollArea>
#include <QWidget>
#include <chrono>
#include <memory>

class QLabel;
class QPainter;
class QPlainTextEdit;
class QPushButton;
class QTableView;

namespace tarvik::ui {

class NodeTableModel;

// How the picture paints a tree: the state a paint needs besides the layout.
struct TreePaintState {
    const tarvik::ip::NodeLog* log = nullptr;
    const tarvik::ip::TreeLayout* layout = nullptr;
    int selected = 0;      // node
    int current = 0;       // node the running search is at (0: the search is over)
    int incumbentNode = 0; // node that found the incumbent
};
// Paints the boxes and edges that meet `area` (layout units) on a painter in
// layout units; `scale` is how many device pixels a unit is, to leave out
// what would be too small to read.
void PaintSearchTree(QPainter& p, const TreePaintState& state, const QRectF& area, double scale);
// A node's LP value as its box shows it (model's own sense, at most 4 decimals).
QString BoxValueText(const tarvik::ip::NodeLog& log, const tarvik::ip::NodeRecord& node);
// The mark a box carries under its value: why it ended as it did.
QString BoxMarkText(const tarvik::ip::NodeLog& log, const tarvik::ip::NodeRecord& node, bool incumbent);
// The side panel's text for a node.
QString NodeDetailsText(const tarvik::ip::NodeLog& log, int node);

// The picture: zoom, pan, selection by mouse and keyboard, collapsing.
class TSearchTreeView : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr long kMaxBoxes = 3000; // node boxes drawn before deeper levels are summarised

    explicit TSearchTreeView(QWidget* parent = nullptr);

    void setLog(const tarvik::ip::NodeLog* log);
    // The log grew or the search ended: lays the tree out anew; while the
    // search runs the view follows its current node unless the user moved it.
    void relayout();
    void setRunning(bool running);
    bool running() const { return running_; }

    void select(int node); // 0: none
    int selected() const { return selected_; }
    void toggleCollapsed(int node);
    bool isCollapsed(int node) const;
    void zoomBy(double factor);
    void fitToWindow();
    double zoom() const { return zoom_; }
    // Puts a node's box in the middle of the view.
    void centreOn(int node);

    const tarvik::ip::TreeLayout& layout() const { return layout_; }
    TreePaintState paintState() const;
    // Where the box of a node stands in the viewport (for tests), or a null point.
    QPoint boxCentre(int node) const;
    long long paints() const { return paints_; }
    // The time the last paint took.
    std::chrono::steady_clock::duration lastPaintTime() const { return lastPaint_; }

signals:
    void nodeSelected(int node);
    void viewMoved();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void updateScrollBars();
    QPointF toLayout(const QPoint& viewportPoint) const;
    int nodeAt(const QPoint& viewportPoint) const;
    // The node the keyboard moves to from the selected one (arrow keys).
    int neighbour(int key) const;
    void userMoved();

    const tarvik::ip::NodeLog* log_ = nullptr;
    tarvik::ip::TreeLayout layout_;
    std::vector<char> collapsed_;
    int selected_ = 0;
    double zoom_ = 1;
    bool running_ = false;
    bool follow_ = true; // while running: keep the current node in view
    QPoint dragStart_;
    QPoint scrollAtDrag_;
    bool dragging_ = false;
    long long paints_ = 0;
    std::chrono::steady_clock::duration lastPaint_{};
};

class TSearchTreeWindow : public QWidget {
    Q_OBJECT
public:
    explicit TSearchTreeWindow(QWidget* parent = nullptr);
    ~TSearchTreeWindow() override;

    // Shows the tree of `log` (which the window shares while it shows it).
    void setLog(std::shared_ptr<const tarvik::ip::NodeLog> log, bool running);
    // The run handed control to the event loop: shows the nodes added since,
    // paced to the frame rate.
    void liveUpdate();
    // The search is over: the whole tree, the skipped sides and the result.
    void runFinished();

    // Saving and printing: the drawing (PNG, SVG, PDF by the name's extension)
    // and the node table (text with tabs, or CSV).
    bool writePicture(const QString& fileName) const;
    bool writeTable(const QString& fileName, bool csv) const;
    void SavePictureClick();
    void SaveTableClick(bool csv);
    void PrintClick();

    TSearchTreeView* view() const { return view_; }
    QTableView* nodeList() const { return list_; }
    QPlainTextEdit* details() const { return details_; }
    QLabel* summary() const { return summary_; }
    QPushButton* collapseButton() const { return collapse_; }
    const tarvik::ip::NodeLog* log() const { return log_.get(); }
    // The whole picture as an image at a size that stays within a bound.
    QImage pictureImage() const;

protected:
    bool event(QEvent* event) override;

private:
    void showNode(int node);
    void updateSummary();
    void refresh();

    std::shared_ptr<const tarvik::ip::NodeLog> log_;
    TSearchTreeView* view_;
    QTableView* list_;
    NodeTableModel* model_;
    QPlainTextEdit* details_;
    QLabel* summary_;
    QPushButton* collapse_;
    tarvik::ui::LiveRepaint live_;
    long shown_ = -1; // nodes the view showed at its last layout
    // Live updates are also held back so that they cost little of the run:
    // the work of one that the window sees (laying out the tree, then laying
    // out, painting and showing the window) is at most a thirtieth of the time
    // until the next, which leaves room for what it does not see (the event
    // loop's own work); the time is the processor time of the program's thread
    // (on a busy machine the clock also runs while other programs have the
    // processor).
    std::chrono::nanoseconds liveStart_{}, nextLive_{}, liveWork_{};
    std::chrono::steady_clock::time_point nextTexts_{};
};

} // namespace tarvik::ui
