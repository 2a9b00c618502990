#include "modules/markov/markovformat.h"
#include "modules/markov/markovinternal.h"

#include <cmath>
#include <utility>

namespace tarvik::markov {
namespace {

struct Solution {
    std::vector<double> x;
    bool illConditioned = false;
};

// x (P - I) = 0 in columns 1..N-1 and x1 + ... + xN = 1, by Gaussian
// elimination with scaled row pivoting on the transposed system.
Solution SolveBalance(const std::vector<double>& p, int n) {
    Solution sol;
    const auto N = static_cast<std::size_t>(n);
    sol.x.assign(N, 0.0);
    if (n == 1) {
        sol.x[0] = 1;
        return sol;
    }
    // a(r, c) = (P - I)(c, r), with the last row all ones.
    std::vector<double> a(N * N);
    auto A = [&](std::size_t r, std::size_t c) -> double& { return a[r * N + c]; };
    for (std::size_t r = 0; r < N; ++r)
        for (std::size_t c = 0; c < N; ++c) A(r, c) = r == N - 1 ? 1.0 : p[c * N + r] - (r == c ? 1.0 : 0.0);
    std::vector<double> b(N, 0.0);
    b[N - 1] = 1;
    // Scale factors stay with the row positions.
    std::vector<double> s(N, 0.0);
    for (std::size_t r = 0; r < N; ++r) {
        double sum = 0;
        for (std::size_t c = 0; c < N; ++c) sum += A(r, c) * A(r, c);
        s[r] = std::sqrt(sum);
    }
    auto scaled = [&](std::size_t r, std::size_t k) { return s[r] > 0 ? std::fabs(A(r, k)) / s[r] : 0.0; };
    std::vector<std::size_t> perm(N);
    for (std::size_t r = 0; r < N; ++r) perm[r] = r;
    for (std::size_t k = 0; k + 1 < N; ++k) {
        std::size_t best = k;
        double bestValue = scaled(k, k);
        for (std::size_t r = k + 1; r < N; ++r) {
            const double v = scaled(r, k);
            if (v > bestValue) {
                bestValue = v;
                best = r;
            }
        }
        if (!(bestValue >= 1e-20)) {
            sol.illConditioned = true;
            return sol;
        }
        if (best != k) {
            for (std::size_t c = 0; c < N; ++c) std::swap(A(k, c), A(best, c));
            std::swap(perm[k], perm[best]);
        }
        for (std::size_t r = k + 1; r < N; ++r) {
            const double m = A(r, k) / A(k, k);
            A(r, k) = m;
            for (std::size_t c = k + 1; c < N; ++c) A(r, c) -= m * A(k, c);
        }
    }
    // A zero last pivot would divide by zero in the back substitution.
    if (!(scaled(N - 1, N - 1) >= 1e-20)) {
        sol.illConditioned = true;
        return sol;
    }
    std::vector<double> y(N);
    for (std::size_t r = 0; r < N; ++r) {
        double v = b[perm[r]];
        for (std::size_t c = 0; c < r; ++c) v -= A(r, c) * y[c];
        y[r] = v;
    }
    for (std::size_t r = N; r-- > 0;) {
        double v = y[r];
        for (std::size_t c = r + 1; c < N; ++c) v -= A(r, c) * sol.x[c];
        sol.x[r] = v / A(r, r);
    }
    return sol;
}

} // namespace

Report SteadyState(const Chain& chain) {
    detail::RequireConsistent(chain, AnalysisParams{}, Analysis::SteadyState);
    const bool continuous = chain.type == ChainType::Continuous;
    const detail::WorkChain w = detail::MakeWorkChain(chain);
    const int n = w.n;
    Report report;
    report.analysis = Analysis::SteadyState;
    auto& out = report.lines;
    out = {"============================", "   STEADY-STATE BEHAVIOUR", "============================", " "};
    if (detail::Classify(w.p, n, 2).classes.size() >= 2) {
        out.push_back("This Markov chain is not unichained");
        out.push_back("and thus has no unique equilibrium distribution.");
        return report;
    }
    const Solution sol = SolveBalance(w.p, n);
    if (sol.illConditioned) out.push_back("Problem ill-conditioned.");
    out.push_back("The solution is: ");
    out.push_back(" ");
    for (int i = 0; i < n; ++i) {
        const std::string s = std::to_string(i + 1);
        const std::string name = continuous ? ": p[" + s + "] " + "= " : ": pi[" + s + "] = ";
        out.push_back("State " + s + name + FormatDigits(10, std::fabs(sol.x[static_cast<std::size_t>(i)])));
    }
    double cost = 0;
    double balance = 0;
    for (int i = 0; i < n; ++i) {
        const double x = sol.x[static_cast<std::size_t>(i)];
        cost += w.costRate[static_cast<std::size_t>(i)] * x;
        balance += w.p[static_cast<std::size_t>(i) * n + (n - 1)] * x;
    }
    out.push_back("");
    out.push_back("Average cost per unit time: " + Fixed(cost, 14, 10));
    out.push_back(" ");
    out.push_back("Accuracy check: " +
                  Fixed(std::fabs(sol.x[static_cast<std::size_t>(n) - 1] - balance), 11, 10));
    return report;
}

} // namespace tarvik::markov
