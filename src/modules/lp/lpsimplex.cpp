#include "modules/lp/lpsimplex.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <unordered_set>

namespace tarvik::lp {

namespace {

constexpr Real kZero = 1e-9;         // entering and pivot candidates
constexpr double kPhase1Zero = 1e-6; // phase-1 objective that counts as feasible
constexpr Real kInfiniteRatio = 1e10;
constexpr Real kCancel = 1e-14;
constexpr Real kSmallPivot = 1e-6;
constexpr Real kFeasibility = 1e-9;
constexpr Real kProgress = 1e-9; // relative objective gain that counts as progress

std::string Fixed2(Real v) {
    std::string s = tarvik::FormatFixed(static_cast<double>(v), 2);
    if (s.size() < 9) s.insert(0, 9 - s.size(), ' ');
    return s;
}

std::string Cut(const std::string& s, std::size_t width) {
    std::string r = s.substr(0, width);
    r.resize(width, ' ');
    return r;
}

class Solver {
public:
    Solver(LPModel& lp, OutputMode mode, LPProgress& progress, std::string& out, SimplexOutcome& res)
        : lp_(lp), m_(lp.m), n_(lp.n), mode_(mode), progress_(progress), out_(out), res_(res) {
        res_.removed.assign(m_ + 1, 0);
        res_.excluded.assign(n_ + 2, 0);
        basicRow_.assign(n_ + 2, 0);
        for (int i = 1; i <= m_; ++i)
            if (!basicRow_[lp_.basis[i]]) basicRow_[lp_.basis[i]] = i;
        // Random keys for a hash of the basic set: a repeated basis without
        // progress in between means the method cycles.
        keys_.resize(n_ + 2);
        std::uint64_t x = 0x9E3779B97F4A7C15ULL;
        for (auto& k : keys_) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            k = x;
        }
        for (int i = 1; i <= m_; ++i) hash_ ^= keys_[lp_.basis[i]];
        scaleB_ = 1;
        for (int i = 1; i <= m_; ++i) scaleB_ = std::max(scaleB_, std::fabs(lp_.rhs[i]));
        iterationLimit_ = 50L * (m_ + n_ + 1) + 10000;
        stallLimit_ = static_cast<std::size_t>(std::max(m_ + n_, 1000));
        // The original columns, for recomputing tableau columns.
        colStart_.assign(n_ + 3, 0);
        for (int q = lp_.rowStart[1]; q < lp_.rowStart[m_ + 1]; ++q) ++colStart_[lp_.rowCol[q] + 1];
        for (int j = 1; j <= n_ + 1; ++j) colStart_[j + 1] += colStart_[j];
        colRow_.resize(lp_.rowCol.size());
        colVal_.resize(lp_.rowCol.size());
        std::vector<int> fill(colStart_.begin(), colStart_.end());
        for (int i = 1; i <= m_; ++i)
            for (int q = lp_.rowStart[i]; q < lp_.rowStart[i + 1]; ++q) {
                int at = fill[lp_.rowCol[q]]++;
                colRow_[at] = i;
                colVal_[at] = lp_.rowVal[q];
            }
        unitColumn_ = lp_.basis;
        isUnit_.assign(n_ + 2, 0);
        for (int k = 1; k <= m_; ++k) isUnit_[unitColumn_[k]] = 1;
        rhsFresh_.assign(m_ + 1, 0);
        pert_.assign(m_ + 1, 0.0);
        rebuildRhsTerms();
    }

