#include "modules/lp/lpsimplex.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <unordered_set>
// The processor's features as the C library found them (the header is C for
// GCC only: clang builds take the plain row update).
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__) &&                   \
    __has_include(<sys/platform/x86.h>)
#include <sys/platform/x86.h>
#endif

namespace tarvik::lp {

namespace {

constexpr Real kZero = 1e-9;         // entering and pivot candidates
constexpr double kPhase1Zero = 1e-6; // phase-1 objective that counts as feasible
constexpr Real kInfiniteRatio = 1e10;
constexpr Real kCancel = 1e-14;
constexpr Real kSmallPivot = 1e-6;
constexpr Real kFeasibility = 1e-9;
constexpr Real kProgress = 1e-9; // relative objective gain that counts as progress
// Pivots without progress after which the method counts as cycling: degenerate
// stretches this long are cheaper to leave by spreading the right-hand sides.
constexpr std::size_t kStallPivots = 100;

// Models from this many rows on, with at most one nonzero in kSparse entries,
// are solved in factored form when no tableau is printed; smaller (teaching)
// models and dense ones keep the full tableau.
constexpr int kFactoredRows = 50;
constexpr std::size_t kSparse = 4;
// Pivots between two rebuilds of the factored basis from the original columns,
// and between two recomputations of the right-hand sides from the factors.
constexpr long kEtaPivots = 100;
constexpr long kRhsPivots = 16;
// The largest entry of B^-1 times a vector of signs that a crash basis may give.
constexpr long double kCrashGrowth = 1e8;

// The dense row update dst -= f * src, the innermost loop of the pivot. On
// x86-64 with GCC and glibc it is built a second and third time for the wider
// vector units (AVX2, AVX-512), and the first call picks the widest that the
// processor has, from what the C library found out at start-up (asking the
// processor again at every start would cost more than many small solves).
// Contracting the multiply and subtract into a fused multiply-add (which
// AVX-512 has) is switched off, so every build rounds the product and the
// difference separately and gives the same bits.
using RowUpdate = void (*)(Real* __restrict, const Real* __restrict, Real, int);
#define TARVIK_LP_UPDATE_ROW(name, ...)                                                                      \
    __VA_ARGS__ static void name(Real* __restrict dst, const Real* __restrict src, Real f, int count) {      \
        for (int j = 0; j < count; ++j) dst[j] -= f * src[j];                                                \
    }
#if defined(__GNUC__) && !defined(__clang__) && defined(__x86_64__) && defined(__ELF__) &&                   \
    __has_include(<sys/platform/x86.h>)
TARVIK_LP_UPDATE_ROW(UpdateRowAvx512, __attribute__((target("avx512f"), optimize("fp-contract=off"))))
TARVIK_LP_UPDATE_ROW(UpdateRowAvx2, __attribute__((target("avx2"), optimize("fp-contract=off"))))
TARVIK_LP_UPDATE_ROW(UpdateRowPlain, __attribute__((optimize("fp-contract=off"))))
static RowUpdate PickRowUpdate() {
    if (CPU_FEATURE_ACTIVE(AVX512F)) return UpdateRowAvx512;
    if (CPU_FEATURE_ACTIVE(AVX2)) return UpdateRowAvx2;
    return UpdateRowPlain;
}
#else
TARVIK_LP_UPDATE_ROW(UpdateRowPlain, )
static RowUpdate PickRowUpdate() {
    return UpdateRowPlain;
}
#endif
#undef TARVIK_LP_UPDATE_ROW
static void UpdateRow(Real* __restrict dst, const Real* __restrict src, Real f, int count) {
    static const RowUpdate update = PickRowUpdate();
    update(dst, src, f, count);
}

// The next number of a xorshift sequence (the keys of the basis hash, the
// perturbation, the crash's test vector): fixed, so every run is the same.
static inline std::uint64_t Xorshift(std::uint64_t& x) {
    x ^= x << 13;
    x ^= x >> 7;
    x ^= x << 17;
    return x;
}

// a - b, where a result that is only the rounding left over from cancelling
// two equal numbers becomes an exact zero: such rests must never be taken for
// pivot elements.
static inline Real Cancel(Real a, Real b) {
    Real v = a - b;
    return std::fabs(v) <= kCancel * std::fabs(b) ? Real(0) : v;
}

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

// Eta columns, in the order they were made.
struct Etas {
    std::vector<int> pivot, start{0}, row;
    std::vector<double> value, val;
    std::size_t size() const { return pivot.size(); }
    // Appends the column col[1..m] (its pivot entry col[p]).
    // Without branches: about half the entries of an entering column are
    // zeros, in no order a processor could predict. Every entry is written
    // and the end moves on past the nonzeros only.
    void add(int p, const std::vector<Real>& col, int m) {
        open(p, col[p]);
        std::size_t end = row.size();
        row.resize(end + static_cast<std::size_t>(m));
        val.resize(end + static_cast<std::size_t>(m));
        int* const r = row.data();
        double* const v = val.data();
        for (int k = 1; k <= m; ++k) {
            r[end] = k;
            v[end] = col[k];
            end += static_cast<std::size_t>(k != p) & static_cast<std::size_t>(col[k] != 0);
        }
        row.resize(end);
        val.resize(end);
        close();
    }
    // Or entry by entry.
    void open(int p, double v) {
        pivot.push_back(p);
        value.push_back(v);
    }
    void push(int k, double v) {
        row.push_back(k);
        val.push_back(v);
    }
    void close() { start.push_back(static_cast<int>(row.size())); }
    void clear() {
        pivot.clear();
        value.clear();
        row.clear();
        val.clear();
        start.assign(1, 0);
    }
    // Appends eta t of another list.
    void append(const Etas& o, std::size_t t) {
        pivot.push_back(o.pivot[t]);
        value.push_back(o.value[t]);
        for (int q = o.start[t]; q < o.start[t + 1]; ++q) {
            row.push_back(o.row[q]);
            val.push_back(o.val[q]);
        }
        start.push_back(static_cast<int>(row.size()));
    }
};

class Solver {
public:
    Solver(LPModel& lp, OutputMode mode, Representation representation, LPProgress& progress,
           std::string& out, SimplexOutcome& res, SimplexObserver* observer, FinalTableau finalTableau)
        : lp_(lp), m_(lp.m), n_(lp.n), mode_(mode), progress_(progress), out_(out), res_(res),
          observer_(observer), finalTableau_(finalTableau) {
        res_.removed.assign(m_ + 1, 0);
        res_.excluded.assign(n_ + 2, 0);
        basicRow_.assign(n_ + 2, 0);
        for (int i = 1; i <= m_; ++i)
            if (!basicRow_[lp_.basis[i]]) basicRow_[lp_.basis[i]] = i;
        // Random keys for a hash of the basic set: a repeated basis without
        // progress in between means the method cycles.
        keys_.resize(n_ + 2);
        std::uint64_t x = 0x9E3779B97F4A7C15ULL;
        for (auto& k : keys_) k = Xorshift(x);
        for (int i = 1; i <= m_; ++i) hash_ ^= keys_[lp_.basis[i]];
        scaleB_ = 1;
        for (int i = 1; i <= m_; ++i) scaleB_ = std::max(scaleB_, std::fabs(lp_.rhs[i]));
        iterationLimit_ = 50L * (m_ + n_ + 1) + 10000;
        stallLimit_ = kStallPivots;
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
        factored_ = mode_ == OutputMode::NoTableaus && m_ > 0 &&
                    (representation == Representation::Factored ||
                     (representation == Representation::Automatic && m_ >= kFactoredRows &&
                      lp_.rowCol.size() * kSparse <= static_cast<std::size_t>(m_) * (n_ + 1)));
        res_.factored = factored_;
        devex_ = factored_ && finalTableau_ == FinalTableau::ResultOnly && observer_ == nullptr;
        // Only a factored run that leaves the result alone does without the dense rows.
        if (!factored_ || finalTableau_ == FinalTableau::Whole) BuildTableauRows(lp_);
        if (factored_) {
            // The starting basis is the unit columns: its inverse is the
            // identity, an empty list of eta columns, and row i sits in slot i.
            slot_.resize(m_ + 1);
            for (int i = 1; i <= m_; ++i) slot_[i] = i;
            unitRow_.assign(n_ + 2, 0);
            for (int k = 1; k <= m_; ++k) unitRow_[unitColumn_[k]] = k;
            alpha_.assign(m_ + 1, Real(0));
            alphaSlot_.assign(m_ + 1, Real(0));
            beta_.assign(m_ + 1, Real(0));
            for (int i = 1; i <= m_; ++i) beta_[i] = lp_.rhs[i];
            prow_.assign(n_ + 2, Real(0));
            prowListed_.assign(n_ + 2, 0);
            workX_.assign(m_ + 1, 0.0L);
            workD_.assign(m_ + 1, 0.0);
            // Unwatched runs rebuild twice as often: the eta columns of the
            // pivots are mostly dense, and every solve with the inverse runs
            // through all of them (the pivot sequence of watched runs stays).
            refreshInterval_ = devex_ ? kEtaPivots / 2 : kEtaPivots;
            // Room for the factors and a full run of eta columns: the lists
            // never move while they grow (untouched room costs no memory).
            const std::size_t room =
                std::min<std::size_t>((kEtaPivots + 2 * m_) * static_cast<std::size_t>(m_), 1 << 22);
            for (Etas* list : {&etas_, &spare_}) {
                list->row.reserve(room);
                list->val.reserve(room);
            }
        }
        rebuildRhsTerms();
    }

