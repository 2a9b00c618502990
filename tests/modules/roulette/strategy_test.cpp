#include "modules/roulette/strategy.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <stdexcept>
#include <vector>

namespace tarvik::roulette {
namespace {

__extension__ typedef unsigned __int128 U128;

std::unique_ptr<StrategyTable> Solved(int goal, int bets) {
    auto t = std::make_unique<StrategyTable>();
    SolveAllOrNothing(*t, goal, bets);
    return t;
}

// The same recursion in whole numbers: W[n][c] = 37^n V[n][c]. With p = k/37,
// 37^n (p w + (1 - p) l) = k 37^(n-1) w + (37 - k) 37^(n-1) l, so every
// candidate is a whole number and ties are exact.
struct ExactEntry {
    U128 scaled = 0;
    int stake = 0; // smallest stake, then lowest type, among the exact optima
    int type = 0;
};

std::vector<std::vector<ExactEntry>> ExactTable(int goal, int bets) {
    std::vector<std::vector<ExactEntry>> w(bets + 1, std::vector<ExactEntry>(goal));
    U128 previousPower = 1; // 37^(n-1)
    for (int n = 1; n <= bets; ++n) {
        for (int c = 1; c < goal; ++c) {
            ExactEntry best;
            for (int s = 1; s <= c; ++s) {
                for (int t = 1; t <= kBetTypes; ++t) {
                    const int k = kBetTypeTable[t - 1].covered;
                    const int up = c + kBetTypeTable[t - 1].payout * s;
                    const U128 win = up >= goal ? previousPower : w[n - 1][up].scaled;
                    const U128 v = U128(k) * win + U128(37 - k) * w[n - 1][c - s].scaled;
                    if (v > best.scaled) best = {v, s, t};
                }
            }
            w[n][c] = best;
        }
        previousPower *= 37;
    }
    return w;
}

long double ToReal(U128 v) {
    return static_cast<long double>(static_cast<unsigned long long>(v >> 64)) * 18446744073709551616.0L +
           static_cast<long double>(static_cast<unsigned long long>(v));
}

TEST(SolveAllOrNothing, MatchesExactArithmeticForEveryGoalUpToTwentyFourBets) {
    constexpr int kBets = 24; // 37^24 < 2^127
    for (int goal = 1; goal <= kMaxGoal; ++goal) {
        const auto table = Solved(goal, kBets);
        const auto exact = ExactTable(goal, kBets);
        long double power = 1;
        for (int n = 0; n <= kBets; ++n, power *= 37) {
            for (int c = 0; c < goal; ++c) {
                const StrategyEntry& e = table->at(n, c);
                const ExactEntry& x = exact[n][c];
                const long double value = ToReal(x.scaled) / power;
                ASSERT_NEAR(e.value, static_cast<double>(value), 1e-12)
                    << "G " << goal << " n " << n << " c " << c;
                ASSERT_EQ(e.stake, x.stake) << "G " << goal << " n " << n << " c " << c;
                ASSERT_EQ(e.type, x.type) << "G " << goal << " n " << n << " c " << c;
            }
        }
    }
}

TEST(SolveAllOrNothing, SmallGamesWorkedOutByHand) {
    auto t = Solved(5, 2);
    EXPECT_EQ(t->at(2, 3).stake, 2);
    EXPECT_EQ(t->at(2, 3).type, 7);
    // A win on an even chance reaches 5; after a loss 1 dollar on the six
    // numbers (5 to 1) reaches 6.
    EXPECT_DOUBLE_EQ(t->at(2, 3).value, 18.0 / 37 + 19.0 / 37 * 6.0 / 37);
    EXPECT_EQ(t->at(1, 1).stake, 1);
    EXPECT_EQ(t->at(1, 1).type, 5);

    t = Solved(100, 1);
    EXPECT_EQ(t->at(1, 1).value, 0.0);
    EXPECT_EQ(t->at(1, 1).stake, 0);
    EXPECT_EQ(t->at(1, 1).type, 0);

    t = Solved(2, 1);
    EXPECT_EQ(t->at(1, 1).stake, 1);
    EXPECT_EQ(t->at(1, 1).type, 7);
    EXPECT_DOUBLE_EQ(t->at(1, 1).value, 18.0 / 37);

    t = Solved(10, 5);
    EXPECT_EQ(t->at(5, 5).stake, 5);
    EXPECT_EQ(t->at(5, 5).type, 7);
}

TEST(SolveAllOrNothing, OverwritesOnlyItsRowsAndColumnsAndRefusesOutsideTheTable) {
    StrategyTable t;
    SolveAllOrNothing(t, 10, 5);
    const StrategyEntry kept = t.at(5, 5);
    SolveAllOrNothing(t, 5, 2);
    EXPECT_EQ(t.at(5, 5).stake, kept.stake);
    EXPECT_EQ(t.at(5, 5).value, kept.value);
    const StrategyEntry row3 = t.at(3, 4);
    SolveAllOrNothing(t, 5, 2);
    EXPECT_EQ(t.at(3, 4).value, row3.value); // rows above N stay
    EXPECT_EQ(t.at(2, 4).value, Solved(5, 2)->at(2, 4).value);

    EXPECT_THROW(SolveAllOrNothing(t, 101, 5), std::invalid_argument);
    EXPECT_THROW(SolveAllOrNothing(t, 150, 5), std::invalid_argument);
    EXPECT_THROW(SolveAllOrNothing(t, 0, 5), std::invalid_argument);
    EXPECT_THROW(SolveAllOrNothing(t, 10, 51), std::invalid_argument);
    EXPECT_THROW(t.at(0, 100), std::out_of_range);
    EXPECT_THROW(t.at(51, 0), std::out_of_range);
    EXPECT_NO_THROW(SolveAllOrNothing(t, 100, 50));
}

TEST(DecisionText, NamesTheStakeAndTheType) {
    EXPECT_EQ(DecisionText(2, 7), "Bet 2 dollars on Rouge or noir");
    EXPECT_EQ(DecisionText(1, 1), "Bet 1 dollars on Plein");
    EXPECT_EQ(DecisionText(12, 4), "Bet 12 dollars on Carr\xC3\xA9");
    EXPECT_EQ(DecisionText(3, 6), "Bet 3 dollars on Douzaine");
    EXPECT_THROW(DecisionText(1, 0), std::invalid_argument);
    EXPECT_THROW(DecisionText(1, 8), std::invalid_argument);
}

TEST(EvaluateDecision, IsOneStepOfTheRecursionAndItsMaximumIsTheTableValue) {
    const auto t = Solved(37, 6);
    for (int n = 1; n <= 6; ++n) {
        for (int c = 1; c < 37; ++c) {
            double best = 0;
            for (int s = 1; s <= c; ++s)
                for (int type = 1; type <= kBetTypes; ++type)
                    best = std::max(best, EvaluateDecision(*t, c, 37, n, s, type));
            EXPECT_NEAR(best, t->at(n, c).value, 1e-14);
            const StrategyEntry& e = t->at(n, c);
            if (e.stake > 0) {
                EXPECT_EQ(EvaluateDecision(*t, c, 37, n, e.stake, e.type), e.value);
            }
        }
    }
    // Stake 1 on Plein from 3 with 2 bets to 5: 1/37 + 36/37 * V[1][2].
    const auto small = Solved(5, 2);
    EXPECT_DOUBLE_EQ(EvaluateDecision(*small, 3, 5, 2, 1, 1), 1.0 / 37 + 36.0 / 37 * small->at(1, 2).value);
}

TEST(EvaluateDecision, RefusesAStakeOutsideOneToTheCapital) {
    const auto t = Solved(100, 5);
    EXPECT_THROW(EvaluateDecision(*t, 10, 100, 5, -5, 1), std::invalid_argument);
    EXPECT_THROW(EvaluateDecision(*t, 10, 100, 5, 0, 1), std::invalid_argument);
    EXPECT_THROW(EvaluateDecision(*t, 10, 100, 5, 11, 1), std::invalid_argument);
    EXPECT_THROW(EvaluateDecision(*t, 10, 100, 0, 1, 1), std::invalid_argument);
    EXPECT_THROW(EvaluateDecision(*t, 10, 9, 5, 1, 1), std::invalid_argument);
    EXPECT_THROW(EvaluateDecision(*t, 10, 101, 5, 1, 1), std::invalid_argument);
    EXPECT_NO_THROW(EvaluateDecision(*t, 10, 100, 5, 10, 1));
}

TEST(StartChecks, CorrectEachValueInOrderWithTheGoalCheckedAgainstTheCapitalAsTyped) {
    StartCheck ok = CheckStartInput({3, 5, 2});
    EXPECT_TRUE(ok.ok);
    EXPECT_EQ(ok.capital, 3);
    EXPECT_EQ(ok.goal, 5);
    EXPECT_EQ(ok.bets, 2);

    // A goal below the capital: only the goal is corrected.
    StartCheck below = CheckStartInput({7, 5, 2});
    EXPECT_FALSE(below.ok);
    EXPECT_EQ(below.goal, 1);
    EXPECT_EQ(below.capital, 7);
    EXPECT_EQ(below.bets, 2);

    // The goal is checked against 150 as typed, then the capital becomes 1.
    StartCheck both = CheckStartInput({150, 120, 60});
    EXPECT_FALSE(both.ok);
    EXPECT_EQ(both.goal, 1);
    EXPECT_EQ(both.capital, 1);
    EXPECT_EQ(both.bets, 1);
    StartCheck goalKept = CheckStartInput({0, 5, 2});
    EXPECT_FALSE(goalKept.ok);
    EXPECT_EQ(goalKept.capital, 1);
    EXPECT_EQ(goalKept.goal, 5);

    // A goal above 100 is refused like a goal below 1.
    StartCheck high = CheckStartInput({5, 150, 2});
    EXPECT_FALSE(high.ok);
    EXPECT_EQ(high.goal, 1);
    EXPECT_EQ(high.capital, 5);
    EXPECT_TRUE(CheckStartInput({99, 100, 50}).ok);
    EXPECT_FALSE(CheckStartInput({99, 101, 50}).ok);

    // Capital equal to the goal passes.
    EXPECT_TRUE(CheckStartInput({5, 5, 5}).ok);
    EXPECT_FALSE(CheckStartInput({3, 5, 0}).ok);
    EXPECT_FALSE(CheckStartInput({3, 5, 51}).ok);
}

TEST(StartChecks, AFieldThatIsNoWholeNumberReadsAsItsLowerBound) {
    EXPECT_EQ(ReadWholeNumber("42", 1), 42);
    EXPECT_EQ(ReadWholeNumber(" -7 ", 1), -7);
    EXPECT_EQ(ReadWholeNumber("", 1), 1);
    EXPECT_EQ(ReadWholeNumber("abc", 1), 1);
    EXPECT_EQ(ReadWholeNumber("3.5", 1), 1);
    EXPECT_EQ(ReadWholeNumber("-", 1), 1);
    EXPECT_EQ(ReadWholeNumber("12345678901234567890", 1), 1);
    EXPECT_EQ(ReadWholeNumber("2147483648", 1), 1);
    EXPECT_EQ(ReadWholeNumber("2147483647", 1), 2147483647);
    // Read numbers always end in a state the table covers or in the message.
    for (const char* text : {"", "x", "-5", "0", "12345678901234567890", "999", "150"}) {
        const StartCheck c =
            CheckStartInput({ReadWholeNumber(text, 1), ReadWholeNumber(text, 1), ReadWholeNumber(text, 1)});
        EXPECT_GE(c.goal, 1);
        EXPECT_LE(c.goal, kMaxGoal);
        EXPECT_GE(c.capital, 1);
        EXPECT_LE(c.capital, kMaxCapital);
        EXPECT_GE(c.bets, 1);
        EXPECT_LE(c.bets, kMaxBets);
    }
}

TEST(ResultsWindow, ShowsTheDecisionTheWarningOrACertainWin) {
    auto t = Solved(5, 2);
    ResultsView v = PrepareResults(*t, 3, 5, 2);
    EXPECT_EQ(v.capital, "3");
    EXPECT_EQ(v.goal, "5");
    EXPECT_EQ(v.bets, "2");
    EXPECT_FALSE(v.warning);
    EXPECT_EQ(v.decision, "Bet 2 dollars on Rouge or noir");
    EXPECT_EQ(v.chance, "0.5698");

    t = Solved(100, 1);
    v = PrepareResults(*t, 1, 100, 1);
    EXPECT_TRUE(v.warning);
    EXPECT_EQ(v.decision, "");
    EXPECT_EQ(v.chance, "");

    t = Solved(2, 1);
    EXPECT_EQ(PrepareResults(*t, 1, 2, 1).decision, "Bet 1 dollars on Rouge or noir");
    EXPECT_EQ(PrepareResults(*t, 1, 2, 1).chance, "0.4865");

    // Capital equal to the goal, after a game that left column 5 filled.
    t = Solved(10, 5);
    EXPECT_EQ(PrepareResults(*t, 5, 10, 5).decision, "Bet 5 dollars on Rouge or noir");
    EXPECT_EQ(PrepareResults(*t, 5, 10, 5).chance, "0.4865");
    SolveAllOrNothing(*t, 5, 5);
    v = PrepareResults(*t, 5, 5, 5);
    EXPECT_FALSE(v.warning);
    EXPECT_EQ(v.decision, "");
    EXPECT_EQ(v.chance, "1.0000");
    EXPECT_EQ(MaximalWinText(*t, 5, 5, 5), "1.0000");
    StrategyTable fresh;
    SolveAllOrNothing(fresh, 5, 5);
    EXPECT_FALSE(PrepareResults(fresh, 5, 5, 5).warning);
}

TEST(OtherDecision, EntriesOfOneTypeGiveOneValueAndStakesAreKeptWithinOneToTheCapital) {
    ASSERT_EQ(kDecisionList.size(), 10u);
    EXPECT_EQ(*DecisionEntryIndex("Colonne"), 5);
    EXPECT_EQ(*DecisionEntryIndex("Douzaine"), 6);
    EXPECT_EQ(*DecisionEntryIndex("Pair et Impair"), 9);
    EXPECT_FALSE(DecisionEntryIndex("Red").has_value());

    const auto t = Solved(5, 2);
    EXPECT_EQ(MaximalWinText(*t, 3, 5, 2), "0.5698");
    auto text = [&](int entry, long long stake) {
        return WinText(*t, 3, 5, 2, ClampStake(stake, 3), kDecisionList[entry].type);
    };
    EXPECT_EQ(text(0, 1), "0.3426 "); // 1/37 + 36/37 * 12/37: after a loss, 2 dollars on a dozen
    EXPECT_EQ(text(5, 1), text(6, 1));
    EXPECT_EQ(text(7, 2), "0.5698 ");
    EXPECT_EQ(text(7, 2), text(8, 2));
    EXPECT_EQ(text(8, 2), text(9, 2));
    EXPECT_EQ(ClampStake(7, 3), 3);
    EXPECT_EQ(ClampStake(-5, 3), 1);
    EXPECT_EQ(ClampStake(0, 3), 1);
    EXPECT_EQ(text(0, 7), text(0, 3));
    EXPECT_EQ(text(0, -5), text(0, 1));
    EXPECT_EQ(WinText(*t, 3, 5, 2, 4, 1), "Too high stake");
}

} // namespace
} // namespace tarvik::roulette
