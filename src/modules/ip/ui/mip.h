#pragma once
// The IP run of the model window: the progress dialog, reading, branch and
// bound and the report, handing control to the event loop now and then so
// that the dialog's button can stop the search.
#include "modules/lp/ui/solver.h"

namespace tarvik::ui {

class TMIPSolver : public TSolver {
public:
    using TSolver::TSolver;

    // Shows the progress dialog, runs the model text (every line ended by
    // CR LF) and keeps handling events until the user has closed the dialog.
    // Returns true when the model was read.
    bool run(const QString& modelText);
};

} // namespace tarvik::ui
