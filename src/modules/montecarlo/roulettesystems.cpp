#include "modules/montecarlo/roulettesystems.h"

#include "common/numformat.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tarvik::montecarlo {

const char* SystemName(int system) {
    static const char* const names[kSystems] = {"Big-Martingale", "D'Alembert", "Flat"};
    return names[system];
}

bool RouletteSpin() {
    return RandomInt(37) + 1 <= 18;
}

int NextStake(int system, int stake, bool won, int capital) {
    switch (static_cast<RouletteSystem>(system)) {
    case RouletteSystem::BigMartingale:
        return won ? 1 : std::min(capital, 2 * stake + 1);
    case RouletteSystem::DAlembert:
        return won ? std::max(stake - 1, 1) : std::min(capital, stake + 1);
    case RouletteSystem::Flat:
        break;
    }
    return 1;
}

int RouletteRealisation::longest() const {
    int l = 0;
    for (const auto& s : systems) l = std::max(l, s.rounds);
    return l;
}

std::string CheckRouletteRun(int start, int desired) {
    if (start >= desired) return "Starting capital must be smaller then desired capital";
    return {};
}

RouletteRealisation RunRouletteRealisation(int start, int desired) {
    RouletteRealisation r;
    r.start = start;
    r.desired = desired;
    std::array<int, kSystems> stake{1, 1, 1};
    std::array<int, kSystems> capital{start, start, start};
    std::array<bool, kSystems> active{true, true, true};
    for (auto& s : r.systems) s.capital.push_back(start);
    int flatLimit = kRouletteMaxRounds;
    for (int i = 1; i <= kRouletteMaxRounds; ++i) {
        if (!active[0] && !active[1] && !active[2]) break;
        if (i > flatLimit) break;
        for (int s = 0; s < kSystems; ++s) {
            if (!active[static_cast<std::size_t>(s)]) continue;
            auto& sys = r.systems[static_cast<std::size_t>(s)];
            sys.rounds += 1;
            sys.staked += stake[static_cast<std::size_t>(s)];
            sys.largestStake = std::max(sys.largestStake, stake[static_cast<std::size_t>(s)]);
        }
        const bool won = RouletteSpin();
        for (int s = 0; s < kSystems; ++s) {
            const auto k = static_cast<std::size_t>(s);
            if (!active[k]) continue;
            capital[k] = won ? std::min(capital[k] + stake[k], desired) : capital[k] - stake[k];
            stake[k] = NextStake(s, stake[k], won, capital[k]);
            r.systems[k].capital.push_back(capital[k]);
            if (capital[k] >= desired || capital[k] <= 0) active[k] = false;
        }
        // Once both progressive systems have stopped, Flat plays at most as
        // many rounds again.
        if (!active[0] && !active[1] && flatLimit == kRouletteMaxRounds)
            flatLimit = std::min(kRouletteMaxRounds, 2 * i);
    }
    return r;
}

RouletteRunData RouletteRunTexts(const RouletteRealisation& r) {
    RouletteRunData d;
    for (std::size_t s = 0; s < kSystems; ++s) {
        d.rounds[s] = std::to_string(r.systems[s].rounds);
        d.staked[s] = std::to_string(r.systems[s].staked);
        d.largest[s] = std::to_string(r.systems[s].largestStake);
    }
    return d;
}

RouletteDistResult RunRouletteDistributions(const RouletteDistParams& params, Progress& progress,
                                            const std::function<void(int)>& onPercent) {
    RouletteDistResult res;
    res.params = params;
    const int S = params.start;
    const int classes = 3 * S + 1;
    for (auto& s : res.systems) s.histogram.assign(static_cast<std::size_t>(classes), 0);
    const int step = std::max(1, static_cast<int>(std::lround(params.runs / 100.0)));
    for (int r = 1; r <= params.runs; ++r) {
        if (progress.stopRequested()) break;
        std::array<int, kSystems> capital{S, S, S};
        std::array<int, kSystems> stake{1, 1, 1};
        std::array<int, kSystems> ruinedAt{params.bets, params.bets, params.bets};
        std::array<bool, kSystems> ruined{false, false, false};
        for (int j = 1; j <= params.bets; ++j) {
            const bool won = RouletteSpin();
            for (int s = 0; s < kSystems; ++s) {
                const auto k = static_cast<std::size_t>(s);
                auto& sys = res.systems[k];
                sys.staked += stake[k];
                if (won) {
                    capital[k] += stake[k];
                    sys.lost -= stake[k];
                } else {
                    capital[k] = std::max(0, capital[k] - stake[k]);
                    sys.lost += stake[k];
                }
                stake[k] = NextStake(s, stake[k], won, capital[k]);
                if (capital[k] == 0) {
                    stake[k] = 0;
                    if (!ruined[k]) {
                        ruined[k] = true;
                        ruinedAt[k] = j;
                    }
                }
            }
            progress.yield();
        }
        if (onPercent && r % step == 0) onPercent(static_cast<int>(std::lround(100.0 * r / params.runs)));
        const long double rr = r;
        for (std::size_t k = 0; k < kSystems; ++k) {
            auto& sys = res.systems[k];
            const long double c = capital[k];
            sys.mean = sys.mean * (rr - 1) / rr + c / rr;
            sys.meanOfSquares = sys.meanOfSquares * (rr - 1) / rr + c * c / rr;
            sys.betsUntilRuin += ruinedAt[k];
            sys.histogram[static_cast<std::size_t>(std::min(capital[k], 3 * S))] += 1;
        }
        res.completed = r;
    }
    for (auto& sys : res.systems) {
        sys.frequencies.assign(sys.histogram.size(), 0.0);
        if (res.completed > 0)
            for (std::size_t c = 0; c < sys.histogram.size(); ++c)
                sys.frequencies[c] = static_cast<double>(sys.histogram[c]) / res.completed;
    }
    return res;
}

