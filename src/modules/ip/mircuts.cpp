#include "modules/ip/mircuts.h"

#include <algorithm>
#include <cmath>

namespace tarvik::ip {

namespace {

constexpr int kMaxAggregations = 5;    // rows added to a start row at most
constexpr int kMaxDivisors = 8;        // divisors tried from the row's integer coefficients
constexpr double kMirFraction = 0.01;  // the least fraction of the divided right-hand side
constexpr double kMirEfficacy = 1e-4;  // the least distance of the point from a cut
constexpr double kMirViolation = 1e-6; // the least violation, relative to the right-hand side
constexpr double kMirDynamism = 1e6;   // the largest ratio of a cut's coefficients
constexpr double kMirSafety = 1e-9;    // the right-hand side is eased by this much (relative)
constexpr double kMirParallel = 0.999; // cuts nearer to parallel than this are one cut
constexpr double kOnBound = 1e-6;      // values this close to a bound count as on it

} // namespace

MirSeparator::MirSeparator(const MIPModel& model) : n_(model.n) {
    integer_.assign(n_ + 1, 0);
    upper_.assign(n_ + 1, kInfinity);
    for (int j = 1; j <= n_; ++j) {
        integer_[j] = model.integer[j] ? 1 : 0;
        if (model.upper[j] >= 0)
            upper_[j] = integer_[j] ? std::floor(model.upper[j] + kIntTolerance) : model.upper[j];
    }
    col_.assign(n_ + 1, {});
    for (int i = 1; i <= model.m; ++i) {
        Row& row = rows_.emplace_back();
        const double sign = model.sense[i] == kGreaterEqual ? -1.0 : 1.0;
        for (int e = model.rowStart[i]; e < model.rowStart[i + 1]; ++e) {
            if (model.value[e] == 0) continue;
            row.terms.push_back({model.variable[e], sign * model.value[e]});
            col_[model.variable[e]].push_back(i - 1);
        }
        row.rhs = sign * model.rhs[i];
        row.equality = model.sense[i] == kEqual;
    }
    // The largest value each variable can take by one row and the others'
    // bounds (every variable is 0 or more): a <= row whose other terms are
    // bounded below.
    std::vector<double> implied(upper_);
    for (const Row& row : rows_) {
        double least = 0; // the other terms' least activity
        int unbounded = 0;
        for (const Term& t : row.terms) {
            if (t.a >= 0) continue;
            if (upper_[t.var] >= kInfinity)
                ++unbounded;
            else
                least += t.a * upper_[t.var];
        }
        if (unbounded > 0) continue;
        for (const Term& t : row.terms)
            if (t.a > 0) implied[t.var] = std::min(implied[t.var], (row.rhs - least) / t.a);
    }
    // Variable upper bounds: x - u y <= 0 with x continuous and y integer.
    // Their coefficient u is tightened to the implied bound of x: when y is
    // 1 or more, x is at most that bound anyway; when y is 0, so is x.
    vub_.assign(n_ + 1, {});
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r) {
        const Row& row = rows_[r];
        if (row.equality || row.rhs != 0 || row.terms.size() != 2) continue;
        for (int k = 0; k < 2; ++k) {
            const Term& x = row.terms[k];
            const Term& y = row.terms[1 - k];
            if (integer_[x.var] || !integer_[y.var] || x.a <= 0 || y.a >= 0) continue;
            const double u = std::min(-y.a / x.a, implied[x.var]);
            if (u <= 0) continue;
            if (vub_[x.var].y == 0 || u < vub_[x.var].u) vub_[x.var] = {y.var, u, r};
        }
    }
}

