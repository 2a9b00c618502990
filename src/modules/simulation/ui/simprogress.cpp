#include "modules/simulation/ui/simprogress.h"

#include "modules/simulation/ui/simunit.h"

#include <QCoreApplication>

namespace tarvik::simulation::ui {

SimProgress::SimProgress(TSim* owner, std::function<void()> repaint)
    : owner_(owner), repaint_(std::move(repaint)), live_([this] {
          if (owner_ && !owner_->isClosing() && repaint_) repaint_();
      }),
      lastYield_(Clock::now()) {}

SimProgress::~SimProgress() {
    live_.flush();
}

void SimProgress::yield() {
    using namespace std::chrono_literals;
    const auto now = Clock::now();
    if (now - lastYield_ < 10ms) return;
    lastYield_ = now;
    live_.request();
    QCoreApplication::processEvents();
}

bool SimProgress::stopRequested() const {
    return !owner_ || owner_->isClosing() || owner_->stopRequested();
}

} // namespace tarvik::simulation::ui