RouletteDistData RouletteDistTexts(const RouletteDistResult& r) {
    RouletteDistData d;
    for (std::size_t k = 0; k < kSystems; ++k) {
        const auto& sys = r.systems[k];
        if (r.completed == 0) {
            d.estimate[k] = d.averageBets[k] = d.fractionLost[k] = "-";
        } else {
            const Interval i = MeanInterval(static_cast<double>(sys.mean),
                                            static_cast<double>(sys.meanOfSquares), r.completed);
            d.estimate[k] = FormatFixed(static_cast<double>(sys.mean), 4) + "      [" +
                            FormatFixed(i.lower, 4) + "," + FormatFixed(i.upper, 4) + "]";
            d.averageBets[k] = FormatFixed(static_cast<double>(sys.betsUntilRuin) / r.completed, 4);
            d.fractionLost[k] =
                sys.staked > 0
                    ? FormatFixed(static_cast<double>(sys.lost) / static_cast<double>(sys.staked), 4)
                    : "-";
        }
        d.staked[k] = std::to_string(sys.staked);
        d.lost[k] = std::to_string(sys.lost);
    }
    return d;
}

int LogBarHeight(double frequency) {
    if (frequency <= 0) return -1;
    return std::max(0, static_cast<int>(std::lround((std::log10(frequency) + 4) * 22)));
}

namespace {

void ReportLine(std::ostringstream& out, const std::string& label, const std::string& value) {
    out << label << ": " << value << "\n";
}

} // namespace

std::string RouletteRunReport(const RouletteRealisation& r) {
    const RouletteRunData d = RouletteRunTexts(r);
    std::ostringstream out;
    for (std::size_t s = 0; s < kSystems; ++s) {
        out << SystemName(static_cast<int>(s)) << "\n";
        ReportLine(out, "Number of rounds played", d.rounds[s]);
        ReportLine(out, "Total staked chips", d.staked[s]);
        ReportLine(out, "Largest stake during game", d.largest[s]);
        ReportLine(out, "End capital", std::to_string(r.systems[s].endCapital()));
    }
    return out.str();
}

std::string RouletteDistReport(const RouletteDistResult& r) {
    const RouletteDistData d = RouletteDistTexts(r);
    std::ostringstream out;
    out << "Input\n";
    ReportLine(out, "Starting capital ", std::to_string(r.params.start));
    ReportLine(out, "Maximum number of bets per round", std::to_string(r.params.bets));
    ReportLine(out, "Number of runs ", std::to_string(r.params.runs));
    out << "output\n";
    out << "Estimate expected value of end capital with 95% confidence interval\n";
    for (std::size_t s = 0; s < kSystems; ++s)
        ReportLine(out, SystemName(static_cast<int>(s)), d.estimate[s]);
    out << "Profit/Loss figures\n";
    for (std::size_t s = 0; s < kSystems; ++s) {
        out << SystemName(static_cast<int>(s)) << "\n";
        ReportLine(out, "Total number of staked chips", d.staked[s]);
        ReportLine(out, "Total number of lost chips", d.lost[s]);
        ReportLine(out, "Fraction lost chips", d.fractionLost[s]);
    }
    out << "Average number of bets per round\n";
    for (std::size_t s = 0; s < kSystems; ++s)
        ReportLine(out, SystemName(static_cast<int>(s)), d.averageBets[s]);
    static const char* const panels[kSystems] = {"Big Martingale system", "D'Alembert system", "Flat system"};
    for (std::size_t s = 0; s < kSystems; ++s) {
        out << panels[s] << ": class, runs, relative frequency\n";
        const auto& sys = r.systems[s];
        for (std::size_t k = 0; k < sys.histogram.size(); ++k)
            out << k << " " << sys.histogram[k] << " " << FormatFixed(sys.frequencies[k], 6) << "\n";
    }
    return out.str();
}

} // namespace tarvik::montecarlo
