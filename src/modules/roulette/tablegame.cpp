#include "modules/roulette/tablegame.h"

#include "common/numformat.h"
#include "common/random.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>
#include <stdexcept>

namespace tarvik::roulette {
namespace {

ChipDrop Bet(NumberSet bet, int multiple, double chipX, double chipY) {
    ChipDrop d;
    d.bet = bet;
    d.multiple = multiple;
    d.chipX = chipX;
    d.chipY = chipY;
    return d;
}

NumberSet Numbers(std::initializer_list<int> numbers) {
    NumberSet s = 0;
    for (int n : numbers) s |= Bit(n);
    return s;
}

NumberSet RedNumbers() {
    return Numbers({1, 3, 5, 7, 9, 12, 14, 16, 18, 19, 21, 23, 25, 27, 30, 32, 34, 36});
}

// A lattice point on the number grid: column index i (1 .. 23) and row index
// j (0 .. 6). Odd i is the middle of column (i - 1) / 2, even i the line after
// column i / 2 - 1; odd j is the middle of a row, even j a line or an edge.
ChipDrop GridBet(int i, int j, double x, double y) {
    if (i % 2 == 1) {
        const int q = (i - 1) / 2;
        switch (j) {
        case 1:
            return Bet(Bit(3 * q + 3), 36, x, y);
        case 3:
            return Bet(Bit(3 * q + 2), 36, x, y);
        case 5:
            return Bet(Bit(3 * q + 1), 36, x, y);
        case 2:
            return Bet(Numbers({3 * q + 2, 3 * q + 3}), 18, x, y);
        case 4:
            return Bet(Numbers({3 * q + 1, 3 * q + 2}), 18, x, y);
        default:
            return Bet(Numbers({3 * q + 1, 3 * q + 2, 3 * q + 3}), 12, x, y);
        }
    }
    const int q = i / 2 - 1;
    switch (j) {
    case 1:
        return Bet(Numbers({3 * q + 3, 3 * q + 6}), 18, x, y);
    case 3:
        return Bet(Numbers({3 * q + 2, 3 * q + 5}), 18, x, y);
    case 5:
        return Bet(Numbers({3 * q + 1, 3 * q + 4}), 18, x, y);
    case 2:
        return Bet(Numbers({3 * q + 2, 3 * q + 3, 3 * q + 5, 3 * q + 6}), 9, x, y);
    case 4:
        return Bet(Numbers({3 * q + 1, 3 * q + 2, 3 * q + 4, 3 * q + 5}), 9, x, y);
    default:
        return Bet(NumberRange(3 * q + 1, 3 * q + 6), 6, x, y);
    }
}

ChipDrop ChooseBet(int i, int j, double x, double y) {
    if (j < 0) { // the band above the numbers
        if (i < 10) return Bet(NumberRange(1, 18), 2, 152, 52);
        if (i < 17) return Bet(NumberRange(1, 35, 2), 2, 256, 52);
        if (i < 24) return Bet(RedNumbers(), 2, 379, 52);
        if (j <= -4) return Bet(NumberRange(1, 12), 3, 452, 10);
        if (j <= -2) return Bet(NumberRange(13, 24), 3, 454, 39);
        return Bet(NumberRange(25, 36), 3, 466, 70);
    }
    if (j > 6) { // the band below the numbers
        if (i < 10) return Bet(NumberRange(19, 36), 2, 152, 227);
        if (i < 17) return Bet(NumberRange(2, 36, 2), 2, 256, 227);
        if (i < 24) return Bet(NumberRange(1, 36) & ~RedNumbers(), 2, 379, 227);
        if (j <= 7) return Bet(NumberRange(25, 36), 3, 466, 207);
        if (j <= 9) return Bet(NumberRange(13, 24), 3, 454, 233);
        return Bet(NumberRange(1, 12), 3, 452, 267);
    }
    if (i < 0) return Bet(Bit(0), 36, 11.5, 139.5);
    if (i == 0) { // the border between 0 and the numbers
        switch (j) {
        case 1:
            return Bet(Numbers({0, 3}), 18, x, y);
        case 2:
            return Bet(Numbers({0, 2, 3}), 12, x, y);
        case 3:
            return Bet(Numbers({0, 2}), 18, x, y);
        case 4:
            return Bet(Numbers({0, 1, 2}), 12, x, y);
        case 5:
            return Bet(Numbers({0, 1}), 18, x, y);
        default:
            return Bet(Numbers({0, 1, 2, 3}), 9, x, y);
        }
    }
    if (i <= 23) return GridBet(i, j, x, y);
    // The column bets at the right end of the rows.
    if (j <= 2) return Bet(NumberRange(3, 36, 3), 3, 466.5, 104.5);
    if (j <= 4) return Bet(NumberRange(2, 35, 3), 3, 466.5, 139.5);
    return Bet(NumberRange(1, 34, 3), 3, 466.5, 174.5);
}

} // namespace

int CountNumbers(NumberSet set) {
    return std::popcount(set);
}

NumberSet NumberRange(int first, int last, int step) {
    NumberSet s = 0;
    for (int n = first; n <= last; n += step) s |= Bit(n);
    return s;
}

bool IsRed(int number) {
    return Contains(RedNumbers(), number);
}

PocketColour ColourOf(int number) {
    if (number == 0) return PocketColour::Green;
    return IsRed(number) ? PocketColour::Red : PocketColour::Black;
}

int WheelIndex(int number) {
    for (int k = 0; k < static_cast<int>(kWheelOrder.size()); ++k)
        if (kWheelOrder[k] == number) return k;
    throw std::invalid_argument("not a number of the wheel");
}

ChipDrop DropChip(double x, double y) {
    // Rounding to the nearest lattice point, halves to even (the default
    // rounding mode of nearbyint).
    const double fi = std::nearbyint((x - kLatticeX0) / kLatticeStep);
    const double fj = std::nearbyint((y - kLatticeY0) / kLatticeStep);
    // Far outside the picture the regions no longer change; keep the indices small.
    const int i = static_cast<int>(std::clamp(fi, -100.0, 100.0));
    const int j = static_cast<int>(std::clamp(fj, -100.0, 100.0));
    const double sx = kLatticeX0 + kLatticeStep * i;
    const double sy = kLatticeY0 + kLatticeStep * j;
    ChipDrop d = ChooseBet(i, j, sx, sy);
    d.snappedX = sx;
    d.snappedY = sy;
    d.chipLeft = static_cast<int>(std::nearbyint(d.chipX));
    d.chipTop = static_cast<int>(std::nearbyint(d.chipY));
    return d;
}

Point BallCentre(int wheelIndex) {
    const double a = wheelIndex * 2.0 * std::numbers::pi / 37.0 + 3.0 * std::numbers::pi / 2.0;
    return {static_cast<int>(std::nearbyint(109.0 * std::cos(a))) + 146,
            static_cast<int>(std::nearbyint(109.0 * std::sin(a))) + 145};
}

int TurnsFrom(double u) {
    return static_cast<int>(std::nearbyint(2.0 * u)) + 1;
}

WheelSpin SpinWheel() {
    WheelSpin spin;
    spin.number = RandomInt(37);
    spin.turns = TurnsFrom(RandomReal());
    return spin;
}

std::vector<BallStep> BallPath(int turns, int drawnNumber) {
    std::vector<BallStep> path;
    for (int turn = 1; turn <= turns; ++turn)
        for (int k = 0; k < 37; ++k) path.push_back({k, turn == turns ? 100 : 50});
    const int last = WheelIndex(drawnNumber);
    for (int k = 0; k < last; ++k) path.push_back({k, 100});
    return path;
}

bool StakeTooHigh(const GameState& game, int stake) {
    return stake > game.capital;
}

std::string CheckTurn(const GameState& game, int stake) {
    if (StakeTooHigh(game, stake)) return kStakeTooHigh;
    if (game.bet == 0) return kChipInvalid;
    return {};
}

Settlement SettleBet(GameState& game, int stake, int drawnNumber) {
    if (stake < 1) throw std::invalid_argument("stake below 1");
    if (drawnNumber < 0 || drawnNumber > 36) throw std::invalid_argument("not a number of the wheel");
    Settlement s;
    s.won = Contains(game.bet, drawnNumber);
    if (s.won) {
        s.amount = stake * (game.multiple - 1);
        game.capital += s.amount;
        s.outcome = Format("Congratulations! You win $ %d", s.amount);
    } else {
        s.amount = stake;
        game.capital -= stake;
        s.outcome = Format("Sorry, you lose $ %d", stake);
    }
    game.betsLeft -= 1;
    if (game.betsLeft <= 0 && game.capital < game.goal) {
        game.gameOver = true;
        s.endMessage = kGoalOutOfReach;
    } else if (game.capital >= game.goal) {
        game.gameOver = true;
        s.endMessage = kGameWon;
    }
    if (game.capital <= 0 && !game.gameOver) {
        game.gameOver = true;
        s.endMessage = kGoneBroke;
    }
    return s;
}

} // namespace tarvik::roulette
