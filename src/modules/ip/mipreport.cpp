#include "modules/ip/mipreport.h"

#include "common/numformat.h"

#include <cmath>

namespace tarvik::ip {

namespace {

constexpr const char* kEol = "\r\n";

// 4 decimals, right-aligned in at least 13 characters; never "-0.0000".
std::string Number13(double value) {
    std::string text = FormatFixed(value, 4);
    if (text == "-0.0000") text = "0.0000";
    if (text.size() < 13) text.insert(0, 13 - text.size(), ' ');
    return text;
}

std::string Name10(const std::string& name) {
    std::string text = name.substr(0, 10);
    text.resize(10, ' ');
    return text;
}

} // namespace

std::string ReportStatusText(int status) {
    switch (status) {
    case kUnbounded:
        return "Unbound.";
    case kInfeasible:
        return "There is no feasible solution.";
    case kTooManyIterations:
        return "Too many iterations.";
    case kTooLarge:
        return "Problem is too large.";
    case kPrecision:
        return "Wanted accuracy not attained.";
    case kNoIntegerSolution:
        return "There is no feasible integer solution.";
    case kError:
        return "There is an error.";
    default:
        return "Unknown error.";
    }
}

void MIPReport(const MIPModel& model, const MIPResult& result, std::string& out) {
    out += kEol;
    out += kEol;
    if (result.stopped && !result.haveIncumbent) {
        out += "The search was stopped before an integer solution was found.";
        out += kEol;
    } else if (result.status == kOptimal && result.haveIncumbent) {
        out += "  Summary of results";
        out += kEol;
        out += kEol;
        const double z = model.minimize ? -result.objective : result.objective;
        out += "  Value Objective Function : ";
        out += "  " + Number13(z);
        out += kEol;
        out += kEol;
        out += "  Variable             Activity Level ";
        out += kEol;
        out += "  ---------            -------------- ";
        out += kEol;
        for (int j = 1; j <= model.n; ++j) {
            out += "  " + Name10(model.names[j]) + " :  " + Number13(result.x[j]);
            out += kEol;
        }
        if (result.stopped) {
            out += kEol;
            out += "  The search was stopped: this solution is not proven optimal.";
            out += kEol;
        }
    } else {
        out += ReportStatusText(result.status);
        out += kEol;
    }
    out += kEol;
    out += kEol;
}

} // namespace tarvik::ip
