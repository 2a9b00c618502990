#include "modules/lp/matgen.h"

namespace tarvik::lp {

LPModel BuildLPModel(const ReadModel& read, bool rows) {
    LPModel lp;
    lp.minimize = read.minimize;
    lp.m = static_cast<int>(read.constraints.size());
    lp.n = static_cast<int>(read.columns.size());
    const int m = lp.m, n = lp.n;
    // Pad rows to whole cache lines so the row updates run on aligned blocks.
    lp.stride = (static_cast<std::size_t>(n + 1) + 7) / 8 * 8;
    lp.tableau.assign(lp.stride, Real(0));
    lp.cost.assign(n + 1, 0.0);
    lp.basis.assign(m + 1, 0);
    lp.rhs.assign(m + 1, 0.0);
    lp.columns.resize(n + 2);
    for (int j = 1; j <= n; ++j) lp.columns[j] = read.columns[j - 1];
    lp.columns[n + 1] = ColumnInfo{"RHS", ColumnKind::Decision, 0};
    for (std::size_t v = 0; v < read.names.size(); ++v) lp.cost[read.column[v]] = read.cost[v];
    for (int j = 1; j <= n; ++j) {
        if (lp.columns[j].kind == ColumnKind::Artificial) {
            lp.at(0, j) = -1;
            lp.hasArtificial = true;
        }
    }
    lp.rowStart.assign(m + 2, 0);
    std::size_t entries = 0;
    for (const ReadConstraint& c : read.constraints) entries += c.terms.size() + 3;
    lp.rowCol.reserve(entries);
    lp.rowVal.reserve(entries);
    for (int i = 1; i <= m; ++i) {
        const ReadConstraint& c = read.constraints[i - 1];
        lp.rowStart[i] = static_cast<int>(lp.rowCol.size());
        auto put = [&](int col, double v) {
            lp.rowCol.push_back(col);
            lp.rowVal.push_back(v);
        };
        for (const auto& [v, coef] : c.terms) put(read.column[v], coef);
        if (c.slackColumn) {
            put(c.slackColumn, 1);
            lp.basis[i] = c.slackColumn;
        }
        if (c.surplusColumn) put(c.surplusColumn, -1);
        if (c.artificialColumn) {
            put(c.artificialColumn, 1);
            lp.basis[i] = c.artificialColumn;
        }
        lp.rhs[i] = c.rhs;
    }
    lp.rowStart[m + 1] = static_cast<int>(lp.rowCol.size());
    lp.rowsBuilt = m == 0;
    if (rows) BuildTableauRows(lp);
    return lp;
}

void BuildTableauRows(LPModel& lp) {
    if (lp.rowsBuilt) return;
    lp.rowsBuilt = true;
    lp.tableau.resize(static_cast<std::size_t>(lp.m + 1) * lp.stride, Real(0));
    for (int i = 1; i <= lp.m; ++i) {
        Real* r = lp.row(i);
        for (int q = lp.rowStart[i]; q < lp.rowStart[i + 1]; ++q) r[lp.rowCol[q]] += lp.rowVal[q];
        r[lp.n + 1] = lp.rhs[i];
    }
}

LPReadResult ReadLPModel(std::string_view text, ReadSink& sink, bool tableauRows) {
    ReadOutcome read = ReadModelText(text, Dialect::LP, sink);
    LPReadResult result;
    result.success = read.success;
    result.echo = std::move(read.echo);
    result.errorPosition = read.errorPosition;
    result.message = std::move(read.message);
    if (read.success) result.model = BuildLPModel(read.model, tableauRows);
    return result;
}

} // namespace tarvik::lp
