#include "modules/normal/sqrtlaw.h"

#include "common/numformat.h"
#include "common/random.h"

#include <cmath>
#include <numbers>

namespace tarvik::normal {

int ChooseSqrtLawStream() {
    RndReset();
    return RandomInt(kRndStreams) + 1;
}

double StandardNormal(int stream) {
    const double u1 = RndUniform(stream);
    const double u2 = RndUniform(stream);
    return std::sqrt(-2.0 * std::log(u2)) * std::cos(2.0 * std::numbers::pi * u1);
}

int SqrtRow(double mean) {
    return kSqrtZeroY - static_cast<int>(std::lround(mean * kSqrtScale));
}

SqrtPoint PlacePoint(int group, double mean) {
    SqrtPoint pt;
    pt.group = group;
    pt.n = kGroupSizes[group - 1];
    pt.mean = mean;
    pt.x = GroupColumn(group);
    // The means are bounded (|z| < 5.8 with 24-bit uniforms), so the row fits.
    pt.y = SqrtRow(mean);
    pt.drawn = pt.y > 10 && pt.y < 290;
    return pt;
}

bool RunSqrtLaw(int count, int stream, Progress& progress,
                const std::function<void(const SqrtPoint&)>& onPoint) {
    count = ClampExperiments(count);
    for (int g = 1; g <= 4; ++g) {
        const int n = kGroupSizes[g - 1];
        for (int k = 0; k < count; ++k) {
            double sum = 0;
            for (int i = 0; i < n; ++i) sum += StandardNormal(stream);
            const SqrtPoint pt = PlacePoint(g, sum / n);
            if (onPoint) onPoint(pt);
            progress.yield();
            if (progress.stopRequested()) return false;
        }
    }
    return true;
}

bool WithinBounds(int n, double mean) {
    return std::fabs(mean) <= 2.0 / std::sqrt(static_cast<double>(n));
}

double ExpectedWithinShare() {
    return std::erf(2 / std::numbers::sqrt2);
}

void SqrtTally::add(const SqrtPoint& point) {
    const auto g = static_cast<std::size_t>(point.group - 1);
    ++count_[g];
    if (WithinBounds(point.n, point.mean)) ++within_[g];
}

std::string SqrtTally::shareText(int group) const {
    const int n = count(group);
    if (n == 0) return "";
    return Format("%d of %d\n%s %%", within(group), n, FormatFixed(100.0 * within(group) / n, 1).c_str());
}

std::string WithinHeading() {
    return "Share of means inside \u00B12/\u221An (expected " + FormatFixed(100 * ExpectedWithinShare(), 1) +
           " %)";
}

GroupSummary Summarise(int n, const std::vector<double>& means) {
    GroupSummary s;
    s.n = n;
    s.count = static_cast<int>(means.size());
    if (means.empty()) return s;
    double sum = 0;
    for (double m : means) sum += m;
    s.average = sum / s.count;
    double sq = 0;
    for (double m : means) sq += (m - s.average) * (m - s.average);
    s.deviation = s.count > 1 ? std::sqrt(sq / (s.count - 1)) : 0;
    for (double m : means) {
        if (WithinBounds(n, m)) ++s.within;
        const int y = SqrtRow(m);
        if (y > 10 && y < 290) ++s.drawn;
    }
    return s;
}

std::vector<Tick> SqrtTicks() {
    std::vector<Tick> ticks;
    for (int sign : {+1, -1}) {
        for (int n : kGroupSizes) {
            const double v = sign * 2.0 / std::sqrt(static_cast<double>(n));
            Tick t;
            t.y = static_cast<int>(std::floor(kSqrtZeroY - v * kSqrtScale + 0.5));
            t.label = (sign < 0 ? "-2/\u221A" : "2/\u221A") + std::to_string(n);
            ticks.push_back(t);
        }
    }
    return ticks;
}

} // namespace tarvik::normal
