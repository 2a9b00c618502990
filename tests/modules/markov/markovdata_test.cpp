#include "markovtesting.h"

#include <gtest/gtest.h>

namespace tarvik::markov {
namespace {

using testing::MakeTextChain;

InputProblem ProblemOf(const ChainData& d) {
    auto r = ValidateChain(d);
    EXPECT_TRUE(std::holds_alternative<InputProblem>(r)) << "the chain passed validation";
    return std::holds_alternative<InputProblem>(r) ? std::get<InputProblem>(r) : InputProblem();
}

TEST(MarkovValidation, AcceptsChainsWithinTheLimits) {
    // Row sums within 1e-5 of one, costs down to -100000, a single state.
    auto ok = ValidateChain(
        MakeTextChain(ChainType::Discrete, {{"0.5", "0,499995"}, {"1", "0"}}, {"-100000", "7"}));
    ASSERT_TRUE(std::holds_alternative<Chain>(ok));
    const Chain& c = std::get<Chain>(ok);
    EXPECT_DOUBLE_EQ(c.at(0, 1), 0.499995);
    EXPECT_DOUBLE_EQ(c.cost[0], -100000);
    EXPECT_TRUE(std::holds_alternative<Chain>(ValidateChain(MakeTextChain(ChainType::Discrete, {{"1"}}))));
}

TEST(MarkovValidation, DiscreteMessagesAndFocus) {
    auto p = ProblemOf(MakeTextChain(ChainType::Discrete, {{"0.5", "0.4999"}, {"1", "0"}}));
    EXPECT_EQ(p.message, "Sum of rows not 1 in transitionmatrix.");
    EXPECT_EQ(p.field, Field::Matrix);
    EXPECT_EQ(p.row, 0);
    EXPECT_EQ(p.dialog, Dialog::StdMsgDlgError);
    EXPECT_TRUE(p.toInputPage);

    p = ProblemOf(MakeTextChain(ChainType::Discrete, {{"1", "0"}, {"1.5", "-0.5"}}));
    EXPECT_EQ(p.message, "Negative value in transitionmatrix");
    EXPECT_EQ(p.row, 1);
    EXPECT_EQ(p.column, 1);

    p = ProblemOf(MakeTextChain(ChainType::Discrete, {{"1", "0"}, {"0", "1"}}, {"0", "-100000.5"}));
    EXPECT_EQ(p.message, "Value in cost vector must be above -100000.");
    EXPECT_EQ(p.field, Field::Cost);
    EXPECT_EQ(p.row, 1);
}

TEST(MarkovValidation, ReportsTheFirstFailureInOrder) {
    // A bad matrix cell comes before a bad cost cell ...
    auto p = ProblemOf(MakeTextChain(ChainType::Discrete, {{"1", "0"}, {"x", "0"}}, {"y", "0"}));
    EXPECT_EQ(p.message, "Illegal value in transitionmatrix.");
    EXPECT_EQ(p.row, 1);
    EXPECT_EQ(p.column, 0);
    // ... a bad cost cell before a bad row ...
    p = ProblemOf(MakeTextChain(ChainType::Discrete, {{"2", "0"}, {"1", "0"}}, {"0", "abc"}));
    EXPECT_EQ(p.message, "Illegal value in cost vector.");
    EXPECT_EQ(p.row, 1);
    // ... a negative entry in row 1 before a bad sum in row 2 ...
    p = ProblemOf(MakeTextChain(ChainType::Discrete, {{"-1", "2"}, {"0.3", "0.3"}}));
    EXPECT_EQ(p.message, "Negative value in transitionmatrix");
    // ... and a bad row sum before a cost below the limit.
    p = ProblemOf(MakeTextChain(ChainType::Discrete, {{"1", "0"}, {"0.3", "0.3"}}, {"-200000", "0"}));
    EXPECT_EQ(p.message, "Sum of rows not 1 in transitionmatrix.");
    EXPECT_EQ(p.row, 1);
    // An empty cell is no number.
    p = ProblemOf(MakeTextChain(ChainType::Discrete, {{"1", ""}, {"0", "1"}}));
    EXPECT_EQ(p.message, "Illegal value in transitionmatrix.");
}

TEST(MarkovValidation, ContinuousDiagonalMustBeTheTextZero) {
    for (const char* diagonal : {"0.0", " 0", "0 ", "-0", "1"}) {
        auto p = ProblemOf(MakeTextChain(ChainType::Continuous, {{diagonal, "1"}, {"2", "0"}}));
        EXPECT_EQ(p.message, "Diagonal values must be zero in transitionMatrix") << diagonal;
        EXPECT_EQ(p.row, 0);
        EXPECT_EQ(p.column, 0);
    }
    auto ok =
        ValidateChain(MakeTextChain(ChainType::Continuous, {{"0", "1"}, {"2", "0"}}, {"1", "2"}, {"3", "4"}));
    ASSERT_TRUE(std::holds_alternative<Chain>(ok));
    EXPECT_EQ(std::get<Chain>(ok).transitionCost, (std::vector<double>{3, 4}));
    // Rates need not sum to anything, but may not be negative.
    auto p = ProblemOf(MakeTextChain(ChainType::Continuous, {{"0", "-1"}, {"2", "0"}}));
    EXPECT_EQ(p.message, "Negative value in transitionmatrix");
}

TEST(MarkovValidation, ContinuousTransitionCostsAreCheckedAfterTheRates) {
    // A transition cost that is no number gets a message instead of a silent end.
    auto p =
        ProblemOf(MakeTextChain(ChainType::Continuous, {{"0", "1"}, {"2", "0"}}, {"0", "0"}, {"0", "z"}));
    EXPECT_EQ(p.message, "Illegal value in cost vector.");
    EXPECT_EQ(p.field, Field::TransitionCost);
    EXPECT_EQ(p.row, 1);
    p = ProblemOf(
        MakeTextChain(ChainType::Continuous, {{"0", "1"}, {"2", "0"}}, {"0", "0"}, {"-100001", "0"}));
    EXPECT_EQ(p.message, "Value in cost vector must be above -100000.");
    // The rate checks come first.
    p = ProblemOf(MakeTextChain(ChainType::Continuous, {{"0", "1"}, {"-2", "0"}}, {"0", "0"}, {"z", "0"}));
    EXPECT_EQ(p.message, "Negative value in transitionmatrix");
}

TEST(MarkovValidation, NumberOfStates) {
    EXPECT_EQ(std::get<int>(CheckNumberOfStates(" 17 ")), 17);
    auto bad = std::get<InputProblem>(CheckNumberOfStates("5.5"));
    EXPECT_EQ(bad.message, "Invalid value for number of states.");
    EXPECT_TRUE(bad.clearField);
    for (const char* t : {"0", "101", "-3"}) {
        auto out = std::get<InputProblem>(CheckNumberOfStates(t));
        EXPECT_EQ(out.message, "Number of states must be between 1 and 100.");
        EXPECT_FALSE(out.clearField);
    }
}

TEST(MarkovChainData, ResizeKeepsTextsAndFillsZeros) {
    ChainData d = MakeChain(ChainType::Continuous, 2);
    d.matrix[0][1] = "3,5";
    d.matrix[1][0] = "";
    d.transitionCost[1] = "9";
    ResizeChain(d, 3);
    EXPECT_EQ(d.matrix[0][1], "3,5");
    EXPECT_EQ(d.matrix[1][0], "0");
    EXPECT_EQ(d.matrix[2][2], "0");
    EXPECT_EQ(d.transitionCost, (std::vector<std::string>{"0", "9", "0"}));
    ResizeChain(d, 1);
    EXPECT_EQ(d.matrix.size(), 1u);
    EXPECT_EQ(d.matrix[0].size(), 1u);

    // "Clear" leaves the transition costs; a type switch clears every cost.
    d = MakeChain(ChainType::Continuous, 2);
    d.matrix[0][1] = "4";
    d.cost[0] = "1";
    d.transitionCost[0] = "2";
    ClearChain(d);
    EXPECT_EQ(d.matrix[0][1], "0");
    EXPECT_EQ(d.cost[0], "0");
    EXPECT_EQ(d.transitionCost[0], "2");
    SwitchChainType(d, ChainType::Discrete);
    EXPECT_TRUE(d.transitionCost.empty());
    EXPECT_EQ(CostColumnHeader(d.type, 0), "c(j)");
    SwitchChainType(d, ChainType::Continuous);
    EXPECT_EQ(d.transitionCost, (std::vector<std::string>{"0", "0"}));
    EXPECT_EQ(WindowCaption(ChainType::Continuous), "Continuous Time Markov Chains ");
}

TEST(MarkovChoices, ResetTextsFollowTheNumberOfStates) {
    ChoiceTexts c = DefaultChoices(1);
    EXPECT_EQ(c.endStates.size(), 1u);
    EXPECT_EQ(c.transientTimes, (std::vector<std::string>(4, "0")));
    EXPECT_TRUE(c.stateA.empty());
    EXPECT_EQ(DefaultChoices(7).endStates.size(), 2u);
    EXPECT_EQ(EndStateLimitLabel(1), "Number of end states (max 1):");
    EXPECT_EQ(EndStateLimitLabel(50), "Number of end states (max 4):");
    EXPECT_EQ(TimePointLabel(0), "time point 1 (<=5000)");
    EXPECT_EQ(EndStateLabel(1), "end state 2");
}

Chain ThreeStates(ChainType type) {
    return testing::MakeNumericChain(type, {{0, 1, 0}, {0, 0, 1}, {1, 0, 0}});
}

InputProblem ParameterProblemOf(const ChoiceTexts& c, const Chain& chain) {
    auto r = CheckParameters(c, chain);
    EXPECT_TRUE(std::holds_alternative<InputProblem>(r));
    return std::holds_alternative<InputProblem>(r) ? std::get<InputProblem>(r) : InputProblem();
}

TEST(MarkovParameters, TransientChecksInOrder) {
    const Chain chain = ThreeStates(ChainType::Discrete);
    ChoiceTexts c = DefaultChoices(3);
    c.analysis = Analysis::Transient;
    c.transientTimes = {"10", "2", "10"};
    c.endStates = {"3", "1"};
    auto ok = std::get<AnalysisParams>(CheckParameters(c, chain));
    EXPECT_EQ(ok.times, (std::vector<double>{2, 10, 10}));
    EXPECT_EQ(ok.endStates, (std::vector<int>{3, 1}));

    c.initialState = "a";
    auto p = ParameterProblemOf(c, chain);
    EXPECT_EQ(p.message, "Illegal value for initial state ");
    EXPECT_FALSE(p.toInputPage);
    c.initialState = "4";
    EXPECT_EQ(ParameterProblemOf(c, chain).message, "Initial state doesn't exist ");
    c.initialState = "3";
    c.transientTimes = {"1", "2.5"}; // whole numbers only in discrete time
    p = ParameterProblemOf(c, chain);
    EXPECT_EQ(p.message, "Illegal value for time point ");
    EXPECT_EQ(p.field, Field::TransientTime);
    EXPECT_EQ(p.row, 1);
    c.transientTimes = {"0", "x"};
    EXPECT_EQ(ParameterProblemOf(c, chain).message, "Time points must be between 1 and 5000");
    c.transientTimes = {"5001"};
    EXPECT_EQ(ParameterProblemOf(c, chain).message, "Time points must be between 1 and 5000");
    c.transientTimes = {"5000"};
    c.endStates = {"1", "4"};
    p = ParameterProblemOf(c, chain);
    EXPECT_EQ(p.message, "End state 4 doesn't exist.");
    EXPECT_EQ(p.row, 1);
    c.endStates = {"one"};
    EXPECT_EQ(ParameterProblemOf(c, chain).message, "Illegal value for end state ");
    // Expected costs use no end states.
    c.transientOutput = TransientOutput::Costs;
    EXPECT_TRUE(std::holds_alternative<AnalysisParams>(CheckParameters(c, chain)));
}

TEST(MarkovParameters, FirstPassageAndContinuousTimes) {
    const Chain chain = ThreeStates(ChainType::Continuous);
    ChoiceTexts c = DefaultChoices(3);
    c.analysis = Analysis::FirstPassage;
    c.passageTimes = {"2,5", "1"};
    c.startingState = "0";
    EXPECT_EQ(ParameterProblemOf(c, chain).message, "Starting state doesn't exist ");
    c.startingState = "";
    EXPECT_EQ(ParameterProblemOf(c, chain).message, "Illegal value for initial state ");
    c.startingState = "2";
    EXPECT_EQ(ParameterProblemOf(c, chain).message, "Illegal value for state a.");
    c.stateA = "9";
    EXPECT_EQ(ParameterProblemOf(c, chain).message, "State a doesn't exist.");
    c.stateA = "3";
    c.returnSet = ReturnSet::Upper;
    auto ok = std::get<AnalysisParams>(CheckParameters(c, chain));
    EXPECT_EQ(ok.times, (std::vector<double>{1, 2.5}));
    EXPECT_EQ(ok.initialState, 2);
    EXPECT_EQ(ok.stateA, 3);
    EXPECT_EQ(ok.returnSet, ReturnSet::Upper);
    c.passageTimes = {"0.5"};
    EXPECT_EQ(ParameterProblemOf(c, chain).message, "Time points must be between 1 and 5000");
}

} // namespace
} // namespace tarvik::markov
