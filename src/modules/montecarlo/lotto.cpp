#include "modules/montecarlo/lotto.h"

#include "common/numformat.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace tarvik::montecarlo {

void LottoState::Reset(int s, int r, int n) {
    balls = s;
    drawn = r;
    draws = n;
    counts.assign(static_cast<std::size_t>(s) + 1, 0);
    last.assign(static_cast<std::size_t>(s) + 1, 0);
    walk.assign(static_cast<std::size_t>(n) + 1, 0);
    current = 0;
}

double LottoState::deviation() const {
    const double p = static_cast<double>(drawn) / balls;
    return std::sqrt(draws * p * (1 - p));
}

std::vector<int> LottoState::ranking() const {
    std::vector<int> order(static_cast<std::size_t>(balls));
    std::iota(order.begin(), order.end(), 1);
    std::stable_sort(order.begin(), order.end(), [this](int a, int b) {
        return counts[static_cast<std::size_t>(a)] > counts[static_cast<std::size_t>(b)];
    });
    return order;
}

std::vector<int> LottoDraw(int balls, int drawn) {
    std::vector<int> urn(static_cast<std::size_t>(balls) + 1);
    std::iota(urn.begin(), urn.end(), 0);
    for (int q = balls; q >= 2; --q) {
        const int k = static_cast<int>(q * RandomReal()) + 1;
        std::swap(urn[static_cast<std::size_t>(k)], urn[static_cast<std::size_t>(q)]);
    }
    return {urn.begin() + 1, urn.begin() + 1 + drawn};
}

void RunLotto(LottoState& state, int from, Progress& progress,
              const std::function<void(int, const std::vector<int>&)>& onDraw) {
    for (int i = from; i <= state.draws; ++i) {
        progress.yield();
        if (progress.stopRequested()) return;
        state.current = i;
        const std::vector<int> balls = LottoDraw(state.balls, state.drawn);
        for (int b : balls) {
            ++state.counts[static_cast<std::size_t>(b)];
            state.last[static_cast<std::size_t>(b)] = i;
        }
        const auto [lo, hi] = std::minmax_element(state.counts.begin() + 1, state.counts.end());
        state.walk[static_cast<std::size_t>(i)] = *hi - *lo;
        if (onDraw) onDraw(i, balls);
    }
}

std::vector<StyledLine> LottoReport(const LottoState& s) {
    std::vector<StyledLine> lines;
    lines.push_back({StyledLine::Heading, "Lotto   (how often each number was drawn)"});
    lines.push_back({StyledLine::Heading, std::string(60, '_')});
    lines.push_back({StyledLine::Heading, ""});
    const auto plain = [&](std::string t) { lines.push_back({StyledLine::Courier, std::move(t)}); };
    plain(Format("Lotto r/s with r=%d and s=%d", s.drawn, s.balls));
    plain("Number of draws n=" + std::to_string(s.draws));
    plain("");
    plain("X=number of tims any given number is drawn");
    plain("Expectation of X :" + FormatGeneral(s.expectation(), 7));
    const std::string deviation = "Standard deviation of X";
    lines.push_back({StyledLine::Courier, deviation + FormatGeneral(s.deviation(), 5), deviation.size()});
    lines.push_back({StyledLine::BoldUnderline, ""});
    lines.push_back({StyledLine::BoldUnderline, "Actual number of times a given number is drawn"});
    plain("Number Count    Number Count     Number Count");
    plain("");
    std::string line;
    int inLine = 0;
    for (int ball : s.ranking()) {
        line += Format("%2d", ball) + "     " + std::to_string(s.counts[static_cast<std::size_t>(ball)]) +
                "       ";
        if (++inLine == 3) {
            plain(line);
            line.clear();
            inLine = 0;
        }
    }
    if (inLine > 0) plain(line);
    return lines;
}

} // namespace tarvik::montecarlo
