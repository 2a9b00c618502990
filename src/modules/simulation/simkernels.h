#pragma once
// The event loops of the queue simulation. Each kernel takes its settings, a
// Progress (handed control every kYieldEvents events; a stop request clears the
// run's running flag, after which no arrival is created and the customers
// present are served) and an observer that is called only when a live-graph
// sample is taken. With NullObserver the loop carries no sampling at all.
#include "common/progress.h"
#include "common/random.h"
#include "modules/simulation/simlists.h"
#include "modules/simulation/simsettings.h"

#include <array>
#include <cmath>
#include <cstdint>
#include <limits>

namespace tarvik::simulation {

inline constexpr int kSingleSamples = 400; // live graph of the single-server queue
inline constexpr int kPanelSamples = 225;  // each panel of the two-system graphs
inline constexpr std::uint32_t kYieldEvents = 1u << 14;

// Counters and totals of one simulated system.
struct Station {
    double clock = 0;
    int inService = 0;
    long long waiting = 0;
    long long customers = 0;
    long long delayed = 0;
    double totalDelay = 0;
    double totalSojourn = 0;
    // Areas over the whole run, the emptying after the simulation length
    // included: what the live graph shows.
    double queueArea = 0;
    double busyArea = 0;
    // Areas up to the simulation length: what the time averages divide by it.
    double queueAreaL = 0;
    double busyAreaL = 0;
    bool pastLength = false;

    // The clock moves to t; the areas grow by the time passed.
    void advance(double t, double length) {
        if (t > length && !pastLength) {
            pastLength = true;
            const double d = length - clock;
            queueAreaL = queueArea + d * static_cast<double>(waiting);
            busyAreaL = busyArea + d * inService;
        }
        const double dt = t - clock;
        queueArea += dt * static_cast<double>(waiting);
        busyArea += dt * inService;
        clock = t;
    }
    void close() {
        if (!pastLength) {
            queueAreaL = queueArea;
            busyAreaL = busyArea;
        }
    }
};

// Per customer type: customers, total delay and total sojourn.
struct TypeTotals {
    long long customers = 0;
    double delay = 0;
    double sojourn = 0;
};

// The totals of one system that only grow during a run.
struct StationTotals {
    double queueArea = 0;
    double busyArea = 0;
    long long customers = 0;
    long long delayed = 0;
    double totalDelay = 0;
    double totalSojourn = 0;
};

// Everything a figure of the results tables is computed from, at one instant.
struct RunTotals {
    std::array<StationTotals, 3> station{};
    std::array<double, 2> serverArea{};
    std::array<long long, 2> typeCustomers{};
    long long pooledCustomers = 0;
    std::array<std::array<TypeTotals, 2>, 2> types{};
};

// The batches of a run: after a warm-up of a tenth of the simulation length
// the rest is cut into kBatches stretches of equal length; the run notes its
// totals at the kBatches + 1 marks between them (the last at the length).
inline constexpr int kBatches = 20;
struct BatchMarks {
    double warmUp = 0;
    double width = 0;
    double length = 0;
    int taken = 0;
    double next = std::numeric_limits<double>::infinity(); // time of the next mark
    std::array<RunTotals, kBatches + 1> totals{};

