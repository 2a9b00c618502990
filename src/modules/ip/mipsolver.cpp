#include "modules/ip/mipsolver.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvik::ip {

namespace {

// One Gauss-Jordan step on the square d x d matrices m and inv (row-major):
// row p is divided by its pivot, then column c is eliminated from every other
// row. Columns of m up to c are left as they are (the caller reads them no
// more), and only the nonzeros of the two rows p are used (a zero of m
// changes nothing in inv, whatever its sign).
void EliminateColumn(std::vector<long double>& m, std::vector<long double>& inv, int d, int p, int c,
                     long double piv, std::vector<int>& nonzero, std::vector<int>& rowNonzero) {
    const auto at = [d](int a, int b) { return static_cast<std::size_t>(a) * d + b; };
    nonzero.clear();
    rowNonzero.clear();
    for (int j = c + 1; j < d; ++j) {
        if (m[at(p, j)] == 0) continue;
        m[at(p, j)] /= piv;
        rowNonzero.push_back(j);
    }
    for (int j = 0; j < d; ++j) {
        if (inv[at(p, j)] == 0) continue;
        inv[at(p, j)] /= piv;
        nonzero.push_back(j);
    }
    for (int a = 0; a < d; ++a) {
        const long double f = m[at(a, c)];
        if (a == p || f == 0) continue;
        for (int j : rowNonzero) m[at(a, j)] -= f * m[at(p, j)];
        for (int j : nonzero) inv[at(a, j)] -= f * inv[at(p, j)];
    }
}

constexpr double kValueZero = 1e-6;  // values this close to a bound count as on it
constexpr int kContinue = -1;        // `iterate`: one more iteration is needed
constexpr int kStalled = -2;         // `iterate`: every improving step leads back to a basis met before
constexpr int kRefactor = -3;        // `iterate`: the pivot element has vanished, the inverse has drifted
constexpr int kDriftPivots = 100;    // updates of the inverse after which an infeasible verdict is confirmed
constexpr int kBlandAfter = 50;      // iterations without progress before the smallest-index rule
constexpr long kCutPivotFactor = 10; // with added rows: pivots per row and column before a solve gives up
constexpr double kDualTolerance = 1e-7; // dual steps: how far a reduced cost may go to the wrong side
constexpr double kDualStepLimit = 1e3;  // dual steps: the longest move of the entering variable
constexpr int kQuickMoves = 32;         // `quickValues`: updates before the values are worked out afresh
constexpr int kCutStall = 300; // with added rows: iterations without progress before a solve gives up

} // namespace

bool IsIntegral(double x) {
    const double d = x - std::trunc(x + kIntTolerance);
    return d <= kIntTolerance || d >= 1 - kIntTolerance;
}

std::string BoundText(double value) {
    if (value > 1000000) return " +inf";
    if (value < -1000000) return " -inf";
    std::string text = FormatFixed(value, 2);
    if (text == "-0.00") text = "0.00";
    if (text.size() < 10) text.insert(0, 10 - text.size(), ' ');
    return text;
}

std::string StatusLine(int status) {
    switch (status) {
    case kOptimal:
        return "Optimal solution found";
    case kUnbounded:
        return "LP is unbounded";
    case kInfeasible:
        return "There is no feasible solution.";
    case kTooManyIterations:
        return "Too many iterations.";
    case kTooLarge:
        return "Problem is too large.";
    case kPrecision:
        return "Problems with precision";
    case kNoIntegerSolution:
        return "There is no feasible integer solution.";
    default:
        return "An error has taken place";
    }
}

long PivotLimit(int m, int n) {
    return 50L * (m + n + 1) + 10000;
}

// ---------------------------------------------------------------------------
// The relaxation

Relaxation::Relaxation(const MIPModel& model) : model_(model), n_(model.n), m_(model.m), userRows_(model.m) {
    lo_.assign(n_, 0.0);
    up_.assign(n_, kInfinity);
    for (int j = 0; j < n_; ++j)
        if (model.upper[j + 1] >= 0) up_[j] = model.upper[j + 1];
    x_.assign(n_, 0.0);
    s_.assign(m_, 0.0);
    columns_.assign(n_, {});
    rowIntegral_.assign(m_, 0);
    for (int i = 0; i < m_; ++i) {
        bool integral = model.rhs[i + 1] == std::round(model.rhs[i + 1]);
        for (int k = model.rowStart[i + 1]; k < model.rowStart[i + 2]; ++k) {
            columns_[model.variable[k] - 1].emplace_back(i, model.value[k]);
            integral =
                integral && model.integer[model.variable[k]] && model.value[k] == std::round(model.value[k]);
        }
        rowIntegral_[i] = integral ? 1 : 0;
    }
    firstBasis();
}

// No active row, no basic variable, every variable at its lower bound.
void Relaxation::clearBasis() {
    haveCosts_ = false;
    ++changed_;
    active_.clear();
    basis_.clear();
    activePos_.assign(m_, -1);
    slackPos_.assign(m_, -1);
    basisPos_.assign(n_, -1);
    atUpper_.assign(n_, 0);
    repairVar_ = -1;
}

// The start: constraint 1 active with its slack basic, every variable at its
// lower bound.
void Relaxation::firstBasis() {
    clearBasis();
    const int rows = std::min(m_, stride_);
    binv_.assign(static_cast<std::size_t>(rows) * stride_, 0.0);
    if (m_ > 0 && userRows_ <= kMaxBasisRows) activate(0);
    recompute();
}

void Relaxation::saveBasis(std::vector<int>& saved) const {
    // A row whose slack is basic holds nothing up: it is left out with its
    // slack (and becomes active again when it is violated).
    int k = 0;
    for (int row : active_)
        if (slackPos_[row] < 0) ++k;
    saved.clear();
    saved.reserve(static_cast<std::size_t>(2 + 2 * k));
    saved.push_back(m_);
    saved.push_back(k);
    for (int row : active_)
        if (slackPos_[row] < 0) saved.push_back(row);
    for (int v : basis_)
        if (!isSlack(v)) saved.push_back(v);
    for (int j = 0; j < n_; ++j)
        if (atUpper_[j] && basisPos_[j] < 0) saved.push_back(j);
}

bool Relaxation::loadBasis(const std::vector<int>& saved) {
    const int size = static_cast<int>(saved.size());
    const int k = size >= 2 ? saved[1] : -1;
    if (size < 2 || saved[0] != m_ || k < 0 || k > std::min(m_, stride_) || size < 2 + 2 * k) {
        firstBasis();
        return false;
    }
    clearBasis();
    bool fits = true;
    for (int q = 0; q < k && fits; ++q) {
        const int row = saved[static_cast<std::size_t>(2 + q)];
        fits = row >= 0 && row < m_ && activePos_[row] < 0;
        if (!fits) break;
        activePos_[row] = q;
        active_.push_back(row);
    }
    for (int p = 0; p < k && fits; ++p) {
        const int v = saved[static_cast<std::size_t>(2 + k + p)];
        if (v >= 0 && v < n_ && basisPos_[v] < 0) {
            basisPos_[v] = p;
        } else if (v >= n_ && v < n_ + m_ && activePos_[v - n_] >= 0 && slackPos_[v - n_] < 0) {
            slackPos_[v - n_] = p;
        } else {
            fits = false;
            break;
        }
        basis_.push_back(v);
    }
    for (int e = 2 + 2 * k; e < size && fits; ++e) {
        const int j = saved[static_cast<std::size_t>(e)];
        fits = j >= 0 && j < n_ && basisPos_[j] < 0;
        if (fits && up_[j] < kInfinity) atUpper_[j] = 1;
    }
    if (!fits || !invertStructurals()) {
        firstBasis();
        return false;
    }
    recompute();
    if (!rowsSatisfied()) {
        firstBasis();
        return false;
    }
    return true;
}

// The inverse of a basis whose basic slacks are unit columns: with R the
// active rows without a basic slack and C the basic structurals (as many),
// the structurals' rows of the inverse are M^-1 for M = A(R, C), and a basic
// slack's row i is e_i - A(i, C) M^-1 on the columns of R. False when M is
// singular.
bool Relaxation::invertStructurals() {
    haveCosts_ = false;
    ++changed_;
    // `quickValues`: in double precision (the caller checks the rows after it).
    return quickValues ? invertStructuralsIn<double>() : invertStructuralsIn<long double>();
}

