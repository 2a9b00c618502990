#include "modules/ip/treelayout.h"

#include <algorithm>
#include <cmath>

namespace tarvik::ip {

std::vector<long> SubtreeSizes(const NodeLog& log) {
    std::vector<long> size;
    SubtreeSizes(log, size);
    return size;
}

void SubtreeSizes(const NodeLog& log, std::vector<long>& size) {
    const auto& nodes = log.nodes();
    size.assign(nodes.size() + 1, 1);
    size[0] = 0;
    // A child is solved after its parent: its number is larger.
    for (std::size_t k = nodes.size(); k >= 1; --k) {
        const int parent = nodes[k - 1].parent;
        if (parent > 0) size[static_cast<std::size_t>(parent)] += size[k];
    }
}

int TreeLayout::boxAt(double x, double y) const {
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        const TreeBox& b = boxes[i];
        if (std::fabs(x - b.x) <= kBoxWidth / 2 && std::fabs(y - b.y) <= kBoxHeight / 2)
            return static_cast<int>(i);
    }
    return -1;
}

TreeLayout LayOutTree(const NodeLog& log, const std::vector<char>& collapsed, long maxBoxes,
                      bool showSkipped) {
    TreeLayout layout;
    LayOutTree(log, collapsed, maxBoxes, showSkipped, layout);
    return layout;
}

void LayOutTree(const NodeLog& log, const std::vector<char>& collapsed, long maxBoxes, bool showSkipped,
                TreeLayout& layout) {
    TreeLayout::Scratch& w = layout.scratch;
    layout.boxes.clear();
    layout.width = layout.height = 0;
    layout.levels = 0;
    layout.summarised = false;
    layout.drawnNodes = 0;
    const auto& nodes = log.nodes();
    const int count = static_cast<int>(nodes.size());
    layout.boxOf.assign(static_cast<std::size_t>(count) + 1, -1);
    if (count == 0) return;
    auto isCollapsed = [&](int k) { return k < static_cast<int>(collapsed.size()) && collapsed[k] != 0; };

    // The nodes no collapsed node hides, counted by depth; the levels drawn
    // are as many as fit within the bound.
    std::vector<char>& hidden = w.hidden;
    hidden.assign(static_cast<std::size_t>(count) + 1, 0);
    std::vector<long>& perDepth = w.perDepth;
    perDepth.clear();
    for (int k = 1; k <= count; ++k) {
        const NodeRecord& r = nodes[k - 1];
        if (r.parent > 0) hidden[k] = hidden[r.parent] || isCollapsed(r.parent);
        if (hidden[k]) continue;
        if (static_cast<int>(perDepth.size()) <= r.depth) perDepth.resize(r.depth + 1, 0);
        ++perDepth[r.depth];
    }
    int lastDepth = static_cast<int>(perDepth.size()) - 1;
    long sum = 0;
    for (int d = 0; d < static_cast<int>(perDepth.size()); ++d) {
        sum += perDepth[d];
        if (sum > maxBoxes && d > 0) {
            lastDepth = d - 1;
            layout.summarised = true;
            break;
        }
    }
    std::vector<long>& size = w.size;
    SubtreeSizes(log, size);

    // Depth first, the down side before the up side: boxes in pre-order.
    auto& stack = w.stack;
    stack.assign(1, {BoxKind::Node, 1, false, -1, 0});
    std::vector<int>& firstChild = w.firstChild;
    std::vector<int>& lastChild = w.lastChild;
    firstChild.clear();
    lastChild.clear();
    while (!stack.empty()) {
        const TreeLayout::Scratch::Entry e = stack.back();
        stack.pop_back();
        const int b = static_cast<int>(layout.boxes.size());
        TreeBox box{.kind = e.kind, .node = e.node, .up = e.up, .parentBox = e.parentBox, .depth = e.depth};
        firstChild.push_back(-1);
        lastChild.push_back(-1);
        if (e.parentBox >= 0) {
            if (firstChild[e.parentBox] < 0) firstChild[e.parentBox] = b;
            lastChild[e.parentBox] = b;
        }
        layout.levels = std::max(layout.levels, e.depth + 1);
        if (e.kind != BoxKind::Node) {
            if (e.kind == BoxKind::Summary) box.hidden = size[e.node] - 1;
            layout.boxes.push_back(box);
            continue;
        }
        layout.boxOf[e.node] = b;
        ++layout.drawnNodes;
        layout.boxes.push_back(box);
        const NodeRecord& r = nodes[e.node - 1];
        if (size[e.node] > 1 && (isCollapsed(e.node) || r.depth >= lastDepth)) {
            stack.push_back({BoxKind::Summary, e.node, false, b, e.depth + 1});
            continue;
        }
        // Pushed in reverse: the down side comes off the stack first.
        for (int side = 1; side >= 0; --side) {
            const int child = r.child[side];
            if (child != 0 && child <= count)
                stack.push_back({BoxKind::Node, child, side == 1, b, e.depth + 1});
            else if (showSkipped && r.outcome == NodeOutcome::Branched)
                stack.push_back({BoxKind::Skipped, e.node, side == 1, b, e.depth + 1});
        }
    }

    // Leaves take the columns from left to right; a parent stands centred
    // over its first and last child.
    int column = 0;
    for (std::size_t b = 0; b < layout.boxes.size(); ++b)
        if (firstChild[b] < 0) layout.boxes[b].x = column++;
    for (std::size_t b = layout.boxes.size(); b-- > 0;)
        if (firstChild[b] >= 0)
            layout.boxes[b].x = (layout.boxes[firstChild[b]].x + layout.boxes[lastChild[b]].x) / 2;
    for (TreeBox& box : layout.boxes) {
        box.x = TreeLayout::kMargin + TreeLayout::kBoxWidth / 2 + box.x * TreeLayout::kColumn;
        box.y = TreeLayout::kMargin + TreeLayout::kBoxHeight / 2 + box.depth * TreeLayout::kLevel;
    }
    layout.width =
        2 * TreeLayout::kMargin + TreeLayout::kBoxWidth + std::max(0, column - 1) * TreeLayout::kColumn;
    layout.height = 2 * TreeLayout::kMargin + TreeLayout::kBoxHeight +
                    std::max(0, layout.levels - 1) * TreeLayout::kLevel;
}

} // namespace tarvik::ip
