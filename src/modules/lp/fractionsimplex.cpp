#include "modules/lp/fractionsimplex.h"

#include "common/numformat.h"

#include <gmpxx.h>

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <set>

namespace tarvik::lp {

void ExactTerms::term(int constraint, int variable, bool negative, std::string_view digits) {
    if (tooLarge_) return;
    if (constraint > kFractionMaxRows || variable >= kFractionMaxVariables) {
        // The run will be decimal: keep nothing more.
        tooLarge_ = true;
        std::vector<Term>().swap(terms_);
        return;
    }
    terms_.push_back({constraint, variable, negative, std::string(digits)});
}

void ExactTerms::turned(int constraint) {
    if (!tooLarge_) turned_.push_back(constraint);
}

namespace {

// A number as the model text writes it (digits with at most one point; empty
// for an implied 1) as an exact fraction.
mpq_class Decimal(const std::string& digits) {
    if (digits.empty()) return 1;
    std::string whole;
    unsigned long decimals = 0;
    bool point = false;
    for (char c : digits) {
        if (c == '.') {
            point = true;
            continue;
        }
        whole.push_back(c);
        if (point) ++decimals;
    }
    if (whole.empty()) return 0;
    mpz_class den;
    mpz_ui_pow_ui(den.get_mpz_t(), 10, decimals);
    mpq_class q{mpz_class(whole, 10), den};
    q.canonicalize();
    return q;
}

// The double nearest to q (mpq_get_d cuts towards zero); beyond the range of
// doubles the largest finite one.
double NearestDouble(const mpq_class& q) {
    double d = q.get_d();
    if (!std::isfinite(d)) return d > 0 ? DBL_MAX : -DBL_MAX;
    const double away = std::nextafter(d, sgn(q) < 0 ? -HUGE_VAL : HUGE_VAL);
    if (std::isfinite(away) && abs(q - mpq_class(away)) < abs(q - mpq_class(d))) return away;
    return d;
}

std::string Cut(const std::string& s, std::size_t width) {
    std::string r = s.substr(0, width);
    r.resize(width, ' ');
    return r;
}

std::string Padded(const std::string& s, std::size_t width) {
    std::string r = s.substr(0, 9);
    r.resize(width, ' ');
    return r;
}

class ExactSolver {
public:
    ExactSolver(LPModel& lp, OutputMode mode, LPProgress& progress, std::string& out, FractionOutcome& res,
                SimplexObserver* observer)
        : lp_(lp), m_(lp.m), n_(lp.n), w_(lp.n + 1), mode_(mode), progress_(progress), out_(out), res_(res),
          sim_(res.outcome), observer_(observer) {}

    // The exact starting tableau from the reader's terms, laid out as
    // BuildLPModel laid out the decimal one. False (with the refusal set)
    // when the model is not shown in fractions.
    bool build(const ExactTerms& exact) {
        std::vector<int> columnOf; // variable -> its tableau column
        for (int j = 1; j <= n_; ++j)
            if (lp_.columns[j].kind == ColumnKind::Decision) columnOf.push_back(j);
        if (exact.tooLarge() || m_ > kFractionMaxRows ||
            static_cast<int>(columnOf.size()) > kFractionMaxVariables) {
            res_.refusal = kFractionSizeNotice;
            return false;
        }
        t_.assign(static_cast<std::size_t>(m_ + 1) * w_, mpq_class(0));
        cost_.assign(n_ + 1, mpq_class(0));
        for (const ExactTerms::Term& term : exact.terms()) {
            mpq_class v = Decimal(term.digits);
            if (term.negative) v = -v;
            if (term.constraint == 0) {
                cost_[columnOf[term.variable]] += v;
            } else {
                at(term.constraint, term.variable < 0 ? n_ + 1 : columnOf[term.variable]) += v;
            }
        }
        for (int i : exact.turnedRows())
            for (int j = 1; j <= n_ + 1; ++j) at(i, j) = -at(i, j);
        // The slack, surplus and artificial entries are the reader's +1 and -1.
        for (int i = 1; i <= m_; ++i)
            for (int q = lp_.rowStart[i]; q < lp_.rowStart[i + 1]; ++q)
                if (lp_.columns[lp_.rowCol[q]].kind != ColumnKind::Decision)
                    at(i, lp_.rowCol[q]) = lp_.rowVal[q];
        for (int i = 1; i <= m_; ++i) {
            if (sgn(at(i, n_ + 1)) < 0) {
                // The decimal sum came out at 0 or above where the exact one is
                // below: the columns the reader made do not fit this row.
                res_.refusal = "Fractions are not shown: the right-hand side of constraint " +
                               std::to_string(i) + " is negative in exact arithmetic.";
                return false;
            }
        }
        for (int j = 1; j <= n_; ++j)
            if (lp_.columns[j].kind == ColumnKind::Artificial) at(0, j) = -1;
        original_ = t_;
        basis_ = lp_.basis;
        sim_.removed.assign(m_ + 1, 0);
        sim_.excluded.assign(n_ + 2, 0);
        return true;
    }