// The work space of the inversion, kept from one call to the next: a
// search inverts a basis at every node it jumps to, and allocating these
// afresh each time cost about a sixth of the search.
template <class Real> struct InvertWork {
    std::vector<int> rows, cols, rowOf, colOf, nonzero, rowNonzero, pivotRow;
    std::vector<Real> m, inv, acc;
    std::vector<std::vector<int>> colRows, invCols;
    std::vector<char> listed, invListed, used;
};

template <class Real> bool Relaxation::invertStructuralsIn() {
    thread_local InvertWork<Real> work;
    const int k = static_cast<int>(active_.size());
    std::vector<int>& rows = work.rows; // positions in active_
    std::vector<int>& cols = work.cols; // positions in basis_
    rows.clear();
    cols.clear();
    for (int q = 0; q < k; ++q)
        if (slackPos_[active_[q]] < 0) rows.push_back(q);
    for (int p = 0; p < k; ++p)
        if (!isSlack(basis_[p])) cols.push_back(p);
    const int r = static_cast<int>(rows.size());
    if (r != static_cast<int>(cols.size())) return false;
    const auto at = [r](int a, int b) { return static_cast<std::size_t>(a) * r + b; };
    const std::size_t square = static_cast<std::size_t>(r) * r;
    std::vector<int>& rowOf = work.rowOf; // active position -> index in rows
    rowOf.assign(k, -1);
    for (int a = 0; a < r; ++a) rowOf[rows[a]] = a;
    std::vector<int>& colOf = work.colOf; // basis position -> index in cols
    colOf.assign(k, -1);
    for (int b = 0; b < r; ++b) colOf[cols[b]] = b;
    std::vector<Real>& m = work.m;
    std::vector<Real>& inv = work.inv;
    m.assign(square, 0);
    inv.assign(square, 0);
    // M is sparse: each column keeps the rows where it may be nonzero, each
    // row of inv the columns, and the elimination visits only those (the
    // values are those of the full passes, each row's update being its own).
    std::vector<std::vector<int>>& colRows = work.colRows;
    std::vector<std::vector<int>>& invCols = work.invCols;
    if (colRows.size() < static_cast<std::size_t>(r)) {
        colRows.resize(r);
        invCols.resize(r);
    }
    for (int b = 0; b < r; ++b) {
        colRows[b].clear();
        invCols[b].clear();
    }
    std::vector<char>& listed = work.listed;
    std::vector<char>& invListed = work.invListed;
    listed.assign(square, 0);
    invListed.assign(square, 0);
    for (int b = 0; b < r; ++b)
        for (const auto& [row, a] : columns_[basis_[cols[b]]])
            if (activePos_[row] >= 0 && rowOf[activePos_[row]] >= 0) {
                const int a0 = rowOf[activePos_[row]];
                m[at(a0, b)] = a;
                if (!listed[at(a0, b)]) {
                    listed[at(a0, b)] = 1;
                    colRows[b].push_back(a0);
                }
            }
    for (int a = 0; a < r; ++a) {
        inv[at(a, a)] = 1;
        invListed[at(a, a)] = 1;
        invCols[a].push_back(a);
    }
    // Gauss-Jordan with partial pivoting among the rows not yet used, which
    // stay where they are: the inverse's row for column c is inv's pivotRow[c].
    std::vector<int>& nonzero = work.nonzero;
    std::vector<int>& rowNonzero = work.rowNonzero;
    std::vector<int>& pivotRow = work.pivotRow;
    std::vector<char>& used = work.used;
    pivotRow.assign(r, -1);
    used.assign(r, 0);
    for (int c = 0; c < r; ++c) {
        // The largest entry, the first of equal ones.
        std::vector<int>& candidates = colRows[c];
        std::sort(candidates.begin(), candidates.end());
        int best = -1;
        for (int a : candidates)
            if (!used[a] && (best < 0 || std::fabs(m[at(a, c)]) > std::fabs(m[at(best, c)]))) best = a;
        if (best < 0) return false;
        const Real piv = m[at(best, c)];
        if (std::fabs(piv) <= kUpdateTolerance) return false;
        used[best] = 1;
        pivotRow[c] = best;
        const int p = best;
        // Columns up to c are read no more.
        rowNonzero.clear();
        for (int j = c + 1; j < r; ++j) {
            if (m[at(p, j)] == 0) continue;
            m[at(p, j)] /= piv;
            rowNonzero.push_back(j);
        }
        nonzero.clear();
        for (int j : invCols[p]) {
            if (inv[at(p, j)] == 0) continue;
            inv[at(p, j)] /= piv;
            nonzero.push_back(j);
        }
        for (int a : candidates) {
            const Real f = m[at(a, c)];
            if (a == p || f == 0) continue;
            for (int j : rowNonzero) {
                if (!listed[at(a, j)]) {
                    listed[at(a, j)] = 1;
                    colRows[j].push_back(a);
                }
                m[at(a, j)] -= f * m[at(p, j)];
            }
            for (int j : nonzero) {
                if (!invListed[at(a, j)]) {
                    invListed[at(a, j)] = 1;
                    invCols[a].push_back(j);
                }
                inv[at(a, j)] -= f * inv[at(p, j)];
            }
        }
    }
    // inv = M^-1 (rows in pivot order): its row b belongs to structural
    // cols[b], its column a to active row rows[a].
    for (int p = 0; p < k; ++p) std::fill(binvRow(p), binvRow(p) + stride_, 0.0);
    for (int b = 0; b < r; ++b) {
        double* row = binvRow(cols[b]);
        for (int a = 0; a < r; ++a) row[rows[a]] = static_cast<double>(inv[at(pivotRow[b], a)]);
    }
    std::vector<Real>& acc = work.acc;
    acc.resize(r);
    for (int p = 0; p < k; ++p) {
        const int v = basis_[p];
        if (!isSlack(v)) continue;
        const int q = activePos_[v - n_];
        std::fill(acc.begin(), acc.end(), 0);
        const int row = active_[q];
        for (int e = model_.rowStart[row + 1]; e < model_.rowStart[row + 2]; ++e) {
            const int j = model_.variable[e] - 1;
            if (basisPos_[j] < 0) continue;
            const int b = pivotRow[colOf[basisPos_[j]]];
            for (int a = 0; a < r; ++a) acc[a] += model_.value[e] * inv[at(b, a)];
        }
        double* out = binvRow(p);
        out[q] = 1;
        for (int a = 0; a < r; ++a) out[rows[a]] = static_cast<double>(-acc[a]);
    }
    refactoredAt_ = pivots;
    return true;
}

double Relaxation::varLower(int v) const {
    if (!isSlack(v)) return lo_[v];
    return model_.sense[v - n_ + 1] == kGreaterEqual ? -kInfinity : 0.0;
}

double Relaxation::varUpper(int v) const {
    if (!isSlack(v)) return up_[v];
    return model_.sense[v - n_ + 1] == kLessEqual ? kInfinity : 0.0;
}

void Relaxation::setValue(int v, double value) {
    if (isSlack(v))
        s_[v - n_] = value;
    else
        x_[v] = value;
}

void Relaxation::setBounds(int j, double lower, double upper) {
    const int v = j - 1;
    const double before = x_[v];
    assignBounds(v, lower, upper);
    if (!quickValues || quickMoves_ >= kQuickMoves) {
        recompute();
        return;
    }
    // Only a nonbasic variable's value moves (to its new bound), and the
    // basic ones with it along its column.
    if (basisPos_[v] >= 0) return;
    const double at = atUpper_[v] ? up_[v] : lo_[v];
    if (at == before) return;
    column(v, alpha_);
    moveValues(v, at - before, alpha_);
    x_[v] = at;
}

void Relaxation::setBoundsOnly(int j, double lower, double upper) {
    const int v = j - 1;
    assignBounds(v, lower, upper);
    // `quickValues`: a nonbasic value left off its bound is worked out
    // afresh, with all the others, before the next step.
    if (quickValues && basisPos_[v] < 0 && x_[v] != (atUpper_[v] ? up_[v] : lo_[v]))
        quickMoves_ = kQuickMoves;
}

void Relaxation::settleValues() {
    if (!quickValues || quickMoves_ >= kQuickMoves) recompute();
}

