#include "plot/plotseries.h"

#include <algorithm>
#include <cmath>

namespace tarvik::plot {

int TDataSeries::Add(double x, double y) {
    const double t = NumericalTolerance;
    int id = 0;
    if (points_.empty()) {
        id = nextId_++;
        points_.push_back({id, x, y});
    } else if (!(x < points_.back().x)) {
        SeriesPoint& last = points_.back();
        if (DuplicatesAllowed || last.x < x - t) {
            id = nextId_++;
            points_.push_back({id, x, y});
        } else {
            last.x = x;
            last.y = y;
            id = last.id;
            dirty_ = true; // an extreme may have been overwritten
        }
    } else {
        auto q = points_.begin();
        while (q != points_.end() && q->x < x - t) ++q;
        if (DuplicatesAllowed || std::fabs(q->x - x) > t) {
            id = nextId_++;
            points_.insert(q, {id, x, y});
        } else {
            q->x = x;
            q->y = y;
            id = q->id;
            dirty_ = true;
        }
    }
    if (!dirty_) UpdateExtremes(x, y);
    Changed();
    return id;
}

void TDataSeries::Clear() {
    points_.clear();
    nextId_ = 1;
    dirty_ = true;
    Changed();
}

void TDataSeries::UpdateExtremes(double x, double y) const {
    const double yz = y - ZeroValue;
    if (points_.size() == 1) {
        xmin_ = xmax_ = x;
        ymin_ = ymax_ = yz;
        return;
    }
    xmin_ = std::min(xmin_, x);
    xmax_ = std::max(xmax_, x);
    ymin_ = std::min(ymin_, yz);
    ymax_ = std::max(ymax_, yz);
}

void TDataSeries::Recompute() const {
    dirty_ = false;
    if (points_.empty()) return;
    xmin_ = xmax_ = points_.front().x;
    ymin_ = ymax_ = points_.front().y - ZeroValue;
    for (const SeriesPoint& p : points_) {
        xmin_ = std::min(xmin_, p.x);
        xmax_ = std::max(xmax_, p.x);
        ymin_ = std::min(ymin_, p.y - ZeroValue);
        ymax_ = std::max(ymax_, p.y - ZeroValue);
    }
}

bool TDataSeries::XRange(double& lo, double& hi) const {
    if (points_.empty()) return false;
    if (dirty_) Recompute();
    lo = xmin_;
    hi = xmax_;
    return true;
}

bool TDataSeries::YRange(double& lo, double& hi) const {
    if (points_.empty()) return false;
    if (dirty_) Recompute();
    lo = ymin_;
    hi = ymax_;
    return true;
}

TSeries::TSeries(int number) : SeriesNumber(number) {
    SeriesName = "Series " + std::to_string(number);
    FillPoints = number < 5;
    switch (number) {
    case 1:
        LineColor = colors::Green;
        break;
    case 2:
        LineColor = colors::Blue;
        break;
    case 3:
        LineColor = colors::Red;
        break;
    case 4:
        LineColor = colors::Grey;
        break;
    case 5:
        LineColor = colors::Maroon;
        break;
    default:
        LineColor = colors::Green;
        break;
    }
    PointColor = LineColor;
    switch (number) {
    case 1:
    case 5:
        Shape = PointShape::Square;
        break;
    case 3:
        Shape = PointShape::Diamond;
        break;
    case 4:
        Shape = PointShape::Cross;
        break;
    default:
        Shape = PointShape::Circle;
        break;
    }
    switch (number) {
    case 2:
        Style = LineStyle::Dash;
        break;
    case 3:
        Style = LineStyle::Dot;
        break;
    case 4:
        Style = LineStyle::DashDot;
        break;
    case 5:
        Style = LineStyle::DashDotDot;
        break;
    default:
        Style = LineStyle::Solid;
        break;
    }
}

void TSeries::SetPointSize(int size) {
    size = std::max(2, size);
    if (size % 2) ++size;
    pointSize_ = size;
    Changed();
}

} // namespace tarvik::plot
