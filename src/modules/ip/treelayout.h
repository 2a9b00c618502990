#pragma once
// Where the search tree window draws each node: top-down, the down side to the
// left of the up side, every leaf in a column of its own and a parent centred
// over its children. Collapsed subtrees, and everything below the levels that
// fit within a bound of boxes, stand as one summary box with their count.
#include "modules/ip/nodelog.h"

#include <vector>

namespace tarvik::ip {

enum class BoxKind : unsigned char {
    Node,    // a node of the log
    Summary, // the nodes below `node` that are not drawn
    Skipped, // a side of `node` never solved: its estimate did not beat the incumbent
};

struct TreeBox {
    BoxKind kind = BoxKind::Node;
    int node = 0;    // the node, or the node a summary or skipped side hangs below
    bool up = false; // Skipped: which side
    long hidden = 0; // Summary: how many nodes it stands for
    int parentBox = -1;
    int depth = 0;
    double x = 0, y = 0; // centre of the box, in layout units
};

struct TreeLayout {
    // Layout units: a box is kBoxWidth x kBoxHeight, columns kColumn apart,
    // levels kLevel apart; the picture has a margin of kMargin all round.
    static constexpr double kBoxWidth = 96, kBoxHeight = 50, kColumn = 112, kLevel = 92, kMargin = 24;

    std::vector<TreeBox> boxes;
    std::vector<int> boxOf; // node number -> box index, -1 when not drawn
    double width = 0, height = 0;
    int levels = 0;          // levels drawn (the root's is 1)
    bool summarised = false; // levels were cut to keep within the bound
    long drawnNodes = 0;

    // Working storage of the layout, kept so that laying out again allocates nothing.
    struct Scratch {
        struct Entry {
            BoxKind kind;
            int node;
            bool up;
            int parentBox;
            int depth;
        };
        std::vector<char> hidden;
        std::vector<long> perDepth, size;
        std::vector<int> firstChild, lastChild;
        std::vector<Entry> stack;
    } scratch;

    int boxAt(double x, double y) const; // the box under a point, -1 for none
    // The box of a node, -1 when it is not drawn (or newer than the layout).
    int boxOfNode(int node) const {
        return node > 0 && node < static_cast<int>(boxOf.size()) ? boxOf[static_cast<std::size_t>(node)] : -1;
    }
};

// Lays out the nodes the log keeps. `collapsed[k]` set hides the subtree below
// node k (the vector may be shorter than the log). At most about `maxBoxes`
// node boxes are drawn: the first levels fully, the rest summarised.
// `showSkipped` adds the sides that were never solved (for a finished search).
TreeLayout LayOutTree(const NodeLog& log, const std::vector<char>& collapsed, long maxBoxes,
                      bool showSkipped);
// The same into `layout`, reusing its memory.
void LayOutTree(const NodeLog& log, const std::vector<char>& collapsed, long maxBoxes, bool showSkipped,
                TreeLayout& layout);

// The number of nodes kept in the subtree of every node (index = node number).
std::vector<long> SubtreeSizes(const NodeLog& log);
void SubtreeSizes(const NodeLog& log, std::vector<long>& size);

} // namespace tarvik::ip