void Relaxation::assignBounds(int v, double lower, double upper) {
    lo_[v] = lower;
    up_[v] = upper >= kInfinity ? kInfinity : upper;
    // A nonbasic variable moves to its new bound.
    if (basisPos_[v] < 0 && atUpper_[v] && up_[v] >= kInfinity) atUpper_[v] = 0;
}

double Relaxation::objective() const {
    double z = 0;
    for (int j = 0; j < n_; ++j) z += model_.cost[j + 1] * x_[j];
    return z;
}

std::vector<int> Relaxation::basicStructurals() const {
    std::vector<int> result;
    for (int v : basis_)
        if (!isSlack(v)) result.push_back(v + 1);
    return result;
}

// Borders the inverse with the new row: its slack becomes basic.
void Relaxation::activate(int row) {
    ++changed_;
    const int k = static_cast<int>(active_.size());
    double* nr = binvRow(k);
    std::fill(nr, nr + stride_, 0.0);
    for (int e = model_.rowStart[row + 1]; e < model_.rowStart[row + 2]; ++e) {
        const int p = basisPos_[model_.variable[e] - 1];
        if (p < 0) continue;
        const double a = model_.value[e];
        const double* bp = binvRow(p);
        for (int q = 0; q < k; ++q) nr[q] -= a * bp[q];
    }
    nr[k] = 1;
    for (int p = 0; p < k; ++p) binvRow(p)[k] = 0;
    active_.push_back(row);
    activePos_[row] = k;
    basis_.push_back(n_ + row);
    slackPos_[row] = k;
}

void Relaxation::column(int v, std::vector<double>& alpha) const {
    const int k = static_cast<int>(active_.size());
    alpha.assign(k, 0.0);
    if (isSlack(v)) {
        const int q = activePos_[v - n_];
        for (int p = 0; p < k; ++p) alpha[p] = binvRow(p)[q];
        return;
    }
    for (const auto& [row, a] : columns_[v]) {
        const int q = activePos_[row];
        if (q < 0) continue;
        for (int p = 0; p < k; ++p) alpha[p] += binvRow(p)[q] * a;
    }
}

void Relaxation::recompute() {
    // Reduced costs updated along with the values are worked out afresh with them.
    if (quickMoves_ > 0) haveCosts_ = false;
    quickMoves_ = 0;
    ++changed_;
    const int k = static_cast<int>(active_.size());
    for (int j = 0; j < n_; ++j)
        if (basisPos_[j] < 0) x_[j] = atUpper_[j] ? up_[j] : lo_[j];
    // Right-hand sides of the active rows less the nonbasic structurals.
    std::vector<double>& r = rhs_;
    r.assign(k, 0.0);
    for (int q = 0; q < k; ++q) {
        const int row = active_[q];
        double b = model_.rhs[row + 1];
        for (int e = model_.rowStart[row + 1]; e < model_.rowStart[row + 2]; ++e) {
            const int j = model_.variable[e] - 1;
            if (basisPos_[j] < 0) b -= model_.value[e] * x_[j];
        }
        r[q] = b;
    }
    for (int q = 0; q < k; ++q) {
        const int row = active_[q];
        if (slackPos_[row] < 0) s_[row] = 0;
    }
    // A zero of r adds an exact zero to a sum that starts at +0: the sums
    // over the nonzeros alone are the same to the bit.
    std::vector<int>& nonzero = rhsNonzero_;
    nonzero.clear();
    for (int q = 0; q < k; ++q)
        if (r[q] != 0) nonzero.push_back(q);
    const bool sparse = 2 * nonzero.size() < static_cast<std::size_t>(k);
    for (int p = 0; p < k; ++p) {
        const double* bp = binvRow(p);
        double v = 0;
        if (sparse) {
            for (int q : nonzero) v += bp[q] * r[q];
        } else {
            for (int q = 0; q < k; ++q) v += bp[q] * r[q];
        }
        setValue(basis_[p], v);
    }
    // The slacks of the inactive rows.
    for (int i = 0; i < m_; ++i) {
        if (activePos_[i] >= 0) continue;
        double v = model_.rhs[i + 1];
        for (int e = model_.rowStart[i + 1]; e < model_.rowStart[i + 2]; ++e)
            v -= model_.value[e] * x_[model_.variable[e] - 1];
        s_[i] = v;
    }
}

// Refactorises the basis in extended precision (Gauss-Jordan with partial
// pivoting in long double). A basic column that depends on the others (no
// pivot left above the tolerance) leaves the basis for its nearest bound and
// the slack of a row without a pivot takes its place, so the basis is always
// regular afterwards. Returns false when the basis had to be repaired.
bool Relaxation::reinvert() {
    haveCosts_ = false;
    ++changed_;
    const int k = static_cast<int>(active_.size());
    using Real = long double;
    const auto at = [k](int r, int c) { return static_cast<std::size_t>(r) * k + c; };
    // B: row q = active row, column p = basic variable at position p.
    std::vector<Real> b(static_cast<std::size_t>(k) * k, 0), inv(static_cast<std::size_t>(k) * k, 0);
    std::vector<Real> colMax(k, 0);
    for (int p = 0; p < k; ++p) {
        const int v = basis_[p];
        if (isSlack(v)) {
            b[at(activePos_[v - n_], p)] = 1;
        } else {
            for (const auto& [row, a] : columns_[v])
                if (activePos_[row] >= 0) b[at(activePos_[row], p)] = a;
        }
        for (int q = 0; q < k; ++q) colMax[p] = std::max(colMax[p], std::fabs(b[at(q, p)]));
    }
    for (int i = 0; i < k; ++i) inv[at(i, i)] = 1;
    refactoredAt_ = pivots;
    std::vector<int> pivotRow(k, -1);
    std::vector<char> used(k, 0);
    std::vector<int> dependent;
    std::vector<int> nonzero, rowNonzero;
    for (int c = 0; c < k; ++c) {
        int best = -1;
        for (int r = 0; r < k; ++r)
            if (!used[r] && (best < 0 || std::fabs(b[at(r, c)]) > std::fabs(b[at(best, c)]))) best = r;
        const Real piv = best < 0 ? 0 : b[at(best, c)];
        if (std::fabs(piv) <= kUpdateTolerance * std::max<Real>(1, colMax[c])) {
            dependent.push_back(c);
            continue;
        }
        used[best] = 1;
        pivotRow[c] = best;
        // Columns before c are read no more (a pivot column holds zeros
        // outside its pivot row), nor is c itself.
        EliminateColumn(b, inv, k, best, c, piv, nonzero, rowNonzero);
    }
    // A row without a pivot is untouched by the elimination: its slack's
    // column is still its unit vector and completes the basis.
    std::size_t next = 0;
    for (int r = 0; r < k && next < dependent.size(); ++r) {
        if (used[r]) continue;
        const int p = dependent[next++];
        const int w = basis_[p];
        if (isSlack(w)) {
            slackPos_[w - n_] = -1;
        } else {
            basisPos_[w] = -1;
            atUpper_[w] = up_[w] < kInfinity && up_[w] - x_[w] < x_[w] - lo_[w] ? 1 : 0;
        }
        const int s = n_ + active_[r];
        basis_[p] = s;
        slackPos_[active_[r]] = p;
        pivotRow[p] = r;
    }
    // B x_B = r gives x_B = B^-1 r: inverse rows are basis positions.
    for (int p = 0; p < k; ++p) {
        double* row = binvRow(p);
        for (int q = 0; q < k; ++q) row[q] = static_cast<double>(inv[at(pivotRow[p], q)]);
    }
    return dependent.empty();
}

void Relaxation::tableauRow(const double* tr, std::vector<double>& rowAlpha) const {
    if (quickValues) {
        rowAlpha.assign(n_, 0.0);
        // Only the nonbasic columns, each from its own entries, with the
        // row's entries spread over the model's rows (0 on an inactive one).
        std::vector<double>& byRow = byRow_;
        byRow.assign(m_, 0.0);
        const int k = static_cast<int>(active_.size());
        for (int q = 0; q < k; ++q) byRow[active_[q]] = tr[q];
        for (int j = 0; j < n_; ++j) {
            if (basisPos_[j] >= 0) continue;
            double sum = 0;
            for (const auto& [row, a] : columns_[j]) sum += byRow[row] * a;
            rowAlpha[j] = sum;
        }
        return;
    }
    tableauRowFromRows(tr, rowAlpha);
}

