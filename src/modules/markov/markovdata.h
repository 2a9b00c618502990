#pragma once
// The Markov chain as the input grids hold it, its checks and the choice of
// analysis. Everything here works on the texts the user typed; a successful
// check gives the numbers the analyses run on.
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace tarvik::markov {

enum class ChainType { Discrete, Continuous };

// Type codes on the first line of a chain file.
inline constexpr int kDiscreteCode = 99;
inline constexpr int kContinuousCode = 88;
inline constexpr int kMaxStates = 100;
inline constexpr int kDefaultStates = 5;
inline constexpr int kMaxTimePoints = 25;
inline constexpr int kDefaultTimePoints = 4;
inline constexpr double kMaxTime = 5000;
// Rates and costs beyond this size are refused: every sum and product of the
// analyses then stays far inside double range and the reports stay readable.
inline constexpr double kMaxChainValue = 1e9;
inline constexpr double kMinCost = -100000;

// The chain as cell texts. Indices are 0-based: matrix[i][j] is the cell of
// row "from state i+1" and column "to state j+1".
struct ChainData {
    ChainType type = ChainType::Discrete;
    int n = kDefaultStates;
    std::vector<std::vector<std::string>> matrix; // n x n
    std::vector<std::string> cost;                // c(j) (discrete) or r(j) (continuous), n cells
    std::vector<std::string> transitionCost;      // F(k): n cells when continuous, empty when discrete
};

// A chain of `n` states (1..100) of the given type with every cell "0".
ChainData MakeChain(ChainType type = ChainType::Discrete, int n = kDefaultStates);

// New number of states: existing cells keep their texts, every new or empty
// matrix or cost cell becomes "0".
void ResizeChain(ChainData& chain, int n);

// "Clear": every matrix cell and every cell of the first cost column is "0".
void ClearChain(ChainData& chain);

// Switch to the other chain type: the cost columns of the new type, every
// matrix and cost cell "0".
void SwitchChainType(ChainData& chain, ChainType type);

int CostColumnCount(ChainType type);                      // 1 or 2
std::string CostColumnHeader(ChainType type, int column); // "c(j)"; "r(j)", "F(k)"
std::string WindowCaption(ChainType type); // "Discrete Time Markov Chains" / "Continuous Time Markov Chains "

// ---------------------------------------------------------------------------
// Input problems: the text of the error message, how to show it and which
// field the window puts the focus on afterwards.

enum class Field {
    None,
    Matrix,         // row, column
    Cost,           // row (first cost column)
    TransitionCost, // row (F(k) column)
    NumberOfStates,
    InitialState,  // transient: initial state
    TransientTime, // row of the transient time-point grid
    TransientTimeCount,
    EndState, // row of the end-state grid
    EndStateCount,
    StartingState, // first passage: starting state
    PassageTime,   // row of the first-passage time-point grid
    PassageTimeCount,
    StateA,
};

enum class Dialog {
    StdMsgDlgError, // StdMsgDlg(text, Error, OK)
    MsgDlgError,    // MsgDlg(text, Error, OK)
};

struct InputProblem {
    std::string message;
    Dialog dialog = Dialog::StdMsgDlgError;
    Field field = Field::None;
    int row = -1;            // 0-based, -1: none
    int column = -1;         // 0-based, -1: none
    bool clearField = false; // the field is emptied before it gets the focus
    bool toInputPage = true; // chain data problems send the window back to "Input"
};

// The validated chain: numbers, 0-based, row-major matrix.
struct Chain {
    ChainType type = ChainType::Discrete;
    int n = 0;
    std::vector<double> p;              // n*n: P(i,j) or q(i,j) at [i*n+j]
    std::vector<double> cost;           // c(j) or r(j)
    std::vector<double> transitionCost; // F(k) (continuous), else empty
    double at(int i, int j) const { return p[static_cast<std::size_t>(i) * n + j]; }
};

// The checks run by "&Run", in their fixed order; the first failure is returned.
std::variant<Chain, InputProblem> ValidateChain(const ChainData& chain);

// "Number of states (1 to 100):" applied by the update button or Enter.
std::variant<int, InputProblem> CheckNumberOfStates(std::string_view text);

// ---------------------------------------------------------------------------
// Choice of output.

enum class Analysis { Structure = 0, SteadyState = 1, Transient = 2, FirstPassage = 3 };
enum class TransientOutput { Probabilities = 0, SojournTimes = 1, Costs = 2 };
enum class ReturnSet { Single = 0, Lower = 1, Upper = 2 }; // {a}, {1..a}, {a..N}

// Captions as the choice window shows them.
std::string AnalysisCaption(Analysis a);               // "Chain Structure", "Steady-state behaviour", ...
std::string ResultTabCaption(Analysis a);              // "Chain Structure", "Steady-State Behaviour", ...
std::string TransientOutputCaption(TransientOutput t); // "Transient probabilities", ...
std::string ReturnSetCaption(ReturnSet r);             // "A = {a}", "A = {1..a}", "A = {a..N}"
std::string TimePointLabel(int row);                   // row 0 -> "time point 1 (<=5000)"
std::string EndStateLabel(int row);                    // row 0 -> "end state 1"
std::string EndStateLimitLabel(int n);                 // "Number of end states (max 4):"
int MaxEndStates(int n);                               // min(n, 4)
int DefaultEndStates(int n);                           // min(n, 2)

// The output choices as the fields hold them.
struct ChoiceTexts {
    Analysis analysis = Analysis::Structure;
    // Transient behaviour
    std::string initialState = "1";
    std::vector<std::string> transientTimes; // one text per time-point row
    TransientOutput transientOutput = TransientOutput::Probabilities;
    std::vector<std::string> endStates; // one text per end-state row
    // First-passage time probabilities
    std::string startingState = "1";
    std::vector<std::string> passageTimes;
    ReturnSet returnSet = ReturnSet::Single;
    std::string stateA; // empty after a reset
};

// The choices after a data change: 4 time points "0", min(n, 2) end states "0",
// initial and starting state "1", transient probabilities, A = {a}, a empty.
ChoiceTexts DefaultChoices(int n);

// The checked parameters of one run. States are 1-based as the user sees them.
struct AnalysisParams {
    Analysis analysis = Analysis::Structure;
    int initialState = 1;      // transient: initial state; first passage: starting state
    std::vector<double> times; // sorted increasing, equal values kept (whole numbers for discrete)
    TransientOutput transientOutput = TransientOutput::Probabilities;
    std::vector<int> endStates; // probabilities and sojourn times only
    ReturnSet returnSet = ReturnSet::Single;
    int stateA = 1;
};

// The parameter checks of the chosen analysis for a validated chain.
std::variant<AnalysisParams, InputProblem> CheckParameters(const ChoiceTexts& choices, const Chain& chain);

} // namespace tarvik::markov