    void solve() {
        out_ += "\r\n\r\n";
        bool feasible = true;
        if (lp_.hasArtificial) {
            progress_.phase(1);
            phase_ = 1;
            dropArtificials_ = devex_;
            PhaseEnd end = runPhase();
            if (end == PhaseEnd::Optimal && dropArtificials_ &&
                std::fabs(static_cast<double>(lp_.at(0, n_ + 1))) > kPhase1Zero) {
                // Without the artificial columns that have left, phase 1
                // ended short of 0: only a run with all of them says
                // "Infeasible", so it goes on with them back.
                dropArtificials_ = false;
                for (int j = 1; j <= n_; ++j)
                    if (lp_.columns[j].kind == ColumnKind::Artificial) res_.excluded[j] = 0;
                end = runPhase(true);
            }
            if (end == PhaseEnd::Stopped) return stopped();
            if (end == PhaseEnd::Unbounded) {
                materialise();
                // The phase-1 objective is bounded by 0: only drift can bring this about.
                doubt("phase 1 found no leaving row although its objective is bounded");
                res_.status = LPStatus::Unbounded;
                feasible = false;
            } else if (std::fabs(static_cast<double>(lp_.at(0, n_ + 1))) > kPhase1Zero) {
                res_.status = LPStatus::Infeasible;
                feasible = false;
                materialise();
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
            if (end == PhaseEnd::Stopped) return stopped();
            res_.status = end == PhaseEnd::Unbounded ? LPStatus::Unbounded : LPStatus::Optimal;
            materialise();
            if (res_.status == LPStatus::Optimal) checkOptimal();
            if (mode_ == OutputMode::FirstLast) print("Last Iteration");
        }
        progress_.iteration(res_.iterations);
    }

private:
    enum class PhaseEnd { Optimal, Unbounded, Stopped };

    // A stop request ends the run between two pivots: no verdict, no checks
    // and no closing tableau, only the count of the passes made.
    void stopped() {
        res_.status = LPStatus::Stopped;
        progress_.iteration(res_.iterations);
    }

    void doubt(const std::string& why) {
        if (!res_.reliable) return;
        res_.reliable = false;
        res_.doubt = why;
    }

    // ---- the phase loop ------------------------------------------------------
    // `resume`: the phase goes on from where it ended (its costs are set).
    PhaseEnd runPhase(bool resume = false) {
        Real* r0 = lp_.row(0);
        if (!resume) {
            phaseCost_.assign(n_ + 2, 0.0);
            for (int j = 1; j <= n_ + 1; ++j) phaseCost_[j] = r0[j];
            if (phase_ == 1 && devex_) crash();
        }
        reducedCosts();
        long phaseIteration = 0;
        // A fresh reference framework: every column weighs 1.
        if (devex_) weights_.assign(n_ + 2, 1.0);
        seen_.clear();
        guard_ = false;
        for (;;) {
            // The stop flag is read between two pivots; a window hands over to
            // its event loop in yield (throttled there).
            progress_.yield();
            if (progress_.stopRequested()) return PhaseEnd::Stopped;
            ++phaseIteration;
            ++res_.iterations;
            progress_.iteration(res_.iterations);
            if (mode_ == OutputMode::All || (mode_ == OutputMode::FirstLast && res_.iterations == 1))
                print("Iteration " + Format("%5ld", phaseIteration));
            if (observer_) observe();
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
                    if (factored_) freshColumns(e);
                    r = leaving(e);
                }
                if (r == 0 && devex_) {
                    // "Unbounded" is said of the column with the most negative
                    // reduced cost, as without Devex: a column that Devex
                    // picked for a reduced cost near rounding is no proof.
                    e = entering(true);
                    if (e == 0) return PhaseEnd::Optimal;
                    freshColumns(e);
                    r = leaving(e);
                }
                if (r == 0) return PhaseEnd::Unbounded;
            }
            if (col(r, e) < kSmallPivot && sinceRefresh_ > 0 && refresh()) {
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

    // A starting basis with fewer artificial columns (phase 1 of a factored
    // run that nobody watches). The artificial column basic in row r gives
    // way to a model column e with a nonzero there: e takes the row's basic
    // value over (divided by its entry), and every other row that e has a
    // nonzero in changes by as much. A swap is made only if every basic value
    // stays at 0 or above, so the start stays feasible (in a row whose value
    // is 0 nothing moves, whatever the sign). The swaps are chosen on the
    // original rows so that the new columns form a triangle (each new column
    // has no nonzero in the rows swapped before it), so the basis stays
    // regular; the factors are then rebuilt once.
    void crash() {
        std::vector<char> candidate(m_ + 1, 0);
        std::vector<int> rows;
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i] && lp_.rhs[i] >= 0 &&
                lp_.columns[lp_.basis[i]].kind == ColumnKind::Artificial) {
                candidate[i] = 1;
                rows.push_back(i);
            }
        if (rows.empty()) return;
        // Columns that may still come in: not artificial, not basic, and
        // without a nonzero in a row already swapped.
        std::vector<char> open(n_ + 2, 0);
        std::vector<double> largest(n_ + 2, 0.0);
        for (int j = 1; j <= n_; ++j) {
            if (lp_.columns[j].kind == ColumnKind::Artificial || basicRow_[j]) continue;
            open[j] = 1;
            for (int q = colStart_[j]; q < colStart_[j + 1]; ++q)
                largest[j] = std::max(largest[j], std::fabs(colVal_[q]));
        }
        // For each candidate row the open columns in it; for each column the
        // candidate rows it touches (fewer: less in the way of later swaps).
        std::vector<int> openIn(m_ + 1, 0), touches(n_ + 2, 0);
        for (int i : rows)
            for (int q = lp_.rowStart[i]; q < lp_.rowStart[i + 1]; ++q)
                if (open[lp_.rowCol[q]]) {
                    ++openIn[i];
                    ++touches[lp_.rowCol[q]];
                }
        // The basic value of each row as the swaps are made.
        std::vector<long double> value(m_ + 1, 0.0L);
        for (int i = 1; i <= m_; ++i) value[i] = lp_.rhs[i];
        // Whether column j can take row r over (entry: its nonzero there).
        auto keepsFeasible = [&](int r, int j, double entry) {
            const long double x = value[r] / entry;
            if (x < 0) return false;
            if (x == 0) return true;
            for (int q = colStart_[j]; q < colStart_[j + 1]; ++q) {
                const int i = colRow_[q];
                if (i != r && !res_.removed[i] && value[i] - colVal_[q] * x < 0) return false;
            }
            return true;
        };
        const std::vector<int> oldBasis = lp_.basis, oldBasicRow = basicRow_;
        const std::uint64_t oldHash = hash_;
        int swaps = 0;
        for (;;) {
            // The candidate row with the fewest open columns.
            int r = 0;
            for (int i : rows)
                if (candidate[i] && openIn[i] > 0 && (!r || openIn[i] < openIn[r])) r = i;
            if (!r) break;
            candidate[r] = 0;
            // Among its open columns whose entry here is at least half their
            // largest and that keep the start feasible, the one that touches
            // the fewest candidate rows.
            int e = 0;
            double entry = 0;
            for (int q = lp_.rowStart[r]; q < lp_.rowStart[r + 1]; ++q) {
                const int j = lp_.rowCol[q];
                if (!open[j] || std::fabs(lp_.rowVal[q]) < 0.5 * largest[j]) continue;
                if ((!e || touches[j] < touches[e]) && keepsFeasible(r, j, lp_.rowVal[q])) {
                    e = j;
                    entry = lp_.rowVal[q];
                }
            }
            // Every open column in row r is closed: later columns must have
            // no nonzero here.
            for (int q = lp_.rowStart[r]; q < lp_.rowStart[r + 1]; ++q) {
                const int j = lp_.rowCol[q];
                if (!open[j]) continue;
                open[j] = 0;
                for (int t = colStart_[j]; t < colStart_[j + 1]; ++t)
                    if (candidate[colRow_[t]]) --openIn[colRow_[t]];
            }
            if (!e) continue;
            const long double xe = value[r] / entry;
            if (xe != 0)
                for (int q = colStart_[e]; q < colStart_[e + 1]; ++q)
                    if (colRow_[q] != r) value[colRow_[q]] -= colVal_[q] * xe;
            value[r] = xe;
            const int old = lp_.basis[r];
            hash_ ^= keys_[old] ^ keys_[e];
            if (basicRow_[old] == r) basicRow_[old] = 0;
            basicRow_[e] = r;
            lp_.basis[r] = e;
            ++swaps;
        }
        if (swaps == 0) return;
        if (reinvert()) {
            // A triangle of model columns can have a huge inverse (chains of
            // growth factors, as in models over many periods): B^-1 applied
            // to a vector of signs shows it. Such a start is not worth its
            // rounding; the unit columns stay then, as they do when the basic
            // values come out below 0 beyond rounding after all.
            std::vector<long double>& x = workX_;
            std::uint64_t h = 0x9E3779B97F4A7C15ULL;
            for (int k = 1; k <= m_; ++k) x[k] = (Xorshift(h) & 1) ? 1.0L : -1.0L;
            ftran(etas_, x);
            long double growth = 0;
            for (int k = 1; k <= m_; ++k) growth = std::max(growth, std::fabs(x[k]));
            if (growth <= kCrashGrowth) {
                factoredRhs();
                bool feasible = true;
                for (int i = 1; i <= m_; ++i)
                    if (!res_.removed[i] && beta_[i] < -kFeasibility * scaleB_) feasible = false;
                if (feasible) {
                    for (int i = 1; i <= m_; ++i)
                        if (!res_.removed[i] && beta_[i] < 0) beta_[i] = 0;
                    sinceRefresh_ = 0;
                    return;
                }
            }
            lp_.basis = oldBasis;
            basicRow_ = oldBasicRow;
            hash_ = oldHash;
            reinvert();
            factoredRhs();
            return;
        }
        lp_.basis = oldBasis;
        basicRow_ = oldBasicRow;
        hash_ = oldHash;
    }