void Relaxation::tableauRowFromRows(const double* tr, std::vector<double>& rowAlpha) const {
    rowAlpha.assign(n_, 0.0);
    const int k = static_cast<int>(active_.size());
    for (int q = 0; q < k; ++q) {
        if (tr[q] == 0) continue;
        const int row = active_[q];
        for (int e = model_.rowStart[row + 1]; e < model_.rowStart[row + 2]; ++e)
            rowAlpha[model_.variable[e] - 1] += tr[q] * model_.value[e];
    }
}

void Relaxation::duals(std::vector<double>& y) const {
    const int k = static_cast<int>(active_.size());
    y.assign(k, 0.0);
    for (int p = 0; p < k; ++p) {
        const int v = basis_[p];
        if (isSlack(v)) continue;
        const double c = model_.cost[v + 1];
        if (c == 0) continue;
        const double* bp = binvRow(p);
        for (int q = 0; q < k; ++q) y[q] += c * bp[q];
    }
}

const std::vector<double>& Relaxation::currentDuals() const {
    if (dualsAt_ != changed_) {
        duals(dualCache_);
        dualsAt_ = changed_;
    }
    return dualCache_;
}

const std::vector<double>& Relaxation::currentReducedCosts() const {
    if (costsAt_ != changed_) {
        const std::vector<double>& y = currentDuals();
        costCache_.assign(n_, 0.0);
        for (int v = 0; v < n_; ++v)
            if (basisPos_[v] < 0) costCache_[v] = reducedCost(v, y);
        costsAt_ = changed_;
    }
    return costCache_;
}

double Relaxation::reducedCost(int v, const std::vector<double>& y) const {
    if (isSlack(v)) return y[activePos_[v - n_]];
    double d = -model_.cost[v + 1];
    for (const auto& [row, a] : columns_[v]) {
        const int q = activePos_[row];
        if (q >= 0) d += y[q] * a;
    }
    return d;
}

int Relaxation::findViolation() {
    const int k = static_cast<int>(active_.size());
    auto violation = [&](int v) {
        const double val = varValue(v);
        return std::max(varLower(v) - val, val - varUpper(v));
    };
    // A repair goes on until its variable is feasible: other variables that are
    // already violated may get worse meanwhile, but feasible ones stay feasible.
    if (repairVar_ >= 0) {
        const int p = isSlack(repairVar_) ? slackPos_[repairVar_ - n_] : basisPos_[repairVar_];
        if (p >= 0 && violation(repairVar_) > kValueZero) return p;
        repairVar_ = -1;
    }
    int target = -1;
    double worst = kValueZero;
    for (int p = 0; p < k; ++p) {
        const double viol = violation(basis_[p]);
        if (viol > worst) {
            worst = viol;
            target = p;
        }
    }
    if (target >= 0) {
        repairVar_ = basis_[target];
        return target;
    }
    int row = -1;
    for (int i = 0; i < m_; ++i) {
        if (activePos_[i] >= 0) continue;
        const int sense = model_.sense[i + 1];
        const double viol = sense == kLessEqual ? -s_[i] : sense == kGreaterEqual ? s_[i] : std::fabs(s_[i]);
        if (viol > worst) {
            worst = viol;
            row = i;
        }
    }
    if (row < 0) return -1;
    if (static_cast<int>(active_.size()) >= stride_) return -2;
    activate(row);
    repairVar_ = n_ + row;
    return slackPos_[row];
}

void Relaxation::pivot(int pos, int v, const std::vector<double>& alpha) {
    haveCosts_ = false;
    ++changed_;
    const int k = static_cast<int>(active_.size());
    const double piv = alpha[pos];
    double* pr = binvRow(pos);
    for (int q = 0; q < k; ++q) pr[q] /= piv;
    for (int p = 0; p < k; ++p) {
        if (p == pos) continue;
        const double f = alpha[p];
        if (std::fabs(f) <= kUpdateTolerance) continue;
        double* row = binvRow(p);
        if (quickValues) {
            // The same update without branches, so that the compiler
            // vectorises it: a tiny change is left out, as below, so that the
            // inverse keeps its exact zeros (degenerate models need them).
            for (int q = 0; q < k; ++q) {
                const double u = f * pr[q];
                row[q] -= std::fabs(u) > kUpdateTolerance ? u : 0.0;
            }
            continue;
        }
        for (int q = 0; q < k; ++q) {
            const double u = f * pr[q];
            if (std::fabs(u) > kUpdateTolerance || u == 0) row[q] -= u;
        }
    }
    // The leaving variable becomes nonbasic at the bound it reached.
    const int w = basis_[pos];
    if (isSlack(w)) {
        slackPos_[w - n_] = -1;
    } else {
        basisPos_[w] = -1;
    }
    basis_[pos] = v;
    if (isSlack(v))
        slackPos_[v - n_] = pos;
    else
        basisPos_[v] = pos;
}

// The key of variable v in a status (0 basic, 1 at its lower bound, 2 at its
// upper bound) for the hash of a basis: XOR over all variables.
std::uint64_t Relaxation::statusKey(int v, int status) {
    std::uint64_t z =
        static_cast<std::uint64_t>(v) * 3 + static_cast<std::uint64_t>(status) + 0x9e3779b97f4a7c15ULL;
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
}

int Relaxation::status(int v) const {
    if (isSlack(v)) return slackPos_[v - n_] >= 0 ? 0 : 1;
    return basisPos_[v] >= 0 ? 0 : atUpper_[v] ? 2 : 1;
}

std::uint64_t Relaxation::basisHash() const {
    std::uint64_t h = 0;
    for (int j = 0; j < n_; ++j) h ^= statusKey(j, status(j));
    for (int row : active_) h ^= statusKey(n_ + row, status(n_ + row));
    return h;
}

// Progress is a new record: a row made active, a better objective while
// everything is feasible, or a smaller violation of the variable under
// repair than it ever had in this solve. Each record can be set only
// finitely often, so the stall guard below is cleared finitely often.
void Relaxation::noteProgress(int target, bool dual) {
    bool progress = false;
    if (static_cast<int>(active_.size()) != activeAtRecord_) {
        activeAtRecord_ = static_cast<int>(active_.size());
        progress = true;
    } else if (dual) {
        // Dual steps lower the objective (or keep it).
        const double z = objective();
        if (z < bestDual_ - kValueZero * Scale(z)) {
            bestDual_ = z;
            progress = true;
        }
    } else if (target < 0) {
        const double z = objective();
        if (z > bestObjective_ + kValueZero * Scale(z)) {
            bestObjective_ = z;
            progress = true;
        }
    } else {
        const int v = basis_[target];
        const double val = varValue(v);
        const double viol = std::max(varLower(v) - val, val - varUpper(v));
        double& record = bestViolation_[v];
        if (viol < record - kValueZero * Scale(record)) {
            record = viol;
            progress = true;
        }
    }
    if (progress) {
        stall_ = 0;
        visited_.clear();
    } else {
        ++stall_;
    }
}

