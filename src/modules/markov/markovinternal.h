#pragma once
// Working structures shared by the analyses.
#include "modules/markov/markovanalysis.h"
#include "modules/markov/markovdata.h"

#include <cstdint>
#include <string>
#include <vector>

namespace tarvik::markov::detail {

// A matrix stored by rows as its positive entries in increasing column order.
struct SparseRows {
    int n = 0;
    std::vector<int> start; // row i: entries start[i] .. start[i+1]-1
    std::vector<int> column;
    std::vector<double> value;
};
SparseRows PositiveEntries(const std::vector<double>& dense, int n);

// row = row * M, over the positive entries; `out` gets the result.
void RowTimes(const std::vector<double>& row, const SparseRows& m, std::vector<double>& out);

// The product row * M for the time loops. A mostly positive matrix is kept
// whole, where the product runs over contiguous rows; a sparse one keeps only
// its positive entries. Both give the same sums.
class StepMatrix {
public:
    StepMatrix(const std::vector<double>& dense, int n);
    void rowTimes(const std::vector<double>& row, std::vector<double>& out) const;

private:
    int n_ = 0;
    bool dense_ = false;
    std::vector<double> d_;
    SparseRows s_;
};

// The uniformised chain of a continuous-time chain, or the chain itself.
struct WorkChain {
    int n = 0;
    std::vector<double> p;        // n*n row-major transition probabilities
    double nu = 1;                // uniformisation rate (continuous time)
    std::vector<double> costRate; // c(j), or r(j) + sum_k q(j,k) F(k)
};
WorkChain MakeWorkChain(const Chain& chain);

// The recurrent classes found by walking and contracting cycles.
struct Classification {
    struct Class {
        std::vector<int> members; // 0-based, increasing
        bool absorbing = false;   // found as a single absorbing state
    };
    std::vector<Class> classes; // in the order found
    std::vector<int> classOf;   // 0 = transient, else the 1-based class number
};
// `stopAfter` > 0 ends the search when that many classes are found.
Classification Classify(const std::vector<double>& p, int n, int stopAfter = 0);

// Truncation point of the Poisson sums for nu t.
std::int64_t PoissonTerms(double nut);

// Long Poisson sums of a continuous-time run. Once the stepped vector no
// longer changes, every later term adds the same vector, so the rest of the
// sum is added at once; the limit of the step matrix's powers tells when
// that is so. Shorter sums are stepped in full.
inline constexpr std::int64_t kSettleCheckTerms = 5000;
// Multiply-adds a run may spend stepping before its vector settles.
inline constexpr double kMaxStepWork = 1e10;

// The limit of the powers of a step matrix (dense, row-major, n × n) by
// repeated squaring, with the number of steps 2^k after which the powers
// agree within 1e-15; an empty matrix when they do not within 2^62 steps.
struct PowerLimit {
    std::vector<double> matrix;
    double steps = 0;
};
PowerLimit LimitOfPowers(const std::vector<double>& dense, int n);

// Whether row · limit equals row within 1e-14: the row has settled.
bool Settled(const std::vector<double>& row, const std::vector<double>& limit, int n);

// The largest time point a long run can reach before it settles, or 0 when
// `maxTerms` steps fit in the work allowed; `stepsToSettle` from the limit.
double MaxReachableTime(std::int64_t maxTerms, double stepsToSettle, int n, double nu);

// The message that refuses time points beyond `tmax`.
std::string TooLateMessage(double tmax);

// exp of a running logarithm, 0 at or below -700.
double ExpWeight(double logWeight);

// Throws std::invalid_argument when the parameters do not fit the chain
// (a caller that skipped the checks), so that no analysis indexes out of range.
void RequireConsistent(const Chain& chain, const AnalysisParams& params, Analysis which);

} // namespace tarvik::markov::detail
