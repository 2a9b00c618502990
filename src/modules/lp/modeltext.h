#pragma once
// The model language shared by the LP and IP readers: tokens, terms, the
// model echo and the error positions. `matgen` and `mipmatgen` turn what this
// reader collects into their own solver models.
#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::lp {

// What a reader tells the progress dialog while it reads.
class ReadSink {
public:
    virtual ~ReadSink() = default;
    virtual void line(int) {}
    virtual void variables(int) {}
    virtual void conditions(int) {}
    virtual void errorLine(const std::string&) {}
    // LP: every number the reader adds into the model, as written (digits and
    // point; empty for an implied 1), and whether it is taken away. Constraint
    // 0 is the objective in maximisation form; variable -1 is the right-hand
    // side. A sink that wants the model's numbers exactly (the fraction
    // tableaus) adds them up itself.
    virtual void term(int /*constraint*/, int /*variable*/, bool /*negative*/, std::string_view /*digits*/) {}
    // LP: constraint k was turned round to make its right-hand side nonnegative.
    virtual void turned(int /*constraint*/) {}
};

// The one exception a reader raises; caught at the reader's top level.
class ESyntaxError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class Dialect { LP, IP };

enum class Relation { LessEqual, GreaterEqual, Equal };

// Kind codes of the tableau columns, in this order.
enum class ColumnKind { Slack = 0, Artificial = 1, Surplus = 2, Decision = 3 };

struct ColumnInfo {
    std::string name;
    ColumnKind kind = ColumnKind::Decision;
    int constraint = 0; // the constraint that created a slack, surplus or artificial column
};

// One constraint after reading, normalised to a right-hand side >= 0.
struct ReadConstraint {
    std::vector<std::pair<int, double>> terms; // (variable index from 0, coefficient), first-appearance order
    std::vector<long> termAt;                  // per term: offset of its last number (or of its name)
    Relation relation = Relation::LessEqual;
    double rhs = 0;
    long rhsAt = 0; // offset of the last constant read into the right-hand side (0: none)
    // LP: the tableau columns made for this constraint (1-based; 0 when absent).
    int slackColumn = 0, surplusColumn = 0, artificialColumn = 0;
};

struct ReadModel {
    bool minimize = false;
    std::vector<std::string> names;  // upper case
    std::vector<double> cost;        // maximisation form
    std::vector<long> costAt;        // offset of each variable's last objective term (0: none)
    std::vector<bool> integer;       // IP declarations
    std::vector<double> upper;       // IP: -1 = none, 1 for binary variables
    std::vector<int> column;         // LP: tableau column of each variable (1-based)
    std::vector<ColumnInfo> columns; // LP: every tableau column in creation order
    std::vector<ReadConstraint> constraints;
};

struct ReadOutcome {
    bool success = false;
    std::string echo;
    long errorPosition = 0; // 1-based offset into the text
    std::string message;    // without the "Syntax error: " prefix
    ReadModel model;
};

// Limits of the two readers.
inline constexpr int kLPMaxConstraints = 1000;
inline constexpr int kLPMaxColumns = 1000;
inline constexpr int kIPMaxVariables = 500;
inline constexpr int kIPMaxConstraints = 500;
inline constexpr int kIPMaxNonzeros = 999;
// No admissible model text comes near this size (a dense model at the limits
// above takes some 25 MB); a larger file is refused before it is read.
inline constexpr std::size_t kMaxModelFileBytes = std::size_t{64} << 20;
inline constexpr std::size_t kIPNameLength = 80;

// Numbers the engines can tell from their infinities. The LP ratio test takes
// a ratio of 1e10 or more for infinite; branch and bound uses 1e12 for "no
// bound" and tests integrality to 1e-6, which values much beyond 1e8 cannot
// hold in double precision. A number as typed, and every sum the reader forms
// of them (a variable's coefficient in a row or in the objective, a
// right-hand side), is at most maxNumber. Where a row bounds a variable on
// its own (a "<=" or "=" row without negative coefficients, or $BINARY), that
// bound is at most maxValue and every coefficient times it at most
// maxProduct; for IP the objective's terms times their bounds add up to at
// most maxObjective. Anything beyond is refused when read: "Number %s is too
// large (at most %s)."
struct NumberLimits {
    double maxNumber;
    double maxValue;
    double maxProduct;
    double maxObjective; // 0: not checked (the LP engine never compares objective values with its infinity)
};
// LP: a hundredth of the ratio test's infinity for numbers, a tenth for values.
inline constexpr NumberLimits kLPNumberLimits{
    .maxNumber = 1e8, .maxValue = 1e9, .maxProduct = 1e9, .maxObjective = 0};
// IP: numbers and values 1e8 (the infinity 1e12 divided by the 1000 terms a
// sum has at most, and a tenth of that), products 1e9, the objective 1e11.
inline constexpr NumberLimits kIPNumberLimits{
    .maxNumber = 1e8, .maxValue = 1e8, .maxProduct = 1e9, .maxObjective = 1e11};

// Skips a UTF-8 byte-order mark at the start of a file's text.
std::string_view WithoutByteOrderMark(std::string_view text);

ReadOutcome ReadModelText(std::string_view text, Dialect dialect, ReadSink& sink);

// A coefficient as the echo writes it: 4 decimals, right-aligned in 7 characters.
std::string EchoNumber(double value);

} // namespace tarvik::lp
