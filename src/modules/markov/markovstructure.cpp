#include "modules/markov/markovformat.h"
#include "modules/markov/markovinternal.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>

namespace tarvik::markov {
namespace detail {

SparseRows PositiveEntries(const std::vector<double>& dense, int n) {
    SparseRows m;
    m.n = n;
    m.start.reserve(static_cast<std::size_t>(n) + 1);
    for (int i = 0; i < n; ++i) {
        m.start.push_back(static_cast<int>(m.column.size()));
        for (int j = 0; j < n; ++j) {
            const double v = dense[static_cast<std::size_t>(i) * n + j];
            if (v > 0) {
                m.column.push_back(j);
                m.value.push_back(v);
            }
        }
    }
    m.start.push_back(static_cast<int>(m.column.size()));
    return m;
}

void RowTimes(const std::vector<double>& row, const SparseRows& m, std::vector<double>& out) {
    out.assign(static_cast<std::size_t>(m.n), 0.0);
    for (int i = 0; i < m.n; ++i) {
        const double x = row[static_cast<std::size_t>(i)];
        if (x == 0) continue;
        for (int e = m.start[static_cast<std::size_t>(i)]; e < m.start[static_cast<std::size_t>(i) + 1]; ++e)
            out[static_cast<std::size_t>(m.column[static_cast<std::size_t>(e)])] +=
                x * m.value[static_cast<std::size_t>(e)];
    }
}

StepMatrix::StepMatrix(const std::vector<double>& dense, int n) : n_(n) {
    std::size_t positive = 0;
    for (double v : dense) positive += v > 0;
    dense_ = positive * 4 >= dense.size();
    if (dense_) {
        d_.resize(dense.size());
        for (std::size_t k = 0; k < dense.size(); ++k) d_[k] = dense[k] > 0 ? dense[k] : 0.0;
    } else {
        s_ = PositiveEntries(dense, n);
    }
}

void StepMatrix::rowTimes(const std::vector<double>& row, std::vector<double>& out) const {
    const auto N = static_cast<std::size_t>(n_);
    if (dense_) {
        out.assign(N, 0.0);
        double* o = out.data();
        for (std::size_t i = 0; i < N; ++i) {
            const double x = row[i];
            if (x == 0) continue;
            const double* m = d_.data() + i * N;
            for (std::size_t j = 0; j < N; ++j) o[j] += x * m[j];
        }
    } else {
        RowTimes(row, s_, out);
    }
    // Probabilities that die away would otherwise end in denormal numbers,
    // which slow the arithmetic down a hundredfold; they are far below any
    // digit a report shows.
    for (double& v : out) v = v < 1e-290 ? 0.0 : v;
}

WorkChain MakeWorkChain(const Chain& chain) {
    WorkChain w;
    const int n = chain.n;
    w.n = n;
    w.p = chain.p;
    w.costRate = chain.cost;
    if (chain.type == ChainType::Discrete) return w;
    std::vector<double> out(static_cast<std::size_t>(n), 0.0);
    double maxOut = 0;
    for (int i = 0; i < n; ++i) {
        double q = 0;
        for (int j = 0; j < n; ++j)
            if (j != i) q += chain.at(i, j);
        out[static_cast<std::size_t>(i)] = q;
        maxOut = std::max(maxOut, q);
    }
    w.nu = maxOut + 1e-4;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) {
            double& pu = w.p[static_cast<std::size_t>(i) * n + j];
            pu = i == j ? 1 - out[static_cast<std::size_t>(i)] / w.nu : chain.at(i, j) / w.nu;
        }
        double rate = chain.cost[static_cast<std::size_t>(i)];
        for (int k = 0; k < n; ++k)
            if (k != i) rate += chain.at(i, k) * chain.transitionCost[static_cast<std::size_t>(k)];
        w.costRate[static_cast<std::size_t>(i)] = rate;
    }
    return w;
}

std::int64_t PoissonTerms(double nut) {
    if (nut <= 1) return 16;
    if (nut <= 5) return 29;
    if (nut <= 10) return 41;
    if (nut <= 15) return 51;
    if (nut <= 25) return 70;
    if (nut <= 50) return 109;
    if (nut <= 80) return 153;
    if (nut <= 120) return 207;
    if (nut <= 160) return 259;
    const double k = std::floor(nut + 8 * std::sqrt(nut));
    // Far beyond anything that can finish; kept finite so the loops stay defined.
    return k < 1e15 ? static_cast<std::int64_t>(k) : static_cast<std::int64_t>(1e15);
}