    // Row 0 from the phase's costs: z_j - c_j over the non-removed rows.
    void reducedCosts() {
        Real* r0 = lp_.row(0);
        for (int j = 1; j <= n_ + 1; ++j) r0[j] = -static_cast<Real>(phaseCost_[j]);
        if (factored_) {
            // z - c = c_B B^-1 [A | b] - c: first the prices y = c_B B^-1, then
            // the original rows weighted by them.
            std::vector<long double>& y = workX_;
            std::fill(y.begin(), y.end(), 0.0L);
            for (int i = 1; i <= m_; ++i) {
                if (res_.removed[i]) continue;
                Real d = phaseCost_[lp_.basis[i]];
                if (d == 0) continue;
                y[slot_[i]] = d;
                r0[n_ + 1] += beta_[i] * d;
            }
            btran(y);
            for (int k = 1; k <= m_; ++k) {
                if (y[k] == 0) continue;
                for (int q = lp_.rowStart[k]; q < lp_.rowStart[k + 1]; ++q)
                    r0[lp_.rowCol[q]] += static_cast<Real>(y[k]) * lp_.rowVal[q];
            }
            for (int i = 1; i <= m_; ++i)
                if (!res_.removed[i]) r0[lp_.basis[i]] = 0;
            return;
        }
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            Real d = phaseCost_[lp_.basis[i]];
            if (d == 0) continue;
            const Real* ri = lp_.row(i);
            for (int j = 1; j <= n_ + 1; ++j) r0[j] += ri[j] * d;
        }
    }