    void solve() {
        out_ += "\r\n\r\n";
        bool feasible = true;
        if (lp_.hasArtificial) {
            progress_.phase(1);
            phase_ = 1;
            PhaseEnd end = runPhase();
            if (end == PhaseEnd::Unbounded) {
                // The phase-1 objective is bounded by 0: only drift can bring this about.
                doubt("phase 1 found no leaving row although its objective is bounded");
                res_.status = LPStatus::Unbounded;
                feasible = false;
            } else if (std::fabs(static_cast<double>(lp_.at(0, n_ + 1))) > kPhase1Zero) {
                res_.status = LPStatus::Infeasible;
                feasible = false;
                checkInfeasible();
            }
        }
        if (feasible) {
            progress_.phase(2);
            phase_ = 2;
            for (int j = 1; j <= n_; ++j)
                if (lp_.columns[j].kind == ColumnKind::Artificial) res_.excluded[j] = 1;
            driveOutArtificials();
            Real* r0 = lp_.row(0);
            for (int j = 1; j <= n_; ++j) r0[j] = lp_.cost[j];
            r0[n_ + 1] = 0;
            PhaseEnd end = runPhase();
            res_.status = end == PhaseEnd::Unbounded ? LPStatus::Unbounded : LPStatus::Optimal;
            if (res_.status == LPStatus::Optimal) checkOptimal();
            if (mode_ == OutputMode::FirstLast) print("Last Iteration");
        }
        progress_.iteration(res_.iterations);
    }

private:
    enum class PhaseEnd { Optimal, Unbounded };

    void doubt(const std::string& why) {
        if (!res_.reliable) return;
        res_.reliable = false;
        res_.doubt = why;
    }

    // ---- the phase loop ------------------------------------------------------
    PhaseEnd runPhase() {
        phaseCost_.assign(n_ + 2, 0.0);
        Real* r0 = lp_.row(0);
        for (int j = 1; j <= n_ + 1; ++j) phaseCost_[j] = r0[j];
        reducedCosts();
        long phaseIteration = 0;
        seen_.clear();
        guard_ = false;
        for (;;) {
            ++phaseIteration;
            ++res_.iterations;
            progress_.iteration(res_.iterations);
            if (mode_ == OutputMode::All || (mode_ == OutputMode::FirstLast && res_.iterations == 1))
                print("Iteration " + Format("%5ld", phaseIteration));
            if (res_.iterations > iterationLimit_) {
                doubt("the iteration limit was reached");
                if (perturbed_) unperturb();
                return PhaseEnd::Optimal;
            }
            bool repeated = !seen_.insert(hash_).second;
            if (!guard_ && (repeated || seen_.size() > stallLimit_)) {
                // The basis repeats without progress: the method cycles (or it
                // stalls so long on one vertex that it might as well). First
                // spread the right-hand sides a little so that the ratio test
                // meets no ties; if it cycles even so, fall back on the lowest
                // index rule until the objective improves.
                if (!perturbed_) {
                    perturb();
                } else {
                    guard_ = true;
                }
                seen_.clear();
            }
            int e = entering();
            if (e == 0) {
                if (perturbed_) unperturb();
                if (needRefresh() && refresh()) e = entering();
                if (e == 0) return PhaseEnd::Optimal;
            }
            freshColumns(e);
            int r = leaving(e);
            if (r == 0) {
                if (perturbed_) unperturb();
                if (sinceRefresh_ > 0 && refresh()) {
                    e = entering();
                    if (e == 0) return PhaseEnd::Optimal;
                    r = leaving(e);
                }
                if (r == 0) return PhaseEnd::Unbounded;
            }
            if (lp_.at(r, e) < kSmallPivot && sinceRefresh_ > 0 && refresh()) {
                // A small pivot element may be rounding: decide again on fresh numbers.
                e = entering();
                if (e == 0) return PhaseEnd::Optimal;
                freshColumns(e);
                r = leaving(e);
                if (r == 0) return PhaseEnd::Unbounded;
            }
            Real before = r0[n_ + 1];
            if (guard_) ++res_.guardPivots;
            pivot(r, e);
            if (sinceRefresh_ >= refreshInterval_) refresh();
            Real after = r0[n_ + 1];
            if (after - before > kProgress * (1 + std::fabs(before))) {
                seen_.clear();
                guard_ = false;
            }
        }
    }