    void begin(double L) {
        length = L;
        warmUp = L / 10;
        width = (L - warmUp) / kBatches;
        taken = 0;
        next = warmUp;
    }
    double time(int j) const { return j >= kBatches ? length : warmUp + j * width; }
};

// What a run leaves behind. Systems in the order of the experiment: the single
// queue; system 1 and 2 (comparisons, varying load); separate 1, separate 2 and
// pooled (pooling); station 1 and 2 (tandem); without priority and priority queue.
struct Outcome {
    bool finished = false;
    std::uint64_t events = 0;
    std::array<Station, 3> station{};
    // Pooling: the busy area of each pooled server (whole run, and up to the
    // length), the customers of type 1 and 2, and the pooled customers.
    std::array<double, 2> serverArea{};
    std::array<double, 2> serverAreaL{};
    std::array<long long, 2> typeCustomers{};
    long long pooledCustomers = 0;
    // Priority: [system][type - 1].
    std::array<std::array<TypeTotals, 2>, 2> types{};
    // Stream numbers A, B, C (0 where not drawn).
    std::array<int, 3> streams{};
    BatchMarks batches;
};

// Observers. `sample(panel, index, actual, average)` receives sample `index`
// (1 is the first sample, 0 and 0.0, given when the run starts).
struct NullObserver {
    static constexpr bool kActive = false;
    void sample(int, int, long long, double) {}
};

// The sampling thresholds of one panel: sample index+1 is due at an event when
// index < N and index < round(clock * N / length) (halves to even).
template <int N> class Sampler {
public:
    explicit Sampler(double length) : length_(length) { setNext(); }
    bool due(double clock) {
        if (clock < next_) return false;
        const bool take = count_ < N && count_ < std::nearbyint(clock * N / length_);
        if (take) ++count_;
        setNext();
        return take;
    }
    int count() const { return count_; }

private:
    void setNext() {
        next_ = count_ >= N ? std::numeric_limits<double>::infinity()
                            : (count_ + 0.5) * length_ / N * (1 - 1e-12);
    }
    double length_;
    double next_ = 0;
    int count_ = 1;
};

// The streams of the multi-stream generator, held by the run while it goes:
// loaded from the shared table when the kernel starts and stored back when it
// ends, with the generator's arithmetic, so every stream yields exactly the
// numbers RndUniform would.
class StreamTable {
public:
    StreamTable() {
        for (int i = 1; i <= kRndSlots; ++i) seeds_[static_cast<std::size_t>(i)] = RndGetSeed(i);
    }
    ~StreamTable() {
        for (int i = 1; i <= kRndSlots; ++i) RndSetSeed(seeds_[static_cast<std::size_t>(i)], i);
    }
    StreamTable(const StreamTable&) = delete;
    StreamTable& operator=(const StreamTable&) = delete;