PowerLimit LimitOfPowers(const std::vector<double>& dense, int n) {
    const auto N = static_cast<std::size_t>(n);
    std::vector<double> a = dense, b(N * N);
    double steps = 1;
    for (int k = 0; k < 62; ++k) {
        // b = a * a, row by row.
        std::fill(b.begin(), b.end(), 0.0);
        for (std::size_t i = 0; i < N; ++i)
            for (std::size_t l = 0; l < N; ++l) {
                const double x = a[i * N + l];
                if (x == 0) continue;
                const double* row = a.data() + l * N;
                double* out = b.data() + i * N;
                for (std::size_t j = 0; j < N; ++j) out[j] += x * row[j];
            }
        steps *= 2;
        double change = 0;
        for (std::size_t i = 0; i < N * N; ++i) change = std::max(change, std::fabs(b[i] - a[i]));
        a.swap(b);
        if (change <= 1e-15) return PowerLimit{std::move(a), steps};
    }
    return {};
}

bool Settled(const std::vector<double>& row, const std::vector<double>& limit, int n) {
    const auto N = static_cast<std::size_t>(n);
    std::vector<double> image(N, 0.0);
    for (std::size_t i = 0; i < N; ++i) {
        if (row[i] == 0) continue;
        for (std::size_t j = 0; j < N; ++j) image[j] += row[i] * limit[i * N + j];
    }
    for (std::size_t j = 0; j < N; ++j)
        if (!(std::fabs(image[j] - row[j]) <= 1e-14)) return false;
    return true;
}

double MaxReachableTime(std::int64_t maxTerms, double stepsToSettle, int n, double nu) {
    const double perStep = static_cast<double>(n) * static_cast<double>(n);
    double steps = static_cast<double>(maxTerms);
    if (maxTerms > kSettleCheckTerms && stepsToSettle > 0) steps = std::min(steps, stepsToSettle);
    if (steps * perStep <= kMaxStepWork) return 0;
    // About nu t steps reach time t.
    return std::max(1.0, std::floor(kMaxStepWork / perStep / nu));
}

std::string TooLateMessage(double tmax) {
    return "Time points must be at most " + tarvik::FormatGeneral(tmax, 6) + " for this chain";
}

double ExpWeight(double logWeight) {
    return logWeight <= -700 ? 0.0 : std::exp(logWeight);
}

