#include "modules/ip/ui/searchtree.h"

#include "common/numformat.h"
#include "common/safefile.h"
#include "common/ui/accessibility.h"
#include "common/ui/dialogservice.h"
#include "common/ui/help.h"
#include "common/ui/picturesave.h"
#include "common/ui/printing.h"
#include "modules/ip/mipsolver.h"

#include <QAbstractTableModel>
#include <QFileInfo>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QPushButton>
#include <QScrollBar>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>
#include <ctime>

namespace tarvik::ui {

using tarvik::ip::BoxKind;
using tarvik::ip::NodeLog;
using tarvik::ip::NodeOutcome;
using tarvik::ip::NodeRecord;
using tarvik::ip::TreeBox;
using tarvik::ip::TreeLayout;

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kHelpContext = 1001;

// The processor time of this thread.
std::chrono::nanoseconds CpuNow() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::chrono::seconds(t.tv_sec) + std::chrono::nanoseconds(t.tv_nsec);
}
const QString kTitle = QStringLiteral("Search tree");

// Colours of the boxes.
const QColor kInk(0x26, 0x32, 0x38);
const QColor kGreyInk(0x75, 0x75, 0x75);
const QColor kPath(0x15, 0x65, 0xc0);
const QColor kBranchedFill(Qt::white);
const QColor kIncumbentFill(0xff, 0xd5, 0x4f);
const QColor kIntegralFill(0xc8, 0xe6, 0xc9);
const QColor kGreyFill(0xe4, 0xe4, 0xe4);
const QColor kStoppedFill(0xff, 0xcc, 0xbc);

QString Qs(const std::string& s) {
    return QString::fromStdString(s);
}

// At most 4 decimals, trailing zeros dropped: "1.5", "20", "-3.3333".
QString Short(double value) {
    std::string text = tarvik::ip::Value4(value);
    while (text.back() == '0') text.pop_back();
    if (text.back() == '.') text.pop_back();
    if (text == "-0") text = "0";
    return Qs(text);
}

// The branch of one side of a branched node, as its edge shows it.
tarvik::ip::NodeBranch SideBranch(const NodeRecord& node, bool up) {
    const double floorValue = std::floor(node.branchValue);
    return {.var = node.branchVar, .up = up, .bound = up ? floorValue + 1 : floorValue};
}

QString EdgeLabel(const NodeLog& log, const TreeBox& box) {
    if (box.kind == BoxKind::Node) return Qs(BranchText(log, log.node(box.node).branch, true));
    if (box.kind == BoxKind::Skipped)
        return Qs(BranchText(log, SideBranch(log.node(box.node), box.up), true));
    return {};
}

// "≤" for a MAX model, "≥" for a MIN model: how a pruned node's value stands to the incumbent.
QString NotBetter(const NodeLog& log) {
    return log.minimize() ? QStringLiteral("\u2265") : QStringLiteral("\u2264");
}

QString EstimateText(const NodeLog& log, double estimate) {
    if (estimate <= -tarvik::ip::kInfinity) return QStringLiteral("no solution");
    return QStringLiteral("estimate ") + Short(log.ownSense(estimate));
}

QRectF BoxRect(const TreeBox& box) {
    return {box.x - TreeLayout::kBoxWidth / 2, box.y - TreeLayout::kBoxHeight / 2, TreeLayout::kBoxWidth,
            TreeLayout::kBoxHeight};
}

// The grid of nodes as a table for the keyboard list.
const char* const kColumnTitles[] = {"Node",     "Parent",  "Depth",     "Branch",
                                     "LP value", "Outcome", "Incumbent", "Pivots"};

} // namespace

QString BoxValueText(const NodeLog& log, const NodeRecord& node) {
    if (node.hasValue) return QStringLiteral("z = ") + Short(log.ownSense(node.value));
    if (node.outcome == NodeOutcome::Infeasible) return QStringLiteral("no LP solution");
    return QStringLiteral("z = -");
}

QString BoxMarkText(const NodeLog& log, const NodeRecord& node, bool incumbent) {
    switch (node.outcome) {
    case NodeOutcome::Branched:
        return QStringLiteral("branch ") + Qs(log.name(node.branchVar));
    case NodeOutcome::Pruned:
        return QStringLiteral("pruned: ") + NotBetter(log) + QStringLiteral(" ") +
               Short(log.ownSense(node.incumbent));
    case NodeOutcome::Infeasible:
        return QStringLiteral("infeasible");
    case NodeOutcome::Integral:
        if (incumbent) return QStringLiteral("incumbent");
        return node.newIncumbent ? QStringLiteral("earlier incumbent")
                                 : QStringLiteral("integral, not better");
    case NodeOutcome::Unbounded:
        return QStringLiteral("unbounded");
    case NodeOutcome::Stopped:
        break;
    }
    return QStringLiteral("stopped");
}

