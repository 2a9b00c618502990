#include "modules/tsp/tspbb.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvik::tsp {

std::string ImprovementLine(double best) {
    return "Length best tour until now " + FormatGeneral(best, 8);
}

namespace {

// Lengths closer than this are equal (far above the rounding drift of the
// in-place reductions, far below any real difference of two tours).
constexpr double kSameLength = 1e-7;

class Search {
public:
    Search(DistanceTable& d, double upper, SearchProgress& progress)
        : n_(d.size()), stride_(d.stride()), D_(d.data()), best_(upper), progress_(progress) {
        arena_.resize(4096);
        records_.reserve(256);
    }

    void Run() {
        for (int i = 1; i <= n_; ++i) D_[i * stride_ + i] = kInf;
        for (int k = 0; k < n_; ++k) rows_[0][k] = cols_[0][k] = k + 1;
        Explore(0, 0.0);
    }

    ExactResult Result() const {
        ExactResult r;
        r.found = found_;
        r.cancelled = stopped_;
        r.best = best_;
        r.nodes = nodes_;
        if (found_) {
            r.tour.push_back(1);
            for (int q = 1; q < n_; ++q) r.tour.push_back(bestSucc_[r.tour.back()]);
        }
        return r;
    }

private:
    struct Node {
        std::size_t reductions; // offset of the row and column reductions in the arena
        int u = 0, v = 0;       // the entry forbidden for the excluding child
        bool excluded = false;
    };

    double& at(int i, int j) { return D_[i * stride_ + j]; }

    // Row then column reduction of the listed submatrix; returns the sum.
    double Reduce(int m, const int* rows, const int* cols, double* rowRed, double* colRed) {
        double sum = 0;
        for (int i = 0; i < m; ++i) {
            double* row = D_ + rows[i] * stride_;
            double least = kInf;
            for (int j = 0; j < m; ++j) least = std::min(least, row[cols[j]]);
            if (least > 0) {
                for (int j = 0; j < m; ++j)
                    if (row[cols[j]] < kInf) row[cols[j]] -= least;
                sum += least;
            }
            rowRed[i] = least;
        }
        for (int j = 0; j < m; ++j) {
            double* col = D_ + cols[j];
            double least = kInf;
            for (int i = 0; i < m; ++i) least = std::min(least, col[rows[i] * stride_]);
            if (least > 0) {
                for (int i = 0; i < m; ++i) {
                    double& e = col[rows[i] * stride_];
                    if (e < kInf) e -= least;
                }
                sum += least;
            }
            colRed[j] = least;
        }
        return sum;
    }

    void Undo(int m, const int* rows, const int* cols, const double* rowRed, const double* colRed) {
        bool columns = false;
        for (int j = 0; j < m; ++j) columns = columns || colRed[j] != 0;
        for (int i = 0; i < m; ++i) {
            // Adding nothing changes nothing: rows without any reduction are skipped.
            if (!columns && rowRed[i] == 0) continue;
            double* row = D_ + rows[i] * stride_;
            for (int j = 0; j < m; ++j) {
                double& e = row[cols[j]];
                e += rowRed[i] + colRed[j];
                if (e > kInf) e = kInf;
            }
        }
    }

    // The zero entry with the largest sum of row and column penalties (the
    // first one in row-then-column order among equals).
    double Choose(int m, const int* rows, const int* cols, int& bi, int& bj) {
        double rowPen[kMaxCities], colPen[kMaxCities];
        int colZeros[kMaxCities];
        std::int16_t zeros[kMaxCities * kMaxCities][2];
        int zeroCount = 0;
        for (int j = 0; j < m; ++j) {
            colPen[j] = kInf;
            colZeros[j] = 0;
        }
        for (int i = 0; i < m; ++i) {
            const double* row = D_ + rows[i] * stride_;
            double least = kInf;
            int rowZeros = 0;
            for (int j = 0; j < m; ++j) {
                const double e = row[cols[j]];
                if (e == 0) {
                    ++rowZeros;
                    ++colZeros[j];
                    zeros[zeroCount][0] = static_cast<std::int16_t>(i);
                    zeros[zeroCount][1] = static_cast<std::int16_t>(j);
                    ++zeroCount;
                } else {
                    least = std::min(least, e);
                    colPen[j] = std::min(colPen[j], e);
                }
            }
            rowPen[i] = rowZeros > 1 ? 0 : least;
        }
        for (int j = 0; j < m; ++j)
            if (colZeros[j] > 1) colPen[j] = 0;
        double best = -kInf;
        bi = bj = 0;
        for (int z = 0; z < zeroCount; ++z) {
            const int i = zeros[z][0], j = zeros[z][1];
            if (rowPen[i] + colPen[j] > best) {
                best = rowPen[i] + colPen[j];
                bi = i;
                bj = j;
            }
        }
        return best;
    }