double MirSeparator::mir(const Aggregate& row, const std::vector<char>& complemented,
                         const std::vector<char>& viaVub, double delta, const double* x,
                         std::vector<double>& pi, double& rhs) const {
    // The row in the variables z (integer: y, or its bound less y) and s >= 0
    // (continuous: x, its bound less x, or u y less x): sum g z + sum c s <= beta.
    std::vector<double>& g = pi; // first the integer coefficients, then the cut
    std::fill(g.begin(), g.end(), 0.0);
    double beta = row.rhs;
    for (int j : row.support) {
        const double a = row.a[j];
        if (a == 0 || integer_[j]) continue;
        if (viaVub[j]) {
            g[vub_[j].y] += a * vub_[j].u;
        } else if (complemented[j]) {
            beta -= a * upper_[j];
        }
    }
    for (int j : row.support)
        if (integer_[j]) g[j] += row.a[j];
    std::vector<int> ints;
    for (int j : row.support) {
        const int y = integer_[j] ? j : (viaVub[j] ? vub_[j].y : 0);
        if (y == 0 || g[y] == 0 || std::find(ints.begin(), ints.end(), y) != ints.end()) continue;
        ints.push_back(y);
        if (complemented[y]) beta -= g[y] * upper_[y];
    }
    const double scaled = beta / delta;
    if (std::fabs(scaled) > 1e9) return 0;
    const double down = std::floor(scaled);
    const double f0 = scaled - down;
    if (f0 < kMirFraction || f0 > 1 - kMirFraction) return 0;
    // The rounded row: sum F(g / delta) z + sum_{c < 0} c / (delta (1 - f0)) s <= floor(beta / delta),
    // F(a) = floor(a) + max(0, frac(a) - f0) / (1 - f0); written back in the model's variables.
    std::vector<std::pair<int, double>> intCoef;
    for (int y : ints) {
        const double t = (complemented[y] ? -g[y] : g[y]) / delta;
        const double f = t - std::floor(t);
        intCoef.emplace_back(y, std::floor(t) + std::max(0.0, f - f0) / (1 - f0));
    }
    for (int y : ints) g[y] = 0;
    rhs = down;
    for (const auto& [y, e] : intCoef) {
        if (complemented[y]) {
            pi[y] -= e;
            rhs -= e * upper_[y];
        } else {
            pi[y] += e;
        }
    }
    for (int j : row.support) {
        const double a = row.a[j];
        if (a == 0 || integer_[j]) continue;
        const double c = viaVub[j] || complemented[j] ? -a : a;
        if (c >= 0) continue;
        const double h = c / (delta * (1 - f0));
        if (viaVub[j]) {
            pi[vub_[j].y] += h * vub_[j].u;
            pi[j] -= h;
        } else if (complemented[j]) {
            pi[j] -= h;
            rhs -= h * upper_[j];
        } else {
            pi[j] += h;
        }
    }
    double lhs = 0, norm = 0;
    for (int j = 1; j <= n_; ++j) {
        if (pi[j] == 0) continue;
        lhs += pi[j] * x[j - 1];
        norm += pi[j] * pi[j];
    }
    if (norm <= 0 || lhs - rhs <= kMirViolation * Scale(rhs)) return 0;
    return (lhs - rhs) / std::sqrt(norm);
}

