// The printed texts of the tables, the graph captions and the graph data.
#include "modules/tables/distributions.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace tarvik::tables;

TEST(TablesText, ProbabilityCascade) {
    EXPECT_EQ(TableProbabilityText(1e100), "Infinite");
    EXPECT_EQ(TableProbabilityText(-1e100), "-Infinite");
    EXPECT_EQ(TableProbabilityText(9.99e-13), "0");
    EXPECT_EQ(TableProbabilityText(-0.5), "0");
    EXPECT_EQ(TableProbabilityText(1e-12), "1.00E-12");
    EXPECT_EQ(TableProbabilityText(2.4979513360065105e-9), "2.50E-9");
    EXPECT_EQ(TableProbabilityText(9.996e-7), "1.00E-6");
    EXPECT_EQ(TableProbabilityText(1e-6), "1.00E-6");
    EXPECT_EQ(TableProbabilityText(1.5e-6), "0.00000150");
    EXPECT_EQ(TableProbabilityText(0.000012345678), "0.00001235");
    EXPECT_EQ(TableProbabilityText(0.00012345678), "0.00012346");
    EXPECT_EQ(TableProbabilityText(0.0012345678), "0.00123457");
    EXPECT_EQ(TableProbabilityText(0.012345678), "0.01234568");
    EXPECT_EQ(TableProbabilityText(0.0249978951482204), "0.0249979");
    EXPECT_EQ(TableProbabilityText(0.12345678912), "0.12345679");
    EXPECT_EQ(TableProbabilityText(0.5), "0.5");
    EXPECT_EQ(TableProbabilityText(0.999999999), "1");
    EXPECT_EQ(TableProbabilityText(1000000), "1000000");
}

TEST(TablesText, ValueCascadeKeepsTheSign) {
    EXPECT_EQ(TableValueText(1e100), " Infinite");
    EXPECT_EQ(TableValueText(-1e100), "-Infinite");
    EXPECT_EQ(TableValueText(0), "0");
    EXPECT_EQ(TableValueText(-3e-7), "-3.00E-7");
    EXPECT_EQ(TableValueText(1e-6), "1.00E-6");
    EXPECT_EQ(TableValueText(-0.000012345678), "-0.00001235");
    EXPECT_EQ(TableValueText(-0.012345678), "-0.01234568");
    EXPECT_EQ(TableValueText(12.3456789), "12.345679");
    EXPECT_EQ(TableValueText(-31830988.6), "-31830989");
    EXPECT_EQ(TableValueText(3.18309886e11), "3.1830989E11");
    // Below the range of a double.
    EXPECT_EQ(TableValueText(5.66073814706e-799L), "5.66E-799");
    EXPECT_EQ(TableValueText(9.9951e-900L), "1.00E-899");
}

TEST(TablesText, NormalLinesAndHeader) {
    const Parameters none;
    EXPECT_EQ(ProbabilityLine(Distribution::Normal, none, -1.96), "-1.96       0.0249979   0.9750021   ");
    EXPECT_EQ(ProbabilityLine(Distribution::Normal, none, 0), " 0          0.5         0.5         ");
    EXPECT_EQ(ProbabilityLine(Distribution::Normal, none, 1.96), " 1.96       0.9750021   0.0249979   ");
    EXPECT_EQ(PercentileLine(Distribution::Normal, none, 0), "-Infinite   0           1           ");
    EXPECT_EQ(PercentileLine(Distribution::Normal, none, 1), " Infinite   1           0           ");
    EXPECT_EQ(PercentileLine(Distribution::Normal, none, 0.975), " 1.959964   0.975       0.025       ");
    EXPECT_EQ(TableTitle(Distribution::Normal), "Standard normal distribution");
    EXPECT_EQ(ColumnLine(Distribution::Normal), " z          P(Z<=z)     P(Z>z)");
    EXPECT_EQ(RuleLine(Distribution::Normal), std::string(34, '-'));
    EXPECT_EQ(ParameterHeading(Distribution::Normal), "");
    EXPECT_TRUE(ParameterLines(Distribution::Normal, none).empty());
}

