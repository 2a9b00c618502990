#include "modules/ip/nodelog.h"

#include "common/csv.h"
#include "common/numformat.h"
#include "modules/ip/mipsolver.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace tarvik::ip {

namespace {

const std::vector<std::string> kColumns = {"node",     "parent",  "depth",    "branch",
                                           "lp_value", "outcome", "incumbent"};

// A branching bound is a whole number.
std::string Whole(double value) {
    if (std::fabs(value) < 1e15) return std::to_string(static_cast<long long>(std::llround(value)));
    return FormatGeneral(value, 15);
}

} // namespace

std::string SearchName(const SearchOptions& options) {
    if (!options.faster()) return "Default search";
    std::string features;
    auto add = [&](bool on, const char* text) {
        if (!on) return;
        if (!features.empty()) features += ", ";
        features += text;
    };
    add(options.roundBounds, "bound rounding");
    add(options.reducedCostFixing, "reduced-cost fixing");
    add(options.roundingHeuristic, "rounding heuristic");
    add(options.rootCuts || options.mirCuts, "cutting planes");
    add(options.bestBound, "best-bound search");
    add(options.pseudoCosts, "pseudo-costs");
    return "Faster search (" + features + ")";
}

const char* OutcomeName(NodeOutcome outcome) {
    switch (outcome) {
    case NodeOutcome::Branched:
        return "branched";
    case NodeOutcome::Pruned:
        return "pruned";
    case NodeOutcome::Infeasible:
        return "infeasible";
    case NodeOutcome::Integral:
        return "integral";
    case NodeOutcome::Unbounded:
        return "unbounded";
    case NodeOutcome::Stopped:
        break;
    }
    return "stopped";
}

std::string Value4(double value) {
    std::string text = FormatFixed(value, 4);
    if (text == "-0.0000") text = "0.0000";
    return text;
}

void NodeLog::begin(const MIPModel& model, const SearchOptions& search) {
    clear();
    minimize_ = model.minimize;
    faster_ = search.faster();
    searchName_ = SearchName(search);
    names_ = model.names;
    names_.resize(static_cast<std::size_t>(model.n) + 1);
    integer_ = model.integer;
    integer_.resize(names_.size(), false);
    upper_.assign(names_.size(), kInfinity);
    for (int j = 1; j <= model.n && j < static_cast<int>(model.upper.size()); ++j)
        if (model.upper[j] >= 0) upper_[j] = model.upper[j];
}

void NodeLog::clear() {
    nodes_.clear();
    storeVar_.clear();
    storeValue_.clear();
    counts_ = {};
    total_ = pivots_ = 0;
    maxDepth_ = lastKept_ = incumbentNode_ = 0;
    finished_ = stopped_ = false;
    status_ = 0;
    minimize_ = faster_ = false;
    searchName_.clear();
    names_.clear();
    integer_.clear();
    upper_.clear();
}

int NodeLog::add(const NodeRecord& node, const double* values, int n, const std::vector<VarValue>& fixes) {
    ++total_;
    pivots_ += node.pivots;
    ++counts_[static_cast<int>(node.outcome)];
    maxDepth_ = std::max(maxDepth_, node.depth);
    const int number = static_cast<int>(std::min<long>(total_, maxNodes_ + 1));
    if (static_cast<long>(nodes_.size()) >= maxNodes_) {
        lastKept_ = 0;
        return number;
    }
    nodes_.push_back(node);
    NodeRecord& record = nodes_.back();
    record.number = number;
    record.child[0] = record.child[1] = 0;
    if (kept(record.parent))
        nodes_[static_cast<std::size_t>(record.parent - 1)].child[record.branch.up ? 1 : 0] = number;
    record.solutionKept = false;
    record.valuesAt = record.valuesCount = record.fixesAt = record.fixesCount = 0;
    if (values && n <= 65535) {
        // The nonzero values and the fixings, taken back when they overrun the bound.
        const std::size_t at = storeVar_.size();
        for (int j = 0; j < n; ++j)
            if (values[j] != 0) {
                storeVar_.push_back(static_cast<std::uint16_t>(j + 1));
                storeValue_.push_back(values[j]);
            }
        const std::size_t fixesAt = storeVar_.size();
        for (const VarValue& f : fixes) {
            storeVar_.push_back(static_cast<std::uint16_t>(f.var));
            storeValue_.push_back(f.value);
        }
        if (static_cast<long>(storeVar_.size()) <= maxValues_) {
            record.solutionKept = true;
            record.valuesAt = static_cast<std::uint32_t>(at);
            record.valuesCount = static_cast<std::uint32_t>(fixesAt - at);
            record.fixesAt = static_cast<std::uint32_t>(fixesAt);
            record.fixesCount = static_cast<std::uint32_t>(fixes.size());
        } else {
            storeVar_.resize(at);
            storeValue_.resize(at);
        }
    }
    lastKept_ = number;
    if (record.newIncumbent) incumbentNode_ = number;
    return number;
}