void PaintSearchTree(QPainter& p, const TreePaintState& st, const QRectF& area, double scale) {
    if (!st.log || !st.layout) return;
    const NodeLog& log = *st.log;
    const TreeLayout& layout = *st.layout;
    const auto& boxes = layout.boxes;
    p.setRenderHint(QPainter::Antialiasing, scale >= 0.3);
    const bool text = scale >= 0.4;
    const double pad = 40; // edge labels stand out of their edge's rectangle

    std::vector<char> onPath(boxes.size(), 0);
    for (int k = st.current; k > 0 && log.kept(k); k = log.node(k).parent)
        if (layout.boxOfNode(k) >= 0) onPath[static_cast<std::size_t>(layout.boxOfNode(k))] = 1;

    QFont labelFont(QStringLiteral("Liberation Sans"));
    labelFont.setPixelSize(11);
    QFont numberFont = labelFont;
    numberFont.setBold(true);
    QFont markFont = labelFont;
    markFont.setPixelSize(10);

    // Edges, with their branch.
    p.setFont(labelFont);
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        const TreeBox& box = boxes[b];
        if (box.parentBox < 0) continue;
        const TreeBox& parent = boxes[static_cast<std::size_t>(box.parentBox)];
        const QPointF from(parent.x, parent.y + TreeLayout::kBoxHeight / 2);
        const QPointF to(box.x, box.y - TreeLayout::kBoxHeight / 2);
        const QRectF span = QRectF(from, to).normalized().adjusted(-pad * 2, -pad, pad * 2, pad);
        if (!span.intersects(area)) continue;
        const bool path = onPath[b] && onPath[static_cast<std::size_t>(box.parentBox)];
        QPen pen(path ? kPath : kInk, path ? 3 : 1.2);
        if (box.kind != BoxKind::Node) pen.setStyle(Qt::DashLine);
        p.setPen(pen);
        p.drawLine(from, to);
        if (!text || box.kind == BoxKind::Summary) continue;
        const QString label = EdgeLabel(log, box);
        const QPointF mid = (from + to) / 2;
        const double w = p.fontMetrics().horizontalAdvance(label) + 6;
        const double h = p.fontMetrics().height();
        // The down side's label left of its edge, the up side's right of it.
        const bool up = box.kind == BoxKind::Node ? log.node(box.node).branch.up : box.up;
        const QRectF r(up ? mid.x() + 3 : mid.x() - 3 - w, mid.y() - h / 2, w, h);
        p.fillRect(r, QColor(255, 255, 255, 220));
        p.setPen(path ? kPath : kInk);
        p.drawText(r, Qt::AlignCenter, label);
    }

    // Boxes.
    for (std::size_t b = 0; b < boxes.size(); ++b) {
        const TreeBox& box = boxes[b];
        QRectF r = BoxRect(box);
        if (!r.intersects(area)) continue;
        if (box.kind == BoxKind::Summary) {
            p.setPen(QPen(kGreyInk, 1.2, Qt::DashLine));
            p.setBrush(QColor(0xf5, 0xf5, 0xf5));
            p.drawRoundedRect(r, 6, 6);
            if (!text) continue;
            p.setPen(kInk);
            p.setFont(numberFont);
            p.drawText(
                r.adjusted(2, 4, -2, -r.height() / 2), Qt::AlignCenter,
                (box.hidden == 1 ? QStringLiteral("+1 node") : QStringLiteral("+%L1 nodes").arg(box.hidden)));
            p.setFont(markFont);
            p.drawText(r.adjusted(2, r.height() / 2, -2, -4), Qt::AlignCenter, QStringLiteral("not drawn"));
            continue;
        }
        if (box.kind == BoxKind::Skipped) {
            r.adjust(10, 6, -10, -6);
            p.setPen(QPen(kGreyInk, 1, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r, 6, 6);
            if (!text) continue;
            p.setPen(kGreyInk);
            p.setFont(markFont);
            const NodeRecord& parent = log.node(box.node);
            p.drawText(r.adjusted(2, 2, -2, -r.height() / 2), Qt::AlignCenter, QStringLiteral("not solved"));
            p.drawText(r.adjusted(2, r.height() / 2, -2, -2), Qt::AlignCenter,
                       EstimateText(log, parent.estimate[box.up ? 1 : 0]));
            continue;
        }
        // Far out, a box keeps a few pixels so that its colour still shows.
        if (r.width() * scale < 4) r = QRectF(box.x - 2 / scale, box.y - 2 / scale, 4 / scale, 4 / scale);
        const NodeRecord& node = log.node(box.node);
        const bool incumbent = box.node == st.incumbentNode;
        const bool grey = node.outcome == NodeOutcome::Pruned || node.outcome == NodeOutcome::Infeasible;
        QColor fill = kBranchedFill;
        if (incumbent)
            fill = kIncumbentFill;
        else if (node.outcome == NodeOutcome::Integral)
            fill = kIntegralFill;
        else if (grey)
            fill = kGreyFill;
        else if (node.outcome == NodeOutcome::Stopped || node.outcome == NodeOutcome::Unbounded)
            fill = kStoppedFill;
        const bool path = onPath[b] != 0;
        p.setPen(QPen(path ? kPath : grey ? kGreyInk : kInk, path || incumbent ? 2.5 : 1.2));
        p.setBrush(fill);
        p.drawRoundedRect(r, 6, 6);
        if (box.node == st.selected) {
            p.setPen(QPen(kPath, 2, Qt::DashLine));
            p.setBrush(Qt::NoBrush);
            p.drawRoundedRect(r.adjusted(-5, -5, 5, 5), 9, 9);
        }
        if (grey) {
            // The mark of a node that ends here: a cross in its corner.
            p.setPen(QPen(kGreyInk, 1.5));
            const QPointF c = r.topRight() + QPointF(-9, 9);
            p.drawLine(c + QPointF(-4, -4), c + QPointF(4, 4));
            p.drawLine(c + QPointF(-4, 4), c + QPointF(4, -4));
        }
        if (!text) continue;
        const double third = r.height() / 3;
        p.setPen(grey ? kGreyInk : kInk);
        p.setFont(numberFont);
        p.drawText(QRectF(r.left(), r.top() + 2, r.width(), third), Qt::AlignCenter,
                   QStringLiteral("Node %1").arg(box.node));
        p.setFont(labelFont);
        p.drawText(QRectF(r.left(), r.top() + third, r.width(), third), Qt::AlignCenter,
                   BoxValueText(log, node));
        p.setFont(markFont);
        p.drawText(QRectF(r.left() + 2, r.top() + 2 * third - 2, r.width() - 4, third), Qt::AlignCenter,
                   BoxMarkText(log, node, incumbent));
    }
}

