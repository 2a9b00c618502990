#include "modules/queue/queuemodel.h"

#include "modules/queue/dg1.h"
#include "modules/queue/fincap.h"
#include "modules/queue/finsrc.h"
#include "modules/queue/gmc.h"
#include "modules/queue/mdc.h"
#include "modules/queue/mg1.h"
#include "modules/queue/mmc.h"
#include "modules/queue/numerics.h"
#include "modules/queue/transient.h"

#include <algorithm>
#include <utility>

namespace tarvik::queue {

std::string PageInput::Field(const std::string& name) const {
    auto it = fields.find(name);
    return it == fields.end() ? std::string() : it->second;
}

std::string PageInput::Choice(const std::string& group) const {
    auto it = choices.find(group);
    return it == choices.end() ? std::string() : it->second;
}

const std::vector<PageInfo>& Pages() {
    const std::vector<std::string> fourOutputs = {"standard", "wait", "percentiles", "states", "graphs"};
    static const std::vector<PageInfo> pages = {
        {Page::MG1,
         "M/G/1",
         "M/G/1 Queue",
         "mg1",
         100,
         RunMG1,
         {{"cs2", false}, {"rho", false}},
         {{"service", {"erlang", "cox-gamma", "cox-balanced"}}, {"output", fourOutputs}},
         true,
         true,
         true},
        {Page::DG1,
         "D/G/1",
         "D/G/1 Queue",
         "dg1",
         110,
         RunDG1,
         {{"cs2", false}, {"rho", false}},
         {{"service", {"erlang", "pure-erlang", "cox-gamma", "cox-balanced"}},
          {"output", {"standard", "wait", "percentiles", "time-states", "customer-states", "graphs"}}},
         true,
         true,
         true},
        {Page::MMC,
         "M/M/c",
         "M/M/c Queue",
         "mmc",
         120,
         RunMMC,
         {{"c", true}, {"rho", false}},
         {{"output", fourOutputs}},
         true,
         true,
         true},
        {Page::MDC,
         "M/D/c",
         "M/D/c Queue",
         "mdc",
         130,
         RunMDC,
         {{"c", true}, {"rho", false}},
         {{"output", fourOutputs}},
         true,
         true,
         true},
        {Page::DMC,
         "D/M/c",
         "D/M/c Queue",
         "dmc",
         140,
         RunDMC,
         {{"c", true}, {"rho", false}},
         {{"output", {"standard", "wait", "percentiles", "time-states", "customer-states", "graphs"}},
          {"graph", {"wait", "time-states", "customer-states"}}},
         true,
         true,
         true},
        {Page::GMC,
         "G/M/c",
         "G/M/c Queue",
         "gmc",
         150,
         RunGMC,
         {{"c", true}, {"rho", false}, {"ca2", false}},
         {{"arrivals", {"det", "erlang", "cox-gamma", "cox-balanced"}},
          {"output", {"standard", "wait", "percentiles", "graphs"}}},
         true,
         true,
         false},
        {Page::FinCap,
         "Finite Capacity",
         "Finite Capacity Queue",
         "fincap",
         160,
         RunFinCap,
         {{"c", true}, {"n", true}, {"rho", false}},
         {{"type", {"mmcn", "mdcn", "dmcn"}},
          {"output", {"standard", "wait", "states", "time-states", "customer-states", "graphs"}}},
         true,
         false,
         true},
        {Page::MMCN,
         "M/M/c/c+N",
         "M/M/c/c+N Queue",
         "mmcn",
         200,
         RunMMCNGraph,
         {{"lambda", false},
          {"es", false},
          {"t", false},
          {"n", true},
          {"c", true},
          {"from", true},
          {"to", true}},
         {{"vary", {"c", "N"}}, {"y", {"prej", "wait"}}},
         false,
         false,
         false},
        {Page::FinSrc,
         "Finite Source",
         "Finite Source Queue",
         "finsrc",
         170,
         RunFinSrc,
         {{"c", true}, {"m", true}, {"nu", false}},
         {{"service", {"exp", "det"}},
          {"output", {"standard", "wait", "time-states", "customer-states", "graphs"}},
          {"graph", {"wait", "time-states", "customer-states"}}},
         true,
         false,
         true},
        {Page::MM1,
         "Transient M/M/1",
         "Transient M/M/1 Queue",
         "mm1",
         180,
         RunTransientMM1,
         {{"rho", false}, {"t", false}, {"i", true}, {"j", true}},
         {{"output", {"table", "p-graph", "P-graph", "mean-graph", "std-graph"}}},
         true,
         false,
         false},
    };
    return pages;
}

const PageInfo& PageOf(Page page) {
    return Pages()[static_cast<std::size_t>(page)];
}

RunResult RunPage(Page page, const PageInput& input) {
    return RunModel(PageOf(page).run, input);
}

std::string ChosenOutput(const PageInput& input) {
    const std::string& output = input.Choice("output");
    return output.empty() ? "standard" : output;
}

ValueList ReadOutputList(const PageInput& input, const std::string& output, double tUpper, double nUpper,
                         RunResult& result, std::initializer_list<const char*> stateOutputs) {
    ValueList list;
    if (output == "wait") {
        list = ReadValueList(input.tvalues, ValueKind::Real, tUpper);
        result.tvalues = list.Texts();
    } else if (output == "percentiles") {
        list = ReadValueList(input.pvalues, ValueKind::Real, kPListUpper);
        result.pvalues = list.Texts();
    } else if (std::any_of(stateOutputs.begin(), stateOutputs.end(),
                           [&](const char* s) { return output == s; })) {
        list = ReadValueList(input.nvalues, ValueKind::Integer, nUpper);
        result.nvalues = list.Texts();
    } else if (output == "graphs") {
        result.graphWindowCreated = true;
    }
    return list;
}

namespace {

template <typename T>
std::optional<T> Number(std::optional<T> value, RunResult& result, const std::string& bad) {
    if (!value) result.inputError = bad;
    return value;
}

template <typename T>
std::optional<T> InRange(std::optional<T> value, RunResult& result, T lo, T hi, const std::string& range) {
    if (value && OutOfRange(result, *value < lo || *value > hi, range)) return std::nullopt;
    return value;
}

} // namespace

std::optional<int> IntegerField(const PageInput& input, RunResult& result, const std::string& field,
                                const std::string& bad) {
    return Number(ReadInteger(input.Field(field)), result, bad);
}

std::optional<double> RealField(const PageInput& input, RunResult& result, const std::string& field,
                                const std::string& bad) {
    return Number(ReadReal(input.Field(field)), result, bad);
}

bool OutOfRange(RunResult& result, bool outside, const std::string& range) {
    if (outside) result.inputError = range;
    return outside;
}

std::optional<int> ReadIntegerField(const PageInput& input, RunResult& result, const std::string& field,
                                    int lo, int hi, const std::string& bad, const std::string& range) {
    return InRange(IntegerField(input, result, field, bad), result, lo, hi, range);
}

std::optional<double> ReadRealField(const PageInput& input, RunResult& result, const std::string& field,
                                    double lo, double hi, const std::string& bad, const std::string& range) {
    return InRange(RealField(input, result, field, bad), result, lo, hi, range);
}

std::optional<ServersAndLoad> ReadServersAndLoad(const PageInput& input, RunResult& result, int maxC,
                                                 double maxRho, const std::string& rhoName) {
    const auto c = ReadIntegerField(input, result, "c", 1, maxC, "c incorrect", "c out of range");
    if (!c) return std::nullopt;
    const auto rho =
        ReadRealField(input, result, "rho", 1e-10, maxRho, rhoName + " incorrect", rhoName + " out of range");
    if (!rho) return std::nullopt;
    return ServersAndLoad{*c, *rho};
}

GraphData WaitGraph(GraphPoints points) {
    return {.graphTitle = "P(Wq>t | Wq>0)",
            .xTitle = "Time t",
            .yTitle = "Probability",
            .points = std::move(points)};
}

GraphData StateGraph(GraphPoints points) {
    return {.graphTitle = "P(L>n | L>0)",
            .xTitle = "State n",
            .yTitle = "Probaility",
            .points = std::move(points)};
}

RunResult RunModel(ModelFunction run, const PageInput& input) {
    RunResult result;
    if (!run) return result;
    try {
        run(input, result);
    } catch (const Breakdown& b) {
        // The run ends here; what it wrote stays, followed by the breakdown lines.
        result.breakdown = true;
        result.graphWindow.reset();
        if (b.box) {
            for (const std::string& line : b.lines)
                result.breakdownBox += (result.breakdownBox.empty() ? "" : "\n") + line;
            result.breakdownCaption = b.caption;
        } else {
            result.report.SetStyle(LogStyle::Normal);
            for (const std::string& line : b.lines) result.report.AddResultLine(line);
        }
    }
    return result;
}

} // namespace tarvik::queue
