#include "common/ui/liverepaint.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

using tarvik::ui::LiveRepaint;
using namespace std::chrono_literals;

// A picture whose state is a number; the clock is the test's.
struct Picture {
    LiveRepaint::Clock::time_point now{};
    int state = 0;
    std::vector<int> shown;
    LiveRepaint live{[this] { shown.push_back(state); }, [this] { return now; }};
    void change(int s, std::chrono::milliseconds at) {
        now = LiveRepaint::Clock::time_point{} + at;
        state = s;
        live.request();
    }
};

// Window tests run with every state painted; these restore the frame rate.
class LiveRepaintTest : public ::testing::Test {
protected:
    void SetUp() override { LiveRepaint::SetFrameInterval(LiveRepaint::kFrameInterval); }
    void TearDown() override { LiveRepaint::SetFrameInterval(saved_); }

private:
    std::chrono::milliseconds saved_ = LiveRepaint::FrameInterval();
};

TEST_F(LiveRepaintTest, PaintsAtMostOncePerFrameAndNeverLosesTheLastState) {
    Picture p;
    // A thousand changes within 100 ms, one every 0.1 ms.
    for (int i = 1; i <= 1000; ++i) p.change(i, std::chrono::milliseconds(i / 10));
    EXPECT_LE(p.shown.size(), 100u / 16 + 1);
    EXPECT_GE(p.shown.size(), 100u / 16);
    EXPECT_TRUE(p.live.pending());
    p.live.flush();
    EXPECT_EQ(p.shown.back(), 1000);
    EXPECT_FALSE(p.live.pending());
    // Nothing pending: a second flush paints nothing.
    const std::size_t painted = p.shown.size();
    p.live.flush();
    EXPECT_EQ(p.shown.size(), painted);
    EXPECT_EQ(p.live.paints(), static_cast<long long>(painted));
}

TEST_F(LiveRepaintTest, FirstChangeAndChangesAFrameApartPaintAtOnce) {
    Picture p;
    p.change(1, 0ms);
    p.change(2, 16ms);
    p.change(3, 40ms);
    EXPECT_EQ(p.shown, (std::vector<int>{1, 2, 3}));
    EXPECT_FALSE(p.live.pending());
    // Inside the interval: kept, then painted with the state of the moment.
    p.change(4, 45ms);
    p.change(5, 50ms);
    EXPECT_EQ(p.shown.size(), 3u);
    p.change(6, 56ms);
    EXPECT_EQ(p.shown, (std::vector<int>{1, 2, 3, 6}));
}

TEST_F(LiveRepaintTest, ResetDropsAPendingState) {
    Picture p;
    p.change(1, 0ms);
    p.change(2, 1ms);
    ASSERT_TRUE(p.live.pending());
    p.live.reset();
    p.live.flush();
    EXPECT_EQ(p.shown, (std::vector<int>{1}));
}

} // namespace
