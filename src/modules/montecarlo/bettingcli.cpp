// Command-line runs of the betting experiments: St Petersburg, Kelly and the
// roulette systems.
#include "common/numformat.h"
#include "common/progress.h"
#include "modules/montecarlo/kelly.h"
#include "modules/montecarlo/mccli.h"
#include "modules/montecarlo/roulettesystems.h"
#include "modules/montecarlo/stpetersburg.h"

namespace tarvik::montecarlo::cli {

int RunStPetersburgCli(const Context& c) {
    const SppParams params{.m = c.spin("m", kSppM), .runs = c.spin("runs", kSppRuns)};
    c.startGenerators();
    Progress progress;
    const SppResult r = RunStPetersburg(params, ChooseStream(), progress);
    Line(c.out, "Average pay-out", r.averageText());
    Line(c.out, "95% BTI", r.intervalText());
    return 0;
}

int RunKellyCli(const Context& c) {
    KellyTexts texts;
    texts.races = c.spin("races", kKellyRaces);
    const auto p = c.list("probabilities");
    const auto u = c.list("payoffs");
    const auto f = c.list("fractions");
    if (p.size() < static_cast<std::size_t>(kKellyHorses.min) ||
        p.size() > static_cast<std::size_t>(kKellyHorses.max))
        throw Refusal{"--probabilities must list from 2 to 10 horses"};
    if (u.size() != p.size())
        throw Refusal{"--payoffs must list one value per horse (" + std::to_string(p.size()) + ")"};
    if (f.size() != p.size())
        throw Refusal{"--fractions must list one value per horse (" + std::to_string(p.size()) + ")"};
    texts.horses = static_cast<int>(p.size());
    for (std::size_t i = 0; i < p.size(); ++i) {
        texts.probabilities[i] = p[i];
        texts.payoffs[i] = u[i];
        texts.fractions[i] = f[i];
    }
    const auto checked = ValidateKelly(texts);
    if (const auto* e = std::get_if<KellyError>(&checked)) throw Refusal{e->message};
    c.startGenerators();
    const KellyRun run = RunKelly(std::get<KellyInput>(checked));
    if (run.kelly.allNegative) c.err << "All B-values are negative\n";
    for (const ReportLine& l : KellyReport(run)) c.out << l.text << "\n";
    Line(c.out, "end capital Kelly-strategy", KellyGraphCapital(run.kellyLog10));
    Line(c.out, "end capital Own strategy", KellyGraphCapital(run.ownLog10));
    return 0;
}

int RunRouletteRunCli(const Context& c) {
    const int start = c.spin("capital", kRouletteStart);
    const int desired = c.spin("desired", kRouletteDesired);
    if (auto problem = CheckRouletteRun(start, desired); !problem.empty()) throw Refusal{problem};
    c.startGenerators();
    const RouletteRealisation r = RunRouletteRealisation(start, desired);
    const RouletteRunData d = RouletteRunTexts(r);
    for (std::size_t s = 0; s < kSystems; ++s) {
        c.out << SystemName(static_cast<int>(s)) << "\n";
        Line(c.out, "Number of rounds played", d.rounds[s]);
        Line(c.out, "Total staked chips", d.staked[s]);
        Line(c.out, "Largest stake during game", d.largest[s]);
        Line(c.out, "End capital", std::to_string(r.systems[s].endCapital()));
    }
    return 0;
}

int RunRouletteDistCli(const Context& c) {
    const RouletteDistParams params{.start = c.spin("capital", kRouletteDistStart),
                                    .bets = c.spin("bets", kRouletteBets),
                                    .runs = c.spin("runs", kRouletteRuns)};
    c.startGenerators();
    Progress progress;
    const RouletteDistResult r = RunRouletteDistributions(params, progress);
    const RouletteDistData d = RouletteDistTexts(r);
    c.out << "Input\n";
    Line(c.out, "Starting capital ", std::to_string(params.start));
    Line(c.out, "Maximum number of bets per round", std::to_string(params.bets));
    Line(c.out, "Number of runs ", std::to_string(params.runs));
    c.out << "output\n";
    c.out << "Estimate expected value of end capital with 95% confidence interval\n";
    for (std::size_t s = 0; s < kSystems; ++s) Line(c.out, SystemName(static_cast<int>(s)), d.estimate[s]);
    c.out << "Profit/Loss figures\n";
    for (std::size_t s = 0; s < kSystems; ++s) {
        c.out << SystemName(static_cast<int>(s)) << "\n";
        Line(c.out, "Total number of staked chips", d.staked[s]);
        Line(c.out, "Total number of lost chips", d.lost[s]);
        Line(c.out, "Fraction lost chips", d.fractionLost[s]);
    }
    c.out << "Average number of bets per round\n";
    for (std::size_t s = 0; s < kSystems; ++s) Line(c.out, SystemName(static_cast<int>(s)), d.averageBets[s]);
    static const char* const panels[kSystems] = {"Big Martingale system", "D'Alembert system", "Flat system"};
    for (std::size_t s = 0; s < kSystems; ++s) {
        c.out << panels[s] << ": class, runs, relative frequency\n";
        const auto& sys = r.systems[s];
        for (std::size_t k = 0; k < sys.histogram.size(); ++k)
            c.out << k << " " << sys.histogram[k] << " " << FormatFixed(sys.frequencies[k], 6) << "\n";
    }
    return 0;
}

} // namespace tarvik::montecarlo::cli