    int entering(bool mostNegative = false) const {
        const Real* r0 = lp_.row(0);
        if (devex_ && !guard_ && !mostNegative) {
            // The largest d_j^2 / w_j among the columns that improve (compared
            // as d_j^2 w_best > d_best^2 w_j: the weights are positive).
            int best = 0;
            double bestSquare = 0, bestWeight = 1;
            for (int j = 1; j <= n_; ++j) {
                if (r0[j] >= -kZero || res_.excluded[j]) continue;
                const double square = static_cast<double>(r0[j]) * r0[j];
                if (square * bestWeight > bestSquare * weights_[j]) {
                    best = j;
                    bestSquare = square;
                    bestWeight = weights_[j];
                }
            }
            return best;
        }
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
        if (devex_ && !guard_) return toleranceLeaving(e);
        int best = 0;
        Real bestRatio = kInfiniteRatio;
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            Real a = col(i, e);
            if (a <= kZero) continue;
            Real ratio = rhs(i) / a;
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
        if (best && col(best, e) < kSmallPivot) {
            Real bound = kInfiniteRatio;
            for (int i = 1; i <= m_; ++i) {
                if (res_.removed[i]) continue;
                const Real a = col(i, e);
                if (a <= kZero) continue;
                bound = std::min(bound, (std::max(rhs(i), Real(0)) + kFeasibility) / a);
            }
            Real largest = col(best, e);
            for (int i = 1; i <= m_; ++i) {
                if (res_.removed[i]) continue;
                const Real a = col(i, e);
                if (a > largest && std::max(rhs(i), Real(0)) / a <= bound) {
                    largest = a;
                    best = i;
                }
            }
        }
        return best;
    }

    // Devex runs, whose pivots nobody sees, always take the tolerance ratio
    // test: on degenerate vertices (many rows at ratio 0, as after a crash)
    // it keeps small pivot elements out. The largest element among the rows
    // whose ratio is within the tolerance of the smallest; on equal elements
    // the lowest row.
    int toleranceLeaving(int e) const {
        Real bound = kInfiniteRatio;
        for (int i = 1; i <= m_; ++i) {
            const Real a = col(i, e);
            if (a <= kZero || res_.removed[i]) continue;
            bound = std::min(bound, (std::max(rhs(i), Real(0)) + kFeasibility) / a);
        }
        if (bound >= kInfiniteRatio) return 0;
        int best = 0;
        Real largest = 0;
        for (int i = 1; i <= m_; ++i) {
            const Real a = col(i, e);
            if (a <= largest || a <= kZero || res_.removed[i]) continue;
            if (std::max(rhs(i), Real(0)) <= bound * a) {
                largest = a;
                best = i;
            }
        }
        return best;
    }

    void pivot(int r, int e) {
        int old = lp_.basis[r];
        leavingColumn_ = old;
        if (dropArtificials_ && phase_ == 1 && lp_.columns[old].kind == ColumnKind::Artificial)
            res_.excluded[old] = 1;
        hash_ ^= keys_[old] ^ keys_[e];
        if (basicRow_[old] == r) {
            basicRow_[old] = 0;
            // (A factored basis is regular: no column is basic twice.)
            for (int i = 1; i <= m_ && !factored_; ++i)
                if (!res_.removed[i] && i != r && lp_.basis[i] == old) {
                    basicRow_[old] = i;
                    break;
                }
        }
        lp_.basis[r] = e;
        if (!basicRow_[e] || basicRow_[e] > r) basicRow_[e] = r;
        // The pivot changes exactly the rows with a nonzero in the entering column.
        // (The factored form recomputes its right-hand sides on a count instead.)
        if (!factored_)
            for (int i = 1; i <= m_; ++i)
                if (col(i, e) != 0) rhsFresh_[i] = 0;
        if (factored_)
            factoredPivot(r, e);
        else
            Pivot(lp_, r, e, res_.removed);
        ++sinceRefresh_;
    }

