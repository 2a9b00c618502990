#include "modules/tsp/tsponetree.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

namespace tarvik::tsp {

namespace {

constexpr double kUnbounded = std::numeric_limits<double>::infinity();
// Lengths closer than this are the same length, as in the reduced-matrix search.
constexpr double kSameLength = 1e-7;
// An exchange must gain more than rounding noise.
constexpr double kMinGain = 1e-9;

// ---------------------------------------------------------------- first tour

// 2-OPT exchanges (the first improving one is taken) and Or-OPT moves (a
// chain of one to three cities moved elsewhere, either way round) until
// neither shortens the tour.
void ImproveTour(Tour& t, const DistanceTable& d) {
    const int n = static_cast<int>(t.size());
    if (n < 5) return;
    auto at = [&](int k) { return t[static_cast<std::size_t>((k % n + n) % n)]; };
    for (bool improved = true; improved;) {
        improved = false;
        for (int i = 0; i < n - 2; ++i)
            for (int j = i + 2; j < n && !(i == 0 && j == n - 1); ++j) {
                const int a = at(i), b = at(i + 1), c = at(j), e = at(j + 1);
                if (d(a, c) + d(b, e) < d(a, b) + d(c, e) - kMinGain) {
                    std::reverse(t.begin() + i + 1, t.begin() + j + 1);
                    improved = true;
                }
            }
        for (int len = 1; len <= 3 && !improved; ++len)
            for (int i = 0; i < n && !improved; ++i) {
                const int p = at(i - 1), f = at(i), l = at(i + len - 1), x = at(i + len);
                const double removed = d(p, f) + d(l, x) - d(p, x);
                // The rest of the tour from x round to p; the chain goes between
                // rest[k] and rest[k + 1].
                const int restSize = n - len;
                for (int k = 0; k + 1 < restSize && !improved; ++k) {
                    const int u = at(i + len + k), v = at(i + len + k + 1);
                    const double same = d(u, f) + d(l, v) - d(u, v);
                    const double reversed = d(u, l) + d(f, v) - d(u, v);
                    if (std::min(same, reversed) >= removed - kMinGain) continue;
                    Tour moved;
                    moved.reserve(t.size());
                    for (int q = 0; q <= k; ++q) moved.push_back(at(i + len + q));
                    for (int q = 0; q < len; ++q)
                        moved.push_back(at(same <= reversed ? i + q : i + len - 1 - q));
                    for (int q = k + 1; q < restSize; ++q) moved.push_back(at(i + len + q));
                    t = std::move(moved);
                    improved = true;
                }
            }
    }
}

// The shortest of the closest-neighbour tours from every city, each improved.
Tour FirstTour(const DistanceTable& d) {
    const int n = d.size();
    Tour best;
    double bestLength = kUnbounded;
    for (int s = 1; s <= n; ++s) {
        Tour t = ClosestNeighbourTour(d, s);
        ImproveTour(t, d);
        const double length = TourLength(t, d);
        if (length < bestLength - kMinGain) {
            bestLength = length;
            best = std::move(t);
        }
    }
    std::rotate(best.begin(), std::find(best.begin(), best.end(), 1), best.end());
    return best;
}

// ---------------------------------------------------------------- the search

class OneTreeSearch {
public:
    OneTreeSearch(DistanceTable& d, double upper, SearchProgress& progress, const OneTreeObserver& observer,
                  SubgradientSteps steps)
        : n_(d.size()), stride_(d.stride()), D_(d.data()), best_(upper), progress_(progress),
          observer_(observer), rootSteps_(std::max(1, steps.root)),
          nodeSteps_(steps.node > 0 ? steps.node : 10 + n_) {}

    void Run(const Tour& first) {
        integral_ = true;
        for (int i = 1; i <= n_; ++i)
            for (int j = i + 1; j <= n_; ++j) integral_ = integral_ && at(i, j) == std::floor(at(i, j));
        for (int i = 1; i <= n_; ++i) allowed_[i] = n_ - 1;
        if (progress_.stopRequested()) {
            stopped_ = true;
            return;
        }
        Offer(first);
        if (n_ < 3) {
            // Two cities: there and back is the only tour.
            ++nodes_;
            Notify(2 * at(1, 2));
            return;
        }
        Node root;
        root.pi.fill(0);
        Evaluate(root, root.pi, rootSteps_, 2.0);
        Explore(root);
    }

