#include "modules/montecarlo/newsboy.h"

#include "common/numformat.h"
#include "common/numparse.h"
#include "common/random.h"

#include <algorithm>
#include <cmath>

namespace tarvik::montecarlo {

namespace {

bool Whole(double v) {
    return std::isfinite(v) && std::floor(v) == v;
}

NewsboyCheck Refuse(NewsboyField field, std::string message, int column = 0) {
    NewsboyCheck c;
    c.field = field;
    c.ownColumn = column;
    c.message = std::move(message);
    return c;
}

} // namespace

NewsboyCheck CheckNewsboy(const NewsboyTexts& t) {
    // 1. Every field in use must hold a number; the first that does not only
    // gets the focus.
    struct Text {
        const std::string* text;
        NewsboyField field;
    };
    std::vector<Text> fields = {{&t.q1, NewsboyField::Q1},           {&t.q2, NewsboyField::Q2},
                                {&t.price, NewsboyField::Price},     {&t.salvage, NewsboyField::Salvage},
                                {&t.penalty, NewsboyField::Penalty}, {&t.runs, NewsboyField::Runs}};
    if (t.distribution == NewsboyDistribution::Uniform) {
        fields.push_back({&t.uniformA, NewsboyField::UniformA});
        fields.push_back({&t.uniformB, NewsboyField::UniformB});
    } else if (t.distribution == NewsboyDistribution::Triangular) {
        fields.push_back({&t.triangularA, NewsboyField::TriangularA});
        fields.push_back({&t.triangularB, NewsboyField::TriangularB});
        fields.push_back({&t.triangularM, NewsboyField::TriangularM});
    }
    for (const Text& f : fields)
        if (!TryStrToReal(*f.text)) return Refuse(f.field, {});
    const auto num = [](const std::string& s) { return *TryStrToReal(s); };

    // 2. Whole numbers.
    const double q1 = num(t.q1), q2 = num(t.q2), runs = num(t.runs);
    if (!Whole(q1)) return Refuse(NewsboyField::Q1, "Order quantity must be a whole number");
    if (!Whole(q2)) return Refuse(NewsboyField::Q2, "Order quantity must be a whole number");
    if (!Whole(runs)) return Refuse(NewsboyField::Runs, "Number of runs must be an integer");

    // 3. Ranges.
    const double price = num(t.price), salvage = num(t.salvage), penalty = num(t.penalty);
    if (price < 1 || price > 10)
        return Refuse(NewsboyField::Price, "Selling price must be between 1 and 10 dollar");
    if (salvage < 0 || salvage > 1)
        return Refuse(NewsboyField::Salvage,
                      "Salvage value per unit left over must be between 0 and 1 dollar");
    if (penalty < 0 || penalty > 10)
        return Refuse(NewsboyField::Penalty, "Penalty cost have to be between 0 and 10 dollars");
    if (runs < 1000 || runs > 100000)
        return Refuse(NewsboyField::Runs, "Number of runs must be between 1000 and 100000");

    NewsboyParams p;
    p.price = price;
    p.salvage = salvage;
    p.penalty = penalty;
    p.runs = static_cast<int>(runs);
    p.bins = std::clamp(t.bins, kNewsboyBins.min, kNewsboyBins.max);
    p.distribution = t.distribution;

    // The order quantities lie within the demands, which the profit tables hold.
    const auto quantitiesWithin = [&](double lo, double hi) -> std::optional<NewsboyCheck> {
        if (q1 < lo || q1 > hi) return Refuse(NewsboyField::Q1, "Order quantity must be between a and b");
        if (q2 < lo || q2 > hi) return Refuse(NewsboyField::Q2, "Order quantity must be between a and b");
        return std::nullopt;
    };

    if (t.distribution == NewsboyDistribution::Own) {
        for (int i = 0; i < kNewsboyOwnDemands; ++i) {
            const std::string& cell = t.own[static_cast<std::size_t>(i)];
            if (cell.size() > 4)
                return Refuse(NewsboyField::Own, "The probabilities can have a maximum of 2 decimals", i);
            const auto v = TryStrToReal(cell);
            if (!v) return Refuse(NewsboyField::Own, {}, i);
            if (*v < 0) return Refuse(NewsboyField::Own, "Negative probability is not possible!", i);
            // Each probability must be a whole number of hundredths, so that the
            // hundred entries of the demand table are exactly filled.
            if (std::fabs(*v * 100 - std::round(*v * 100)) > 1e-7)
                return Refuse(NewsboyField::Own, "The probabilities can have a maximum of 2 decimals", i);
            p.own[static_cast<std::size_t>(i)] = *v;
        }
        double sum = 0;
        for (double v : p.own) sum += v;
        if (std::fabs(sum - 1) > 0.001)
            return Refuse(NewsboyField::Own, "The sum of the probabilities must be 1");
        if (q1 < 1 || q1 > 10) return Refuse(NewsboyField::Q1, "Order quantity must be between 1 and 10");
        if (q2 < 1 || q2 > 10) return Refuse(NewsboyField::Q2, "Order quantity must be between 1 and 10");
    } else {
        const bool triangular = t.distribution == NewsboyDistribution::Triangular;
        const double a = num(triangular ? t.triangularA : t.uniformA);
        const double b = num(triangular ? t.triangularB : t.uniformB);
        const NewsboyField fa = triangular ? NewsboyField::TriangularA : NewsboyField::UniformA;
        const NewsboyField fb = triangular ? NewsboyField::TriangularB : NewsboyField::UniformB;
        if (!Whole(a)) return Refuse(fa, "a must be a whole number.");
        if (!Whole(b)) return Refuse(fb, "b must be an integer");
        double m = 0;
        if (triangular) {
            m = num(t.triangularM);
            if (!Whole(m)) return Refuse(NewsboyField::TriangularM, "m must be a whole number");
        }
        if (a < 0 || a > kNewsboyMaxDemand) return Refuse(fa, "a and b must be between 0 and 500");
        if (b < 0 || b > kNewsboyMaxDemand) return Refuse(fb, "a and b must be between 0 and 500");
        if (a >= b) return Refuse(fa, "a must be smaller than b");
        if (triangular && (m < a || m > b))
            return Refuse(NewsboyField::TriangularM, "m must be between a and b");
        if (auto refused = quantitiesWithin(a, b)) return *refused;
        p.a = static_cast<int>(a);
        p.b = static_cast<int>(b);
        p.m = static_cast<int>(m);
    }
    p.q1 = static_cast<int>(q1);
    p.q2 = static_cast<int>(q2);
    NewsboyCheck ok;
    ok.params = p;
    return ok;
}

double NewsboyProfit(const NewsboyParams& p, int q, int d) {
    if (d <= q) return d * p.price + (q - d) * p.salvage - q;
    return q * p.price - (d - q) * p.penalty - q;
}

int NewsboyLowDemand(const NewsboyParams& p) {
    return p.distribution == NewsboyDistribution::Own ? 0 : p.a;
}

int NewsboyHighDemand(const NewsboyParams& p) {
    return p.distribution == NewsboyDistribution::Own ? kNewsboyOwnDemands - 1 : p.b;
}

std::array<int, 101> NewsboyOwnTable(const std::array<double, kNewsboyOwnDemands>& own) {
    std::array<int, 101> table{};
    int e = 1;
    long running = 0;
    for (int j = 0; j < kNewsboyOwnDemands; ++j) {
        running += std::lround(100 * own[static_cast<std::size_t>(j)]);
        for (; e <= 100 && running >= e; ++e) table[static_cast<std::size_t>(e)] = j;
    }
    // Checked probabilities fill all hundred entries; anything left names the
    // highest demand rather than nothing.
    for (; e <= 100; ++e) table[static_cast<std::size_t>(e)] = kNewsboyOwnDemands - 1;
    return table;
}

int NewsboyTriangularDemand(double u, int a, int b, int m) {
    const double h = static_cast<double>(m - a) / (b - a);
    const double x = u <= h ? std::sqrt(u * h) : 1 - std::sqrt((1 - h) * (1 - u));
    const double t = a + (b - a) * x;
    if (t < a + 0.5) return a;
    if (t >= b - 0.5) return b;
    return static_cast<int>(std::floor(t + 0.5));
}

int NewsboyDemand(const NewsboyParams& p, const std::array<int, 101>& ownTable) {
    const double u = RandomReal();
    switch (p.distribution) {
    case NewsboyDistribution::Uniform:
        return static_cast<int>(u * (p.b - p.a + 1)) + p.a;
    case NewsboyDistribution::Own:
        return ownTable[static_cast<std::size_t>(100 * u + 1)];
    case NewsboyDistribution::Triangular:
        break;
    }
    return NewsboyTriangularDemand(u, p.a, p.b, p.m);
}

int NewsboyBin(double v, double lo, double width, int bins) {
    int j = std::clamp(static_cast<int>(std::floor((v - lo) / width)) + 1, 1, bins);
    while (j > 1 && v < lo + (j - 1) * width) --j;
    while (j < bins && v >= lo + j * width) ++j;
    return j;
}

double NewsboyResult::largestPercentage() const {
    double m = 0;
    for (const auto& row : percentages)
        for (double v : row) m = std::max(m, v);
    return m;
}

std::string NewsboyResult::legend(int which) const {
    return Format("Q%d =%4d   Expected profit %7.1f", which + 1, quantity(which),
                  mean[static_cast<std::size_t>(which)]);
}

NewsboyResult RunNewsboy(const NewsboyParams& params) {
    NewsboyResult r;
    r.params = params;
    const int low = NewsboyLowDemand(params), high = NewsboyHighDemand(params);
    const int size = high - low + 1;
    const int q[2] = {params.q1, params.q2};
    std::array<std::vector<double>, 2> profit;
    double lo = 0, hi = 0;
    bool first = true;
    for (int k = 0; k < 2; ++k) {
        profit[k].resize(static_cast<std::size_t>(size));
        for (int d = low; d <= high; ++d) {
            const double v = NewsboyProfit(params, q[k], d);
            profit[k][static_cast<std::size_t>(d - low)] = v;
            lo = first ? v : std::min(lo, v);
            hi = first ? v : std::max(hi, v);
            first = false;
        }
    }
    r.lo = lo - 1e-9;
    r.hi = hi + 1e-9;
    r.width = (r.hi - r.lo) / params.bins;
    // Per demand its bin, so that a run costs one look-up per order quantity.
    std::array<std::vector<int>, 2> bin;
    for (int k = 0; k < 2; ++k) {
        bin[k].resize(static_cast<std::size_t>(size));
        for (int i = 0; i < size; ++i)
            bin[k][static_cast<std::size_t>(i)] =
                NewsboyBin(profit[k][static_cast<std::size_t>(i)], r.lo, r.width, params.bins);
        r.counts[k].assign(static_cast<std::size_t>(params.bins) + 1, 0);
    }
    const std::array<int, 101> table = NewsboyOwnTable(params.own);
    const double n = params.runs;
    for (int run = 0; run < params.runs; ++run) {
        const auto i = static_cast<std::size_t>(NewsboyDemand(params, table) - low);
        for (int k = 0; k < 2; ++k) {
            const double v = profit[k][i];
            r.mean[k] += v / n;
            r.meanOfSquares[k] += v * v / n;
            ++r.counts[k][static_cast<std::size_t>(bin[k][i])];
        }
    }
    for (int k = 0; k < 2; ++k) {
        r.interval[k] = MeanInterval(r.mean[k], r.meanOfSquares[k], params.runs);
        r.percentages[k].resize(static_cast<std::size_t>(params.bins));
        for (int j = 1; j <= params.bins; ++j)
            r.percentages[k][static_cast<std::size_t>(j - 1)] =
                100.0 * r.counts[k][static_cast<std::size_t>(j)] / n;
    }
    return r;
}

std::vector<StyledLine> NewsboyReport(const NewsboyResult& r) {
    const NewsboyParams& p = r.params;
    const std::string rule(48, '_');
    std::vector<StyledLine> lines;
    const auto heading = [&](std::string s) { lines.push_back({StyledLine::Heading, std::move(s)}); };
    const auto plain = [&](std::string s) { lines.push_back({StyledLine::Plain, std::move(s)}); };
    const auto courier = [&](std::string s) { lines.push_back({StyledLine::Courier, std::move(s)}); };
    heading("Newsboy   (simulated profits of two order quantities)");
    heading(rule);
    plain("");
    plain("");
    heading("The input");
    heading(rule);
    plain("");
    plain(Format("Order quantity: %d respectively %d", p.q1, p.q2));
    plain(Format("Selling price per unit: %.2f dollar", p.price));
    plain(Format("Salvage value per unit left over: %.2f dollar", p.salvage));
    plain(Format("Penalty cost per unit shortage: %.2f Dollar", p.penalty));
    plain("Number of bins in simulation graph: " + std::to_string(p.bins));
    plain("Number of runs : " + std::to_string(p.runs));
    plain("");
    heading("The distribution");
    heading(rule);
    plain("");
    switch (p.distribution) {
    case NewsboyDistribution::Uniform:
        plain("Discrete uniform distribution");
        plain("");
        plain("a: " + std::to_string(p.a));
        plain("b: " + std::to_string(p.b));
        break;
    case NewsboyDistribution::Triangular:
        plain("Discrete triangular distribution");
        plain("");
        plain("a: " + std::to_string(p.a));
        plain("b: " + std::to_string(p.b));
        plain("m: " + std::to_string(p.m));
        break;
    case NewsboyDistribution::Own:
        plain("Own distribution");
        for (int i = 0; i < kNewsboyOwnDemands; ++i)
            plain(std::to_string(i) + ": " + FormatGeneral(p.own[static_cast<std::size_t>(i)], 15));
        break;
    }
    plain("");
    lines.push_back({StyledLine::Heading, "The output"});
    heading(rule);
    courier("");
    courier("    Bins         Q1     Q2");
    for (int j = 1; j <= p.bins; ++j) {
        const double upper = j == p.bins ? r.hi : r.binLow(j + 1);
        courier(Format("%5.1f - %5.1f :%10.1f   %10.1f", r.binLow(j), upper,
                       r.percentages[0][static_cast<std::size_t>(j - 1)],
                       r.percentages[1][static_cast<std::size_t>(j - 1)]));
    }
    courier("");
    for (int k = 0; k < 2; ++k)
        courier(Format("Expected profit %s: %10.1f  %s BTI: (%10.1f ;%10.1f)", k == 0 ? "Q1" : "Q2",
                       r.mean[k], "95 %", r.interval[k].lower, r.interval[k].upper));
    return lines;
}

} // namespace tarvik::montecarlo
