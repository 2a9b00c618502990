#pragma once
// The IP run of the model window: the progress dialog, reading, branch and
// bound and the report, handing control to the event loop now and then so
// that the dialog's button can stop the search.
#include "modules/ip/miprun.h"
#include "modules/lp/ui/solver.h"

#include <functional>
#include <memory>

namespace tarvik::ui {

class TMIPProgressDialog;

// What the window gives a run besides the model text: the search, the log
// that records the nodes, and what happens when the dialog's "Search tree" is
// pressed (`dialog` is the progress dialog), each time the run hands control
// to the event loop, and when the search is over.
struct MIPRunHooks {
    tarvik::ip::SearchOptions search = tarvik::ip::kDefaultSearch;
    std::shared_ptr<tarvik::ip::NodeLog> log;
    std::function<void(TMIPProgressDialog* dialog)> searchTree;
    std::function<void()> yielded;
    std::function<void()> finished;
};

class TMIPSolver : public TSolver {
public:
    using TSolver::TSolver;
    using Hooks = MIPRunHooks;

    // Shows the progress dialog, runs the model text (every line ended by
    // CR LF) and keeps handling events until the user has closed the dialog.
    // Returns true when the model was read.
    bool run(const QString& modelText, const Hooks& hooks = {});
};

} // namespace tarvik::ui