    void solve() {
        out_ += "\r\n\r\n";
        bool feasible = true;
        if (lp_.hasArtificial) {
            progress_.phase(1);
            phase_ = 1;
            PhaseEnd end = runPhase();
            if (end == PhaseEnd::Stopped) return stopped();
            if (end == PhaseEnd::Unbounded) {
                sim_.status = LPStatus::Unbounded;
                feasible = false;
            } else if (sgn(at(0, n_ + 1)) != 0) {
                sim_.status = LPStatus::Infeasible;
                feasible = false;
            }
        }
        if (feasible) {
            progress_.phase(2);
            phase_ = 2;
            for (int j = 1; j <= n_; ++j)
                if (lp_.columns[j].kind == ColumnKind::Artificial) sim_.excluded[j] = 1;
            driveOutArtificials();
            for (int j = 1; j <= n_; ++j) at(0, j) = cost_[j];
            at(0, n_ + 1) = 0;
            PhaseEnd end = runPhase();
            if (end == PhaseEnd::Stopped) return stopped();
            sim_.status = end == PhaseEnd::Unbounded ? LPStatus::Unbounded : LPStatus::Optimal;
            if (sim_.status == LPStatus::Optimal) checkOptimal();
            if (mode_ == OutputMode::FirstLast) print("Last Iteration");
        }
        progress_.iteration(sim_.iterations);
    }

    // The final tableau for the report (nearest doubles) and as texts.
    void finish() {
        res_.tableau.resize(t_.size());
        for (int i = 0; i <= m_; ++i)
            for (int j = 1; j <= n_ + 1; ++j) {
                lp_.at(i, j) = NearestDouble(at(i, j));
                res_.tableau[index(i, j)] = at(i, j).get_str();
            }
        lp_.basis = basis_;
        res_.values.assign(n_ + 1, "0");
        for (int i = m_; i >= 1; --i)
            if (!sim_.removed[i]) res_.values[basis_[i]] = at(i, n_ + 1).get_str();
        if (sim_.status == LPStatus::Optimal) {
            res_.objective = (lp_.minimize ? mpq_class(-at(0, n_ + 1)) : at(0, n_ + 1)).get_str();
            sim_.objectiveFraction = res_.objective;
        }
    }

private:
    enum class PhaseEnd { Optimal, Unbounded, Stopped };

    std::size_t index(int i, int j) const { return static_cast<std::size_t>(i) * w_ + j - 1; }
    mpq_class& at(int i, int j) { return t_[index(i, j)]; }

    void stopped() {
        sim_.status = LPStatus::Stopped;
        progress_.iteration(sim_.iterations);
    }

    PhaseEnd runPhase() {
        // Row 0 from the phase's costs: z_j - c_j over the rows still in.
        std::vector<mpq_class> d(w_ + 1);
        for (int j = 1; j <= n_ + 1; ++j) d[j] = at(0, j);
        for (int j = 1; j <= n_ + 1; ++j) at(0, j) = -d[j];
        for (int i = 1; i <= m_; ++i) {
            if (sim_.removed[i] || sgn(d[basis_[i]]) == 0) continue;
            for (int j = 1; j <= n_ + 1; ++j)
                if (sgn(at(i, j)) != 0) at(0, j) += at(i, j) * d[basis_[i]];
        }
        long phaseIteration = 0;
        std::set<std::vector<int>> seen;
        bland_ = false;
        mpq_class before;
        for (;;) {
            progress_.yield();
            if (progress_.stopRequested()) return PhaseEnd::Stopped;
            ++phaseIteration;
            ++sim_.iterations;
            progress_.iteration(sim_.iterations);
            if (mode_ == OutputMode::All || (mode_ == OutputMode::FirstLast && sim_.iterations == 1))
                print("Iteration " + Format("%5ld", phaseIteration));
            if (observer_) observe();
            if (sim_.iterations > iterationLimit_) {
                // The decimal run's limit, with its words.
                doubt("the iteration limit was reached");
                return PhaseEnd::Optimal;
            }
            // A basis met again without a gain in between means the method
            // cycles: the lowest-index rule then leads it out.
            if (!seen.insert(basicSet()).second) {
                bland_ = true;
                ++sim_.guardPivots;
            }
            const int e = entering();
            if (e == 0) return PhaseEnd::Optimal;
            const int r = leaving(e);
            if (r == 0) return PhaseEnd::Unbounded;
            before = at(0, n_ + 1);
            pivot(r, e);
            if (at(0, n_ + 1) > before) {
                seen.clear();
                bland_ = false;
            }
        }
    }

