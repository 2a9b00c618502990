#pragma once
// One run of an integer-programming model text: read, branch and bound,
// report. This is what the IP window's run, the command-line solver and the
// benchmarks call.
#include "modules/ip/mipsolver.h"
#include "modules/lp/graphical.h"

#include <memory>
#include <string>
#include <string_view>

namespace tarvik::ip {

struct MIPRunResult {
    bool success = false;   // false: the model text has a syntax error
    std::string output;     // the echo and the report, CR LF line ends
    long errorPosition = 0; // 1-based offset of the offending character (0: none)
    std::string message;    // the progress dialog's error line
    // After a successful read only:
    MIPResult solve;
    double objective = 0; // the reported objective value (status 0)
    // With `graphical`, for a model with two variables: its picture.
    std::shared_ptr<const lp::GraphicalSolution> graphical;
};

// How a run searches, and where it records its nodes (none when null).
struct MIPRunOptions {
    SearchOptions search = kDefaultSearch;
    NodeLog* log = nullptr;
    bool graphical = false; // also work out the graphical method (the output text stays as it is)
};

MIPRunResult RunMIP(std::string_view modelText, MIPProgress& progress, const MIPRunOptions& options = {});

} // namespace tarvik::ip
