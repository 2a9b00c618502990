#include "modules/ip/mipmatgen.h"

#include <algorithm>

namespace tarvik::ip {

MIPReadResult ReadMIPModel(std::string_view text, ReadSink& sink) {
    lp::ReadOutcome read = lp::ReadModelText(text, lp::Dialect::IP, sink);
    MIPReadResult result;
    result.success = read.success;
    result.echo = std::move(read.echo);
    result.errorPosition = read.errorPosition;
    result.message = std::move(read.message);
    if (!read.success) return result;

    const lp::ReadModel& r = read.model;
    MIPModel& mip = result.model;
    mip.minimize = r.minimize;
    mip.n = static_cast<int>(r.names.size());
    mip.m = static_cast<int>(r.constraints.size());
    mip.names.assign(1, std::string());
    mip.names.insert(mip.names.end(), r.names.begin(), r.names.end());
    mip.cost.assign(1, 0.0);
    mip.cost.insert(mip.cost.end(), r.cost.begin(), r.cost.end());
    mip.integer.assign(1, false);
    mip.integer.insert(mip.integer.end(), r.integer.begin(), r.integer.end());
    mip.upper.assign(1, -1.0);
    mip.upper.insert(mip.upper.end(), r.upper.begin(), r.upper.end());
    mip.sense.assign(mip.m + 1, kLessEqual);
    mip.rhs.assign(mip.m + 1, 0.0);
    mip.rowStart.assign(mip.m + 2, 0);
    for (int i = 1; i <= mip.m; ++i) {
        const lp::ReadConstraint& c = r.constraints[i - 1];
        mip.sense[i] = c.relation == lp::Relation::LessEqual      ? kLessEqual
                       : c.relation == lp::Relation::GreaterEqual ? kGreaterEqual
                                                                  : kEqual;
        mip.rhs[i] = c.rhs;
        mip.rowStart[i] = static_cast<int>(mip.value.size());
        auto terms = c.terms;
        std::sort(terms.begin(), terms.end());
        for (const auto& [v, coef] : terms) {
            if (coef == 0) continue;
            mip.value.push_back(coef);
            mip.variable.push_back(v + 1);
        }
    }
    mip.rowStart[mip.m + 1] = static_cast<int>(mip.value.size());
    return result;
}

} // namespace tarvik::ip
