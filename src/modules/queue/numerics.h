#pragma once
// The numerical routines the queueing models share: Brent's method and
// bisection with the parameters of each model's use, the Gauss-Legendre rule,
// a dense solver with scaled partial pivoting and a solver for upper Hessenberg
// systems by Householder reflections. A breakdown is thrown as `Breakdown`;
// the run writes its lines into the log and ends.
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

namespace tarvik::queue {

class Breakdown : public std::runtime_error {
public:
    explicit Breakdown(std::vector<std::string> lines, bool box = false, std::string caption = "Error")
        : std::runtime_error(lines.empty() ? std::string("breakdown") : lines.front()),
          lines(std::move(lines)), box(box), caption(std::move(caption)) {}
    std::vector<std::string> lines;
    bool box;            // shown as a message box rather than written into the log
    std::string caption; // of that box
};

// Each model's use of a root finder.
enum class RootUse {
    CoxianBrent,
    CoxianBisection,
    ErlangBrent,
    ErlangBisection,
    ErlangBisectionFixed, // [1e-10, 0.9999999999], tolerance 1e-16
    DG1Brent,
    DG1Bisection, // [2e-12, 0.999999999998], tolerance 1e-12
    MDcBrent,
    MDcBisection, // [1e-14, x], tolerance 1e-14
    DMcBisection, // [1e-14, x], tolerance 1e-14
    GMcBisection, // tolerance 1e-18
};

struct RootUseParams {
    int cap;             // iterations or halvings; 0: until the tolerance stops it
    double relTerm;      // Brent: tol1 = relTerm * |b| + absTerm
    double absTerm;      // Brent: < 0 means tol / 2
    double endTolerance; // bisection: an end with |f| <= this is returned at once (< 0: exactly 0)
    std::vector<std::string> bracketFailure;
    std::vector<std::string> capReached;
    bool box; // the messages are error boxes
    // Bisection: the lines when f has the same strict sign at both ends, its
    // product above zero (empty: the bracket failure); the bracket failure
    // then remains for ends whose product underflows to zero.
    std::vector<std::string> sameSign;
};

const RootUseParams& Params(RootUse use);

using RealFunction = std::function<double(double)>;

// Brent's method on [x1, x2] with tolerance tol.
double Zbrent(RootUse use, const RealFunction& f, double x1, double x2, double tol);
// Bisection on [lo, hi]: starts at the end where f < 0 and halves until
// |dx| < tol or f = 0. When `capHit` is given, reaching the cap sets it and
// returns the current value instead of breaking down.
double Rtbis(RootUse use, const RealFunction& f, double lo, double hi, double tol, bool* capHit = nullptr);

// Extended-precision weights normalised into probabilities.
std::vector<double> Normalised(const std::vector<long double>& x);

// Gauss-Legendre nodes and weights of n points on [a, b].
struct QuadratureRule {
    std::vector<double> x, w;
};
QuadratureRule GaussLegendre(int n, double a, double b, double eps);

// A square matrix in contiguous rows.
class DenseMatrix {
public:
    DenseMatrix() = default;
    explicit DenseMatrix(int n) : n_(n), a_(static_cast<std::size_t>(n) * static_cast<std::size_t>(n), 0.0) {}
    int size() const { return n_; }
    double* row(int i) { return a_.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(n_); }
    const double* row(int i) const {
        return a_.data() + static_cast<std::size_t>(i) * static_cast<std::size_t>(n_);
    }
    double& operator()(int i, int j) { return row(i)[j]; }
    double operator()(int i, int j) const { return row(i)[j]; }

private:
    int n_ = 0;
    std::vector<double> a_;
};

// Solves A x = r (order up to 750) by elimination with scaled partial pivoting.
// A and r are overwritten. Throws Breakdown("Er is iets mis in LUDECO") when a
// scaled pivot falls below 1e-12.
std::vector<double> LUDECO(DenseMatrix& a, std::vector<double> r);

// Solves an upper Hessenberg system by Householder reflections; false when the
// matrix is singular ("householder matrix is singulier"). A and r are overwritten.
bool SolveHessenberg(DenseMatrix& a, std::vector<double> r, std::vector<double>& x);

} // namespace tarvik::queue