QString NodeDetailsText(const NodeLog& log, int number) {
    if (!log.kept(number)) return {};
    const NodeRecord& node = log.node(number);
    QString t;
    auto line = [&t](const QString& s) { t += s + QLatin1Char('\n'); };
    line(QStringLiteral("Node %1").arg(number));
    if (node.parent == 0)
        line(QStringLiteral("The root: the relaxation of the whole model"));
    else
        line(QStringLiteral("Depth %1, below node %2\nBranch %3")
                 .arg(node.depth)
                 .arg(node.parent)
                 .arg(Qs(BranchText(log, node.branch, true))));
    line(QStringLiteral("LP value: ") + (node.hasValue ? Qs(tarvik::ip::Value4(log.ownSense(node.value)))
                                         : node.outcome == NodeOutcome::Infeasible
                                             ? QStringLiteral("infeasible")
                                             : QStringLiteral("-")));
    line(QStringLiteral("Pivots: %1").arg(node.pivots));
    QString outcome = Qs(OutcomeName(node.outcome));
    if (node.outcome == NodeOutcome::Pruned)
        outcome += QStringLiteral(": its value does not beat the incumbent ") +
                   Qs(tarvik::ip::Value4(log.ownSense(node.incumbent)));
    else if (node.outcome == NodeOutcome::Integral)
        outcome += node.newIncumbent ? QStringLiteral(": a new incumbent")
                                     : QStringLiteral(": not better than the incumbent");
    else if (node.outcome == NodeOutcome::Infeasible)
        outcome += QStringLiteral(": no point satisfies the constraints and bounds");
    line(QStringLiteral("Outcome: ") + outcome);
    line(QStringLiteral("Incumbent after it: ") + (node.haveIncumbent
                                                       ? Qs(tarvik::ip::Value4(log.ownSense(node.incumbent)))
                                                       : QStringLiteral("none yet")));

    if (node.outcome == NodeOutcome::Branched) {
        line({});
        line(QStringLiteral("Branching on %1 = %2")
                 .arg(Qs(log.name(node.branchVar)), Short(node.branchValue)));
        for (int side = 0; side < 2; ++side) {
            const tarvik::ip::NodeBranch b = SideBranch(node, side == 1);
            const double penalty = node.penalty[side];
            QString where = node.child[side] != 0 ? QStringLiteral("node %1").arg(node.child[side])
                                                  : QStringLiteral("not solved");
            line(QStringLiteral("  %1: penalty %2, %3; %4")
                     .arg(Qs(BranchText(log, b, true)),
                          penalty >= tarvik::ip::kInfinity ? QStringLiteral("infinite") : Short(penalty),
                          EstimateText(log, node.estimate[side]), where));
        }
        line(node.upFirst ? QStringLiteral("  The up side first: its penalty is the smaller.")
                          : QStringLiteral("  The down side first: its penalty is not the larger."));
    }

    line({});
    if (!node.solutionKept) {
        line(node.hasValue ? QStringLiteral("LP solution: not kept (the log keeps at most %L1 values)")
                                 .arg(log.maxValues())
                           : QStringLiteral("LP solution: none"));
    } else {
        line(QStringLiteral("LP solution (variables not listed are 0):"));
        for (const tarvik::ip::VarValue& v : log.solution(number)) {
            const bool fractional = log.isInteger(v.var) && !tarvik::ip::IsIntegral(v.value);
            line(QStringLiteral("  %1 = %2%3")
                     .arg(Qs(log.name(v.var)), Short(v.value),
                          fractional ? QStringLiteral("   fractional") : QString()));
        }
    }
    line({});
    const auto bounds = log.bounds(number);
    if (bounds.empty()) {
        line(QStringLiteral("Bounds: those of the model"));
    } else {
        line(QStringLiteral("Bounds set by the search (others as in the model):"));
        for (const auto& b : bounds) {
            const QString upper = b.upper >= tarvik::ip::kInfinity
                                      ? QStringLiteral("")
                                      : QStringLiteral(" \u2264 ") + Short(b.upper);
            line(QStringLiteral("  %1 \u2264 %2%3").arg(Short(b.lower), Qs(log.name(b.var)), upper));
        }
    }
    const auto fixes = log.fixes(number);
    if (!fixes.empty()) {
        line({});
        line(QStringLiteral("Fixed here by reduced cost (for the nodes below):"));
        for (const auto& f : fixes)
            line(QStringLiteral("  %1 = %2").arg(Qs(log.name(f.var)), Short(f.value)));
    }
    return t;
}

// ---------------------------------------------------------------------------
// The node list

class NodeTableModel : public QAbstractTableModel {
public:
    using QAbstractTableModel::QAbstractTableModel;

