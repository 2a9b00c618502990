#include "modules/simulation/simlists.h"

#include <gtest/gtest.h>

namespace tarvik::simulation {
namespace {

std::vector<int> TakeKinds(EventList& ev) {
    std::vector<int> kinds;
    Event e;
    while (ev.next(e)) kinds.push_back(e.kind);
    return kinds;
}

TEST(EventList, KeepsAscendingTimesAndTakesTheLastAddedOfEqualTimesFirst) {
    EventList ev;
    ev.add(1, 5.0);
    ev.add(2, 1.0);
    ev.add(3, 5.0); // equal to the last: goes before it
    ev.add(4, 7.0); // later than the last: appended
    ev.add(5, 1.0); // before the earlier 1.0
    ev.add(6, 3.0);
    EXPECT_EQ(TakeKinds(ev), (std::vector<int>{5, 2, 6, 3, 1, 4}));
    Event e;
    EXPECT_FALSE(ev.next(e));
    EXPECT_TRUE(ev.empty());
}

TEST(EventList, StaysOrderedThroughManyEventsAtTimeZero) {
    EventList ev;
    for (int i = 0; i < 1000; ++i) ev.add(i, 0.0);
    ev.add(-1, 2.5);
    Event e;
    for (int i = 999; i >= 500; --i) {
        ASSERT_TRUE(ev.next(e));
        EXPECT_EQ(e.kind, i);
    }
    ev.add(-2, 1.0);
    std::vector<int> rest = TakeKinds(ev);
    ASSERT_EQ(rest.size(), 502u);
    EXPECT_EQ(rest[0], 499);
    EXPECT_EQ(rest[499], 0);
    EXPECT_EQ(rest[500], -2);
    EXPECT_EQ(rest[501], -1);
}

TEST(ServQueue, IsFirstInFirstOut) {
    ServQueue q;
    for (int i = 0; i < 3000; ++i) q.add({double(i), 0, 0});
    Customer c;
    for (int i = 0; i < 3000; ++i) {
        ASSERT_TRUE(q.next(c));
        EXPECT_EQ(c.arrival, i);
        if (i == 1500) q.add({5000.0, 0, 0});
    }
    ASSERT_TRUE(q.next(c));
    EXPECT_EQ(c.arrival, 5000.0);
    EXPECT_FALSE(q.next(c));
}

TEST(PriorityServQueue, PlacesTypeOneBehindTheLastWaitingTypeOne) {
    PriorityServQueue q;
    q.add({1, 0, 2});
    q.add({2, 0, 1}); // no type 1 waiting: at the front
    q.add({3, 0, 2});
    q.add({4, 0, 1}); // behind the type 1 of time 2
    Customer c;
    std::vector<double> order;
    while (q.next(c)) order.push_back(c.arrival);
    EXPECT_EQ(order, (std::vector<double>{2, 4, 1, 3}));
    EXPECT_TRUE(q.empty());
}

} // namespace
} // namespace tarvik::simulation