bool MirSeparator::round(const Aggregate& row, const double* x,
                         std::vector<std::pair<double, CutRow>>& out) const {
    // Each variable written as its distance from the bound nearest the point.
    std::vector<char> complemented(n_ + 1, 0), viaVub(n_ + 1, 0);
    bool anyInteger = false;
    for (int j : row.support) {
        if (row.a[j] == 0) continue;
        const double v = x[j - 1];
        if (integer_[j]) {
            anyInteger = true;
            continue;
        }
        const Vub& vub = vub_[j];
        const double toVub = vub.y > 0 ? vub.u * x[vub.y - 1] - v : kInfinity;
        const double toUpper = upper_[j] - v;
        if (toVub < v && toVub <= toUpper) {
            viaVub[j] = 1;
            anyInteger = true;
        } else if (toUpper < v) {
            complemented[j] = 1;
        }
    }
    if (!anyInteger) return false;
    std::vector<int> ints;
    for (int j : row.support) {
        const int y = integer_[j] ? j : (viaVub[j] ? vub_[j].y : 0);
        if (y > 0) ints.push_back(y);
    }
    std::sort(ints.begin(), ints.end());
    ints.erase(std::unique(ints.begin(), ints.end()), ints.end());
    for (int y : ints)
        if (upper_[y] < kInfinity && x[y - 1] > upper_[y] / 2) complemented[y] = 1;
    // The divisors: the integer coefficients of the variables strictly
    // between their bounds.
    std::vector<double> pi(n_ + 1, 0.0);
    std::vector<double> coefficient(n_ + 1, 0.0);
    for (int j : row.support) {
        if (integer_[j])
            coefficient[j] += row.a[j];
        else if (viaVub[j])
            coefficient[vub_[j].y] += row.a[j] * vub_[j].u;
    }
    std::vector<double> divisors;
    for (int y : ints) {
        const double v = x[y - 1];
        if (v < kOnBound || v > upper_[y] - kOnBound || std::fabs(coefficient[y]) < kOnBound) continue;
        const double d = std::fabs(coefficient[y]);
        if (std::none_of(divisors.begin(), divisors.end(),
                         [d](double e) { return std::fabs(d - e) <= 1e-9 * Scale(d); }))
            divisors.push_back(d);
        if (static_cast<int>(divisors.size()) == kMaxDivisors) break;
    }
    double best = 0, bestDelta = 0, rhs = 0;
    for (double d : divisors) {
        const double e = mir(row, complemented, viaVub, d, x, pi, rhs);
        if (e > best) best = e, bestDelta = d;
    }
    if (bestDelta == 0) return false;
    for (double d : {bestDelta / 2, bestDelta / 4, bestDelta / 8}) {
        const double e = mir(row, complemented, viaVub, d, x, pi, rhs);
        if (e > best) best = e, bestDelta = d;
    }
    if (best < kMirEfficacy) return false;
    mir(row, complemented, viaVub, bestDelta, x, pi, rhs);
    // Scaled to a largest coefficient of 1, written with a right-hand side of
    // 0 or more, as the model's rows are.
    double largest = 0, smallest = kInfinity;
    for (int j = 1; j <= n_; ++j)
        if (pi[j] != 0)
            largest = std::max(largest, std::fabs(pi[j])), smallest = std::min(smallest, std::fabs(pi[j]));
    if (largest == 0 || largest / smallest > kMirDynamism) return false;
    rhs /= largest;
    rhs += kMirSafety * Scale(rhs);
    const double sign = rhs < 0 ? -1 : 1;
    CutRow cut;
    for (int j = 1; j <= n_; ++j)
        if (pi[j] != 0) cut.terms.emplace_back(j, sign * pi[j] / largest);
    cut.sense = sign < 0 ? kGreaterEqual : kLessEqual;
    cut.rhs = sign * rhs;
    out.emplace_back(best, std::move(cut));
    return true;
}