    void setLog(const NodeLog* log) {
        beginResetModel();
        log_ = log;
        rows_ = log ? static_cast<int>(log->nodes().size()) : 0;
        endResetModel();
    }
    void grow() {
        const int now = log_ ? static_cast<int>(log_->nodes().size()) : 0;
        if (now <= rows_) return;
        beginInsertRows({}, rows_, now - 1);
        rows_ = now;
        endInsertRows();
    }
    int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : rows_; }
    int columnCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : 8; }
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 || section >= 8)
            return {};
        return QString::fromLatin1(kColumnTitles[section]);
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!log_ || !index.isValid() || index.row() >= rows_) return {};
        const NodeRecord& node = log_->nodes()[static_cast<std::size_t>(index.row())];
        if (role == Qt::TextAlignmentRole)
            return index.column() == 3 || index.column() == 5 ? QVariant(Qt::AlignLeft | Qt::AlignVCenter)
                                                              : QVariant(Qt::AlignRight | Qt::AlignVCenter);
        if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole) return {};
        if (index.column() == 7) return QString::number(node.pivots);
        if (index.column() == 3) return Qs(BranchText(*log_, node.branch, true));
        const std::vector<std::string> fields = tarvik::ip::NodeTableFields(*log_, node);
        return Qs(fields[static_cast<std::size_t>(index.column())]);
    }

private:
    const NodeLog* log_ = nullptr;
    int rows_ = 0;
};

// ---------------------------------------------------------------------------
// The picture

TSearchTreeView::TSearchTreeView(QWidget* parent) : QAbstractScrollArea(parent) {
    setObjectName(QStringLiteral("TreePicture"));
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(false);
    setMinimumSize(320, 220);
}

void TSearchTreeView::setLog(const NodeLog* log) {
    log_ = log;
    collapsed_.clear();
    selected_ = 0;
    follow_ = true;
    relayout();
    // A whole tree opens at its root.
    if (!running_ && log_ && log_->kept(1)) {
        centreOn(1);
        verticalScrollBar()->setValue(0);
    }
}

void TSearchTreeView::setRunning(bool running) {
    running_ = running;
    if (running) follow_ = true;
}

TreePaintState TSearchTreeView::paintState() const {
    TreePaintState st;
    st.log = log_;
    st.layout = &layout_;
    st.selected = selected_;
    st.current = running_ && log_ ? log_->current() : 0;
    st.incumbentNode = log_ ? log_->incumbentNode() : 0;
    return st;
}

void TSearchTreeView::relayout() {
    if (!log_) {
        tarvik::ip::LayOutTree(NodeLog(), {}, kMaxBoxes, false, layout_);
    } else {
        // The sides never solved are drawn once a whole search is over.
        const bool whole = log_->finished() && !log_->stopped() && log_->notKept() == 0;
        tarvik::ip::LayOutTree(*log_, collapsed_, kMaxBoxes, whole && !running_, layout_);
    }
    updateScrollBars();
    if (running_ && follow_ && log_ && log_->current() > 0) {
        const int b = layout_.boxOfNode(log_->current());
        if (b >= 0) {
            const TreeBox& box = layout_.boxes[static_cast<std::size_t>(b)];
            const int x = static_cast<int>(box.x * zoom_), y = static_cast<int>(box.y * zoom_);
            const int mx = static_cast<int>(TreeLayout::kColumn * zoom_),
                      my = static_cast<int>(TreeLayout::kLevel * zoom_);
            QScrollBar* h = horizontalScrollBar();
            QScrollBar* v = verticalScrollBar();
            if (x - mx < h->value() || x + mx > h->value() + viewport()->width())
                h->setValue(x - viewport()->width() / 2);
            if (y - my < v->value() || y + my > v->value() + viewport()->height())
                v->setValue(y - viewport()->height() / 2);
        }
    }
    viewport()->update();
}

void TSearchTreeView::updateScrollBars() {
    const int w = static_cast<int>(std::ceil(layout_.width * zoom_));
    const int h = static_cast<int>(std::ceil(layout_.height * zoom_));
    horizontalScrollBar()->setRange(0, std::max(0, w - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(20);
    verticalScrollBar()->setRange(0, std::max(0, h - viewport()->height()));
    verticalScrollBar()->setPageStep(viewport()->height());
    verticalScrollBar()->setSingleStep(20);
}

QPointF TSearchTreeView::toLayout(const QPoint& p) const {
    return {(p.x() + horizontalScrollBar()->value()) / zoom_, (p.y() + verticalScrollBar()->value()) / zoom_};
}

int TSearchTreeView::nodeAt(const QPoint& p) const {
    const QPointF at = toLayout(p);
    const int b = layout_.boxAt(at.x(), at.y());
    if (b < 0) return 0;
    const TreeBox& box = layout_.boxes[static_cast<std::size_t>(b)];
    return box.kind == BoxKind::Node ? box.node : 0;
}

QPoint TSearchTreeView::boxCentre(int node) const {
    if (layout_.boxOfNode(node) < 0) return {};
    const TreeBox& box = layout_.boxes[static_cast<std::size_t>(layout_.boxOfNode(node))];
    return {static_cast<int>(std::lround(box.x * zoom_)) - horizontalScrollBar()->value(),
            static_cast<int>(std::lround(box.y * zoom_)) - verticalScrollBar()->value()};
}

void TSearchTreeView::paintEvent(QPaintEvent*) {
    const auto start = Clock::now();
    QPainter p(viewport());
    p.fillRect(viewport()->rect(), Qt::white);
    if (!log_ || layout_.boxes.empty()) {
        p.setPen(kGreyInk);
        p.drawText(viewport()->rect(), Qt::AlignCenter, QStringLiteral("No node has been solved yet."));
    } else {
        p.translate(-horizontalScrollBar()->value(), -verticalScrollBar()->value());
        p.scale(zoom_, zoom_);
        const QRectF area(toLayout(QPoint(0, 0)),
                          QSizeF(viewport()->width() / zoom_, viewport()->height() / zoom_));
        PaintSearchTree(p, paintState(), area, zoom_);
    }
    ++paints_;
    lastPaint_ = Clock::now() - start;
}

void TSearchTreeView::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
}

void TSearchTreeView::scrollContentsBy(int, int) {
    viewport()->update();
}

void TSearchTreeView::userMoved() {
    follow_ = false;
    emit viewMoved();
}

void TSearchTreeView::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    dragStart_ = event->position().toPoint();
    scrollAtDrag_ = QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
    dragging_ = false;
    const int node = nodeAt(dragStart_);
    if (node > 0) {
        select(node);
        userMoved(); // while the search runs, the view stays where the user looks
    }
}