    ExactResult Result() const {
        ExactResult r;
        r.found = found_;
        r.cancelled = stopped_;
        r.best = best_;
        r.nodes = nodes_;
        if (found_) r.tour = bestTour_;
        return r;
    }

    // A tour from outside the tree search (the first tour); counts when shorter.
    void Offer(const Tour& t) {
        double length = 0;
        for (std::size_t q = 0; q < t.size(); ++q) length += at(t[q], t[(q + 1) % t.size()]);
        Record(t, length);
    }

private:
    using Values = std::array<double, kMaxCities + 1>;
    using PerCity = std::array<int, kMaxCities + 1>;

    // A 1-tree with the penalties that gave it: parent[v] for the spanning
    // tree of cities 2 .. n (0 for city 2, its root) and the two edges of city 1.
    struct Node {
        double bound = -kUnbounded;
        Values pi{};
        PerCity parent{};
        PerCity degree{};
        int special[2] = {0, 0};
        bool tour = false;
    };

    struct Mark {
        std::size_t excluded, included;
    };

    double& at(int i, int j) { return D_[i * stride_ + j]; }
    double at(int i, int j) const { return D_[i * stride_ + j]; }
    bool fixed(int i, int j) const {
        return (fixedCount_[i] > 0 && fixed_[i][0] == j) || (fixedCount_[i] > 1 && fixed_[i][1] == j);
    }

    bool Prunable(double bound) const {
        // With whole-number distances every tour length is whole too.
        const double b = integral_ ? std::ceil(bound - 1e-6) : bound;
        return b >= best_ - kSameLength;
    }

    void Record(const Tour& t, double length) {
        if (!(length < best_ - kSameLength)) return;
        best_ = length;
        bestTour_ = t;
        found_ = true;
        progress_.improved(best_, ImprovementLine(best_));
    }

    // ------------------------------------------------------------ edge state

    Mark Here() const { return {excludedLog_.size(), includedLog_.size()}; }

    void Exclude(int i, int j) {
        if (at(i, j) >= kInf) return;
        excludedLog_.push_back({i, j, at(i, j)});
        at(i, j) = at(j, i) = kInf;
        --allowed_[i];
        --allowed_[j];
    }

    // The other end of the chain of taken edges that starts in `v`, and the
    // number of cities on it.
    std::pair<int, int> ChainEnd(int v) const {
        if (fixedCount_[v] == 0) return {v, 1};
        int previous = v, current = fixed_[v][0], count = 2;
        while (fixedCount_[current] == 2) {
            const int next = fixed_[current][0] == previous ? fixed_[current][1] : fixed_[current][0];
            previous = current;
            current = next;
            ++count;
            if (current == v) break; // a whole tour
        }
        return {current, count};
    }

    // Takes edge i-j; false when no tour of this node can take it.
    bool Include(int i, int j) {
        if (at(i, j) >= kInf || fixedCount_[i] >= 2 || fixedCount_[j] >= 2) return false;
        const auto [endI, countI] = ChainEnd(i);
        const auto [endJ, countJ] = ChainEnd(j);
        if (endI == j && countI < n_) return false; // it would close a sub-tour
        fixed_[i][fixedCount_[i]++] = j;
        fixed_[j][fixedCount_[j]++] = i;
        includedLog_.push_back({i, j});
        // The edge that would close the joined chain before all cities are on it
        // (a chain of two cities has no other edge between its ends).
        if (endI != j && countI + countJ > 2 && countI + countJ < n_) Exclude(endI, endJ);
        for (int v : {i, j})
            if (fixedCount_[v] == 2)
                for (int k = 1; k <= n_; ++k)
                    if (k != v && !fixed(v, k)) Exclude(v, k);
        return true;
    }

    void Undo(const Mark& mark) {
        while (excludedLog_.size() > mark.excluded) {
            const Excluded& e = excludedLog_.back();
            at(e.i, e.j) = at(e.j, e.i) = e.saved;
            ++allowed_[e.i];
            ++allowed_[e.j];
            excludedLog_.pop_back();
        }
        while (includedLog_.size() > mark.included) {
            const auto [i, j] = includedLog_.back();
            --fixedCount_[i];
            --fixedCount_[j];
            includedLog_.pop_back();
        }
    }

    // ------------------------------------------------------------ the bound

