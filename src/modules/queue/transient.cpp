#include "modules/queue/transient.h"

#include "common/numformat.h"
#include "modules/queue/queuenum.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvik::queue {

TransientMM1::TransientMM1(double rho, int i)
    : rho_(rho), root_(std::sqrt(rho)), lnRho_(std::log(rho)), i_(i),
      rule_(GaussLegendre(275, 0, std::numbers::pi, 1e-14)) {
    for (std::size_t k = 0; k < rule_.x.size(); ++k) {
        const double g = 1 + rho - 2 * root_ * std::cos(rule_.x[k]);
        gamma_.push_back(g);
        lnGamma_.push_back(std::log(g));
        xi_.push_back(X(i, k));
    }
}

double TransientMM1::X(int k, std::size_t node) const {
    const double y = rule_.x[node];
    return std::sin(k * y) - root_ * std::sin((k + 1) * y);
}

double TransientMM1::Exponent(double a, int m, double t, std::size_t k) const {
    return SafeExp(a * lnRho_ - t * gamma_[k] - m * lnGamma_[k]);
}

template <class F> double TransientMM1::Integral(F f) const {
    double sum = 0;
    for (std::size_t k = 0; k < rule_.x.size(); ++k) sum += rule_.w[k] * f(k);
    return 2 / std::numbers::pi * sum;
}

double TransientMM1::StateProbability(int j, double t) const {
    const double a = (j - i_) / 2.0;
    return Integral([&](std::size_t k) { return Exponent(a, 1, t, k) * xi_[k] * X(j, k); }) +
           (1 - rho_) * Power(rho_, j);
}

double TransientMM1::Cumulative(int j, double t) const {
    const double a = (j - i_ + 1) / 2.0;
    return Integral([&](std::size_t k) {
               return -Exponent(a, 1, t, k) * xi_[k] * std::sin((j + 1) * rule_.x[k]);
           }) +
           1 - Power(rho_, j + 1);
}

double TransientMM1::MeanInSystem(double t) const {
    const double a = (1 - i_) / 2.0;
    return Integral([&](std::size_t k) { return Exponent(a, 2, t, k) * xi_[k] * std::sin(rule_.x[k]); }) +
           rho_ / (1 - rho_);
}

double TransientMM1::SecondMoment(double t) const {
    const double a = (1 - i_) / 2.0;
    return 2 * (1 - rho_) *
               Integral([&](std::size_t k) { return Exponent(a, 3, t, k) * xi_[k] * std::sin(rule_.x[k]); }) +
           2 * rho_ / ((1 - rho_) * (1 - rho_)) - MeanInSystem(t);
}

double TransientMM1::MeanQueue(double t) const {
    return MeanInSystem(t) - (1 - StateProbability(0, t));
}

double TransientMM1::StdQueue(double t) const {
    const double el = MeanInSystem(t), busy = 1 - StateProbability(0, t);
    const double elq = el - busy;
    return std::sqrt(std::fabs(SecondMoment(t) - 2 * el + busy - elq * elq));
}

int TransientMaxInitial(double rho) {
    const double k = std::log(1e-16) / std::log(rho);
    return static_cast<int>(std::trunc(std::min(100.0, k)));
}