    double* Reserve(std::size_t offset, int m) {
        if (offset + 2 * static_cast<std::size_t>(m) > arena_.size())
            arena_.resize(std::max(arena_.size() * 2, offset + 2 * static_cast<std::size_t>(m)));
        return arena_.data() + offset;
    }

    // One node and the chain of its excluding children (which keep the level
    // and the lists): a loop rather than a recursion, so that the depth of
    // the recursion never exceeds the number of cities.
    void Explore(int level, double LB) {
        const int m = n_ - level;
        const int* rows = rows_[level];
        const int* cols = cols_[level];
        const std::size_t firstNode = records_.size();
        const std::size_t firstOffset = top_;
        for (;;) {
            if (progress_.stopRequested()) {
                stopped_ = true;
                break;
            }
            progress_.yield();
            ++nodes_;
            const std::size_t offset = top_;
            double* red = Reserve(offset, m);
            top_ += 2 * static_cast<std::size_t>(m);
            records_.push_back({offset});
            LB += Reduce(m, rows, cols, red, red + m);
            // The reductions and their undoing drift by rounding: a tour no
            // shorter than the best by more than that is the same length.
            if (LB >= best_ - kSameLength) break;
            if (level == n_ - 2) {
                found_ = true;
                std::copy(std::begin(succ_), std::end(succ_), std::begin(bestSucc_));
                const int r1 = rows[0], r2 = rows[1], c1 = cols[0], c2 = cols[1];
                if (at(r1, c1) < kInf) {
                    bestSucc_[r1] = c1;
                    bestSucc_[r2] = c2;
                } else {
                    bestSucc_[r1] = c2;
                    bestSucc_[r2] = c1;
                }
                best_ = LB;
                progress_.improved(best_, ImprovementLine(best_));
                break;
            }
            int i = 0, j = 0;
            const double penalty = Choose(m, rows, cols, i, j);
            const int u = rows[i], v = cols[j];
            const double excludeBound = LB + penalty;

            // Including u -> v; the edge that would close its chain is forbidden.
            succ_[u] = v;
            pred_[v] = u;
            int e = v;
            while (succ_[e]) e = succ_[e];
            int s = u;
            while (pred_[s]) s = pred_[s];
            const double saved = at(e, s);
            at(e, s) = kInf;
            int* childRows = rows_[level + 1];
            int* childCols = cols_[level + 1];
            for (int k = 0, w = 0; k < m; ++k)
                if (k != i) childRows[w++] = rows[k];
            for (int k = 0, w = 0; k < m; ++k)
                if (k != j) childCols[w++] = cols[k];
            Explore(level + 1, LB);
            at(e, s) = saved;
            pred_[v] = 0;
            succ_[u] = 0;

            // Excluding u -> v: the next pass of the loop is that child.
            if (!(excludeBound < best_)) break;
            at(u, v) = kInf;
            records_.back().u = u;
            records_.back().v = v;
            records_.back().excluded = true;
        }
        for (std::size_t k = records_.size(); k-- > firstNode;) {
            const Node& node = records_[k];
            if (node.excluded) at(node.u, node.v) = 0;
            const double* red = arena_.data() + node.reductions;
            Undo(m, rows, cols, red, red + m);
        }
        records_.resize(firstNode);
        top_ = firstOffset;
    }

    int n_;
    int stride_;
    double* D_;
    double best_;
    SearchProgress& progress_;
    bool found_ = false;
    bool stopped_ = false;
    std::uint64_t nodes_ = 0;
    int succ_[kMaxCities + 1] = {};
    int pred_[kMaxCities + 1] = {};
    int bestSucc_[kMaxCities + 1] = {};
    int rows_[kMaxCities + 1][kMaxCities] = {};
    int cols_[kMaxCities + 1][kMaxCities] = {};
    std::vector<double> arena_;
    std::size_t top_ = 0;
    std::vector<Node> records_;
};

} // namespace

ExactResult BranchAndBound(const Cities& cities, DistanceTable& d, double upper, SearchProgress& progress) {
    ExactResult result;
    const int n = d.size();
    if (n >= kMinCities && n <= kMaxCities && static_cast<int>(cities.size()) == n) {
        // Beyond INF a bound no longer tells forbidden entries from tours.
        const double bound = std::isnan(upper) ? kInf : std::min(upper, kInf);
        Search search(d, bound, progress);
        search.Run();
        result = search.Result();
    }
    d.Fill(cities);
    return result;
}

} // namespace tarvik::tsp