    // The minimum 1-tree under the penalties, taken edges first (a minimum
    // spanning tree that must hold a forest of edges is that forest completed
    // by the cheapest edges). Returns its Lagrangian value, or infinity when
    // the node's edges leave no 1-tree.
    double OneTree(const Values& pi, Node& t) const {
        int rest[kMaxCities];
        int m = 0;
        for (int v = 3; v <= n_; ++v) rest[m++] = v;
        double key[kMaxCities + 1];
        bool keyFixed[kMaxCities + 1];
        int from[kMaxCities + 1];
        for (int v = 1; v <= n_; ++v) {
            key[v] = kUnbounded;
            keyFixed[v] = false;
            t.degree[v] = 0;
        }
        double sum = 0;
        int u = 2;
        t.parent[2] = 0;
        for (;;) {
            const double* row = D_ + u * stride_;
            int pick = -1;
            for (int k = 0; k < m; ++k) {
                const int v = rest[k];
                if (!keyFixed[v]) {
                    if (fixed(u, v)) {
                        keyFixed[v] = true;
                        key[v] = row[v] + pi[u] + pi[v];
                        from[v] = u;
                    } else if (row[v] < kInf) {
                        const double c = row[v] + pi[u] + pi[v];
                        if (c < key[v]) {
                            key[v] = c;
                            from[v] = u;
                        }
                    }
                }
                if (pick < 0 || (keyFixed[v] && !keyFixed[rest[pick]]) ||
                    (keyFixed[v] == keyFixed[rest[pick]] && key[v] < key[rest[pick]]))
                    pick = k;
            }
            if (pick < 0) break;
            const int v = rest[pick];
            if (key[v] == kUnbounded) return kUnbounded;
            rest[pick] = rest[--m];
            t.parent[v] = from[v];
            ++t.degree[v];
            ++t.degree[from[v]];
            sum += key[v];
            u = v;
        }
        // City 1: its taken edges, then its cheapest others.
        int count = 0;
        for (int k = 0; k < fixedCount_[1]; ++k) t.special[count++] = fixed_[1][k];
        while (count < 2) {
            int bestV = 0;
            double bestC = kUnbounded;
            for (int v = 2; v <= n_; ++v) {
                if (at(1, v) >= kInf || fixed(1, v) || (count == 1 && v == t.special[0])) continue;
                const double c = at(1, v) + pi[v];
                if (c < bestC) {
                    bestC = c;
                    bestV = v;
                }
            }
            if (!bestV) return kUnbounded;
            t.special[count++] = bestV;
        }
        double penalties = 0;
        for (int v = 1; v <= n_; ++v) penalties += pi[v];
        for (int v : t.special) {
            sum += at(1, v) + pi[1] + pi[v];
            ++t.degree[v];
        }
        t.degree[1] = 2;
        return sum - 2 * penalties;
    }

    void RecordTree(const Node& t) {
        std::array<std::array<int, 2>, kMaxCities + 1> next{};
        PerCity count{};
        auto link = [&](int a, int b) {
            next[a][count[a]++] = b;
            next[b][count[b]++] = a;
        };
        for (int v = 3; v <= n_; ++v) link(v, t.parent[v]);
        link(1, t.special[0]);
        link(1, t.special[1]);
        Tour tour{1};
        int previous = 1, current = std::min(next[1][0], next[1][1]);
        double length = at(1, current);
        while (current != 1) {
            tour.push_back(current);
            const int following = next[current][0] == previous ? next[current][1] : next[current][0];
            length += at(current, following);
            previous = current;
            current = following;
        }
        Record(tour, length);
    }

