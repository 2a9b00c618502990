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
    const std::string standard = "Standard Statistics", waiting = "Waiting Time Probabilities",
                      percentiles = "Waiting Time Percentiles", states = "State Probabilities",
                      timeStates = "Time Average State Probabilities",
                      customerStates = "Customer Average State Probabilities", graphs = "Graphs";
    const std::vector<std::string> outputItems = {standard, waiting, percentiles, states, graphs};
    const std::vector<std::string> stateOutputs = {"standard",        "wait",  "percentiles", "time-states",
                                                   "customer-states", "graphs"};
    const std::vector<std::string> stateItems = {standard,   waiting,        percentiles,
                                                 timeStates, customerStates, graphs};
    const std::vector<std::string> coxianCS2 = {"0.5 <= CS2 <= 100", "0.5 <= CS2 <= 100"};
    const char* pList = "p-values (<= 0.999999)";
    auto rho = [](const char* widget, const char* limits, const char* hint = "") {
        return FieldDef{.name = "rho",
                        .integer = false,
                        .widget = widget,
                        .label = "Rho:",
                        .limits = limits,
                        .hint = hint};
    };
    auto servers = [](const char* widget, const char* limits) {
        return FieldDef{.name = "c", .integer = true, .widget = widget, .label = "C:", .limits = limits};
    };
    static const std::vector<PageInfo> pages = {
        {Page::MG1,
         "M/G/1",
         "M/G/1 Queue",
         "mg1",
         100,
         RunMG1,
         {{.name = "cs2",
           .integer = false,
           .widget = "MG1_CS2_edit",
           .label = "CS2:",
           .follows = "service",
           .limitsByChoice = {"0.01 <= CS2 <= 1", coxianCS2[0], coxianCS2[1]}},
          rho("MG1_Rho_edit", "<= 0.99 ")},
         {{"service",
           {"erlang", "cox-gamma", "cox-balanced"},
           {{"MG1_Service_Type_RadioGroup",
             "Service Times",
             {"Erlangian", "Coxian-2 (Gamma Normalization)", "Coxian-2 (Balanced Means)"}}}},
          {"output", fourOutputs, {{"MG1_Output_RadioGroup", "Output", outputItems}}}},
         true,
         true,
         true,
         "MG1",
         "t-values (<= 75000)",
         pList,
         "n-values (<= 2500)"},
        {Page::DG1,
         "D/G/1",
         "D/G/1 Queue",
         "dg1",
         110,
         RunDG1,
         {{.name = "cs2",
           .integer = false,
           .widget = "DG1_CS2_edit",
           .follows = "service",
           .labels = {"CS2:", "1/CS2:", "CS2:", "CS2:"},
           .limitsByChoice = {"0.01 <= CS2 <= 1 ", "1..100", coxianCS2[0], coxianCS2[1]}},
          rho("DG1_Rho_edit", "<= 0.99 ")},
         {{"service",
           {"erlang", "pure-erlang", "cox-gamma", "cox-balanced"},
           {{"DG1_Service_Type_RadioGroup",
             "Service Times",
             {"Erlangian", "Pure Erlang", "Coxian-2 (Gamma Normalization)", "Coxian-2 (Balanced Means)"}}}},
          {"output",
           stateOutputs,
           {{"DG1_Coxian_Output_RadioGroup",
             "Output",
             {standard, waiting, percentiles, graphs},
             {"standard", "wait", "percentiles", "graphs"},
             "service!=pure-erlang"},
            {"DG1_Pure_Erlang_Output_RadioGroup",
             "Output (Pure Erlang)",
             stateItems,
             {},
             "service=pure-erlang"}}}},
         true,
         true,
         true,
         "DG1",
         "t-values (<= 75000)",
         pList,
         "n-values (<= 1250)"},
        {Page::MMC,
         "M/M/c",
         "M/M/c Queue",
         "mmc",
         120,
         RunMMC,
         {servers("MMC_C_edit", "<=2500"), rho("MMC_Rho_edit", "<=0.999", "rho=lambda*E(s)/c")},
         {{"output", fourOutputs, {{"MMC_Output_RadioGroup", "Output", outputItems}}}},
         true,
         true,
         true,
         "MMC",
         "t-values (<= 2500)",
         pList,
         "n-values (<= 5000)"},
        {Page::MDC,
         "M/D/c",
         "M/D/c Queue",
         "mdc",
         130,
         RunMDC,
         {servers("MDC_C_edit", "<=500"), rho("MDC_Rho_edit", "<=0.99", "rho=lambda*E(s)/c")},
         {{"output", fourOutputs, {{"MDC_Output_RadioGroup", "Output", outputItems}}}},
         true,
         true,
         true,
         "MDC",
         "t-values (<= 2500)",
         pList,
         "n-values (<= 1250)"},
        {Page::DMC,
         "D/M/c",
         "D/M/c Queue",
         "dmc",
         140,
         RunDMC,
         {servers("DMC_C_edit", "<=500"), rho("DMC_Rho_edit", "<=0.99")},
         {{"output", stateOutputs, {{"DMC_Output_RadioGroup", "Output", stateItems}}},
          {"graph",
           {"wait", "time-states", "customer-states"},
           {{"DMC_Graph_GroupBox",
             "Conditional Probability Graphs",
             {"Waiting-Time", "Time-Average State", "Customer-Average State"},
             {},
             "output=graphs"}}}},
         true,
         true,
         true,
         "DMC",
         "t-values (<= 2500)",
         pList,
         "n-values (<= 1250)"},
        {Page::GMC,
         "G/M/c",
         "G/M/c Queue",
         "gmc",
         150,
         RunGMC,
         {servers("GMC_C_edit", "<=1000"),
          rho("GMC_Rho_edit", "<=0.999"),
          {.name = "ca2",
           .integer = false,
           .widget = "GMC_CA2_Edit",
           .label = "CA2:",
           .follows = "arrivals",
           .limitsByChoice = {"(deterministic)", "0.01 <= CA2 <= 1", "0.5 <= CA2 <= 100",
                              "0.5 <= CA2 <= 100"}}},
         {{"arrivals",
           {"det", "erlang", "cox-gamma", "cox-balanced"},
           {{"GMC_Arrivals_RadioGroup",
             "Arrivals Distribution",
             {"Deterministic Arrivals", "Erlangian Arrivals", "Coxian-2 Arrivals (gamma normalization)",
              "Coxian-2 Arrivals (balanced means)"}}}},
          {"output",
           {"standard", "wait", "percentiles", "graphs"},
           {{"GMC_Output_RadioGroup", "Output", {standard, waiting, percentiles, graphs}}}}},
         true,
         true,
         false,
         "GMC",
         "t-values (<= 75000)",
         pList},
        {Page::FinCap,
         "Finite Capacity",
         "Finite Capacity Queue",
         "fincap",
         160,
         RunFinCap,
         {{.name = "c",
           .integer = true,
           .widget = "FinCap_C_edit",
           .label = "c:",
           .follows = "type",
           .limitsByChoice = {"<=2500", "<=500", "<=500"}},
          rho("FinCap_Rho_edit", "<=5"),
          {.name = "n",
           .integer = true,
           .widget = "FinCap_N_edit",
           .label = "N:",
           .follows = "type",
           .limitsByChoice = {"<=1000", "<=1000", "<=500"}}},
         {{"type",
           {"mmcn", "mdcn", "dmcn"},
           {{"FinCap_Type_RadioGroup", "Queue Type", {"M/M/c/c+N", "M/D/c/c+N", "D/M/c/c+N"}}}},
          {"output",
           {"standard", "wait", "states", "time-states", "customer-states", "graphs"},
           {{"FinCap_Output_RadioGroup",
             "Output",
             {standard, waiting, states, graphs},
             {"standard", "wait", "states", "graphs"},
             "type!=dmcn"},
            {"FinCap_Output2_RadioGroup",
             "Output",
             {standard, waiting, timeStates, customerStates, graphs},
             {"standard", "wait", "time-states", "customer-states", "graphs"},
             "type=dmcn"}}}},
         true,
         false,
         true,
         "FinCap",
         "t-values (<= 1000)",
         "",
         "n-values"},
        {Page::MMCN,
         "M/M/c/c+N",
         "M/M/c/c+N Queue",
         "mmcn",
         200,
         RunMMCNGraph,
         {{"lambda", false, "MMCN_Arrival_edit", "Average arrival rate:", "0.01 <= lambda <= 1000"},
          {"es", false, "MMCN_ES_edit", "Mean service time:", "0.01 <= ES <= 1000"},
          {"n", true, "MMCN_cap_edit", "Capacity N:", "0...100", "", "MMCN_FixedN_Group"},
          {"from", true, "MMCN_c_from_edit", "Vary c from", "", "", "MMCN_FixedN_Group"},
          {"to", true, "MMCN_c_to_edit", "to", "1...100", "", "MMCN_FixedN_Group"},
          {"c", true, "MMCN_c_edit", "Number of servers c:", "1...100", "", "MMCN_FixedC_Group"},
          {"from", true, "MMCN_N_from_edit", "Vary N from", "", "", "MMCN_FixedC_Group"},
          {"to", true, "MMCN_N_to_edit", "to", "0...100", "", "MMCN_FixedC_Group"},
          {"t", false, "MMCN_t_edit", "Time t:", "0 <= t <= 2500", "", "", "y=wait"}},
         {{"vary",
           {"c", "N"},
           {{"MMCN_X_RadioGroup",
             "Graph X-Axis",
             {"Vary the number of servers c for a fixed capacity N",
              "Vary the capacity N for a fixed number of servers c"}}}},
          {"y",
           {"prej", "wait"},
           {{"MMCN_Y_RadioGroup",
             "Graph Y-Axis",
             {"Rejection probabilities Prej", "Waiting time probabilities P{Wq>t} for fixed t"}}}}},
         false,
         false,
         false,
         "MMCN",
         "",
         "",
         "",
         {{"MMCN_FixedN_Group", "Fixed N, varying c", "vary=c"},
          {"MMCN_FixedC_Group", "Fixed c, varying N", "vary=N"}}},
        {Page::FinSrc,
         "Finite Source",
         "Finite Source Queue",
         "finsrc",
         170,
         RunFinSrc,
         {{.name = "c",
           .integer = true,
           .widget = "FinSrc_c_Edit",
           .label = "Number of servers c:",
           .follows = "service",
           .limitsByChoice = {"<= 500", "<= 250"}},
          {"m", true, "FinSrc_N_Edit", "Number of machines M:", "<= 1000"},
          {"nu", false, "FinSrc_nu_edit", "Failure rate nu:", "0.00001<=nu<=100"}},
         {{"service",
           {"exp", "det"},
           {{"FinSrc_Service_RadioGroup",
             "Service Type Machine Repair Queue",
             {"Exponential services", "Deterministic services"}}}},
          {"output",
           {"standard", "wait", "time-states", "customer-states", "graphs"},
           {{"FinSrc_Output_RadioGroup", "Output", {standard, waiting, timeStates, customerStates, graphs}}}},
          {"graph",
           {"wait", "time-states", "customer-states"},
           {{"FinSrc_Graph_RadioGroup",
             "Graphs",
             {"P{ Wq > t  |  Wq > 0 }", "P{ L(time) > n | L(time) > 0 }", "P{ L(cust) > n | L(cust) > 0 }"},
             {},
             "output=graphs"}}}},
         true,
         false,
         true,
         "FinSrc",
         "t-values (<= 1000)",
         "",
         "n-values"},
        {Page::MM1,
         "Transient M/M/1",
         "Transient M/M/1 Queue",
         "mm1",
         180,
         RunTransientMM1,
         {rho("MM1_Rho_edit", "<=0.99"),
          {"i", true, "MM1_initial_state_edit", "Initial state i:"},
          {"j", true, "MM1_end_state_edit", "End state j:", "<= 100", "", "", "output=table|p-graph|P-graph"},
          {"t", false, "MM1_t_edit", "t:", "0.01 <= t <= 1e6", "", "", "output!=table"}},
         {{"output",
           {"table", "p-graph", "P-graph", "mean-graph", "std-graph"},
           {{"MM1_Output_RadioGroup",
             "Output",
             {"Tables of moments of queue size", "Graph of state probabilities",
              "Graph of cumulative state probabilities", "Graph of mean queue size",
              "Graph of standard deviation queue size"}}}}},
         true,
         false,
         false,
         "MM1",
         "t-values (0.01 <= t <= 1e6)"},
    };
    return pages;
}

const PageInfo& PageOf(Page page) {
    return Pages()[static_cast<std::size_t>(page)];
}

bool Holds(const std::string& condition, const PageInput& input) {
    const std::size_t is = condition.find('=');
    if (is == std::string::npos) return true;
    const bool negated = is > 0 && condition[is - 1] == '!';
    const std::string chosen = input.Choice(condition.substr(0, negated ? is - 1 : is));
    bool named = false;
    for (std::size_t from = is + 1; from <= condition.size();) {
        const std::size_t bar = std::min(condition.find('|', from), condition.size());
        named = named || condition.compare(from, bar - from, chosen) == 0;
        from = bar + 1;
    }
    return named != negated;
}

char ValueListOf(const std::string& output) {
    if (output == "wait" || output == "table") return 't';
    if (output == "percentiles") return 'p';
    if (output == "states" || output == "time-states" || output == "customer-states") return 'n';
    return 0;
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
