#include "common/ui/liverepaint.h"

namespace tarvik::ui {

LiveRepaint::LiveRepaint(std::function<void()> paint, std::function<Clock::time_point()> now)
    : paint_(std::move(paint)), now_(std::move(now)) {
    timer_.setSingleShot(true);
    QObject::connect(&timer_, &QTimer::timeout, [this] { flush(); });
}

void LiveRepaint::request() {
    const Clock::time_point t = now_();
    if (!painted_ || t - last_ >= interval_) {
        paintNow();
        return;
    }
    pending_ = true;
    if (!timer_.isActive()) {
        const auto left = std::chrono::ceil<std::chrono::milliseconds>(interval_ - (t - last_));
        timer_.start(static_cast<int>(std::max<long long>(1, left.count())));
    }
}

void LiveRepaint::flush() {
    if (pending_) paintNow();
}

void LiveRepaint::reset() {
    pending_ = false;
    timer_.stop();
}

void LiveRepaint::paintNow() {
    pending_ = false;
    timer_.stop();
    last_ = now_();
    painted_ = true;
    ++paints_;
    if (paint_) paint_();
}

} // namespace tarvik::ui
