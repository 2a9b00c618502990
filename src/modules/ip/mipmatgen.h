#pragma once
// The IP reader: the model language with $INTEGER and $BINARY declarations,
// read into a sparse row model for branch and bound.
#include "modules/lp/modeltext.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvik::ip {

using lp::ReadSink;

enum Sense { kLessEqual = 1, kGreaterEqual = -1, kEqual = 0 };

struct MIPModel {
    bool minimize = false;
    int n = 0; // variables 1..n
    int m = 0; // constraints 1..m
    // Per variable, index 1..n (index 0 unused).
    std::vector<std::string> names;
    std::vector<double> cost; // maximisation form
    std::vector<bool> integer;
    std::vector<double> upper; // -1: no upper bound
    // Per constraint, index 1..m.
    std::vector<int> sense;  // kLessEqual, kGreaterEqual or kEqual
    std::vector<double> rhs; // >= 0
    // Nonzero coefficients row after row in increasing variable order: row i
    // holds entries rowStart[i] .. rowStart[i + 1] - 1; rowStart[m + 1] is the end mark.
    std::vector<int> rowStart;
    std::vector<double> value;
    std::vector<int> variable;
};

struct MIPReadResult {
    bool success = false;
    std::string echo;
    long errorPosition = 0;
    std::string message; // without "Syntax error: "
    MIPModel model;
};

MIPReadResult ReadMIPModel(std::string_view text, ReadSink& sink);

} // namespace tarvik::ip
