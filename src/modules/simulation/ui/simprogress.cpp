#include "modules/simulation/ui/simprogress.h"

#include "modules/simulation/ui/simunit.h"

#include <QCoreApplication>

namespace tarvik::simulation::ui {

SimProgress::SimProgress(TSim* owner, std::function<void()> repaint)
    : owner_(owner), repaint_(std::move(repaint)), lastYield_(Clock::now()), lastPaint_(Clock::now()) {}

void SimProgress::yield() {
    using namespace std::chrono_literals;
    const auto now = Clock::now();
    if (now - lastYield_ < 10ms) return;
    lastYield_ = now;
    if (now - lastPaint_ >= 16ms) {
        lastPaint_ = now;
        if (owner_ && !owner_->isClosing() && repaint_) repaint_();
    }
    QCoreApplication::processEvents();
}

bool SimProgress::stopRequested() const {
    return !owner_ || owner_->isClosing() || owner_->stopRequested();
}

} // namespace tarvik::simulation::ui
