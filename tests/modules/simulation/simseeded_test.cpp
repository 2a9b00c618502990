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
#include <functional>
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

const std::vector<std::pair<std::string, std::function<std::string()>>>& Cases() {
    static const std::vector<std::pair<std::string, std::function<std::string()>>> cases = {
        {"single M/M/1 with 5 waiting",
         [] {
             return Seeded(101, SingleSettings{.length = 3000, .initial = 5}, KERNEL(RunSingleKernel),
                           SingleResults);
         }},
        {"single D/M/1",
         [] {
             return Seeded(102, SingleSettings{.length = 3000, .detArrivals = true}, KERNEL(RunSingleKernel),
                           SingleResults);
         }},
        {"single M/D/1",
         [] {
             return Seeded(103, SingleSettings{.length = 3000, .detService = true}, KERNEL(RunSingleKernel),
                           SingleResults);
         }},
        {"compare M/D/1 with 3 waiting",
         [] {
             return Seeded(104, CompareSettings{.length = 3000, .initial = 3}, KERNEL(RunCompareKernel),
                           CompareResults);
         }},
        {"compare D/M/1",
         [] {
             return Seeded(105, CompareSettings{.deterministicService = false, .length = 3000},
                           KERNEL(RunCompareKernel), CompareResults);
         }},
        {"varying load",
         [] {
             return Seeded(106, VaryingLoadSettings{.length = 3000, .initial = 2},
                           KERNEL(RunVaryingLoadKernel), VaryingLoadResults);
         }},
        {"pooling exponential",
         [] {
             return Seeded(107, PoolingSettings{.lambda2 = 0.7, .mu2 = 1.1, .length = 3000},
                           KERNEL(RunPoolingKernel), PoolingResults);
         }},
        {"pooling deterministic",
         [] {
             return Seeded(108, PoolingSettings{.detService = true, .length = 3000}, KERNEL(RunPoolingKernel),
                           PoolingResults);
         }},
        {"tandem",
         [] { return Seeded(109, TandemSettings{.length = 3000}, KERNEL(RunTandemKernel), TandemResults); }},
        {"tandem deterministic arrivals and service 1",
         [] {
             return Seeded(
                 110, TandemSettings{.mu2 = 1.5, .detArrivals = true, .detService1 = true, .length = 3000},
                 KERNEL(RunTandemKernel), TandemResults);
         }},
        {"priority",
         [] {
             return Seeded(111, PrioritySettings{.lambda2 = 0.8, .length = 3000}, KERNEL(RunPriorityKernel),
                           PriorityResults);
         }},
        {"priority deterministic type 1",
         [] {
             return Seeded(112, PrioritySettings{.detService1 = true, .length = 3000},
                           KERNEL(RunPriorityKernel), PriorityResults);
         }},
    };
    return cases;
}

TEST(SeededRuns, GiveTheStoredTextsAndSamples) {
    const std::string path = std::string(TARVIK_TEST_DATA) + "/simulation/seeded.txt";
    std::string all;
    for (const auto& [name, run] : Cases()) all += "== " + name + "\n" + run();
    if (std::getenv("TARVIK_WRITE_SEEDED")) std::ofstream(path, std::ios::binary) << all;
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::ostringstream stored;
    stored << in.rdbuf();
    EXPECT_EQ(all, stored.str());
}

} // namespace
} // namespace tarvik::simulation
