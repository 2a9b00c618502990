// The Markov chains windows driven through their real widgets.
#include "common/ui/examples.h"
#include "common/ui/help.h"
#include "modules/markov/markovcli.h"
#include "modules/markov/ui/markovgrid.h"
#include "modules/markov/ui/markovkeuzedialoogunit.h"
#include "modules/markov/ui/markovprogressunit.h"
#include "modules/markov/ui/markovunit.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QButtonGroup>
#include <QDir>
#include <QFile>
#include <QFontInfo>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>
#include <sstream>

namespace tarvik::markov::ui {
namespace {

using tarvik::test::ProcessEvents;
using tarvik::test::ScriptedDialogs;
using Dlg = TMarkovKeuzeDialoog;

class MarkovWindows : public ::testing::Test {
protected:
    void SetUp() override {
        window = std::make_unique<Dlg>();
        window->show();
        ProcessEvents();
    }
    void TearDown() override {
        window.reset();
        ProcessEvents();
    }

    void click(QAbstractButton* button) {
        ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->text().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }
    void clickTab(QTabWidget* tabs, int index) {
        auto* bar = tabs->findChild<QTabBar*>();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }
    // Types a cell the way a user does: start editing, replace the text, Enter.
    void type(TMarkovGrid* grid, int row, int column, const QString& text) {
        grid->setFocus();
        grid->setCurrentCell(row, column);
        grid->editItem(grid->item(row, column));
        auto* editor = grid->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(editor, nullptr);
        editor->selectAll();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        ProcessEvents();
    }
    void typeStates(const QString& n) {
        window->StatesEdit->setFocus();
        window->StatesEdit->selectAll();
        QTest::keyClicks(window->StatesEdit, n);
        QTest::keyClick(window->StatesEdit, Qt::Key_Return);
    }
    // Fills the matrix row by row through the program (no change of data is noted).
    void setMatrix(const QList<QStringList>& rows) {
        for (int i = 0; i < rows.size(); ++i)
            for (int j = 0; j < rows[i].size(); ++j) window->MatrixGrid->setCellText(i, j, rows[i][j]);
    }
    void twoStateChain() {
        typeStates(QStringLiteral("2"));
        setMatrix({{"0.5", "0.5"}, {"0.25", "0.75"}});
    }
    void chooseAnalysis(int id) { click(window->OutputChoice->button(id)); }
    int page() const { return window->PageControl1->currentIndex(); }
    QString resultText(int tab) const { return window->ResultTexts[tab]->toPlainText(); }
    bool resultShown(int tab) const { return window->ResultStacks[tab]->currentIndex() == 1; }
    QString lastMessage() const {
        return dialogs.messages.empty() ? QString() : dialogs.messages.back().text;
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<Dlg> window;
};

constexpr int kStructure = 0, kSteady = 1, kTransient = 2, kPassage = 3;

TEST_F(MarkovWindows, OpensOnInputWithDefaultChainAndNoResults) {
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Discrete Time Markov Chains"));
    EXPECT_EQ(page(), Dlg::InputPage);
    EXPECT_EQ(window->StatesEdit->text(), QStringLiteral("5"));
    ASSERT_EQ(window->MatrixGrid->rowCount(), 5);
    ASSERT_EQ(window->MatrixGrid->columnCount(), 5);
    EXPECT_EQ(window->MatrixGrid->horizontalHeaderItem(4)->text(), QStringLiteral("5"));
    EXPECT_EQ(window->MatrixGrid->verticalHeaderItem(0)->text(), QStringLiteral("1"));
    EXPECT_EQ(window->MatrixGrid->cellText(3, 2), QStringLiteral("0"));
    ASSERT_EQ(window->CostGrid->columnCount(), 1);
    EXPECT_EQ(window->CostGrid->horizontalHeaderItem(0)->text(), QStringLiteral("c(j)"));
    EXPECT_EQ(window->UpdateBtn->toolTip(), QStringLiteral("Udate the number of states"));
    const QStringList tabs = {"Input", "Choice of Output", "Results"};
    const QStringList results = {"Chain Structure", "Steady-State Behaviour", "Transient Behaviour",
                                 "First-Passage Time Behaviour"};
    for (int i = 0; i < 3; ++i) EXPECT_EQ(window->PageControl1->tabText(i), tabs[i]);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(window->ResultTabs->tabText(i), results[i]);
        EXPECT_FALSE(resultShown(i));
        EXPECT_EQ(window->NoResultLabels[i]->text(), QStringLiteral("No results"));
        EXPECT_TRUE(QFontInfo(window->ResultTexts[i]->font()).fixedPitch());
    }
}

TEST_F(MarkovWindows, PageButtonsAndTheResultsPageBeforeAndAfterTheFirstRun) {
    EXPECT_FALSE(window->PreviousBtn->isEnabled());
    EXPECT_TRUE(window->NextBtn->isEnabled());

    // Before any run the Results tab leads back to the page that was shown.
    clickTab(window->PageControl1, Dlg::ResultsPage);
    EXPECT_EQ(page(), Dlg::InputPage);
    click(window->NextBtn);
    EXPECT_EQ(page(), Dlg::OutputPage);
    EXPECT_TRUE(window->PreviousBtn->isEnabled());
    EXPECT_FALSE(window->NextBtn->isEnabled()) << "Choice of Output is the last page before a run";
    clickTab(window->PageControl1, Dlg::ResultsPage);
    EXPECT_EQ(page(), Dlg::OutputPage);
    EXPECT_FALSE(window->resultsAllowed());

    // A run of the identity chain's structure.
    for (int i = 0; i < 5; ++i) window->MatrixGrid->setCellText(i, i, QStringLiteral("1"));
    chooseAnalysis(kStructure);
    click(window->RunBtn);
    EXPECT_TRUE(dialogs.messages.empty()) << lastMessage().toStdString();
    EXPECT_EQ(page(), Dlg::ResultsPage);
    EXPECT_EQ(window->ResultTabs->currentIndex(), kStructure);
    EXPECT_TRUE(resultShown(kStructure));
    EXPECT_TRUE(resultText(kStructure).contains(QStringLiteral("There are multiple recurrent classes.")));
    for (int tab : {kSteady, kTransient, kPassage}) EXPECT_FALSE(resultShown(tab));
    EXPECT_FALSE(window->NextBtn->isEnabled());
    EXPECT_TRUE(window->PreviousBtn->isEnabled());

    // From now on the Results page can be visited, also with its tab.
    click(window->PreviousBtn);
    EXPECT_EQ(page(), Dlg::OutputPage);
    EXPECT_TRUE(window->NextBtn->isEnabled());
    click(window->PreviousBtn);
    clickTab(window->PageControl1, Dlg::ResultsPage);
    EXPECT_EQ(page(), Dlg::ResultsPage);
    EXPECT_TRUE(resultShown(kStructure)) << "no data changed, so the results stay";
}

TEST_F(MarkovWindows, ParameterGroupsFollowTheChosenAnalysisAndCostsGreyTheEndStates) {
    click(window->NextBtn);
    EXPECT_FALSE(window->TransientGroup->isVisible());
    EXPECT_FALSE(window->PassageGroup->isVisible());
    chooseAnalysis(kTransient);
    EXPECT_TRUE(window->TransientGroup->isVisible());
    EXPECT_FALSE(window->PassageGroup->isVisible());
    chooseAnalysis(kPassage);
    EXPECT_FALSE(window->TransientGroup->isVisible());
    EXPECT_TRUE(window->PassageGroup->isVisible());
    chooseAnalysis(kSteady);
    EXPECT_FALSE(window->TransientGroup->isVisible());
    EXPECT_FALSE(window->PassageGroup->isVisible());

    chooseAnalysis(kTransient);
    EXPECT_TRUE(window->EndStatesSpin->isEnabled());
    click(window->TransientKind->button(2)); // "Expected costs"
    EXPECT_EQ(window->TransientKind->button(2)->text(), QStringLiteral("Expected costs"));
    EXPECT_FALSE(window->EndStatesSpin->isEnabled());
    EXPECT_FALSE(window->EndStatesGrid->isEnabled());
    EXPECT_FALSE(window->EndStatesLabel->isEnabled());
    click(window->TransientKind->button(1)); // "Expected sojourn times"
    EXPECT_TRUE(window->EndStatesSpin->isEnabled());
    EXPECT_TRUE(window->EndStatesGrid->isEnabled());
    EXPECT_TRUE(window->EndStatesLabel->isEnabled());
}

TEST_F(MarkovWindows, NumberOfStatesRejectsBadTextsAndResizesKeepingCells) {
    window->MatrixGrid->setCellText(0, 1, QStringLiteral("0.7"));
    window->CostGrid->setCellText(1, 0, QStringLiteral("12"));

    typeStates(QStringLiteral("abc"));
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(lastMessage(), QStringLiteral("Invalid value for number of states."));
    EXPECT_EQ(dialogs.messages.back().kind, tarvik::ui::MsgKind::Error);
    EXPECT_TRUE(window->StatesEdit->text().isEmpty());
    EXPECT_EQ(window->MatrixGrid->rowCount(), 5);

    typeStates(QStringLiteral("101"));
    EXPECT_EQ(lastMessage(), QStringLiteral("Number of states must be between 1 and 100."));
    EXPECT_EQ(window->StatesEdit->text(), QStringLiteral("101"));
    EXPECT_EQ(window->MatrixGrid->rowCount(), 5);

    // Smaller, through the update button.
    window->StatesEdit->setText(QStringLiteral("3"));
    click(window->UpdateBtn);
    ASSERT_EQ(window->MatrixGrid->rowCount(), 3);
    ASSERT_EQ(window->MatrixGrid->columnCount(), 3);
    EXPECT_EQ(window->CostGrid->rowCount(), 3);
    EXPECT_EQ(window->MatrixGrid->cellText(0, 1), QStringLiteral("0.7"));
    EXPECT_EQ(window->CostGrid->cellText(1, 0), QStringLiteral("12"));

    // Larger, with Enter: new and emptied cells become "0", headers are numbered.
    window->MatrixGrid->setCellText(2, 2, QString());
    typeStates(QStringLiteral("7"));
    ASSERT_EQ(window->MatrixGrid->rowCount(), 7);
    EXPECT_EQ(window->MatrixGrid->cellText(0, 1), QStringLiteral("0.7"));
    EXPECT_EQ(window->MatrixGrid->cellText(2, 2), QStringLiteral("0"));
    EXPECT_EQ(window->MatrixGrid->cellText(6, 6), QStringLiteral("0"));
    EXPECT_EQ(window->CostGrid->cellText(6, 0), QStringLiteral("0"));
    EXPECT_EQ(window->MatrixGrid->horizontalHeaderItem(6)->text(), QStringLiteral("7"));
    EXPECT_EQ(window->CostGrid->verticalHeaderItem(6)->text(), QStringLiteral("7"));
    EXPECT_EQ(dialogs.messages.size(), 2u);
}

TEST_F(MarkovWindows, EnterMovesThroughTheGrids) {
    typeStates(QStringLiteral("3"));
    TMarkovGrid* m = window->MatrixGrid;
    type(m, 0, 0, QStringLiteral("0.2"));
    EXPECT_EQ(m->cellText(0, 0), QStringLiteral("0.2"));
    EXPECT_EQ(m->currentRow(), 0);
    EXPECT_EQ(m->currentColumn(), 1);
    type(m, 0, 2, QStringLiteral("0.8"));
    EXPECT_EQ(m->currentRow(), 1) << "from the last column to column 1 of the next row";
    EXPECT_EQ(m->currentColumn(), 0);
    // Enter without editing moves as well.
    QTest::keyClick(m, Qt::Key_Return);
    EXPECT_EQ(m->currentRow(), 1);
    EXPECT_EQ(m->currentColumn(), 1);

    TMarkovGrid* c = window->CostGrid;
    type(c, 1, 0, QStringLiteral("5"));
    EXPECT_EQ(c->cellText(1, 0), QStringLiteral("5"));
    EXPECT_EQ(c->currentRow(), 2);
    EXPECT_EQ(c->currentColumn(), 0);
    type(c, 2, 0, QStringLiteral("6"));
    EXPECT_EQ(c->currentRow(), 2) << "the last cell of the single cost column stays";

    click(window->NextBtn);
    chooseAnalysis(kTransient);
    TMarkovGrid* t = window->TransientTimesGrid;
    type(t, 0, 0, QStringLiteral("10"));
    EXPECT_EQ(t->currentRow(), 1);
    EXPECT_EQ(t->cellText(0, 0), QStringLiteral("10"));
}

TEST_F(MarkovWindows, ContinuousCostGridMovesDownThenToTheNextColumn) {
    QTemporaryDir dir;
    const QString name = dir.filePath(QStringLiteral("rates.txt"));
    QFile file(name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("88\r\n2\r\n0 1\r\n2 0\r\n3 4\r\n5 6\r\n");
    file.close();
    ASSERT_TRUE(window->openFile(name));
    TMarkovGrid* c = window->CostGrid;
    type(c, 1, 0, QStringLiteral("7"));
    EXPECT_EQ(c->currentRow(), 0);
    EXPECT_EQ(c->currentColumn(), 1);
}

TEST_F(MarkovWindows, DataChangeResetsTheOutputChoicesOnTheNextPageMove) {
    click(window->NextBtn);
    chooseAnalysis(kTransient);
    window->InitialStateEdit->setText(QStringLiteral("3"));
    window->TransientTimesSpin->setValue(6);
    EXPECT_EQ(window->TransientTimesGrid->rowCount(), 6);
    EXPECT_EQ(window->TransientTimesGrid->verticalHeaderItem(5)->text(),
              QStringLiteral("time point 6 (<=5000)"));
    window->TransientTimesGrid->setCellText(0, 0, QStringLiteral("17"));
    click(window->TransientKind->button(2));
    chooseAnalysis(kPassage);
    window->StateAEdit->setText(QStringLiteral("2"));
    click(window->ReturnSetChoice->button(2));
    chooseAnalysis(kTransient);

    // Without a change of data the choices stay.
    click(window->PreviousBtn);
    click(window->NextBtn);
    EXPECT_EQ(window->InitialStateEdit->text(), QStringLiteral("3"));
    EXPECT_EQ(window->TransientTimesGrid->rowCount(), 6);

    // Typing in the matrix and a new number of states: the first page move resets.
    click(window->PreviousBtn);
    type(window->MatrixGrid, 0, 0, QStringLiteral("1"));
    typeStates(QStringLiteral("3"));
    EXPECT_EQ(window->InitialStateEdit->text(), QStringLiteral("3")) << "nothing happens before the move";
    click(window->NextBtn);
    EXPECT_EQ(window->OutputChoice->checkedId(), kTransient);
    EXPECT_EQ(window->InitialStateEdit->text(), QStringLiteral("1"));
    EXPECT_EQ(window->TransientTimesSpin->value(), 4);
    ASSERT_EQ(window->TransientTimesGrid->rowCount(), 4);
    for (int r = 0; r < 4; ++r) {
        EXPECT_EQ(window->TransientTimesGrid->cellText(r, 0), QStringLiteral("0"));
        EXPECT_EQ(window->TransientTimesGrid->verticalHeaderItem(r)->text(),
                  QStringLiteral("time point %1 (<=5000)").arg(r + 1));
        EXPECT_EQ(window->PassageTimesGrid->verticalHeaderItem(r)->text(),
                  QStringLiteral("time point %1 (<=5000)").arg(r + 1));
    }
    EXPECT_EQ(window->TransientKind->checkedId(), 0);
    EXPECT_TRUE(window->EndStatesSpin->isEnabled());
    EXPECT_EQ(window->EndStatesLabel->text(), QStringLiteral("Number of end states (max 3):"));
    EXPECT_EQ(window->EndStatesSpin->maximum(), 3);
    EXPECT_EQ(window->EndStatesSpin->value(), 2);
    ASSERT_EQ(window->EndStatesGrid->rowCount(), 2);
    EXPECT_EQ(window->EndStatesGrid->verticalHeaderItem(1)->text(), QStringLiteral("end state 2"));
    EXPECT_EQ(window->EndStatesGrid->cellText(1, 0), QStringLiteral("0"));
    EXPECT_EQ(window->StartStateEdit->text(), QStringLiteral("1"));
    EXPECT_EQ(window->ReturnSetChoice->checkedId(), 0);
    EXPECT_TRUE(window->StateAEdit->text().isEmpty());

    // A single state fixes the end-state count at 1.
    click(window->PreviousBtn);
    typeStates(QStringLiteral("1"));
    click(window->NextBtn);
    EXPECT_EQ(window->EndStatesLabel->text(), QStringLiteral("Number of end states (max 1):"));
    EXPECT_EQ(window->EndStatesSpin->minimum(), 1);
    EXPECT_EQ(window->EndStatesSpin->maximum(), 1);
    EXPECT_EQ(window->EndStatesGrid->rowCount(), 1);
}

TEST_F(MarkovWindows, DataChangeHidesEarlierResults) {
    twoStateChain();
    click(window->NextBtn);
    chooseAnalysis(kSteady);
    click(window->RunBtn);
    ASSERT_TRUE(resultShown(kSteady));
    EXPECT_TRUE(resultText(kSteady).contains(QStringLiteral("pi[1] = 0.3333333333")));
    clickTab(window->PageControl1, Dlg::InputPage);
    click(window->ClearBtn);
    EXPECT_EQ(window->MatrixGrid->cellText(0, 1), QStringLiteral("0"));
    click(window->NextBtn);
    EXPECT_FALSE(resultShown(kSteady));
    click(window->NextBtn);
    EXPECT_EQ(page(), Dlg::ResultsPage) << "the Results page stays reachable";
}

TEST_F(MarkovWindows, ValidationMessagesComeInTheirOrderAndReturnToInput) {
    twoStateChain();
    window->MatrixGrid->setCellText(1, 1, QStringLiteral("x"));
    window->CostGrid->setCellText(0, 0, QStringLiteral("y"));
    click(window->NextBtn);
    chooseAnalysis(kStructure);

    const QStringList expected = {"Illegal value in transitionmatrix.", "Illegal value in cost vector.",
                                  "Negative value in transitionmatrix",
                                  "Sum of rows not 1 in transitionmatrix.",
                                  "Value in cost vector must be above -100000."};
    auto runAndExpect = [&](const QString& message) {
        const std::size_t before = dialogs.messages.size();
        if (page() != Dlg::OutputPage) click(window->NextBtn);
        click(window->RunBtn);
        ASSERT_EQ(dialogs.messages.size(), before + 1);
        EXPECT_EQ(lastMessage(), message);
        EXPECT_EQ(dialogs.messages.back().kind, tarvik::ui::MsgKind::Error);
        EXPECT_TRUE(dialogs.messages.back().standardCaptions);
        EXPECT_EQ(page(), Dlg::InputPage);
        EXPECT_FALSE(window->resultsAllowed());
    };
    runAndExpect(expected[0]);
    EXPECT_EQ(window->MatrixGrid->currentRow(), 1);
    EXPECT_EQ(window->MatrixGrid->currentColumn(), 1);
    window->MatrixGrid->setCellText(1, 1, QStringLiteral("0.75"));
    runAndExpect(expected[1]);
    window->CostGrid->setCellText(0, 0, QStringLiteral("-100000.5"));
    // A negative entry in row 1 comes before the bad sum of row 2.
    window->MatrixGrid->setCellText(0, 0, QStringLiteral("-0.5"));
    window->MatrixGrid->setCellText(0, 1, QStringLiteral("1.5"));
    window->MatrixGrid->setCellText(1, 1, QStringLiteral("0.7"));
    runAndExpect(expected[2]);
    window->MatrixGrid->setCellText(0, 0, QStringLiteral("0.5"));
    window->MatrixGrid->setCellText(0, 1, QStringLiteral("0.5"));
    runAndExpect(expected[3]);
    window->MatrixGrid->setCellText(1, 1, QStringLiteral("0.749995"));
    runAndExpect(expected[4]);
    window->CostGrid->setCellText(0, 0, QStringLiteral("-100000"));
    click(window->NextBtn);
    click(window->RunBtn);
    EXPECT_EQ(dialogs.messages.size(), 5u) << lastMessage().toStdString();
    EXPECT_EQ(page(), Dlg::ResultsPage);
}

TEST_F(MarkovWindows, ParameterMessagesStayOnTheChoicePage) {
    twoStateChain();
    click(window->NextBtn);
    chooseAnalysis(kTransient);
    window->InitialStateEdit->setText(QStringLiteral("3"));
    click(window->RunBtn);
    EXPECT_EQ(lastMessage(), QStringLiteral("Initial state doesn't exist "));
    EXPECT_EQ(page(), Dlg::OutputPage);
    window->InitialStateEdit->setText(QStringLiteral("1"));
    click(window->RunBtn);
    EXPECT_EQ(lastMessage(), QStringLiteral("Time points must be between 1 and 5000"));
    for (int r = 0; r < 4; ++r) window->TransientTimesGrid->setCellText(r, 0, QString::number(r + 1));
    window->EndStatesGrid->setCellText(0, 0, QStringLiteral("1"));
    window->EndStatesGrid->setCellText(1, 0, QStringLiteral("4"));
    click(window->RunBtn);
    EXPECT_EQ(lastMessage(), QStringLiteral("End state 4 doesn't exist."));
    EXPECT_EQ(page(), Dlg::OutputPage);
    EXPECT_FALSE(window->resultsAllowed());

    chooseAnalysis(kPassage);
    for (int r = 0; r < 4; ++r) window->PassageTimesGrid->setCellText(r, 0, QString::number(r + 1));
    click(window->RunBtn);
    EXPECT_EQ(lastMessage(), QStringLiteral("Illegal value for state a."));
    window->StateAEdit->setText(QStringLiteral("2"));
    const std::size_t before = dialogs.messages.size();
    click(window->RunBtn);
    EXPECT_EQ(dialogs.messages.size(), before);
    EXPECT_EQ(page(), Dlg::ResultsPage);
    EXPECT_EQ(window->ResultTabs->currentIndex(), kPassage);
    EXPECT_TRUE(resultText(kPassage).startsWith(QStringLiteral("==================================\n"
                                                               "FIRST-PASSAGE TIME PROBABILITIES")));
}

TEST_F(MarkovWindows, AnEditInProgressCountsWhenRunActsThroughItsShortcut) {
    twoStateChain();
    click(window->NextBtn);
    chooseAnalysis(kPassage);
    window->StateAEdit->setText(QStringLiteral("2"));
    for (int r = 0; r < 3; ++r) type(window->PassageTimesGrid, r, 0, QString::number(r + 1));
    // The last time point is still being typed when "&Run" acts (Alt+R moves no focus).
    TMarkovGrid* grid = window->PassageTimesGrid;
    grid->setCurrentCell(3, 0);
    grid->editItem(grid->item(3, 0));
    auto* editor = grid->viewport()->findChild<QLineEdit*>();
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QStringLiteral("7"));
    window->RunBtn->click();
    EXPECT_TRUE(dialogs.messages.empty()) << lastMessage().toStdString();
    EXPECT_EQ(grid->cellText(3, 0), QStringLiteral("7"));
    EXPECT_TRUE(resultText(kPassage).contains(QStringLiteral("At t = 7")));
}

// Clicks "&Stop" as soon as the progress window shows during the next run.
struct StopDuringRun {
    StopDuringRun() {
        QTimer::singleShot(0, [this] {
            TMarkovProgress* p = MarkovProgressWindow();
            sawWindow = p->isVisible() && p->running();
            QTest::mouseClick(p->StopBtn, Qt::LeftButton);
        });
    }
    bool sawWindow = false;
};

TEST_F(MarkovWindows, StopDuringALongTransientRunLeavesOnlyTheHeader) {
    twoStateChain();
    click(window->NextBtn);
    chooseAnalysis(kTransient);
    for (int r = 0; r < 4; ++r) window->TransientTimesGrid->setCellText(r, 0, QStringLiteral("5000"));
    window->EndStatesGrid->setCellText(0, 0, QStringLiteral("1"));
    window->EndStatesGrid->setCellText(1, 0, QStringLiteral("2"));

    const QStringList header = {"=========================", "   TRANSIENT BEHAVIOUR",
                                "=========================", " "};
    {
        StopDuringRun stopper;
        click(window->RunBtn);
        EXPECT_TRUE(stopper.sawWindow);
    }
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_FALSE(MarkovProgressWindow()->isVisible());
    EXPECT_EQ(resultText(kTransient).split(QLatin1Char('\n')), header);
    EXPECT_FALSE(resultShown(kTransient)) << "the tab still shows \"No results\"";
    EXPECT_EQ(page(), Dlg::OutputPage);
    EXPECT_FALSE(window->resultsAllowed());
    EXPECT_FALSE(window->NextBtn->isEnabled());

    // A full run, then a stopped one: the tab keeps showing its (now cut) text.
    click(window->RunBtn);
    ASSERT_TRUE(resultShown(kTransient));
    EXPECT_EQ(MarkovProgressWindow()->ProgressBar->value(), 100);
    EXPECT_GT(resultText(kTransient).split(QLatin1Char('\n')).size(), header.size());
    click(window->PreviousBtn);
    {
        StopDuringRun stopper;
        click(window->RunBtn);
    }
    EXPECT_EQ(page(), Dlg::OutputPage);
    EXPECT_TRUE(resultShown(kTransient));
    EXPECT_EQ(resultText(kTransient).split(QLatin1Char('\n')), header);
}

TEST_F(MarkovWindows, ClosingTheProgressWindowStopsTheRun) {
    twoStateChain();
    click(window->NextBtn);
    chooseAnalysis(kPassage);
    for (int r = 0; r < 4; ++r) window->PassageTimesGrid->setCellText(r, 0, QStringLiteral("5000"));
    window->StateAEdit->setText(QStringLiteral("2"));
    QTimer::singleShot(0, [] { MarkovProgressWindow()->close(); });
    click(window->RunBtn);
    EXPECT_FALSE(MarkovProgressWindow()->isVisible());
    EXPECT_EQ(page(), Dlg::OutputPage);
    EXPECT_EQ(resultText(kPassage).split(QLatin1Char('\n')).size(), 4);
    EXPECT_FALSE(window->running());
}

TEST_F(MarkovWindows, OpenSwitchesTheChainTypeAndSaveWritesTheCellTexts) {
    QTemporaryDir dir;
    const QString rates = dir.filePath(QStringLiteral("rates.txt"));
    {
        QFile file(rates);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("88\r\n3\r\n0 1 0.5\r\n2 0 0\r\n0 1.25 0\r\n1 2 3\r\n4 5 6\r\n");
    }
    dialogs.fileAnswers.push_back(rates);
    const QString startFolder = tarvik::ui::FileDialogFolder(QStringLiteral("markov"));
    click(window->OpenBtn);
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    const auto& request = dialogs.fileRequests.front();
    EXPECT_EQ(request.filters, QStringList({QStringLiteral("tekstbestanden (*.txt)"),
                                            QStringLiteral("Alle bestanden (*.*)")}));
    EXPECT_EQ(request.directory, startFolder);
    EXPECT_TRUE(dialogs.messages.empty()) << lastMessage().toStdString();
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Continuous Time Markov Chains "));
    EXPECT_EQ(window->chainType(), ChainType::Continuous);
    ASSERT_EQ(window->MatrixGrid->rowCount(), 3);
    EXPECT_EQ(window->StatesEdit->text(), QStringLiteral("3"));
    EXPECT_EQ(window->MatrixGrid->cellText(0, 2), QStringLiteral("0.5"));
    EXPECT_EQ(window->MatrixGrid->cellText(2, 1), QStringLiteral("1.25"));
    ASSERT_EQ(window->CostGrid->columnCount(), 2);
    EXPECT_EQ(window->CostGrid->horizontalHeaderItem(0)->text(), QStringLiteral("r(j)"));
    EXPECT_EQ(window->CostGrid->horizontalHeaderItem(1)->text(), QStringLiteral("F(k)"));
    EXPECT_EQ(window->CostGrid->cellText(2, 0), QStringLiteral("3"));
    EXPECT_EQ(window->CostGrid->cellText(2, 1), QStringLiteral("6"));

    // Save and read back.
    window->MatrixGrid->setCellText(1, 2, QStringLiteral("0.125"));
    const QString saved = dir.filePath(QStringLiteral("saved.txt"));
    dialogs.fileAnswers.push_back(saved);
    click(window->SaveBtn);
    ASSERT_EQ(dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(dialogs.fileRequests.back().defaultSuffix, QStringLiteral("txt"));
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(),
              QByteArray("88\r\n3\r\n0 1 0.5\r\n2 0 0.125\r\n0 1.25 0\r\n1 2 3\r\n4 5 6\r\n"));

    // A discrete file switches back, with one cost column.
    const QString probabilities = dir.filePath(QStringLiteral("probabilities.txt"));
    {
        QFile out(probabilities);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("99\r\n2\r\n0.5 0.5\r\n1 0\r\n7 8\r\n");
    }
    ASSERT_TRUE(window->openFile(probabilities));
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Discrete Time Markov Chains"));
    ASSERT_EQ(window->CostGrid->columnCount(), 1);
    EXPECT_EQ(window->CostGrid->horizontalHeaderItem(0)->text(), QStringLiteral("c(j)"));
    EXPECT_EQ(window->CostGrid->cellText(1, 0), QStringLiteral("8"));
}

TEST_F(MarkovWindows, AResultSavedAsTextIsWhatTheCommandLinePrints) {
    QTemporaryDir dir;
    const QString chain = dir.filePath(QStringLiteral("chain.txt"));
    {
        QFile out(chain);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("99\r\n3\r\n0.5 0.25 0.25\r\n0.2 0.6 0.2\r\n0 0.3 0.7\r\n1 2 3\r\n");
    }
    ASSERT_TRUE(window->openFile(chain));
    click(window->NextBtn);
    chooseAnalysis(kSteady);
    click(window->RunBtn);
    ASSERT_TRUE(resultShown(kSteady)) << lastMessage().toStdString();

    const QString saved = dir.filePath(QStringLiteral("steady.txt"));
    dialogs.fileAnswers.push_back(saved);
    auto* save = window->ResultTexts[kSteady]->findChild<QAction*>(QStringLiteral("SaveReportText"));
    ASSERT_NE(save, nullptr);
    save->trigger();
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].fileName, QStringLiteral("Markov.txt"));

