#pragma once
// Working structures shared by the analyses.
#include "modules/markov/markovanalysis.h"
#include "modules/markov/markovdata.h"

#include <cstdint>
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

// exp of a running logarithm, 0 at or below -700.
double ExpWeight(double logWeight);

// Throws std::invalid_argument when the parameters do not fit the chain
// (a caller that skipped the checks), so that no analysis indexes out of range.
void RequireConsistent(const Chain& chain, const AnalysisParams& params, Analysis which);

} // namespace tarvik::markov::detail
