#include "screenshots/shots.h"

#include "modules/tables/ui/tabellengrafiek.h"
#include "modules/tables/ui/tableswindow.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTextEdit>

using tarvik::tables::Distribution;
using tarvik::tables::TTables;

namespace {

void Fill(const TTables::Page& page, const QStringList& params, const QStringList& inputs) {
    for (int i = 0; i < params.size(); ++i) page.parameters[static_cast<std::size_t>(i)]->setText(params[i]);
    for (int i = 0; i < inputs.size(); ++i) page.inputs[static_cast<std::size_t>(i)]->setText(inputs[i]);
}

} // namespace

TARVIK_SCREENSHOT(tables_window) {
    TTables window;
    window.resize(1000, 700);
    window.show();
    const auto& normal = window.page(Distribution::Normal);
    Fill(normal, {}, {"1.96", "0", "-1.96", "-0.000012346", "7"});
    normal.calculate->click();
    const auto& bin = window.page(Distribution::Binomial);
    Fill(bin, {"10", "0.5"}, {"4", "0", "10", "123456789012"});
    bin.calculate->click();
    const auto& poisson = window.page(Distribution::Poisson);
    Fill(poisson, {"2.5"}, {"0", "1", "2", "30"});
    poisson.calculate->click();
    window.tabs()->setCurrentIndex(static_cast<int>(Distribution::Poisson));
    shot.save(&window, "tables-window");

    const auto& chi = window.page(Distribution::ChiSquare);
    window.tabs()->setCurrentIndex(static_cast<int>(Distribution::ChiSquare));
    chi.percentiles->click();
    Fill(chi, {"4"}, {"0.95", "0.05", "0", "1", "1E-8"});
    chi.calculate->click();
    const auto& gamma = window.page(Distribution::Gamma);
    Fill(gamma, {"0.5"}, {"1", "0.25"});
    gamma.calculate->click();
    shot.save(&window, "tables-window-percentiles");

    const auto& hyp = window.page(Distribution::Hypergeometric);
    window.tabs()->setCurrentIndex(static_cast<int>(Distribution::Hypergeometric));
    hyp.graph->click();
    Fill(hyp, {"30", "20", "10"}, {});
    shot.save(&window, "tables-window-hypergeometric-graph-choice");

    // A decimal comma in a real field: the filter keeps "15", the field says which mark to use.
    window.tabs()->setCurrentIndex(static_cast<int>(Distribution::Normal));
    normal.inputs[0]->setText(QStringLiteral("1,5"));
    shot.save(&window, "tables-decimal-mark-hint");
}

TARVIK_SCREENSHOT(tables_graphs) {
    TTables window;
    window.resize(1000, 700);
    window.show();
    struct Graph {
        Distribution d;
        QStringList params;
        const char* name;
    };
    const Graph graphs[] = {
        {Distribution::Poisson, {"4"}, "tables-graph-poisson"},
        {Distribution::Binomial, {"20", "0.3"}, "tables-graph-binomial"},
        {Distribution::Hypergeometric, {"30", "20", "10"}, "tables-graph-hypergeometric"},
        {Distribution::ChiSquare, {"1"}, "tables-graph-chisquare-1"},
        {Distribution::ChiSquare, {"8"}, "tables-graph-chisquare-8"},
        {Distribution::Student, {"4"}, "tables-graph-student"},
        {Distribution::Fisher, {"2", "10"}, "tables-graph-fisher"},
        {Distribution::Gamma, {"0.5"}, "tables-graph-gamma"},
    };
    for (const Graph& g : graphs) {
        window.tabs()->setCurrentIndex(static_cast<int>(g.d));
        const auto& page = window.page(g.d);
        page.graph->click();
        Fill(page, g.params, {});
        page.calculate->click();
        if (window.graphWindow()) shot.save(window.graphWindow(), g.name);
    }
}

// The output area with its longest titles (gamma, Student's t, hypergeometric)
// and the widest column lines, at the window's own size.
TARVIK_SCREENSHOT(tables_long_titles) {
    TTables window;
    window.show();
    const auto& hyp = window.page(Distribution::Hypergeometric);
    Fill(hyp, {"30", "20", "10"}, {"2", "5"});
    hyp.calculate->click();
    const auto& student = window.page(Distribution::Student);
    Fill(student, {"4"}, {"-2.5", "1"});
    student.calculate->click();
    const auto& gamma = window.page(Distribution::Gamma);
    window.tabs()->setCurrentIndex(static_cast<int>(Distribution::Gamma));
    Fill(gamma, {"0.5"}, {"0.25", "1", "2.5"});
    gamma.calculate->click();
    shot.save(&window, "tables-window-long-titles");
    window.results()->verticalScrollBar()->setValue(0);
    shot.save(&window, "tables-window-long-titles-top");
}
