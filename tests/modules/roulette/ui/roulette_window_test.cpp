#include "common/random.h"
#include "common/ui/keyboardpointer.h"
#include "modules/roulette/ui/roulettemodule.h"
#include "modules/roulette/ui/roulettepictures.h"
#include "modules/roulette/ui/rouletteunit.h"
#include "modules/roulette/ui/wholespin.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace tarvik::roulette::ui {
namespace {

using tarvik::test::ProcessEvents;
using tarvik::test::ScriptedDialogs;
using tarvik::ui::MsgKind;

class RouletteWindow : public ::testing::Test {
protected:
    void SetUp() override {
        module = static_cast<TRoulette*>(CreateRouletteWindow(nullptr));
        module->resize(900, 600);
        module->show();
        ProcessEvents();
        start = module->startDialog();
        ownWait = module->Wait;
        module->Wait = [this](int ms) { waits.push_back(ms); };
        module->ShowOutcome = [this](TUitslagDialog& d) { outcomes.push_back(d.text()); };
    }
    void TearDown() override {
        if (module) module->closeModule();
        for (int i = 0; i < 50 && module; ++i) ProcessEvents();
        delete module.data();
    }

    static void Type(TWholeSpin* spin, const QString& text) {
        spin->setFocus();
        spin->selectAll();
        QTest::keyClick(spin, Qt::Key_Backspace);
        QTest::keyClicks(spin, text);
    }
    // The three fields typed, the choice made, and "OK" clicked.
    void Start(const QString& c, const QString& g, const QString& n, bool game) {
        (game ? start->GameBtn : start->ActionBtn)->setChecked(true);
        Type(start->StartKapitaalSpin, c);
        Type(start->StreefKapitaalSpin, g);
        Type(start->AantalSpin, n);
        QTest::mouseClick(start->OKBtn, Qt::LeftButton);
        ProcessEvents();
    }
    QStringList Messages() const {
        QStringList l;
        for (const QString& t : dialogs.messageTexts()) l << t;
        return l;
    }
    // Drags the chip so that its top-left corner comes to `target` (table coordinates).
    void DragChip(QPointF target) {
        TChip* chip = module->gameTable()->Chip;
        const QPoint grab(13, 13);
        QTest::mousePress(chip, Qt::LeftButton, {}, grab);
        const QPoint to = target.toPoint() + grab;
        QTest::mouseMove(chip, to - chip->pos());
        QTest::mouseRelease(chip, Qt::LeftButton, {}, to - chip->pos());
        ProcessEvents();
    }
    // The drop point of a straight-up bet on a number.
    static QPointF StraightUp(int n) {
        if (n == 0) return {5, 150};
        const int q = (n - 1) / 3;
        const double y = n % 3 == 0 ? 104.5 : n % 3 == 2 ? 139.5 : 174.5;
        return {46.5 + 35 * q, y};
    }
    // The number the next spin draws from seed `seed`.
    static int NextDraw(std::uint32_t seed) {
        tarvik::RandSeed = seed;
        const int n = tarvik::RandomInt(37);
        tarvik::RandSeed = seed;
        return n;
    }

