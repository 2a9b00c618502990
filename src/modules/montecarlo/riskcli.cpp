// Command-line runs of Benford's law, the newsboy problem and Legio risk.
#include "common/numformat.h"
#include "common/progress.h"
#include "modules/montecarlo/benford.h"
#include "modules/montecarlo/legio.h"
#include "modules/montecarlo/mccli.h"
#include "modules/montecarlo/newsboy.h"

namespace tarvik::montecarlo::cli {

namespace {

void Report(std::ostream& out, const std::vector<StyledLine>& lines) {
    for (const StyledLine& l : lines) out << l.text << "\n";
}

const char* NewsboyOption(NewsboyField f) {
    switch (f) {
    case NewsboyField::Q1:
        return "--q1";
    case NewsboyField::Q2:
        return "--q2";
    case NewsboyField::Price:
        return "--price";
    case NewsboyField::Salvage:
        return "--salvage";
    case NewsboyField::Penalty:
        return "--penalty";
    case NewsboyField::Runs:
        return "--runs";
    case NewsboyField::UniformA:
    case NewsboyField::UniformB:
        return "--uniform";
    case NewsboyField::TriangularA:
    case NewsboyField::TriangularB:
    case NewsboyField::TriangularM:
        return "--triangular";
    case NewsboyField::Own:
        return "--own";
    }
    return "";
}

} // namespace

int RunBenfordCli(const Context& c) {
    const std::vector<std::string> texts = c.list("bounds");
    if (texts.empty() || static_cast<int>(texts.size()) > kBenfordIntervals.max)
        throw Refusal{"--bounds needs 1 to 10 upper bounds, separated by commas"};
    std::vector<std::int64_t> bounds;
    if (const auto refused = CheckBenfordBounds(texts, bounds))
        throw Refusal{"Interval" + std::to_string(refused->index + 1) + ": " + refused->message};
    const int draws = c.spin("draws", kBenfordDraws);
    c.startGenerators();
    Progress progress;
    const BenfordResult r = RunBenford({.bounds = bounds, .draws = draws}, ChooseStream(), progress);
    c.out << "Digit  Count  Share  Benford\n";
    for (int d = 1; d <= 9; ++d)
        c.out << d << "  " << r.counts[static_cast<std::size_t>(d)] << "  " << FormatFixed(r.share(d), 4)
              << "  " << FormatFixed(BenfordProbability(d), 4) << "\n";
    Line(c.out, "Simulations", std::to_string(r.draws));
    return 0;
}

int RunNewsboyCli(const Context& c) {
    NewsboyTexts t;
    t.q1 = c.text("q1", t.q1);
    t.q2 = c.text("q2", t.q2);
    t.price = c.text("price", t.price);
    t.salvage = c.text("salvage", t.salvage);
    t.penalty = c.text("penalty", t.penalty);
    t.runs = c.text("runs", t.runs);
    t.bins = c.spin("bins", kNewsboyBins);
    const int chosen = int(c.has("uniform")) + int(c.has("triangular")) + int(c.has("own"));
    if (chosen > 1) throw Refusal{"Give one of --uniform, --triangular and --own"};
    if (c.has("triangular")) {
        const auto v = c.list("triangular");
        if (v.size() != 3) throw Refusal{"--triangular needs A,B,M"};
        t.distribution = NewsboyDistribution::Triangular;
        t.triangularA = v[0];
        t.triangularB = v[1];
        t.triangularM = v[2];
    } else if (c.has("own")) {
        const auto v = c.list("own");
        if (v.size() != kNewsboyOwnDemands) throw Refusal{"--own needs the eleven probabilities P0,...,P10"};
        t.distribution = NewsboyDistribution::Own;
        for (std::size_t i = 0; i < v.size(); ++i) t.own[i] = v[i];
    } else if (c.has("uniform")) {
        const auto v = c.list("uniform");
        if (v.size() != 2) throw Refusal{"--uniform needs A,B"};
        t.uniformA = v[0];
        t.uniformB = v[1];
    }
    const NewsboyCheck check = CheckNewsboy(t);
    if (!check.params) {
        std::string where = NewsboyOption(check.field);
        if (check.field == NewsboyField::Own)
            where += " (probability of demand " + std::to_string(check.ownColumn) + ")";
        throw Refusal{check.message.empty() ? "Not a number: " + where : where + ": " + check.message};
    }
    c.startGenerators();
    Report(c.out, NewsboyReport(RunNewsboy(*check.params)));
    return 0;
}

int RunLegioCli(const Context& c) {
    LegioTexts t;
    const std::string term = c.text("term", "20");
    if (term != "10" && term != "15" && term != "20") throw Refusal{"--term must be 10, 15 or 20"};
    t.term = std::stoi(term);
    t.rate = c.text("rate", t.rate);
    t.same = c.text("same", t.same);
    t.fluctuation = c.text("fluctuation", t.fluctuation);
    t.runs = c.text("runs", t.runs);
    // Without a withdrawal the largest one, as the window fills it in.
    t.withdrawal = c.text("withdrawal", LegioWithdrawalTexts(t.rate, t.term).field);
    const LegioCheck check = CheckLegio(t);
    if (!check.params) throw Refusal{check.message};
    c.startGenerators();
    Progress progress;
    const LegioResult r = RunLegio(*check.params, progress);
    for (const std::string& line : r.pictureTexts()) c.out << line << "\n";
    c.out << "Class  after " << r.years[0] << " years  after " << r.years[1] << " years\n";
    for (int k = 0; k < kLegioClasses; ++k)
        c.out << LegioClassLabel(k) << "  " << FormatFixed(r.percentage(0, k), 2) << "%  "
              << FormatFixed(r.percentage(1, k), 2) << "%\n";
    return 0;
}

} // namespace tarvik::montecarlo::cli
