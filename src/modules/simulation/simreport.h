#pragma once
// The texts of the results windows: heading, parameters, column titles and the
// figures in the general format with 4 significant digits ("-" for an average
// over no customers). The command line prints the same texts.
#include "modules/simulation/simkernels.h"
#include "modules/simulation/simsettings.h"

#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tarvik::simulation {

struct ResultsText {
    std::string heading;
    // Caption and value, as the "Parameters" group shows them.
    std::vector<std::pair<std::string, std::string>> parameters;
    // Empty for the one-column single-server window.
    std::vector<std::string> columns;
    std::vector<std::string> captions;
    // [row][column]; empty texts when the run did not finish.
    std::vector<std::vector<std::string>> values;
    // Beside each value: what queueing theory gives ("-" where no closed form
    // applies) and the ends of the 95% interval by batch means ("-" when a
    // batch has no value); [row][column], empty texts as the values.
    std::vector<std::vector<std::string>> theory;
    std::vector<std::vector<std::array<std::string, 2>>> interval;
};

// Shortest decimal form of a setting.
std::string ShortText(double v);
// A figure in the general format with 4 digits, "-" when there is none.
std::string FigureText(std::optional<double> v);

// The figures; `outcome` null (or not finished) leaves them empty.
ResultsText SingleResults(const SingleSettings& set, const Outcome* outcome);
ResultsText CompareResults(const CompareSettings& set, const Outcome* outcome);
ResultsText VaryingLoadResults(const VaryingLoadSettings& set, const Outcome* outcome);
ResultsText PoolingResults(const PoolingSettings& set, const Outcome* outcome);
ResultsText TandemResults(const TandemSettings& set, const Outcome* outcome);
ResultsText PriorityResults(const PrioritySettings& set, const Outcome* outcome);

// Heading, parameter lines ("caption value"), the column titles after a tab,
// then per figure its caption, a tab and the value(s) separated by tabs.
std::string ResultsToText(const ResultsText& r);

} // namespace tarvik::simulation