    std::ostringstream out, err;
    ASSERT_EQ(RunCli({chain.toStdString(), "--analysis", "steady-state"}, out, err), 0) << err.str();
    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), out.str());

    // And as PDF: the pages printing makes.
    const QString pdf = dir.filePath(QStringLiteral("steady.pdf"));
    dialogs.fileAnswers.push_back(pdf);
    window->ResultTexts[kSteady]->findChild<QAction*>(QStringLiteral("SaveReportPdf"))->trigger();
    QFile pdfFile(pdf);
    ASSERT_TRUE(pdfFile.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdfFile.readAll().startsWith("%PDF-"));
}

TEST_F(MarkovWindows, AFileThatCannotBeReadLeavesTheGridsAlone) {
    window->MatrixGrid->setCellText(0, 0, QStringLiteral("0.3"));
    QTemporaryDir dir;
    const QString broken = dir.filePath(QStringLiteral("broken.txt"));
    {
        QFile file(broken);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("88\r\n3\r\n0 1 x\r\n");
    }
    dialogs.fileAnswers.push_back(broken);
    click(window->OpenBtn);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(lastMessage(), QStringLiteral("Cannot read file ") + broken);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Discrete Time Markov Chains"));
    EXPECT_EQ(window->MatrixGrid->rowCount(), 5);
    EXPECT_EQ(window->MatrixGrid->cellText(0, 0), QStringLiteral("0.3"));
    EXPECT_EQ(window->CostGrid->columnCount(), 1);

    // A save that cannot be written is reported.
    dialogs.fileAnswers.push_back(dir.filePath(QStringLiteral("no/such/folder/x.txt")));
    click(window->SaveBtn);
    ASSERT_EQ(dialogs.messages.size(), 2u);
    EXPECT_TRUE(lastMessage().startsWith(QStringLiteral("Cannot write file ")));
}

