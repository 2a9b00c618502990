#pragma once
// The report a queueing model writes: lines with a style each, as the module
// window appends them to its results log, and the blocks and tables that
// several models share.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tarvik::queue {

enum class LogStyle { Normal, Title, Parameters, TableEdge };

struct ReportLine {
    LogStyle style = LogStyle::Normal;
    std::string text;
};

class Report {
public:
    // Appends a line in the current style (an empty text is an empty line).
    void AddResultLine(const std::string& text) { lines.push_back({style, text}); }
    void SetStyle(LogStyle s) { style = s; }

    LogStyle style = LogStyle::Normal;
    std::vector<ReportLine> lines;
};

// The title line in title style, the parameter line in parameters style, then normal.
void ModelHeader(Report& r, const std::string& title, const std::string& parameters);

// The six lines of Pwait, Pbusy, E(Wq), E(Lq), Std(Wq), Std(Lq), each as its absolute value.
void StandardResults(Report& r, double pwait, double pbusy, double ewq, double elq, double stdwq,
                     double stdlq);

// "Accuracy Check = ..." and an empty line.
void AccuracyLine(Report& r, double check);
// A message line (a result too small to show, ...) and an empty line.
void MessageLine(Report& r, const std::string& text);

// t / P{Wq>t}; t values with "%10.5g".
void WaitingTimeTable(Report& r, const std::vector<double>& t, const std::vector<double>& p);
// p / percentile, a missing percentile reads "undefined". `singleBlank` puts one
// blank between the columns instead of two.
void PercentileTable(Report& r, const std::vector<double>& p, const std::vector<std::optional<double>>& q,
                     bool singleBlank = false);
// n / two probabilities, ten columns wide ("P{L=n}", "P{L>n}").
void StateTable(Report& r, const std::vector<int>& n, const std::string& head1, const std::string& head2,
                const std::vector<double>& v1, const std::vector<double>& v2);
// n / two probabilities, twelve columns wide ("P{L(time)=n}", "P{L(time)>n}").
void TimeStateTable(Report& r, const std::vector<int>& n, const std::string& head1, const std::string& head2,
                    const std::vector<double>& v1, const std::vector<double>& v2);

// The table of the "wait" output (P{Wq>t} for the t-values) or of the
// "percentiles" output (the percentiles of the p-values); nothing for another output.
void WaitOutputTable(Report& r, const std::string& output, const std::vector<double>& values,
                     const std::function<double(double)>& wait,
                     const std::function<std::optional<double>(double)>& percentile,
                     bool singleBlank = false);
// The same state tables for the n-list: n = CountOf(value), the columns eq(n) and gt(n).
using StateFunction = std::function<double(int)>;
void StateTable(Report& r, const std::vector<double>& values, const std::string& head1,
                const std::string& head2, const StateFunction& eq, const StateFunction& gt);
void TimeStateTable(Report& r, const std::vector<double>& values, const std::string& head1,
                    const std::string& head2, const StateFunction& eq, const StateFunction& gt);

// Writes any table: an empty line, the heading in table-edge style, the rows in
// normal style with the last one in table-edge style. Nothing for no rows.
void WriteTable(Report& r, const std::string& heading, const std::vector<std::string>& rows);

} // namespace tarvik::queue
