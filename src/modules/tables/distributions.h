#pragma once
// Distribution functions of the statistical tables module: probabilities,
// percentiles and densities of eight distributions, the special functions
// behind them, the two root finders, and the texts of the printed tables and
// of the graph captions. Plain C++; the window only calls these.
//
// Internally everything is computed in extended (80-bit) precision; the table
// texts show at most 8 significant digits and every digit shown is right.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvik::tables {

// ---------------------------------------------------------------------------
// Messages

// How a message of these routines reaches the user.
enum class MessageDialog {
    None,          // a console diagnostic: no dialog; the calculation stops
    StandardError, // StdMsgDlg(text, MsgKind::Error, mbOK); the computation goes on
};

// Guard messages ("Fatal error", "Fatal error: alpha < 0", "Fatal error: ,Sigma < 0",
// "Fatal error: Sigma < 0", "Fatal error: Df < 0") are shown with the standard
// message dialog, kind Error, one OK button, after which the computation goes
// on. The window installs a handler that shows them; without one they are
// dropped. Returns the handler that was installed before.
using GuardHandler = std::function<void(const std::string& message)>;
GuardHandler SetGuardHandler(GuardHandler handler);

// A precondition failure ("error in routine BETAI", "pause in RTBIS" +
// "Root must be bracketed for bisection.", "pause in RTBIS - too many bisections",
// "Illegal argument in RHYPCDF", "n<0 in rbinpro", "p not in [0,1] in rbinpro",
// "n should be >= 0", "p should be in [0,1]"). It ends the calculation: the
// window stops writing table lines (the lines already written stay) and shows
// no dialog. what() is the text; a two-line text is joined by "\n".
class PreconditionFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
    MessageDialog dialog() const { return MessageDialog::None; }
};

// Beyond these the table prints " Infinite" / "-Infinite".
inline constexpr double kInfinite = 1e100;
inline constexpr double kInfiniteLimit = 1e99;

// ---------------------------------------------------------------------------
// Special functions and root finders

double LnGamma(double x);                   // ln Γ(x); x <= 0 shows "Fatal error"
double BETAI(double x, double a, double b); // regularized incomplete beta I_x(a, b)

// P(alpha, x / sigma), the regularized lower incomplete gamma function.
double GammaScaledCdf(double sigma, double alpha, double x);

using RealFunction = std::function<long double(long double)>;
// Bisection on [x1, x2] (f(x1) and f(x2) of opposite signs) to accuracy xacc.
long double RTBIS(const RealFunction& f, long double x1, long double x2, long double xacc);
// A root of f near x0: bracketing from x0, then Dekker-Brent refinement to
// the x tolerance tol (absolute; a relative tolerance of 1e-15 |x| applies too).
long double ZeroIn(const RealFunction& f, long double x0, long double tol);

// ---------------------------------------------------------------------------
// Continuous distributions. Quantiles return -kInfinite / +kInfinite where the
// table prints an infinite percentile.

double NormalCdf(double x);
double NormalQuantile(double p);
double NormalDensity(double sigma, double mu, double x); // sigma <= 0 shows "Fatal error: Sigma < 0"

double ChiSquareCdf(double v, double x); // v <= 0 shows "Fatal error: Df < 0"
double ChiSquareQuantile(double v, double p);
double ChiSquareDensity(double v, double x);

double StudentCdf(double v, double x);
double StudentQuantile(double v, double p);
double StudentDensity(double v, double x);

double FisherCdf(double v, double w, double x);
double FisherQuantile(double v, double w, double p);
double FisherDensity(double v, double w, double x);

// Gamma distribution with expectation 1 and standard deviation s.
struct GammaProbabilities {
    double P = 0; // P(X <= x)
    double Q = 1; // P(X > x)
};
GammaProbabilities GammaCdf(double s, double x);
// Long double: for s near 10 the small percentiles lie far below the range of a double.
long double GammaQuantile(double s, double p);
double GammaDensity(double s, double x);

