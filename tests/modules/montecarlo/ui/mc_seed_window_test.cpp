// A seed fixed with "Seed..." gives the window's runs the numbers of the command line.
#include "common/random.h"
#include "common/ui/seed.h"
#include "modules/montecarlo/montecarlocli.h"
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mcpiunit.h"
#include "modules/montecarlo/ui/mctesting.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <map>
#include <sstream>

namespace {

using namespace tarvik::montecarlo;
using namespace tarvik::montecarlo::ui;
using tarvik::test::ProcessEvents;

class MCSeed : public tarvik::montecarlo::test::MCWindowTest {};

// The "Label: value" lines of a command-line run.
std::map<std::string, std::string> CliLines(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    EXPECT_EQ(RunCli(args, out, err), 0) << err.str();
    std::map<std::string, std::string> lines;
    std::istringstream in(out.str());
    for (std::string line; std::getline(in, line);) {
        const auto colon = line.find(": ");
        if (colon != std::string::npos) lines[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return lines;
}

TEST_F(MCSeed, FixedSeedRepeatsTheCommandLineRunOfPi) {
    auto* seedCommand = module->findChild<QAction*>("SeedCommand");
    ASSERT_NE(seedCommand, nullptr);
    dialogs.textAnswers = {QStringLiteral("4242")};
    seedCommand->trigger();

    auto* pi = Open<TMCPi>(MCChoice::Pi);
    ASSERT_NE(pi, nullptr);
    pi->DrawsEdit->setValue(2000);
    const auto expected = CliLines({"--montecarlo", "pi", "--seed", "4242", "--draws", "2000"});
    for (int run = 0; run < 2; ++run) {
        tarvik::RandomInt(100); // other draws in between change nothing
        QTest::mouseClick(pi->SimulateBtn, Qt::LeftButton);
        for (int i = 0; i < 2000000 && pi->running(); ++i) QCoreApplication::processEvents();
        EXPECT_EQ(tarvik::ui::LastRunSeed("montecarlo"), 4242u);
        EXPECT_EQ(pi->EstimateEdit->text().toStdString(), expected.at("Estimation Pi")) << "run " << run;
        EXPECT_EQ(pi->IntervalEdit->text().toStdString(), expected.at("95 % Confidence interval"));
    }
    tarvik::ui::SetFixedSeed("montecarlo", std::nullopt);
}

} // namespace
