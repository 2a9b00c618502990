// Every kernel at a fixed seed, with and without the live graph: the results
// text, the totals and the samples stay those stored in tests/data/simulation/seeded.txt,
// so every random draw comes in the same order. TARVIK_WRITE_SEEDED=1 writes
// the file anew.
#include "common/random.h"
#include "modules/simulation/simkernels.h"
#include "modules/simulation/simreport.h"
#include "modules/simulation/simtheorytext.h"
#include "simtesting.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tarvik::simulation {
namespace {

std::string Fingerprint(const test::RecordingObserver& rec) {
    long long actual = 0;
    double average = 0;
    for (const auto& s : rec.samples) {
        actual += s.actual;
        average += s.average;
    }
    std::ostringstream o;
    o.precision(17);
    o << "samples " << rec.samples.size() << " " << actual << " " << average << "\n";
    return o.str();
}

// The run's totals to the last digit.
std::string Totals(const Outcome& out) {
    std::ostringstream o;
    o.precision(17);
    o << "events " << out.events << "\n";
    for (const Station& s : out.station)
        o << "station " << s.customers << " " << s.delayed << " " << s.totalDelay << " " << s.totalSojourn
          << " " << s.queueAreaL << " " << s.busyAreaL << "\n";
    o << "pooled " << out.serverAreaL[0] << " " << out.serverAreaL[1] << " " << out.typeCustomers[0] << " "
      << out.typeCustomers[1] << " " << out.pooledCustomers << "\n";
    for (const auto& system : out.types)
        for (const TypeTotals& t : system)
            o << "type " << t.customers << " " << t.delay << " " << t.sojourn << "\n";
    return o.str();
}

// The text of one run and the samples of the same run with the live graph.
template <class Settings, class Kernel>
std::string Seeded(std::uint32_t seed, const Settings& set, Kernel kernel,
                   ResultsText (*results)(const Settings&, const Outcome*)) {
    Progress p;
    NullObserver none;
    RandSeed = seed;
    const Outcome plain = kernel(set, p, none);
    test::RecordingObserver rec;
    RandSeed = seed;
    const Outcome watched = kernel(set, p, rec);
    const ResultsText a = results(set, &plain), b = results(set, &watched);
    const std::string text = ResultsToText(a) + TheoryToText(a);
    EXPECT_EQ(text, ResultsToText(b) + TheoryToText(b));
    EXPECT_EQ(Totals(plain), Totals(watched));
    return text + Totals(plain) + Fingerprint(rec);
}

#define KERNEL(name) [](const auto& s, Progress& p, auto& o) { return name(s, p, o); }

// Seeds 101, 102, ... in the order of the runs.
template <class Settings, class Kernel>
void SeededAll(std::string& all, std::uint32_t& seed, std::initializer_list<Settings> runs, Kernel kernel,
               ResultsText (*results)(const Settings&, const Outcome*)) {
    for (const Settings& set : runs) {
        ++seed;
        all += "== seed " + std::to_string(seed) + "\n" + Seeded(seed, set, kernel, results);
    }
}

TEST(SeededRuns, GiveTheStoredTextsAndSamples) {
    std::string all;
    std::uint32_t seed = 100;
    SeededAll<SingleSettings>(all, seed,
                              {{.length = 3000, .initial = 5},
                               {.length = 3000, .detArrivals = true},
                               {.length = 3000, .detService = true}},
                              KERNEL(RunSingleKernel), SingleResults);
    SeededAll<CompareSettings>(
        all, seed, {{.length = 3000, .initial = 3}, {.deterministicService = false, .length = 3000}},
        KERNEL(RunCompareKernel), CompareResults);
    SeededAll<VaryingLoadSettings>(all, seed, {{.length = 3000, .initial = 2}}, KERNEL(RunVaryingLoadKernel),
                                   VaryingLoadResults);
    SeededAll<PoolingSettings>(
        all, seed, {{.lambda2 = 0.7, .mu2 = 1.1, .length = 3000}, {.detService = true, .length = 3000}},
        KERNEL(RunPoolingKernel), PoolingResults);
    SeededAll<TandemSettings>(
        all, seed, {{.length = 3000}, {.mu2 = 1.5, .detArrivals = true, .detService1 = true, .length = 3000}},
        KERNEL(RunTandemKernel), TandemResults);
    SeededAll<PrioritySettings>(all, seed,
                                {{.lambda2 = 0.8, .length = 3000}, {.detService1 = true, .length = 3000}},
                                KERNEL(RunPriorityKernel), PriorityResults);

    const std::string path = std::string(TARVIK_TEST_DATA) + "/simulation/seeded.txt";
    if (std::getenv("TARVIK_WRITE_SEEDED")) std::ofstream(path, std::ios::binary) << all;
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::ostringstream stored;
    stored << in.rdbuf();
    EXPECT_EQ(all, stored.str());
}

} // namespace
} // namespace tarvik::simulation
