#include "modules/tsp/tsptour.h"

#include "common/numformat.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tarvik::tsp {

double TourLength(const Tour& tour, const DistanceTable& d) {
    double length = 0;
    const std::size_t n = tour.size();
    for (std::size_t q = 0; q < n; ++q) length += d(tour[q], tour[(q + 1) % n]);
    return length;
}

bool IsPermutation(const Tour& tour, int n) {
    if (static_cast<int>(tour.size()) != n) return false;
    std::vector<bool> seen(static_cast<std::size_t>(n) + 1, false);
    for (int c : tour) {
        if (c < 1 || c > n || seen[static_cast<std::size_t>(c)]) return false;
        seen[static_cast<std::size_t>(c)] = true;
    }
    return true;
}

bool HasEdge(const Tour& tour, int a, int b) {
    const std::size_t n = tour.size();
    for (std::size_t q = 0; q < n; ++q) {
        const int p = tour[q], s = tour[(q + 1) % n];
        if ((p == a && s == b) || (p == b && s == a)) return true;
    }
    return false;
}

std::string Fixed(double value, int precision, int decimals) {
    if (!std::isfinite(value) || value == 0) return FormatFixed(std::isfinite(value) ? 0.0 : value, decimals);
    const double ax = std::fabs(value);
    // Digits before the decimal mark (zero or negative below 1).
    int intDigits = static_cast<int>(std::floor(std::log10(ax))) + 1;
    if (std::pow(10.0, intDigits - 1) > ax)
        --intDigits;
    else if (std::pow(10.0, intDigits) <= ax)
        ++intDigits;
    if (intDigits > precision) return FormatGeneral(value, precision);
    const int shown = std::min(decimals, precision - intDigits);
    std::string s = FormatFixed(value, shown);
    if (shown < decimals) {
        if (shown <= 0) s += '.';
        s.append(static_cast<std::size_t>(decimals - std::max(shown, 0)), '0');
    }
    return s;
}

std::string TourLine(const Tour& tour) {
    std::string line = "Tour: ";
    for (int c : tour) line += std::to_string(c) + " - ";
    if (!tour.empty()) line += std::to_string(tour.front());
    return line;
}

// ---------------------------------------------------------------- paths

PathBuilder::PathBuilder(const DistanceTable& d)
    : d_(&d), n_(d.size()), available_(static_cast<std::size_t>(d.size()) + 1, true) {
    available_[0] = false;
    path_.reserve(static_cast<std::size_t>(n_));
}

void PathBuilder::add(int c) {
    if (c < 1 || c > n_ || !available(c) || complete()) return;
    available_[static_cast<std::size_t>(c)] = false;
    if (!path_.empty()) length_ += (*d_)(path_.back(), c);
    path_.push_back(c);
    if (complete()) length_ += (*d_)(c, path_.front());
}

bool PathBuilder::canUndo() const {
    const int counter = positionCounter();
    return counter >= 3 && counter <= n_;
}

bool PathBuilder::undo() {
    if (!canUndo()) return false;
    const int last = path_.back();
    path_.pop_back();
    length_ -= (*d_)(path_.back(), last);
    available_[static_cast<std::size_t>(last)] = true;
    return true;
}

ClosestNeighbour::ClosestNeighbour(const DistanceTable& d, int start) : d_(&d), path_(d) {
    path_.add(std::clamp(start, 1, d.size()));
}

std::vector<int> ClosestNeighbour::candidates() const {
    std::vector<int> list;
    for (int i = 1; i <= path_.cities(); ++i)
        if (path_.available(i) && i != current()) list.push_back(i);
    return list;
}

int ClosestNeighbour::choice() const {
    double best = 1e10;
    int chosen = 0;
    const int cur = current();
    for (int i = 1; i <= path_.cities(); ++i)
        if (path_.available(i) && i != cur && (*d_)(cur, i) < best) {
            best = (*d_)(cur, i);
            chosen = i;
        }
    return chosen;
}

int ClosestNeighbour::step() {
    const int c = choice();
    if (c) path_.add(c);
    return c;
}

Tour RandomTour(int n) {
    std::vector<bool> available(static_cast<std::size_t>(n) + 1, true);
    available[1] = false;
    Tour tour{1};
    while (static_cast<int>(tour.size()) < n) {
        const int c = 1 + RandomInt(n);
        if (available[static_cast<std::size_t>(c)]) {
            available[static_cast<std::size_t>(c)] = false;
            tour.push_back(c);
        }
    }
    return tour;
}