// ---------------------------------------------------------------------------
// Discrete distributions

double PoissonPmf(double lambda, long long k);
double PoissonCdf(double lambda, long long k);

double rbinpro(long long n, double p, double x); // P(X = floor(x))
double BinomialCdf(long long n, double p, long long k);

// N = R + W balls of which R red, n draws; X the number of red balls drawn.
double HypergeometricPmf(long long x, long long n, long long R, long long N);
double RHYPCDF(long long x, long long n, long long R, long long N); // P(X <= x)
double HypergeometricCdf(long long x, long long n, long long R, long long N);

// ---------------------------------------------------------------------------
// The tables

enum class Distribution { Normal, Binomial, Poisson, Hypergeometric, ChiSquare, Student, Fisher, Gamma };

// The parameters of one table or graph; each distribution reads its own.
struct Parameters {
    long long n = 0;     // binomial: trials; hypergeometric: draws
    double p = 0;        // binomial success probability
    double lambda = 0;   // Poisson mean
    long long red = 0;   // hypergeometric R
    long long white = 0; // hypergeometric W
    double v = 0;        // degrees of freedom (chi-square, Student-t, Fisher-F numerator)
    double w = 0;        // Fisher-F denominator degrees of freedom
    double s = 0;        // gamma standard deviation
};

bool IsDiscrete(Distribution d); // binomial, Poisson, hypergeometric: integer x
bool HasPercentiles(Distribution d);

// The number texts of the tables.
std::string TableProbabilityText(double p);
std::string TableValueText(long double x);

// Header of a table, in the order it is printed.
std::string TableTitle(Distribution d); // "Poisson distribution", ...
std::string ColumnLine(Distribution d); // " x          P(X=x)      P(X<=x)     P(X>x)", ...
std::string RuleLine(Distribution d);   // 46 or 34 "-"
// "Parameter" or "Parameters"; empty for the normal distribution.
std::string ParameterHeading(Distribution d);
struct ParameterLine {
    char letter = ' '; // 'l' and 's' are printed in a symbol font as λ and σ
    std::string text;  // the whole line, letter first: "n =   10          "
};
std::vector<ParameterLine> ParameterLines(Distribution d, const Parameters& params);

// One table line. For the discrete distributions x is an integer value
// (cells x, P(X=x), P(X<=x), P(X>x)); otherwise a real x (x, P(X<=x), P(X>x)).
// A percentile line takes p and prints the percentile, p and 1 - p.
// Throws PreconditionFailure when the calculation must stop.
std::string ProbabilityLine(Distribution d, const Parameters& params, double x);
std::string PercentileLine(Distribution d, const Parameters& params, double p);

// ---------------------------------------------------------------------------
// Graphs

// Mean and standard deviation of a distribution, and the three caption texts
// ("Mu = ..." or "Lambda = ...", "Sigma = ...", "Skewness = ...").
struct GraphMoments {
    double mu = 0;
    double sigma = 0;
    std::string muText;
    std::string sigmaText;
    std::string skewnessText;
};
GraphMoments Moments(Distribution d, const Parameters& params);

inline constexpr int kGraphPoints = 450;

// Everything the graph window draws. `values` holds P(X = k) for k = 0, 1, ...
// (discrete) or the density at x_i = xmin + (i - 1)(xmax - xmin)/450, i = 1 ... 450
// (continuous, values[i - 1]); `normal` the comparison normal density at the x_i.
struct GraphData {
    bool continuous = false;
    bool verticalLine = false; // a black line at x = 0 of height ymax
    std::vector<double> values;
    std::vector<double> normal;
    double xmin = 0;
    double xmax = 0;
    double ymax = 0;
    std::string name;    // red line sample text
    std::string caption; // window caption, "Graph Poisson", ...
    GraphMoments moments;
};
// For the six distributions with a graph (not the normal one), parameters in
// the graph ranges checked by the window.
GraphData PrepareGraph(Distribution d, const Parameters& params);

} // namespace tarvik::tables
