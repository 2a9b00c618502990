// Command-line runs of the scratch lottery and the lotto.
#include "common/progress.h"
#include "modules/montecarlo/lotto.h"
#include "modules/montecarlo/mccli.h"
#include "modules/montecarlo/scratch.h"

namespace tarvik::montecarlo::cli {

int RunScratchCli(const Context& c) {
    const int tickets = c.spin("tickets", kScratchTickets);
    const int weeks = c.spin("weeks", kScratchWeeks);
    if (const auto refused = CheckScratch(tickets, weeks)) throw Refusal{refused->message};
    c.startGenerators();
    Progress progress;
    c.out << ScratchReport(RunScratch(tickets, weeks, progress));
    return 0;
}

int RunLottoCli(const Context& c) {
    const int balls = c.spin("balls", kLottoBalls);
    const int drawn = c.spin("drawn", kLottoDrawn);
    const int draws = c.spin("draws", kLottoDraws);
    c.startGenerators();
    LottoState state;
    state.Reset(balls, drawn, draws);
    Progress progress;
    RunLotto(state, 1, progress);
    for (const StyledLine& l : LottoReport(state)) c.out << l.text << "\n";
    c.out << "\nHow many draws ago the number was drawn for the last time\n";
    for (int k = 1; k <= balls; ++k) c.out << k << ": " << state.age(k) << "\n";
    Line(c.out, "Difference between the most and least drawn numbers",
         std::to_string(state.walk[static_cast<std::size_t>(draws)]));
    return 0;
}

} // namespace tarvik::montecarlo::cli