// One iteration: a repair step when something is violated, else a Dantzig step.
//
// Stalling: after kBlandAfter iterations without a new record (noteProgress)
// the smallest-index rule chooses the entering and leaving variables, and
// every basis met from then on is remembered; a step that would lead back to
// a remembered basis is not taken (the next candidate is tried). Between two
// records no basis repeats, and there are finitely many bases, so a solve
// ends even where rounding makes reduced costs or ratios disagree with
// themselves from one basis to the next. With every candidate refused the
// iteration reports kStalled.
int Relaxation::iterate() {
    int target = findViolation();
    if (target == -2) return kTooLarge;
    const int k = static_cast<int>(active_.size());
    // `quickValues`: the reduced costs kept from the last iteration, else all
    // worked out now (the duals of the rows are the slacks' reduced costs).
    const bool kept = quickValues && haveCosts_;
    const std::vector<double>& y = kept ? dualCache_ : currentDuals();
    if (quickValues && !kept) {
        const std::vector<double>& rc = currentReducedCosts();
        keptCost_.resize(static_cast<std::size_t>(n_ + m_));
        std::copy(rc.begin(), rc.end(), keptCost_.begin());
        for (int q = 0; q < k; ++q) keptCost_[n_ + active_[q]] = y[q];
        haveCosts_ = true;
    }
    auto rowDual = [&](int q) { return quickValues ? keptCost_[n_ + active_[q]] : y[q]; };
    // Each reduced cost is worked out once per iteration, when first asked for.
    if (rcSeen_.size() < static_cast<std::size_t>(n_ + m_)) {
        rcSeen_.resize(static_cast<std::size_t>(n_ + m_), 0);
        rcValue_.resize(static_cast<std::size_t>(n_ + m_), 0.0);
    }
    if (++rcRound_ == 0) {
        std::fill(rcSeen_.begin(), rcSeen_.end(), 0);
        rcRound_ = 1;
    }
    auto rcOf = [&](int v) {
        if (quickValues) return keptCost_[v];
        if (rcSeen_[v] != rcRound_) {
            rcSeen_[v] = rcRound_;
            rcValue_[v] = reducedCost(v, y);
        }
        return rcValue_[v];
    };
    auto direction = [&](int v) {
        // +1 when the nonbasic variable can increase, -1 when it can decrease, 0 fixed.
        if (varLower(v) >= varUpper(v)) return 0;
        if (isSlack(v)) return model_.sense[v - n_ + 1] == kLessEqual ? 1 : -1;
        return atUpper_[v] ? -1 : 1;
    };
    // A dual step needs every nonbasic variable's reduced cost to have the
    // sign of an optimum. At the start of a solve, a variable with two bounds
    // that has the wrong sign (left at a bound by an earlier node) moves to
    // its other bound first.
    // Dual steps that stop lowering the objective give way to the repair
    // steps below until the next record (so the stall guard still ends
    // every solve).
    bool dual = dualSteps && target >= 0 && stall_ < kBlandAfter;
    for (int q = 0; q < k && dual; ++q) {
        const int row = active_[q];
        const int sense = model_.sense[row + 1];
        if (slackPos_[row] < 0 && sense != kEqual && sense * rowDual(q) < -kIntTolerance) dual = false;
    }
    const bool mayFlip = flipAtStart_;
    flipAtStart_ = false;
    if (dual) {
        std::vector<int>& wrong = moveList_;
        wrong.clear();
        for (int j = 0; j < n_ && dual; ++j) {
            if (basisPos_[j] >= 0 || direction(j) * rcOf(j) >= -kIntTolerance) continue;
            if (up_[j] >= kInfinity || !mayFlip) dual = false;
            wrong.push_back(j);
        }
        if (dual && !wrong.empty()) {
            for (int j : wrong) atUpper_[j] = atUpper_[j] ? 0 : 1;
            flips += static_cast<long>(wrong.size());
            recompute();
            ++stall_;
            return kContinue;
        }
    }
    noteProgress(target, dual);
    const bool bland = stall_ > kBlandAfter;
    std::uint64_t hash = 0;
    if (bland) {
        hash = basisHash();
        visited_.insert(hash);
    }
    refused_.clear();
    auto refused = [&](int v) { return std::find(refused_.begin(), refused_.end(), v) != refused_.end(); };

    int want = 0;
    double targetBound = 0;
    const double* tr = nullptr;
    if (target >= 0) {
        const int tv = basis_[target];
        const double val = varValue(tv);
        want = val < varLower(tv) ? 1 : -1;
        targetBound = want > 0 ? varLower(tv) : varUpper(tv);
        // Row `target` of the tableau, for every nonbasic column.
        tr = binvRow(target);
        tableauRow(tr, rowAlpha_);
    }

    enum Kind { None, Flip, Basic, Row };
    int enter = -1;
    int dir = 0;
    Kind kind = None;
    double step = std::numeric_limits<double>::infinity();
    int leave = -1;       // basis position or row
    bool leaveUp = false; // the leaving structural stops at its upper bound
    std::vector<double>& alpha = alpha_;
    for (;;) {
        // The entering variable and its direction.
        enter = -1;
        dir = 0;
        if (target >= 0) {
            // Among the columns that reduce the violation, the one that gives up
            // the least objective per unit of repair (slacks first, then structurals).
            double bestRatio = std::numeric_limits<double>::infinity();
            auto consider = [&](int v, double alphaT) {
                const int d = direction(v);
                if (d == 0 || std::fabs(alphaT) <= kValueZero) return;
                const double rate = -d * alphaT;
                if (rate * want <= 0) return;
                if (bland && refused(v)) return;
                const double ratio = d * rcOf(v) / std::fabs(rate);
                if (bland ? enter < 0 || v < enter : ratio < bestRatio) {
                    bestRatio = ratio;
                    enter = v;
                    dir = d;
                }
            };
            // A dual step: the two passes of Harris's ratio test. The first
            // finds the smallest ratio with every reduced cost eased by a
            // tolerance, the second takes the largest pivot within it, so the
            // reduced costs keep their signs (to that tolerance) and the
            // pivot is never needlessly small.
            // The first pass keeps its candidates for the second.
            double bound = std::numeric_limits<double>::infinity();
            std::vector<DualCandidate>& candidates = dualCandidates_;
            candidates.clear();
            auto dualPass = [&](int v, double alphaT) {
                const int d = direction(v);
                if (d == 0 || std::fabs(alphaT) <= kValueZero) return;
                const double rate = -d * alphaT;
                if (rate * want <= 0) return;
                if (bland && refused(v)) return;
                const double rc = std::max(0.0, d * rcOf(v));
                bound = std::min(bound, (rc + kDualTolerance) / std::fabs(rate));
                candidates.push_back({v, d, std::fabs(rate), rc});
            };
            for (int q = 0; q < k; ++q) {
                const int row = active_[q];
                if (slackPos_[row] >= 0 || model_.sense[row + 1] == kEqual) continue;
                if (dual)
                    dualPass(n_ + row, tr[q]);
                else
                    consider(n_ + row, tr[q]);
            }
            for (int j = 0; j < n_; ++j) {
                if (basisPos_[j] >= 0) continue;
                if (dual)
                    dualPass(j, rowAlpha_[j]);
                else
                    consider(j, rowAlpha_[j]);
            }
            double bestPivot = 0;
            for (const DualCandidate& c : candidates) {
                if (c.rc / c.rate <= bound && c.rate > bestPivot) {
                    bestPivot = c.rate;
                    enter = c.v;
                    dir = c.d;
                }
            }
            if (enter < 0) return refused_.empty() ? kInfeasible : kStalled;
        } else {
            double best = -kZeroTolerance;
            for (int q = 0; q < k; ++q) {
                const int row = active_[q];
                const int sense = model_.sense[row + 1];
                if (slackPos_[row] >= 0 || sense == kEqual) continue;
                if (bland && refused(n_ + row)) continue;
                const double rc = sense * rowDual(q);
                if (bland ? rc < -kZeroTolerance && (enter < 0 || n_ + row < enter) : rc < best) {
                    best = rc;
                    enter = n_ + row;
                    dir = sense;
                }
            }
            for (int j = 0; j < n_; ++j) {
                if (basisPos_[j] >= 0) continue;
                const int d = direction(j);
                if (d == 0 || (bland && refused(j))) continue;
                double rc = rcOf(j);
                if (std::fabs(rc) <= kIntTolerance) rc = 0;
                rc *= d;
                if (bland ? rc < -kZeroTolerance && (enter < 0 || j < enter) : rc < best) {
                    best = rc;
                    enter = j;
                    dir = d;
                }
            }
            if (enter < 0) return refused_.empty() ? kOptimal : kStalled;
        }

        // Ratio test.
        column(enter, alpha);
        kind = None;
        step = std::numeric_limits<double>::infinity();
        leave = -1;
        leaveUp = false;
        // The leaving choice is final: a step of 0 (nothing comes before it),
        // or a dual step (the violated variable leaves).
        bool settled = false;
        int leaveKey = 0; // the smallest-index rule: the leaving variable's index
        auto take = [&](double s, Kind kd, int which, bool upper, int key) {
            if (bland) {
                if (!(s < step - kUpdateTolerance || (s <= step + kUpdateTolerance && key < leaveKey)))
                    return;
            } else if (!(s < step)) {
                return;
            }
            step = s;
            kind = kd;
            leave = which;
            leaveUp = upper;
            leaveKey = key;
            if (s <= kUpdateTolerance && !bland) settled = true;
        };
        if (dual) {
            // The violated variable leaves at its bound; the entering one
            // takes whatever value that gives, and the basic variables that
            // leave their bounds are repaired in the steps that follow.
            const double rate = -dir * alpha[target];
            const double dist = std::fabs(targetBound - varValue(basis_[target]));
            step = dist / std::fabs(rate);
            if (step > kDualStepLimit) {
                // So long a move comes from a small pivot on an ill-conditioned
                // basis: a repair step, which keeps the feasible values feasible, instead.
                dual = false;
                continue;
            }
            kind = Basic;
            leave = target;
            leaveUp = want < 0;
            settled = true;
        }
        if (!dual && !isSlack(enter) && up_[enter] < kInfinity)
            take(up_[enter] - lo_[enter], Flip, -1, false, -1);
        if (target >= 0 && !settled) {
            const double rate = -dir * alpha[target];
            const double val = varValue(basis_[target]);
            double dist = std::fabs(targetBound - val);
            take(dist / std::fabs(rate), Basic, target, want < 0, basis_[target]);
        }
        for (int p = 0; p < k && !settled; ++p) {
            if (p == target || std::fabs(alpha[p]) <= kValueZero) continue;
            const int w = basis_[p];
            const double rate = -dir * alpha[p];
            const double val = varValue(w);
            const double lo = varLower(w), up = varUpper(w);
            const bool below = val<lo - kValueZero, above = val> up + kValueZero;
            if (rate < 0 && lo > -kInfinity && !below) {
                double dist = val - lo;
                if (dist <= kValueZero) dist = 0;
                take(dist / -rate, Basic, p, false, w);
            } else if (rate > 0 && up < kInfinity && !above) {
                double dist = up - val;
                if (dist <= kValueZero) dist = 0;
                take(dist / rate, Basic, p, true, w);
            }
        }
        if (!settled) {
            // How each structural moves per unit step.
            std::vector<std::pair<int, double>>& moves = moves_;
            moves.clear();
            if (!isSlack(enter)) moves.emplace_back(enter, static_cast<double>(dir));
            for (int p = 0; p < k; ++p)
                if (!isSlack(basis_[p]) && alpha[p] != 0) moves.emplace_back(basis_[p], -dir * alpha[p]);
            std::vector<double>& rate = rate_;
            rate.assign(m_, 0.0);
            for (const auto& [j, w] : moves)
                for (const auto& [row, a] : columns_[j])
                    if (activePos_[row] < 0) rate[row] -= a * w;
            for (int i = 0; i < m_ && !settled; ++i) {
                if (activePos_[i] >= 0 || std::fabs(rate[i]) <= kValueZero) continue;
                const int sense = model_.sense[i + 1];
                double s = s_[i];
                if (std::fabs(s) <= kValueZero) s = 0;
                if (sense == kLessEqual) {
                    if (s < 0 || rate[i] > 0) continue;
                    take(s / -rate[i], Row, i, false, n_ + i);
                } else if (sense == kGreaterEqual) {
                    if (s > 0 || rate[i] < 0) continue;
                    take(-s / rate[i], Row, i, false, n_ + i);
                } else {
                    if (s != 0) continue;
                    take(0, Row, i, false, n_ + i);
                }
            }
        }
        if (kind == None) return kUnbounded;
        if (!bland || kind == Row) break; // a row made active is progress of its own
        // The basis this step leads to.
        std::uint64_t next = hash ^ statusKey(enter, status(enter));
        if (kind == Flip) {
            next ^= statusKey(enter, atUpper_[enter] ? 1 : 2);
        } else {
            const int w = basis_[leave];
            next ^= statusKey(enter, 0) ^ statusKey(w, 0) ^ statusKey(w, isSlack(w) || !leaveUp ? 1 : 2);
        }
        if (!visited_.count(next)) break;
        refused_.push_back(enter);
    }

    if (kind == Flip) {
        atUpper_[enter] = atUpper_[enter] ? 0 : 1;
        ++flips;
        if (quickValues) {
            moveValues(enter, dir * (up_[enter] - lo_[enter]), alpha);
            x_[enter] = atUpper_[enter] ? up_[enter] : lo_[enter];
        } else {
            recompute();
        }
        return kContinue;
    }
    int pos = leave;
    if (kind == Row) {
        if (static_cast<int>(active_.size()) >= stride_) return kTooLarge;
        activate(leave);
        pos = slackPos_[leave];
        column(enter, alpha);
    }
    if (std::fabs(alpha[pos]) <= kUpdateTolerance) return kRefactor;
    if (kind == Basic) {
        const int w = basis_[pos];
        if (!isSlack(w)) atUpper_[w] = leaveUp ? 1 : 0;
    }
    if (!isSlack(enter)) atUpper_[enter] = 0;
    if (quickValues) {
        // The step the ratio test found; a row made active or a repair ends
        // with the leaving variable exactly at its bound.
        const int w = basis_[pos];
        moveValues(enter, dir * step, alpha);
        setValue(w, isSlack(w) ? 0.0 : atUpper_[w] ? up_[w] : lo_[w]);
    }
    // A dual step's pivot row is the tableau row read for it: every reduced
    // cost moves by the entering one's ratio times its entry there (read
    // before the pivot changes the inverse).
    const bool keepCosts = quickValues && dual && haveCosts_;
    const int leaving = basis_[pos];
    if (keepCosts) {
        const double ratio = rcOf(enter) / alpha[pos];
        for (int j = 0; j < n_; ++j)
            if (basisPos_[j] < 0) keptCost_[j] -= ratio * rowAlpha_[j];
        for (int q = 0; q < k; ++q) {
            const int row = active_[q];
            if (slackPos_[row] < 0) keptCost_[n_ + row] -= ratio * tr[q];
        }
        keptCost_[leaving] = -ratio; // its entry in its own row is 1
    }
    pivot(pos, enter, alpha);
    ++pivots;
    if (!quickValues) recompute();
    haveCosts_ = keepCosts;
    return kContinue;
}