void NodeLog::end(int status, bool stopped) {
    finished_ = true;
    status_ = status;
    stopped_ = stopped;
}

std::vector<VarValue> NodeLog::stored(std::uint32_t at, std::uint32_t count) const {
    std::vector<VarValue> result;
    for (std::uint32_t k = at; k < at + count; ++k)
        result.push_back({.var = storeVar_[k], .value = storeValue_[k]});
    return result;
}

std::vector<VarValue> NodeLog::solution(int number) const {
    if (!kept(number)) return {};
    return stored(node(number).valuesAt, node(number).valuesCount);
}

std::vector<VarValue> NodeLog::fixes(int number) const {
    if (!kept(number)) return {};
    return stored(node(number).fixesAt, node(number).fixesCount);
}

std::vector<NodeLog::Bounds> NodeLog::bounds(int number) const {
    std::map<int, Bounds> changed;
    auto entry = [&](int var) -> Bounds& {
        auto [it, fresh] = changed.try_emplace(var);
        if (fresh) it->second = {.var = var, .lower = 0, .upper = modelUpper(var)};
        return it->second;
    };
    if (!kept(number)) return {};
    for (int k = number; k != 0; k = node(k).parent) {
        const NodeRecord& r = node(k);
        if (r.branch.var != 0) {
            Bounds& b = entry(r.branch.var);
            if (r.branch.up)
                b.lower = std::max(b.lower, r.branch.bound);
            else
                b.upper = std::min(b.upper, r.branch.bound);
        }
        if (k == number) continue; // a node's own fixings hold below it
        for (const VarValue& f : fixes(k)) {
            Bounds& b = entry(f.var);
            b.lower = b.upper = f.value;
        }
    }
    std::vector<Bounds> result;
    for (const auto& [var, b] : changed) result.push_back(b);
    return result;
}

std::string BranchText(const NodeLog& log, const NodeBranch& branch, bool pretty) {
    if (branch.var == 0) return "-";
    const char* relation = pretty ? (branch.up ? " \u2265 " : " \u2264 ") : (branch.up ? ">=" : "<=");
    return log.name(branch.var) + relation + Whole(branch.bound);
}

std::vector<std::string> NodeTableFields(const NodeLog& log, const NodeRecord& node) {
    std::string value = node.hasValue                             ? Value4(log.ownSense(node.value))
                        : node.outcome == NodeOutcome::Infeasible ? "infeasible"
                                                                  : "-";
    return {std::to_string(node.number),
            node.parent == 0 ? "-" : std::to_string(node.parent),
            std::to_string(node.depth),
            BranchText(log, node.branch),
            value,
            OutcomeName(node.outcome),
            node.haveIncumbent ? Value4(log.ownSense(node.incumbent)) : "-"};
}

std::string NodeTableText(const NodeLog& log, const std::string& eol) {
    std::string out;
    out.reserve(64 * (log.nodes().size() + 2));
    auto line = [&](const std::vector<std::string>& fields) {
        for (std::size_t i = 0; i < fields.size(); ++i) {
            if (i > 0) out += '\t';
            out += fields[i];
        }
        out += eol;
    };
    line(kColumns);
    for (const NodeRecord& node : log.nodes()) line(NodeTableFields(log, node));
    if (log.notKept() > 0)
        out += "# " + std::to_string(log.notKept()) +
               " more nodes are counted only: the log keeps the first " + std::to_string(log.maxNodes()) +
               eol;
    out += "nodes " + std::to_string(log.total()) + "\tpivots " + std::to_string(log.pivots()) + eol;
    return out;
}

std::string NodeTableCsv(const NodeLog& log) {
    std::string out = CsvRecord(kColumns);
    for (const NodeRecord& node : log.nodes()) out += CsvRecord(NodeTableFields(log, node));
    return out;
}

} // namespace tarvik::ip
