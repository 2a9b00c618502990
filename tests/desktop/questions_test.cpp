// Every kind of question each module asks opens on top of the window that
// asked it, as the window manager stacks them on a real desktop.
#include "common/ui/dialogservice.h"
#include "common/ui/reportsave.h"
#include "desktop/desktoptesting.h"
#include "desktop/xstack.h"
#include "modules/dice/ui/dobbeldialoog.h"
#include "modules/dice/ui/dobbelunit.h"
#include "modules/markov/ui/markovgrid.h"
#include "modules/markov/ui/markovkeuzedialoogunit.h"
#include "modules/markov/ui/markovunit.h"
#include "modules/montecarlo/ui/mckellyunit.h"
#include "modules/montecarlo/ui/mckeuzedialoogunit.h"
#include "modules/montecarlo/ui/mcpiunit.h"
#include "modules/montecarlo/ui/mcsppunit.h"
#include "modules/montecarlo/ui/mcunit.h"
#include "modules/roulette/ui/roulettegame.h"
#include "modules/roulette/ui/rouletteunit.h"
#include "modules/roulette/ui/roulettewindows.h"
#include "modules/roulette/ui/wholespin.h"
#include "modules/shortestpath/ui/kpadoptiesunit.h"
#include "modules/shortestpath/ui/kpadunit.h"
#include "modules/tsp/ui/tspbbunit.h"
#include "modules/tsp/ui/tspdataunit.h"
#include "modules/tsp/ui/tspdialoogunit.h"
#include "modules/tsp/ui/tspunit.h"
#include "support/apptesting.h"

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

namespace tarvik::test {
namespace {

using namespace tarvik::ui;

QAction* ActionTitled(QWidget* window, const QString& text) {
    for (QAction* a : window->findChildren<QAction*>())
        if (a->text() == text) return a;
    return nullptr;
}

// --- Travelling salesman ----------------------------------------------------------------

class TspDesktop : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        tsp = Open<tarvik::tsp::ui::TTSP>("StartTSP");
        ASSERT_NE(tsp, nullptr);
    }
    void Place(int n) {
        tsp->zetSteden()->RandomBtn->setChecked(true);
        tsp->zetSteden()->AantalSpin->setValue(n);
        Click(tsp->zetSteden()->OKBtn);
        ProcessEvents();
        ASSERT_TRUE(WaitFor([this] { return tsp->dialoog()->isVisible(); }));
    }
    void WaitForRuns() {
        WaitFor([this] { return !tsp || (!tsp->constructionRunning() && !tsp->searchRunning()); }, 60000);
    }
    QPointer<tarvik::tsp::ui::TTSP> tsp;
};

TEST_F(TspDesktop, UpperBoundWrongInputAndFastExecutionQuestionsAreOnTop) {
    Place(6);
    {
        QuestionWatcher watcher({MessageBox("Do you know an upper bound", mrYes)});
        Click(tsp->dialoog()->ExactBtn);
        ExpectAllOnTop(watcher);
    }
    ASSERT_TRUE(WaitFor([this] { return tsp->bbDlg()->isVisible(); }));
    {
        QuestionWatcher watcher({MessageBox("Wrong input!", mrOk)});
        QTest::keyClicks(tsp->bbDlg()->BovengrensEdit, "abc");
        Click(tsp->bbDlg()->OKBtn);
        ExpectAllOnTop(watcher);
    }
    Click(tsp->bbDlg()->TerugBtn);
    {
        QuestionWatcher watcher({MessageBox("Fast execution", mrYes)});
        tsp->dialoog()->ListBox->setCurrentRow(3);
        Click(tsp->dialoog()->HeuristiekBtn);
        ExpectAllOnTop(watcher);
    }
    WaitForRuns();
}

TEST_F(TspDesktop, TheWarningAfterStopInTheExactSearchIsOnTop) {
    Place(45);
    QuestionWatcher watcher({MessageBox("With 45 cities", mrNo),
                             MessageBox("Do you know an upper bound", mrNo),
                             MessageBox("The exact solutions has not yet been found!", mrOk)});
    bool pressed = false;
    QObject::connect(tsp->bb()->ListBox->model(), &QAbstractItemModel::rowsInserted, tsp, [&] {
        if (pressed || !tsp->searchRunning()) return;
        pressed = true;
        Click(tsp->bb()->Button);
    });
    Click(tsp->dialoog()->ExactBtn);
    WaitForRuns();
    ExpectAllOnTop(watcher);
    EXPECT_TRUE(pressed);
}

