#include "screenshots/shots.h"

#include "modules/markov/ui/markovgrid.h"
#include "modules/markov/ui/markovkeuzedialoogunit.h"
#include "modules/markov/ui/markovprogressunit.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

using tarvik::markov::ui::TMarkovKeuzeDialoog;

namespace {

// A small chain with costs, typed into the grids.
void FillExample(TMarkovKeuzeDialoog& w) {
    w.StatesEdit->setText(QStringLiteral("3"));
    w.UpdateBtn->click();
    const char* const rows[3][3] = {{"0.5", "0.25", "0.25"}, {"0.5", "0", "0.5"}, {"0.25", "0.25", "0.5"}};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) w.MatrixGrid->setCellText(i, j, QString::fromLatin1(rows[i][j]));
    w.CostGrid->setCellText(0, 0, QStringLiteral("10"));
    w.CostGrid->setCellText(1, 0, QStringLiteral("4"));
    w.CostGrid->setCellText(2, 0, QStringLiteral("7"));
}

} // namespace

TARVIK_SCREENSHOT(markov_input) {
    TMarkovKeuzeDialoog w;
    FillExample(w);
    shot.save(&w, "markov-input");
}

TARVIK_SCREENSHOT(markov_choice) {
    TMarkovKeuzeDialoog w;
    FillExample(w);
    w.NextBtn->click();
    w.OutputChoice->button(2)->click();
    for (int r = 0; r < 4; ++r) w.TransientTimesGrid->setCellText(r, 0, QString::number((r + 1) * 5));
    w.EndStatesGrid->setCellText(0, 0, QStringLiteral("1"));
    w.EndStatesGrid->setCellText(1, 0, QStringLiteral("3"));
    shot.save(&w, "markov-choice-transient");
    w.OutputChoice->button(3)->click();
    shot.save(&w, "markov-choice-first-passage");
}

TARVIK_SCREENSHOT(markov_results) {
    TMarkovKeuzeDialoog w;
    FillExample(w);
    w.NextBtn->click();
    w.OutputChoice->button(1)->click();
    w.RunBtn->click();
    shot.save(&w, "markov-results-steady-state");
}

TARVIK_SCREENSHOT(markov_progress) {
    tarvik::markov::ui::TMarkovProgress p;
    p.setPosition(40);
    shot.save(&p, "markov-progress");
}