void RunTransientMM1(const PageInput& input, RunResult& result) {
    result.errorCaption = "ERROR";
    const auto rhoValue =
        ReadRealField(input, result, "rho", 0, 0.9901, "rho incorrect", "rho out of bounds");
    if (!rhoValue) return;
    const double rho = std::max(*rhoValue, 1e-9);
    const auto i =
        ReadIntegerField(input, result, "i", 0, TransientMaxInitial(rho), "i incorrect", "i out of bounds");
    if (!i) return;
    const std::string output = input.Choice("output").empty() ? "table" : input.Choice("output");
    const bool needsJ = output == "table" || output == "p-graph" || output == "P-graph";
    int j = 0;
    if (needsJ) {
        const auto jValue = ReadIntegerField(input, result, "j", 0, 100, "j incorrect", "j out of bounds");
        if (!jValue) return;
        j = *jValue;
    }
    double horizon = 0;
    if (output != "table") {
        const auto t = ReadRealField(input, result, "t", 0.01, 1e6, "t incorrect", "t out of range");
        if (!t) return;
        horizon = *t;
    }

    const TransientMM1 model(rho, *i);
    if (output == "table") {
        const ValueList list = ReadValueList(input.tvalues, ValueKind::Real, 1e6);
        result.tvalues = list.Texts();
        Report& log = result.report;
        ModelHeader(log, "Transient M/M/1 queue", Format("Parameters: rho=%.6g  i=%d  j=%d", rho, *i, j));
        log.AddResultLine("");
        log.AddResultLine("");
        log.SetStyle(LogStyle::TableEdge);
        log.AddResultLine(Format("%6s%9s%9s%9s%9s", "t", "p(i,j,t)", "P(i,j,t)", "ELq(i,t)", "Std Lq(i,t)"));
        log.SetStyle(LogStyle::Normal);
        for (std::size_t k = 0; k < list.values.size(); ++k) {
            const double t = list.values[k];
            const double p = model.StateProbability(j, t);
            const double p0 = j == 0 ? p : model.StateProbability(0, t);
            const double el = model.MeanInSystem(t);
            const double elq = el - (1 - p0);
            const double m2 = model.SecondMoment(t);
            const double std = std::sqrt(std::fabs(m2 - 2 * el + (1 - p0) - elq * elq));
            if (k + 1 == list.values.size()) log.SetStyle(LogStyle::TableEdge);
            log.AddResultLine(Format(
                "%6s %8s %8s %8s %8s", FormatFraction(t, 6, 4).c_str(), Format("%6.6f", std::fabs(p)).c_str(),
                Format("%6.6f", std::fabs(model.Cumulative(j, t))).c_str(),
                FormatFraction(std::fabs(elq), 8, 5).c_str(), FormatFraction(std::fabs(std), 8, 4).c_str()));
        }
        log.SetStyle(LogStyle::Normal);
        log.AddResultLine("");
        return;
    }

    result.graphWindowCreated = true;
    GraphData g;
    g.xTitle = "Time t";
    g.logY = false;
    g.autoY = true;
    g.markersBelow = 0; // a line, never point markers
    g.fixedX = true;    // the time axis runs from 0 to t
    g.xMin = 0;
    g.xMax = horizon;
    std::string jText = input.Field("j");
    jText.erase(0, jText.find_first_not_of(' '));
    jText.erase(jText.find_last_not_of(' ') + 1);
    if (output == "p-graph") g.graphTitle = "p{i,j,t}";
    if (output == "P-graph") g.graphTitle = "P{i,j,t} (cumulative)";
    if (output == "mean-graph") g.graphTitle = "ELq(i,t)";
    if (output == "std-graph") g.graphTitle = "Std Lq(i,t)";
    for (int k = 0; k <= 200; ++k) {
        const double t = k * horizon / 200;
        double y = 0;
        if (output == "p-graph")
            y = model.StateProbability(j, t);
        else if (output == "P-graph")
            y = model.Cumulative(j, t);
        else if (output == "mean-graph")
            y = model.MeanQueue(t);
        else
            y = model.StdQueue(t);
        g.points.emplace_back(t, y);
    }
    GraphWindowData window;
    window.design = GraphDesign::GMC;
    window.title = "Transient M/M/1 queue";
    window.label1 = Format("rho = %.4g", rho);
    // The moment graphs do not depend on j; the label shows the end-state field.
    window.label2 = needsJ ? Format("i=%d j=%d", *i, j) : Format("i=%d j=%s", *i, jText.c_str());
    window.label3 = Format("t <= %.4g", horizon);
    window.graphs = {g};
    result.graphWindow = window;
}

} // namespace tarvik::queue
