#pragma once
// The experiment objects of the chooser's choices. Each experiment's windows
// live in their own files; this list creates them for a module window.
#include "modules/montecarlo/ui/mcunit.h"

#include <array>
#include <memory>

namespace tarvik::montecarlo::ui {

using ExperimentSlots = std::array<std::unique_ptr<TMCExperiment>, kChoices>;

// Fills the slot of every experiment that is built.
void CreateExperiments(TMC* module, ExperimentSlots& slots);

} // namespace tarvik::montecarlo::ui