void TSearchTreeView::mouseMoveEvent(QMouseEvent* event) {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint d = event->position().toPoint() - dragStart_;
    if (!dragging_ && d.manhattanLength() < 4) return;
    dragging_ = true;
    viewport()->setCursor(Qt::ClosedHandCursor);
    horizontalScrollBar()->setValue(scrollAtDrag_.x() - d.x());
    verticalScrollBar()->setValue(scrollAtDrag_.y() - d.y());
    userMoved();
}

void TSearchTreeView::mouseReleaseEvent(QMouseEvent*) {
    if (dragging_) viewport()->unsetCursor();
    dragging_ = false;
}

void TSearchTreeView::mouseDoubleClickEvent(QMouseEvent* event) {
    const int node = nodeAt(event->position().toPoint());
    if (node > 0) toggleCollapsed(node);
}

void TSearchTreeView::wheelEvent(QWheelEvent* event) {
    if (event->modifiers() & Qt::ControlModifier) {
        zoomBy(event->angleDelta().y() > 0 ? 1.25 : 0.8);
        event->accept();
        return;
    }
    userMoved();
    QAbstractScrollArea::wheelEvent(event);
}

int TSearchTreeView::neighbour(int key) const {
    if (!log_ || log_->nodes().empty()) return 0;
    if (selected_ == 0 || !log_->kept(selected_)) return 1;
    const NodeRecord& node = log_->node(selected_);
    auto drawn = [&](int k) { return layout_.boxOfNode(k) >= 0; };
    switch (key) {
    case Qt::Key_Up:
        return node.parent > 0 ? node.parent : selected_;
    case Qt::Key_Down:
        if (drawn(node.child[0])) return node.child[0];
        if (drawn(node.child[1])) return node.child[1];
        return selected_;
    default:
        break;
    }
    // Left and right: the nearest box on the same level.
    const int b = layout_.boxOfNode(selected_);
    if (b < 0) return selected_;
    const TreeBox& from = layout_.boxes[static_cast<std::size_t>(b)];
    int best = selected_;
    double bestDistance = 0;
    for (const TreeBox& box : layout_.boxes) {
        if (box.kind != BoxKind::Node || box.depth != from.depth) continue;
        const double d = key == Qt::Key_Left ? from.x - box.x : box.x - from.x;
        if (d > 0 && (best == selected_ || d < bestDistance)) {
            best = box.node;
            bestDistance = d;
        }
    }
    return best;
}

void TSearchTreeView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_Left:
    case Qt::Key_Right:
        select(neighbour(event->key()));
        userMoved();
        return;
    case Qt::Key_Home:
        if (log_ && log_->kept(1)) select(1);
        return;
    case Qt::Key_End:
        // The last node; while the search runs, the view follows it again.
        if (log_ && !log_->nodes().empty())
            select(log_->current() > 0 ? log_->current() : static_cast<int>(log_->nodes().size()));
        follow_ = true;
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        if (selected_ > 0) toggleCollapsed(selected_);
        return;
    case Qt::Key_Plus:
    case Qt::Key_Equal:
        zoomBy(1.25);
        return;
    case Qt::Key_Minus:
        zoomBy(0.8);
        return;
    default:
        QAbstractScrollArea::keyPressEvent(event);
    }
}

void TSearchTreeView::select(int node) {
    if (!log_ || !log_->kept(node)) node = 0;
    if (node > 0) {
        // A node inside a collapsed subtree opens the way to it.
        bool opened = false;
        for (int k = log_->node(node).parent; k > 0; k = log_->node(k).parent)
            if (isCollapsed(k)) {
                collapsed_[static_cast<std::size_t>(k)] = 0;
                opened = true;
            }
        if (opened) relayout();
    }
    const bool changed = node != selected_;
    selected_ = node;
    if (layout_.boxOfNode(node) >= 0) {
        const QPoint c = boxCentre(node);
        const int mx = static_cast<int>(TreeLayout::kBoxWidth * zoom_),
                  my = static_cast<int>(TreeLayout::kBoxHeight * zoom_);
        if (c.x() - mx < 0 || c.x() + mx > viewport()->width() || c.y() - my < 0 ||
            c.y() + my > viewport()->height())
            centreOn(node);
    }
    viewport()->update();
    if (changed) emit nodeSelected(node);
}

bool TSearchTreeView::isCollapsed(int node) const {
    return node > 0 && node < static_cast<int>(collapsed_.size()) &&
           collapsed_[static_cast<std::size_t>(node)] != 0;
}

