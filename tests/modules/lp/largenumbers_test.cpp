// Random models with numbers near the readers' limits (made and solved by
// glpsol with bench/lp/largenumbers.py) reach glpsol's verdict and optimum.
#include "modules/ip/miprun.h"
#include "modules/lp/lprun.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <sstream>
#include <string>

namespace tarvik::lp {
namespace {

const std::string kFolder = std::string(TARVIK_TEST_DATA) + "/largenumbers/";

// The file as the editor holds it: every line ended by CR LF.
std::string EditorText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text, line;
    while (std::getline(in, line)) text += line + "\r\n";
    return text;
}

TEST(LargeNumbers, ModelsNearTheLimitsSolveAsGlpsolSolvesThem) {
    std::ifstream table(kFolder + "optima.tsv");
    ASSERT_TRUE(table) << kFolder;
    std::string line;
    int models = 0;
    while (std::getline(table, line)) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream fields(line);
        std::string name, verdict, optimum;
        std::getline(fields, name, '\t');
        std::getline(fields, verdict, '\t');
        std::getline(fields, optimum, '\t');
        SCOPED_TRACE(name);
        const std::string text = EditorText(kFolder + name);
        ++models;
        std::string mine;
        double value = 0, tolerance = 1e-9;
        if (name.ends_with(".tip")) {
            ip::MIPProgress quiet;
            const ip::MIPRunResult run = ip::RunMIP(text, quiet);
            ASSERT_TRUE(run.success) << run.message;
            mine = run.solve.status == ip::kOptimal && run.solve.haveIncumbent ? "optimal"
                   : run.solve.status == ip::kUnbounded                        ? "unbounded"
                                                                               : "infeasible";
            value = run.objective;
            tolerance = 1e-6; // the gap within which branch and bound prunes
        } else {
            LPProgress quiet;
            const LPRunResult run = RunLP(text, {}, quiet);
            ASSERT_TRUE(run.success) << run.message;
            EXPECT_TRUE(run.reliable);
            mine = run.status == 0 ? "optimal" : run.status == 1 ? "unbounded" : "infeasible";
            value = run.objective;
        }
        EXPECT_EQ(mine, verdict);
        if (verdict == "optimal") {
            const double expected = std::stod(optimum);
            EXPECT_NEAR(value, expected, tolerance * std::max(1.0, std::fabs(expected)));
        }
    }
    EXPECT_GE(models, 100);
}

} // namespace
} // namespace tarvik::lp