    // Subgradient steps from the penalties `start`: each moves every penalty
    // by the city's degree minus two, scaled towards the best tour length
    // (Held and Karp's step); the scale halves when the bound stalls. `t`
    // keeps the best bound and its 1-tree.
    void Evaluate(Node& t, const Values& start, int steps, double scale) {
        t.bound = -kUnbounded;
        t.tour = false;
        progress_.yield();
        if (progress_.stopRequested()) {
            stopped_ = true;
            return;
        }
        ++nodes_;
        bool possible = true;
        for (int v = 1; v <= n_ && possible; ++v) possible = allowed_[v] >= 2;
        if (!possible) {
            t.bound = kUnbounded;
            Notify(t.bound);
            return;
        }
        Node current;
        current.pi = start;
        Values direction{};
        const int patience = std::max(5, n_ / 4);
        int stalled = 0;
        for (int step = 0; step < steps; ++step) {
            if (step % 16 == 15) {
                progress_.yield();
                if (progress_.stopRequested()) {
                    stopped_ = true;
                    break;
                }
            }
            const double value = OneTree(current.pi, current);
            if (value == kUnbounded) {
                t.bound = kUnbounded;
                break;
            }
            current.bound = value;
            bool tour = true;
            double norm = 0;
            for (int v = 1; v <= n_; ++v) {
                const int g = current.degree[v] - 2;
                tour = tour && g == 0;
                norm += g * g;
            }
            if (value > t.bound + kMinGain || t.bound == -kUnbounded) {
                t = current;
                stalled = 0;
            } else if (++stalled >= patience) {
                scale /= 2;
                stalled = 0;
            }
            if (tour) {
                // The 1-tree is a round trip: the shortest one of this node.
                t = current;
                t.tour = true;
                RecordTree(t);
                break;
            }
            if (Prunable(t.bound) || scale < 1e-4) break;
            const double target = std::min(best_, kInf);
            const double length = scale * std::max(target - value, 1e-6 * std::abs(value)) / norm;
            for (int v = 1; v <= n_; ++v) {
                direction[v] = 0.7 * (current.degree[v] - 2) + 0.3 * direction[v];
                current.pi[v] += length * direction[v];
            }
        }
        Notify(t.bound);
    }

    void Notify(double bound) const {
        if (!observer_) return;
        OneTreeNode node;
        node.bound = bound;
        for (const auto& [i, j] : includedLog_) node.included.push_back({std::min(i, j), std::max(i, j)});
        for (int i = 1; i <= n_; ++i)
            for (int j = i + 1; j <= n_; ++j)
                if (at(i, j) >= kInf) node.excluded.push_back({i, j});
        observer_(node);
    }

    // ------------------------------------------------------------ the tree search

    // Edges whose cheapest 1-tree already reaches the best tour are left out:
    // edge i-j in place of the dearest free edge on the tree path from i to j
    // (for city 1, in place of its dearer free edge).
    void Eliminate(const Node& t) {
        std::array<std::vector<int>, kMaxCities + 1> adjacent;
        for (int v = 3; v <= n_; ++v) {
            adjacent[v].push_back(t.parent[v]);
            adjacent[t.parent[v]].push_back(v);
        }
        auto cost = [&](int a, int b) { return at(a, b) + t.pi[a] + t.pi[b]; };
        Values dearest;
        int stack[kMaxCities + 1];
        for (int r = 2; r <= n_; ++r) {
            PerCity seen{};
            dearest[r] = -kUnbounded;
            seen[r] = 1;
            int top = 0;
            stack[top++] = r;
            while (top) {
                const int a = stack[--top];
                for (int b : adjacent[a]) {
                    if (seen[b]) continue;
                    seen[b] = 1;
                    dearest[b] = fixed(a, b) ? dearest[a] : std::max(dearest[a], cost(a, b));
                    stack[top++] = b;
                }
            }
            for (int v = r + 1; v <= n_; ++v) {
                if (at(r, v) >= kInf || t.parent[v] == r || t.parent[r] == v) continue;
                if (dearest[v] == -kUnbounded || Prunable(t.bound + cost(r, v) - dearest[v])) Exclude(r, v);
            }
        }
        double dearer = -kUnbounded;
        for (int v : t.special)
            if (!fixed(1, v)) dearer = std::max(dearer, cost(1, v));
        for (int v = 2; v <= n_; ++v) {
            if (at(1, v) >= kInf || v == t.special[0] || v == t.special[1]) continue;
            if (dearer == -kUnbounded || Prunable(t.bound + cost(1, v) - dearer)) Exclude(1, v);
        }
    }

    struct Branch {
        int city = 0, first = 0, second = 0;
    };