    // The basic solution of the pass, for the observer (nearest doubles).
    void observe() {
        std::vector<double> values(static_cast<std::size_t>(n_) + 1, 0.0);
        for (int i = 1; i <= m_; ++i)
            if (!sim_.removed[i]) values[basis_[i]] = NearestDouble(at(i, n_ + 1));
        observer_->pass(phase_, values);
    }

    std::vector<int> basicSet() const {
        std::vector<int> set;
        for (int i = 1; i <= m_; ++i)
            if (!sim_.removed[i]) set.push_back(basis_[i]);
        std::sort(set.begin(), set.end());
        return set;
    }

    // The most negative reduced cost, the lowest column on equal values.
    int entering() {
        int best = 0;
        bool tie = false;
        for (int j = 1; j <= n_; ++j) {
            if (sim_.excluded[j] || sgn(at(0, j)) >= 0) continue;
            const int c = best == 0 ? -1 : cmp(at(0, j), at(0, best));
            if (c < 0) {
                best = j;
                tie = false;
                if (bland_) break;
            } else if (c == 0) {
                tie = true;
            }
        }
        if (tie) ++res_.ties;
        return best;
    }

    // The smallest ratio below 1e10 over the positive entries, the lowest row
    // on equal ratios (while cycling: the lowest basic column).
    int leaving(int e) {
        static const mpq_class kInfiniteRatio(10000000000);
        int best = 0;
        bool tie = false;
        mpq_class lhs, rhs;
        for (int i = 1; i <= m_; ++i) {
            if (sim_.removed[i]) continue;
            const mpq_class& a = at(i, e);
            if (sgn(a) <= 0) continue;
            const mpq_class& b = at(i, n_ + 1);
            if (b >= kInfiniteRatio * a) continue;
            if (best == 0) {
                best = i;
                continue;
            }
            // b / a against bb / ab, both denominators positive.
            lhs = b * at(best, e);
            rhs = at(best, n_ + 1) * a;
            const int c = cmp(lhs, rhs);
            if (c == 0) tie = true;
            if (c < 0) tie = false;
            if (c < 0 || (c == 0 && bland_ && basis_[i] < basis_[best])) best = i;
        }
        if (tie) ++res_.ties;
        return best;
    }

    void pivot(int r, int e) {
        basis_[r] = e;
        nz_.clear();
        for (int j = 1; j <= n_ + 1; ++j)
            if (sgn(at(r, j)) != 0) nz_.push_back(j);
        const mpq_class p = at(r, e);
        for (int j : nz_) at(r, j) /= p;
        mpq_class f, product;
        for (int k = 0; k <= m_; ++k) {
            if (k == r || (k > 0 && sim_.removed[k]) || sgn(at(k, e)) == 0) continue;
            f = at(k, e);
            for (int j : nz_) {
                mpq_mul(product.get_mpq_t(), f.get_mpq_t(), at(r, j).get_mpq_t());
                mpq_class& x = at(k, j);
                mpq_sub(x.get_mpq_t(), x.get_mpq_t(), product.get_mpq_t());
            }
        }
    }

    bool basicAnywhere(int j) const {
        for (int i = 1; i <= m_; ++i)
            if (!sim_.removed[i] && basis_[i] == j) return true;
        return false;
    }

    void driveOutArtificials() {
        for (;;) {
            int r = 0;
            for (int i = 1; i <= m_ && !r; ++i)
                if (!sim_.removed[i] && lp_.columns[basis_[i]].kind == ColumnKind::Artificial) r = i;
            if (!r) return;
            int j = 0;
            for (int k = 1; k <= n_ && !j; ++k)
                if (lp_.columns[k].kind != ColumnKind::Artificial && sgn(at(r, k)) != 0 && !basicAnywhere(k))
                    j = k;
            if (j) {
                pivot(r, j);
            } else {
                out_ += "  Warning : redundant constraints. Constraint " + Format("%3d", r) + " removed.\r\n";
                sim_.removed[r] = 1;
            }
        }
    }