TEST(TablesText, DiscreteLinesAndHeader) {
    Parameters b;
    b.n = 10;
    b.p = 0.5;
    // 210/1024, 386/1024 and 638/1024 with 8 significant digits.
    EXPECT_EQ(ProbabilityLine(Distribution::Binomial, b, 4),
              " 4          0.20507813  0.37695313  0.62304688  ");
    EXPECT_EQ(ProbabilityLine(Distribution::Binomial, b, 10),
              " 10         0.00097656  1           0           ");
    EXPECT_EQ(ColumnLine(Distribution::Binomial), " x          P(X=x)      P(X<=x)     P(X>x)");
    EXPECT_EQ(RuleLine(Distribution::Poisson), std::string(46, '-'));
    EXPECT_EQ(ParameterHeading(Distribution::Binomial), "Parameters");
    const auto lines = ParameterLines(Distribution::Binomial, b);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].letter, 'n');
    EXPECT_EQ(lines[0].text, "n =    10          ");
    EXPECT_EQ(lines[1].text, "p =    0.5         ");

    Parameters po;
    po.lambda = 1000000;
    EXPECT_EQ(ParameterHeading(Distribution::Poisson), "Parameter");
    EXPECT_EQ(ParameterLines(Distribution::Poisson, po)[0].text, "l =    1000000     ");
    EXPECT_EQ(ProbabilityLine(Distribution::Poisson, po, 0),
              " 0          0           0           1           ");

    Parameters h;
    h.red = 5;
    h.white = 5;
    h.n = 5;
    const auto hl = ParameterLines(Distribution::Hypergeometric, h);
    ASSERT_EQ(hl.size(), 3u);
    EXPECT_EQ(hl[1].text, "W =    5           ");
    // P(X = 0) = 1/252.
    EXPECT_EQ(ProbabilityLine(Distribution::Hypergeometric, h, 0),
              " 0          0.00396825  0.00396825  0.99603175  ");
}

TEST(TablesText, ContinuousLines) {
    Parameters c;
    c.v = 1;
    EXPECT_EQ(PercentileLine(Distribution::ChiSquare, c, 0.001), " 0.00000157 0.001       0.999       ");
    Parameters t;
    t.v = 1;
    EXPECT_EQ(PercentileLine(Distribution::Student, t, 1e-8), "-31830989   1.00E-8     0.99999999  ");
    Parameters g;
    g.s = 10;
    EXPECT_EQ(PercentileLine(Distribution::Gamma, g, 1e-8), " 5.66E-799  1.00E-8     0.99999999  ");
    EXPECT_EQ(ParameterLines(Distribution::Gamma, g)[0].letter, 's');
    Parameters f;
    f.v = 3;
    f.w = 7;
    EXPECT_EQ(ProbabilityLine(Distribution::Fisher, f, -2), "-2          0           1           ");
    EXPECT_EQ(TableTitle(Distribution::Gamma), "Gamma distribution (Expectation =1)");
    EXPECT_EQ(TableTitle(Distribution::Binomial), "Binominal distribution");
}

TEST(TablesGraphCaptions, Moments) {
    Parameters b;
    b.n = 10;
    b.p = 0.3;
    GraphMoments m = Moments(Distribution::Binomial, b);
    EXPECT_EQ(m.muText, "Mu = 3");
    EXPECT_EQ(m.sigmaText, "Sigma = 1.45");
    EXPECT_EQ(m.skewnessText, "Skewness = 0.276");

    Parameters po;
    po.lambda = 4;
    m = Moments(Distribution::Poisson, po);
    EXPECT_EQ(m.muText, "Lambda = 4");
    EXPECT_EQ(m.sigmaText, "Sigma = 2");
    EXPECT_EQ(m.skewnessText, "Skewness = 0.5");

    Parameters h;
    h.red = 5;
    h.white = 5;
    h.n = 5;
    m = Moments(Distribution::Hypergeometric, h);
    EXPECT_EQ(m.muText, "Mu = 2.5");
    EXPECT_EQ(m.sigmaText, "Sigma = 0.833");
    EXPECT_EQ(m.skewnessText, "Skewness = 0");

    Parameters c;
    c.v = 8;
    m = Moments(Distribution::ChiSquare, c);
    EXPECT_EQ(m.muText + "|" + m.sigmaText + "|" + m.skewnessText, "Mu = 8|Sigma = 4|Skewness = 1");

    Parameters t;
    t.v = 5;
    m = Moments(Distribution::Student, t);
    EXPECT_EQ(m.muText + "|" + m.sigmaText + "|" + m.skewnessText, "Mu = 0|Sigma = 1.29|Skewness =  0.0");

    Parameters f;
    f.v = 3;
    f.w = 6;
    EXPECT_EQ(Moments(Distribution::Fisher, f).skewnessText, "Skewness =  OO");
    f.w = 10;
    m = Moments(Distribution::Fisher, f);
    EXPECT_EQ(m.muText, "Mu = 1.25");
    EXPECT_EQ(m.skewnessText, "Skewness = 4.22");

    Parameters g;
    g.s = 0.35;
    m = Moments(Distribution::Gamma, g);
    EXPECT_EQ(m.muText + "|" + m.sigmaText + "|" + m.skewnessText, "Mu = 1|Sigma = 0.35|Skewness = 0.7");
}