void TSearchTreeView::toggleCollapsed(int node) {
    if (!log_ || !log_->kept(node)) return;
    const NodeRecord& r = log_->node(node);
    if (r.child[0] == 0 && r.child[1] == 0 && !isCollapsed(node)) return;
    if (static_cast<int>(collapsed_.size()) <= node) collapsed_.resize(static_cast<std::size_t>(node) + 1, 0);
    collapsed_[static_cast<std::size_t>(node)] = isCollapsed(node) ? 0 : 1;
    relayout();
    if (node == selected_) emit nodeSelected(node);
}

void TSearchTreeView::zoomBy(double factor) {
    const QPointF centre = toLayout(QPoint(viewport()->width() / 2, viewport()->height() / 2));
    zoom_ = std::clamp(zoom_ * factor, 0.02, 4.0);
    updateScrollBars();
    horizontalScrollBar()->setValue(static_cast<int>(centre.x() * zoom_ - viewport()->width() / 2.0));
    verticalScrollBar()->setValue(static_cast<int>(centre.y() * zoom_ - viewport()->height() / 2.0));
    viewport()->update();
    userMoved();
}

void TSearchTreeView::fitToWindow() {
    if (layout_.width <= 0 || layout_.height <= 0) return;
    // The whole tree; a tree too wide for that shows all its levels and
    // scrolls sideways, from its root.
    const double levels = viewport()->height() / layout_.height;
    const double whole = std::min(viewport()->width() / layout_.width, levels);
    zoom_ = std::clamp(whole >= 0.25 ? whole : levels, 0.05, 1.0);
    updateScrollBars();
    centreOn(1);
    verticalScrollBar()->setValue(0);
    userMoved();
}

void TSearchTreeView::centreOn(int node) {
    if (layout_.boxOfNode(node) < 0) return;
    const TreeBox& box = layout_.boxes[static_cast<std::size_t>(layout_.boxOfNode(node))];
    horizontalScrollBar()->setValue(static_cast<int>(box.x * zoom_ - viewport()->width() / 2.0));
    verticalScrollBar()->setValue(static_cast<int>(box.y * zoom_ - viewport()->height() / 2.0));
    viewport()->update();
}

// ---------------------------------------------------------------------------
// The window

TSearchTreeWindow::TSearchTreeWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), live_([this] { refresh(); }) {
    SetHelpContext(this, kHelpContext);
    setObjectName(QStringLiteral("SearchTree"));
    setWindowTitle(kTitle);
    setAttribute(Qt::WA_DeleteOnClose, false);

    summary_ = new QLabel;
    summary_->setObjectName(QStringLiteral("TreeSummary"));
    summary_->setWordWrap(true);
    // Three lines whatever the text, so that a new text lays nothing else out.
    summary_->setFixedHeight(summary_->fontMetrics().lineSpacing() * 3 + 4);
    summary_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    summary_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    auto* legend = new QLabel(QStringLiteral(
        "<span style='background:#ffd54f'>&nbsp;&nbsp;&nbsp;&nbsp;</span> incumbent &nbsp; "
        "<span style='background:#c8e6c9'>&nbsp;&nbsp;&nbsp;&nbsp;</span> integral &nbsp; "
        "<span style='background:#e4e4e4'>&nbsp;&nbsp;&nbsp;&nbsp;</span> pruned or infeasible &nbsp; "
        "<span style='color:#1565c0'><b>&#8212;&#8212;</b></span> path to the current node &nbsp; "
        "dashed: not drawn or not solved"));
    legend->setObjectName(QStringLiteral("TreeLegend"));

    view_ = new TSearchTreeView;
    details_ = new QPlainTextEdit;
    details_->setObjectName(QStringLiteral("NodeDetails"));
    details_->setReadOnly(true);
    details_->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    details_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    details_->setAccessibleName(QStringLiteral("Selected node"));
    details_->setMinimumWidth(320);

    model_ = new NodeTableModel(this);
    list_ = new QTableView;
    list_->setObjectName(QStringLiteral("NodeList"));
    list_->setAccessibleName(QStringLiteral("Nodes"));
    list_->setModel(model_);
    list_->setSelectionBehavior(QAbstractItemView::SelectRows);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->verticalHeader()->hide();
    list_->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list_->verticalHeader()->setDefaultSectionSize(list_->fontMetrics().height() + 6);
    list_->horizontalHeader()->setStretchLastSection(true);
    list_->setTabKeyNavigation(false);

    auto* top = new QSplitter(Qt::Horizontal);
    top->addWidget(view_);
    top->addWidget(details_);
    top->setStretchFactor(0, 3);
    top->setStretchFactor(1, 1);
    auto* split = new QSplitter(Qt::Vertical);
    split->addWidget(top);
    split->addWidget(list_);
    split->setStretchFactor(0, 3);
    split->setStretchFactor(1, 1);

    auto button = [this](const QString& text, const char* name) {
        auto* b = new QPushButton(text);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        return b;
    };
    QPushButton* zoomIn = button(QStringLiteral("Zoom in"), "ZoomInBtn");
    QPushButton* zoomOut = button(QStringLiteral("Zoom out"), "ZoomOutBtn");
    QPushButton* fit = button(QStringLiteral("Fit"), "FitBtn");
    collapse_ = button(QStringLiteral("Collapse"), "CollapseBtn");
    QPushButton* save = button(QStringLiteral("Save"), "SaveBtn");
    QPushButton* print = button(QStringLiteral("Print\u2026"), "PrintBtn");
    QPushButton* close = button(QStringLiteral("Close"), "CloseBtn");
    auto* saveMenu = new QMenu(save);
    saveMenu
        ->addAction(QStringLiteral("Save picture\u2026 (PNG, SVG, PDF)"), this,
                    &TSearchTreeWindow::SavePictureClick)
        ->setObjectName(QStringLiteral("SavePicture"));
    saveMenu
        ->addAction(QStringLiteral("Save node table as text\u2026"), this, [this] { SaveTableClick(false); })
        ->setObjectName(QStringLiteral("SaveTableText"));
    saveMenu
        ->addAction(QStringLiteral("Save node table as CSV\u2026"), this, [this] { SaveTableClick(true); })
        ->setObjectName(QStringLiteral("SaveTableCsv"));
    save->setMenu(saveMenu);
    connect(zoomIn, &QPushButton::clicked, view_, [this] { view_->zoomBy(1.25); });
    connect(zoomOut, &QPushButton::clicked, view_, [this] { view_->zoomBy(0.8); });
    connect(fit, &QPushButton::clicked, view_, &TSearchTreeView::fitToWindow);
    connect(collapse_, &QPushButton::clicked, this, [this] {
        if (view_->selected() > 0) view_->toggleCollapsed(view_->selected());
    });
    connect(print, &QPushButton::clicked, this, &TSearchTreeWindow::PrintClick);
    connect(close, &QPushButton::clicked, this, &QWidget::close);

    auto* buttons = new QHBoxLayout;
    for (QPushButton* b : {zoomIn, zoomOut, fit, collapse_}) buttons->addWidget(b);
    buttons->addStretch();
    for (QPushButton* b : {save, print, close}) buttons->addWidget(b);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(summary_);
    layout->addWidget(legend);
    layout->addWidget(split, 1);
    layout->addLayout(buttons);

    connect(view_, &TSearchTreeView::nodeSelected, this, &TSearchTreeWindow::showNode);
    connect(list_->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& index) {
                if (index.isValid() && index.row() + 1 != view_->selected()) view_->select(index.row() + 1);
            });
    SetTabOrder({view_, details_, list_, zoomIn, zoomOut, fit, collapse_, save, print, close});
    resize(1040, 720);
    showNode(0);
}

