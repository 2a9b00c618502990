#include "modules/ip/mipgraphical.h"

#include "common/numformat.h"

namespace tarvik::ip {

std::optional<lp::PlaneModel> PlaneModelOf(const MIPModel& model) {
    if (model.n != 2) return std::nullopt;
    lp::PlaneModel plane;
    plane.xName = model.names[1];
    plane.yName = model.names[2];
    plane.minimize = model.minimize;
    plane.cx = model.cost[1];
    plane.cy = model.cost[2];
    for (int i = 1; i <= model.m; ++i) {
        lp::PlaneConstraint k;
        for (int q = model.rowStart[i]; q < model.rowStart[i + 1]; ++q)
            (model.variable[q] == 1 ? k.a : k.b) += model.value[q];
        k.relation = model.sense[i] == kLessEqual      ? lp::Relation::LessEqual
                     : model.sense[i] == kGreaterEqual ? lp::Relation::GreaterEqual
                                                       : lp::Relation::Equal;
        k.rhs = model.rhs[i];
        k.number = i;
        k.label = "(" + std::to_string(i) + ")";
        plane.constraints.push_back(std::move(k));
    }
    for (int j = 1; j <= 2; ++j) {
        if (model.upper[j] < 0) continue;
        lp::PlaneConstraint k;
        (j == 1 ? k.a : k.b) = 1;
        k.rhs = model.upper[j];
        k.label = model.names[j] + " <= " + FormatGeneral(model.upper[j], 6);
        plane.constraints.push_back(std::move(k));
    }
    return plane;
}

std::shared_ptr<const lp::GraphicalSolution> GraphicalOf(const MIPModel& model, const MIPResult& result) {
    std::optional<lp::PlaneModel> plane = PlaneModelOf(model);
    if (!plane) return nullptr;
    auto s = std::make_shared<lp::GraphicalSolution>(lp::SolveGraphically(*plane, lp::SimplexPathOf(*plane)));
    lp::IntegerPoints lattice;
    if (result.haveIncumbent) {
        lattice.haveOptimum = true;
        lattice.proven = !result.stopped && result.status == kOptimal;
        lattice.optimum = {result.x[1], result.x[2]};
        lattice.value = plane->objective(lattice.optimum);
    }
    s->integer = lattice; // the view takes the integer optimum into account
    const lp::PlaneView view = lp::ViewOf(*s);
    lp::IntegerPoints points =
        lp::IntegerPointsOf(*s, model.integer[1], model.integer[2], view.xMax, view.yMax, kMaxIntegerPoints);
    points.haveOptimum = lattice.haveOptimum;
    points.proven = lattice.proven;
    points.optimum = lattice.optimum;
    points.value = lattice.value;
    s->integer = std::move(points);
    return s;
}

} // namespace tarvik::ip
