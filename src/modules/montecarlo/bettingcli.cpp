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
    c.out << RouletteRunReport(RunRouletteRealisation(start, desired));
    return 0;
}

int RunRouletteDistCli(const Context& c) {
    const RouletteDistParams params{.start = c.spin("capital", kRouletteDistStart),
                                    .bets = c.spin("bets", kRouletteBets),
                                    .runs = c.spin("runs", kRouletteRuns)};
    c.startGenerators();
    Progress progress;
    c.out << RouletteDistReport(RunRouletteDistributions(params, progress));
    return 0;
}

} // namespace tarvik::montecarlo::cli