TEST_F(TspDesktop, TheSeedQuestionAndTheFileDialogsAreOnTop) {
    Place(6);
    {
        QuestionWatcher watcher({TextQuestion("Seed")});
        QAction* seed = tsp->findChild<QAction*>("SeedCommand");
        ASSERT_NE(seed, nullptr);
        Trigger(seed, main.get());
        ExpectAllOnTop(watcher);
    }
    {
        QuestionWatcher watcher({FileDialog()});
        Click(tsp->dialoog()->SpeedButton2); // the map's Save As
        ExpectAllOnTop(watcher);
    }
    Click(tsp->dialoog()->DataBtn);
    ASSERT_TRUE(WaitFor([this] { return tsp->data()->isVisible(); }));
    {
        QuestionWatcher watcher({FileDialog()});
        QAction* save = ActionTitled(tsp->data(), kSaveTextText);
        ASSERT_NE(save, nullptr);
        Trigger(save, tsp->data());
        ExpectAllOnTop(watcher);
    }
}

// --- Coin tossing -------------------------------------------------------------------------

TEST_F(DesktopTest, CoinTossingTheErrorOfAnEmptyProbabilityIsOnTopOfTheSettings) {
    auto* dice = Open<tarvik::dice::ui::TDobbel>("StartDobbel");
    ASSERT_NE(dice, nullptr);
    auto* dlg = dice->dialog();
    Click(dlg->KeuzeBtn[3], QPoint(8, dlg->KeuzeBtn[3]->height() / 2));
    QuestionWatcher watcher({MessageBox("Not all probabilities do have valid values", mrOk)});
    Click(dlg->OKBtn);
    ExpectAllOnTop(watcher);
}

// --- Roulette -----------------------------------------------------------------------------

class RouletteDesktop : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        roulette = Open<tarvik::roulette::ui::TRoulette>("StartRoulette");
        ASSERT_NE(roulette, nullptr);
        start = roulette->startDialog();
    }
    // The fields typed as a user does; the all-or-nothing game opens the
    // results window, roulette in action the game.
    void Start(const QString& capital, const QString& goal, bool allOrNothing) {
        (allOrNothing ? start->GameBtn : start->ActionBtn)->setChecked(true);
        for (auto [spin, text] :
             {std::pair{start->StartKapitaalSpin, capital}, {start->StreefKapitaalSpin, goal}}) {
            spin->setFocus();
            spin->selectAll();
            QTest::keyClick(spin, Qt::Key_Backspace);
            QTest::keyClicks(spin, text);
        }
    }
    QPointer<tarvik::roulette::ui::TRoulette> roulette;
    tarvik::roulette::ui::TRouletteDialoog* start = nullptr;
};

TEST_F(RouletteDesktop, TheRefusalIsOnTopOfTheStartDialogAndTheResultsSaveDialogOnTopOfTheResults) {
    Start("7", "5", true);
    {
        QuestionWatcher watcher({MessageBox("Invalid input value(s)", mrOk)});
        Click(start->OKBtn);
        ExpectAllOnTop(watcher);
    }
    Start("10", "20", true);
    Click(start->OKBtn);
    ASSERT_TRUE(WaitFor([this] { return roulette->resultsWindow()->isVisible(); }));
    QuestionWatcher watcher({FileDialog()});
    QAction* save = ActionTitled(roulette->resultsWindow(), kSaveTextText);
    ASSERT_NE(save, nullptr);
    Trigger(save, roulette->resultsWindow());
    ExpectAllOnTop(watcher);
}

TEST_F(RouletteDesktop, HelpFromTheGameIsInFrontOfIt) {
    Start("10", "20", false);
    Click(start->OKBtn);
    ASSERT_TRUE(WaitFor([this] { return roulette->gameDialog()->isVisible(); }));
    QuestionWatcher watcher({HelpWindow()});
    Key(roulette->gameDialog(), Qt::Key_F1);
    ExpectAllOnTop(watcher);
}

// --- Monte Carlo --------------------------------------------------------------------------

class MonteCarloDesktop : public DesktopTest {
protected:
    void SetUp() override {
        DesktopTest::SetUp();
        if (IsSkipped() || HasFatalFailure()) return;
        mc = Open<tarvik::montecarlo::ui::TMC>("StartMC");
        ASSERT_NE(mc, nullptr);
    }
    void Choose(tarvik::montecarlo::ui::MCChoice choice) {
        auto* chooser = mc->chooser();
        QRadioButton* radio = chooser->Choices[static_cast<std::size_t>(choice)];
        Click(radio, QPoint(8, radio->height() / 2));
        Click(chooser->OKBtn);
        ProcessEvents();
    }
    QPointer<tarvik::montecarlo::ui::TMC> mc;
};

