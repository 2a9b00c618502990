#pragma once
// Sparse cutting planes read from the model's own rows: complemented
// mixed-integer rounding (MIR) on single rows and on rows aggregated along
// their continuous variables. A continuous variable with a variable upper
// bound x <= u y (y integer) may be written as u y minus a slack, so that the
// rounding sees the integer variable behind the flow: on a row of such flows
// this gives the flow cover cuts of the single-node flow set, and on rows
// aggregated along stocks the lot-sizing cuts.
#include "modules/ip/mipsolver.h"

#include <vector>

namespace tarvik::ip {

class MirSeparator {
public:
    explicit MirSeparator(const MIPModel& model);

    // Cuts that the point x (variable j at x[j - 1]) violates, valid for
    // every integer point of the model (its own bounds, not a node's): at
    // most `maxCuts`, the deepest first.
    std::vector<CutRow> cuts(const double* x, int maxCuts) const;

    // The variable upper bound of the continuous variable j: x_j <= u y with
    // y integer (0 when there is none). u is tightened to the largest value
    // the other rows allow x_j.
    int vubVariable(int j) const { return vub_[j].y; }
    double vubCoefficient(int j) const { return vub_[j].u; }

private:
    struct Term {
        int var;
        double a;
    };
    struct Row {
        std::vector<Term> terms;
        double rhs = 0;
        bool equality = false; // else a <= row
    };
    struct Vub {
        int y = 0;
        double u = 0;
        int row = -1; // the model's row that states it
    };
    // An aggregated row, dense: sum a_j x_j <= rhs.
    struct Aggregate {
        std::vector<double> a;
        double rhs = 0;
        std::vector<int> support; // variables that have (had) a coefficient
    };

    // The best MIR cut of the row `sum a x <= rhs` at x, appended to `out`
    // when it is violated; false when none is.
    bool round(const Aggregate& row, const double* x, std::vector<std::pair<double, CutRow>>& out) const;
    // The MIR cut of the transformed row for the divisor delta, in the
    // model's variables (coefficients dense in `pi`, `rhs`); its efficacy at x.
    double mir(const Aggregate& row, const std::vector<char>& complemented, const std::vector<char>& viaVub,
               double delta, const double* x, std::vector<double>& pi, double& rhs) const;

    int n_;
    std::vector<Row> rows_;             // the model's rows, a >= row written as <=
    std::vector<std::vector<int>> col_; // per variable, the rows it is in
    std::vector<char> integer_;
    std::vector<double> upper_; // kInfinity when none
    std::vector<Vub> vub_;      // per variable (1..n)
};

} // namespace tarvik::ip