    ScriptedDialogs dialogs;
    QPointer<TRoulette> module;
    QPointer<TRouletteDialoog> start;
    std::vector<int> waits;
    QStringList outcomes;
    std::function<void(int)> ownWait; // the module's own, real-time wait
};

TEST_F(RouletteWindow, OpensWithItsMenusAndTheStartDialog) {
    EXPECT_EQ(module->windowTitle(), "Roulette");
    const auto& menus = module->moduleMenus();
    ASSERT_EQ(menus.size(), 3);
    EXPECT_EQ(menus[0]->title(), "File");
    EXPECT_EQ(menus[0]->actions()[0]->text(), "Close Roulette");
    EXPECT_EQ(menus[1]->title(), "Options");
    EXPECT_FALSE(menus[1]->menuAction()->isVisible());
    EXPECT_EQ(menus[1]->actions()[0]->text(), "Roulette in action");
    EXPECT_EQ(menus[1]->actions()[1]->text(), "All-or-nothing game");
    EXPECT_EQ(menus[2]->title(), "Help");
    ASSERT_EQ(menus[2]->actions().size(), 3);
    EXPECT_EQ(menus[2]->actions()[0]->text(), "Explanation");
    EXPECT_TRUE(menus[2]->actions()[1]->isSeparator());
    EXPECT_EQ(menus[2]->actions()[2]->text(), "Information");

    ASSERT_TRUE(start->isVisible());
    EXPECT_EQ(start->windowTitle(), "Roulette");
    EXPECT_TRUE(start->ActionBtn->isChecked());
    EXPECT_EQ(start->ActionBtn->text(), "Roulette in action");
    EXPECT_EQ(start->GameBtn->text(), "All-or-nothing game");
    EXPECT_EQ(start->StartKapitaalSpin->text(), "3");
    EXPECT_EQ(start->StreefKapitaalSpin->text(), "5");
    EXPECT_EQ(start->AantalSpin->text(), "2");
    EXPECT_FALSE(module->resultsWindow()->isVisible());
    EXPECT_FALSE(module->gameTable()->isVisible());
}

TEST_F(RouletteWindow, TheAllOrNothingGameShowsItsResultsAndPreviousReturns) {
    Start("3", "5", "2", true);
    TRouletteResultaatDlg* r = module->resultsWindow();
    ASSERT_TRUE(r->isVisible());
    EXPECT_FALSE(start->isVisible());
    EXPECT_EQ(r->windowTitle(), "Results of the all-or-nothing game");
    EXPECT_EQ(r->StatusHuidig->text(), "3");
    EXPECT_EQ(r->StatusStreef->text(), "5");
    EXPECT_EQ(r->StatusAantal->text(), "2");
    EXPECT_EQ(r->OptimaalStr->text(), "Bet 2 dollars on Rouge or noir");
    EXPECT_EQ(r->WinstkansStr->text(), "0.5698");
    EXPECT_EQ(r->AndersBtn->text(), "Alternative\nDecision");
    EXPECT_TRUE(Messages().isEmpty());

    QTest::mouseClick(r->TerugBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_FALSE(r->isVisible());
    EXPECT_TRUE(start->isVisible());
    EXPECT_EQ(start->StartKapitaalSpin->text(), "3");

    Start("1", "2", "1", true);
    EXPECT_EQ(r->OptimaalStr->text(), "Bet 1 dollars on Rouge or noir");
    EXPECT_EQ(r->WinstkansStr->text(), "0.4865");
    QTest::mouseClick(r->TerugBtn, Qt::LeftButton);
    Start("5", "10", "5", true);
    EXPECT_EQ(r->OptimaalStr->text(), "Bet 5 dollars on Rouge or noir");
    EXPECT_EQ(r->WinstkansStr->text(), "0.4865");

    // Capital equal to the goal after that game: certain, no decision, no warning.
    QTest::mouseClick(r->TerugBtn, Qt::LeftButton);
    Start("5", "5", "5", true);
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->OptimaalStr->text(), "");
    EXPECT_EQ(r->WinstkansStr->text(), "1.0000");
    EXPECT_TRUE(Messages().isEmpty());
    QTest::mouseClick(r->AndersBtn, Qt::LeftButton);
    EXPECT_EQ(module->otherDecisionDialog()->WinkansOpt->text(), "1.0000");
}

TEST_F(RouletteWindow, NoWayToTheGoalWarnsAndStillOpensTheResults) {
    Start("3", "5", "2", true);
    QTest::mouseClick(module->resultsWindow()->TerugBtn, Qt::LeftButton);
    Start("1", "100", "1", true);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].text, "Do not bet! There is no possibility to reach your goal");
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Warning);
    TRouletteResultaatDlg* r = module->resultsWindow();
    EXPECT_TRUE(r->isVisible());
    EXPECT_EQ(r->StatusStreef->text(), "100");
    EXPECT_EQ(r->OptimaalStr->text(), "");
    EXPECT_EQ(r->WinstkansStr->text(), "");
}

