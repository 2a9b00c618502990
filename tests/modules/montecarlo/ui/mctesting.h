#pragma once
// Helpers for the Monte Carlo window tests: runs that hand over to the event
// loop at every point they may, and actions taken at the n-th hand-over, so
// that a test presses "Stop" in the middle of a run without waiting on a clock.
#include "modules/montecarlo/ui/mcwidgets.h"

#include <QObject>
#include <QTimer>
#include <functional>
#include <memory>

namespace tarvik::montecarlo::test {

class EveryHandOver {
public:
    EveryHandOver() { ui::MCRunProgress::HandOverIntervalMs = 0; }
    ~EveryHandOver() { ui::MCRunProgress::HandOverIntervalMs = 10; }
};

// Calls `fn` the n-th time the event loop runs from now on.
inline void AtHandOver(QObject* ctx, int n, std::function<void()> fn) {
    auto* timer = new QTimer(ctx);
    timer->setInterval(0);
    auto count = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, ctx, [timer, count, n, fn] {
        if (++*count != n) return;
        timer->stop();
        timer->deleteLater();
        fn();
    });
    timer->start();
}

} // namespace tarvik::montecarlo::test
