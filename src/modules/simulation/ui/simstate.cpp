#include "modules/simulation/ui/simstate.h"

namespace tarvik::simulation::ui {

SimState& State() {
    static SimState state;
    return state;
}

void ResetState() {
    State() = SimState{};
}

} // namespace tarvik::simulation::ui