TEST_F(RouletteWindow, InvalidValuesAreCorrectedInOrderAndNothingIsComputed) {
    // A goal below the capital: the goal becomes 1.
    Start("7", "5", "2", true);
    ASSERT_EQ(Messages(), QStringList{"Invalid input value(s)"});
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Error);
    EXPECT_TRUE(start->isVisible());
    EXPECT_FALSE(module->resultsWindow()->isVisible());
    EXPECT_EQ(start->StartKapitaalSpin->text(), "7");
    EXPECT_EQ(start->StreefKapitaalSpin->text(), "1");

    // Capital 0 confirmed with Enter, before the field brings it within range.
    dialogs.clear();
    Type(start->StreefKapitaalSpin, "5");
    Type(start->StartKapitaalSpin, "0");
    QTest::keyClick(start->StartKapitaalSpin, Qt::Key_Return);
    ProcessEvents();
    ASSERT_EQ(Messages(), QStringList{"Invalid input value(s)"});
    EXPECT_EQ(start->StartKapitaalSpin->text(), "1");
    EXPECT_EQ(start->StreefKapitaalSpin->text(), "5");

    // A goal above 100 confirmed with Enter: refused, not computed.
    dialogs.clear();
    Type(start->StartKapitaalSpin, "3");
    Type(start->StreefKapitaalSpin, "150");
    QTest::keyClick(start->StreefKapitaalSpin, Qt::Key_Return);
    ProcessEvents();
    ASSERT_EQ(Messages(), QStringList{"Invalid input value(s)"});
    EXPECT_EQ(start->StreefKapitaalSpin->text(), "1");
    EXPECT_FALSE(module->resultsWindow()->isVisible());

    // Bets: 20 digits read as the lower bound, 1, which passes; 51 and -3 do not.
    dialogs.clear();
    Type(start->StreefKapitaalSpin, "5");
    Type(start->AantalSpin, "12345678901234567890");
    start->GameBtn->setChecked(true);
    QTest::keyClick(start->AantalSpin, Qt::Key_Return);
    ProcessEvents();
    EXPECT_TRUE(Messages().isEmpty());
    EXPECT_EQ(module->bets(), 1);
    QTest::mouseClick(module->resultsWindow()->TerugBtn, Qt::LeftButton);
    for (const char* bad : {"51", "-3", "0"}) {
        dialogs.clear();
        Type(start->AantalSpin, bad);
        QTest::keyClick(start->AantalSpin, Qt::Key_Return);
        ProcessEvents();
        EXPECT_EQ(Messages(), QStringList{"Invalid input value(s)"}) << bad;
        EXPECT_EQ(start->AantalSpin->text(), "1");
    }
    // Letters cannot be typed; an emptied field reads as its lower bound.
    Type(start->StartKapitaalSpin, "abc");
    EXPECT_EQ(start->StartKapitaalSpin->text(), "");
    EXPECT_EQ(start->StartKapitaalSpin->Value(), 1);
    // Leaving a field brings its value within range.
    Type(start->StreefKapitaalSpin, "500");
    start->AantalSpin->setFocus();
    EXPECT_EQ(start->StreefKapitaalSpin->text(), "100");
}

