#pragma once
// The settings of the queue simulation, kept for the whole run of the program
// (also across closing and opening the module). The comparisons and the
// varying load share λ, μ, the simulation length and the initial queue with
// the single-server settings.
#include "modules/simulation/simsettings.h"

namespace tarvik::simulation::ui {

struct SimState {
    SingleSettings single;
    VaryingLoadSettings varying;
    PoolingSettings pooling;
    TandemSettings tandem;
    PrioritySettings priority;
};

SimState& State();
// Back to the start values (for tests).
void ResetState();

} // namespace tarvik::simulation::ui