// ---- The module window ------------------------------------------------------

class MarkovModule : public ::testing::Test {
protected:
    void SetUp() override {
        host = std::make_unique<QWidget>();
        module = CreateMarkovWindow(host.get());
        host->show();
        module->show();
        ProcessEvents();
        markov = qobject_cast<TMarkov*>(module.data());
    }
    void TearDown() override {
        host.reset();
        ProcessEvents();
    }
    ScriptedDialogs dialogs;
    std::unique_ptr<QWidget> host;
    QPointer<tarvik::ui::ModuleWindow> module;
    TMarkov* markov = nullptr;
};

TEST_F(MarkovModule, ExamplesOpenInTheExamplesFolder) {
    const QString folder = tarvik::ui::ExamplesFolder(QStringLiteral("markov"));
    ASSERT_TRUE(folder.endsWith(QStringLiteral("/examples/markov"))) << folder.toStdString();
    dialogs.fileAnswers.push_back(folder + QStringLiteral("/repair.txt"));
    markov->findChild<QAction*>(QStringLiteral("ExamplesCommand"))->trigger();
    ASSERT_EQ(dialogs.fileRequests.size(), 1u);
    EXPECT_EQ(dialogs.fileRequests[0].directory, folder);
    EXPECT_TRUE(dialogs.messages.empty());
    EXPECT_EQ(markov->choiceWindow()->chainType(), ChainType::Continuous);
}

