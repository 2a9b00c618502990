// No table line prints "nan" or "inf" as a value, whatever the parameters at
// the edges of what the windows accept.
#include "modules/tables/distributions.h"

#include <gtest/gtest.h>

#include <regex>
#include <string>
#include <vector>

namespace tarvik::tables {
namespace {

bool HasNanOrInf(const std::string& line) {
    static const std::regex word("(^|[^A-Za-z])(nan|inf)([^A-Za-z]|$)", std::regex::icase);
    return std::regex_search(line, word);
}

void ExpectFinite(Distribution d, const Parameters& params, const std::vector<double>& xs,
                  const std::vector<double>& ps) {
    for (double x : xs) {
        try {
            const std::string line = ProbabilityLine(d, params, x);
            EXPECT_FALSE(HasNanOrInf(line)) << TableTitle(d) << " x = " << x << ": " << line;
        } catch (const PreconditionFailure&) {
            // The window stops the table with its message: nothing printed.
        }
    }
    if (!HasPercentiles(d)) return;
    for (double p : ps) {
        try {
            const std::string line = PercentileLine(d, params, p);
            EXPECT_FALSE(HasNanOrInf(line)) << TableTitle(d) << " p = " << p << ": " << line;
        } catch (const PreconditionFailure&) {
        }
    }
}

TEST(TablesExtremes, NoLinePrintsNanOrInf) {
    const std::vector<double> xs = {-1e300, -1e6, -40, -1, 0, 1e-300, 0.5, 1, 40, 1e6, 1e300};
    const std::vector<double> ps = {1e-300, 1e-12, 1e-6, 0.5, 1 - 1e-6, 1 - 1e-12};
    const std::vector<double> dofs = {0.01, 1, 1e6, 1e12};
    ExpectFinite(Distribution::Normal, {}, xs, ps);
    for (double v : dofs) {
        ExpectFinite(Distribution::ChiSquare, {.v = v}, xs, ps);
        ExpectFinite(Distribution::Student, {.v = v}, xs, ps);
        ExpectFinite(Distribution::Gamma, {.s = v}, xs, ps);
        for (double w : dofs) ExpectFinite(Distribution::Fisher, {.v = v, .w = w}, xs, ps);
    }
    const std::vector<double> ks = {0, 1, 5, 1e6, 1e9};
    for (double lambda : {1e-9, 1.0, 1e4, 1e8})
        ExpectFinite(Distribution::Poisson, {.lambda = lambda}, ks, {});
    for (long long n : {1LL, 1000LL, 1000000000LL})
        for (double p : {0.0, 1e-12, 0.5, 1 - 1e-12, 1.0})
            ExpectFinite(Distribution::Binomial, {.n = n, .p = p}, ks, {});
    for (long long n : {1LL, 50LL, 100000LL})
        ExpectFinite(Distribution::Hypergeometric, {.n = n, .red = 100000, .white = 100000}, ks, {});
}

} // namespace
} // namespace tarvik::tables
