#pragma once
// The lists of a simulation run: the event list (ascending time; among equal
// times the event added last comes first), first-in-first-out server queues and
// the priority queue (type-1 customers ahead of every type-2 customer, arrival
// order within a type). Every list belongs to one run.
#include <cstddef>
#include <memory>

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

// A growable array of plain records; growing is the only slow path.
template <class T> class Buffer {
public:
    Buffer() : data_(new T[16]), capacity_(16) {}
    T& operator[](std::size_t i) { return data_[i]; }
    const T& operator[](std::size_t i) const { return data_[i]; }
    std::size_t capacity() const { return capacity_; }
    // Doubles the capacity; the first `keep` records are kept.
    void grow(std::size_t keep) {
        std::unique_ptr<T[]> bigger(new T[capacity_ * 2]);
        for (std::size_t i = 0; i < keep; ++i) bigger[i] = data_[i];
        data_ = std::move(bigger);
        capacity_ *= 2;
    }

private:
    std::unique_ptr<T[]> data_;
    std::size_t capacity_;
};

// A small sorted array, kept with the latest event first so that taking the
// next event is a step back from the end; the list holds the next arrival, the
// services in progress and, at the start, the initial queue, so the shifts of
// an insertion are short.
class EventList {
public:
    // Before the first event at or after `time`: among equal times the event
    // added last is taken first.
    void add(int kind, double time, int type = 0) {
        if (size_ == items_.capacity()) items_.grow(size_);
        std::size_t j = size_++;
        while (j > 0 && items_[j - 1].time < time) {
            items_[j] = items_[j - 1];
            --j;
        }
        items_[j] = Event{time, kind, type};
    }

    // Takes the first event; false on an empty list.
    bool next(Event& e) {
        if (size_ == 0) return false;
        e = items_[--size_];
        return true;
    }

    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }
    // The i-th event from the front (for tests).
    const Event& at(std::size_t i) const { return items_[size_ - 1 - i]; }

private:
    Buffer<Event> items_; // descending time
    std::size_t size_ = 0;
};

// First in, first out: a ring buffer.
class ServQueue {
public:
    void add(const Customer& c) {
        if (size_ == items_.capacity()) grow();
        items_[(head_ + size_) & (items_.capacity() - 1)] = c;
        ++size_;
    }
    bool next(Customer& c) {
        if (size_ == 0) return false;
        c = items_[head_];
        head_ = (head_ + 1) & (items_.capacity() - 1);
        --size_;
        return true;
    }
    bool empty() const { return size_ == 0; }
    std::size_t size() const { return size_; }

private:
    void grow() {
        // Unroll the ring to the front, then double.
        Buffer<Customer> flat;
        while (flat.capacity() < items_.capacity()) flat.grow(0);
        for (std::size_t i = 0; i < size_; ++i) flat[i] = items_[(head_ + i) & (items_.capacity() - 1)];
        flat.grow(size_);
        items_ = std::move(flat);
        head_ = 0;
    }
    Buffer<Customer> items_; // capacity a power of two
    std::size_t head_ = 0;
    std::size_t size_ = 0;
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