TEST_F(MarkovModule, ShowsItsChoiceWindowAndClosesWithIt) {
    ASSERT_NE(markov, nullptr);
    EXPECT_EQ(markov->windowTitle(), QStringLiteral("Markov Chains"));
    ASSERT_EQ(markov->moduleMenus().size(), 2);
    EXPECT_EQ(markov->moduleMenus()[0]->title(), QStringLiteral("File"));
    EXPECT_EQ(markov->CloseItem->text(), QStringLiteral("Close markov chains"));
    EXPECT_EQ(markov->moduleMenus()[1]->title(), QStringLiteral("Help"));
    EXPECT_EQ(markov->HelpItem->text(), QStringLiteral("Explanation"));
    QPointer<Dlg> keuze = markov->choiceWindow();
    ASSERT_TRUE(keuze);
    EXPECT_TRUE(keuze->isVisible());
    EXPECT_TRUE(keuze->windowFlags() & Qt::WindowStaysOnTopHint);

    QSignalSpy closed(module.data(), &tarvik::ui::ModuleWindow::moduleClosed);
    QTest::mouseClick(keuze->CloseBtn, Qt::LeftButton);
    EXPECT_EQ(closed.count(), 1);
    ProcessEvents();
    EXPECT_FALSE(module);
    EXPECT_FALSE(keuze);
}