void Relaxation::moveValues(int v, double t, const std::vector<double>& alpha) {
    ++quickMoves_;
    const int k = static_cast<int>(active_.size());
    auto moveRows = [&](int j, double change) {
        for (const auto& [row, a] : columns_[j])
            if (activePos_[row] < 0) s_[row] -= a * change;
    };
    for (int p = 0; p < k; ++p) {
        if (alpha[p] == 0) continue;
        const int w = basis_[p];
        const double change = -t * alpha[p];
        setValue(w, varValue(w) + change);
        if (!isSlack(w)) moveRows(w, change);
    }
    setValue(v, varValue(v) + t);
    if (!isSlack(v)) moveRows(v, t);
}

bool Relaxation::rowsSatisfied() const {
    const int k = static_cast<int>(active_.size());
    for (int q = 0; q < k; ++q) {
        const int row = active_[q];
        double r = model_.rhs[row + 1] - s_[row];
        double size = std::fabs(model_.rhs[row + 1]);
        for (int e = model_.rowStart[row + 1]; e < model_.rowStart[row + 2]; ++e) {
            const double t = model_.value[e] * x_[model_.variable[e] - 1];
            r -= t;
            size = std::max(size, std::fabs(t));
        }
        if (std::fabs(r) > kIntTolerance * Scale(size)) return false;
    }
    return true;
}

bool Relaxation::accurate() const {
    if (!rowsSatisfied()) return false;
    const int k = static_cast<int>(active_.size());
    for (int p = 0; p < k; ++p) {
        const int v = basis_[p];
        const double val = varValue(v);
        const double tol = kIntTolerance * Scale(val);
        if (val < varLower(v) - tol || val > varUpper(v) + tol) return false;
    }
    return true;
}

int Relaxation::solve(tarvik::Progress& progress) {
    // Cuts set aside by the last solve come back: the next node may well
    // solve with them again.
    if (!parked_.empty()) {
        addRows(parked_);
        parked_.clear();
    }
    const int code = solveOnce(progress);
    if (m_ == userRows_ || stopped_ || code == kOptimal || code == kInfeasible || code == kUnbounded)
        return code;
    // Added rows only tighten the relaxation. When they keep a solve from an
    // answer, it is solved without them from the first basis, and they are
    // added again to that optimum; failing that, this solve does without
    // them, and with `parkCuts` the next one has them again (else none does).
    const std::vector<CutRow> saved = cuts();
    removeCuts();
    const int plain = solveOnce(progress);
    if (stopped_ || (plain != kOptimal && plain != kInfeasible)) return plain;
    addRows(saved);
    if (plain == kInfeasible) return plain; // the cuts stay for the nodes to come
    const int again = solveOnce(progress);
    if (again == kOptimal || again == kInfeasible || stopped_) return again;
    removeCuts();
    if (parkCuts) parked_ = saved;
    return solveOnce(progress);
}

