#pragma once
// Helpers shared by the simulation tests.
#include "common/progress.h"
#include "modules/simulation/simkernels.h"

#include <vector>

namespace tarvik::simulation::test {

struct Sample {
    int panel;
    int index;
    long long actual;
    double average;
};

// Keeps every sample the kernel hands out.
struct RecordingObserver {
    static constexpr bool kActive = true;
    void sample(int panel, int index, long long actual, double average) {
        samples.push_back({panel, index, actual, average});
    }
    std::vector<Sample> panel(int p) const {
        std::vector<Sample> out;
        for (const auto& s : samples)
            if (s.panel == p) out.push_back(s);
        return out;
    }
    std::vector<Sample> samples;
};

// Asks the run to stop at its first hand-over of control.
class StopAtFirstYield : public Progress {
public:
    void yield() override { ++yields; }
    bool stopRequested() const override { return yields > 0; }
    int yields = 0;
};

} // namespace tarvik::simulation::test