    // ---- the factored basis ------------------------------------------------------
    // The basis inverse is a product of eta columns, B^-1 = E_T ... E_1: at a
    // rebuild the factors B = L U (the columns of L, then those of U in
    // reverse order), after it one for every pivot. Slot k of the inverse
    // starts out as the unit column of original row k; row i's basic column
    // sits in slot_[i].

    // x := B^-1 x: on entry x is indexed by original row, on return by slot.
    // A difference that is only the rest of cancelling two equal numbers
    // becomes an exact zero. With long double the sums run in extended
    // precision (the rebuild, the right-hand sides, the final tableau).
    // With `nz` given, every row that becomes nonzero and is not yet
    // `listed` is appended to it (and listed).
    template <typename T>
    static void ftran(const Etas& etas, std::vector<T>& x, std::vector<int>* nz = nullptr,
                      std::vector<char>* listed = nullptr) {
        for (std::size_t t = 0; t < etas.size(); ++t) {
            const int p = etas.pivot[t];
            // A row never listed is zero: the byte is cheaper to test than x.
            if ((nz && !(*listed)[p]) || x[p] == 0) continue;
            const T xp = etas.value[t] == 1 ? x[p] : x[p] / etas.value[t];
            x[p] = xp;
            if (nz)
                for (int q = etas.start[t]; q < etas.start[t + 1]; ++q)
                    if (!(*listed)[etas.row[q]]) {
                        (*listed)[etas.row[q]] = 1;
                        nz->push_back(etas.row[q]);
                    }
            for (int q = etas.start[t]; q < etas.start[t + 1]; ++q) {
                T& xi = x[etas.row[q]];
                const T term = etas.val[q] * xp;
                const T v = xi - term;
                xi = std::fabs(v) <= T(1e-14) * std::fabs(term) ? T(0) : v;
            }
        }
    }

    // x := L^-1 x for the columns of L that a rebuild has made so far, where
    // x is nonzero only in the rows listed in nz: only the etas whose pivot
    // row is listed are applied, in their order (a heap of their numbers),
    // which gives the same numbers as the pass over all of them. An eta of
    // L has entries only in rows that pivot later, so the heap only grows
    // towards later etas. etaAt[k] is the eta that pivots in row k, or -1.
    static void sparseFtran(const Etas& etas, const std::vector<int>& etaAt, std::vector<long double>& x,
                            std::vector<int>& nz, std::vector<char>& listed, std::vector<int>& heap) {
        heap.clear();
        for (int k : nz)
            if (etaAt[k] >= 0) heap.push_back(etaAt[k]);
        std::make_heap(heap.begin(), heap.end(), std::greater<>());
        while (!heap.empty()) {
            std::pop_heap(heap.begin(), heap.end(), std::greater<>());
            const std::size_t t = static_cast<std::size_t>(heap.back());
            heap.pop_back();
            const int p = etas.pivot[t];
            if (x[p] == 0) continue;
            const long double xp = x[p] / etas.value[t];
            x[p] = xp;
            for (int q = etas.start[t]; q < etas.start[t + 1]; ++q) {
                const int k = etas.row[q];
                if (!listed[k]) {
                    listed[k] = 1;
                    nz.push_back(k);
                    if (etaAt[k] >= 0) {
                        heap.push_back(etaAt[k]);
                        std::push_heap(heap.begin(), heap.end(), std::greater<>());
                    }
                }
                long double& xi = x[k];
                const long double term = etas.val[q] * xp;
                const long double v = xi - term;
                xi = std::fabs(v) <= static_cast<long double>(1e-14) * std::fabs(term) ? 0.0L : v;
            }
        }
    }

    // v := v B^-1: on entry v is indexed by slot, on return by original row.
    // The dot product of each eta runs in four partial sums: one chain of
    // dependent subtractions would leave the processor waiting on each.
    template <typename T> static void btran(const Etas& etas, std::vector<T>& v) {
        const int* row = etas.row.data();
        const double* val = etas.val.data();
        T* x = v.data();
        for (std::size_t t = etas.size(); t-- > 0;) {
            const int p = etas.pivot[t];
            T s0 = x[p], s1 = 0, s2 = 0, s3 = 0;
            int q = etas.start[t];
            const int end = etas.start[t + 1];
            for (; q + 4 <= end; q += 4) {
                s0 -= x[row[q]] * val[q];
                s1 -= x[row[q + 1]] * val[q + 1];
                s2 -= x[row[q + 2]] * val[q + 2];
                s3 -= x[row[q + 3]] * val[q + 3];
            }
            for (; q < end; ++q) s0 -= x[row[q]] * val[q];
            // The columns of U have a pivot of 1: dividing by it changes
            // nothing, and the division is what the next eta waits for.
            const T sum = (s0 + s1) + (s2 + s3);
            x[p] = etas.value[t] == 1 ? sum : sum / etas.value[t];
        }
    }
    template <typename T> void btran(std::vector<T>& v) const { btran(etas_, v); }

    // Original column c added into x (zero on entry), its rows listed in nz.
    void addColumn(int c, std::vector<long double>& x, std::vector<int>& nz,
                   std::vector<char>& listed) const {
        nz.clear();
        for (int q = colStart_[c]; q < colStart_[c + 1]; ++q) {
            const int k = colRow_[q];
            x[k] += colVal_[q];
            if (!listed[k]) {
                listed[k] = 1;
                nz.push_back(k);
            }
        }
    }

    // Original column e into workX_, by original row.
    void loadColumn(int e) {
        std::fill(workX_.begin(), workX_.end(), 0.0L);
        for (int q = colStart_[e]; q < colStart_[e + 1]; ++q) workX_[colRow_[q]] += colVal_[q];
    }