TSearchTreeWindow::~TSearchTreeWindow() = default;

void TSearchTreeWindow::setLog(std::shared_ptr<const NodeLog> log, bool running) {
    log_ = std::move(log);
    nextTexts_ = {};
    live_.reset();
    model_->setLog(log_.get());
    view_->setRunning(running);
    view_->setLog(log_.get());
    shown_ = -1;
    showNode(0);
    refresh();
}

void TSearchTreeWindow::liveUpdate() {
    if (!log_ || log_->total() == shown_ || !isVisible()) return;
    // The picture's cost is held to a tenth of the run's time.
    if (CpuNow() < nextLive_) return;
    live_.request();
}

void TSearchTreeWindow::runFinished() {
    view_->setRunning(false);
    nextTexts_ = {};
    live_.reset();
    shown_ = -1;
    refresh();
    showNode(view_->selected());
}

void TSearchTreeWindow::refresh() {
    const auto start = Clock::now();
    const auto cpuStart = CpuNow();
    view_->relayout();
    // While the search runs the picture is live; the texts and the list,
    // whose new rows lay out the whole window, follow every two seconds.
    if (!view_->running() || start >= nextTexts_) {
        model_->grow();
        updateSummary();
        nextTexts_ = start + std::chrono::seconds(2);
    }
    shown_ = log_ ? log_->total() : 0;
    liveStart_ = cpuStart;
    liveWork_ = CpuNow() - cpuStart;
    nextLive_ = liveStart_ + 30 * liveWork_;
}

bool TSearchTreeWindow::event(QEvent* event) {
    if (event->type() != QEvent::UpdateRequest && event->type() != QEvent::LayoutRequest)
        return QWidget::event(event);
    // Laying out, painting and showing the window: what a live update costs besides the tree's layout.
    const auto start = CpuNow();
    const bool done = QWidget::event(event);
    liveWork_ += CpuNow() - start;
    nextLive_ = liveStart_ + 30 * liveWork_;
    return done;
}

void TSearchTreeWindow::updateSummary() {
    if (!log_ || log_->total() == 0) {
        summary_->setText(QStringLiteral("No node has been solved yet."));
        DescribePicture(view_, QStringLiteral("Search tree: no node yet"));
        return;
    }
    const NodeLog& log = *log_;
    QString t = Qs(log.searchName()) + QStringLiteral(". ");
    if (!log.finished()) t += QStringLiteral("Searching: ");
    t += QStringLiteral("%L1 nodes, %L2 pivots").arg(log.total()).arg(log.pivots());
    QStringList parts;
    for (int o = 0; o < tarvik::ip::kOutcomeCount; ++o) {
        const auto outcome = static_cast<NodeOutcome>(o);
        if (log.count(outcome) > 0)
            parts << QStringLiteral("%1 %L2").arg(Qs(OutcomeName(outcome))).arg(log.count(outcome));
    }
    t += QStringLiteral(" (") + parts.join(QStringLiteral(", ")) + QStringLiteral(")");
    if (log.finished()) {
        t += QStringLiteral(". ");
        t += log.stopped() ? QStringLiteral("The search was stopped.")
                           : Qs(tarvik::ip::StatusLine(log.status()));
    }
    if (view_->layout().summarised)
        t += QStringLiteral(
                 "\nThe first %1 levels are drawn; the nodes below them are summarised with their counts.")
                 .arg(view_->layout().levels - 1);
    if (log.notKept() > 0)
        t += QStringLiteral("\nThe log keeps the first %L1 nodes: %L2 more were counted only.")
                 .arg(log.maxNodes())
                 .arg(log.notKept());
    summary_->setText(t);
    DescribePicture(view_, QStringLiteral("Search tree: ") + t);
}

