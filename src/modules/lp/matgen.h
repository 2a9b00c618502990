#pragma once
// The LP reader: turns a model text into the starting simplex tableau and
// writes the model echo.
#include "modules/lp/modeltext.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::lp {

// The tableau's number type. Plain doubles keep the pivot fast (the row update
// vectorises); the solver guards the accuracy by recomputing from the original
// rows in extended precision where it matters.
using Real = double;

struct LPModel {
    bool minimize = false;
    int m = 0; // constraint rows
    int n = 0; // columns before the right-hand side
    std::size_t stride = 0;
    // Rows 0..m, columns 1..n+1, row-major: entry (i, j) at i * stride + j - 1.
    std::vector<Real> tableau;
    std::vector<double> cost;        // [1..n], maximisation form
    std::vector<int> basis;          // [1..m]
    std::vector<double> rhs;         // [1..m], normalised (>= 0)
    std::vector<ColumnInfo> columns; // [1..n+1]; column n+1 is "RHS"
    bool hasArtificial = false;
    // The constraint rows as read (extra columns included), for checks against
    // the original model: row i holds rowCol/rowVal[rowStart[i] .. rowStart[i+1]).
    std::vector<int> rowStart; // [1..m+1]
    std::vector<int> rowCol;
    std::vector<double> rowVal;
    // False while the tableau holds row 0 only (see BuildLPModel); rows 1..m
    // are then known by rowStart/rowCol/rowVal and rhs alone.
    bool rowsBuilt = true;

    Real* row(int i) { return tableau.data() + static_cast<std::size_t>(i) * stride - 1; }
    const Real* row(int i) const { return tableau.data() + static_cast<std::size_t>(i) * stride - 1; }
    Real& at(int i, int j) { return row(i)[j]; }
    Real at(int i, int j) const { return row(i)[j]; }
};

struct LPReadResult {
    bool success = false;
    std::string echo;
    long errorPosition = 0;
    std::string message;
    LPModel model;
};

LPReadResult ReadLPModel(std::string_view text, ReadSink& sink, bool tableauRows = true);

// Builds the starting tableau from a read model (also used by tests and benchmarks).
// Without `rows` the tableau holds only row 0: a run that prints no tableau
// and writes no report may solve the model in factored form, which never
// reads the dense rows (on a large model they are most of the memory the run
// touches). BuildTableauRows adds them when they are wanted after all.
LPModel BuildLPModel(const ReadModel& read, bool rows = true);
void BuildTableauRows(LPModel& lp);

} // namespace tarvik::lp