TEST_F(MonteCarloDesktop, KellysErrorIsOnTop) {
    Choose(tarvik::montecarlo::ui::MCChoice::Kelly);
    auto* dlg = mc->findChild<tarvik::montecarlo::ui::TMCKellyBDialoog*>();
    ASSERT_NE(dlg, nullptr);
    dlg->HorsesEdit->setValue(2);
    dlg->ProbEdit[0]->setText("abc");
    QuestionWatcher watcher({MessageBox("A wrong number has been entered.", mrOk)});
    Click(dlg->OKBtn);
    ExpectAllOnTop(watcher);
}

TEST_F(MonteCarloDesktop, SaveGraphToFileIsOnTopOfTheGraph) {
    Choose(tarvik::montecarlo::ui::MCChoice::StPetersburg);
    auto* plot = mc->findChild<tarvik::montecarlo::ui::TMCSPPPlot*>();
    ASSERT_NE(plot, nullptr);
    ASSERT_TRUE(WaitFor([plot] { return plot->isVisible(); }));
    QuestionWatcher watcher({FileDialog()});
    Click(plot->SaveBtn);
    ExpectAllOnTop(watcher);
}

TEST_F(MonteCarloDesktop, HelpFromThePiWindowIsInFrontOfIt) {
    Choose(tarvik::montecarlo::ui::MCChoice::Pi);
    auto* pi = mc->findChild<tarvik::montecarlo::ui::TMCPi*>();
    ASSERT_NE(pi, nullptr);
    ASSERT_TRUE(WaitFor([pi] { return pi->isVisible(); }));
    QuestionWatcher watcher({HelpWindow()});
    Key(pi, Qt::Key_F1);
    ExpectAllOnTop(watcher);
}

// --- Markov chains ------------------------------------------------------------------------

TEST_F(DesktopTest, MarkovTheRowSumErrorIsOnTop) {
    auto* markov = Open<tarvik::markov::ui::TMarkov>("SpeedButton1");
    ASSERT_NE(markov, nullptr);
    auto* w = markov->choiceWindow();
    ASSERT_TRUE(WaitFor([w] { return w && w->isVisible(); }));
    w->StatesEdit->setText("2");
    QTest::keyClick(w->StatesEdit, Qt::Key_Return);
    const QStringList rows[] = {{"0.5", "0.6"}, {"0.25", "0.75"}};
    for (int i = 0; i < 2; ++i)
        for (int j = 0; j < 2; ++j) w->MatrixGrid->setCellText(i, j, rows[i][j]);
    Click(w->NextBtn);
    Click(w->OutputChoice->button(0));
    QuestionWatcher watcher({MessageBox("Sum of rows not 1 in transitionmatrix.", mrOk)});
    Click(w->RunBtn);
    ExpectAllOnTop(watcher);
}

// --- Where module windows open ------------------------------------------------------------

// The frames (as the X server has them) of the module's shown windows lie in
// the main window's client area, below its menu bar.
bool Holds(const QWidget* module, const QWidget* w) {
    while (w && w != module) w = w->parentWidget();
    return w == module;
}

void ExpectInClientArea(QWidget* module, int expected) {
    const QRect client(module->mapToGlobal(QPoint(0, 0)), module->size());
    int count = 0;
    for (const XClient& c : StackingOrder())
        for (QWidget* w : QApplication::topLevelWidgets())
            if (w->isVisible() && w->internalWinId() == c.id && Holds(module, w)) {
                ++count;
                EXPECT_TRUE(client.contains(c.frame)) << c.title.toStdString();
            }
    EXPECT_EQ(count, expected);
}

TEST_F(DesktopTest, MarkovTheChoiceWindowOpensInTheClientArea) {
    auto* markov = Open<tarvik::markov::ui::TMarkov>("SpeedButton1");
    ASSERT_NE(markov, nullptr);
    auto* w = markov->choiceWindow();
    ASSERT_TRUE(WaitFor([w] { return w && w->isVisible() && CoveredBy(w->winId()) != "not shown"; }));
    ExpectInClientArea(markov, 1);
}

// --- Shortest path ------------------------------------------------------------------------

TEST_F(DesktopTest, ShortestPathHelpIsInFrontOfTheSettings) {
    auto* kpad = Open<tarvik::shortestpath::ui::TKPad>("StartKortstePad");
    ASSERT_NE(kpad, nullptr);
    ASSERT_TRUE(WaitFor([kpad] { return kpad->settings()->isVisible(); }));
    QuestionWatcher watcher({HelpWindow()});
    Key(kpad->settings(), Qt::Key_F1);
    ExpectAllOnTop(watcher);
}

} // namespace
} // namespace tarvik::test
