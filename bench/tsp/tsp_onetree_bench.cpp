// The exact tour with the 1-tree bound: the 48 capitals and Dantzig's 42
// cities (in their own coordinates), and twenty seeded 50-city placements of
// the map, each solved to the end; processor time, wall time, search nodes
// and nodes per processor second. Also prints the optimal lengths.
#include "common/random.h"
#include "modules/tsp/tspcities.h"
#include "modules/tsp/tsponetree.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

namespace {

using namespace tarvik::tsp;

struct Timing {
    double cpu = 0, wall = 0;
    ExactResult result;
};

Timing Solve(const Cities& cities) {
    DistanceTable d(cities);
    SearchProgress progress;
    Timing t;
    const std::clock_t c0 = std::clock();
    const auto w0 = std::chrono::steady_clock::now();
    t.result = OneTreeBranchAndBound(cities, d, kInf, progress);
    t.cpu = static_cast<double>(std::clock() - c0) / CLOCKS_PER_SEC;
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
    return t;
}

void Print(const std::string& name, const Timing& t) {
    std::printf("%-22s length %.4f  %s  processor %.3f s  wall %.3f s  nodes %llu  nodes/s %.0f\n",
                name.c_str(), t.result.best, t.result.found && !t.result.cancelled ? "proven" : "NOT PROVEN",
                t.cpu, t.wall, static_cast<unsigned long long>(t.result.nodes),
                t.cpu > 0 ? static_cast<double>(t.result.nodes) / t.cpu : 0.0);
}

} // namespace

int main(int argc, char** argv) {
    const int placements = argc > 1 ? std::atoi(argv[1]) : 20;
    for (const char* set : {"att48", "dantzig42"}) {
        const CityFileResult read = ReadCityFile(std::string(TARVIK_TEST_DATA) + "/tsp/" + set + ".txt");
        if (!read.ok) {
            std::fprintf(stderr, "%s\n", read.message.c_str());
            return 1;
        }
        Print(set, Solve(read.cities));
    }
    std::vector<double> cpu, wall;
    std::uint64_t nodes = 0;
    double cpuSum = 0;
    for (int k = 1; k <= placements; ++k) {
        tarvik::RandSeed = static_cast<std::uint32_t>(k * 1000);
        const Cities cities = PlaceRandomCities(50);
        const Timing t = Solve(cities);
        Print("50 cities, seed " + std::to_string(k * 1000), t);
        cpu.push_back(t.cpu);
        wall.push_back(t.wall);
        nodes += t.result.nodes;
        cpuSum += t.cpu;
    }
    if (cpu.empty()) return 0;
    std::sort(cpu.begin(), cpu.end());
    std::sort(wall.begin(), wall.end());
    const std::size_t mid = cpu.size() / 2;
    auto median = [&](const std::vector<double>& v) {
        return v.size() % 2 ? v[mid] : (v[mid - 1] + v[mid]) / 2;
    };
    std::printf("50 cities, %zu placements: processor median %.3f s, worst %.3f s; wall median %.3f s, worst "
                "%.3f s; %.0f nodes per processor second\n",
                cpu.size(), median(cpu), cpu.back(), median(wall), wall.back(),
                cpuSum > 0 ? static_cast<double>(nodes) / cpuSum : 0.0);
    return 0;
}