    // The exact solution must satisfy every original row (removed ones too),
    // be nonnegative, and leave no negative reduced cost: anything else is a
    // fault of this program, said as the decimal run says it.
    void checkOptimal() {
        std::vector<mpq_class> x(w_ + 1);
        for (int i = 1; i <= m_; ++i)
            if (!sim_.removed[i]) x[basis_[i]] = at(i, n_ + 1);
        mpq_class sum;
        for (int i = 1; i <= m_; ++i) {
            sum = 0;
            for (int j = 1; j <= n_; ++j) sum += original_[index(i, j)] * x[j];
            if (sum != original_[index(i, n_ + 1)])
                return doubt("the solution does not satisfy all constraints");
        }
        for (int j = 1; j <= n_; ++j)
            if (sgn(x[j]) < 0) return doubt("a basic variable is negative");
        for (int j = 1; j <= n_; ++j)
            if (!sim_.excluded[j] && sgn(at(0, j)) < 0) return doubt("a reduced cost is negative");
    }
    void doubt(const std::string& why) {
        sim_.reliable = false;
        sim_.doubt = why;
    }

    // The decimal print's layout with each column as wide as its widest entry
    // needs: the names start 4 characters before the right edge of their
    // column, as they do over the 9-character decimal columns.
    void print(const std::string& title) {
        out_ += "\r\n\r\n" + title + "\r\n";
        std::vector<std::string> texts(t_.size());
        for (int i = 0; i <= m_; ++i) {
            if (i > 0 && sim_.removed[i]) continue;
            for (int j = 1; j <= n_ + 1; ++j) texts[index(i, j)] = at(i, j).get_str();
        }
        for (int first = 1; first <= n_ + 1; first += 7) {
            const int last = std::min(n_ + 1, first + 6);
            std::vector<std::size_t> width(last + 2, 9);
            for (int i = 0; i <= m_; ++i) {
                if (i > 0 && sim_.removed[i]) continue;
                for (int j = first; j <= last; ++j)
                    width[j] = std::max(width[j], texts[index(i, j)].size() + 1);
            }
            out_ += std::string(5 + width[first], ' ');
            for (int j = first; j <= last; ++j)
                out_ += Padded(lp_.columns[j].name, j < last ? width[j + 1] : 9);
            out_ += "\r\n" + std::string(10, ' ');
            for (int j = first; j <= last; ++j) out_ += std::string(width[j], '-');
            out_ += "\r\n";
            for (int i = 0; i <= m_; ++i) {
                if (i > 0 && sim_.removed[i]) continue;
                out_ += i == 0 ? std::string("Rel.Cost") : Cut(lp_.columns[basis_[i]].name, 8);
                out_ += "|";
                for (int j = first; j <= last; ++j) {
                    const std::string& s = texts[index(i, j)];
                    out_.append(width[j] - s.size(), ' ');
                    out_ += s;
                }
                out_ += "\r\n";
            }
            out_ += "\r\n\r\n";
            progress_.output(out_);
        }
    }

    LPModel& lp_;
    const int m_, n_;
    const std::size_t w_; // entries per row: columns 1..n+1
    OutputMode mode_;
    LPProgress& progress_;
    std::string& out_;
    FractionOutcome& res_;
    SimplexOutcome& sim_;
    SimplexObserver* observer_;
    int phase_ = 1;
    std::vector<mpq_class> t_;        // rows 0..m, columns 1..n+1
    std::vector<mpq_class> original_; // the starting tableau, for the checks
    std::vector<mpq_class> cost_;     // [1..n], maximisation form
    std::vector<int> basis_;          // [1..m]
    std::vector<int> nz_;
    bool bland_ = false;
    const long iterationLimit_ = 50L * (m_ + n_ + 1) + 10000;
};

} // namespace

FractionOutcome FractionSimplex(LPModel& model, const ExactTerms& exact, OutputMode mode,
                                LPProgress& progress, std::string& out, SimplexObserver* observer) {
    FractionOutcome res;
    ExactSolver solver(model, mode, progress, out, res, observer);
    if (!solver.build(exact)) return res;
    solver.solve();
    solver.finish();
    return res;
}

} // namespace tarvik::lp
