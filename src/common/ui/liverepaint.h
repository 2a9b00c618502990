#pragma once
// Paces the repaints of a live picture (a diagram that grows while a run goes
// on) to the display's frame rate: at most one paint per frame interval, about
// sixty a second, and the last state asked for is always painted.
#include <QTimer>
#include <chrono>
#include <functional>

namespace tarvik::ui {

class LiveRepaint {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kFrameInterval{16};

    // `paint` shows the current state (draws it and repaints the widget).
    // `now` is the clock (tests give their own).
    explicit LiveRepaint(std::function<void()> paint, std::function<Clock::time_point()> now = &Clock::now);
    LiveRepaint(const LiveRepaint&) = delete;
    LiveRepaint& operator=(const LiveRepaint&) = delete;

    // The state changed: paints now when the last paint is at least one frame
    // interval old, otherwise keeps it pending. A pending state is painted by
    // the next request that falls due, by `flush`, or by a timer at the end
    // of the interval once the event loop runs.
    void request();
    // Paints a pending state at once (the end of a run).
    void flush();
    // Forgets a pending state (a new run starts from a fresh picture).
    void reset();
    bool pending() const { return pending_; }
    // The paints done so far.
    long long paints() const { return paints_; }

    // The least time between two paints for every live picture. Window tests
    // set 0, so that every state a run asks to show is painted.
    static void SetFrameInterval(std::chrono::milliseconds interval) { interval_ = interval; }
    static std::chrono::milliseconds FrameInterval() { return interval_; }

private:
    void paintNow();

    std::function<void()> paint_;
    std::function<Clock::time_point()> now_;
    Clock::time_point last_{};
    bool painted_ = false;
    bool pending_ = false;
    long long paints_ = 0;
    QTimer timer_;
    static inline std::chrono::milliseconds interval_ = kFrameInterval;
};

} // namespace tarvik::ui
