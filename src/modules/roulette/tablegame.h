#pragma once
// The table game: where a chip dropped on the table picture bets, the wheel's
// pockets and the path of the ball, and the settling of a spin.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvik::roulette {

// A set of numbers out of 0 .. 36, one bit per number.
using NumberSet = std::uint64_t;

inline constexpr NumberSet Bit(int number) {
    return NumberSet{1} << number;
}
inline bool Contains(NumberSet set, int number) {
    return number >= 0 && number < 40 && (set >> number & 1u) != 0;
}
int CountNumbers(NumberSet set);

// Numbers `first`, `first + step`, ... up to `last`.
NumberSet NumberRange(int first, int last, int step = 1);

bool IsRed(int number);
enum class PocketColour { Green, Red, Black };
PocketColour ColourOf(int number);

// The standard single-zero wheel, clockwise from the top.
inline constexpr std::array<int, 37> kWheelOrder = {0,  32, 15, 19, 4,  21, 2,  25, 17, 34, 6, 27, 13,
                                                    36, 11, 30, 8,  23, 10, 5,  24, 16, 33, 1, 20, 14,
                                                    31, 9,  22, 18, 29, 7,  28, 12, 35, 3,  26};
// The index of a number in the wheel order.
int WheelIndex(int number);

// --- Dropping the chip ------------------------------------------------------------

// The lattice the drop point snaps to: x = 29 + 17.5 i, y = 87 + 17.5 j.
inline constexpr double kLatticeX0 = 29.0;
inline constexpr double kLatticeY0 = 87.0;
inline constexpr double kLatticeStep = 17.5;

struct ChipDrop {
    NumberSet bet = 0;
    int multiple = 0;      // stakes paid back on a win, the stake included
    double snappedX = 0.0; // the lattice point the drop snapped to
    double snappedY = 0.0;
    double chipX = 0.0; // where the chip's top-left corner goes
    double chipY = 0.0;
    int chipLeft = 0; // the same, rounded (halves to even)
    int chipTop = 0;
};

// Maps a drop point (pixels in the table picture's control) to a bet.
ChipDrop DropChip(double x, double y);

// --- The wheel ----------------------------------------------------------------------

struct Point {
    int x = 0;
    int y = 0;
};
// Centre of the ball in the pocket at wheel index k (0 .. 36), on the circle
// of radius 109 around (146, 145) in the wheel picture.
Point BallCentre(int wheelIndex);
inline constexpr int kBallRadius = 7;

// 1, 2 or 3 turns from a uniform number in [0, 1).
int TurnsFrom(double u);

// One turn of the wheel from the system generator: the number drawn
// (RandomInt(37)), then the ball's turns (from RandomReal()).
struct WheelSpin {
    int number = 0;
    int turns = 1;
};
WheelSpin SpinWheel();

struct BallStep {
    int wheelIndex = 0;
    int waitMs = 0; // how long the ball stays before the clean wheel returns
};
// The ball's path: `turns` full turns (50 ms a pocket, 100 ms in the last
// turn), then up to the pocket before the drawn number at 100 ms. The ball
// then rests in the drawn number's pocket.
std::vector<BallStep> BallPath(int turns, int drawnNumber);

// --- Settling a spin ------------------------------------------------------------------

inline constexpr const char* kStakeTooHigh = "Stake cannot be more than current capital";
inline constexpr const char* kChipInvalid = "Chip on invalid position";
inline constexpr const char* kGoalOutOfReach =
    "Too bad! You cannot reach anymore your original goal within the number of bets left";
inline constexpr const char* kGameWon = "Congratulations! You have won the game of roulette";
inline constexpr const char* kGoneBroke = "Too bad! You have gone broke";

inline constexpr int kMinGameStake = 1;
inline constexpr int kMaxGameStake = 1000;

struct GameState {
    int capital = 0;
    int goal = 0;
    int betsLeft = 0;
    NumberSet bet = 0; // kept from spin to spin and from game to game
    int multiple = 0;
    bool gameOver = false;
};

// Before the wheel turns: the stake must not exceed the capital, then a bet
// must be placed. The error message, or an empty text when the wheel may turn.
std::string CheckTurn(const GameState& game, int stake);
// Only the stake half of `CheckTurn`.
bool StakeTooHigh(const GameState& game, int stake);

struct Settlement {
    bool won = false;
    int amount = 0;         // won or lost
    std::string outcome;    // the outcome dialog's line
    std::string endMessage; // empty while the game goes on
};

// Applies the drawn number to the capital, counts the bet, and ends the game
// when it is won, out of bets or broke. The bet itself stays.
Settlement SettleBet(GameState& game, int stake, int drawnNumber);

} // namespace tarvik::roulette
