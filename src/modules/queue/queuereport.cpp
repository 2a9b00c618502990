#include "modules/queue/queuereport.h"

#include "common/numformat.h"
#include "modules/queue/queuenum.h"

#include <cmath>

namespace tarvik::queue {

void ModelHeader(Report& r, const std::string& title, const std::string& parameters) {
    r.SetStyle(LogStyle::Title);
    r.AddResultLine(title);
    r.SetStyle(LogStyle::Parameters);
    r.AddResultLine(parameters);
    r.SetStyle(LogStyle::Normal);
}

void StandardResults(Report& r, double pwait, double pbusy, double ewq, double elq, double stdwq,
                     double stdlq) {
    r.SetStyle(LogStyle::Normal);
    r.AddResultLine(Format("Results: Pwait   = %.6g", std::fabs(pwait)));
    r.AddResultLine(Format("         Pbusy   = %.5g", std::fabs(pbusy)));
    r.AddResultLine(Format("         E(Wq)   = %.5g", std::fabs(ewq)));
    r.AddResultLine(Format("         E(Lq)   = %.5g", std::fabs(elq)));
    r.AddResultLine(Format("         Std(Wq) = %.4g", std::fabs(stdwq)));
    r.AddResultLine(Format("         Std(Lq) = %.4g", std::fabs(stdlq)));
}

void AccuracyLine(Report& r, double check) {
    MessageLine(r, "Accuracy Check = " + FormatAccuracy(check));
}

void MessageLine(Report& r, const std::string& text) {
    r.AddResultLine(text);
    r.AddResultLine("");
}

void WriteTable(Report& r, const std::string& heading, const std::vector<std::string>& rows) {
    if (rows.empty()) return;
    r.AddResultLine("");
    r.SetStyle(LogStyle::TableEdge);
    r.AddResultLine(heading);
    r.SetStyle(LogStyle::Normal);
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (i + 1 == rows.size()) r.SetStyle(LogStyle::TableEdge);
        r.AddResultLine(rows[i]);
    }
    r.SetStyle(LogStyle::Normal);
}

void WaitingTimeTable(Report& r, const std::vector<double>& t, const std::vector<double>& p) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < t.size() && i < p.size(); ++i)
        rows.push_back(Format("%10.5g  %10s", t[i], FormatProbability(p[i]).c_str()));
    WriteTable(r, Format("%10s  %10s", "t", "P{Wq>t}"), rows);
}

void PercentileTable(Report& r, const std::vector<double>& p, const std::vector<std::optional<double>>& q,
                     bool singleBlank) {
    const char* fmt = singleBlank ? "%10s %10s" : "%10s  %10s";
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < p.size() && i < q.size(); ++i) {
        const std::string value = q[i] ? FormatFraction(std::fabs(*q[i])) : std::string("undefined");
        rows.push_back(Format(fmt, FormatFraction(p[i]).c_str(), value.c_str()));
    }
    WriteTable(r, Format(fmt, "p", "Percentile"), rows);
}

void StateTable(Report& r, const std::vector<int>& n, const std::string& head1, const std::string& head2,
                const std::vector<double>& v1, const std::vector<double>& v2) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < n.size() && i < v1.size() && i < v2.size(); ++i)
        rows.push_back(Format("%4d  %10s  %10s", n[i], FormatProbability(v1[i]).c_str(),
                              FormatProbability(v2[i]).c_str()));
    WriteTable(r, Format("%4s  %10s  %10s", "n", head1.c_str(), head2.c_str()), rows);
}

void TimeStateTable(Report& r, const std::vector<int>& n, const std::string& head1, const std::string& head2,
                    const std::vector<double>& v1, const std::vector<double>& v2) {
    std::vector<std::string> rows;
    for (std::size_t i = 0; i < n.size() && i < v1.size() && i < v2.size(); ++i)
        rows.push_back(Format("%4d  %12s  %12s", n[i], FormatProbability(v1[i]).c_str(),
                              FormatProbability(v2[i]).c_str()));
    WriteTable(r, Format("%4s  %12s  %12s", "n", head1.c_str(), head2.c_str()), rows);
}

void WaitOutputTable(Report& r, const std::string& output, const std::vector<double>& values,
                     const std::function<double(double)>& wait,
                     const std::function<std::optional<double>(double)>& percentile, bool singleBlank) {
    if (output == "wait") {
        std::vector<double> p;
        for (double t : values) p.push_back(wait(t));
        WaitingTimeTable(r, values, p);
    } else if (output == "percentiles") {
        std::vector<std::optional<double>> q;
        for (double p : values) q.push_back(percentile(p));
        PercentileTable(r, values, q, singleBlank);
    }
}

namespace {

struct StateColumns {
    std::vector<int> n;
    std::vector<double> eq, gt;
};

StateColumns ColumnsOf(const std::vector<double>& values, const StateFunction& eq, const StateFunction& gt) {
    StateColumns s;
    for (double v : values) {
        const int n = CountOf(v);
        s.n.push_back(n);
        s.eq.push_back(eq(n));
        s.gt.push_back(gt(n));
    }
    return s;
}

} // namespace

void StateTable(Report& r, const std::vector<double>& values, const std::string& head1,
                const std::string& head2, const StateFunction& eq, const StateFunction& gt) {
    const StateColumns s = ColumnsOf(values, eq, gt);
    StateTable(r, s.n, head1, head2, s.eq, s.gt);
}

void TimeStateTable(Report& r, const std::vector<double>& values, const std::string& head1,
                    const std::string& head2, const StateFunction& eq, const StateFunction& gt) {
    const StateColumns s = ColumnsOf(values, eq, gt);
    TimeStateTable(r, s.n, head1, head2, s.eq, s.gt);
}

} // namespace tarvik::queue