Classification Classify(const std::vector<double>& p, int n, int stopAfter) {
    const auto N = static_cast<std::size_t>(n);
    std::vector<char> r(N * N);
    for (std::size_t k = 0; k < N * N; ++k) r[k] = p[k] > 0;
    auto R = [&](int i, int j) -> char& {
        return r[static_cast<std::size_t>(i) * N + static_cast<std::size_t>(j)];
    };
    std::vector<char> active(N, 1);
    std::vector<int> mark(N, 0); // 0 unclassified, 1 leads into a recurrent class, 2 recurrent
    std::vector<std::vector<char>> members(N, std::vector<char>(N, 0));
    for (int s = 0; s < n; ++s) members[static_cast<std::size_t>(s)][static_cast<std::size_t>(s)] = 1;
    Classification result;
    result.classOf.assign(N, 0);

    auto exitsTo = [&](int s) {
        for (int j = 0; j < n; ++j)
            if (j != s && active[static_cast<std::size_t>(j)] && R(s, j)) return true;
        return false;
    };
    // Records the class that s stands for; true when the search is to end.
    auto found = [&](int s, bool absorbing) {
        mark[static_cast<std::size_t>(s)] = 2;
        Classification::Class c;
        c.absorbing = absorbing;
        for (int m = 0; m < n; ++m)
            if (members[static_cast<std::size_t>(s)][static_cast<std::size_t>(m)]) c.members.push_back(m);
        result.classes.push_back(std::move(c));
        const int k = static_cast<int>(result.classes.size());
        for (int m : result.classes.back().members) result.classOf[static_cast<std::size_t>(m)] = k;
        return stopAfter > 0 && k >= stopAfter;
    };

    // Absorbing states first.
    for (int s = 0; s < n; ++s) {
        if (!R(s, s) || exitsTo(s)) continue;
        if (found(s, true)) return result;
        for (int e = 0; e < n; ++e)
            if (e != s && R(e, s)) mark[static_cast<std::size_t>(e)] = 1;
    }

    std::vector<int> path;
    for (;;) {
        int start = -1;
        for (int s = 0; s < n && start < 0; ++s)
            if (active[static_cast<std::size_t>(s)] && mark[static_cast<std::size_t>(s)] == 0) start = s;
        if (start < 0) break;
        path.assign(1, start);
        int cur = start;
        for (;;) {
            int j = -1;
            for (int x = 0; x < n && j < 0; ++x)
                if (x != cur && active[static_cast<std::size_t>(x)] && R(cur, x)) j = x;
            bool closed = false;
            if (j < 0) {
                // Nothing leaves the current state: it is closed as it stands.
                closed = true;
                j = cur;
            } else if (mark[static_cast<std::size_t>(j)] != 0) {
                // j leads into (or is part of) a recurrent class, so does the path.
                for (int s : path) mark[static_cast<std::size_t>(s)] = 1;
                break;
            } else {
                auto q = std::find(path.begin(), path.end(), j);
                if (q == path.end()) {
                    path.push_back(j);
                    cur = j;
                    continue;
                }
                // Contract the cycle j ... current into j.
                for (auto it = q + 1; it != path.end(); ++it) {
                    const int m = *it;
                    if (m == j || !active[static_cast<std::size_t>(m)]) continue;
                    active[static_cast<std::size_t>(m)] = 0;
                    for (int x = 0; x < n; ++x) {
                        if (members[static_cast<std::size_t>(m)][static_cast<std::size_t>(x)])
                            members[static_cast<std::size_t>(j)][static_cast<std::size_t>(x)] = 1;
                        if (R(m, x)) R(j, x) = 1;
                        if (R(x, m)) R(x, j) = 1;
                    }
                }
                cur = j;
                closed = R(j, j) && !exitsTo(j);
            }
            if (!closed) continue;
            if (found(j, false)) return result;
            for (int e = 0; e < n; ++e)
                if (e != j && active[static_cast<std::size_t>(e)] && R(e, j) &&
                    mark[static_cast<std::size_t>(e)] == 0)
                    mark[static_cast<std::size_t>(e)] = 1;
            break;
        }
    }
    return result;
}

} // namespace detail

namespace {

std::string MemberList(const std::vector<int>& states) {
    std::string s;
    for (int m : states) s += std::to_string(m + 1) + " ";
    return s;
}

} // namespace

Report ChainStructure(const Chain& chain) {
    detail::RequireConsistent(chain, AnalysisParams{}, Analysis::Structure);
    const bool continuous = chain.type == ChainType::Continuous;
    const detail::WorkChain w = detail::MakeWorkChain(chain);
    const detail::Classification c = detail::Classify(w.p, w.n);
    Report report;
    report.analysis = Analysis::Structure;
    auto& out = report.lines;
    out = {"=====================", "   CHAIN STRUCTURE", "=====================", continuous ? "" : " "};
    for (std::size_t k = 0; k < c.classes.size(); ++k) {
        const auto& cls = c.classes[k];
        std::string line = "Recurrent subchain " + std::to_string(k + 1) + ": ";
        if (cls.absorbing)
            line += std::to_string(cls.members.front() + 1);
        else
            line += MemberList(cls.members);
        out.push_back(line);
    }
    out.push_back(continuous ? "" : " ");
    out.push_back(c.classes.size() == 1 ? "There is a single recurrent class."
                                        : "There are multiple recurrent classes.");
    out.push_back("");
    std::vector<int> transient;
    for (int s = 0; s < w.n; ++s)
        if (c.classOf[static_cast<std::size_t>(s)] == 0) transient.push_back(s);
    if (transient.empty())
        out.push_back("Transient states      : None   ");
    else
        out.push_back((continuous ? "Transient states      : " : "Transient states: ") +
                      MemberList(transient));
    return report;
}

} // namespace tarvik::markov