    // A uniform in (0, 1) from stream `s` (1 .. 102).
    double uniform(int s) {
        std::uint64_t z = static_cast<std::uint32_t>(seeds_[static_cast<std::size_t>(s)]);
        z = z * 24112u % static_cast<std::uint64_t>(kRndModulus);
        z = z * 26143u % static_cast<std::uint64_t>(kRndModulus);
        seeds_[static_cast<std::size_t>(s)] = static_cast<std::int32_t>(z);
        return static_cast<double>(2 * (z / 256) + 1) / 16777216.0;
    }

private:
    std::array<std::int32_t, kRndSlots + 1> seeds_{};
};

// An interarrival or service time: 1/rate when deterministic, else an
// exponential variate -ln(U)/rate from a numbered stream.
struct Variate {
    int stream = 1;
    double rate = 1;
    bool det = false;
    double draw(StreamTable& t) const { return det ? 1.0 / rate : -std::log(t.uniform(stream)) / rate; }
};

// The exponential variate of the single-server queue, from the system generator.
inline double SystemExp(double rate) {
    const int k = RandomInt(32767);
    return -std::log((k + 1) / 32768.0) / rate;
}

// RndReset, then `count` different stream numbers RandomInt(100) + 1.
std::array<int, 3> DrawStreams(int count);

namespace detail {

// Counts events and hands control to the caller now and then; returns the
// running flag.
class Pacer {
public:
    explicit Pacer(Progress& progress) : progress_(progress), running_(!progress.stopRequested()) {}
    void tick() {
        ++events_;
        if (--countdown_ == 0) {
            countdown_ = kYieldEvents;
            progress_.yield();
            if (progress_.stopRequested()) running_ = false;
        }
    }
    bool running() const { return running_; }
    std::uint64_t events() const { return events_; }

private:
    Progress& progress_;
    bool running_;
    std::uint32_t countdown_ = kYieldEvents;
    std::uint64_t events_ = 0;
};

// An arriving customer of type `type` with service time `service`: served at
// once when one of the `servers` is free (true), else appended to the queue.
template <class Queue>
inline bool Arrive(Station& s, Queue& q, EventList& ev, double service, int departureKind, int servers = 1,
                   int type = 0) {
    if (s.inService < servers) {
        s.totalSojourn += service;
        ++s.inService;
        ev.add(departureKind, s.clock + service);
        return true;
    }
    q.add({s.clock, service, type});
    ++s.waiting;
    ++s.delayed;
    return false;
}

// The end of a service: the first waiting customer `c` starts and departs as
// event `departureKind(c)`; false when a server idles instead.
template <class Queue, class Kind>
inline bool Depart(Station& s, Queue& q, EventList& ev, Kind departureKind, Customer& c) {
    if (!q.next(c)) {
        --s.inService;
        return false;
    }
    --s.waiting;
    s.totalDelay += s.clock - c.arrival;
    s.totalSojourn += s.clock - c.arrival + c.service;
    ev.add(departureKind(c), s.clock + c.service);
    return true;
}

template <class Queue> inline bool Depart(Station& s, Queue& q, EventList& ev, int departureKind) {
    Customer c;
    return Depart(
        s, q, ev, [departureKind](const Customer&) { return departureKind; }, c);
}

// The next arrival, `a` after the present event, when the run goes on and it
// comes within the simulation length.
inline void NextArrival(Station& s, EventList& ev, int kind, double a, double length, bool running) {
    if (running && s.clock + a <= length) {
        ev.add(kind, s.clock + a);
        ++s.customers;
    }
}

// Two customer types in one Poisson stream at rate lambda1 + lambda2; a
// customer is of type 1 with chance lambda1 / (lambda1 + lambda2).
class TypedArrivals {
public:
    TypedArrivals(int stream, double lambda1, double lambda2)
        : arrival_{stream, lambda1 + lambda2, false}, p1_(lambda1 / (lambda1 + lambda2)) {}
    // The first arrival: its type is drawn before its time.
    template <class Add> void first(StreamTable& t, Add add) const {
        const int k = type();
        add(k, arrival_.draw(t));
    }
    // The arrival after one at `clock`, when it comes within the length: its
    // time is drawn before its type.
    template <class Add> void next(StreamTable& t, double clock, double length, Add add) const {
        const double a = arrival_.draw(t);
        if (clock + a <= length) add(type(), clock + a);
    }

private:
    int type() const { return RandomReal() <= p1_ ? 1 : 2; }
    Variate arrival_;
    double p1_;
};

// One of the two pooled servers becomes busy (`state` 1) or idle (0): the
// only one that can, else either with equal chance.
inline void SwitchServer(std::array<int, 2>& busy, int state) {
    if (busy[0] != busy[1])
        busy[busy[0] == state ? 1 : 0] = state;
    else
        busy[RandomReal() < 0.5 ? 0 : 1] = state;
}

inline double PanelAverage(const Station& s) {
    return (s.queueArea + s.busyArea) / s.clock;
}

using PanelSamplers = std::array<Sampler<kPanelSamples>, 2>;

// The samplers of the two panels; the observer gets the first sample of each.
template <class Obs> PanelSamplers StartPanels(double length, Obs& obs) {
    if constexpr (Obs::kActive) {
        obs.sample(0, 1, 0, 0.0);
        obs.sample(1, 1, 0, 0.0);
    }
    return {Sampler<kPanelSamples>(length), Sampler<kPanelSamples>(length)};
}

// Samples station `s` into panel `panel` when a sample is due.
template <class Obs> void SamplePanel(Obs& obs, PanelSamplers& samplers, int panel, const Station& s) {
    if constexpr (Obs::kActive) {
        auto& sm = samplers[static_cast<std::size_t>(panel)];
        if (sm.due(s.clock)) obs.sample(panel, sm.count(), s.waiting + s.inService, PanelAverage(s));
    }
}

// The totals of the run at time b, which lies between each system's last
// event and the next event: the areas grow linearly up to b. `serverBusy`
// tells which pooled servers are busy.
inline RunTotals TotalsAt(const Outcome& out, double b, const std::array<int, 2>& serverBusy) {
    RunTotals t;
    for (std::size_t k = 0; k < out.station.size(); ++k) {
        const Station& s = out.station[k];
        const double d = b - s.clock;
        t.station[k] = {.queueArea = s.queueArea + d * static_cast<double>(s.waiting),
                        .busyArea = s.busyArea + d * s.inService,
                        .customers = s.customers,
                        .delayed = s.delayed,
                        .totalDelay = s.totalDelay,
                        .totalSojourn = s.totalSojourn};
    }
    const double d = b - out.station[2].clock;
    for (std::size_t j = 0; j < 2; ++j) t.serverArea[j] = out.serverArea[j] + d * serverBusy[j];
    t.typeCustomers = out.typeCustomers;
    t.pooledCustomers = out.pooledCustomers;
    t.types = out.types;
    return t;
}

// Notes the totals at every batch mark that the event at time t passes (an
// event at a mark's own time still belongs to the batch before it). Reads
// the run's state only.
inline void MarkBatches(Outcome& out, double t, const std::array<int, 2>& serverBusy = {}) {
    BatchMarks& m = out.batches;
    while (t > m.next) {
        m.totals[static_cast<std::size_t>(m.taken)] = TotalsAt(out, m.next, serverBusy);
        ++m.taken;
        m.next = m.taken > kBatches ? std::numeric_limits<double>::infinity() : m.time(m.taken);
    }
}

// Streams A, B and C of a run, with B and C copied into slots 101 and 102.
inline void DrawThreeStreams(Outcome& out) {
    out.streams = DrawStreams(3);
    RndSetSeed(RndGetSeed(out.streams[1]), 101);
    RndSetSeed(RndGetSeed(out.streams[2]), 102);
}

// The end of a run: the areas up to the length, and whether it was stopped.
inline Outcome Finish(Outcome& out, const Pacer& pacer) {
    MarkBatches(out, std::numeric_limits<double>::infinity());
    for (Station& s : out.station) s.close();
    out.finished = pacer.running();
    out.events = pacer.events();
    return out;
}

inline constexpr std::array<int, 2> kNoPooledServers{};

// The events of a run in order, from the start of the batches on: the pacer
// counts each and the batch marks it passes are noted (`serverBusy`: which
// pooled servers are busy) before the kernel handles it.
class EventLoop {
public:
    EventLoop(Outcome& out, EventList& ev, Progress& progress, double length,
              const std::array<int, 2>& serverBusy = kNoPooledServers)
        : out_(out), ev_(ev), serverBusy_(serverBusy), pacer_(progress) {
        out.batches.begin(length);
    }
    bool next(Event& e) {
        if (!ev_.next(e)) return false;
        pacer_.tick();
        MarkBatches(out_, e.time, serverBusy_);
        return true;
    }
    bool running() const { return pacer_.running(); }
    Outcome finish() { return Finish(out_, pacer_); }

private:
    Outcome& out_;
    EventList& ev_;
    const std::array<int, 2>& serverBusy_;
    Pacer pacer_;
};

} // namespace detail

// ------------------------------------------------------------- single server

template <class Obs> Outcome RunSingleKernel(const SingleSettings& set, Progress& progress, Obs& obs) {
    Outcome out;
    Station& s = out.station[0];
    EventList ev;
    ServQueue q;
    const double L = set.length;
    auto interarrival = [&] { return set.detArrivals ? 1.0 / set.lambda : SystemExp(set.lambda); };
    auto service = [&] { return set.detService ? 1.0 / set.mu : SystemExp(set.mu); };

    s.customers = set.initial + 1;
    for (int i = 0; i < set.initial; ++i) ev.add(0, 0.0);
    ev.add(0, interarrival());
    Sampler<kSingleSamples> sampler(L);
    if constexpr (Obs::kActive) obs.sample(0, 1, 0, 0.0);

    detail::EventLoop loop(out, ev, progress, L);
    Event e;
    while (loop.next(e)) {
        s.advance(e.time, L);
        if constexpr (Obs::kActive) {
            if (sampler.due(s.clock))
                obs.sample(0, sampler.count(), s.waiting + s.inService,
                           s.queueArea / s.clock + s.busyArea / s.clock / 1);
        }
        if (e.kind == 0) {
            if (s.clock > 0) detail::NextArrival(s, ev, 0, interarrival(), L, loop.running());
            detail::Arrive(s, q, ev, service(), 1);
        } else {
            detail::Depart(s, q, ev, 1);
        }
    }
    return loop.finish();
}

// ------------------------------------------- two queues side by side (M/x/1)

// Comparisons and varying load: system k has arrivals `arrival[k]` and service
// times `service[k]`; kinds 0/1 are arrival/departure of system 1, 2/3 of system 2.
struct TwoQueueSetup {
    std::array<Variate, 2> arrival;
    std::array<Variate, 2> service;
    double length = 10000;
    int initial = 0;
};

template <class Obs>
Outcome RunTwoQueuesKernel(const TwoQueueSetup& set, Progress& progress, Obs& obs, Outcome out) {
    StreamTable streams;
    EventList ev;
    std::array<ServQueue, 2> q;
    const double L = set.length;
    for (Station& s : out.station) s.customers = set.initial + 1;
    out.station[2].customers = 0;
    for (int i = 0; i < set.initial; ++i) {
        ev.add(0, 0.0);
        ev.add(2, 0.0);
    }
    ev.add(0, set.arrival[0].draw(streams));
    ev.add(2, set.arrival[1].draw(streams));
    detail::PanelSamplers sampler = detail::StartPanels(L, obs);

    detail::EventLoop loop(out, ev, progress, L);
    Event e;
    while (loop.next(e)) {
        const std::size_t k = static_cast<std::size_t>(e.kind >> 1);
        Station& s = out.station[k];
        s.advance(e.time, L);
        detail::SamplePanel(obs, sampler, e.kind >> 1, s);
        if ((e.kind & 1) == 0) {
            if (s.clock > 0)
                detail::NextArrival(s, ev, e.kind, set.arrival[k].draw(streams), L, loop.running());
            detail::Arrive(s, q[k], ev, set.service[k].draw(streams), e.kind + 1);
        } else {
            detail::Depart(s, q[k], ev, e.kind);
        }
    }
    return loop.finish();
}

// Streams of the comparisons: M/D/1 gives both systems the same arrivals (slot
// 101 copies stream A), D/M/1 the same service times (slot 101 copies B).
TwoQueueSetup CompareSetup(const CompareSettings& set, std::array<int, 3>& streams);
// Varying load: system 1 on streams A and B, system 2 on copies of them.
TwoQueueSetup VaryingLoadSetup(const VaryingLoadSettings& set, std::array<int, 3>& streams);

template <class Obs> Outcome RunCompareKernel(const CompareSettings& set, Progress& progress, Obs& obs) {
    Outcome out;
    const TwoQueueSetup setup = CompareSetup(set, out.streams);
    return RunTwoQueuesKernel(setup, progress, obs, out);
}

template <class Obs>
Outcome RunVaryingLoadKernel(const VaryingLoadSettings& set, Progress& progress, Obs& obs) {
    Outcome out;
    const TwoQueueSetup setup = VaryingLoadSetup(set, out.streams);
    return RunTwoQueuesKernel(setup, progress, obs, out);
}

// ------------------------------------------------------------------- pooling

// Kinds: 0/1 arrival/departure at separate system 1, 2/3 at separate system 2,
// 4/5 at the pooled system (two servers, one queue).
template <class Obs> Outcome RunPoolingKernel(const PoolingSettings& set, Progress& progress, Obs& obs) {
    Outcome out;
    detail::DrawThreeStreams(out);
    const int A = out.streams[0], B = out.streams[1], C = out.streams[2];
    const detail::TypedArrivals arrivals(A, set.lambda1, set.lambda2);
    const std::array<Variate, 2> separate{Variate{101, set.mu1, set.detService},
                                          Variate{102, set.mu2, set.detService}};
    const std::array<Variate, 2> pooled{Variate{B, set.mu1, set.detService},
                                        Variate{C, set.mu2, set.detService}};
    const double L = set.length;
    StreamTable streams;

    EventList ev;
    std::array<ServQueue, 3> q;
    Station& s1 = out.station[0];
    Station& s2 = out.station[1];
    Station& sp = out.station[2];
    std::array<int, 2> busy{};
    bool past = false;
    // Each customer arrives at the pooled system and at the separate one of its type.
    auto arrive = [&](int k, double t) {
        ev.add(4, t, k);
        ev.add(k == 1 ? 0 : 2, t, k);
    };

    out.pooledCustomers = 1;
    arrivals.first(streams, arrive);
    detail::PanelSamplers sampler = detail::StartPanels(L, obs);

    detail::EventLoop loop(out, ev, progress, L, busy);
    Event e;
    while (loop.next(e)) {
        if (e.kind < 4) {
            const std::size_t k = static_cast<std::size_t>(e.kind >> 1);
            Station& s = out.station[k];
            s.advance(e.time, L);
            if constexpr (Obs::kActive) {
                if (k == 0 && sampler[0].due(s1.clock))
                    obs.sample(0, sampler[0].count(), s1.waiting + s1.inService + s2.waiting + s2.inService,
                               (s1.queueArea + s1.busyArea + s2.queueArea + s2.busyArea) / s1.clock);
            }
            if ((e.kind & 1) == 0) {
                ++out.typeCustomers[k];
                detail::Arrive(s, q[k], ev, separate[k].draw(streams), e.kind + 1);
            } else {
                detail::Depart(s, q[k], ev, e.kind);
            }
            continue;
        }
        // The pooled system, with the busy area of each server.
        if (e.time > L && !past) {
            past = true;
            for (std::size_t j = 0; j < 2; ++j)
                out.serverAreaL[j] = out.serverArea[j] + (L - sp.clock) * busy[j];
        }
        out.serverArea[0] += (e.time - sp.clock) * busy[0];
        out.serverArea[1] += (e.time - sp.clock) * busy[1];
        sp.advance(e.time, L);
        detail::SamplePanel(obs, sampler, 1, sp);
        if (e.kind == 4) {
            if (loop.running())
                arrivals.next(streams, sp.clock, L, [&](int k, double t) {
                    arrive(k, t);
                    ++out.pooledCustomers;
                });
            const double service = pooled[static_cast<std::size_t>(e.type - 1)].draw(streams);
            if (detail::Arrive(sp, q[2], ev, service, 5, 2, e.type)) detail::SwitchServer(busy, 1);
        } else if (!detail::Depart(sp, q[2], ev, 5)) {
            detail::SwitchServer(busy, 0);
        }
    }
    if (!past) out.serverAreaL = out.serverArea;
    return loop.finish();
}

// -------------------------------------------------------------------- tandem

// Kinds: 0/1 arrival/departure at station 1, 2/3 at station 2. A departure
// from station 1 is an arrival at station 2 at the same instant.
template <class Obs> Outcome RunTandemKernel(const TandemSettings& set, Progress& progress, Obs& obs) {
    Outcome out;
    detail::DrawThreeStreams(out);
    const Variate arrival{out.streams[0], set.lambda, set.detArrivals};
    const std::array<Variate, 2> service{Variate{101, set.mu1, set.detService1},
                                         Variate{102, set.mu2, set.detService2}};
    const double L = set.length;
    StreamTable streams;
    EventList ev;
    std::array<ServQueue, 2> q;
    out.station[0].customers = 1;
    ev.add(0, arrival.draw(streams));
    detail::PanelSamplers sampler = detail::StartPanels(L, obs);

    detail::EventLoop loop(out, ev, progress, L);
    Event e;
    while (loop.next(e)) {
        const int k = e.kind >> 1;
        Station& s = out.station[static_cast<std::size_t>(k)];
        s.advance(e.time, L);
        detail::SamplePanel(obs, sampler, k, s);
        switch (e.kind) {
        case 0:
            detail::NextArrival(s, ev, 0, arrival.draw(streams), L, loop.running());
            detail::Arrive(s, q[0], ev, service[0].draw(streams), 1);
            break;
        case 1:
            detail::Depart(s, q[0], ev, 1);
            ev.add(2, s.clock);
            break;
        case 2:
            ++s.customers;
            detail::Arrive(s, q[1], ev, service[1].draw(streams), 3);
            break;
        default:
            detail::Depart(s, q[1], ev, 3);
            break;
        }
    }
    return loop.finish();
}

// ------------------------------------------------------------------ priority

// Kinds: system 0 (without priority) 0/2 arrival of type 1/2, 1/3 departure of
// type 1/2; the priority queue 4/6 and 5/7. Kind = 4 x system + 2 x (type - 1)
// + (1 for a departure).
template <class Obs> Outcome RunPriorityKernel(const PrioritySettings& set, Progress& progress, Obs& obs) {
    Outcome out;
    detail::DrawThreeStreams(out);
    const int A = out.streams[0], B = out.streams[1], C = out.streams[2];
    const detail::TypedArrivals arrivals(A, set.lambda1, set.lambda2);
    // [system][type - 1]
    const std::array<std::array<Variate, 2>, 2> service{
        std::array<Variate, 2>{Variate{B, set.mu1, set.detService1}, Variate{C, set.mu2, set.detService2}},
        std::array<Variate, 2>{Variate{101, set.mu1, set.detService1},
                               Variate{102, set.mu2, set.detService2}}};
    const double L = set.length;
    StreamTable streams;
    EventList ev;
    ServQueue plain;
    PriorityServQueue prio;
    // Each customer arrives at both systems.
    auto arrive = [&](int k, double t) {
        ev.add(2 * (k - 1), t);
        ev.add(4 + 2 * (k - 1), t);
    };
    arrivals.first(streams, arrive);
    detail::PanelSamplers sampler = detail::StartPanels(L, obs);

    detail::EventLoop loop(out, ev, progress, L);
    Event e;
    while (loop.next(e)) {
        const int sys = e.kind >> 2;
        const int type = ((e.kind >> 1) & 1) + 1;
        Station& s = out.station[static_cast<std::size_t>(sys)];
        auto& types = out.types[static_cast<std::size_t>(sys)];
        s.advance(e.time, L);
        if (type == 1) detail::SamplePanel(obs, sampler, sys, s);
        if ((e.kind & 1) == 0) {
            if (sys == 0 && loop.running()) arrivals.next(streams, s.clock, L, arrive);
            ++s.customers;
            auto& t = types[static_cast<std::size_t>(type - 1)];
            ++t.customers;
            const double sv =
                service[static_cast<std::size_t>(sys)][static_cast<std::size_t>(type - 1)].draw(streams);
            if (sys == 0 ? detail::Arrive(s, plain, ev, sv, e.kind + 1, 1, type)
                         : detail::Arrive(s, prio, ev, sv, e.kind + 1, 1, type))
                t.sojourn += sv;
        } else {
            const auto departure = [sys](const Customer& c) { return 4 * sys + 2 * (c.type - 1) + 1; };
            Customer c;
            if (sys == 0 ? detail::Depart(s, plain, ev, departure, c)
                         : detail::Depart(s, prio, ev, departure, c)) {
                auto& t = types[static_cast<std::size_t>(c.type - 1)];
                t.delay += s.clock - c.arrival;
                t.sojourn += s.clock - c.arrival + c.service;
            }
        }
    }
    return loop.finish();
}

// The kernels without live graph.
Outcome RunSingle(const SingleSettings& set, Progress& progress);
Outcome RunCompare(const CompareSettings& set, Progress& progress);
Outcome RunVaryingLoad(const VaryingLoadSettings& set, Progress& progress);
Outcome RunPooling(const PoolingSettings& set, Progress& progress);
Outcome RunTandem(const TandemSettings& set, Progress& progress);
Outcome RunPriority(const PrioritySettings& set, Progress& progress);

// Pixels per customer of the live graphs (at least 1).
int SingleGraphScale(const SingleSettings& set);
int CompareGraphScale(const CompareSettings& set);
int VaryingLoadGraphScale(const VaryingLoadSettings& set);
int PoolingGraphScale(const PoolingSettings& set);
int TandemGraphScale(const TandemSettings& set);
int PriorityGraphScale(const PrioritySettings& set);

} // namespace tarvik::simulation
