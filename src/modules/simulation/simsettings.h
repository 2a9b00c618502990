#pragma once
// Settings of the seven queue-simulation experiments, with the start values of
// the settings dialogs. Times in minutes, rates in customers per minute.
#include <string>

namespace tarvik::simulation {

enum class Experiment { Single, CompareMD1, CompareDM1, VaryingLoad, Pooling, Tandem, Priority };

inline constexpr double kMinSingleLength = 400;
inline constexpr double kMinLength = 225; // the six two-system experiments
inline constexpr double kMaxLength = 1000000;
inline constexpr int kMaxInitial = 1000;

struct SingleSettings {
    double lambda = 1;
    double mu = 1.25;
    double length = 10000;
    int initial = 0;
    bool detArrivals = false;
    bool detService = false;
};

// The comparisons (M/D/1 or D/M/1 against M/M/1).
struct CompareSettings {
    bool deterministicService = true; // true: M/D/1, false: D/M/1
    double lambda = 1;
    double mu = 1.25;
    double length = 10000;
    int initial = 0;
};

// System k has arrival rate rho k and service rate 1. The texts are the loads
// as typed; they appear in the panel titles and the results.
struct VaryingLoadSettings {
    double rho1 = 0.9;
    double rho2 = 0.8;
    std::string rho1Text = "0.9";
    std::string rho2Text = "0.8";
    double length = 10000;
    int initial = 0;
};

struct PoolingSettings {
    double lambda1 = 1;
    double lambda2 = 1;
    double mu1 = 1.25;
    double mu2 = 1.25;
    bool detService = false;
    double length = 10000;
};

struct TandemSettings {
    double lambda = 1;
    double mu1 = 1.25;
    double mu2 = 1.25;
    bool detArrivals = false;
    bool detService1 = false;
    bool detService2 = false;
    double length = 10000;
};

struct PrioritySettings {
    double lambda1 = 1;
    double lambda2 = 1;
    double mu1 = 3;
    double mu2 = 3;
    bool detService1 = false;
    bool detService2 = false;
    double length = 10000;
};

} // namespace tarvik::simulation