    // Row 0 from the phase's costs: z_j - c_j over the non-removed rows.
    void reducedCosts() {
        Real* r0 = lp_.row(0);
        for (int j = 1; j <= n_ + 1; ++j) r0[j] = -static_cast<Real>(phaseCost_[j]);
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            Real d = phaseCost_[lp_.basis[i]];
            if (d == 0) continue;
            const Real* ri = lp_.row(i);
            for (int j = 1; j <= n_ + 1; ++j) r0[j] += ri[j] * d;
        }
    }

    int entering() const {
        const Real* r0 = lp_.row(0);
        int best = 0;
        Real bestValue = -kZero;
        for (int j = 1; j <= n_; ++j) {
            if (res_.excluded[j]) continue;
            if (r0[j] < bestValue) {
                best = j;
                bestValue = r0[j];
                if (guard_) break; // lowest index rule while the method cycles
            }
        }
        return best;
    }

    int leaving(int e) const {
        int best = 0;
        Real bestRatio = kInfiniteRatio;
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            const Real* ri = lp_.row(i);
            Real a = ri[e];
            if (a <= kZero) continue;
            Real ratio = ri[n_ + 1] / a;
            if (ratio < bestRatio ||
                (guard_ && best && ratio == bestRatio && lp_.basis[i] < lp_.basis[best])) {
                best = i;
                bestRatio = ratio;
            }
        }
        // The lowest row with the smallest ratio wins, unless its pivot element
        // is so small that pivoting on it would wreck the tableau. Then a
        // ratio test with a small feasibility tolerance (two passes) picks the
        // largest element among the rows whose ratio is within that tolerance.
        if (best && lp_.at(best, e) < kSmallPivot) {
            Real bound = kInfiniteRatio;
            for (int i = 1; i <= m_; ++i) {
                if (res_.removed[i]) continue;
                const Real* ri = lp_.row(i);
                if (ri[e] <= kZero) continue;
                bound = std::min(bound, (std::max(ri[n_ + 1], Real(0)) + kFeasibility) / ri[e]);
            }
            Real largest = lp_.at(best, e);
            for (int i = 1; i <= m_; ++i) {
                if (res_.removed[i]) continue;
                const Real* ri = lp_.row(i);
                if (ri[e] > largest && std::max(ri[n_ + 1], Real(0)) / ri[e] <= bound) {
                    largest = ri[e];
                    best = i;
                }
            }
        }
        return best;
    }

    void pivot(int r, int e) {
        int old = lp_.basis[r];
        hash_ ^= keys_[old] ^ keys_[e];
        if (basicRow_[old] == r) {
            basicRow_[old] = 0;
            for (int i = 1; i <= m_; ++i)
                if (!res_.removed[i] && i != r && lp_.basis[i] == old) {
                    basicRow_[old] = i;
                    break;
                }
        }
        lp_.basis[r] = e;
        if (!basicRow_[e] || basicRow_[e] > r) basicRow_[e] = r;
        // The pivot changes exactly the rows with a nonzero in the entering column.
        for (int i = 1; i <= m_; ++i)
            if (lp_.at(i, e) != 0) rhsFresh_[i] = 0;
        Pivot(lp_, r, e, res_.removed);
        ++sinceRefresh_;
    }

    // Every tableau row is a combination of the original rows, and the
    // weights stand in the columns that started as the unit columns (slack or
    // artificial): row i = sum over k of t[i][unit(k)] * original row k. The
    // entering column and the right-hand sides are recomputed that way before
    // the ratio test, so that rounding piled up by earlier pivots is never
    // taken for a pivot element.
    void freshColumns(int e) {
        const int cb = colStart_[e], ce = colStart_[e + 1];
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            Real* ri = lp_.row(i);
            if (lp_.basis[i] == e) continue;
            long double sum = 0, mag = 0;
            // Zero weights add nothing to either sum: skipping them changes no bit.
            for (int q = cb; q < ce; ++q) {
                const Real weight = ri[unitColumn_[colRow_[q]]];
                if (weight == 0) continue;
                long double term = static_cast<long double>(weight) * colVal_[q];
                sum += term;
                mag += std::fabs(term);
            }
            const Real fresh = std::fabs(sum) <= 1e-14L * mag ? Real(0) : static_cast<Real>(sum);
            if (isUnit_[e] && fresh != ri[e]) rhsFresh_[i] = 0; // a weight of the row changed
            ri[e] = fresh;
            if (ri[e] <= kZero) continue; // the ratio test does not look at this row
            // The right-hand side of a row that nothing has changed since it
            // was last recomputed here would come out the same again.
            if (rhsFresh_[i]) continue;
            rhsFresh_[i] = 1;
            sum = 0;
            mag = 0;
            for (const auto& [unit, b] : rhsTerms_) {
                const Real weight = ri[unit];
                if (weight == 0) continue;
                long double term = static_cast<long double>(weight) * b;
                sum += term;
                mag += std::fabs(term);
            }
            ri[n_ + 1] = std::fabs(sum) <= 1e-14L * mag ? Real(0) : static_cast<Real>(sum);
        }
    }

    void perturb() {
        perturbed_ = true;
        std::uint64_t x = 0x2545F4914F6CDD1DULL;
        for (int k = 1; k <= m_; ++k) {
            x ^= x << 13;
            x ^= x >> 7;
            x ^= x << 17;
            double u = static_cast<double>(x >> 11) * 0x1.0p-53;
            pert_[k] = (1 + u) * 1e-7 * (1 + std::fabs(lp_.rhs[k]));
        }
        rebuildRhsTerms();
        rhsColumn();
    }
    void unperturb() {
        perturbed_ = false;
        std::fill(pert_.begin(), pert_.end(), 0.0);
        rebuildRhsTerms();
        if (!refresh()) rhsColumn();
    }
    void rebuildRhsTerms() {
        std::fill(rhsFresh_.begin(), rhsFresh_.end(), 0);
        rhsTerms_.clear();
        for (int k = 1; k <= m_; ++k)
            if (lp_.rhs[k] + pert_[k] != 0) rhsTerms_.emplace_back(unitColumn_[k], lp_.rhs[k] + pert_[k]);
    }
    // The right-hand-side column and the objective value from the (perturbed) b.
    void rhsColumn() {
        std::fill(rhsFresh_.begin(), rhsFresh_.end(), 0);
        long double z = 0;
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            Real* ri = lp_.row(i);
            long double sum = 0;
            for (const auto& [unit, b] : rhsTerms_) sum += static_cast<long double>(ri[unit]) * b;
            ri[n_ + 1] = static_cast<Real>(sum);
            z += sum * phaseCost_[lp_.basis[i]];
        }
        lp_.at(0, n_ + 1) = static_cast<Real>(z);
    }

    // ---- phase 2 start ---------------------------------------------------------
    void driveOutArtificials() {
        for (;;) {
            int r = 0;
            for (int i = 1; i <= m_ && !r; ++i)
                if (!res_.removed[i] && lp_.columns[lp_.basis[i]].kind == ColumnKind::Artificial) r = i;
            if (!r) return;
            const Real* rr = lp_.row(r);
            int j = 0;
            for (int k = 1; k <= n_ && !j; ++k)
                if (lp_.columns[k].kind != ColumnKind::Artificial && std::fabs(rr[k]) > kZero &&
                    !basicRow_[k])
                    j = k;
            if (j) {
                pivot(r, j);
            } else {
                out_ += "  Warning : redundant constraints. Constraint " + Format("%3d", r) + " removed.\r\n";
                res_.removed[r] = 1;
                int col = lp_.basis[r];
                hash_ ^= keys_[col];
                if (basicRow_[col] == r) basicRow_[col] = 0;
            }
        }
    }

    // ---- accuracy ------------------------------------------------------------
    // The largest violation of an original row by the current basic solution.
    double residual() const {
        std::vector<Real> x(n_ + 2, 0);
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i]) x[lp_.basis[i]] = lp_.at(i, n_ + 1);
        double worst = 0;
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            Real s = lp_.rhs[i];
            for (int k = lp_.rowStart[i]; k < lp_.rowStart[i + 1]; ++k) s -= lp_.rowVal[k] * x[lp_.rowCol[k]];
            worst = std::max(worst, static_cast<double>(std::fabs(s)));
        }
        return worst;
    }

    bool needRefresh() const {
        if (sinceRefresh_ == 0) return false;
        // "Infeasible" is only said after the phase-1 sum has been recomputed.
        if (phase_ == 1 && std::fabs(static_cast<double>(lp_.at(0, n_ + 1))) > kPhase1Zero) return true;
        // Long runs are rebuilt from the original rows before a verdict anyway.
        return sinceRefresh_ >= 50 || residual() > 1e-9 * scaleB_;
    }

    // Rebuilds rows 0..m from the original rows for the current basis: the
    // tableau becomes B^-1 [A | b] computed afresh, which removes the rounding
    // that the pivots have piled up. The basis and so the pivot sequence stay.
    bool refresh() {
        std::fill(rhsFresh_.begin(), rhsFresh_.end(), 0);
        std::vector<int> rows;
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i]) rows.push_back(i);
        const int k = static_cast<int>(rows.size());
        if (k == 0) return false;
        std::vector<int> place(n_ + 2, -1);
        for (int l = 0; l < k; ++l)
            if (place[lp_.basis[rows[l]]] < 0) place[lp_.basis[rows[l]]] = l;
        // [B | I], eliminated to [I | B^-1] with partial pivoting.
        const std::size_t w = 2 * static_cast<std::size_t>(k);
        // The work space stays allocated from one rebuild to the next.
        std::vector<long double>& a = refreshWork_;
        a.assign(static_cast<std::size_t>(k) * w, 0.0L);
        for (int r = 0; r < k; ++r) {
            int i = rows[r];
            for (int q = lp_.rowStart[i]; q < lp_.rowStart[i + 1]; ++q) {
                int p = place[lp_.rowCol[q]];
                if (p >= 0) a[r * w + p] = lp_.rowVal[q];
            }
            a[r * w + k + r] = 1;
        }
        long double scaleBasis = 0;
        for (int r = 0; r < k; ++r)
            for (int c = 0; c < k; ++c) scaleBasis = std::max(scaleBasis, std::fabs(a[r * w + c]));
        std::vector<std::size_t> order(k);
        for (int r = 0; r < k; ++r) order[r] = static_cast<std::size_t>(r) * w;
        std::vector<int> nz;
        nz.reserve(w);
        for (int c = 0; c < k; ++c) {
            int piv = c;
            long double best = 0;
            for (int r = c; r < k; ++r) {
                long double v = std::fabs(a[order[r] + c]);
                if (v > best) {
                    best = v;
                    piv = r;
                }
            }
            if (best <= 1e-15L * scaleBasis) return false;
            std::swap(order[c], order[piv]);
            long double* pr = &a[order[c]];
            long double inv = 1.0L / pr[c];
            // B and its inverse are mostly zeros: the elimination touches only
            // the nonzeros of the pivot row, which gives the same numbers as
            // the full row update (a zero entry leaves the other rows as they are).
            nz.clear();
            for (std::size_t j = c; j < w; ++j)
                if (pr[j] != 0) {
                    pr[j] *= inv;
                    nz.push_back(static_cast<int>(j));
                }
            for (int r = 0; r < k; ++r) {
                if (r == c) continue;
                long double* rr = &a[order[r]];
                long double f = rr[c];
                if (f == 0) continue;
                for (int j : nz) rr[j] -= f * pr[j];
            }
        }
        // Row l of B^-1 [A | b] belongs to the basic column of rows[l].
        std::vector<long double> acc(n_ + 2);
        for (int l = 0; l < k; ++l) {
            const long double* binv = &a[order[l] + k];
            std::fill(acc.begin(), acc.end(), 0.0L);
            for (int r = 0; r < k; ++r) {
                long double f = binv[r];
                if (f == 0) continue;
                int i = rows[r];
                for (int q = lp_.rowStart[i]; q < lp_.rowStart[i + 1]; ++q)
                    acc[lp_.rowCol[q]] += f * lp_.rowVal[q];
                acc[n_ + 1] += f * (lp_.rhs[i] + pert_[i]);
            }
            Real* t = lp_.row(rows[l]);
            for (int j = 1; j <= n_ + 1; ++j) t[j] = static_cast<Real>(acc[j]);
        }
        for (int l = 0; l < k; ++l) {
            Real* t = lp_.row(rows[l]);
            for (int q = 0; q < k; ++q) t[lp_.basis[rows[q]]] = q == l ? 1 : 0;
        }
        reducedCosts();
        sinceRefresh_ = 0;
        ++res_.refreshes;
        return true;
    }

    // Before "Infeasible": the phase-1 sum recomputed from the original rows
    // must agree with the tableau.
    void checkInfeasible() {
        if (sinceRefresh_ > 0) refresh();
        double artificialSum = 0;
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i] && lp_.columns[lp_.basis[i]].kind == ColumnKind::Artificial)
                artificialSum += static_cast<double>(lp_.at(i, n_ + 1));
        if (std::fabs(artificialSum + static_cast<double>(lp_.at(0, n_ + 1))) > 1e-6 * (1 + artificialSum))
            doubt("the phase-1 objective does not match the constraint rows");
        if (residual() > 1e-6 * scaleB_) doubt("the final basis does not satisfy the constraint rows");
    }

    // Before "Optimal": the basic solution must satisfy the original rows and
    // be non-negative, and no reduced cost may be negative.
    void checkOptimal() {
        if (residual() > 1e-6 * scaleB_) doubt("the solution does not satisfy all constraints");
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i] && lp_.at(i, n_ + 1) < -1e-6 * scaleB_) {
                doubt("a basic variable is negative");
                break;
            }
        const Real* r0 = lp_.row(0);
        for (int j = 1; j <= n_; ++j)
            if (!res_.excluded[j] && r0[j] < -1e-6) {
                doubt("a reduced cost is negative");
                break;
            }
    }

    // ---- output ---------------------------------------------------------------
    void print(const std::string& title) {
        out_ += "\r\n\r\n" + title + "\r\n";
        for (int first = 1; first <= n_ + 1; first += 7) {
            int last = std::min(n_ + 1, first + 6);
            out_ += std::string(14, ' ');
            for (int j = first; j <= last; ++j) out_ += Cut(lp_.columns[j].name, 9);
            out_ += "\r\n" + std::string(10, ' ');
            for (int j = first; j <= last; ++j) out_ += "---------";
            out_ += "\r\n";
            for (int i = 0; i <= m_; ++i) {
                if (i > 0 && res_.removed[i]) continue;
                out_ += i == 0 ? std::string("Rel.Cost") : Cut(lp_.columns[lp_.basis[i]].name, 8);
                out_ += "|";
                const Real* ri = lp_.row(i);
                for (int j = first; j <= last; ++j) out_ += Fixed2(ri[j]);
                out_ += "\r\n";
            }
            out_ += "\r\n\r\n";
            progress_.output(out_);
        }
    }

    LPModel& lp_;
    const int m_, n_;
    OutputMode mode_;
    LPProgress& progress_;
    std::string& out_;
    SimplexOutcome& res_;
    std::vector<double> phaseCost_;
    std::vector<int> basicRow_; // first non-removed row a column is basic in, 0 if none
    std::vector<std::uint64_t> keys_;
    std::uint64_t hash_ = 0;
    std::unordered_set<std::uint64_t> seen_;
    bool guard_ = false;
    bool perturbed_ = false;
    std::vector<double> pert_;
    long sinceRefresh_ = 0;
    long iterationLimit_ = 0;
    std::size_t stallLimit_ = 0; // pivots without progress that count as cycling
    double scaleB_ = 1;
    int phase_ = 0;
    std::vector<int> colStart_, colRow_, unitColumn_;
    std::vector<char> isUnit_;   // [1..n+1]: the column started as a unit column
    std::vector<char> rhsFresh_; // [1..m]: the row's right-hand side is as recomputed last
    std::vector<double> colVal_;
    std::vector<std::pair<int, double>> rhsTerms_;
    std::vector<long double> refreshWork_;
    // Long runs are refreshed now and then; a refresh costs about as much as m pivots.
    long refreshInterval_ = 2L * (m_ + 50);
};

} // namespace

