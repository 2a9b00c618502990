#include "modules/lp/lpreport.h"

#include "common/numformat.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tarvik::lp {

namespace {

constexpr double kInfinite = 1e10;
constexpr double kZero = 1e-9;

std::string W(double x, int width) {
    std::string s = tarvik::FormatFixed(x, 4);
    if (static_cast<int>(s.size()) < width) s.insert(0, width - s.size(), ' ');
    return s;
}

std::string Name10(const std::string& name) {
    std::string s = name.substr(0, 10);
    s.resize(10, ' ');
    return s;
}

std::string Lower(double value, bool infinite) {
    return infinite ? " -Infinity" : W(value, 10);
}
std::string Upper(double value, bool infinite) {
    return infinite ? "  Infinity" : W(value, 10);
}

} // namespace

void Report(const LPModel& lp, const SimplexOutcome& res, bool sensitivity, std::string& out) {
    const int m = lp.m, n = lp.n;
    const bool isMax = !lp.minimize;
    auto t = [&](int i, int j) { return static_cast<double>(lp.at(i, j)); };
    std::vector<int> basicRow(n + 2, 0);
    for (int i = 1; i <= m; ++i)
        if (!res.removed[i] && !basicRow[lp.basis[i]]) basicRow[lp.basis[i]] = i;
    auto value = [&](int j) { return basicRow[j] ? t(basicRow[j], n + 1) : 0.0; };
    auto d = [&](int j) { return t(0, j); };

    out += "\r\n\r\n  Summary of Results\r\n\r\n";
    if (!res.reliable) out += "  Warning : the result below is not reliable: " + res.doubt + ".\r\n\r\n";
    if (res.status == LPStatus::Unbounded) {
        out += "  Unbounded\r\n";
        return;
    }
    if (res.status == LPStatus::Infeasible) {
        out += "  Infeasible\r\n";
        return;
    }
    if (res.status == LPStatus::Stopped) {
        out += "  Stopped before the simplex method ended\r\n";
        return;
    }
    double z = isMax ? t(0, n + 1) : -t(0, n + 1);
    out += "  Value Objective Function : " + std::string("  ") + W(z, 13) + "\r\n";
    if (!res.objectiveFraction.empty())
        out += "  Value objective function as a fraction: " + res.objectiveFraction + "\r\n";
    out += "\r\n  Variable        Activity Level   Reduced Cost\r\n";
    out += "  --------        --------------   ------------\r\n";
    for (int j = 1; j <= n; ++j) {
        if (lp.columns[j].kind != ColumnKind::Decision) continue;
        out +=
            "  " + Name10(lp.columns[j].name) + " :  " + "  " + W(value(j), 13) + "  " + W(d(j), 11) + "\r\n";
    }

    out += "\r\n\r\n                  Slack of Surplus  Shadow prices\r\n";
    out += "                  ----------------  -------------\r\n";
    auto constraintLine = [&](int j, std::size_t prefix, double v, double shadow) {
        int row = lp.columns[j].constraint;
        if (row >= 1 && row <= m && res.removed[row]) return;
        std::string number = lp.columns[j].name.substr(prefix);
        number.resize(std::max<std::size_t>(number.size(), 3), ' ');
        out += " Constraint " + number + "  " + W(v, 13) + W(shadow, 13) + "\r\n";
    };
    for (int j = 1; j <= n;) {
        switch (lp.columns[j].kind) {
        case ColumnKind::Slack:
            constraintLine(j, 5, value(j), isMax ? d(j) : -d(j));
            j += 1;
            break;
        case ColumnKind::Surplus:
            constraintLine(j, 5, value(j), isMax ? -d(j) : d(j));
            j += 2;
            break;
        case ColumnKind::Artificial:
            constraintLine(j, 4, 0, isMax ? d(j) : -d(j));
            j += 1;
            break;
        case ColumnKind::Decision:
            j += 1;
            break;
        }
    }
    if (!sensitivity) return;

    out += "\r\n Objective Coefficient Ranges\r\n\r\n                  Current\r\n";
    out += " Variable         Coefficient   Allowed Interval\r\n";
    out += " --------         -----------   ----------------";
    for (int s = 1; s <= n; ++s) {
        if (lp.columns[s].kind != ColumnKind::Decision) continue;
        double L = kInfinite, H = kInfinite;
        if (int r = basicRow[s]) {
            for (int j = 1; j <= n; ++j) {
                if (res.excluded[j] || j == s) continue;
                double a = t(r, j);
                if (a < -kZero) L = std::min(L, -d(j) / a);
                if (a > kZero) H = std::min(H, d(j) / a);
            }
        } else {
            L = d(s);
        }
        double c = lp.cost[s];
        double current, lower, upper;
        bool lowerInf, upperInf;
        if (isMax) {
            current = c;
            lower = c - H;
            upper = c + L;
            lowerInf = H >= kInfinite;
            upperInf = L >= kInfinite;
        } else {
            current = -c;
            lower = current - L;
            upper = current + H;
            lowerInf = L >= kInfinite;
            upperInf = H >= kInfinite;
        }
        std::string line = " " + Name10(lp.columns[s].name) + W(current, 13) + "        [" +
                           Lower(lower, lowerInf) + " , " + Upper(upper, upperInf) + " ]";
        if (line.size() > 75) line.resize(75);
        out += "\r\n" + line;
    }

    out += "\r\n\r\n\r\n Right-Hand-Side Ranges\r\n\r\n                 Current\r\n";
    out += " Constraint      RHS           Allowed Interval\r\n";
    out += " ----------      ---           ----------------\r\n";
    // Each constraint's slack or artificial column (0: none), then its ranges
    // from that column, read row by row through the tableau.
    std::vector<int> columnOf(m + 1, 0);
    int from = 1;
    for (int p = 1; p <= m; ++p) {
        for (int j = from; j <= n; ++j) {
            ColumnKind k = lp.columns[j].kind;
            if ((k == ColumnKind::Slack || k == ColumnKind::Artificial) && lp.columns[j].constraint == p) {
                columnOf[p] = j;
                from = j;
                break;
            }
        }
        if (res.removed[p]) columnOf[p] = 0;
    }
    std::vector<double> lowerRoom(m + 1, kInfinite), upperRoom(m + 1, kInfinite);
    for (int k = 1; k <= m; ++k) {
        if (res.removed[k]) continue;
        const double rhs = t(k, n + 1);
        for (int p = 1; p <= m; ++p) {
            if (!columnOf[p]) continue;
            double e = t(k, columnOf[p]);
            if (e < -kZero) lowerRoom[p] = std::min(lowerRoom[p], -rhs / e);
            if (e > kZero) upperRoom[p] = std::min(upperRoom[p], rhs / e);
        }
    }
    for (int p = 1; p <= m; ++p) {
        if (!columnOf[p]) continue;
        const double L = lowerRoom[p], H = upperRoom[p];
        double b = lp.rhs[p];
        out += Format("%3d", p) + ".      " + W(b, 13) + "        [" + Lower(b - H, H >= kInfinite) + " , " +
               Upper(b + L, L >= kInfinite) + " ]\r\n";
    }
}

} // namespace tarvik::lp