int Relaxation::solveOnce(tarvik::Progress& progress) {
    stopped_ = false;
    if (userRows_ > kMaxBasisRows) return kTooLarge;
    // With added rows a solve gives up early (and is repeated without them).
    const long limit = m_ == userRows_ ? PivotLimit(m_, n_) : kCutPivotFactor * (m_ + n_ + 1);
    const long pivotsAtStart = pivots;
    const long flipsAtStart = flips;
    restartGuard();
    flipAtStart_ = true;
    bestViolation_.assign(static_cast<std::size_t>(n_ + m_), std::numeric_limits<double>::infinity());
    int reinversions = 0;
    // A fresh inverse in extended precision, and the search for progress
    // starts again; false when the allowance is used up.
    auto refactorise = [&] {
        if (reinversions == kMaxReinversions) return false;
        ++reinversions;
        reinvert();
        recompute();
        restartGuard();
        return true;
    };
    for (;;) {
        if (quickMoves_ >= kQuickMoves) recompute();
        const int code = iterate();
        if (code != kContinue && quickMoves_ > 0) {
            // No verdict on values and reduced costs that were only updated:
            // they are worked out afresh and the iteration looks again.
            recompute();
            continue;
        }
        if (code == kContinue) {
            // The stall guard ends every solve; the cap only guards against a fault.
            if (pivots - pivotsAtStart > limit || flips - flipsAtStart > 4 * limit ||
                (m_ != userRows_ && stall_ > kCutStall)) {
                if (quickMoves_ > 0) recompute();
                return kTooManyIterations;
            }
            progress.yield();
            if (progress.stopRequested()) {
                if (quickMoves_ > 0) recompute();
                stopped_ = true;
                return kError;
            }
            continue;
        }
        if (code == kStalled) {
            // Every step that improves leads back to a basis met since the last
            // progress: the improvements are rounding noise of the inverse.
            if (refactorise()) continue;
            if (repairVar_ >= 0) return kPrecision;
            if (accurate()) return kOptimal;
            return kPrecision;
        }
        if (code == kRefactor) {
            if (refactorise()) continue;
            return kPrecision;
        }
        if (code == kOptimal || code == kUnbounded) {
            if (accurate()) return code;
            if (refactorise()) continue;
            return kPrecision;
        }
        if (code == kInfeasible && pivots - refactoredAt_ >= kDriftPivots) {
            // A repair that finds no column may have been misled by an inverse
            // that has drifted over many updates: it is confirmed from a fresh one.
            if (refactorise()) continue;
        }
        return code;
    }
}

void Relaxation::restartGuard() {
    stall_ = 0;
    visited_.clear();
    activeAtRecord_ = static_cast<int>(active_.size());
    bestObjective_ = -std::numeric_limits<double>::infinity();
    bestDual_ = std::numeric_limits<double>::infinity();
}

void Relaxation::moveCosts(std::vector<double>& cost) const {
    // `quickValues`: the reduced costs the solve ended with.
    const bool kept = quickValues && haveCosts_;
    const std::vector<double>& rc = kept ? keptCost_ : currentReducedCosts();
    cost.assign(n_ + 1, kInfinity);
    for (int v = 0; v < n_; ++v)
        if (basisPos_[v] < 0 && lo_[v] < up_[v]) cost[v + 1] = std::max(0.0, (atUpper_[v] ? -1 : 1) * rc[v]);
}

void Relaxation::penalties(int j, double& down, double& up) const {
    const int v = j - 1;
    const int p = basisPos_[v];
    down = up = kInfinity;
    if (p < 0) return;
    const int k = static_cast<int>(active_.size());
    const double val = x_[v];
    const double f = val - std::floor(val);
    // `quickValues`: the reduced costs the solve ended with (a slack's at n + i).
    const bool kept = quickValues && haveCosts_;
    const std::vector<double>& y = kept ? dualCache_ : currentDuals();
    const std::vector<double>& rc = kept ? keptCost_ : currentReducedCosts();
    const double* tr = binvRow(p);
    std::vector<double> rowAlpha;
    tableauRow(tr, rowAlpha);
    double downRate = std::numeric_limits<double>::infinity();
    double upRate = downRate;
    auto consider = [&](int w, int d, double a) {
        if (d == 0 || std::fabs(a) <= kZeroTolerance) return;
        const double cost = std::max(0.0, d * (kept || w < n_ ? rc[w] : y[activePos_[w - n_]]));
        const double rate = -d * a; // change of x_j per unit move of w
        if (rate < 0)
            downRate = std::min(downRate, cost / -rate);
        else
            upRate = std::min(upRate, cost / rate);
    };
    for (int q = 0; q < k; ++q) {
        const int row = active_[q];
        const int sense = model_.sense[row + 1];
        if (slackPos_[row] < 0 && sense != kEqual) consider(n_ + row, sense, tr[q]);
    }
    for (int w = 0; w < n_; ++w) {
        if (basisPos_[w] >= 0 || lo_[w] >= up_[w]) continue;
        consider(w, atUpper_[w] ? -1 : 1, rowAlpha[w]);
    }
    if (downRate < std::numeric_limits<double>::infinity()) down = std::min(kInfinity, downRate * f);
    if (upRate < std::numeric_limits<double>::infinity()) up = std::min(kInfinity, upRate * (1 - f));
}

// ---------------------------------------------------------------------------
// Cutting planes

void Relaxation::addRows(const std::vector<CutRow>& rows) {
    haveCosts_ = false;
    ++changed_;
    for (const CutRow& cut : rows) {
        const int i = m_++;
        for (const auto& [j, a] : cut.terms) {
            model_.variable.push_back(j);
            model_.value.push_back(a);
            columns_[j - 1].emplace_back(i, a);
        }
        model_.rowStart.push_back(static_cast<int>(model_.value.size()));
        model_.sense.push_back(cut.sense);
        model_.rhs.push_back(cut.rhs);
        double slack = cut.rhs;
        for (const auto& [j, a] : cut.terms) slack -= a * x_[j - 1];
        s_.push_back(slack);
        activePos_.push_back(-1);
        slackPos_.push_back(-1);
        rowIntegral_.push_back(0);
    }
    // Room in the inverse for every row, the rows held so far kept.
    if (m_ <= stride_) {
        binv_.resize(static_cast<std::size_t>(m_) * stride_, 0.0);
        return;
    }
    const int k = static_cast<int>(active_.size());
    std::vector<double> wider(static_cast<std::size_t>(m_) * m_, 0.0);
    for (int p = 0; p < k; ++p)
        std::copy(binvRow(p), binvRow(p) + k, wider.data() + static_cast<std::size_t>(p) * m_);
    binv_ = std::move(wider);
    stride_ = m_;
}

std::vector<CutRow> Relaxation::cuts() const {
    std::vector<CutRow> rows;
    for (int i = userRows_; i < m_; ++i) {
        CutRow& cut = rows.emplace_back();
        for (int e = model_.rowStart[i + 1]; e < model_.rowStart[i + 2]; ++e)
            cut.terms.emplace_back(model_.variable[e], model_.value[e]);
        cut.sense = model_.sense[i + 1];
        cut.rhs = model_.rhs[i + 1];
    }
    return rows;
}

void Relaxation::removeCuts() {
    parked_.clear();
    if (m_ == userRows_) return;
    for (auto& column : columns_)
        column.erase(std::remove_if(column.begin(), column.end(),
                                    [this](const auto& e) { return e.first >= userRows_; }),
                     column.end());
    const int end = model_.rowStart[userRows_ + 1];
    model_.variable.resize(end);
    model_.value.resize(end);
    model_.rowStart.resize(userRows_ + 2);
    model_.sense.resize(userRows_ + 1);
    model_.rhs.resize(userRows_ + 1);
    m_ = userRows_;
    s_.resize(m_);
    rowIntegral_.resize(m_);
    stride_ = kMaxBasisRows;
    firstBasis();
}

