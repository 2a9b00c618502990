#include "modules/montecarlo/ui/mcexperiments.h"

namespace tarvik::montecarlo::ui {

void CreateExperiments(TMC*, ExperimentSlots&) {}

} // namespace tarvik::montecarlo::ui
