#pragma once
// What queueing theory says about the simulated figures: the steady-state
// values of the single-server queues (M/M/1, M/D/1 by Pollaczek-Khinchine,
// D/M/1 through its root sigma, D/D/1), the two-server queue with exponential
// service (Erlang C) and the two-class queue with and without priority for
// the waiting line (Cobham's formula). Every function answers for a stable
// queue only; the settings checks keep every load below 1.
#include "modules/simulation/simsettings.h"

#include <optional>
#include <vector>

namespace tarvik::simulation {

// The six figures of one queue in steady state.
struct QueueTheory {
    double busy = 0;     // fraction of time a server is busy
    double delayed = 0;  // fraction of customers that wait
    double inSystem = 0; // average number present
    double inQueue = 0;  // average number waiting
    double sojourn = 0;  // average time in the system
    double delay = 0;    // average wait before service
};

// One server with arrival rate lambda and service rate mu; each process
// either random (Poisson arrivals, exponential service) or deterministic.
QueueTheory SingleServerTheory(double lambda, double mu, bool detArrivals, bool detService);

// The root sigma in (0, 1) of sigma = exp(-(1 - sigma) / rho): the chance that
// an arrival of the D/M/1 queue with load rho finds the server busy.
double DM1Sigma(double rho);

// Two (or more) servers, one queue, Poisson arrivals and exponential service:
// the chance of waiting by Erlang's C formula, and the figures.
double ErlangC(int servers, double offered);
QueueTheory MMcTheory(double lambda, double mu, int servers);

// One server, two customer types with Poisson arrivals and their own service
// rates, each service exponential or deterministic; served in order of arrival
// or with priority for type 1 (no interruption of a service).
struct TwoClassTheory {
    double busy = 0;
    double delay1 = 0, delay2 = 0; // average wait of each type
    double delay = 0;              // average wait of all customers
    double queue1 = 0, queue2 = 0; // average number of each type waiting
    double inSystem = 0;
};
TwoClassTheory TwoClassFifoTheory(const PrioritySettings& set);
TwoClassTheory TwoClassPriorityTheory(const PrioritySettings& set);

// The theory values of an experiment's results table, [row][column] in the
// order of the results window; nothing where no closed form applies under
// the settings.
using TheoryTable = std::vector<std::vector<std::optional<double>>>;
TheoryTable SingleTheory(const SingleSettings& set);
TheoryTable CompareTheory(const CompareSettings& set);
TheoryTable VaryingLoadTheory(const VaryingLoadSettings& set);
TheoryTable PoolingTheory(const PoolingSettings& set);
TheoryTable TandemTheory(const TandemSettings& set);
TheoryTable PriorityTheory(const PrioritySettings& set);

} // namespace tarvik::simulation
