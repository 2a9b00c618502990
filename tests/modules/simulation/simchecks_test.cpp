#include "modules/simulation/simchecks.h"

#include <gtest/gtest.h>

namespace tarvik::simulation {
namespace {

using Messages = std::vector<std::string>;

RateInput Rates(std::string lambda, std::string mu) {
    return RateInput{.lambda = std::move(lambda), .mu = std::move(mu)};
}

TEST(Checks, RatesReadAsPlainDecimalsStrictlyBetweenTheBounds) {
    EXPECT_EQ(ReadRate(" 1.25 "), 1.25);
    EXPECT_EQ(ReadRate("2e-1"), 0.2);
    for (const char* bad : {"", "abc", "nan", "NaN", "inf", "1e400", "1,25", "1.2.3", "--1", "0x10"})
        EXPECT_FALSE(ReadRate(bad).has_value()) << bad;
    EXPECT_FALSE(RateInRange(0.01));
    EXPECT_TRUE(RateInRange(0.0100001));
    EXPECT_FALSE(RateInRange(100));
    EXPECT_TRUE(RateInRange(99.99));
}

TEST(Checks, LoadsAtTheBoundsAreAcceptedDespiteRounding) {
    EXPECT_TRUE(LoadInRange(0.3 / 3)); // 0.09999999999999999
    EXPECT_TRUE(LoadInRange(0.6 / 6));
    EXPECT_TRUE(LoadInRange(0.7 / 7));
    EXPECT_TRUE(LoadInRange(6.86 / 7)); // 0.9800000000000001
    EXPECT_FALSE(LoadInRange(0.99));
    EXPECT_FALSE(LoadInRange(0.0999));
    EXPECT_FALSE(LoadInRange(0.981));
}

TEST(Checks, WholeNumberFieldsClampAndReadOtherTextAsTheLowerBound) {
    EXPECT_EQ(ReadWholeNumber("5000", 400, 1000000), 5000);
    EXPECT_EQ(ReadWholeNumber("12", 400, 1000000), 400);
    EXPECT_EQ(ReadWholeNumber("-3", 400, 1000000), 400);
    EXPECT_EQ(ReadWholeNumber("2000000", 400, 1000000), 1000000);
    EXPECT_EQ(ReadWholeNumber("99999999999999999999999", 400, 1000000), 1000000);
    EXPECT_EQ(ReadWholeNumber("-99999999999999999999999", 0, 1000), 0);
    for (const char* bad : {"", "abc", "1e400", "nan", "12.5", "1,000"})
        EXPECT_EQ(ReadWholeNumber(bad, 225, 1000000), 225) << bad;
}

TEST(Checks, SingleServerStopsAtTheFirstFailure) {
    EXPECT_EQ(CheckSingle(Rates("0.01", "1")).messages, Messages{kMsgArrival});
    EXPECT_EQ(CheckSingle(Rates("100", "abc")).messages, Messages{kMsgArrival});
    EXPECT_EQ(CheckSingle(Rates("1", "abc")).messages, Messages{kMsgService});
    EXPECT_EQ(CheckSingle(Rates("0.99", "1")).messages, Messages{kMsgLoad});
    EXPECT_FALSE(CheckSingle(Rates("0.99", "1")).settings);
    for (auto [l, m] : {std::pair{"0.98", "1"}, std::pair{"0.1", "1"}, std::pair{"0.3", "3"}}) {
        const auto c = CheckSingle(Rates(l, m));
        EXPECT_TRUE(c.messages.empty()) << l << "/" << m;
        ASSERT_TRUE(c.settings);
    }
    RateInput det = Rates("1", "1.25");
    det.detArrivals = det.detService = true;
    const auto c = CheckSingle(det);
    ASSERT_TRUE(c.settings);
    EXPECT_EQ(ProcessMessage(*c.settings), std::string(kMsgStochastic));
    det.detService = false;
    EXPECT_FALSE(ProcessMessage(*CheckSingle(det).settings));
}

TEST(Checks, VaryingLoadTestsRhoOneThenRhoTwoWithTheTolerantParser) {
    EXPECT_EQ(CheckVaryingLoad("0,9", "1", 1000, 0).messages, Messages{kMsgRho2});
    EXPECT_EQ(CheckVaryingLoad("x", "1", 1000, 0).messages, Messages{kMsgRho1});
    EXPECT_EQ(CheckVaryingLoad("0.99", "0.5", 1000, 0).messages, Messages{kMsgRho1});
    const auto ok = CheckVaryingLoad(" 0,9", "0.8", 1000, 3);
    ASSERT_TRUE(ok.settings);
    EXPECT_EQ(ok.settings->rho1, 0.9);
    EXPECT_EQ(ok.settings->rho1Text, " 0,9");
    EXPECT_EQ(ok.settings->initial, 3);
}

TEST(Checks, PoolingShowsEveryFailingCheckAndStoresNothingAfterOne) {
    PoolingInput in{.lambda1 = "1", .lambda2 = "1", .mu1 = "1.25", .mu2 = "1.25"};
    EXPECT_TRUE(CheckPooling(in).settings);
    in.lambda2 = "1.3"; // load 1.04
    in.lambda1 = "0.5";
    EXPECT_EQ(CheckPooling(in).messages, Messages{kMsgLoad});
    in.lambda1 = "-1";
    in.lambda2 = "-1";
    in.mu1 = "-2";
    in.mu2 = "-2"; // loads 0.5 pass, the rates do not
    auto c = CheckPooling(in);
    EXPECT_EQ(c.messages, (Messages{kMsgArrival, kMsgService}));
    EXPECT_FALSE(c.settings);
    in.mu1 = "abc"; // the loads cannot be read
    EXPECT_EQ(CheckPooling(in).messages, (Messages{kMsgArrival, kMsgService}));
    in = {.lambda1 = "200", .lambda2 = "1", .mu1 = "0.001", .mu2 = "1.25"};
    EXPECT_EQ(CheckPooling(in).messages, (Messages{kMsgArrival, kMsgService, kMsgLoad}));
}

TEST(Checks, TandemRefusesNegativeRatesAndThreeDeterministicProcesses) {
    TandemInput in{.lambda = "-1", .mu1 = "-2", .mu2 = "-2"};
    auto c = CheckTandem(in);
    EXPECT_EQ(c.messages, (Messages{kMsgArrival, kMsgService}));
    EXPECT_FALSE(c.settings);
    in = {.lambda = "1",
          .mu1 = "1.25",
          .mu2 = "1.25",
          .detArrivals = true,
          .detService1 = true,
          .detService2 = true};
    c = CheckTandem(in);
    EXPECT_EQ(c.messages, Messages{kMsgStochastic});
    EXPECT_FALSE(c.settings);
    in.detService2 = false;
    EXPECT_TRUE(CheckTandem(in).settings);
    in.mu2 = "1";
    EXPECT_EQ(CheckTandem(in).messages, Messages{kMsgLoad}); // 1/1 > 0.98
}

TEST(Checks, PriorityChecksTheTotalLoad) {
    PriorityInput in{.lambda1 = "1", .lambda2 = "1", .mu1 = "3", .mu2 = "3"};
    EXPECT_TRUE(CheckPriority(in).settings);
    in.mu2 = "1.5"; // 1/3 + 2/3
    EXPECT_EQ(CheckPriority(in).messages, Messages{kMsgLoad});
    in = {.lambda1 = "0.978", .lambda2 = "0.011", .mu1 = "1", .mu2 = "99"};
    EXPECT_TRUE(CheckPriority(in).settings);
    in.mu1 = "0";
    EXPECT_EQ(CheckPriority(in).messages, (Messages{kMsgService, kMsgLoad}));
}

} // namespace
} // namespace tarvik::simulation
