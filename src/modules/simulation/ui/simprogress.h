#pragma once
// What a simulation run sees of the module window: every ~10 ms of work the
// pending user events are handled (that is how Stop, Data, save and closing
// act during a run) and the live picture is repainted at most ~60 times a
// second; a stop is requested by Stop or by the module closing.
#include "common/progress.h"
#include "common/ui/liverepaint.h"

#include <QPointer>
#include <chrono>
#include <functional>

namespace tarvik::simulation::ui {

class TSim;

class SimProgress : public Progress {
public:
    // `repaint` puts the picture drawn so far on the screen.
    SimProgress(TSim* owner, std::function<void()> repaint);
    ~SimProgress() override;
    void yield() override;
    bool stopRequested() const override;

private:
    using Clock = std::chrono::steady_clock;
    QPointer<TSim> owner_;
    std::function<void()> repaint_;
    tarvik::ui::LiveRepaint live_;
    Clock::time_point lastYield_;
};

} // namespace tarvik::simulation::ui