std::string StatusText(LPStatus status) {
    switch (status) {
    case LPStatus::Optimal:
        return "Optimal solution found";
    case LPStatus::Unbounded:
        return "Unbounded.";
    case LPStatus::Infeasible:
        return "Infeasible";
    }
    return {};
}

// The dense row update dst -= f * src, the innermost loop of the pivot. On
// x86-64 with GCC it is built a second and third time for the wider vector
// units (AVX2, AVX-512), and the loader picks the widest that the processor
// has. Contracting the multiply and subtract into a fused multiply-add (which
// AVX-512 has) is switched off, so every build rounds the product and the
// difference separately and gives the same bits.
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__)
#define TARVIK_LP_VECTOR_CLONES                                                                              \
    __attribute__((target_clones("avx512f", "avx2", "default"), optimize("fp-contract=off")))
#else
#define TARVIK_LP_VECTOR_CLONES
#endif
TARVIK_LP_VECTOR_CLONES static void UpdateRow(Real* __restrict dst, const Real* __restrict src, Real f,
                                              int count) {
    for (int j = 0; j < count; ++j) dst[j] -= f * src[j];
}

// a - b, where a result that is only the rounding left over from cancelling
// two equal numbers becomes an exact zero: such rests must never be taken for
// pivot elements.
static inline Real Cancel(Real a, Real b) {
    Real v = a - b;
    return std::fabs(v) <= kCancel * std::fabs(b) ? Real(0) : v;
}

