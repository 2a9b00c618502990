#include "modules/simulation/simchecks.h"

#include "common/numparse.h"

#include <cctype>

namespace tarvik::simulation {

std::optional<double> ReadRate(std::string_view text) {
    if (text.find(',') != std::string_view::npos) return std::nullopt;
    return TryStrToReal(text);
}

bool RateInRange(double rate) {
    return rate > 0.01 && rate < 100;
}

bool LoadInRange(double load) {
    constexpr double margin = 1e-9;
    return load >= 0.1 * (1 - margin) && load <= 0.98 * (1 + margin);
}

long long ReadWholeNumber(std::string_view text, long long lo, long long hi) {
    if (auto v = TryStrToInt(text)) return *v < lo ? lo : (*v > hi ? hi : *v);
    // Too many digits for a 64-bit number is still a whole number: the bound of its sign.
    std::size_t b = 0, e = text.size();
    while (b < e && (text[b] == ' ' || text[b] == '\t')) ++b;
    while (e > b && (text[e - 1] == ' ' || text[e - 1] == '\t')) --e;
    std::string_view s = text.substr(b, e - b);
    bool negative = false;
    if (!s.empty() && (s[0] == '+' || s[0] == '-')) {
        negative = s[0] == '-';
        s.remove_prefix(1);
    }
    if (s.empty()) return lo;
    for (char c : s)
        if (!std::isdigit(static_cast<unsigned char>(c))) return lo;
    return negative ? lo : hi;
}

namespace {

// λ, μ and λ/μ, stopping at the first failure.
std::optional<std::string> CheckRatePair(const RateInput& in, double& lambda, double& mu) {
    const auto l = ReadRate(in.lambda);
    if (!l || !RateInRange(*l)) return kMsgArrival;
    const auto m = ReadRate(in.mu);
    if (!m || !RateInRange(*m)) return kMsgService;
    if (!LoadInRange(*l / *m)) return kMsgLoad;
    lambda = *l;
    mu = *m;
    return std::nullopt;
}

bool AllValid(std::initializer_list<std::optional<double>> rates) {
    for (const auto& r : rates)
        if (!r || !RateInRange(*r)) return false;
    return true;
}

bool AllRead(std::initializer_list<std::optional<double>> rates) {
    for (const auto& r : rates)
        if (!r) return false;
    return true;
}

} // namespace

Checked<SingleSettings> CheckSingle(const RateInput& in) {
    Checked<SingleSettings> r;
    double lambda = 0, mu = 0;
    if (auto msg = CheckRatePair(in, lambda, mu)) {
        r.messages.push_back(*msg);
        return r;
    }
    r.settings = SingleSettings{.lambda = lambda,
                                .mu = mu,
                                .length = in.length,
                                .initial = in.initial,
                                .detArrivals = in.detArrivals,
                                .detService = in.detService};
    return r;
}

std::optional<std::string> ProcessMessage(const SingleSettings& stored) {
    if (stored.detArrivals && stored.detService) return kMsgStochastic;
    return std::nullopt;
}

Checked<CompareSettings> CheckCompare(const RateInput& in, bool deterministicService) {
    Checked<CompareSettings> r;
    double lambda = 0, mu = 0;
    if (auto msg = CheckRatePair(in, lambda, mu)) {
        r.messages.push_back(*msg);
        return r;
    }
    r.settings = CompareSettings{.deterministicService = deterministicService,
                                 .lambda = lambda,
                                 .mu = mu,
                                 .length = in.length,
                                 .initial = in.initial};
    return r;
}

Checked<VaryingLoadSettings> CheckVaryingLoad(const std::string& rho1, const std::string& rho2, double length,
                                              int initial) {
    Checked<VaryingLoadSettings> r;
    const auto r1 = TryStrToReal(rho1);
    if (!r1 || !LoadInRange(*r1)) {
        r.messages.push_back(kMsgRho1);
        return r;
    }
    const auto r2 = TryStrToReal(rho2);
    if (!r2 || !LoadInRange(*r2)) {
        r.messages.push_back(kMsgRho2);
        return r;
    }
    r.settings = VaryingLoadSettings{
        .rho1 = *r1, .rho2 = *r2, .rho1Text = rho1, .rho2Text = rho2, .length = length, .initial = initial};
    return r;
}

Checked<PoolingSettings> CheckPooling(const PoolingInput& in) {
    Checked<PoolingSettings> r;
    const auto l1 = ReadRate(in.lambda1), l2 = ReadRate(in.lambda2);
    const auto m1 = ReadRate(in.mu1), m2 = ReadRate(in.mu2);
    if (!AllValid({l1, l2})) r.messages.push_back(kMsgArrival);
    if (!AllValid({m1, m2})) r.messages.push_back(kMsgService);
    if (!AllRead({l1, l2, m1, m2})) return r;
    if (!LoadInRange(*l1 / *m1) || !LoadInRange(*l2 / *m2)) r.messages.push_back(kMsgLoad);
    if (!r.messages.empty()) return r;
    r.settings = PoolingSettings{.lambda1 = *l1,
                                 .lambda2 = *l2,
                                 .mu1 = *m1,
                                 .mu2 = *m2,
                                 .detService = in.detService,
                                 .length = in.length};
    return r;
}

Checked<TandemSettings> CheckTandem(const TandemInput& in) {
    Checked<TandemSettings> r;
    const auto l = ReadRate(in.lambda), m1 = ReadRate(in.mu1), m2 = ReadRate(in.mu2);
    if (!AllValid({l})) r.messages.push_back(kMsgArrival);
    if (!AllValid({m1, m2})) r.messages.push_back(kMsgService);
    if (!AllRead({l, m1, m2})) return r;
    if (!LoadInRange(*l / *m1) || !LoadInRange(*l / *m2)) r.messages.push_back(kMsgLoad);
    if (!r.messages.empty()) return r;
    if (in.detArrivals && in.detService1 && in.detService2) {
        r.messages.push_back(kMsgStochastic);
        return r;
    }
    r.settings = TandemSettings{.lambda = *l,
                                .mu1 = *m1,
                                .mu2 = *m2,
                                .detArrivals = in.detArrivals,
                                .detService1 = in.detService1,
                                .detService2 = in.detService2,
                                .length = in.length};
    return r;
}

Checked<PrioritySettings> CheckPriority(const PriorityInput& in) {
    Checked<PrioritySettings> r;
    const auto l1 = ReadRate(in.lambda1), l2 = ReadRate(in.lambda2);
    const auto m1 = ReadRate(in.mu1), m2 = ReadRate(in.mu2);
    if (!AllValid({l1, l2})) r.messages.push_back(kMsgArrival);
    if (!AllValid({m1, m2})) r.messages.push_back(kMsgService);
    if (!AllRead({l1, l2, m1, m2})) return r;
    if (!LoadInRange(*l1 / *m1 + *l2 / *m2)) r.messages.push_back(kMsgLoad);
    if (!r.messages.empty()) return r;
    r.settings = PrioritySettings{.lambda1 = *l1,
                                  .lambda2 = *l2,
                                  .mu1 = *m1,
                                  .mu2 = *m2,
                                  .detService1 = in.detService1,
                                  .detService2 = in.detService2,
                                  .length = in.length};
    return r;
}

} // namespace tarvik::simulation