TEST(TablesGraphData, PoissonBarsUpToTheFirstSmallValuePastTheMode) {
    Parameters po;
    po.lambda = 4;
    const GraphData g = PrepareGraph(Distribution::Poisson, po);
    EXPECT_FALSE(g.continuous);
    ASSERT_EQ(g.values.size(), 15u); // k = 0 ... 14
    EXPECT_LT(g.values[14], 0.0001);
    EXPECT_GT(g.values[13], 0.0001);
    EXPECT_NEAR(g.values[14], 5.6397e-5, 1e-8);
    EXPECT_DOUBLE_EQ(g.xmin, -2);
    EXPECT_DOUBLE_EQ(g.xmax, 10);
    // The normal density at its mean is the largest value.
    EXPECT_DOUBLE_EQ(g.ymax, 1 / (2 * std::sqrt(2 * M_PI)));
    EXPECT_EQ(g.name, "Poisson(4) verdeling");
    EXPECT_EQ(g.caption, "Graph Poisson");
    ASSERT_EQ(g.normal.size(), 450u);
    EXPECT_DOUBLE_EQ(g.normal[225], 1 / (2 * std::sqrt(2 * M_PI))); // x = -2 + 225 * 12/450 = 4
}

TEST(TablesGraphData, ChiSquareWithOneDegreeOfFreedom) {
    Parameters c;
    c.v = 1;
    const GraphData g = PrepareGraph(Distribution::ChiSquare, c);
    EXPECT_TRUE(g.continuous);
    EXPECT_TRUE(g.verticalLine);
    ASSERT_EQ(g.values.size(), 450u);
    const double step = (g.xmax - g.xmin) / 450;
    for (int i = 1; i <= 450; ++i) {
        const double x = g.xmin + (i - 1) * step;
        if (x <= 0.5)
            EXPECT_EQ(g.values[i - 1], 0) << x;
        else
            EXPECT_NEAR(g.values[i - 1], ChiSquareDensity(1, x), 1e-15) << x;
    }
    EXPECT_EQ(g.ymax, *std::max_element(g.values.begin(), g.values.end()));
    EXPECT_EQ(g.name, "Chi-square(1)");

    c.v = 3;
    EXPECT_FALSE(PrepareGraph(Distribution::ChiSquare, c).verticalLine);
}

TEST(TablesGraphData, NamesAndRanges) {
    Parameters b;
    b.n = 10;
    b.p = 0.25;
    GraphData g = PrepareGraph(Distribution::Binomial, b);
    EXPECT_EQ(g.name, "Binominal (10;0.25) distribution");
    EXPECT_EQ(g.caption, "Graph Binominal");
    EXPECT_EQ(g.values.size(), 11u);

    Parameters h;
    h.red = 5;
    h.white = 7;
    h.n = 4;
    g = PrepareGraph(Distribution::Hypergeometric, h);
    EXPECT_EQ(g.name, "Hypergeometric (5;7;4) distribution");
    EXPECT_EQ(g.values.size(), 12u); // k = 0 ... R + W - 1
    EXPECT_EQ(g.values[5], 0);

    Parameters f;
    f.v = 2;
    f.w = 12;
    g = PrepareGraph(Distribution::Fisher, f);
    EXPECT_EQ(g.name, "Fishers F(2;12)");
    EXPECT_EQ(g.caption, "Graph Fisher F");
    EXPECT_TRUE(g.verticalLine);

    Parameters t;
    t.v = 4;
    g = PrepareGraph(Distribution::Student, t);
    EXPECT_EQ(g.name, "Student-t(4)");
    EXPECT_DOUBLE_EQ(g.xmax, 3 * std::sqrt(2.0));

    Parameters ga;
    ga.s = 1;
    g = PrepareGraph(Distribution::Gamma, ga);
    EXPECT_EQ(g.name, "Gamma distribution");
    EXPECT_EQ(g.caption, "Graph Gamma");
    // The gamma graph scales to its own values only.
    EXPECT_EQ(g.ymax, *std::max_element(g.values.begin(), g.values.end()));
}
