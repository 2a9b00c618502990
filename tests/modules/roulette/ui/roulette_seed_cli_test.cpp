// A table game started from a seed fixed with "Seed..." draws the numbers that
// `tarvik-solve --roulette --spins N --seed S` prints.
#include "common/random.h"
#include "common/ui/seed.h"
#include "modules/roulette/roulettecli.h"
#include "modules/roulette/ui/roulettemodule.h"
#include "modules/roulette/ui/roulettepictures.h"
#include "modules/roulette/ui/rouletteunit.h"
#include "modules/roulette/ui/wholespin.h"
#include "support/apptesting.h"
#include "support/scripteddialogs.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>
#include <sstream>
#include <string>

namespace tarvik::roulette::ui {
namespace {

using tarvik::test::ProcessEvents;

void Type(TWholeSpin* spin, const QString& text) {
    spin->setFocus();
    spin->selectAll();
    QTest::keyClick(spin, Qt::Key_Backspace);
    QTest::keyClicks(spin, text);
}

std::string ColourName(const QColor& c) {
    if (c == PocketColor(0)) return "green";
    if (c == PocketColor(1)) return "red";
    if (c == PocketColor(2)) return "black";
    return "?";
}

TEST(RouletteSeedCli, AGameDrawsTheSpinsOfTheCommandLine) {
    struct Case {
        std::uint32_t seed;
        int spins;
        QPointF bet; // a drop point on the table
    };
    const Case cases[] = {{5, 12, {5, 150}}, {2026, 8, {46.5, 104.5}}, {4294967295u, 10, {81.5, 139.5}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.seed);
        tarvik::test::ScriptedDialogs dialogs;
        QPointer<TRoulette> module = static_cast<TRoulette*>(CreateRouletteWindow(nullptr));
        module->Wait = [](int) {};
        module->ShowOutcome = [](TUitslagDialog&) {};
        module->show();
        ProcessEvents();
        // "Seed..." is in the File menu, since the options menu is hidden.
        QAction* seedCommand = module->findChild<QAction*>("SeedCommand");
        ASSERT_NE(seedCommand, nullptr);
        EXPECT_TRUE(module->moduleMenus()[0]->actions().contains(seedCommand));
        dialogs.textAnswers = {QString::number(c.seed)};
        seedCommand->trigger();

        TRouletteDialoog* start = module->startDialog();
        start->ActionBtn->setChecked(true);
        Type(start->StartKapitaalSpin, "60");
        Type(start->StreefKapitaalSpin, "100");
        Type(start->AantalSpin, "40");
        tarvik::RandomInt(1000); // draws before the game change nothing
        QTest::mouseClick(start->OKBtn, Qt::LeftButton);
        ProcessEvents();
        EXPECT_EQ(tarvik::ui::LastRunSeed("roulette"), c.seed);
        module->ChipDropped(c.bet);
        TRouletteSpelDlg* game = module->gameDialog();
        ASSERT_TRUE(game->isVisible());
        std::string shown;
        int spins = 0;
        // Spin after spin, as long as the game goes on.
        for (; spins < c.spins && game->isVisible(); ++spins) {
            QTest::mouseClick(game->DraaiBtn, Qt::LeftButton);
            ProcessEvents();
            shown += std::to_string(spins + 1) + "\t" + game->GetrokkenNummer->text().toStdString() + "\t" +
                     ColourName(game->Kleur->palette().color(QPalette::Window)) + "\n";
        }
        EXPECT_GE(spins, 2);
        EXPECT_TRUE(dialogs.messages.empty() || !game->isVisible());

        std::ostringstream out, err;
        ASSERT_EQ(RunCli({"--roulette", "--spins", std::to_string(spins), "--seed", std::to_string(c.seed)},
                         out, err),
                  0)
            << err.str();
        EXPECT_EQ(out.str(), shown);

        tarvik::ui::SetFixedSeed("roulette", std::nullopt);
        module->closeModule();
        for (int i = 0; i < 50 && module; ++i) ProcessEvents();
        delete module.data();
    }
}

} // namespace
} // namespace tarvik::roulette::ui