// ---------------------------------------------------------------- greatest angle

namespace {
// Angles closer than this are the same direction (collinear cities); the walk
// then takes the nearer city, so that it passes every city on a hull edge in
// order and comes back to its start.
constexpr double kSameAngle = 1e-9;
} // namespace

GreatestAngle::GreatestAngle(const Cities& cities, const DistanceTable& d)
    : cities_(&cities), d_(&d), n_(d.size()), available_(static_cast<std::size_t>(d.size()) + 1, true) {
    available_[0] = false;
    double least = 1e10;
    for (int i = 1; i <= n_; ++i)
        if (cities[static_cast<std::size_t>(i - 1)].x < least) {
            least = cities[static_cast<std::size_t>(i - 1)].x;
            start_ = i;
        }
    tour_.push_back(start_);
    available_[static_cast<std::size_t>(start_)] = false;
    current_ = start_;
}

double GreatestAngle::angleBetween(double ux, double uy, double vx, double vy) const {
    const double cosine = (ux * vx + uy * vy) / (std::hypot(ux, uy) * std::hypot(vx, vy));
    if (std::fabs(cosine) < 1e-10) return std::numbers::pi / 2;
    return std::acos(std::clamp(cosine, -1.0, 1.0));
}

GreatestAngle::HullMove GreatestAngle::hullStep() {
    HullMove move;
    if (phase_ != Phase::Hull) return move;
    const City& from = (*cities_)[static_cast<std::size_t>(current_ - 1)];
    double best = 1e10;
    int chosen = 0;
    for (int d = 1; d <= n_; ++d) {
        if (d == current_) continue;
        const City& to = (*cities_)[static_cast<std::size_t>(d - 1)];
        const double vx = to.x - from.x, vy = to.y - from.y;
        if (vx == 0 && vy == 0) continue; // no direction to a city on the same point
        const double a = angleBetween(dirX_, dirY_, vx, vy);
        if (a < best - kSameAngle ||
            (chosen && std::fabs(a - best) <= kSameAngle && (*d_)(current_, d) < (*d_)(current_, chosen))) {
            best = std::min(a, best);
            chosen = d;
        }
    }
    if (!chosen) {
        endWalk();
        return move;
    }
    move.from = current_;
    move.to = chosen;
    if (available_[static_cast<std::size_t>(chosen)]) {
        length_ += (*d_)(current_, chosen);
        available_[static_cast<std::size_t>(chosen)] = false;
        tour_.push_back(chosen);
        move.appended = true;
    }
    const City& to = (*cities_)[static_cast<std::size_t>(chosen - 1)];
    dirX_ = to.x - from.x;
    dirY_ = to.y - from.y;
    current_ = chosen;
    // A hull has at most n corners: the walk never goes on longer than that.
    if (current_ == start_ || ++walkSteps_ > n_) endWalk();
    return move;
}

void GreatestAngle::endWalk() {
    length_ += (*d_)(tour_.back(), tour_.front());
    phase_ = static_cast<int>(tour_.size()) < n_ ? Phase::Insert : Phase::Done;
}

std::vector<int> GreatestAngle::candidates() const {
    std::vector<int> list;
    for (int i = 1; i <= n_; ++i)
        if (available_[static_cast<std::size_t>(i)]) list.push_back(i);
    return list;
}

GreatestAngle::Insertion GreatestAngle::insertionStep() {
    Insertion ins;
    if (phase_ != Phase::Insert) return ins;
    const int size = static_cast<int>(tour_.size());
    double bestOverall = -1e10;
    for (int q = 1; q <= size; ++q) {
        const int a = tour_[static_cast<std::size_t>(q - 1)];
        const int b = tour_[static_cast<std::size_t>(q % size)];
        const City& ca = (*cities_)[static_cast<std::size_t>(a - 1)];
        const City& cb = (*cities_)[static_cast<std::size_t>(b - 1)];
        double best = -1e10;
        int chosen = 0;
        for (int i = 1; i <= n_; ++i) {
            if (!available_[static_cast<std::size_t>(i)]) continue;
            const City& ci = (*cities_)[static_cast<std::size_t>(i - 1)];
            const double ux = ca.x - ci.x, uy = ca.y - ci.y, vx = cb.x - ci.x, vy = cb.y - ci.y;
            if ((ux == 0 && uy == 0) || (vx == 0 && vy == 0)) continue;
            const double angle = angleBetween(ux, uy, vx, vy);
            if (angle > best) {
                best = angle;
                chosen = i;
            }
        }
        if (chosen && best > bestOverall) {
            bestOverall = best;
            ins = {q, a, b, chosen};
        }
    }
    if (!ins.city) {
        // Only cities standing on tour cities are left: they go after T(size).
        const int c = candidates().front();
        ins = {size, tour_.back(), tour_.front(), c};
    }
    length_ += -(*d_)(ins.a, ins.b) + (*d_)(ins.a, ins.city) + (*d_)(ins.city, ins.b);
    tour_.insert(tour_.begin() + ins.position, ins.city);
    available_[static_cast<std::size_t>(ins.city)] = false;
    if (static_cast<int>(tour_.size()) == n_) phase_ = Phase::Done;
    return ins;
}