std::vector<CutRow> MirSeparator::cuts(const double* x, int maxCuts) const {
    std::vector<std::pair<double, CutRow>> found;
    // The tightened variable upper bounds the point violates.
    for (int j = 1; j <= n_; ++j) {
        const Vub& vub = vub_[j];
        if (vub.y == 0) continue;
        const double modelU = -rows_[vub.row].terms[rows_[vub.row].terms[0].var == j ? 1 : 0].a /
                              rows_[vub.row].terms[rows_[vub.row].terms[0].var == j ? 0 : 1].a;
        const double violation = x[j - 1] - vub.u * x[vub.y - 1];
        if (vub.u >= modelU * (1 - 1e-9) || violation <= kMirViolation * Scale(x[j - 1])) continue;
        CutRow cut;
        cut.terms = {{std::min(j, vub.y), j < vub.y ? 1.0 : -vub.u},
                     {std::max(j, vub.y), j < vub.y ? -vub.u : 1.0}};
        cut.sense = kLessEqual;
        cut.rhs = 0;
        found.emplace_back(violation / std::sqrt(1 + vub.u * vub.u), std::move(cut));
    }
    const int m = static_cast<int>(rows_.size());
    std::vector<char> isVubRow(m, 0);
    for (int j = 1; j <= n_; ++j)
        if (vub_[j].y > 0) isVubRow[vub_[j].row] = 1;
    Aggregate agg;
    agg.a.assign(n_ + 1, 0.0);
    std::vector<int> used;
    for (int start = 0; start < m; ++start) {
        if (isVubRow[start]) continue;
        const Row& base = rows_[start];
        bool useful = false;
        for (const Term& t : base.terms) useful = useful || integer_[t.var] || vub_[t.var].y > 0;
        if (!useful) continue;
        for (double sign : {1.0, -1.0}) {
            if (sign < 0 && !base.equality) break;
            for (int j : agg.support) agg.a[j] = 0;
            agg.support.clear();
            for (const Term& t : base.terms) {
                agg.a[t.var] = sign * t.a;
                agg.support.push_back(t.var);
            }
            agg.rhs = sign * base.rhs;
            used.assign(1, start);
            for (int step = 0;; ++step) {
                if (round(agg, x, found) || step == kMaxAggregations) break;
                // The continuous variable farthest from its bounds goes, by
                // the shortest row that can take it out.
                int pick = 0, through = -1;
                double farthest = kOnBound;
                for (int j : agg.support) {
                    if (agg.a[j] == 0 || integer_[j]) continue;
                    const double v = x[j - 1];
                    double distance = std::min(v, upper_[j] - v);
                    if (vub_[j].y > 0) distance = std::min(distance, vub_[j].u * x[vub_[j].y - 1] - v);
                    if (distance <= farthest) continue;
                    int shortest = -1;
                    for (int r : col_[j]) {
                        if (isVubRow[r] || std::find(used.begin(), used.end(), r) != used.end()) continue;
                        const Row& row = rows_[r];
                        double ar = 0;
                        for (const Term& t : row.terms)
                            if (t.var == j) ar = t.a;
                        if (!row.equality && -agg.a[j] / ar <= 0) continue;
                        if (shortest < 0 || row.terms.size() < rows_[shortest].terms.size()) shortest = r;
                    }
                    if (shortest < 0) continue;
                    farthest = distance;
                    pick = j;
                    through = shortest;
                }
                if (pick == 0) break;
                const Row& row = rows_[through];
                double ar = 0;
                for (const Term& t : row.terms)
                    if (t.var == pick) ar = t.a;
                const double lambda = -agg.a[pick] / ar;
                for (const Term& t : row.terms) {
                    if (agg.a[t.var] == 0 &&
                        std::find(agg.support.begin(), agg.support.end(), t.var) == agg.support.end())
                        agg.support.push_back(t.var);
                    agg.a[t.var] += lambda * t.a;
                    if (std::fabs(agg.a[t.var]) < 1e-12 * Scale(lambda * t.a)) agg.a[t.var] = 0;
                }
                agg.a[pick] = 0;
                agg.rhs += lambda * row.rhs;
                used.push_back(through);
            }
        }
    }
    for (int j : agg.support) agg.a[j] = 0;
    // The deepest first; one of each set of (nearly) parallel cuts.
    std::stable_sort(found.begin(), found.end(),
                     [](const auto& p, const auto& q) { return p.first > q.first; });
    std::vector<CutRow> chosen;
    std::vector<double> dense(n_ + 1, 0.0);
    for (auto& [efficacy, cut] : found) {
        if (static_cast<int>(chosen.size()) == maxCuts) break;
        double norm = 0;
        for (const auto& [j, a] : cut.terms) norm += a * a;
        bool parallel = false;
        for (const CutRow& other : chosen) {
            double dot = 0, otherNorm = 0;
            for (const auto& [j, a] : other.terms) dense[j] = other.sense == cut.sense ? a : -a;
            for (const auto& [j, a] : cut.terms) dot += a * dense[j];
            for (const auto& [j, a] : other.terms) otherNorm += a * a, dense[j] = 0;
            if (dot / std::sqrt(norm * otherNorm) > kMirParallel) {
                parallel = true;
                break;
            }
        }
        if (!parallel) chosen.push_back(std::move(cut));
    }
    return chosen;
}

} // namespace tarvik::ip