void Relaxation::removeSlackCuts() {
    haveCosts_ = false;
    ++changed_;
    // An active row with a basic slack leaves the basis with its slack: the
    // inverse of what remains is the inverse without that slack's row and the
    // row's column (the slack's column is a unit vector).
    for (int q = static_cast<int>(active_.size()) - 1; q >= 0; --q) {
        const int row = active_[q];
        const int p = slackPos_[row];
        if (row < userRows_ || p < 0) continue;
        const int k = static_cast<int>(active_.size());
        for (int r = 0; r < k; ++r) {
            if (r == p) continue;
            double* to = binvRow(r < p ? r : r - 1);
            const double* from = binvRow(r);
            for (int c = 0; c < k; ++c)
                if (c != q) to[c < q ? c : c - 1] = from[c];
        }
        active_.erase(active_.begin() + q);
        basis_.erase(basis_.begin() + p);
        activePos_[row] = -1;
        slackPos_[row] = -1;
        for (int i = q; i < k - 1; ++i) activePos_[active_[i]] = i;
        for (int i = p; i < k - 1; ++i) {
            const int v = basis_[i];
            if (isSlack(v))
                slackPos_[v - n_] = i;
            else
                basisPos_[v] = i;
        }
    }
    // The inactive added rows go: the rest are renumbered.
    std::vector<int> newRow(m_, -1);
    int kept = userRows_;
    for (int i = 0; i < m_; ++i)
        if (i < userRows_ || activePos_[i] >= 0) newRow[i] = i < userRows_ ? i : kept++;
    if (kept == m_) return;
    MIPModel& md = model_;
    std::vector<int> variable(md.variable.begin(), md.variable.begin() + md.rowStart[userRows_ + 1]);
    std::vector<double> value(md.value.begin(), md.value.begin() + md.rowStart[userRows_ + 1]);
    std::vector<int> rowStart(md.rowStart.begin(), md.rowStart.begin() + userRows_ + 2);
    std::vector<int> sense(md.sense.begin(), md.sense.begin() + userRows_ + 1);
    std::vector<double> rhs(md.rhs.begin(), md.rhs.begin() + userRows_ + 1);
    for (int i = userRows_; i < m_; ++i) {
        if (newRow[i] < 0) continue;
        for (int e = md.rowStart[i + 1]; e < md.rowStart[i + 2]; ++e) {
            variable.push_back(md.variable[e]);
            value.push_back(md.value[e]);
        }
        rowStart.push_back(static_cast<int>(value.size()));
        sense.push_back(md.sense[i + 1]);
        rhs.push_back(md.rhs[i + 1]);
        s_[newRow[i]] = s_[i];
        activePos_[newRow[i]] = activePos_[i];
        slackPos_[newRow[i]] = slackPos_[i];
    }
    md.variable = std::move(variable);
    md.value = std::move(value);
    md.rowStart = std::move(rowStart);
    md.sense = std::move(sense);
    md.rhs = std::move(rhs);
    for (auto& column : columns_) {
        std::size_t to = 0;
        for (const auto& [row, a] : column)
            if (newRow[row] >= 0) column[to++] = {newRow[row], a};
        column.resize(to);
    }
    for (int& row : active_) row = newRow[row];
    for (int& v : basis_)
        if (isSlack(v)) v = n_ + newRow[v - n_];
    m_ = kept;
    s_.resize(m_);
    activePos_.resize(m_);
    slackPos_.resize(m_);
    rowIntegral_.resize(m_);
    repairVar_ = -1;
    recompute();
}

bool Relaxation::refactor() {
    const bool regular = reinvert();
    recompute();
    return regular;
}

namespace {

constexpr double kCutFraction = 0.01; // the least distance of the basic value from a whole number
constexpr double kCutDynamism = 1e6;  // the largest ratio of a cut's coefficients
constexpr double kCutTiny = 1e-9;     // coefficients this much smaller than the largest are dropped
constexpr double kCutEfficacy = 1e-5; // the least distance of the LP point from the cut
constexpr double kCutSafety = 1e-9;   // the right-hand side is eased by this much (relative)

} // namespace

// The tableau row of x_j: x_j + sum abar_v x_v + sum tr_q s_q = beta over the
// nonbasic structurals v and the nonbasic slacks s_q of the active rows. With
// every nonbasic variable written as its distance t >= 0 from the bound it is
// at, x_j = x_j* - sum a_t t with f0 the fraction of x_j*, and the cut is
//   sum_{integer t, f(a_t) <= f0} f(a_t) / f0 t + sum_{integer t, f(a_t) > f0} (1 - f(a_t)) / (1 - f0) t
//   + sum_{other t, a_t > 0} a_t / f0 t - sum_{other t, a_t < 0} a_t / (1 - f0) t >= 1,
// written back in the structural variables.
bool Relaxation::gomoryCut(int j, CutRow& cut) const {
    const int v0 = j - 1;
    const int p = basisPos_[v0];
    if (p < 0 || !model_.integer[j]) return false;
    const double f0 = x_[v0] - std::floor(x_[v0]);
    if (f0 < kCutFraction || f0 > 1 - kCutFraction) return false;
    const int k = static_cast<int>(active_.size());
    const double* tr = binvRow(p);
    std::vector<double> abar;
    tableauRowFromRows(tr, abar);
    auto weight = [f0](double a, bool integral) {
        if (std::fabs(a) <= kUpdateTolerance) return 0.0;
        if (integral) {
            const double f = a - std::floor(a);
            return f <= f0 ? f / f0 : (1 - f) / (1 - f0);
        }
        return a > 0 ? a / f0 : -a / (1 - f0);
    };
    using Real = long double;
    std::vector<Real> pi(n_, 0);
    Real rhs = 1;
    for (int v = 0; v < n_; ++v) {
        if (basisPos_[v] >= 0 || lo_[v] >= up_[v]) continue;
        const bool upper = atUpper_[v] != 0;
        const double bound = upper ? up_[v] : lo_[v];
        const bool integral = model_.integer[v + 1] && bound == std::round(bound);
        const double g = weight(upper ? -abar[v] : abar[v], integral);
        if (g == 0) continue;
        // t = x - lower, or upper - x.
        pi[v] += upper ? -g : g;
        rhs += upper ? -g * bound : g * bound;
    }
    for (int q = 0; q < k; ++q) {
        const int row = active_[q];
        const int sense = model_.sense[row + 1];
        if (slackPos_[row] >= 0 || sense == kEqual) continue;
        // t = s for a <= row (s = b - a x >= 0), -s for a >= row.
        const double g = weight(sense == kLessEqual ? tr[q] : -tr[q], rowIntegral_[row] != 0);
        if (g == 0) continue;
        const Real sign = sense == kLessEqual ? -1 : 1; // t = sign (a x - b)
        for (int e = model_.rowStart[row + 1]; e < model_.rowStart[row + 2]; ++e)
            pi[model_.variable[e] - 1] += sign * g * model_.value[e];
        rhs += sign * g * model_.rhs[row + 1];
    }
    Real largest = 0;
    for (int v = 0; v < n_; ++v) largest = std::max(largest, std::fabs(pi[v]));
    if (largest <= kZeroTolerance) return false;
    // A tiny coefficient is dropped, the right-hand side eased by the most its
    // term can give (a term without such a bound stays).
    for (int v = 0; v < n_; ++v) {
        if (pi[v] == 0 || std::fabs(pi[v]) > kCutTiny * largest) continue;
        if (pi[v] > 0 && up_[v] >= kInfinity) continue;
        rhs -= pi[v] * (pi[v] > 0 ? up_[v] : lo_[v]);
        pi[v] = 0;
    }
    Real smallest = largest, lhs = 0, norm = 0;
    for (int v = 0; v < n_; ++v) {
        if (pi[v] == 0) continue;
        smallest = std::min(smallest, std::fabs(pi[v]));
        pi[v] /= largest;
        lhs += pi[v] * x_[v];
        norm += pi[v] * pi[v];
    }
    if (largest / smallest > kCutDynamism) return false;
    rhs /= largest;
    rhs -= kCutSafety * std::max<Real>(1, std::fabs(rhs));
    if ((rhs - lhs) / std::sqrt(norm) < kCutEfficacy) return false;
    // Written with a right-hand side of 0 or more, as the model's rows are.
    const Real sign = rhs < 0 ? -1 : 1;
    cut.terms.clear();
    for (int v = 0; v < n_; ++v)
        if (pi[v] != 0) cut.terms.emplace_back(v + 1, static_cast<double>(sign * pi[v]));
    cut.sense = sign < 0 ? kLessEqual : kGreaterEqual;
    cut.rhs = static_cast<double>(sign * rhs);
    return true;
}

} // namespace tarvik::ip