TEST_F(MarkovModule, ClosingDuringARunStopsTheAnalysisFirst) {
    ASSERT_NE(markov, nullptr);
    Dlg* keuze = markov->choiceWindow();
    keuze->MatrixGrid->setCellText(0, 0, QStringLiteral("1"));
    for (int i = 1; i < 5; ++i) keuze->MatrixGrid->setCellText(i, 0, QStringLiteral("1"));
    QTest::mouseClick(keuze->NextBtn, Qt::LeftButton);
    QTest::mouseClick(keuze->OutputChoice->button(kTransient), Qt::LeftButton);
    for (int r = 0; r < 4; ++r) keuze->TransientTimesGrid->setCellText(r, 0, QStringLiteral("5000"));
    keuze->EndStatesGrid->setCellText(0, 0, QStringLiteral("1"));
    keuze->EndStatesGrid->setCellText(1, 0, QStringLiteral("2"));

    QSignalSpy closed(module.data(), &tarvik::ui::ModuleWindow::moduleClosed);
    bool refusedWhileRunning = false;
    QTimer::singleShot(0, [&] {
        refusedWhileRunning = !module->close() && module->isVisible();
        EXPECT_TRUE(MarkovProgressWindow()->stopRequested());
    });
    QTest::mouseClick(keuze->RunBtn, Qt::LeftButton);
    EXPECT_TRUE(refusedWhileRunning);
    EXPECT_EQ(keuze->PageControl1->currentIndex(), Dlg::OutputPage);
    EXPECT_EQ(keuze->ResultTexts[kTransient]->toPlainText().split(QLatin1Char('\n')).size(), 4);
    ProcessEvents();
    EXPECT_EQ(closed.count(), 1);
    EXPECT_FALSE(module);
    EXPECT_FALSE(MarkovProgressWindow()->isVisible());
}

TEST_F(MarkovModule, TheFailureHandlerHidesTheProgressWindow) {
    CreateMarkovProgressWindow(host.get());
    TMarkovProgress* progress = MarkovProgressWindow();
    EXPECT_EQ(progress->windowTitle(), QStringLiteral("Calculating..."));
    EXPECT_EQ(progress->StopBtn->text(), QStringLiteral("&Stop"));
    EXPECT_EQ(progress->ProgressBar->maximum(), 100);
    progress->begin();
    EXPECT_TRUE(progress->isVisible());
    HideMarkovProgressWindow();
    EXPECT_FALSE(progress->isVisible());
    EXPECT_FALSE(progress->running());
}

} // namespace
} // namespace tarvik::markov::ui