void TSearchTreeWindow::showNode(int node) {
    const QModelIndex current = list_->selectionModel()->currentIndex();
    if (node > 0 && (!current.isValid() || current.row() + 1 != node)) {
        const QModelIndex index = model_->index(node - 1, 0);
        list_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                            QItemSelectionModel::Rows);
        list_->scrollTo(index);
    }
    collapse_->setEnabled(node > 0);
    collapse_->setText(view_->isCollapsed(node) ? QStringLiteral("Expand") : QStringLiteral("Collapse"));
    if (node > 0 && log_)
        details_->setPlainText(NodeDetailsText(*log_, node));
    else
        details_->setPlainText(
            QStringLiteral("Click a node, or move to it with the arrow keys, to see its LP "
                           "solution and its bounds.\n\nThe node list below holds the same "
                           "nodes.\nDouble-click a node (or press Enter) to collapse or "
                           "expand its subtree."));
}

QImage TSearchTreeWindow::pictureImage() const {
    const TreeLayout& layout = view_->layout();
    const double w = std::max(1.0, layout.width), h = std::max(1.0, layout.height);
    // Within 6000 pixels a side and 24 million pixels.
    const double scale = std::min({1.0, 6000 / w, 6000 / h, std::sqrt(24e6 / (w * h))});
    QImage image(std::max(1, static_cast<int>(w * scale)), std::max(1, static_cast<int>(h * scale)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.scale(scale, scale);
    PaintSearchTree(p, view_->paintState(), QRectF(0, 0, w, h), scale);
    return image;
}

bool TSearchTreeWindow::writePicture(const QString& fileName) const {
    const QImage image = pictureImage();
    const TreeLayout& layout = view_->layout();
    const double scale = image.width() / std::max(1.0, layout.width);
    const TreePaintState state = view_->paintState();
    return WritePicture(
        image, fileName,
        [state, scale, &layout](QPainter& p) {
            p.scale(scale, scale);
            PaintSearchTree(p, state, QRectF(0, 0, layout.width, layout.height), 1);
        },
        kTitle);
}

bool TSearchTreeWindow::writeTable(const QString& fileName, bool csv) const {
    if (!log_) return false;
    const std::string bytes = csv ? tarvik::ip::NodeTableCsv(*log_) : tarvik::ip::NodeTableText(*log_);
    return tarvik::WriteFileSafely(fileName.toStdString(), bytes);
}

void TSearchTreeWindow::SavePictureClick() {
    FileRequest request;
    request.parent = this;
    request.caption = QStringLiteral("Save picture");
    request.directory = FileDialogFolder(QStringLiteral("picture:search-tree"));
    request.fileName = QStringLiteral("search-tree.png");
    request.filters = {kPngFilter, kSvgFilter, QStringLiteral("PDF document (*.pdf)")};
    request.defaultSuffix = QStringLiteral("png");
    const std::optional<QString> name = Dialogs().saveFileName(request);
    if (!name || name->isEmpty()) return;
    RememberFileDialogFolder(QStringLiteral("picture:search-tree"), *name);
    if (!writePicture(*name)) MsgDlg(QStringLiteral("Cannot write file ") + *name, MsgKind::Error, mbOK, 0);
}

void TSearchTreeWindow::SaveTableClick(bool csv) {
    FileRequest request;
    request.parent = this;
    request.caption = QStringLiteral("Save node table");
    request.directory = FileDialogFolder(QStringLiteral("report"));
    request.fileName = csv ? QStringLiteral("search-tree.csv") : QStringLiteral("search-tree.txt");
    request.filters = {csv ? QStringLiteral("CSV table (*.csv)") : QStringLiteral("Text file (*.txt)")};
    request.defaultSuffix = csv ? QStringLiteral("csv") : QStringLiteral("txt");
    const std::optional<QString> name = Dialogs().saveFileName(request);
    if (!name || name->isEmpty()) return;
    RememberFileDialogFolder(QStringLiteral("report"), *name);
    if (!writeTable(*name, csv))
        MsgDlg(QStringLiteral("Cannot write file ") + *name, MsgKind::Error, mbOK, 0);
}

void TSearchTreeWindow::PrintClick() {
    QPrinter& printer = SharedPrinter();
    printer.setDocName(kTitle);
    if (!Dialogs().print(printer, this)) return;
    QPainter p;
    if (!p.begin(&printer)) {
        MsgDlg(QStringLiteral("Cannot print"), MsgKind::Error, mbOK, 0);
        return;
    }
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    QFont title(QStringLiteral("Liberation Sans"));
    title.setPointSize(12);
    p.setFont(title);
    const double titleHeight = p.fontMetrics().height() * 2;
    p.drawText(QRectF(0, 0, page.width(), titleHeight), Qt::AlignLeft | Qt::AlignTop,
               kTitle + QStringLiteral(": ") + summary_->text().section(QLatin1Char('\n'), 0, 0));
    const TreeLayout& layout = view_->layout();
    const double scale = std::min(page.width() / std::max(1.0, layout.width),
                                  (page.height() - titleHeight) / std::max(1.0, layout.height));
    p.translate(0, titleHeight);
    p.scale(scale, scale);
    PaintSearchTree(p, view_->paintState(), QRectF(0, 0, layout.width, layout.height), 1);
    p.end();
}

} // namespace tarvik::ui
