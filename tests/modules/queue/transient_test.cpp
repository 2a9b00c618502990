#include "modules/queue/transient.h"

#include "common/numformat.h"
#include "modules/queue/queuemodel.h"

#include <gtest/gtest.h>

#include <cmath>

namespace tarvik::queue {
namespace {

using Dense = std::vector<double>; // row-major n x n

Dense Multiply(const Dense& a, const Dense& b, std::size_t n) {
    Dense c(n * n, 0.0);
    for (std::size_t i = 0; i < n; ++i)
        for (std::size_t k = 0; k < n; ++k) {
            const double v = a[i * n + k];
            if (v == 0) continue;
            for (std::size_t j = 0; j < n; ++j) c[i * n + j] += v * b[k * n + j];
        }
    return c;
}

// e^(Q t) for the M/M/1 generator truncated to 0..n-1 (the top state only
// serves), by scaling and squaring of a Taylor series.
Dense TruncatedTransition(double rho, std::size_t n, double t) {
    Dense q(n * n, 0.0);
    for (std::size_t k = 0; k < n; ++k) {
        if (k + 1 < n) q[k * n + k + 1] = rho;
        if (k > 0) q[k * n + k - 1] = 1;
        q[k * n + k] = -((k + 1 < n ? rho : 0) + (k > 0 ? 1 : 0));
    }
    int squarings = 0;
    double scale = t;
    while (scale * (1 + rho) > 0.5) {
        scale /= 2;
        ++squarings;
    }
    for (double& v : q) v *= scale;
    Dense result(n * n, 0.0), term(n * n, 0.0);
    for (std::size_t k = 0; k < n; ++k) result[k * n + k] = term[k * n + k] = 1;
    for (int k = 1; k <= 18; ++k) {
        term = Multiply(term, q, n);
        for (std::size_t i = 0; i < n * n; ++i) {
            term[i] /= k;
            result[i] += term[i];
        }
    }
    for (int s = 0; s < squarings; ++s) result = Multiply(result, result, n);
    return result;
}

TEST(TransientMM1, MatchesTheMatrixExponential) {
    struct Case {
        double rho;
        std::size_t states;
        std::vector<double> times;
    };
    for (const Case& c :
         {Case{0.5, 90, {0.05, 1, 7.5, 40}}, Case{0.9, 260, {0.3, 25, 10000}}, Case{0.2, 40, {2, 500}}}) {
        for (double t : c.times) {
            const Dense e = TruncatedTransition(c.rho, c.states, t);
            for (int i : {0, 1, 4, 12}) {
                if (i > TransientMaxInitial(c.rho)) continue;
                const TransientMM1 model(c.rho, i);
                const double* row = &e[static_cast<std::size_t>(i) * c.states];
                double cumulative = 0, mean = 0, second = 0;
                for (std::size_t j = 0; j < c.states; ++j) {
                    mean += j * row[j];
                    second += static_cast<double>(j * j) * row[j];
                }
                for (int j = 0; j <= 20; ++j) {
                    cumulative += row[j];
                    EXPECT_NEAR(model.StateProbability(j, t), row[j], 1e-9)
                        << c.rho << " " << t << " " << i << " " << j;
                    EXPECT_NEAR(model.Cumulative(j, t), cumulative, 1e-9)
                        << c.rho << " " << t << " " << i << " " << j;
                }
                EXPECT_NEAR(model.MeanInSystem(t), mean, 1e-8 * (1 + mean)) << c.rho << " " << t << " " << i;
                EXPECT_NEAR(model.SecondMoment(t), second, 1e-7 * (1 + second))
                    << c.rho << " " << t << " " << i;
                const double busy = 1 - row[0];
                EXPECT_NEAR(model.MeanQueue(t), mean - busy, 1e-8 * (1 + mean));
                const double varLq = (second - 2 * mean + busy) - (mean - busy) * (mean - busy);
                EXPECT_NEAR(model.StdQueue(t), std::sqrt(varLq), 1e-6 * (1 + varLq));
            }
        }
    }
}

TEST(TransientMM1, StartAndLimit) {
    const TransientMM1 model(0.6, 3);
    for (int j = 0; j <= 8; ++j) {
        EXPECT_NEAR(model.StateProbability(j, 0), j == 3 ? 1 : 0, 1e-10);
        EXPECT_NEAR(model.Cumulative(j, 0), j >= 3 ? 1 : 0, 1e-10);
        EXPECT_NEAR(model.StateProbability(j, 5000), 0.4 * std::pow(0.6, j), 1e-12);
    }
    // The probabilities over j add up to 1 and to the cumulative ones, and
    // their first two moments are EL and M2.
    for (double t : {0.3, 2.0, 40.0}) {
        double sum = 0, m1 = 0, m2 = 0;
        for (int j = 0; j <= 100; ++j) {
            const double p = model.StateProbability(j, t);
            sum += p;
            m1 += j * p;
            m2 += static_cast<double>(j) * j * p;
            if (j == 10) {
                EXPECT_NEAR(model.Cumulative(10, t), sum, 1e-12);
            }
        }
        EXPECT_NEAR(sum, 1, 1e-12) << t;
        EXPECT_NEAR(model.MeanInSystem(t), m1, 1e-10) << t;
        EXPECT_NEAR(model.SecondMoment(t), m2, 1e-9) << t;
    }
    EXPECT_NEAR(model.MeanInSystem(5000), 0.6 / 0.4, 1e-10);
    EXPECT_NEAR(model.MeanQueue(5000), 0.36 / 0.4, 1e-10);
    EXPECT_EQ(TransientMaxInitial(0.5), 53);
    EXPECT_EQ(TransientMaxInitial(0.9), 100);
    EXPECT_EQ(TransientMaxInitial(1e-9), 1);
}

PageInput Input(const std::string& output, const std::string& rho, const std::string& i, const std::string& j,
                const std::string& t = "") {
    PageInput in;
    in.fields = {{"rho", rho}, {"i", i}, {"j", j}, {"t", t}};
    in.choices = {{"output", output}};
    return in;
}

TEST(TransientMM1Page, RefusesBadInputWithTheCaption) {
    auto error = [](const PageInput& in) {
        const RunResult r = RunPage(Page::MM1, in);
        EXPECT_TRUE(r.report.lines.empty());
        EXPECT_FALSE(r.graphWindowCreated);
        if (!r.inputError.empty()) {
            EXPECT_EQ(r.errorCaption, "ERROR");
        }
        return r.inputError;
    };
    EXPECT_EQ(error(Input("table", "", "0", "0")), "rho incorrect");
    EXPECT_EQ(error(Input("table", "0.995", "0", "0")), "rho out of bounds");
    EXPECT_EQ(error(Input("table", "0.5", "54", "0")), "i out of bounds");
    EXPECT_EQ(RunPage(Page::MM1, Input("table", "0.5", "53", "0")).inputError, "");
    EXPECT_EQ(error(Input("table", "0", "2", "0")), "i out of bounds");
    EXPECT_EQ(error(Input("table", "0.5", "x", "0")), "i incorrect");
    EXPECT_EQ(error(Input("p-graph", "0.5", "1", "101", "1")), "j out of bounds");
    EXPECT_EQ(error(Input("P-graph", "0.5", "1", "", "1")), "j incorrect");
    EXPECT_EQ(error(Input("p-graph", "0.5", "1", "3", "0.005")), "t out of range");
    EXPECT_EQ(error(Input("p-graph", "0.5", "1", "3", "1000001")), "t out of range");
    EXPECT_EQ(error(Input("std-graph", "0.5", "1", "", "")), "t incorrect");
}

TEST(TransientMM1Page, TableLayout) {
    PageInput in = Input("table", "0.5", "2", "2");
    in.tvalues = {"100000", "0", "1"};
    const RunResult r = RunPage(Page::MM1, in);
    ASSERT_TRUE(r.inputError.empty());
    ASSERT_EQ(r.report.lines.size(), 9u);
    EXPECT_EQ(r.report.lines[0].text, "Transient M/M/1 queue");
    EXPECT_EQ(r.report.lines[1].text, "Parameters: rho=0.5  i=2  j=2");
    EXPECT_EQ(r.report.lines[2].text, "");
    EXPECT_EQ(r.report.lines[3].text, "");
    EXPECT_EQ(r.report.lines[4].text, "     t p(i,j,t) P(i,j,t) ELq(i,t)Std Lq(i,t)");
    EXPECT_EQ(r.report.lines[4].style, LogStyle::TableEdge);
    // At t = 0 the queue holds exactly i = 2: one waiting.
    EXPECT_EQ(r.report.lines[5].text, "0.0000 1.000000 1.000000   1.0000   0.0000");
    EXPECT_EQ(r.report.lines[5].style, LogStyle::Normal);
    const TransientMM1 model(0.5, 2);
    EXPECT_EQ(r.report.lines[6].text.substr(0, 6), " 1.000");
    EXPECT_EQ(r.report.lines[6].text.substr(7, 8), Format("%.6f", model.StateProbability(2, 1)));
    // 1e5 does not fit six columns with decimals.
    // and widens its row.
    EXPECT_EQ(r.report.lines[7].text, " 1.0E+0005 0.125000 0.875000  0.50000    1.118");
    EXPECT_EQ(r.report.lines[7].style, LogStyle::TableEdge);
    EXPECT_EQ(r.report.lines[8].text, "");
    EXPECT_EQ(r.report.lines[8].style, LogStyle::Normal);
}

TEST(TransientMM1Page, Graphs) {
    RunResult r = RunPage(Page::MM1, Input("mean-graph", "0.8", "4", " 7", "20"));
    ASSERT_TRUE(r.graphWindow);
    const GraphWindowData& w = *r.graphWindow;
    EXPECT_EQ(w.title, "Transient M/M/1 queue");
    EXPECT_EQ(w.label1, "rho = 0.8");
    EXPECT_EQ(w.label2, "i=4 j=7");
    EXPECT_EQ(w.label3, "t <= 20");
    EXPECT_EQ(w.service, "");
    const GraphData& g = w.graphs[0];
    EXPECT_EQ(g.graphTitle, "ELq(i,t)");
    EXPECT_FALSE(g.logY);
    EXPECT_TRUE(g.autoY);
    ASSERT_EQ(g.points.size(), 201u);
    const TransientMM1 model(0.8, 4);
    EXPECT_EQ(g.points[0].first, 0);
    EXPECT_NEAR(g.points[0].second, 3, 1e-9);
    EXPECT_DOUBLE_EQ(g.points[100].first, 10);
    EXPECT_DOUBLE_EQ(g.points[100].second, model.MeanQueue(10));
    EXPECT_DOUBLE_EQ(g.points[200].first, 20);
    EXPECT_TRUE(r.report.lines.empty());
    r = RunPage(Page::MM1, Input("P-graph", "0.8", "4", "2", "1e6"));
    ASSERT_TRUE(r.graphWindow);
    EXPECT_EQ(r.graphWindow->graphs[0].graphTitle, "P{i,j,t} (cumulative)");
    EXPECT_EQ(r.graphWindow->label3, "t <= 1e+06");
    EXPECT_NEAR(r.graphWindow->graphs[0].points[200].second, 1 - std::pow(0.8, 3), 1e-10);
}

} // namespace
} // namespace tarvik::queue