Tour ClosestNeighbourTour(const DistanceTable& d, int start) {
    ClosestNeighbour method(d, start);
    while (!method.finished()) method.step();
    return method.path().path();
}

Tour GreatestAngleTour(const Cities& cities, const DistanceTable& d) {
    GreatestAngle method(cities, d);
    while (method.phase() == GreatestAngle::Phase::Hull) method.hullStep();
    while (method.phase() == GreatestAngle::Phase::Insert) method.insertionStep();
    return method.tour();
}

// ---------------------------------------------------------------- 2-OPT

TwoOptResult TwoOpt(Tour& tour, const DistanceTable& d) {
    TwoOptResult r;
    const int n = static_cast<int>(tour.size());
    r.before = r.after = TourLength(tour, d);
    if (n < 4) return r;
    auto T = [&](int p) { return tour[static_cast<std::size_t>((p - 1) % n)]; };
    for (;;) {
        double bestGain = kTwoOptMinGain;
        int bestI = 0, bestK = 0;
        for (int i = 1; i <= n; ++i) {
            const int a = T(i), b = T(i + 1);
            const double dab = d(a, b);
            for (int k = i + 2; k <= n + i - 2; ++k) {
                const int c = T(k), e = T(k + 1);
                const double gain = dab + d(c, e) - (d(a, c) + d(b, e));
                if (gain > bestGain) {
                    bestGain = gain;
                    bestI = i;
                    bestK = k;
                }
            }
        }
        if (!bestI) break;
        ++r.improvements;
        const auto from = bestK <= n ? bestI : bestK - n; // reverse positions from + 1 .. to
        const auto to = bestK <= n ? bestK : bestI;
        std::reverse(tour.begin() + from, tour.begin() + to);
    }
    if (r.improvements) r.after = TourLength(tour, d);
    return r;
}

std::string TwoOptLine(const TwoOptResult& r) {
    if (!r.improvements) return "Not improved with 2-OPT";
    return "2-OPT improvement: " + Fixed((r.before - r.after) / r.before * 100, 4, 2) + " %";
}

std::string TwoOptDescription(const TwoOptResult& r, const std::string& description) {
    if (!r.improvements) return description + " ( 2-OPT did not have result )";
    return "2-OPT improvement of " + description;
}

// ---------------------------------------------------------------- report

void TourReport::Restart(const Cities& cities) {
    lines_.clear();
    lines_.push_back({ReportLine::Style::Title, kReportTitle});
    lines_.push_back({ReportLine::Style::Plain, std::string(54, '_')});
    lines_.push_back({ReportLine::Style::Plain, ""});
    lines_.push_back({ReportLine::Style::Bold, Format("Chose are %d cities with the following locations",
                                                      static_cast<int>(cities.size()))});
    for (std::size_t i = 0; i < cities.size(); ++i)
        lines_.push_back(
            {ReportLine::Style::Plain, Format("Location of city %d is ( %d\t %d )", static_cast<int>(i) + 1,
                                              cities[i].x, cities[i].y)});
    lines_.push_back({ReportLine::Style::Plain, ""});
}

void TourReport::AddTour(const std::string& description, double length, const std::string& tourLine) {
    lines_.push_back({ReportLine::Style::Bold, description});
    lines_.push_back({ReportLine::Style::Plain, ""});
    lines_.push_back({ReportLine::Style::Plain, "The tour length is:" + Fixed(length, 8, 4)});
    lines_.push_back({ReportLine::Style::Plain, ""});
    lines_.push_back({ReportLine::Style::Plain, tourLine});
    lines_.push_back({ReportLine::Style::Plain, ""});
    lines_.push_back({ReportLine::Style::Plain, ""});
}

std::string TourReport::PlainText() const {
    std::string text;
    for (const ReportLine& line : lines_) text += line.text + "\n";
    return text;
}

} // namespace tarvik::tsp
