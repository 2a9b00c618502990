#pragma once
// The checks of the settings dialogs, as plain functions that return their
// messages in the order the dialog shows them and the settings to store (only
// when every check passed). The dialogs and the command line use them alike.
#include "modules/simulation/simsettings.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvik::simulation {

inline constexpr const char* kMsgArrival = "Invalid arrive intensity";
inline constexpr const char* kMsgService = "Invalid service speed";
inline constexpr const char* kMsgLoad = "Choose: 0.1 <= Rho <= 0.98 with Rho = Arrival intensity/Serve speed";
inline constexpr const char* kMsgStochastic = "One of both processes must be stochastic";
inline constexpr const char* kMsgRho1 = "Choose: 0.1 <= Rho 1 <= 0.98";
inline constexpr const char* kMsgRho2 = "Choose: 0.1 <= Rho 2 <= 0.98";

// A rate as typed: a plain decimal number with "." as the decimal mark
// (blanks around it allowed); nothing for any other text, "nan" and numbers
// beyond the double range included.
std::optional<double> ReadRate(std::string_view text);
// 0.01 < rate < 100.
bool RateInRange(double rate);
// 0.1 <= load <= 0.98, with a relative margin of 1e-9 for the rounding of a quotient.
bool LoadInRange(double load);
// A whole-number field: a value outside lo .. hi goes to the nearest bound, a
// text that is not a whole number reads as lo.
long long ReadWholeNumber(std::string_view text, long long lo, long long hi);

template <class T> struct Checked {
    std::vector<std::string> messages;
    std::optional<T> settings; // set when every check passed
};

struct RateInput {
    std::string lambda, mu;
    double length = 10000;
    int initial = 0;
    bool detArrivals = false;
    bool detService = false;
};

// The single-server dialog: λ, μ, then their load, stopping at the first failure.
Checked<SingleSettings> CheckSingle(const RateInput& in);
// After storing: both processes deterministic cannot run.
std::optional<std::string> ProcessMessage(const SingleSettings& stored);
// The comparison dialog: the same three checks; no process check.
Checked<CompareSettings> CheckCompare(const RateInput& in, bool deterministicService);
// The varying-load dialog: ρ1, then ρ2 (read with StrToReal), first failure only.
Checked<VaryingLoadSettings> CheckVaryingLoad(const std::string& rho1, const std::string& rho2, double length,
                                              int initial);

struct PoolingInput {
    std::string lambda1, lambda2, mu1, mu2;
    bool detService = false;
    double length = 10000;
};
struct TandemInput {
    std::string lambda, mu1, mu2;
    bool detArrivals = false, detService1 = false, detService2 = false;
    double length = 10000;
};
struct PriorityInput {
    std::string lambda1, lambda2, mu1, mu2;
    bool detService1 = false, detService2 = false;
    double length = 10000;
};

// Every failing check in turn: the arrival rates (one message), the service
// rates (one), the loads (one, only when every rate reads as a number); the
// tandem then refuses three deterministic processes.
Checked<PoolingSettings> CheckPooling(const PoolingInput& in);
Checked<TandemSettings> CheckTandem(const TandemInput& in);
Checked<PrioritySettings> CheckPriority(const PriorityInput& in);

} // namespace tarvik::simulation
