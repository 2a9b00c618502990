#include "modules/simulation/simtheory.h"

#include <cmath>

namespace tarvik::simulation {

double DM1Sigma(double rho) {
    // f(s) = s - exp(-(1 - s) / rho) is concave and rises through its smallest
    // root, so Newton's steps from 0 climb to it without passing it.
    double s = 0;
    for (int i = 0; i < 200; ++i) {
        const double e = std::exp(-(1 - s) / rho);
        const double step = (s - e) / (1 - e / rho);
        s -= step;
        if (!(std::fabs(step) > 1e-16)) break;
    }
    return s;
}

namespace {

// The figures of a queue from its load, chance of waiting and mean wait.
QueueTheory FromWait(double lambda, double mu, double busy, double delayed, double wait, double offered) {
    QueueTheory q;
    q.busy = busy;
    q.delayed = delayed;
    q.delay = wait;
    q.sojourn = wait + 1 / mu;
    q.inQueue = lambda * wait;
    q.inSystem = q.inQueue + offered;
    return q;
}

} // namespace

QueueTheory SingleServerTheory(double lambda, double mu, bool detArrivals, bool detService) {
    const double rho = lambda / mu;
    double wait = 0, delayed = 0;
    if (!detArrivals) {
        // Pollaczek-Khinchine: Wq = lambda E[S^2] / (2 (1 - rho)), with E[S^2]
        // 2/mu^2 (exponential) or 1/mu^2 (deterministic); Poisson arrivals see
        // the server busy with chance rho.
        const double s2 = (detService ? 1.0 : 2.0) / (mu * mu);
        wait = lambda * s2 / (2 * (1 - rho));
        delayed = rho;
    } else if (!detService) {
        const double sigma = DM1Sigma(rho);
        wait = sigma / (mu * (1 - sigma));
        delayed = sigma;
    }
    // D/D/1: every customer finds the server free.
    return FromWait(lambda, mu, rho, delayed, wait, rho);
}

double ErlangC(int servers, double offered) {
    double term = 1, sum = 0;
    for (int k = 0; k < servers; ++k) {
        sum += term;
        term *= offered / (k + 1);
    }
    const double last = term * servers / (servers - offered);
    return last / (sum + last);
}

QueueTheory MMcTheory(double lambda, double mu, int servers) {
    const double a = lambda / mu;
    const double c = ErlangC(servers, a);
    return FromWait(lambda, mu, a / servers, c, c / (servers * mu - lambda), a);
}

namespace {

struct TwoClassLoads {
    double lambda1, lambda2, rho1, rho, residual;
};

// The loads and the mean residual work lambda1 E[S1^2]/2 + lambda2 E[S2^2]/2.
TwoClassLoads Loads(const PrioritySettings& set) {
    auto second = [](double mu, bool det) { return (det ? 1.0 : 2.0) / (mu * mu); };
    const double rho1 = set.lambda1 / set.mu1;
    return {
        set.lambda1, set.lambda2, rho1, rho1 + set.lambda2 / set.mu2,
        (set.lambda1 * second(set.mu1, set.detService1) + set.lambda2 * second(set.mu2, set.detService2)) /
            2};
}

TwoClassTheory FromWaits(const TwoClassLoads& l, double wait1, double wait2) {
    TwoClassTheory t;
    t.busy = l.rho;
    t.delay1 = wait1;
    t.delay2 = wait2;
    t.delay = (l.lambda1 * wait1 + l.lambda2 * wait2) / (l.lambda1 + l.lambda2);
    t.queue1 = l.lambda1 * wait1;
    t.queue2 = l.lambda2 * wait2;
    t.inSystem = t.queue1 + t.queue2 + l.rho;
    return t;
}

} // namespace

TwoClassTheory TwoClassFifoTheory(const PrioritySettings& set) {
    const TwoClassLoads l = Loads(set);
    const double wait = l.residual / (1 - l.rho);
    return FromWaits(l, wait, wait);
}

TwoClassTheory TwoClassPriorityTheory(const PrioritySettings& set) {
    // Cobham: Wq1 = W0 / (1 - rho1), Wq2 = W0 / ((1 - rho1)(1 - rho)).
    const TwoClassLoads l = Loads(set);
    return FromWaits(l, l.residual / (1 - l.rho1), l.residual / ((1 - l.rho1) * (1 - l.rho)));
}

// ------------------------------------------------------- the results tables

namespace {

using Column = std::vector<std::optional<double>>;

// The rows of the single-server and two-queue tables.
Column QueueColumn(const QueueTheory& q) {
    return {q.busy, q.delayed, q.inSystem, q.inQueue, q.sojourn, q.delay};
}

// [column][row] to [row][column].
TheoryTable Rows(const std::vector<Column>& columns) {
    TheoryTable t(columns.front().size(), std::vector<std::optional<double>>(columns.size()));
    for (std::size_t c = 0; c < columns.size(); ++c)
        for (std::size_t r = 0; r < columns[c].size(); ++r) t[r][c] = columns[c][r];
    return t;
}

} // namespace

TheoryTable SingleTheory(const SingleSettings& set) {
    return Rows({QueueColumn(SingleServerTheory(set.lambda, set.mu, set.detArrivals, set.detService))});
}

TheoryTable CompareTheory(const CompareSettings& set) {
    const bool md1 = set.deterministicService;
    return Rows({QueueColumn(SingleServerTheory(set.lambda, set.mu, !md1, md1)),
                 QueueColumn(SingleServerTheory(set.lambda, set.mu, false, false))});
}

TheoryTable VaryingLoadTheory(const VaryingLoadSettings& set) {
    return Rows({QueueColumn(SingleServerTheory(set.rho1, 1, false, false)),
                 QueueColumn(SingleServerTheory(set.rho2, 1, false, false))});
}

TheoryTable PoolingTheory(const PoolingSettings& set) {
    const double lambda = set.lambda1 + set.lambda2;
    const double w1 = set.lambda1 / lambda, w2 = set.lambda2 / lambda;
    const QueueTheory q1 = SingleServerTheory(set.lambda1, set.mu1, false, set.detService);
    const QueueTheory q2 = SingleServerTheory(set.lambda2, set.mu2, false, set.detService);
    const Column separate = {q1.busy,
                             q2.busy,
                             w1 * q1.delayed + w2 * q2.delayed,
                             q1.inSystem + q2.inSystem,
                             q1.inQueue + q2.inQueue,
                             w1 * q1.sojourn + w2 * q2.sojourn,
                             w1 * q1.delay + w2 * q2.delay};
    // The two pooled servers are alike (a free server is drawn at random), so
    // each carries half the offered load; the rest is M/M/2 when both types
    // share one exponential service rate.
    const double half = (set.lambda1 / set.mu1 + set.lambda2 / set.mu2) / 2;
    Column pooled = {half, half, {}, {}, {}, {}, {}};
    if (!set.detService && set.mu1 == set.mu2) {
        const QueueTheory p = MMcTheory(lambda, set.mu1, 2);
        pooled = {half, half, p.delayed, p.inSystem, p.inQueue, p.sojourn, p.delay};
    }
    return Rows({separate, pooled});
}

TheoryTable TandemTheory(const TandemSettings& set) {
    const QueueTheory s1 = SingleServerTheory(set.lambda, set.mu1, set.detArrivals, set.detService1);
    // Station 2 is fed by station 1's departures: a Poisson stream when station
    // 1 is M/M/1 (Burke), arrivals exactly 1/lambda apart when station 1 is
    // D/D/1 (nobody waits there); other departure streams have no closed form.
    Column second = {set.lambda / set.mu2, {}, {}, {}, {}, {}};
    const bool burke = !set.detArrivals && !set.detService1;
    const bool evenlySpaced = set.detArrivals && set.detService1;
    if (burke || evenlySpaced)
        second = QueueColumn(SingleServerTheory(set.lambda, set.mu2, evenlySpaced, set.detService2));
    return Rows({QueueColumn(s1), second});
}

TheoryTable PriorityTheory(const PrioritySettings& set) {
    auto column = [](const TwoClassTheory& t) -> Column {
        return {t.busy, t.delay1, t.delay2, t.delay, t.queue1, t.queue2, t.inSystem};
    };
    return Rows({column(TwoClassFifoTheory(set)), column(TwoClassPriorityTheory(set))});
}

} // namespace tarvik::simulation