void Pivot(LPModel& lp, int r, int e, const std::vector<char>& removed) {
    const int n = lp.n, m = lp.m;
    Real* rr = lp.row(r);
    const Real p = rr[e];
    for (int j = 1; j <= n + 1; ++j) rr[j] /= p;
    rr[e] = 1;
    // The pivot row is often sparse on real models: update only its nonzeros
    // then, and clear cancellation rests on the way. A dense row takes the
    // plain update, which the compiler vectorises; its rests are caught where
    // they matter, when the entering column is recomputed before the ratio test.
    thread_local std::vector<int> nz;
    nz.clear();
    for (int j = 1; j <= n + 1; ++j)
        if (rr[j] != 0) nz.push_back(j);
    const bool sparse = nz.size() * 3 < static_cast<std::size_t>(n + 1);
    for (int k = 0; k <= m; ++k) {
        if (k == r || (k > 0 && removed[k])) continue;
        Real* rk = lp.row(k);
        const Real f = rk[e];
        if (f == 0) continue;
        if (sparse) {
            for (int j : nz) rk[j] = Cancel(rk[j], f * rr[j]);
        } else {
            UpdateRow(rk + 1, rr + 1, f, n + 1);
        }
        rk[e] = 0;
    }
}

SimplexOutcome Simplex(LPModel& model, OutputMode mode, LPProgress& progress, std::string& out) {
    SimplexOutcome res;
    Solver solver(model, mode, progress, out, res);
    solver.solve();
    return res;
}

} // namespace tarvik::lp