    // The city of the highest degree in the 1-tree (the lowest number among
    // equals) and its two dearest free tree edges.
    Branch ChooseBranch(const Node& t) const {
        Branch b;
        int degree = 2;
        for (int v = 1; v <= n_; ++v)
            if (t.degree[v] > degree) {
                degree = t.degree[v];
                b.city = v;
            }
        const int v = b.city;
        double c1 = -kUnbounded, c2 = -kUnbounded;
        auto consider = [&](int w) {
            if (fixed(v, w)) return;
            const double c = at(v, w) + t.pi[v] + t.pi[w];
            if (c > c1) {
                c2 = c1;
                b.second = b.first;
                c1 = c;
                b.first = w;
            } else if (c > c2) {
                c2 = c;
                b.second = w;
            }
        };
        if (v == 1) {
            consider(t.special[0]);
            consider(t.special[1]);
        } else {
            if (t.parent[v]) consider(t.parent[v]);
            for (int w = 3; w <= n_; ++w)
                if (t.parent[w] == v) consider(w);
            if (v == t.special[0] || v == t.special[1]) consider(1);
        }
        return b;
    }

    // Child k of a branch: 0 leaves out the first edge, 1 takes the first
    // and leaves out the second (or takes the first alone when the city has
    // a taken edge already), 2 takes both.
    bool Apply(const Branch& b, int k) {
        if (k == 0) {
            Exclude(b.city, b.first);
            return true;
        }
        const bool one = fixedCount_[b.city] == 1;
        if (!Include(b.city, b.first)) return false;
        if (one) return true;
        if (k == 1) {
            Exclude(b.city, b.second);
            return true;
        }
        return Include(b.city, b.second);
    }

    void Explore(const Node& t) {
        if (stopped_ || t.tour || Prunable(t.bound)) return;
        const Mark mark = Here();
        Eliminate(t);
        const Branch b = ChooseBranch(t);
        if (!b.city || !b.first || !b.second) {
            Undo(mark);
            return;
        }
        const int kinds = fixedCount_[b.city] == 1 ? 2 : 3;
        std::vector<Node> children(static_cast<std::size_t>(kinds));
        std::vector<int> order;
        for (int k = 0; k < kinds && !stopped_; ++k) {
            const Mark m = Here();
            Node& child = children[static_cast<std::size_t>(k)];
            if (Apply(b, k)) {
                Evaluate(child, t.pi, nodeSteps_, 1.0);
                order.push_back(k);
            }
            Undo(m);
        }
        std::stable_sort(order.begin(), order.end(), [&](int x, int y) {
            return children[static_cast<std::size_t>(x)].bound < children[static_cast<std::size_t>(y)].bound;
        });
        for (int k : order) {
            if (stopped_) break;
            const Node& child = children[static_cast<std::size_t>(k)];
            if (child.tour || Prunable(child.bound)) continue;
            const Mark m = Here();
            Apply(b, k);
            Explore(child);
            Undo(m);
        }
        Undo(mark);
    }

    struct Excluded {
        int i, j;
        double saved;
    };

    int n_;
    int stride_;
    double* D_;
    double best_;
    SearchProgress& progress_;
    const OneTreeObserver& observer_;
    int rootSteps_;
    int nodeSteps_;
    bool integral_ = false;
    bool found_ = false;
    bool stopped_ = false;
    std::uint64_t nodes_ = 0;
    Tour bestTour_;
    int fixed_[kMaxCities + 1][2] = {};
    int fixedCount_[kMaxCities + 1] = {};
    int allowed_[kMaxCities + 1] = {};
    std::vector<Excluded> excludedLog_;
    std::vector<std::pair<int, int>> includedLog_;
};

} // namespace

ExactResult OneTreeBranchAndBound(const Cities& cities, DistanceTable& d, double upper,
                                  SearchProgress& progress, const OneTreeObserver& observer,
                                  SubgradientSteps steps) {
    ExactResult result;
    const int n = d.size();
    if (n >= kMinCities && n <= kMaxCities && static_cast<int>(cities.size()) == n) {
        const double bound = std::isnan(upper) ? kInf : std::min(upper, kInf);
        const Tour first = n == 2 ? Tour{1, 2} : FirstTour(d);
        OneTreeSearch search(d, bound, progress, observer, steps);
        search.Run(first);
        result = search.Result();
    }
    d.Fill(cities);
    return result;
}

ExactResult ExactTour(const Cities& cities, DistanceTable& d, double upper, ExactBound bound,
                      SearchProgress& progress) {
    return bound == ExactBound::OneTree ? OneTreeBranchAndBound(cities, d, upper, progress)
                                        : BranchAndBound(cities, d, upper, progress);
}

std::string ExactVerdict(const ExactResult& result) {
    if (!result.found) return {};
    return result.cancelled ? kNotProvenOptimal : kProvenOptimal;
}

} // namespace tarvik::tsp