    // The entering column B^-1 a_e, computed afresh from the factors before
    // every ratio test (never carried along from pivot to pivot), and every
    // few pivots the right-hand sides B^-1 b afresh in extended precision
    // (in between, the pivots update them as the tableau's pivot does).
    void factoredColumns(int e) {
        // Straight into doubles: a column has at most one entry per row, so
        // no sum is rounded on the way.
        std::fill(alphaSlot_.begin(), alphaSlot_.end(), Real(0));
        for (int q = colStart_[e]; q < colStart_[e + 1]; ++q) alphaSlot_[colRow_[q]] = colVal_[q];
        ftran(etas_, alphaSlot_);
        for (int i = 1; i <= m_; ++i)
            alpha_[i] = res_.removed[i] ? Real(0) : lp_.basis[i] == e ? Real(1) : alphaSlot_[slot_[i]];
        // (A rebuild has just computed them: sinceRefresh_ is 0 then.)
        // Unwatched runs rebuild every 50 pivots and take their right-hand
        // sides from the rebuilds alone: in between, the pivots' updates
        // never led one of them to another pivot on the netlib set, and the
        // extended-precision pass over all the eta columns cost 5 % of the
        // time. Should a rebuild fail, they are recomputed as often again.
        const long every = devex_ ? refreshInterval_ : kRhsPivots;
        if (sinceRefresh_ > 0 && sinceRefresh_ % every == 0) factoredRhs();
    }
    void factoredRhs() {
        std::fill(workX_.begin(), workX_.end(), 0.0L);
        for (const RhsTerm& t : rhsTerms_) workX_[t.row] = t.b;
        ftran(etas_, workX_);
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i]) beta_[i] = static_cast<Real>(workX_[slot_[i]]);
    }

    // Row r of B^-1 [A | b] (the tableau row) into prow_.
    // It updates row 0 between rebuilds, as the tableau's pivot does, so
    // plain doubles serve here.
    void tableauRow(int r) {
        std::vector<double>& v = workD_;
        std::fill(v.begin(), v.end(), 0.0);
        v[slot_[r]] = 1;
        btran(v);
        // Only the entries of the last row can be nonzero; its columns are listed.
        for (int j : prowCols_) {
            prow_[j] = 0;
            prowListed_[j] = 0;
        }
        for (int k = 1; k <= m_; ++k) {
            if (v[k] == 0) continue;
            const Real w = v[k];
            for (int q = lp_.rowStart[k]; q < lp_.rowStart[k + 1]; ++q)
                prow_[lp_.rowCol[q]] += w * lp_.rowVal[q];
        }
        prow_[n_ + 1] = beta_[r];
        // The basic columns are unit columns in the tableau.
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i]) prow_[lp_.basis[i]] = i == r ? 1 : 0;
        // The nonzeros are listed afterwards, in one pass without a branch
        // per column (listing each column as the sums first reach it cost
        // more: whether a column is reached again is as good as random).
        prowCols_.resize(static_cast<std::size_t>(n_) + 1);
        int* const listed = prowCols_.data();
        std::size_t count = 0;
        for (int j = 1; j <= n_ + 1; ++j) {
            const bool nonzero = prow_[j] != 0;
            listed[count] = j;
            prowListed_[j] = nonzero;
            count += nonzero;
        }
        prowCols_.resize(count);
    }

    void listProw(int j) {
        if (prowListed_[j]) return;
        prowListed_[j] = 1;
        prowCols_.push_back(j);
    }

    // The pivot on (r, e) in factored form: row 0 and the right-hand sides
    // change as in the full tableau, and the entering column (alpha_) joins
    // the inverse as a new eta column in row r's slot.
    void factoredPivot(int r, int e) {
        const Real p = alpha_[r];
        Real* r0 = lp_.row(0);
        const Real f0 = r0[e];
        if (f0 != 0) {
            tableauRow(r); // the leaving row before the pivot
            prow_[e] = p;
            listProw(e);
            // Row r divided by the pivot element; its zeros change nothing.
            // Devex: the weights grow with the pivot row, the leaving column
            // takes the entering one's weight over the pivot element.
            const double we = devex_ ? weights_[e] : 0;
            for (int j : prowCols_) {
                if (prow_[j] == 0) continue;
                const Real ratio = prow_[j] / p;
                r0[j] = Cancel(r0[j], f0 * ratio);
                if (devex_ && j != e && j <= n_)
                    weights_[j] = std::max(weights_[j], static_cast<double>(ratio) * ratio * we);
            }
            r0[e] = 0;
            if (devex_) weights_[leavingColumn_] = std::max(we / (static_cast<double>(p) * p), 1.0);
        }
        alphaSlot_[slot_[r]] = p;
        etas_.add(slot_[r], alphaSlot_, m_);
        beta_[r] /= p;
        for (int i = 1; i <= m_; ++i) {
            if (i == r || res_.removed[i] || alpha_[i] == 0) continue;
            beta_[i] = Cancel(beta_[i], alpha_[i] * beta_[r]);
        }
        std::fill(alpha_.begin(), alpha_.end(), Real(0));
        alpha_[r] = 1;
    }

    // Rebuilds the factors of the current basis from the original columns,
    // in extended precision: the basic unit columns keep their slots, the
    // other columns (sparsest first) each take a free slot where their
    // transformed entry is within a factor of ten of the largest, preferring
    // the row that the fewest remaining columns touch (less fill-in). False,
    // with the old factors kept, if the basis is singular.
    bool reinvert() {
        // Built in the spare lists, whose storage stays from one rebuild to the next.
        Etas& fresh = spare_;
        Etas& upper = upper_;
        fresh.clear();
        upper.clear();
        std::vector<int> slot(m_ + 1, 0);
        std::vector<char> used(m_ + 1, 0);
        std::vector<int> rest;
        for (int i = 1; i <= m_; ++i) {
            const int k = unitRow_[lp_.basis[i]];
            if (k && !used[k]) {
                slot[i] = k;
                used[k] = 1;
            } else {
                rest.push_back(i);
            }
        }
        auto count = [&](int i) { return colStart_[lp_.basis[i] + 1] - colStart_[lp_.basis[i]]; };
        std::stable_sort(rest.begin(), rest.end(), [&](int a, int b) { return count(a) < count(b); });
        // How many of the columns still to place touch each row: pivoting in
        // a row that few of them touch keeps the eta columns sparse.
        std::vector<int> touching(m_ + 1, 0);
        for (int i : rest)
            for (int q = colStart_[lp_.basis[i]]; q < colStart_[lp_.basis[i] + 1]; ++q)
                ++touching[colRow_[q]];
        std::vector<long double>& x = workX_;
        std::fill(x.begin(), x.end(), 0.0L);
        // The rows where x may be nonzero, so that each column costs what its
        // own elimination touches rather than a pass over all m rows.
        std::vector<int> nz;
        nz.reserve(m_);
        std::vector<char> listed(m_ + 1, 0);
        std::vector<int> etaAt(m_ + 1, -1), heap;
        heap.reserve(m_);
        for (int i : rest) {
            const int c = lp_.basis[i];
            for (int q = colStart_[c]; q < colStart_[c + 1]; ++q) --touching[colRow_[q]];
            addColumn(c, x, nz, listed);
            long double scale = 0;
            for (int q = colStart_[c]; q < colStart_[c + 1]; ++q)
                scale = std::max(scale, std::fabs(x[colRow_[q]]));
            sparseFtran(fresh, etaAt, x, nz, listed, heap);
            // In row order, as a pass over all rows would find them.
            std::sort(nz.begin(), nz.end());
            std::size_t kept = 0;
            long double largest = 0;
            for (int k : nz) {
                listed[k] = 0;
                if (x[k] == 0) continue;
                nz[kept++] = k;
                if (!used[k]) largest = std::max(largest, std::fabs(x[k]));
            }
            nz.resize(kept);
            if (largest <= 1e-12L * scale) return false;
            // Among the entries within a factor of ten of the largest, the
            // one in the row that the fewest remaining columns touch.
            int best = 0;
            for (int k : nz) {
                if (used[k] || std::fabs(x[k]) < 0.1L * largest) continue;
                if (!best || touching[k] < touching[best]) best = k;
            }
            // B = L U: the entries in the rows still free make the column of
            // L, those in the rows already taken the column of U (whose
            // diagonal is 1).
            etaAt[best] = static_cast<int>(fresh.size());
            fresh.open(best, static_cast<double>(x[best]));
            upper.open(best, 1);
            for (int k : nz) {
                if (k != best) (used[k] ? upper : fresh).push(k, static_cast<double>(x[k]));
                x[k] = 0;
            }
            fresh.close();
            upper.close();
            used[best] = 1;
            slot[i] = best;
        }
        // B^-1 = U^-1 L^-1: the columns of U follow as etas in reverse order.
        for (std::size_t t = upper.size(); t-- > 0;)
            if (upper.start[t + 1] > upper.start[t]) fresh.append(upper, t);
        std::swap(etas_, fresh);
        slot_ = std::move(slot);
        return true;
    }

    // Every tableau row is a combination of the original rows, and the
    // weights stand in the columns that started as the unit columns (slack or
    // artificial): row i = sum over k of t[i][unit(k)] * original row k. The
    // entering column and the right-hand sides are recomputed that way before
    // the ratio test, so that rounding piled up by earlier pivots is never
    // taken for a pivot element.
    void freshColumns(int e) {
        if (factored_) {
            factoredColumns(e);
            return;
        }
        const int cb = colStart_[e], ce = colStart_[e + 1];
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            if (lp_.basis[i] == e) continue;
            Real* ri = lp_.row(i);
            auto weight = [&](int k) { return ri[unitColumn_[k]]; };
            long double sum = 0, mag = 0;
            // Zero weights add nothing to either sum: skipping them changes no bit.
            for (int q = cb; q < ce; ++q) {
                const Real w = weight(colRow_[q]);
                if (w == 0) continue;
                long double term = static_cast<long double>(w) * colVal_[q];
                sum += term;
                mag += std::fabs(term);
            }
            const Real fresh = std::fabs(sum) <= 1e-14L * mag ? Real(0) : static_cast<Real>(sum);
            if (isUnit_[e] && fresh != ri[e]) rhsFresh_[i] = 0; // a weight of the row changed
            ri[e] = fresh;
            if (fresh <= kZero) continue; // the ratio test does not look at this row
            // The right-hand side of a row that nothing has changed since it
            // was last recomputed here would come out the same again.
            if (rhsFresh_[i]) continue;
            rhsFresh_[i] = 1;
            sum = 0;
            mag = 0;
            for (const RhsTerm& t : rhsTerms_) {
                const Real w = weight(t.row);
                if (w == 0) continue;
                long double term = static_cast<long double>(w) * t.b;
                sum += term;
                mag += std::fabs(term);
            }
            ri[n_ + 1] = std::fabs(sum) <= 1e-14L * mag ? Real(0) : static_cast<Real>(sum);
        }
    }

    // Spreads the right-hand sides a little (random but the same every run)
    // so that the ratio test meets no ties. Unwatched runs spread the basic
    // values instead: b + B d for a small positive d raises every basic value
    // by its d_i, so the basis stays feasible. (Spreading b itself at a
    // degenerate vertex leaves some basic values below 0, and the method then
    // wanders: a pivot on such a row loses ground.)
    void perturb() {
        perturbed_ = true;
        if (devex_) std::fill(pert_.begin(), pert_.end(), 0.0);
        std::uint64_t x = 0x2545F4914F6CDD1DULL;
        for (int k = 1; k <= m_; ++k) {
            const double u = static_cast<double>(Xorshift(x) >> 11) * 0x1.0p-53;
            if (!devex_) {
                pert_[k] = (1 + u) * 1e-7 * (1 + std::fabs(lp_.rhs[k]));
            } else if (!res_.removed[k]) {
                const double d = (1 + u) * 1e-7 * (1 + std::fabs(static_cast<double>(beta_[k])));
                const int c = lp_.basis[k];
                for (int q = colStart_[c]; q < colStart_[c + 1]; ++q) pert_[colRow_[q]] += d * colVal_[q];
            }
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
            if (lp_.rhs[k] + pert_[k] != 0) rhsTerms_.push_back({k, lp_.rhs[k] + pert_[k]});
    }
    // The right-hand-side column and the objective value from the (perturbed) b.
    void rhsColumn() {
        std::fill(rhsFresh_.begin(), rhsFresh_.end(), 0);
        if (factored_) factoredRhs();
        long double z = 0;
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            long double sum = 0;
            if (factored_) {
                sum = beta_[i];
            } else {
                const Real* ri = lp_.row(i);
                for (const RhsTerm& t : rhsTerms_)
                    sum += static_cast<long double>(ri[unitColumn_[t.row]]) * t.b;
            }
            rhs(i) = static_cast<Real>(sum);
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
            if (factored_) tableauRow(r);
            const Real* rr = factored_ ? prow_.data() : lp_.row(r);
            int j = 0;
            for (int k = 1; k <= n_ && !j; ++k)
                if (lp_.columns[k].kind != ColumnKind::Artificial && std::fabs(rr[k]) > kZero &&
                    !basicRow_[k])
                    j = k;
            if (j) {
                if (factored_) {
                    freshColumns(j);
                    if (std::fabs(alpha_[r]) <= kZero) alpha_[r] = rr[j];
                }
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
            if (!res_.removed[i]) x[lp_.basis[i]] = rhs(i);
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
        if (factored_) {
            if (!reinvert()) return false;
            factoredRhs();
            reducedCosts();
            sinceRefresh_ = 0;
            ++res_.refreshes;
            return true;
        }
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

    // The end of a factored run: the full final tableau for the checks and the
    // report, each row multiplied out from freshly rebuilt factors.
    void materialise() {
        if (!factored_) return;
        if (sinceRefresh_ > 0) refresh();
        if (finalTableau_ == FinalTableau::ResultOnly) {
            // Row 0 is fresh from the rebuild; only the right-hand sides are
            // copied out (where the model has its rows), and the run stays
            // factored for the checks.
            if (lp_.rowsBuilt)
                for (int i = 1; i <= m_; ++i)
                    if (!res_.removed[i]) lp_.at(i, n_ + 1) = beta_[i];
            return;
        }
        // Column by column: B^-1 a_j in extended precision (the basic
        // columns are the unit columns set below).
        std::vector<char> basic(n_ + 2, 0);
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i]) basic[lp_.basis[i]] = 1;
        for (int j = 1; j <= n_; ++j) {
            if (basic[j]) continue;
            loadColumn(j);
            ftran(etas_, workX_);
            for (int i = 1; i <= m_; ++i)
                if (!res_.removed[i]) lp_.at(i, j) = static_cast<Real>(workX_[slot_[i]]);
        }
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i]) lp_.at(i, n_ + 1) = beta_[i];
        for (int i = 1; i <= m_; ++i) {
            if (res_.removed[i]) continue;
            for (int l = 1; l <= m_; ++l)
                if (!res_.removed[l]) lp_.at(i, lp_.basis[l]) = i == l ? 1 : 0;
        }
        factored_ = false;
        reducedCosts();
    }

    // Before "Infeasible": the phase-1 sum recomputed from the original rows
    // must agree with the tableau.
    void checkInfeasible() {
        if (sinceRefresh_ > 0) refresh();
        double artificialSum = 0;
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i] && lp_.columns[lp_.basis[i]].kind == ColumnKind::Artificial)
                artificialSum += static_cast<double>(rhs(i));
        if (std::fabs(artificialSum + static_cast<double>(lp_.at(0, n_ + 1))) > 1e-6 * (1 + artificialSum))
            doubt("the phase-1 objective does not match the constraint rows");
        if (residual() > 1e-6 * scaleB_) doubt("the final basis does not satisfy the constraint rows");
    }

    // Before "Optimal": the basic solution must satisfy the original rows and
    // be non-negative, and no reduced cost may be negative.
    void checkOptimal() {
        if (residual() > 1e-6 * scaleB_) doubt("the solution does not satisfy all constraints");
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i] && rhs(i) < -1e-6 * scaleB_) {
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

    // The basic solution of the pass, for the observer.
    void observe() {
        observed_.assign(n_ + 1, 0.0);
        for (int i = 1; i <= m_; ++i)
            if (!res_.removed[i]) observed_[lp_.basis[i]] = static_cast<double>(rhs(i));
        observer_->pass(phase_, observed_);
    }

    // The current entering column e and the right-hand side, in either form.
    Real col(int i, int e) const { return factored_ ? alpha_[i] : lp_.at(i, e); }
    Real rhs(int i) const { return factored_ ? beta_[i] : lp_.at(i, n_ + 1); }
    Real& rhs(int i) { return factored_ ? beta_[i] : lp_.at(i, n_ + 1); }

    struct RhsTerm {
        int row;  // original row k
        double b; // its (perturbed) right-hand side
    };

    LPModel& lp_;
    const int m_, n_;
    OutputMode mode_;
    LPProgress& progress_;
    std::string& out_;
    SimplexOutcome& res_;
    SimplexObserver* observer_;
    FinalTableau finalTableau_;
    // Devex pricing in place of the most negative reduced cost: only for
    // factored runs whose passes nobody sees and that leave no tableau for a
    // report, where the verdict and the optimum are all that is read.
    bool devex_ = false;
    std::vector<double> weights_; // [1..n]: the Devex reference weights
    // Phase 1 of a Devex run drops an artificial column once it has left the
    // basis (excluded): it stands at 0, where phase 1 wants it.
    bool dropArtificials_ = false;
    int leavingColumn_ = 0;
    std::vector<double> observed_;
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
    std::vector<RhsTerm> rhsTerms_;
    bool factored_ = false;
    Etas etas_;                // the basis inverse as a product of eta columns (see ftran)
    Etas spare_, upper_;       // work space of the rebuild
    std::vector<int> slot_;    // [1..m]: the slot of the inverse that row i's basic column sits in
    std::vector<int> unitRow_; // [1..n+1]: the original row of a unit column, 0 for the others
    std::vector<long double> workX_;
    std::vector<double> workD_;
    std::vector<Real> alphaSlot_; // [1..m]: the entering column by slot
    std::vector<Real> alpha_;     // [1..m]: the entering column
    std::vector<Real> beta_;      // [1..m]: the right-hand sides
    std::vector<Real> prow_;      // [1..n+1]: work space for a tableau row
    std::vector<int> prowCols_;   // the columns where prow_ may be nonzero
    std::vector<char> prowListed_;
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
    case LPStatus::Stopped:
        return "Stopped";
    }
    return {};
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

SimplexOutcome Simplex(LPModel& model, OutputMode mode, LPProgress& progress, std::string& out,
                       Representation representation, SimplexObserver* observer, FinalTableau finalTableau) {
    SimplexOutcome res;
    Solver solver(model, mode, representation, progress, out, res, observer, finalTableau);
    solver.solve();
    return res;
}

} // namespace tarvik::lp
