#include "modules/roulette/tablegame.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

namespace tarvik::roulette {
namespace {

NumberSet Set(std::initializer_list<int> numbers) {
    NumberSet s = 0;
    for (int n : numbers) s |= Bit(n);
    return s;
}

// The numbers at a lattice point of the number grid, found from the cells
// that touch it: a point in a cell bets on that number, on a line between
// cells on both, at a crossing on all four; on the top or bottom edge of the
// grid the whole street (or both streets) of the columns it touches.
NumberSet GridOracle(double x, double y) {
    std::set<int> columns, rows;
    for (int q = 0; q < 12; ++q) {
        const double left = 29 + 35 * q, right = left + 35;
        if (x >= left && x <= right) columns.insert(q);
    }
    const double rowTop[3] = {87, 122, 157}; // rows holding 3q+3, 3q+2, 3q+1
    for (int r = 0; r < 3; ++r)
        if (y >= rowTop[r] && y <= rowTop[r] + 35) rows.insert(r);
    const bool edge = y == 87 || y == 192;
    NumberSet s = 0;
    for (int q : columns)
        for (int r = 0; r < 3; ++r)
            if (edge || rows.count(r)) s |= Bit(3 * q + 3 - r);
    return s;
}

TEST(DropChip, AStraightUpASixLineAndATrioWithZero) {
    // The middle of column 0, top row: 3 alone.
    ChipDrop d = DropChip(46.5, 104.5);
    EXPECT_EQ(d.bet, Bit(3));
    EXPECT_EQ(d.multiple, 36);
    EXPECT_EQ(d.chipLeft, 46);
    EXPECT_EQ(d.chipTop, 104);
    // The line between 1..3 and 4..6 at the bottom edge: the six numbers 1..6.
    d = DropChip(64, 192);
    EXPECT_EQ(d.bet, NumberRange(1, 6));
    EXPECT_EQ(d.multiple, 6);
    EXPECT_EQ(d.chipLeft, 64);
    EXPECT_EQ(d.chipTop, 192);
    // Next to 0, between the top and middle rows: 0, 2, 3.
    d = DropChip(29, 122);
    EXPECT_EQ(d.bet, Set({0, 2, 3}));
    EXPECT_EQ(d.multiple, 12);
    // Points near a lattice point snap to it.
    EXPECT_EQ(DropChip(40, 112).bet, Bit(3));
    EXPECT_EQ(DropChip(55, 100).bet, Bit(3));
}

TEST(DropChip, EveryOutsideRegionAndItsFixedChipPosition) {
    struct Case {
        double x, y;
        NumberSet bet;
        int m, left, top;
    };
    const NumberSet red = Set({1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36});
    const Case cases[] = {
        {100, 40, NumberRange(1, 18), 2, 152, 52},
        {260, 60, NumberRange(1, 35, 2), 2, 256, 52},
        {380, 70, red, 2, 379, 52},
        {470, 5, NumberRange(1, 12), 3, 452, 10},
        {470, 40, NumberRange(13, 24), 3, 454, 39},
        {470, 70, NumberRange(25, 36), 3, 466, 70},
        {100, 230, NumberRange(19, 36), 2, 152, 227},
        {260, 250, NumberRange(2, 36, 2), 2, 256, 227},
        {380, 280, NumberRange(1, 36) & ~red, 2, 379, 227},
        {470, 205, NumberRange(25, 36), 3, 466, 207},
        {470, 235, NumberRange(13, 24), 3, 454, 233},
        {470, 290, NumberRange(1, 12), 3, 452, 267},
        {5, 150, Bit(0), 36, 12, 140},
        {470, 100, NumberRange(3, 36, 3), 3, 466, 104},
        {470, 140, NumberRange(2, 35, 3), 3, 466, 140},
        {480, 185, NumberRange(1, 34, 3), 3, 466, 174},
    };
    for (const Case& c : cases) {
        const ChipDrop d = DropChip(c.x, c.y);
        EXPECT_EQ(d.bet, c.bet) << c.x << "," << c.y;
        EXPECT_EQ(d.multiple, c.m) << c.x << "," << c.y;
        EXPECT_EQ(d.chipLeft, c.left) << c.x << "," << c.y;
        EXPECT_EQ(d.chipTop, c.top) << c.x << "," << c.y;
    }
    // The zero border, top to bottom.
    const NumberSet border[7] = {Set({0, 1, 2, 3}), Set({0, 3}), Set({0, 2, 3}),   Set({0, 2}),
                                 Set({0, 1, 2}),    Set({0, 1}), Set({0, 1, 2, 3})};
    const int borderM[7] = {9, 18, 12, 18, 12, 18, 9};
    for (int j = 0; j <= 6; ++j) {
        const ChipDrop d = DropChip(29, 87 + 17.5 * j);
        EXPECT_EQ(d.bet, border[j]) << j;
        EXPECT_EQ(d.multiple, borderM[j]) << j;
    }
}

TEST(DropChip, EveryGridPointBetsOnTheCellsItTouches) {
    for (int i = 1; i <= 23; ++i) {
        for (int j = 0; j <= 6; ++j) {
            const double x = 29 + 17.5 * i, y = 87 + 17.5 * j;
            const ChipDrop d = DropChip(x, y);
            EXPECT_EQ(d.bet, GridOracle(x, y)) << x << "," << y;
            EXPECT_DOUBLE_EQ(d.chipX, x);
            EXPECT_DOUBLE_EQ(d.chipY, y);
            EXPECT_EQ(d.chipLeft, static_cast<int>(std::nearbyint(x)));
        }
    }
}

TEST(DropChip, EveryPixelOfThePictureGivesAFairBetWithZeroOnlyAtTheLeft) {
    for (int y = 0; y < 307; ++y) {
        for (int x = 0; x < 500; ++x) {
            const ChipDrop d = DropChip(x, y);
            ASSERT_NE(d.bet, 0u) << x << "," << y;
            ASSERT_EQ(d.multiple * CountNumbers(d.bet), 36) << x << "," << y;
            ASSERT_EQ(d.bet >> 37, 0u);
            if (Contains(d.bet, 0)) {
                ASSERT_LE(d.snappedX, 29.0) << x << "," << y;
            }
            ASSERT_GE(d.chipLeft, 0);
            ASSERT_LE(d.chipLeft, 500 - 27);
        }
    }
    // Far outside as well.
    EXPECT_EQ(DropChip(-1e9, 1e9).bet, NumberRange(19, 36));
    EXPECT_EQ(DropChip(1e9, -1e9).bet, NumberRange(1, 12));
}

TEST(Wheel, PocketsLieOnTheCircleInTheStandardOrder) {
    std::set<int> numbers(kWheelOrder.begin(), kWheelOrder.end());
    EXPECT_EQ(numbers.size(), 37u);
    EXPECT_EQ(*numbers.begin(), 0);
    EXPECT_EQ(*numbers.rbegin(), 36);
    for (int n = 0; n <= 36; ++n) EXPECT_EQ(kWheelOrder[WheelIndex(n)], n);
    EXPECT_EQ(ColourOf(0), PocketColour::Green);
    EXPECT_EQ(ColourOf(32), PocketColour::Red);
    EXPECT_EQ(ColourOf(15), PocketColour::Black);
    // Neighbours on the wheel alternate in colour (0 aside).
    for (int k = 1; k < 36; ++k) EXPECT_NE(ColourOf(kWheelOrder[k]), ColourOf(kWheelOrder[k + 1]));

    const Point top = BallCentre(0);
    EXPECT_EQ(top.x, 146);
    EXPECT_EQ(top.y, 36);
    for (int k = 0; k < 37; ++k) {
        const Point p = BallCentre(k);
        EXPECT_NEAR(std::hypot(p.x - 146, p.y - 145), 109, 1.0);
    }
    EXPECT_GT(BallCentre(1).x, 146); // clockwise from the top
}

TEST(Wheel, TheBallMakesItsTurnsThenStopsBeforeTheDrawnNumber) {
    EXPECT_EQ(TurnsFrom(0.0), 1);
    EXPECT_EQ(TurnsFrom(0.25), 1); // round(0.5) = 0
    EXPECT_EQ(TurnsFrom(0.3), 2);
    EXPECT_EQ(TurnsFrom(0.75), 3); // round(1.5) = 2
    EXPECT_EQ(TurnsFrom(0.999), 3);

    const auto path = BallPath(2, 19); // 19 is at wheel index 3
    ASSERT_EQ(path.size(), 2u * 37 + 3);
    EXPECT_EQ(path[0].waitMs, 50);
    EXPECT_EQ(path[36].waitMs, 50);
    EXPECT_EQ(path[37].waitMs, 100);
    EXPECT_EQ(path[37].wheelIndex, 0);
    EXPECT_EQ(path.back().wheelIndex, 2);
    EXPECT_EQ(path.back().waitMs, 100);
    EXPECT_EQ(BallPath(1, 0).size(), 37u);
    EXPECT_EQ(BallPath(1, 0).back().waitMs, 100);
}

GameState Game(int capital, int goal, int bets, NumberSet bet, int m) {
    GameState g;
    g.capital = capital;
    g.goal = goal;
    g.betsLeft = bets;
    g.bet = bet;
    g.multiple = m;
    return g;
}

TEST(SettleBet, WinsAndLossesChangeTheCapital) {
    GameState g = Game(10, 100, 5, Bit(3), 36);
    Settlement s = SettleBet(g, 2, 3);
    EXPECT_TRUE(s.won);
    EXPECT_EQ(s.amount, 70);
    EXPECT_EQ(s.outcome, "Congratulations! You win $ 70");
    EXPECT_EQ(g.capital, 80);
    EXPECT_EQ(g.betsLeft, 4);
    EXPECT_EQ(s.endMessage, "");
    EXPECT_FALSE(g.gameOver);
    EXPECT_EQ(g.bet, Bit(3)); // the bet stays for the next spin

    s = SettleBet(g, 5, 4);
    EXPECT_FALSE(s.won);
    EXPECT_EQ(s.outcome, "Sorry, you lose $ 5");
    EXPECT_EQ(g.capital, 75);
    EXPECT_EQ(g.betsLeft, 3);
    EXPECT_THROW(SettleBet(g, 0, 4), std::invalid_argument);
    EXPECT_THROW(SettleBet(g, 1, 37), std::invalid_argument);
}

TEST(SettleBet, ZeroLosesEveryOutsideBet) {
    for (double x : {100.0, 260.0, 380.0, 470.0}) {
        for (double y : {40.0, 250.0, 100.0, 140.0, 185.0}) {
            const ChipDrop d = DropChip(x, y);
            if (d.snappedY >= 87 && d.snappedY <= 192 && d.snappedX <= 431.5) continue; // inside bets
            GameState g = Game(10, 20, 3, d.bet, d.multiple);
            EXPECT_FALSE(SettleBet(g, 1, 0).won) << x << "," << y;
            EXPECT_EQ(g.capital, 9);
        }
    }
}

TEST(SettleBet, TheEndMessagesInTheirOrder) {
    const NumberSet red = DropChip(380, 70).bet;
    // Capital 3, goal 5, 2 bets: 2 on red, a red number.
    GameState g = Game(3, 5, 2, red, 2);
    EXPECT_EQ(SettleBet(g, 2, 1).endMessage, "Congratulations! You have won the game of roulette");
    EXPECT_TRUE(g.gameOver);
    // Broke with bets left.
    g = Game(3, 5, 2, red, 2);
    EXPECT_EQ(SettleBet(g, 3, 2).endMessage, "Too bad! You have gone broke");
    EXPECT_EQ(g.capital, 0);
    // Broke on the last bet: out of reach, not broke.
    g = Game(3, 5, 1, red, 2);
    EXPECT_EQ(SettleBet(g, 3, 2).endMessage,
              "Too bad! You cannot reach anymore your original goal within the number of bets left");
    // Below the goal on the last bet.
    g = Game(3, 5, 1, red, 2);
    EXPECT_EQ(SettleBet(g, 1, 1).endMessage,
              "Too bad! You cannot reach anymore your original goal within the number of bets left");
    // The goal reached on the last bet is a win.
    g = Game(3, 5, 1, red, 2);
    EXPECT_EQ(SettleBet(g, 2, 1).endMessage, "Congratulations! You have won the game of roulette");
}

TEST(TurnWheel, TheStakeIsCheckedBeforeTheBet) {
    GameState g = Game(3, 5, 2, 0, 0);
    EXPECT_EQ(CheckTurn(g, 4), "Stake cannot be more than current capital");
    EXPECT_EQ(CheckTurn(g, 3), "Chip on invalid position");
    g.bet = Bit(7);
    g.multiple = 36;
    EXPECT_EQ(CheckTurn(g, 3), "");
    EXPECT_EQ(CheckTurn(g, 4), "Stake cannot be more than current capital");
}

} // namespace
} // namespace tarvik::roulette
