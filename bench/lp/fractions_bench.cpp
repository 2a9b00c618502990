// Speed of the tableaus in fractions: models at the size limit (30 rows, 30
// variables), dense, solved in exact arithmetic with every tableau printed.
// Prints the time of each run and the slowest; the aim is at most 0.5 s.
#include "modules/lp/lprun.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <random>
#include <sstream>
#include <string>

namespace lp = tarvik::lp;

namespace {

// 30 dense rows over 30 variables, every coefficient written with `decimals`
// decimals; `mixed` makes every third row ">=" and every fifth "=" (phase 1).
std::string Model(unsigned seed, int decimals, bool mixed) {
    std::mt19937 gen(seed);
    std::uniform_int_distribution<int> coef(1, 99), cost(1, 50), digit(0, 9);
    auto number = [&](int whole) {
        std::ostringstream s;
        s << whole;
        if (decimals) s << '.';
        for (int d = 0; d < decimals; ++d) s << digit(gen);
        return s.str();
    };
    std::ostringstream text;
    text << "max";
    for (int j = 1; j <= 30; ++j) text << (j > 1 ? " + " : " ") << number(cost(gen)) << "x" << j;
    text << ";\r\n";
    for (int i = 1; i <= 30; ++i) {
        for (int j = 1; j <= 30; ++j) text << (j > 1 ? " + " : "") << number(coef(gen)) << "x" << j;
        const char* rel = !mixed ? "<=" : i % 5 == 0 ? "=" : i % 3 == 0 ? ">=" : "<=";
        // The ">=" and "=" rows ask for little, so the model stays feasible.
        text << ' ' << rel << ' ' << (rel[0] == '<' ? 1000 + coef(gen) * 100 : 100 + coef(gen)) << ";\r\n";
    }
    return text.str();
}

} // namespace

int main() {
    struct Case {
        const char* name;
        int decimals;
        bool mixed;
        lp::OutputMode mode;
    };
    const Case cases[] = {
        {"whole numbers, <= rows, no tableaus", 0, false, lp::OutputMode::NoTableaus},
        {"whole numbers, <= rows, all tableaus", 0, false, lp::OutputMode::All},
        {"two decimals, <= rows, all tableaus", 2, false, lp::OutputMode::All},
        {"two decimals, mixed rows, no tableaus", 2, true, lp::OutputMode::NoTableaus},
        {"two decimals, mixed rows, all tableaus", 2, true, lp::OutputMode::All},
        {"four decimals, mixed rows, all tableaus", 4, true, lp::OutputMode::All},
    };
    double slowest = 0, slowestCpu = 0;
    for (const Case& c : cases) {
        for (unsigned seed = 1; seed <= 3; ++seed) {
            const std::string text = Model(seed, c.decimals, c.mixed);
            lp::LPSettings settings;
            settings.output = c.mode;
            settings.fractions = true;
            lp::LPProgress quiet;
            const auto start = std::chrono::steady_clock::now();
            const std::clock_t cpuStart = std::clock();
            lp::LPRunResult run = lp::RunLP(text, settings, quiet);
            const double seconds =
                std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            const double cpu = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
            slowest = std::max(slowest, seconds);
            slowestCpu = std::max(slowestCpu, cpu);
            std::printf(
                "30x30 fractions, %-40s seed %u: %6.3f s (processor %6.3f s), %3ld pivots, %6zu KB, %s\n",
                c.name, seed, seconds, cpu, run.iterations, run.output.size() / 1024, run.message.c_str());
        }
    }
    std::printf("slowest 30x30 fraction run: %.3f s, processor time %.3f s (aim: at most 0.5 s)\n", slowest,
                slowestCpu);
    return 0;
}
