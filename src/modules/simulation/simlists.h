#pragma once
// The lists of a simulation run: the event list (ascending time; among equal
// times the event added last comes first), first-in-first-out server queues and
// the priority queue (type-1 customers ahead of every type-2 customer, arrival
// order within a type). Every list belongs to one run.
#include <cstddef>
#include <vector>

namespace tarvik::simulation {

struct Event {
    double time = 0;
    int kind = 0;
    int type = 0; // customer type where an experiment needs it (pooling)
};

struct Customer {
    double arrival = 0;
    double service = 0;
    int type = 0;
};

// A small sorted array: the list holds the next arrival, the services in
// progress and, at the start, the initial queue, so a linear scan is short.
class EventList {
public:
    EventList() { items_.reserve(16); }

    void add(int kind, double time, int type = 0) {
        const Event e{time, kind, type};
        if (head_ < items_.size() && time > items_.back().time) {
            items_.push_back(e);
            return;
        }
        std::size_t i = head_;
        while (i < items_.size() && items_[i].time < time) ++i;
        items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(i), e);
    }

    // Takes the first event; false on an empty list.
    bool next(Event& e) {
        if (head_ == items_.size()) return false;
        e = items_[head_++];
        if (head_ == items_.size()) {
            items_.clear();
            head_ = 0;
        } else if (head_ >= 256 && 2 * head_ >= items_.size()) {
            items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(head_));
            head_ = 0;
        }
        return true;
    }

    bool empty() const { return head_ == items_.size(); }
    std::size_t size() const { return items_.size() - head_; }
    // The i-th event from the front (for tests).
    const Event& at(std::size_t i) const { return items_[head_ + i]; }

private:
    std::vector<Event> items_;
    std::size_t head_ = 0;
};

// First in, first out.
class ServQueue {
public:
    void add(const Customer& c) { items_.push_back(c); }
    bool next(Customer& c) {
        if (head_ == items_.size()) return false;
        c = items_[head_++];
        if (head_ == items_.size()) {
            items_.clear();
            head_ = 0;
        } else if (head_ >= 1024 && 2 * head_ >= items_.size()) {
            items_.erase(items_.begin(), items_.begin() + static_cast<std::ptrdiff_t>(head_));
            head_ = 0;
        }
        return true;
    }
    bool empty() const { return head_ == items_.size(); }
    std::size_t size() const { return items_.size() - head_; }

private:
    std::vector<Customer> items_;
    std::size_t head_ = 0;
};

// A type-1 customer goes directly behind the last waiting type-1 customer, a
// type-2 customer at the end: the same order as two queues served type 1 first.
class PriorityServQueue {
public:
    void add(const Customer& c) { (c.type == 1 ? first_ : second_).add(c); }
    bool next(Customer& c) { return first_.next(c) || second_.next(c); }
    bool empty() const { return first_.empty() && second_.empty(); }
    std::size_t size() const { return first_.size() + second_.size(); }

private:
    ServQueue first_, second_;
};

} // namespace tarvik::simulation
