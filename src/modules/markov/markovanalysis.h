#pragma once
// The four analyses of a validated chain, for discrete and continuous time.
// Each returns the lines of its report; the window only shows them.
#include "common/progress.h"
#include "modules/markov/markovdata.h"

#include <string>
#include <string_view>
#include <vector>

namespace tarvik::markov {

// What the progress window ("Calculating...", a bar 0..100, "&Stop") sees of
// a transient or first-passage run. `yield` hands control to the event loop,
// `stopRequested` is the "&Stop" flag; both come from tarvik::Progress.
class MarkovProgress : public tarvik::Progress {
public:
    virtual void begin() {}          // show the window, bar at 0 of 100
    virtual void setPosition(int) {} // bar position 0..100
    virtual void end() {}            // hide the window (also after a stop)
};

struct Report {
    Analysis analysis = Analysis::Structure; // which result tab the text belongs to
    std::vector<std::string> lines;          // the whole result text
    // A stopped run: `lines` holds only the header lines; the window replaces
    // the tab's text with them but neither shows the tab nor changes page.
    bool stopped = false;
    // A run refused before it started (the time points are beyond what the
    // chain can be stepped to in reasonable time): the message to show;
    // `lines` holds only the header lines.
    std::string problem;
};

// Runs the chosen analysis. Transient and first-passage runs call
// progress.begin()/end() and test the stop flag once per time step.
Report RunAnalysis(const Chain& chain, const AnalysisParams& params, MarkovProgress& progress);

// The single analyses (the window may call RunAnalysis instead).
Report ChainStructure(const Chain& chain);
Report SteadyState(const Chain& chain);
Report Transient(const Chain& chain, const AnalysisParams& params, MarkovProgress& progress);
Report FirstPassage(const Chain& chain, const AnalysisParams& params, MarkovProgress& progress);

// The report text with the given line end after every line but the last.
std::string JoinLines(const std::vector<std::string>& lines, std::string_view lineEnd = "\n");

} // namespace tarvik::markov
