#include "modules/simulation/simtheorytext.h"

namespace tarvik::simulation {

void AddTheory(ResultsText& r, const Outcome* outcome, const TheoryTable& theory, BatchFigures figures) {
    const std::size_t ncols = r.columns.empty() ? 1 : r.columns.size();
    r.theory.assign(r.captions.size(), std::vector<std::string>(ncols));
    r.interval.assign(r.captions.size(), std::vector<std::array<std::string, 2>>(ncols));
    if (!outcome || !outcome->finished) return;
    const auto intervals = BatchIntervals(*outcome, figures);
    for (std::size_t i = 0; i < r.captions.size(); ++i)
        for (std::size_t c = 0; c < ncols; ++c) {
            r.theory[i][c] =
                FigureText(i < theory.size() && c < theory[i].size() ? theory[i][c] : std::nullopt);
            std::optional<Interval95> iv;
            if (i < intervals.size() && c < intervals[i].size()) iv = intervals[i][c];
            r.interval[i][c] = iv ? std::array<std::string, 2>{FigureText(iv->low), FigureText(iv->high)}
                                  : std::array<std::string, 2>{"-", "-"};
        }
}

std::string IntervalText(const std::array<std::string, 2>& ends) {
    if (ends[0].empty()) return "";
    if (ends[0] == "-") return "-";
    return "[" + ends[0] + ", " + ends[1] + "]";
}

std::string TheoryToText(const ResultsText& r) {
    std::string lines;
    for (std::size_t i = 0; i < r.captions.size() && i < r.values.size() && i < r.theory.size(); ++i)
        for (std::size_t c = 0; c < r.values[i].size() && c < r.theory[i].size(); ++c) {
            const std::string& t = r.theory[i][c];
            if (t.empty() || t == "-" || r.values[i][c].empty()) continue;
            lines += r.captions[i] + "\t" + std::to_string(c + 1) + "\t" + r.values[i][c] + "\t" + t + "\t" +
                     r.interval[i][c][0] + "\t" + r.interval[i][c][1] + "\n";
        }
    if (lines.empty()) return "";
    return "\nTheory and 95% intervals\n" + lines;
}

} // namespace tarvik::simulation