TEST_F(RouletteWindow, TheOtherDecisionDialogEvaluatesEveryChange) {
    Start("3", "5", "2", true);
    QTest::mouseClick(module->resultsWindow()->AndersBtn, Qt::LeftButton);
    ProcessEvents();
    TRouletteAndersDlg* a = module->otherDecisionDialog();
    ASSERT_TRUE(a->isVisible());
    EXPECT_FALSE(module->resultsWindow()->isVisible());
    EXPECT_EQ(a->windowTitle(), "All-or-nothing game");
    EXPECT_EQ(a->KapitaalSpin->text(), "3");
    EXPECT_EQ(a->StreefSpin->text(), "5");
    EXPECT_EQ(a->AantalSpin->text(), "2");
    EXPECT_FALSE(a->KapitaalSpin->isEnabled());
    EXPECT_EQ(a->WinkansOpt->text(), "0.5698");
    EXPECT_EQ(a->TypeWeddenschap->currentText(), "Plein");
    EXPECT_EQ(a->TypeWeddenschap->count(), 10);
    EXPECT_EQ(a->TypeWeddenschap->toolTip(), "Selecteer een weddenschap");
    EXPECT_EQ(a->InzetSpin->text(), "1");
    EXPECT_EQ(a->Winkans->text(), "0.3426 ");
    EXPECT_EQ(a->InzetSpin->toolTip(), "Minimal 1, Maximal 3");

    a->TypeWeddenschap->setCurrentIndex(5);
    const QString colonne = a->Winkans->text();
    a->TypeWeddenschap->setCurrentIndex(6);
    EXPECT_EQ(a->Winkans->text(), colonne);
    Type(a->InzetSpin, "2");
    for (int entry : {7, 8, 9}) {
        a->TypeWeddenschap->setCurrentIndex(entry);
        EXPECT_EQ(a->Winkans->text(), "0.5698 ") << entry;
    }
    // A stake above the capital is set back to it and evaluated.
    a->TypeWeddenschap->setCurrentIndex(0);
    Type(a->InzetSpin, "7");
    EXPECT_EQ(a->InzetSpin->text(), "3");
    const QString three = a->Winkans->text();
    EXPECT_EQ(three, QString::fromStdString(WinText(module->strategy(), 3, 5, 2, 3, 1)));
    // A stake below 1 is set back to 1.
    Type(a->InzetSpin, "-5");
    EXPECT_EQ(a->InzetSpin->text(), "1");
    EXPECT_EQ(a->Winkans->text(), "0.3426 ");
    Type(a->InzetSpin, "0");
    EXPECT_EQ(a->InzetSpin->text(), "1");

    // Prepared afresh each time it opens.
    QTest::mouseClick(a->TerugBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_FALSE(a->isVisible());
    EXPECT_TRUE(start->isVisible());
    Start("3", "5", "2", true);
    QTest::mouseClick(module->resultsWindow()->AndersBtn, Qt::LeftButton);
    EXPECT_EQ(a->TypeWeddenschap->currentIndex(), 0);
    EXPECT_EQ(a->InzetSpin->text(), "1");
    // Its frame goes back to the start dialog as well.
    a->close();
    ProcessEvents();
    EXPECT_FALSE(a->isVisible());
    EXPECT_TRUE(start->isVisible());
    EXPECT_TRUE(module);
}

TEST_F(RouletteWindow, PreviousInTheStartDialogClosesTheModule) {
    QTest::mouseClick(start->TerugBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
}

TEST_F(RouletteWindow, ClosingTheStartDialogByItsFrameClosesTheModule) {
    start->close();
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
}

TEST_F(RouletteWindow, EscapeInTheStartDialogClosesTheModule) {
    QTest::keyClick(start, Qt::Key_Escape);
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
}

TEST_F(RouletteWindow, TheGameStartsWithTheTableStatusAndGameDialog) {
    Start("3", "5", "2", false);
    TRouletteSpelDlg* g = module->gameDialog();
    ASSERT_TRUE(g->isVisible());
    EXPECT_TRUE(module->gameTable()->isVisible());
    EXPECT_TRUE(module->statusWindow()->isVisible());
    EXPECT_FALSE(module->wheel()->isVisible());
    EXPECT_EQ(g->windowTitle(), "Roulette game");
    EXPECT_EQ(module->gameTable()->windowTitle(), "Game table");
    EXPECT_EQ(module->gameTable()->size(), QSize(500, 307));
    EXPECT_EQ(module->gameTable()->Tableau->toolTip(), "Place fiche and click on 'Turn the wheel'");
    EXPECT_EQ(module->gameTable()->Chip->toolTip(), "Drag fiche to desired position");
    EXPECT_EQ(module->gameTable()->Chip->pos(), QPoint(20, 250));
    EXPECT_EQ(module->gameTable()->Chip->size(), QSize(27, 26));
    EXPECT_EQ(g->Kapitaal->text(), "3");
    EXPECT_TRUE(g->PlaceBetLabel->isVisible());
    EXPECT_EQ(g->PlaceBetLabel->text(), "Place your bet");
    EXPECT_FALSE(g->GetrokkenNummer->isVisible());
    EXPECT_FALSE(g->Kleur->isVisible());
    EXPECT_EQ(module->statusWindow()->Huidig->text(), "3");
    EXPECT_EQ(module->statusWindow()->Streef->text(), "5");
    EXPECT_EQ(module->statusWindow()->Aantal->text(), "2");

    // No bet yet, and a stake above the capital.
    QTest::mouseClick(g->DraaiBtn, Qt::LeftButton);
    EXPECT_EQ(Messages(), QStringList{"Chip on invalid position"});
    dialogs.clear();
    Type(g->SpelInzetSpin, "4");
    QTest::mouseClick(g->DraaiBtn, Qt::LeftButton);
    EXPECT_EQ(Messages(), QStringList{"Stake cannot be more than current capital"});
    EXPECT_TRUE(waits.empty());

    // "Previous" goes back to the start dialog.
    QTest::mouseClick(g->TerugBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_FALSE(g->isVisible());
    EXPECT_FALSE(module->gameTable()->isVisible());
    EXPECT_FALSE(module->statusWindow()->isVisible());
    EXPECT_TRUE(start->isVisible());
}

TEST_F(RouletteWindow, TheChipIsDraggedOntoTheTable) {
    Start("3", "5", "2", false);
    DragChip({46.5, 104.5});
    EXPECT_EQ(module->game().bet, Bit(3));
    EXPECT_EQ(module->game().multiple, 36);
    EXPECT_EQ(module->gameTable()->Chip->pos(), QPoint(46, 104));
    DragChip({64, 192});
    EXPECT_EQ(module->game().bet, NumberRange(1, 6));
    EXPECT_EQ(module->game().multiple, 6);
    DragChip({29, 122});
    EXPECT_EQ(module->game().bet, Bit(0) | Bit(2) | Bit(3));
    DragChip({370, 60});
    EXPECT_EQ(module->gameTable()->Chip->pos(), QPoint(379, 52));
    // Dropped beside the table: back where it was, the bet unchanged.
    TChip* chip = module->gameTable()->Chip;
    QTest::mousePress(chip, Qt::LeftButton, {}, QPoint(13, 13));
    QTest::mouseMove(chip, QPoint(13, 13) + QPoint(600, 0));
    QTest::mouseRelease(chip, Qt::LeftButton, {}, QPoint(13, 13) + QPoint(600, 0));
    EXPECT_EQ(chip->pos(), QPoint(379, 52));
    EXPECT_EQ(module->game().multiple, 2);
}

TEST_F(RouletteWindow, ASpinAnimatesTheWheelAndSettlesTheBet) {
    Start("10", "100", "5", false);
    const std::uint32_t seed = 4242;
    const int drawn = NextDraw(seed);
    DragChip(StraightUp(drawn));
    TRouletteSpelDlg* g = module->gameDialog();
    Type(g->SpelInzetSpin, "2");

    // While the ball runs: every position repainted, input fields disabled.
    std::vector<int> pockets;
    bool disabledMeanwhile = true;
    module->Wait = [&](int ms) {
        waits.push_back(ms);
        Troulettewiel* w = module->wheel();
        disabledMeanwhile = disabledMeanwhile && !g->TerugBtn->isEnabled() && !g->DraaiBtn->isEnabled() &&
                            !g->SpelInzetSpin->isEnabled() && !module->chipDraggable() && w->isVisible();
        // The ball is the white spot drawn at its pocket.
        for (int k = 0; k < 37; ++k) {
            const Point c = BallCentre(k);
            if (w->shown().pixelColor(c.x, c.y) == QColor(Qt::white)) pockets.push_back(k);
        }
    };
    QStringList drawnShown;
    module->ShowOutcome = [&](TUitslagDialog& d) {
        outcomes.push_back(d.text());
        drawnShown << g->GetrokkenNummer->text() << (g->GetrokkenNummer->isVisible() ? "shown" : "hidden");
    };
    tarvik::RandSeed = seed;
    QTest::mouseClick(g->DraaiBtn, Qt::LeftButton);
    ProcessEvents();

    EXPECT_EQ(module->drawnNumber(), drawn);
    ASSERT_GE(waits.size(), 38u);
    EXPECT_EQ(waits.back(), 1000);
    bool onePath = false; // 1, 2 or 3 turns, then to the drawn number, then a second of rest
    for (int turns = 1; turns <= 3; ++turns) {
        std::vector<int> expected;
        for (const BallStep& s : BallPath(turns, drawn)) expected.push_back(s.waitMs);
        expected.push_back(1000);
        onePath = onePath || expected == waits;
    }
    EXPECT_TRUE(onePath);
    ASSERT_EQ(pockets.size(), waits.size());
    EXPECT_EQ(pockets.back(), WheelIndex(drawn));
    EXPECT_EQ(pockets[0], 0);
    EXPECT_EQ(pockets[1], 1);
    EXPECT_TRUE(disabledMeanwhile);
    EXPECT_FALSE(module->wheel()->isVisible());

    ASSERT_EQ(outcomes, QStringList{"Congratulations! You win $ 70"});
    EXPECT_EQ(drawnShown, (QStringList{QString::number(drawn), "shown"}));
    EXPECT_EQ(g->Kapitaal->text(), "80");
    EXPECT_EQ(module->statusWindow()->Huidig->text(), "80");
    EXPECT_EQ(module->statusWindow()->Aantal->text(), "4");
    EXPECT_TRUE(dialogs.messages.empty());
    // Ready for the next bet, the chip where it was.
    EXPECT_TRUE(g->PlaceBetLabel->isVisible());
    EXPECT_FALSE(g->GetrokkenNummer->isVisible());
    EXPECT_TRUE(g->TerugBtn->isEnabled());
    EXPECT_TRUE(g->SpelInzetSpin->isEnabled());
    EXPECT_TRUE(module->chipDraggable());
    EXPECT_EQ(module->game().bet, Bit(drawn));
}

TEST_F(RouletteWindow, AWonGameReturnsToTheStartDialogAndTheBetCarriesOver) {
    Start("3", "5", "2", false);
    const std::uint32_t seed = 777;
    const int drawn = NextDraw(seed);
    DragChip(StraightUp(drawn));
    const QPoint chipAt = module->gameTable()->Chip->pos();
    TRouletteSpelDlg* g = module->gameDialog();
    Type(g->SpelInzetSpin, "1");
    tarvik::RandSeed = seed;
    QTest::mouseClick(g->DraaiBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(outcomes, QStringList{"Congratulations! You win $ 35"});
    ASSERT_EQ(Messages(), QStringList{"Congratulations! You have won the game of roulette"});
    EXPECT_EQ(dialogs.messages[0].kind, MsgKind::Information);
    EXPECT_FALSE(g->isVisible());
    EXPECT_FALSE(module->gameTable()->isVisible());
    EXPECT_FALSE(module->statusWindow()->isVisible());
    EXPECT_TRUE(start->isVisible());

    // A new game: the capital anew, the bet and the chip kept.
    Start("3", "50", "1", false);
    EXPECT_EQ(g->Kapitaal->text(), "3");
    EXPECT_EQ(module->gameTable()->Chip->pos(), chipAt);
    EXPECT_EQ(module->game().bet, Bit(drawn));
    // Losing the last bet below the goal.
    dialogs.clear();
    outcomes.clear();
    tarvik::RandSeed = 1;
    const int next = NextDraw(1);
    DragChip(StraightUp(next == 36 ? 35 : next + 1));
    QTest::mouseClick(g->DraaiBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(outcomes, QStringList{"Sorry, you lose $ 1"});
    EXPECT_EQ(
        Messages(),
        QStringList{"Too bad! You cannot reach anymore your original goal within the number of bets left"});
    EXPECT_TRUE(start->isVisible());
}

TEST_F(RouletteWindow, GoingBrokeEndsTheGame) {
    Start("2", "50", "5", false);
    tarvik::RandSeed = 99;
    const int next = NextDraw(99);
    DragChip(StraightUp(next == 36 ? 35 : next + 1));
    Type(module->gameDialog()->SpelInzetSpin, "2");
    QTest::mouseClick(module->gameDialog()->DraaiBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_EQ(outcomes, QStringList{"Sorry, you lose $ 2"});
    EXPECT_EQ(Messages(), QStringList{"Too bad! You have gone broke"});
    EXPECT_TRUE(start->isVisible());
}

TEST_F(RouletteWindow, TheGameStakeIsBroughtWithinOneToAThousandBeforeItIsUsed) {
    Start("10", "100", "50", false);
    DragChip(StraightUp(17));
    TRouletteSpelDlg* g = module->gameDialog();
    int spins = 0;
    for (const char* typed : {"-5", "0", "", "12345678901234567890"}) {
        Type(g->SpelInzetSpin, typed);
        QTest::mouseClick(g->DraaiBtn, Qt::LeftButton);
        ProcessEvents();
        ++spins;
        EXPECT_EQ(g->SpelInzetSpin->text(), "1") << typed;
        ASSERT_EQ(outcomes.size(), static_cast<qsizetype>(spins)) << typed;
        EXPECT_TRUE(outcomes.back().endsWith("$ 1") || outcomes.back().endsWith("$ 35")) << typed;
    }
    EXPECT_TRUE(dialogs.messages.empty());
    Type(g->SpelInzetSpin, "5000");
    QTest::mouseClick(g->DraaiBtn, Qt::LeftButton);
    EXPECT_EQ(g->SpelInzetSpin->text(), "1000");
    EXPECT_EQ(Messages(), QStringList{"Stake cannot be more than current capital"});
}

TEST_F(RouletteWindow, TheModulesOwnWaitRunsASpinToItsEnd) {
    // The module's own wait, shortened to a millisecond a step.
    Start("10", "100", "5", false);
    DragChip(StraightUp(17));
    int steps = 0;
    module->Wait = [&](int) {
        ++steps;
        // A click on "Turn the wheel" meanwhile starts no second spin.
        if (steps == 1) QTest::mouseClick(module->gameDialog()->DraaiBtn, Qt::LeftButton);
        ownWait(1);
    };
    QTest::mouseClick(module->gameDialog()->DraaiBtn, Qt::LeftButton);
    ProcessEvents();
    EXPECT_GE(steps, 38);
    EXPECT_EQ(outcomes.size(), 1);
    EXPECT_EQ(module->statusWindow()->Aantal->text(), "4");
}

TEST_F(RouletteWindow, ClosingTheModuleDuringASpinEndsItQuietly) {
    Start("10", "100", "5", false);
    DragChip(StraightUp(17));
    module->Wait = [&](int) {
        if (module && !module->isClosing()) module->closeModule();
    };
    QTest::mouseClick(module->gameDialog()->DraaiBtn, Qt::LeftButton);
    EXPECT_TRUE(outcomes.isEmpty());
    ProcessEvents();
    EXPECT_TRUE(module.isNull());
}

TEST_F(RouletteWindow, TheTablePictureMarksEveryBet) {
    const QImage table = DrawTablePicture();
    EXPECT_EQ(table.size(), QSize(500, 302));
    // The chip's centre over the drop point of a straight-up bet lies in that
    // number's cell, which is red or black as the number is.
    for (int n = 1; n <= 36; ++n) {
        const QPointF p = StraightUp(n) + QPointF(13.5 - 8, 13 - kTableTop); // left of the digits
        const QColor c = table.pixelColor(p.toPoint());
        if (IsRed(n))
            EXPECT_GT(c.red(), 150) << n;
        else
            EXPECT_LT(c.red(), 60) << n;
    }
    const QImage chip = DrawChipPicture();
    EXPECT_EQ(chip.size(), QSize(27, 26));
    EXPECT_EQ(chip.pixelColor(0, 0).alpha(), 0);
    const QImage wheel = DrawWheelPicture();
    EXPECT_EQ(wheel.size(), QSize(293, 294));
}

// The chip with the keys: Enter or Space picks it up, the arrows move it (ten
// pixels with Shift, its middle never off the table), Enter or Space drops it as
// the mouse does, Escape puts it back.
TEST_F(RouletteWindow, TheKeyboardPlacesTheBetTheMouseDropPlacesAtTheSameSpot) {
    TChip* chip = module->gameTable()->Chip;
    auto* pointer = chip->findChild<tarvik::ui::KeyboardPointer*>();
    ASSERT_NE(pointer, nullptr);
    EXPECT_EQ(chip->focusPolicy(), Qt::StrongFocus);
    // No game, no bet: the chip stays where it is, and the next Enter tries again.
    QTest::keyClick(chip, Qt::Key_Return);
    EXPECT_FALSE(pointer->held());
    Start("3", "5", "2", false);
    auto carry = [chip](QPoint to) { // the chip's top-left corner to `to`
        for (int i = 0; i < 2000 && chip->pos() != to; ++i) {
            const QPoint d = to - chip->pos();
            const bool far = std::abs(d.x()) >= 10 || std::abs(d.y()) >= 10;
            const Qt::KeyboardModifiers shift = far ? Qt::ShiftModifier : Qt::NoModifier;
            const int step = far ? 10 : 1;
            if (std::abs(d.x()) >= step)
                QTest::keyClick(chip, d.x() > 0 ? Qt::Key_Right : Qt::Key_Left, shift);
            else if (std::abs(d.y()) >= step)
                QTest::keyClick(chip, d.y() > 0 ? Qt::Key_Down : Qt::Key_Up, shift);
            else
                QTest::keyClick(chip, d.x() ? (d.x() > 0 ? Qt::Key_Right : Qt::Key_Left)
                                            : (d.y() > 0 ? Qt::Key_Down : Qt::Key_Up));
        }
    };
    struct Bet {
        NumberSet bet;
        int multiple;
        QPoint chipAt;
        bool operator==(const Bet&) const = default;
    };
    auto bet = [&] { return Bet{module->game().bet, module->game().multiple, chip->pos()}; };
    // Drop spots (the chip's top-left corner): a number, a six line, a trio with zero, red.
    for (const QPoint spot : {QPoint(46, 104), QPoint(64, 192), QPoint(29, 122), QPoint(370, 60)}) {
        const Bet before = bet();
        QTest::keyClick(chip, Qt::Key_Return);
        carry(spot);
        ASSERT_EQ(chip->pos(), spot);
        QTest::keyClick(chip, Qt::Key_Space);
        const Bet byKeys = bet();
        EXPECT_NE(byKeys, before) << spot.x() << "," << spot.y();
        DragChip(spot);
        EXPECT_EQ(bet(), byKeys) << spot.x() << "," << spot.y();
    }
    // Arrows without the chip in hand leave it; Escape puts it back.
    const Bet placed = bet();
    QTest::keyClick(chip, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(bet(), placed);
    QTest::keyClick(chip, Qt::Key_Return);
    carry({100, 150});
    ASSERT_EQ(chip->pos(), QPoint(100, 150));
    QTest::keyClick(chip, Qt::Key_Escape);
    EXPECT_EQ(bet(), placed);
    // Its middle stops at the table's edge, where a drop still counts.
    QTest::keyClick(chip, Qt::Key_Return);
    for (int i = 0; i < 60; ++i) QTest::keyClick(chip, Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(chip->pos().x() + chip->width() / 2, module->gameTable()->width() - 1);
    const QPoint edge = chip->pos();
    QTest::keyClick(chip, Qt::Key_Return);
    const Bet byKeys = bet();
    DragChip(edge);
    EXPECT_EQ(bet(), byKeys);
}

} // namespace
} // namespace tarvik::roulette::ui
